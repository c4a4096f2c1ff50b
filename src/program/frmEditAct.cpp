#include "program/frmEditAct.h"

#include "platform/Dialogs.h"
#include "platform/OwnerWindow.h"
#include "program/BlockCopyWindows.h"
#include "program/EditorWindow.h"
#include "program/ProgramEditorWindow.h"
#include "program/frmEditActMain.h"
#include "shared/Language.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
frmEditAct *openWindow = nullptr;
constexpr int kBandHeight = 1080;
constexpr int kDestLeft[kAxes] = {3360, 3720, 4080, 4440};
}

frmEditAct *EditActWindow()
{
    return openWindow;
}

frmEditAct::frmEditAct(QWidget *parent) : QWidget(parent, Qt::Window)
{
    openWindow = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Edit Control Expand"));
    buildLayout();
    for (int a = 0; a < kAxes; ++a) {
        connect(sourceBoxes()[std::size_t(a)], &QCheckBox::clicked, this, [this, a] { SourceCheck_Click(a); });
        for (int d = 0; d < kAxes; ++d)
            connect(destBoxes(a)[std::size_t(d)], &QCheckBox::toggled, this,
                    [this, a, d](bool on) { form.dest[std::size_t(a)][std::size_t(d)].checked = on; });
    }
    connect(Start_Button, &QPushButton::clicked, this, &frmEditAct::Start_Button_Click);
    connect(Exit_Button, &QPushButton::clicked, this, &frmEditAct::Exit_Button_Click);
    connect(Normal_Button, &QPushButton::clicked, this, &frmEditAct::Normal_Button_Click);
    Form_Load();
}

frmEditAct::~frmEditAct()
{
    if (openWindow == this)
        openWindow = nullptr;
}

std::array<QLineEdit *, 3> frmEditAct::rangeBoxes(int axis) const
{
    switch (axis) {
    case 0: return {X_REG_S, X_REG_E, X_REG_C};
    case 1: return {Y_REG_S, Y_REG_E, Y_REG_C};
    case 2: return {Z_REG_S, Z_REG_E, Z_REG_C};
    case 3: return {U_REG_S, U_REG_E, U_REG_C};
    default: return {};
    }
}

std::array<QCheckBox *, 4> frmEditAct::destBoxes(int axis) const
{
    switch (axis) {
    case 0: return {XCheckX, XCheckY, XCheckZ, XCheckU};
    case 1: return {YCheckX, YCheckY, YCheckZ, YCheckU};
    case 2: return {ZCheckX, ZCheckY, ZCheckZ, ZCheckU};
    case 3: return {UCheckX, UCheckY, UCheckZ, UCheckU};
    default: return {};
    }
}

