#include "program/frmEditActMain.h"

#include "platform/Dialogs.h"
#include "platform/OwnerWindow.h"
#include "program/BlockCopyWindows.h"
#include "program/EditorWindow.h"
#include "program/ProgramEditorWindow.h"
#include "program/frmEditAct.h"
#include "shared/Language.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
frmEditActMain *openWindow = nullptr;
constexpr int kAxisLeft[kAxes] = {1200, 1560, 1920, 2280};
constexpr int kDestLeft[kAxes] = {3840, 4200, 4560, 4920};
}

frmEditActMain *EditActMainWindow()
{
    return openWindow;
}

frmEditActMain::frmEditActMain(QWidget *parent) : QWidget(parent, Qt::Window)
{
    openWindow = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Edit Control"));
    buildLayout();
    for (int a = 0; a < kAxes; ++a) {
        connect(sourceBoxes()[std::size_t(a)], &QCheckBox::clicked, this, [this, a] { SourceCheck_Click(a); });
        connect(clearBoxes()[std::size_t(a)], &QCheckBox::toggled, this,
                [this, a](bool on) { form.clear[std::size_t(a)].checked = on; });
        connect(destBoxes()[std::size_t(a)], &QCheckBox::toggled, this,
                [this, a](bool on) { form.dest[std::size_t(a)].checked = on; });
    }
    connect(Start_botton, &QPushButton::clicked, this, &frmEditActMain::Start_botton_Click);
    connect(Exit_Botton, &QPushButton::clicked, this, &frmEditActMain::Exit_Botton_Click);
    connect(Expand_Botton, &QPushButton::clicked, this, &frmEditActMain::Expand_Botton_Click);
    Form_Load();
}

frmEditActMain::~frmEditActMain()
{
    if (openWindow == this)
        openWindow = nullptr;
}

void frmEditActMain::buildLayout()
{
    auto label = [this](const QString &text, int left, int top, int width) {
        auto *l = new QLabel(text, this);
        SetTwipsGeometry(l, left, top, width, 210);
        return l;
    };
    auto check = [this](int left, int top) {
        auto *c = new QCheckBox(this);
        SetTwipsGeometry(c, left, top, 255, 255);
        return c;
    };
    static const char *const heads[kAxes] = {" X ", " Y ", " Z ", " U "};
    for (int a = 0; a < kAxes; ++a) {
        Label3[std::size_t(a)] = label(QLatin1String(heads[a]), kAxisLeft[a], 120, 240);
        Label3[std::size_t(a + 4)] = label(QLatin1String(heads[a]), kDestLeft[a], 120, 240);
    }
    const int regLeft[3] = {960, 2160, 4200};
    for (int i = 0; i < 3; ++i)
        Label3[std::size_t(8 + i)] = label(QStringLiteral(" REG "), regLeft[i], 1080, 495);
    Label4 = label(QStringLiteral("Select Axis"), 120, 360, 1035);
    Label5 = label(QStringLiteral("Erase"), 600, 720, 555);

    QCheckBox **sources[kAxes] = {&XCheck, &YCheck, &ZCheck, &UCheck};
    QCheckBox **clears[kAxes] = {&X_CLR, &Y_CLR, &Z_CLR, &U_CLR};
    QCheckBox **dests[kAxes] = {&XCheckX, &XCheckY, &XCheckZ, &XCheckU};
    for (int a = 0; a < kAxes; ++a) {
        *sources[a] = check(kAxisLeft[a], 360);
        *dests[a] = check(kDestLeft[a], 360);
        *clears[a] = check(kAxisLeft[a], 720);
    }

    QLineEdit **ranges[3] = {&X_REG_S, &X_REG_E, &X_REG_C};
    for (int i = 0; i < 3; ++i) {
        *ranges[i] = MakeRangeBox(this, [this, i](const QString &text) { form.range.text[std::size_t(i)] = text; });
        SetTwipsGeometry(*ranges[i], regLeft[i], 1320, 615, 270);
    }
    Label2 = label(QString(), 1680, 1320, 360);
    Label1 = label(QStringLiteral("->"), 3240, 1320, 315);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    Start_botton = new QPushButton(QStringLiteral("Start"), this);
    SetTwipsGeometry(Start_botton, 720, 1920, 975, 375);
    Exit_Botton = new QPushButton(QStringLiteral("Exit"), this);
    SetTwipsGeometry(Exit_Botton, 2280, 1920, 975, 375);
    Expand_Botton = new QPushButton(QStringLiteral("Expand"), this);
    SetTwipsGeometry(Expand_Botton, 4080, 1920, 1095, 375);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    SetTwipsGeometry(ProgressBar1, 360, 2520, 4935, 135);

    const QList<QWidget *> order{XCheck,  X_CLR,   YCheck,  Y_CLR,   ZCheck,  Z_CLR,        UCheck,      U_CLR,
                                 X_REG_S, X_REG_E, XCheckX, XCheckY, XCheckZ, XCheckU,      X_REG_C,     Start_botton,
                                 Exit_Botton, Expand_Botton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    KeepTwipsDesign(this, 5670, 2850);
}

void frmEditActMain::showForm()
{
    for (int a = 0; a < kAxes; ++a) {
        ShowCopyBox(sourceBoxes()[std::size_t(a)], form.source[std::size_t(a)]);
        ShowCopyBox(clearBoxes()[std::size_t(a)], form.clear[std::size_t(a)]);
        ShowCopyBox(destBoxes()[std::size_t(a)], form.dest[std::size_t(a)]);
    }
    ShowRangeBoxes(rangeBoxes(), form.range);
}

void frmEditActMain::Form_Load()
{
    form.Form_Load();
    Label2->setText(GetRangeMark());
    showForm();
}

void frmEditActMain::SourceCheck_Click(int axis)
{
    if (PassSourceClick(form, sourceBoxes(), axis))
        showForm();
}

void frmEditActMain::Start_botton_Click()
{
    // The boxes are read once, here.
    QString why;
    const auto plan = form.Plan(&why);
    if (StartRefused(plan, why))
        return;
    FinishBlockCopy(this, plan, QStringLiteral("Update Database!"), QStringLiteral("Wait"));
}

void frmEditActMain::Exit_Botton_Click()
{
    close();
}

void frmEditActMain::Expand_Botton_Click()
{
    ShowEditAct();
    close();
}

frmEditActMain *ShowEditActMain()
{
    frmEditActMain *w = EditActMainWindow();
    // Nothing opens or comes forward while a block copy runs.
    if (BlockCopyRunning())
        return w;
    if (!w)
        w = new frmEditActMain(OwnerWindow());
    BringToFront(w);
    return w;
}
