#include "mainwin/frmIo.h"

#include "link/LineOwner.h"
#include "link/MonitorHold.h"
#include "link/ReplyFields.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmTitleEdit.h"
#include "platform/ControlEvents.h"
#include "platform/EventPump.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "platform/WindowFit.h"
#include "shared/Bounds.h"
#include "shared/EntryChecks.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
frmIo *ioWindow = nullptr;

const char *const kParallelNames[24] = {
    "HOME", "STROBE", "X", "Y", "Z", "U", "REG0", "REG1", "REG2", "REG3", "REG4", "REG5",
    "REG6", "STOP", "MODE0", "MODE1", "ACK", "X-RUN", "Y-RUN", "Z-RUN", "U-RUN", "ERR0",
    "ERR1", "ERR2"};

// Bits of an axis status byte behind its seven input lamps.
constexpr int kAxisBits4[7] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x40, 0x80};
constexpr int kAxisBits2[7] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40};
}

frmIo *IoWindow()
{
    return ioWindow;
}

frmIo::frmIo(QWidget *parent) : QWidget(parent, Qt::Window)
{
    ioWindow = this;
    IoPollBegins();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Input/Output"));
    Timer2 = new QTimer(this);
    Timer2->setInterval(100);
    buildLayout();
    auto watch = [this](const auto &labels, void (frmIo::*dblClick)(int)) {
        for (std::size_t i = 0; i < labels.size(); ++i)
            WatchControl(labels[i], [this, dblClick, i](QEvent *event) {
                if (event->type() == QEvent::MouseButtonDblClick)
                    (this->*dblClick)(int(i));
                return false;
            });
    };
    watch(Label5, &frmIo::Label5_DblClick);
    watch(Label6, &frmIo::Label6_DblClick);
    watch(Label7, &frmIo::Label7_DblClick);
    watch(Label8, &frmIo::Label8_DblClick);
    connect(Timer2, &QTimer::timeout, this, &frmIo::Timer2_Timer);
    connect(Command1, &QPushButton::clicked, this, &frmIo::Command1_Click);
    Form_Load();
    Timer2->start();
}

frmIo::~frmIo()
{
    if (ioWindow == this) {
        ioWindow = nullptr;
        IoPollEnds(false);
    }
}

std::array<QString, kIoTitles> frmIo::blankTitles()
{
    // Before the settings file is read every title is ten characters of code 0.
    std::array<QString, kIoTitles> t;
    t.fill(QString(10, QChar(0)));
    return t;
}

void frmIo::ResetWorkingValues()
{
    IoPollStep = 0;
    IoTitle = blankTitles();
    TitleIndex = 0;
    AxisOutState = {};
    IoLastField = {};
    PortOutWord = 0;
    GenOutWord = 0;
}

