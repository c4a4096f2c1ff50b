#include "mainwin/frmMain.h"

#include "mainwin/frmIo.h"
#include "link/MonitorHold.h"
#include "mainwin/ScaleOnMain.h"
#include "platform/FitToText.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "platform/UpDown.h"
#include "platform/WindowFit.h"
#include "shared/EntryChecks.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
frmMain *mainWindow = nullptr;

template <class T, std::size_t N>
T *pick(const std::array<T *, N> &controls, int axis)
{
    return axis >= 0 && axis < int(N) ? controls[std::size_t(axis)] : nullptr;
}
} // namespace

frmMain *MainWindow()
{
    return mainWindow;
}

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    mainWindow = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZT260A/ZT460A"));
    MSComm1 = new MSComm(this);
    Link = new UnitLink(*MSComm1, this);
    connectLink();
    Timer1 = new Timer(this);
    Timer1->setInterval(300);
    SetMonitorTimer(Timer1);
    Timer2 = new Timer(this);
    buildMenus();
    buildControls();
    FillBitMask();
    wireMenus();
    connect(Timer1, &Timer::timeout, this, &frmMain::Timer1_Timer);
    connect(Timer2, &Timer::timeout, this, &frmMain::Timer2_Timer);
    wireManualControls();
    wireLowerWindows();
    KeepFocusOffMotion();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // Qt gives the focus back once this event is over: to a safe control.
    KeepFocusOffMotion();
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

bool frmMain::startsMotion(const QWidget *w) const
{
    for (int i = 0; i < 8; ++i)
        if (w == jogButton(i))
            return true;
    return w == HomeStarSW || w == PrgStart || w == PrgStep;
}

void frmMain::KeepFocusOffMotion(QPushButton *safe)
{
    const QWidget *now = focusWidget();
    if (now && !startsMotion(now))
        return;
    // A stray Return or Escape on a STOP button sends nothing; with the
    // buttons out of use the focus rests on the window itself.
    if (!safe || !safe->isEnabled())
        safe = X_STOP_SW;
    QWidget *to = safe && safe->isEnabled() ? static_cast<QWidget *>(safe) : centralWidget();
    to->setFocus(Qt::ActiveWindowFocusReason);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, after the settings are saved.
    event->accept();
    SaveSettings();
}

frmMain::~frmMain()
{
    if (mainWindow == this) {
        mainWindow = nullptr;
        SetMonitorTimer(nullptr);
        unwireLowerWindows();
    }
}


void frmMain::FillBitMask()
{
    for (int i = 0; i < 16; ++i)
        BitMask[i] = int16_t(uint16_t(1u << i));
    BitMask[16] = 0;
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto action = [](QMenu *menu, const QString &caption, bool checkable = false) {
        QAction *a = menu->addAction(caption);
        a->setCheckable(checkable);
        return a;
    };

    mnufile = bar->addMenu(QStringLiteral("File(&F)"));
    mnufileitem[1] = action(mnufile, QStringLiteral("Open(&O)"));
    mnufileitem[2] = action(mnufile, QStringLiteral("Save(&S)"));
    mnufileitem[3] = mnufile->addSeparator();
    QMenu *up = mnufile->addMenu(QStringLiteral("UpLoad"));
    mnufileitem[4] = up->menuAction();
    mnuZT260UpAll = action(up, QStringLiteral("ALL"));
    QMenu *upProg = up->addMenu(QStringLiteral("Program"));
    const char *upProgCaptions[] = {"ALL", "X-axis", "Y-axis", "Z-Axis", "U-axis"};
    for (int i = 0; i < 5; ++i)
        mnuZT260UpProgitem[i] = action(upProg, QLatin1String(upProgCaptions[i]));
    QMenu *upPara = up->addMenu(QStringLiteral("Parameter"));
    const char *upParaCaptions[] = {"All", "X-axis", "Y-axis", "Z-Axis", "U-Axis"};
    for (int i = 0; i < 5; ++i)
        mnuZT260UpParamItem[i] = action(upPara, QLatin1String(upParaCaptions[i]));
    QMenu *down = mnufile->addMenu(QStringLiteral("DownLoad"));
    mnufileitem[5] = down->menuAction();
    mnuZT260DoAll = action(down, QStringLiteral("All"));
    QMenu *downProg = down->addMenu(QStringLiteral("Program"));
    QMenu *downPara = down->addMenu(QStringLiteral("Parameter"));
    for (int i = 0; i < 5; ++i) {
        mnuZT260DoProgItem[i] = action(downProg, QLatin1String(upParaCaptions[i]));
        mnuZT260DoParamItem[i] = action(downPara, QLatin1String(upParaCaptions[i]));
    }
    mnufileitem[6] = mnufile->addSeparator();
    mnufileitem[7] = action(mnufile, QStringLiteral("Exit(&X)"));

    mnuCom = bar->addMenu(QStringLiteral("Com"));
    mnuComSel[0] = mnuCom->addMenu(QStringLiteral("Port"));
    for (int i = 0; i < 9; ++i)
        mnuComItem[i] = action(mnuComSel[0], QStringLiteral("Com%1").arg(i + 1), true);
    mnuComSel[1] = mnuCom->addMenu(QStringLiteral("Speed"));
    const char *speeds[] = {"38400BPS", "19200BPS", "9600BPS"};
    for (int i = 0; i < 3; ++i)
        mnuBPS[i] = action(mnuComSel[1], QLatin1String(speeds[i]), true);
    // The window's design ticks Com1 and 9600BPS.
    mnuComItem[0]->setChecked(true);
    mnuBPS[2]->setChecked(true);

    mnuOption = bar->addMenu(QStringLiteral("Option"));
    mnuOptionItem[0] = action(mnuOption, QStringLiteral("ScanTime"));
    mnuOptionItem[1] = action(mnuOption, QStringLiteral("Scale"));

    mnuhelp = bar->addMenu(QStringLiteral("Help(&H)"));
    mnuhelpItem[0] = action(mnuhelp, QStringLiteral("Version(&V)"));
}

