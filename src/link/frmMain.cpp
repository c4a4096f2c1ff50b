#include "link/frmMain.h"

#include "platform/Lamp.h"
#include "platform/MSComm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
frmMain *mainWindow = nullptr;
}

frmMain *MainWindow()
{
    return mainWindow;
}

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    mainWindow = this;
    setWindowTitle(QStringLiteral("ZT260A/ZT460A"));
    MSComm1 = new MSComm(this);
    connect(MSComm1, &MSComm::OnComm, this, &frmMain::MSComm1_OnComm);
    Timer1 = new QTimer(this);
    Timer1->setInterval(300);
    Timer2 = new QTimer(this);
    buildDisplays();
    FillBitMask();
}

frmMain::~frmMain()
{
    if (mainWindow == this)
        mainWindow = nullptr;
}

void frmMain::FillBitMask()
{
    for (int i = 0; i < 16; ++i)
        BitMask[i] = int16_t(uint16_t(1u << i));
    BitMask[16] = 0;
}

void frmMain::buildDisplays()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    auto box = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    Text1 = box("Text1"); Text2 = box("Text2"); Text3 = box("Text3"); Text4 = box("Text4");
    Text5 = box("Text5"); Text6 = box("Text6"); Text7 = box("Text7"); Text8 = box("Text8");
    Text17 = box("Text17"); Text18 = box("Text18"); Text19 = box("Text19"); Text20 = box("Text20");
    const char *axes[] = {"X", "Y", "Z", "U"};
    grid->addWidget(new QLabel(tr("Position"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Speed"), this), 0, 2);
    grid->addWidget(new QLabel(tr("Register"), this), 0, 3);
    for (int a = 0; a < 4; ++a) {
        grid->addWidget(new QLabel(QLatin1String(axes[a]), this), a + 1, 0);
        grid->addWidget(positionBox(a), a + 1, 1);
        grid->addWidget(speedBox(a), a + 1, 2);
        grid->addWidget(registerBox(a), a + 1, 3);
    }
    auto *runRow = new QHBoxLayout;
    const char *runCaptions[] = {"X-RUN", "Y-RUN", "Z-RUN", "U-RUN"};
    const char *runLabels[] = {"Label17", "Label19", "Label20", "Label21"};
    std::array<Lamp **, 4> lamps{&Picture1, &Picture2, &Picture3, &Picture4};
    for (int a = 0; a < 4; ++a) {
        *lamps[a] = new Lamp(this);
        (*lamps[a])->setObjectName(QStringLiteral("Picture%1").arg(a + 1));
        auto *caption = new QLabel(QLatin1String(runCaptions[a]), this);
        caption->setObjectName(QLatin1String(runLabels[a]));
        runRow->addWidget(*lamps[a]);
        runRow->addWidget(caption);
    }
    runRow->addStretch();
    outer->addLayout(runRow);
    auto *frame7 = new QGroupBox(QStringLiteral(" Error Message "), this);
    auto *fl = new QVBoxLayout(frame7);
    Label22 = new QLabel(frame7);
    Label22->setObjectName(QStringLiteral("Label22"));
    fl->addWidget(Label22);
    outer->addWidget(frame7);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    outer->addWidget(ProgressBar1);
    setCentralWidget(central);
}

QLineEdit *frmMain::positionBox(int axis) const
{
    const std::array<QLineEdit *, 4> b{Text1, Text2, Text3, Text4};
    return axis >= 0 && axis < 4 ? b[axis] : nullptr;
}

QLineEdit *frmMain::speedBox(int axis) const
{
    const std::array<QLineEdit *, 4> b{Text5, Text6, Text7, Text8};
    return axis >= 0 && axis < 4 ? b[axis] : nullptr;
}

QLineEdit *frmMain::registerBox(int axis) const
{
    const std::array<QLineEdit *, 4> b{Text17, Text18, Text19, Text20};
    return axis >= 0 && axis < 4 ? b[axis] : nullptr;
}

Lamp *frmMain::runLamp(int axis) const
{
    const std::array<Lamp *, 4> l{Picture1, Picture2, Picture3, Picture4};
    return axis >= 0 && axis < 4 ? l[axis] : nullptr;
}