frmIo *ShowIoWindow()
{
    frmIo *w = IoWindow();
    if (!w) {
        EnsureLampPictures();
        w = new frmIo(MainWindow());
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void frmIo::Form_Load()
{
    frmMain *m = MainWindow();
    if (m)
        m->Link->StatusReady = 0;

    for (int i = 0; i < kIoTitles; ++i) {
        QLabel *label = i < 36 ? At(Label5, i) : i < 52 ? At(Label7, i - 36) : At(Label8, i - 52);
        if (label)
            label->setText(ShownTitle(IoTitle[std::size_t(i)]));
    }

    if (CurrentUnitKind() == UnitKind::TwoAxis) {
        for (int i : {4, 5, 19, 20})
            Label6[std::size_t(i)]->hide();
        for (int i = 14; i <= 27; ++i)
            Label5[std::size_t(i)]->hide();
        for (int i = 32; i <= 35; ++i)
            Label5[std::size_t(i)]->hide();
        for (int i = 0; i < 16; ++i) {
            Label7[std::size_t(i)]->hide();
            Label8[std::size_t(i)]->hide();
        }
        Frame2->hide();
        Label3->hide();
        Label4->hide();
    }

    // What waits from before the window opened is no answer to its queries.
    // While a transfer holds the line it is the reply that transfer waits for.
    if (m && m->MSComm1->PortOpen() && !LineHeld()) {
        m->MSComm1->setInputLen(0);
        m->MSComm1->Input();
    }
    IoLastField.fill(QStringLiteral("0"));
    IoPollStep = 0;
}

void frmIo::Timer2_Timer()
{
    frmMain *m = MainWindow();
    // A transfer or exchange that holds the line must get its own replies.
    if (!m || !m->MSComm1->PortOpen() || !MayWrite(LineUser::IoPoll))
        return;
    MSComm *port = m->MSComm1;
    const UnitKind kind = CurrentUnitKind();
    switch (IoPollStep) {
    case 0:
        m->Link->SendQuery(StatusQuery(kind));
        UpdateIoLamps();
        break;
    case 1:
        if (kind == UnitKind::FourAxis) {
            port->setRThreshold(8);
            for (int a = 0; a < kAxes; ++a)
                port->Output(QStringLiteral("OUT ") + AxisLetter(a) + u'\r');
        } else {
            IoPollStep = 2;
        }
        break;
    case 2:
        if (kind == UnitKind::FourAxis) {
            port->setRThreshold(13);
            port->Output(QStringLiteral("INP\r"));
        } else {
            IoPollStep = 0;
        }
        break;
    default:
        break;
    }
}

void frmIo::UpdateIoLamps()
{
    const bool fourAxis = CurrentUnitKind() == UnitKind::FourAxis;
    const int *bits = fourAxis ? kAxisBits4 : kAxisBits2;
    frmMain *m = MainWindow();
    UnitLink *link = m ? m->Link : nullptr;
    if (link && link->StatusReady != 0) {
        const StatusFields f = LocateStatusFields(link->StatusLine, fourAxis);
        // Without a port field nothing of the line is trusted.
        if (f.port) {
            PortOutWord = *f.port >> 16;
            for (int a = 0; a < f.axes && a < kAxes; ++a) {
                // A status byte that did not convert leaves its lamps as they are.
                if (!f.status[a])
                    continue;
                const QString value = QString::number(*f.status[a]);
                if (value == IoLastField[a])
                    continue;
                auto &lamps = a < 2 ? Picture1 : Picture3;
                for (int n = 0; n < 7; ++n)
                    if (Lamp *l = At(lamps, 7 * (a % 2) + n))
                        l->setLit(*f.status[a] & bits[n]);
                IoLastField[a] = value;
            }
            for (int i = 0; i < 24; ++i)
                Picture2[std::size_t(i)]->setLit(*f.port & (int32_t(1) << i));
        }
        link->StatusReady = 0;
    }
    // The reply to the query just sent may come in here; it is evaluated
    // at the next status step.
    DoEvents();
    IoPollStep = 1;
}

void frmIo::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Timer2->stop();
    // The monitor polls again in its place.
    if (ioWindow == this)
        ioWindow = nullptr;
    IoPollEnds(true);
}

void frmIo::Command1_Click()
{
    unload();
    close();
}

void frmIo::closeEvent(QCloseEvent *event)
{
    // The close box does what Exit does; the close is never refused.
    unload();
    event->accept();
}

namespace {
// The main window's port when it is open and no transfer holds the line;
// switches need it.
MSComm *openPort()
{
    frmMain *m = MainWindow();
    return m && m->MSComm1->PortOpen() && MayWrite(LineUser::Manual) ? m->MSComm1 : nullptr;
}

bool titleMode(const QCheckBox *check)
{
    return check->checkState() == Qt::Checked;
}
} // namespace

void frmIo::Label5_DblClick(int index)
{
    QLabel *label = At(Label5, index);
    if (!label)
        return;
    if (titleMode(Check1)) {
        editTitle(index, label);
        return;
    }
    MSComm *port = openPort();
    // Only the axis outputs switch. With the port closed the state word is
    // left alone, so it keeps matching what the unit was last told.
    if (index < 28 || !port)
        return;
    const int axis = (index - 28) / 2;
    const int bit = 1 << ((index - 28) % 2);
    int16_t &state = AxisOutState[std::size_t(axis)];
    state = int16_t((state ^ bit) & 3);
    port->setRThreshold(8);
    port->Output(QStringLiteral("OUT ") + AxisLetter(axis) + u'0' + QString::number(state) + u'\r');
    // The 2-axis poll has no output query: the lamp follows the switch.
    if (CurrentUnitKind() == UnitKind::TwoAxis)
        if (Lamp *l = At(Picture1, 14 + (index - 28)))
            l->setLit(state & bit);
}

void frmIo::Label6_DblClick(int index)
{
    MSComm *port = openPort();
    if (index < 16 || index > 23 || titleMode(Check1) || !port)
        return;
    PortOutWord ^= int32_t(1) << (index - 16);
    port->Output(QStringLiteral("POT ") + SignedForm(PortOutWord) + u'\r');
}

void frmIo::Label7_DblClick(int index)
{
    if (QLabel *label = At(Label7, index); label && titleMode(Check1))
        editTitle(36 + index, label);
}

void frmIo::Label8_DblClick(int index)
{
    QLabel *label = At(Label8, index);
    if (!label)
        return;
    if (titleMode(Check1)) {
        editTitle(52 + index, label);
        return;
    }
    MSComm *port = openPort();
    if (!port)
        return;
    const uint16_t word = uint16_t(uint16_t(GenOutWord) ^ (1u << index));
    GenOutWord = int16_t(word);
    port->Output(QStringLiteral("OTP %1\r").arg(word, 4, 16, QChar(u'0')).toUpper());
}

void frmIo::editTitle(int titleIndex, QLabel *label)
{
    if (titleIndex < 0 || titleIndex >= kIoTitles)
        return;
    TitleIndex = int16_t(titleIndex);
    QPointer<QLabel> guard(label);
    EditIoTitle(this);
    if (guard)
        guard->setText(ShownTitle(IoTitle[std::size_t(titleIndex)]));
}

void frmIo::showAxisOutputs(int axis, unsigned bits)
{
    // X and Y outputs sit in Picture1(14..17), Z and U in Picture3(14..17).
    auto &group = axis < 2 ? Picture1 : Picture3;
    const int first = 14 + 2 * (axis % 2);
    if (axis < 0 || axis > 3)
        return;
    if (Lamp *l = At(group, first))
        l->setLit(bits & 1);
    if (Lamp *l = At(group, first + 1))
        l->setLit(bits & 2);
}

void frmIo::buildLayout()
{
    // Axis above Parallel, Expanded I/O beside them: side by side the three
    // fit a common screen without scrolling.
    auto *outer = new QVBoxLayout;
    auto *frames = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    frames->addLayout(left);
    auto titled = [this](int index, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QStringLiteral("title%1").arg(index));
        l->setMinimumWidth(80);
        return l;
    };
    auto lampCell = [](QGridLayout *grid, int row, int col, Lamp *lamp, QLabel *label) {
        grid->addWidget(lamp, row, col * 2);
        grid->addWidget(label, row, col * 2 + 1);
    };

    // Axis signals: four columns X, Y, Z, U of seven inputs and two outputs.
    Frame1 = new QGroupBox(QStringLiteral(" Axis "), this);
    auto *axisGrid = new QGridLayout(Frame1);
    Label1 = new QLabel(QStringLiteral("INPUT"), Frame1);
    Label2 = new QLabel(QStringLiteral("OUTPUT"), Frame1);
    axisGrid->addWidget(Label1, 0, 0, 1, 8);
    axisGrid->addWidget(Label2, 8, 0, 1, 8);
    for (int i = 0; i < 36; ++i)
        Label5[i] = titled(i, QStringLiteral("X-IN0"));
    for (int i = 0; i < 18; ++i) {
        Picture1[i] = new Lamp(Frame1);
        Picture3[i] = new Lamp(Frame1);
    }
    for (int axis = 0; axis < 4; ++axis) {
        auto &lamps = axis < 2 ? Picture1 : Picture3;
        const int lampBase = 7 * (axis % 2);
        for (int n = 0; n < 7; ++n)
            lampCell(axisGrid, 1 + n, axis, lamps[lampBase + n], Label5[7 * axis + n]);
        for (int n = 0; n < 2; ++n)
            lampCell(axisGrid, 9 + n, axis, lamps[14 + 2 * (axis % 2) + n], Label5[28 + 2 * axis + n]);
    }
    left->addWidget(Frame1);

    // Parallel port: four columns of six.
    Frame3 = new QGroupBox(QStringLiteral(" Parallel "), this);
    auto *parGrid = new QGridLayout(Frame3);
    for (int i = 0; i < 24; ++i) {
        Picture2[i] = new Lamp(Frame3);
        Label6[i] = new QLabel(QLatin1String(kParallelNames[i]), Frame3);
        lampCell(parGrid, i % 6, i / 6, Picture2[i], Label6[i]);
    }
    left->addWidget(Frame3);
    left->addStretch();

    // Expanded I/O: inputs in two columns of eight above the outputs.
    Frame2 = new QGroupBox(QStringLiteral(" Expanded I/O"), this);
    auto *expGrid = new QGridLayout(Frame2);
    Label3 = new QLabel(QStringLiteral("INPUT"), Frame2);
    Label4 = new QLabel(QStringLiteral("OUTPUT"), Frame2);
    expGrid->addWidget(Label3, 0, 0, 1, 4);
    expGrid->addWidget(Label4, 9, 0, 1, 4);
    for (int i = 0; i < 16; ++i) {
        Picture4[i] = new Lamp(Frame2);
        Picture5[i] = new Lamp(Frame2);
        Label7[i] = titled(36 + i, QStringLiteral("Label7"));
        Label8[i] = titled(52 + i, QStringLiteral("Label8"));
        lampCell(expGrid, 1 + i % 8, i / 8, Picture4[i], Label7[i]);
        lampCell(expGrid, 10 + i % 8, i / 8, Picture5[i], Label8[i]);
    }
    frames->addWidget(Frame2, 0, Qt::AlignTop);
    outer->addLayout(frames);

    auto *bottom = new QHBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("Name Change"), this);
    Command1 = new QPushButton(QStringLiteral("Exit"), this);
    bottom->addWidget(Check1);
    bottom->addStretch();
    bottom->addWidget(Command1);
    outer->addLayout(bottom);

    // On a small screen or at a large font the window scrolls, so that Name
    // Change and Exit can always be reached.
    FitToScreen(this, outer);
}