void frmMain::buildControls()
{
    auto *outer = new QVBoxLayout;

    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    auto display = [&](const char *name) {
        auto *e = new QLineEdit(this);
        named(e, name);
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        e->setText(QLatin1String(name));   // design text until the first reply
        return e;
    };
    auto entry = [&](const char *name) {
        auto *e = new QLineEdit(this);
        named(e, name);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    auto label = [&](const QString &caption, const char *name) {
        auto *l = new QLabel(caption, this);
        named(l, name);
        return l;
    };
    auto button = [&](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        named(b, name);
        return b;
    };

    // Axis rows: position, speed, jog buttons, preset amount, manual speed.
    auto *axisBox = new QGroupBox(this);
    auto *grid = new QGridLayout(axisBox);
    const char *heads[] = {"Position", "", "Speed", "", "", "", "", "Preset Pulse", "", "Speed5"};
    for (int c = 0; c < 10; ++c)
        if (*heads[c])
            grid->addWidget(new QLabel(QLatin1String(heads[c]), this), 0, c + 1);

    Text1 = display("Text1"); Text2 = display("Text2"); Text3 = display("Text3"); Text4 = display("Text4");
    Text5 = display("Text5"); Text6 = display("Text6"); Text7 = display("Text7"); Text8 = display("Text8");
    Text9 = entry("Text9"); Text10 = entry("Text10"); Text11 = entry("Text11"); Text12 = entry("Text12");
    Text13 = entry("Text13"); Text14 = entry("Text14"); Text15 = entry("Text15"); Text16 = entry("Text16");
    Text17 = display("Text17"); Text18 = display("Text18"); Text19 = display("Text19"); Text20 = display("Text20");
    for (QLineEdit *e : {Text17, Text18, Text19, Text20})
        e->clear();
    scale0 = label(QStringLiteral("Pulse"), "scale0"); scale1 = label(QStringLiteral("Pulse"), "scale1");
    scale2 = label(QStringLiteral("Pulse"), "scale2"); scale3 = label(QStringLiteral("Pulse"), "scale3");
    scale10 = label(QStringLiteral("Pulse"), "scale10"); scale11 = label(QStringLiteral("Pulse"), "scale11");
    scale12 = label(QStringLiteral("Pulse"), "scale12"); scale13 = label(QStringLiteral("Pulse"), "scale13");
    UpDown1 = new UpDown(this); UpDown2 = new UpDown(this); UpDown3 = new UpDown(this); UpDown4 = new UpDown(this);
    UpDown1->setObjectName("UpDown1"); UpDown2->setObjectName("UpDown2");
    UpDown3->setObjectName("UpDown3"); UpDown4->setObjectName("UpDown4");

    XP_SW = button("+", "XP_SW"); XM_SW = button("-", "XM_SW");
    YP_SW = button("+", "YP_SW"); YM_SW = button("-", "YM_SW");
    ZP_SW = button("+", "ZP_SW"); ZM_SW = button("-", "ZM_SW");
    UP_SW = button("+", "UP_SW"); UM_SW = button("-", "UM_SW");
    X_STOP_SW = button("STOP", "X_STOP_SW"); Y_STOP_SW = button("STOP", "Y_STOP_SW");
    Z_STOP_SW = button("STOP", "Z_STOP_SW"); U_STOP_SW = button("STOP", "U_STOP_SW");
    X_CLEAR_SW = button("C", "X_CLEAR_SW"); Y_CLEAR_SW = button("C", "Y_CLEAR_SW");
    Z_CLEAR_SW = button("C", "Z_CLEAR_SW"); U_CLEAR_SW = button("C", "U_CLEAR_SW");

    QLabel *captions[4] = {label("X", "Label1"), label("Y", "Label2"), nullptr, nullptr};
    Label3 = label("Z", "Label3");
    Label4 = label("U", "Label4");
    captions[2] = Label3;
    captions[3] = Label4;
    const std::array<QLineEdit *, 4> pos{Text1, Text2, Text3, Text4}, spd{Text5, Text6, Text7, Text8},
        amt{Text9, Text10, Text11, Text12}, man{Text13, Text14, Text15, Text16};
    const std::array<QLabel *, 4> u1{scale0, scale1, scale2, scale3}, u2{scale10, scale11, scale12, scale13};
    const std::array<QPushButton *, 4> minus{XM_SW, YM_SW, ZM_SW, UM_SW}, plus{XP_SW, YP_SW, ZP_SW, UP_SW},
        stop{X_STOP_SW, Y_STOP_SW, Z_STOP_SW, U_STOP_SW}, clear{X_CLEAR_SW, Y_CLEAR_SW, Z_CLEAR_SW, U_CLEAR_SW};
    const std::array<UpDown *, 4> ud{UpDown1, UpDown2, UpDown3, UpDown4};
    for (int a = 0; a < 4; ++a) {
        const int r = a + 1;
        grid->addWidget(captions[a], r, 0);
        grid->addWidget(pos[a], r, 1);
        grid->addWidget(u1[a], r, 2);
        grid->addWidget(spd[a], r, 3);
        grid->addWidget(minus[a], r, 4);
        grid->addWidget(stop[a], r, 5);
        grid->addWidget(plus[a], r, 6);
        grid->addWidget(clear[a], r, 7);
        grid->addWidget(amt[a], r, 8);
        grid->addWidget(u2[a], r, 9);
        grid->addWidget(man[a], r, 10);
        grid->addWidget(ud[a], r, 11);
    }
    outer->addWidget(axisBox);

    // Jog mode, speed rate and speed choice.
    auto *choices = new QHBoxLayout;
    auto optionFrame = [&](const QString &caption, std::initializer_list<std::pair<QRadioButton **, const char *>> opts,
                           const std::initializer_list<const char *> captionsList) {
        auto *frame = new QGroupBox(caption, this);
        auto *l = new QHBoxLayout(frame);
        auto c = captionsList.begin();
        for (const auto &[ptr, name] : opts) {
            *ptr = new QRadioButton(QString::fromUtf8(*c++), frame);
            (*ptr)->setObjectName(QLatin1String(name));
            l->addWidget(*ptr);
        }
        choices->addWidget(frame);
        return frame;
    };
    optionFrame(QStringLiteral(" Jog Mode "),
                {{&Option1, "Option1"}, {&Option2, "Option2"}, {&Option3, "Option3"}},
                {"Scan", "Continuous", "Preset"});
    Frame2 = optionFrame(QStringLiteral(" Speed Rate "),
                         {{&Option4, "Option4"}, {&Option5, "Option5"}, {&Option6, "Option6"}},
                         {"+/- 1", "+/- 10", "+/- 100"});
    Form7 = optionFrame(QStringLiteral(" Speed "),
                        {{&Option7, "Option7"}, {&Option8, "Option8"}, {&Option9, "Option9"},
                         {&Option10, "Option10"}, {&Option11, "Option11"}},
                        {"1", "2", "3", "4", "5"});
    outer->addLayout(choices);

    // Home search and program/index drive.
    auto *drives = new QHBoxLayout;
    auto axisChecks = [&](QGridLayout *g, int row, std::array<QCheckBox **, 4> boxes,
                          std::array<const char *, 4> names, std::array<QLabel **, 4> caps,
                          std::array<const char *, 4> capNames) {
        auto *sel = new QGroupBox(QStringLiteral("Axis Select"), this);
        auto *l = new QGridLayout(sel);
        const char *letters[] = {"X", "Y", "Z", "U"};
        for (int a = 0; a < 4; ++a) {
            QLabel *cap = label(QLatin1String(letters[a]), capNames[a]);
            if (caps[a])
                *caps[a] = cap;
            *boxes[a] = new QCheckBox(sel);
            (*boxes[a])->setObjectName(QLatin1String(names[a]));
            l->addWidget(cap, 0, a);
            l->addWidget(*boxes[a], 1, a);
        }
        g->addWidget(sel, row, 0, 1, 4);
    };
    auto *home = new QGroupBox(QStringLiteral("Home Search"), this);
    auto *hg = new QGridLayout(home);
    axisChecks(hg, 0, {&HomeAxisX, &HomeAxisY, &HomeAxisZ, &HomeAxisU},
               {"HomeAxisX", "HomeAxisY", "HomeAxisZ", "HomeAxisU"},
               {nullptr, nullptr, &Label7, &Label8}, {"Label5", "Label6", "Label7", "Label8"});
    HomeStarSW = button(QStringLiteral("Run"), "HomeStarSW");
    Command6 = button(QStringLiteral("Stop"), "Command6");
    hg->addWidget(HomeStarSW, 1, 0, 1, 2);
    hg->addWidget(Command6, 1, 2, 1, 2);
    drives->addWidget(home);

    Frame4 = new QGroupBox(QStringLiteral("Index/Program"), this);
    auto *pg = new QGridLayout(Frame4);
    Option12 = new QRadioButton(QStringLiteral("Index"), Frame4);
    Option13 = new QRadioButton(QStringLiteral("Program"), Frame4);
    Option12->setObjectName("Option12");
    Option13->setObjectName("Option13");
    pg->addWidget(Option12, 0, 0, 1, 2);
    pg->addWidget(Option13, 0, 2, 1, 2);
    axisChecks(pg, 1, {&PrgAxisX, &PrgAxisY, &PrgAxisZ, &PrgAxisU},
               {"PrgAxisX", "PrgAxisY", "PrgAxisZ", "PrgAxisU"},
               {nullptr, nullptr, &Label10, &Label9}, {"Label11", "Label12", "Label10", "Label9"});
    auto *regs = new QHBoxLayout;
    for (QLineEdit *e : {Text17, Text18, Text19, Text20})
        regs->addWidget(e);
    pg->addLayout(regs, 2, 0, 1, 4);
    Label18 = label(QStringLiteral("REG"), "Label18");
    RegNo = entry("RegNo");
    UpDown5 = new UpDown(this);
    UpDown5->setObjectName("UpDown5");
    UpDown5->setMax(LastRegister(UnitKind::FourAxis));
    pg->addWidget(Label18, 3, 0);
    pg->addWidget(RegNo, 3, 1, 1, 2);
    pg->addWidget(UpDown5, 3, 3);
    PrgStart = button(QStringLiteral("Run"), "PrgStart");
    PrgStep = button(QStringLiteral("Step"), "PrgStep");
    PrgStop = button(QStringLiteral("Stop"), "PrgStop");
    auto *pb = new QHBoxLayout;
    pb->addWidget(PrgStart);
    pb->addWidget(PrgStep);
    pb->addWidget(PrgStop);
    pg->addLayout(pb, 4, 0, 1, 4);
    AbsPoSet = button(QStringLiteral("ABS.Position Set"), "AbsPoSet");
    pg->addWidget(AbsPoSet, 5, 0, 1, 4);
    drives->addWidget(Frame4);
    outer->addLayout(drives);

    // RUN lamps, message frame, progress bar and the window buttons.
    auto *runRow = new QHBoxLayout;
    std::array<Lamp **, 4> lamps{&Picture1, &Picture2, &Picture3, &Picture4};
    std::array<QLabel **, 4> runLabels{&Label17, &Label19, &Label20, &Label21};
    const char *runCaptions[] = {"X-RUN", "Y-RUN", "Z-RUN", "U-RUN"};
    const char *runNames[] = {"Label17", "Label19", "Label20", "Label21"};
    for (int a = 0; a < 4; ++a) {
        *lamps[a] = new Lamp(this);
        (*lamps[a])->setObjectName(QStringLiteral("Picture%1").arg(a + 1));
        *runLabels[a] = label(QLatin1String(runCaptions[a]), runNames[a]);
        runRow->addWidget(*lamps[a]);
        runRow->addWidget(*runLabels[a]);
    }
    runRow->addStretch();
    Frame7 = new QGroupBox(QStringLiteral(" Error Message "), this);
    auto *fl = new QVBoxLayout(Frame7);
    Label22 = label(QString(), "Label22");
    fl->addWidget(Label22);
    runRow->addWidget(Frame7, 1);
    outer->addLayout(runRow);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    outer->addWidget(ProgressBar1);

    auto *buttons = new QHBoxLayout;
    Command1 = button(QStringLiteral("Input/Output"), "Command1");
    Command4 = button(QStringLiteral("Program Edit"), "Command4");
    Command5 = button(QStringLiteral("Parameter/Mode"), "Command5");
    buttons->addWidget(Command1);
    buttons->addWidget(Command4);
    buttons->addWidget(Command5);
    outer->addLayout(buttons);

    // On a small screen or at a large font the window scrolls rather than
    // run off the screen.
    FitToScreen(this, outer);

    // Every value box as wide as the widest text it can hold; the position
    // and amount boxes follow their axis's unit (RefitScaledBoxes).
    for (int a = 0; a < 4; ++a) {
        FitBoxWidth(pos[a], [a] { return PositionWidestTexts(a); });
        FitBoxWidth(spd[a], [] { return EveryDigit({QString::number(INT32_MIN)}); });
        FitBoxWidth(amt[a], [a] { return AmountWidestTexts(a); });
        // An up-down step writes the speed after a blank.
        FitBoxWidth(man[a], [] { return EveryDigit({u' ' + QString::number(kMaxManualSpeed)}); });
        FitBoxWidth(registerBox(a), [] { return EveryDigit({QString::number(INT16_MIN)}); });
    }
    FitBoxWidth(RegNo, [] { return EveryDigit({u' ' + QString::number(LastRegister(UnitKind::FourAxis))}); });

    // Tab visits the controls row by row as they stand. The position and
    // speed displays take the focus only by a click and hand it on at once;
    // in the tab order they would throw the focus past their row's buttons.
    for (QLineEdit *e : pos)
        e->setFocusPolicy(Qt::ClickFocus);
    for (QLineEdit *e : spd)
        e->setFocusPolicy(Qt::ClickFocus);
    QList<QWidget *> order;
    for (int a = 0; a < 4; ++a)
        order << minus[a] << stop[a] << plus[a] << clear[a] << amt[a] << man[a] << ud[a]->upButton()
              << ud[a]->downButton();
    order << Option1 << Option2 << Option3 << Option4 << Option5 << Option6 << Option7 << Option8
          << Option9 << Option10 << Option11;
    order << HomeAxisX << HomeAxisY << HomeAxisZ << HomeAxisU << HomeStarSW << Command6;
    order << Option12 << Option13 << PrgAxisX << PrgAxisY << PrgAxisZ << PrgAxisU << Text17 << Text18
          << Text19 << Text20 << RegNo << UpDown5->upButton() << UpDown5->downButton() << PrgStart
          << PrgStep << PrgStop << AbsPoSet;
    order << Command1 << Command4 << Command5;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QLineEdit *frmMain::positionBox(int axis) const
{
    return pick(std::array<QLineEdit *, 4>{Text1, Text2, Text3, Text4}, axis);
}

QLineEdit *frmMain::speedBox(int axis) const
{
    return pick(std::array<QLineEdit *, 4>{Text5, Text6, Text7, Text8}, axis);
}

QLineEdit *frmMain::amountBox(int axis) const
{
    return pick(std::array<QLineEdit *, 4>{Text9, Text10, Text11, Text12}, axis);
}

QLineEdit *frmMain::manualSpeedBox(int axis) const
{
    return pick(std::array<QLineEdit *, 4>{Text13, Text14, Text15, Text16}, axis);
}

QLineEdit *frmMain::registerBox(int axis) const
{
    return pick(std::array<QLineEdit *, 4>{Text17, Text18, Text19, Text20}, axis);
}

Lamp *frmMain::runLamp(int axis) const
{
    return pick(std::array<Lamp *, 4>{Picture1, Picture2, Picture3, Picture4}, axis);
}

QCheckBox *frmMain::homeAxisBox(int axis) const
{
    return pick(std::array<QCheckBox *, 4>{HomeAxisX, HomeAxisY, HomeAxisZ, HomeAxisU}, axis);
}

QCheckBox *frmMain::prgAxisBox(int axis) const
{
    return pick(std::array<QCheckBox *, 4>{PrgAxisX, PrgAxisY, PrgAxisZ, PrgAxisU}, axis);
}