void frmEditAct::buildLayout()
{
    auto label = [this](const QString &text, int left, int top, int width, int height) {
        auto *l = new QLabel(text, this);
        SetTwipsGeometry(l, left, top, width, height);
        return l;
    };
    QCheckBox **sources[kAxes] = {&XCheck, &YCheck, &ZCheck, &UCheck};
    QLineEdit **ranges[kAxes][3] = {{&X_REG_S, &X_REG_E, &X_REG_C},
                                    {&Y_REG_S, &Y_REG_E, &Y_REG_C},
                                    {&Z_REG_S, &Z_REG_E, &Z_REG_C},
                                    {&U_REG_S, &U_REG_E, &U_REG_C}};
    QCheckBox **dests[kAxes][kAxes] = {{&XCheckX, &XCheckY, &XCheckZ, &XCheckU},
                                       {&YCheckX, &YCheckY, &YCheckZ, &YCheckU},
                                       {&ZCheckX, &ZCheckY, &ZCheckZ, &ZCheckU},
                                       {&UCheckX, &UCheckY, &UCheckZ, &UCheckU}};
    QLabel **marks[kAxes] = {&Label2, &Label4, &Label6, &Label8};
    QLabel **arrows[kAxes] = {&Label1, &Label5, &Label7, &Label9};
    static const char *const heads[kAxes] = {" X ", " Y ", " Z ", " U "};
    // Where each band's range box stands: start, end, copy-to.
    const int boxLeft[3] = {720, 1920, 3960};
    const int boxTop[3] = {480, 480, 720};
    QList<QWidget *> order;
    for (int a = 0; a < kAxes; ++a) {
        const int dy = a * kBandHeight;
        std::size_t l = std::size_t(a) * 8;
        Label3[l++] = label(QLatin1String(heads[a]), 360, 240 + dy, 240, 210);
        Label3[l++] = label(QStringLiteral(" REG "), 720, 240 + dy, 495, 210);
        Label3[l++] = label(QStringLiteral(" REG "), 1800, 240 + dy, 495, 210);
        Label3[l++] = label(QStringLiteral(" REG "), 3360, 720 + dy, 495, 210);
        for (int d = 0; d < kAxes; ++d)
            Label3[l++] = label(QLatin1String(heads[d]), kDestLeft[d], 120 + dy, 240, 210);

        *sources[a] = new QCheckBox(this);
        SetTwipsGeometry(*sources[a], 360, 480 + dy, 255, 255);
        for (int i = 0; i < 3; ++i) {
            *ranges[a][i] = MakeRangeBox(this, [this, a, i](const QString &text) {
                form.range[std::size_t(a)].text[std::size_t(i)] = text;
            });
            SetTwipsGeometry(*ranges[a][i], boxLeft[i], boxTop[i] + dy, 615, 270);
        }
        *marks[a] = label(QString(), 1440, 480 + dy, 360, 270);
        *arrows[a] = label(QStringLiteral("->"), 2760, 480 + dy, 315, 270);
        QFont bold = (*arrows[a])->font();
        bold.setBold(true);
        (*arrows[a])->setFont(bold);
        for (int d = 0; d < kAxes; ++d) {
            *dests[a][d] = new QCheckBox(this);
            SetTwipsGeometry(*dests[a][d], kDestLeft[d], 360 + dy, 255, 255);
        }
        order << *sources[a] << *ranges[a][0] << *ranges[a][1];
        for (int d = 0; d < kAxes; ++d)
            order << *dests[a][d];
        order << *ranges[a][2];
    }
    Start_Button = new QPushButton(QStringLiteral("Start"), this);
    SetTwipsGeometry(Start_Button, 600, 4560, 975, 375);
    Exit_Button = new QPushButton(QStringLiteral("Exit"), this);
    SetTwipsGeometry(Exit_Button, 2160, 4560, 975, 375);
    Normal_Button = new QPushButton(QStringLiteral("Nomal"), this);
    SetTwipsGeometry(Normal_Button, 3720, 4560, 975, 375);
    order << Start_Button << Exit_Button << Normal_Button;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    KeepTwipsDesign(this, 5010, 5100);
}

void frmEditAct::showForm()
{
    for (int a = 0; a < kAxes; ++a) {
        ShowCopyBox(sourceBoxes()[std::size_t(a)], form.source[std::size_t(a)]);
        for (int d = 0; d < kAxes; ++d)
            ShowCopyBox(destBoxes(a)[std::size_t(d)], form.dest[std::size_t(a)][std::size_t(d)]);
        ShowRangeBoxes(rangeBoxes(a), form.range[std::size_t(a)]);
    }
}

void frmEditAct::Form_Load()
{
    form.Form_Load();
    for (QLabel *mark : {Label2, Label4, Label6, Label8})
        mark->setText(GetRangeMark());
    showForm();
}

void frmEditAct::SourceCheck_Click(int axis)
{
    if (PassSourceClick(form, sourceBoxes(), axis))
        showForm();
}

void frmEditAct::Start_Button_Click()
{
    // The boxes are read once, here.
    QString why;
    auto plan = form.Plan(&why);
    if (StartRefused(plan, why))
        return;
    std::optional<BlockCopyPlan> run;
    switch (MsgBox(QStringLiteral("Does it leave the Original data ?"), MsgButtons::YesNoCancel,
                   QStringLiteral("Message"))) {
    case MsgResult::Yes:
        if (MsgBox(QStringLiteral("The original data is left and copied."), MsgButtons::OkCancel,
                   QStringLiteral("Messages"))
            == MsgResult::Ok)
            run = std::move(plan);
        break;
    case MsgResult::No:
        if (MsgBox(QStringLiteral("It delete after copying the original data."), MsgButtons::OkCancel,
                   QStringLiteral("Messages"))
            == MsgResult::Ok) {
            AddSourceClears(*plan);
            run = std::move(plan);
        }
        break;
    default: break;
    }
    FinishBlockCopy(this, run, QStringLiteral("Update Datedase!"), QStringLiteral("Wait."));
}

void frmEditAct::Exit_Button_Click()
{
    close();
}

void frmEditAct::Normal_Button_Click()
{
    ShowEditActMain();
    close();
}

frmEditAct *ShowEditAct()
{
    frmEditAct *w = EditActWindow();
    // Nothing opens or comes forward while a block copy runs.
    if (BlockCopyRunning())
        return w;
    if (!w)
        w = new frmEditAct(OwnerWindow());
    BringToFront(w);
    return w;
}
