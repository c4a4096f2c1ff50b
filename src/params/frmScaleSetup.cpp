#include "params/frmScaleSetup.h"

#include "params/ParamRequests.h"
#include "params/ScaleSetup.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/EntryEditing.h"
#include "platform/FitToText.h"
#include "platform/OwnerWindow.h"
#include "platform/WindowFit.h"
#include "shared/AxisFactor.h"
#include "shared/EntryChecks.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
frmScaleSetup *scaleSetup = nullptr;
}

frmScaleSetup *ScaleSetupWindow()
{
    return scaleSetup;
}

frmScaleSetup *ShowScaleSetupWindow()
{
    frmScaleSetup *w = ScaleSetupWindow();
    if (!w) {
        w = new frmScaleSetup(OwnerWindow());
        w->Form_Load();
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

frmScaleSetup::frmScaleSetup(QWidget *parent) : QWidget(parent, Qt::Window)
{
    scaleSetup = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Axis Scale"));
    buildLayout();
}

frmScaleSetup::~frmScaleSetup()
{
    if (scaleSetup == this)
        scaleSetup = nullptr;
}

const frmScaleSetup::Options *frmScaleSetup::options(int axis) const
{
    switch (axis) {
    case 0: return &ScaleOpt;
    case 1: return &ScaleOpt1;
    case 2: return &ScaleOpt2;
    case 3: return &ScaleOpt3;
    default: return nullptr;
    }
}

const frmScaleSetup::Boxes *frmScaleSetup::boxes(int axis) const
{
    switch (axis) {
    case 0: return &Text1;
    case 1: return &Text2;
    case 2: return &Text3;
    case 3: return &Text4;
    default: return nullptr;
    }
}

QGroupBox *frmScaleSetup::frame(int axis) const
{
    switch (axis) {
    case 0: return Frame1;
    case 1: return Frame2;
    case 2: return Frame3;
    case 3: return Frame4;
    default: return nullptr;
    }
}

int frmScaleSetup::chosenUnit(int axis) const
{
    return axis >= 0 && axis < kAxes ? m_unit[size_t(axis)] : 0;
}

void frmScaleSetup::buildLayout()
{
    auto *layout = new QVBoxLayout;
    auto *frames = new QHBoxLayout;
    layout->addLayout(frames);
    const std::array<Options *, kAxes> opts{&ScaleOpt, &ScaleOpt1, &ScaleOpt2, &ScaleOpt3};
    const std::array<Boxes *, kAxes> boxArrays{&Text1, &Text2, &Text3, &Text4};
    const std::array<Labels *, 3> before{&Label1, &Label2, &Label3};
    const std::array<Labels *, 3> behind{&Label7, &Label8, &Label9};
    const std::array<QGroupBox **, kAxes> frameOf{&Frame1, &Frame2, &Frame3, &Frame4};

    for (int a = 0; a < kAxes; ++a) {
        auto *f = new QGroupBox(QStringLiteral(" %1-Axis ").arg(AxisLetter(a)), this);
        *frameOf[size_t(a)] = f;
        frames->addWidget(f);
        auto *grid = new QGridLayout(f);
        auto *optionRow = new QHBoxLayout;
        grid->addLayout(optionRow, 0, 0, 1, 3);
        for (int u = 0; u < kScaleUnits; ++u) {
            auto *o = new QRadioButton(UnitCaption(u), f);
            (*opts[size_t(a)])[size_t(u)] = o;
            optionRow->addWidget(o);
            connect(o, &QRadioButton::toggled, this, [this, a, u](bool on) {
                if (!on)
                    return;
                switch (a) {
                case 0: ScaleOpt_Click(u); break;
                case 1: ScaleOpt1_Click(u); break;
                case 2: ScaleOpt2_Click(u); break;
                default: ScaleOpt3_Click(u); break;
                }
            });

            auto *box = new QLineEdit(QStringLiteral("1"), f);
            (*boxArrays[size_t(a)])[size_t(u)] = box;
            EntryEditing::watch(box, [this, a, u](int &key) { boxKeyPress(a, u, key); });
            if (u == 0) {
                box->hide();
                continue;
            }
            // A factor of seven decimals, or the longer one the box was
            // loaded with, shows whole.
            FitBoxWidth(box, [box] { return EveryDigit({QStringLiteral("0.0000001")}) << box->text(); });
            auto *lead = new QLabel(QStringLiteral("1 Pulse ="), f);
            auto *unit = new QLabel(UnitCaption(u), f);
            (*before[size_t(u - 1)])[size_t(a)] = lead;
            (*behind[size_t(u - 1)])[size_t(a)] = unit;
            grid->addWidget(lead, u, 0);
            grid->addWidget(box, u, 1);
            grid->addWidget(unit, u, 2);
        }
        // Z and U take part only on the 4-axis unit (enabled by the load).
        if (a >= 2) {
            f->setEnabled(false);
            for (int u = 0; u < 4; ++u) {
                (*opts[size_t(a)])[size_t(u)]->setEnabled(false);
                (*boxArrays[size_t(a)])[size_t(u)]->setEnabled(false);
            }
            for (int i = 0; i < 3; ++i) {
                (*before[size_t(i)])[size_t(a)]->setEnabled(false);
                (*behind[size_t(i)])[size_t(a)]->setEnabled(false);
            }
        }
    }

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    FitToScreen(this, layout);
    connect(OkButton, &QPushButton::clicked, this, &frmScaleSetup::OkButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmScaleSetup::CancelButton_Click);
}

void frmScaleSetup::enableAxis(int axis)
{
    frame(axis)->setEnabled(true);
    for (int u = 0; u < 4; ++u) {
        (*options(axis))[size_t(u)]->setEnabled(true);
        (*boxes(axis))[size_t(u)]->setEnabled(true);
    }
    for (const Labels *labels : {&Label1, &Label2, &Label3, &Label7, &Label8, &Label9})
        (*labels)[size_t(axis)]->setEnabled(true);
}

void frmScaleSetup::Form_Load()
{
    const int axes = AxisCount(CurrentUnitKind());
    for (int a = 0; a < axes; ++a) {
        // A stored code with no option leaves the axis with none chosen.
        const int unit = g.ScaleSel[size_t(a)];
        if (unit >= 0 && unit < kScaleUnits)
            SetOption((*options(a))[size_t(unit)], true);
        if (a >= 2)
            enableAxis(a);
        for (int u = 0; u < kScaleUnits; ++u) {
            (*boxes(a))[size_t(u)]->setText(g.ScaleFactor[size_t(u)][size_t(a)]);
            RefitBoxWidth((*boxes(a))[size_t(u)]);
        }
    }
}

void frmScaleSetup::chooseUnit(int axis, int Index)
{
    if (axis >= 0 && axis < kAxes && Index >= 0 && Index < 4)
        m_unit[size_t(axis)] = int16_t(Index);
}

void frmScaleSetup::ScaleOpt_Click(int Index) { chooseUnit(0, Index); }
void frmScaleSetup::ScaleOpt1_Click(int Index) { chooseUnit(1, Index); }
void frmScaleSetup::ScaleOpt2_Click(int Index) { chooseUnit(2, Index); }
void frmScaleSetup::ScaleOpt3_Click(int Index) { chooseUnit(3, Index); }

void frmScaleSetup::Text1_KeyPress(int, int &KeyAscii)
{
    if (!AmountKeyAccepted(KeyAscii))
        KeyAscii = 0;
}

void frmScaleSetup::Text2_KeyPress(int Index, int &KeyAscii) { Text1_KeyPress(Index, KeyAscii); }
void frmScaleSetup::Text3_KeyPress(int Index, int &KeyAscii) { Text1_KeyPress(Index, KeyAscii); }
void frmScaleSetup::Text4_KeyPress(int Index, int &KeyAscii) { Text1_KeyPress(Index, KeyAscii); }

void frmScaleSetup::boxKeyPress(int axis, int unit, int &key)
{
    switch (axis) {
    case 0: Text1_KeyPress(unit, key); break;
    case 1: Text2_KeyPress(unit, key); break;
    case 2: Text3_KeyPress(unit, key); break;
    default: Text4_KeyPress(unit, key); break;
    }
}

void frmScaleSetup::OkButton_Click()
{
    const int axes = AxisCount(CurrentUnitKind());
    ScaleChoice choice;
    for (int a = 0; a < axes; ++a) {
        choice.unit[size_t(a)] = m_unit[size_t(a)];
        for (int u = 0; u < kScaleUnits; ++u)
            choice.factor[size_t(a)][size_t(u)] = (*boxes(a))[size_t(u)]->text();
    }
    if (const auto refused = StoreScale(choice, axes)) {
        MsgBox(ScaleRefusedMessage(*refused), MsgButtons::Ok, {}, MsgIcon::Exclamation);
        return;
    }
    emit ParamWindowRequests().showScaleOnMain(axes);
    close();
}

void frmScaleSetup::CancelButton_Click()
{
    close();
}

void frmScaleSetup::closeEvent(QCloseEvent *event)
{
    if (scaleSetup == this)
        scaleSetup = nullptr;
    event->accept();
}
