// The I/O monitor window: opening per model, its poll, the lamp evaluation,
// output switching and the title editor.

#include "ManualRig.h"
#include "Waits.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmTitleEdit.h"
#include "platform/AppInfo.h"
#include "platform/EventPump.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "shared/EntryChecks.h"
#include "shared/Shared.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QClipboard>
#include <QtTest>

#include <functional>

namespace {
// Lamp states as a text of 0, 1 and - (never set).
template <std::size_t N>
QString lampText(const std::array<Lamp *, N> &group, int first = 0, int count = int(N))
{
    QString s;
    for (int i = first; i < first + count; ++i)
        s += group[std::size_t(i)]->state() < 0 ? u'-' : QChar(u'0' + group[std::size_t(i)]->state());
    return s;
}

template <std::size_t N>
QString hiddenOnes(const std::array<QLabel *, N> &labels)
{
    QStringList idx;
    for (std::size_t i = 0; i < N; ++i)
        if (labels[i]->isHidden())
            idx << QString::number(i);
    return idx.join(u',');
}

bool waitFor(const std::function<bool()> &cond)
{
    return WaitUntil(cond, kEventWaitMs) == WaitResult::Done;
}
} // namespace

class TestIoWindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void opening_data();
    void opening();
    void openTwiceKeepsOneWindow();
    void openingKeepsAwaitedReply();
    void pollFourAxis();
    void pollTwoAxis();
    void pollIdleWhenClosedOrBusy();
    void lamps_data();
    void lamps();
    void axisLampsRedrawnOnlyOnChange();
    void axisOutputs_data();
    void axisOutputs();
    void portOutputs();
    void generalOutputs();
    void doubleClicksThatDoNothing();
    void hiddenOutputsSwitchNothing();
    void titleEdit_data();
    void titleEdit();
    void titleTakesTypingAtOnce_data();
    void titleTakesTypingAtOnce();
    void titleRefusedWhenPasted();
    void titleKeptOverARestart();
    void exitHandsPollingBack_data();
    void exitHandsPollingBack();

private:
    frmIo *open(const QString &model);
    void evaluate(const QString &statusLine);
    ManualRig *m_rig = nullptr;
};

void TestIoWindow::cleanup()
{
    delete m_rig;
    m_rig = nullptr;
}

frmIo *TestIoWindow::open(const QString &model)
{
    delete m_rig;
    m_rig = new ManualRig(model);
    m_rig->w->Timer1->start();
    frmIo *io = ShowIoWindow();
    io->Timer2->stop();   // the test ticks the poll itself
    return io;
}

void TestIoWindow::evaluate(const QString &statusLine)
{
    MainWindow()->Link->StatusLine = statusLine;
    MainWindow()->Link->StatusReady = 1;
    IoWindow()->UpdateIoLamps();
}

void TestIoWindow::opening_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("hiddenAxisTitles");
    QTest::addColumn<QString>("hiddenPortNames");
    QTest::addColumn<bool>("expandedShown");
    QString zu;
    for (int i = 14; i <= 27; ++i)
        zu += QString::number(i) + u',';
    zu += QStringLiteral("32,33,34,35");
    QTest::newRow("4-axis unit") << "4" << "" << "" << true;
    QTest::newRow("2-axis unit") << "2" << zu << "4,5,19,20" << false;
}

void TestIoWindow::opening()
{
    QFETCH(QString, model);
    QFETCH(QString, hiddenAxisTitles);
    QFETCH(QString, hiddenPortNames);
    QFETCH(bool, expandedShown);
    delete m_rig;
    m_rig = new ManualRig(model);
    frmMain *w = m_rig->w;
    frmIo::IoTitle[5] = QStringLiteral("LIMIT  X+ ");
    frmIo::IoTitle[40] = QStringLiteral("Pump");     // a short title as stored
    frmIo::IoTitle[67] = QStringLiteral("Valve 16  ");
    MainWindow()->Link->StatusReady = 1;
    frmIo::IoPollStep = 2;
    frmIo::IoLastField.fill(QStringLiteral("7"));
    // Something unread waits on the line from before.
    m_rig->pty.send("stale\r");
    QVERIFY(waitFor([&] { return w->MSComm1->InBufferCount() >= 6; }));
    w->Timer1->start();

    frmIo *io = ShowIoWindow();
    QVERIFY(io);
    QCOMPARE(IoWindow(), io);
    QCOMPARE(io->windowTitle(), QStringLiteral("Input/Output"));
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(io->Timer2->isActive());
    QCOMPARE(io->Timer2->interval(), 100);
    QCOMPARE(MainWindow()->Link->StatusReady, 0);
    QCOMPARE(frmIo::IoPollStep, 0);
    QCOMPARE(frmIo::IoLastField, (std::array<QString, 4>{"0", "0", "0", "0"}));
    QCOMPARE(w->MSComm1->InBufferCount(), 0);
    QVERIFY(!io->Check1->isChecked());
    QCOMPARE(io->Label5[5]->text(), QStringLiteral("LIMIT  X+ "));
    QCOMPARE(io->Label7[4]->text(), QStringLiteral("Pump"));
    QCOMPARE(io->Label8[15]->text(), QStringLiteral("Valve 16  "));
    QCOMPARE(io->Label5[0]->text(), QString(10, u' '));   // never set: shows blank
    QCOMPARE(hiddenOnes(io->Label5), hiddenAxisTitles);
    QCOMPARE(hiddenOnes(io->Label6), hiddenPortNames);
    QCOMPARE(io->Frame2->isHidden(), !expandedShown);
    QCOMPARE(io->Label3->isHidden(), !expandedShown);
    QCOMPARE(hiddenOnes(io->Label7).isEmpty(), expandedShown);
    QVERIFY(!io->Picture3[0]->isHidden());   // lamps stay
}

void TestIoWindow::openTwiceKeepsOneWindow()
{
    frmIo *io = open(QStringLiteral("4"));
    QCOMPARE(ShowIoWindow(), io);
}

void TestIoWindow::openingKeepsAwaitedReply()
{
    // Opened while a transfer waits for its reply: the reply, and the part of
    // a line collected so far, stay for the transfer.
    delete m_rig;
    m_rig = new ManualRig(QStringLiteral("4"));
    frmMain *w = m_rig->w;
    m_rig->pty.send("MO1 X0041\r");
    QVERIFY(waitFor([&] { return w->MSComm1->InBufferCount() >= 10; }));
    MainWindow()->Link->ReceiveBuffer = QStringLiteral("HOS X");
    LineHold hold(LineUser::Transfer);
    frmIo *io = ShowIoWindow();
    io->Timer2->stop();
    QCOMPARE(w->MSComm1->InBufferCount(), 10);
    QCOMPARE(MainWindow()->Link->ReceiveBuffer, QStringLiteral("HOS X"));
    QCOMPARE(frmIo::IoPollStep, 0);
    QVERIFY(!w->Timer1->isActive());
}

void TestIoWindow::pollFourAxis()
{
    frmIo *io = open(QStringLiteral("4"));
    MSComm *port = m_rig->w->MSComm1;
    m_rig->wire();

    io->Timer2_Timer();
    QCOMPARE(m_rig->wire(), QStringLiteral("INR XYZU|"));
    QCOMPARE(frmIo::IoPollStep, 1);
    // The status reply comes; it is shown at the next status step.
    m_rig->pty.send("INR X01 Y00 Z00 U00, 00010003 0000\r");
    QVERIFY(waitFor([] { return MainWindow()->Link->StatusReady == 1; }));
    QCOMPARE(lampText(io->Picture1, 0, 7), QStringLiteral("-------"));

    io->Timer2_Timer();
    QCOMPARE(port->RThreshold(), 8);
    QCOMPARE(m_rig->wire(), QStringLiteral("OUT X|OUT Y|OUT Z|OUT U|"));
    io->Timer2_Timer();   // no reply yet: asked again
    QCOMPARE(m_rig->wire(), QStringLiteral("OUT X|OUT Y|OUT Z|OUT U|"));
    m_rig->pty.send("OUT X03\rOUT Z02\r");
    QVERIFY(waitFor([&] { return io->Picture3[15]->state() == 1; }));
    QCOMPARE(frmIo::IoPollStep, 2);
    QCOMPARE(lampText(io->Picture1, 14, 4), QStringLiteral("11--"));
    QCOMPARE(lampText(io->Picture3, 14, 4), QStringLiteral("01--"));

    io->Timer2_Timer();
    QCOMPARE(port->RThreshold(), 13);
    QCOMPARE(m_rig->wire(), QStringLiteral("INP|"));
    io->Timer2_Timer();
    QCOMPARE(m_rig->wire(), QStringLiteral("INP|"));
    m_rig->pty.send("INP 8001FFFE\r");
    QVERIFY(waitFor([] { return frmIo::IoPollStep == 0; }));
    QCOMPARE(lampText(io->Picture5), QStringLiteral("1000000000000001"));
    QCOMPARE(lampText(io->Picture4), QStringLiteral("1000000000000000"));

    io->Timer2_Timer();
    QCOMPARE(port->RThreshold(), 33);
    QCOMPARE(m_rig->wire(), QStringLiteral("INR XYZU|"));
    QCOMPARE(lampText(io->Picture1, 0, 7), QStringLiteral("1000000"));
    QCOMPARE(lampText(io->Picture2), QStringLiteral("110000000000000010000000"));
    QCOMPARE(frmIo::PortOutWord, 1);
}

void TestIoWindow::pollTwoAxis()
{
    frmIo *io = open(QStringLiteral("2"));
    m_rig->wire();
    QStringList sent;
    for (int tick = 0; tick < 6; ++tick) {
        io->Timer2_Timer();
        sent << m_rig->wire();
    }
    // The status query every third tick, nothing else.
    QCOMPARE(sent, (QStringList{"INR XY|", "", "", "INR XY|", "", ""}));
    QCOMPARE(m_rig->w->MSComm1->RThreshold(), 18);
}

void TestIoWindow::pollIdleWhenClosedOrBusy()
{
    frmIo *io = open(QStringLiteral("4"));
    m_rig->wire();
    for (int step : {0, 1, 2}) {
        frmIo::IoPollStep = int16_t(step);
        LineHold hold(LineUser::Transfer);
        io->Timer2_Timer();
        QCOMPARE(frmIo::IoPollStep, step);
        QCOMPARE(m_rig->wire(), QString());
    }
    m_rig->closePort();
    for (int step : {0, 1, 2}) {
        frmIo::IoPollStep = int16_t(step);
        io->Timer2_Timer();
        QCOMPARE(frmIo::IoPollStep, step);
    }
    QCOMPARE(m_rig->wire(), QString());
    QVERIFY(!m_rig->w->Timer1->isActive());   // the main monitor stays off until Exit
}

void TestIoWindow::lamps_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("axisLamps");   // X Y Z U, seven each
    QTest::addColumn<QString>("portLamps");
    QTest::addColumn<int>("portOutWord");     // 77 before
    const QString none(7, u'-');
    const QString noPort(24, u'-');
    QTest::newRow("4-axis X 01, port 00010003")
        << "4" << "INR X01 Y00 Z00 U00, 00010003 0000\r"
        << "1000000 " + none + u' ' + none + u' ' + none << "110000000000000010000000" << 1;
    QTest::newRow("4-axis X 20 has no lamp")
        << "4" << "INR X20 Y00 Z00 U00, 00000000 0000\r"
        << "0000000 " + none + u' ' + none + u' ' + none << QString(24, u'0') << 0;
    QTest::newRow("4-axis every bit column")
        << "4" << "INR XFF Y40 Z80 U10, 00000000 0000\r"
        << "1111111 0000010 0000001 0000100" << QString(24, u'0') << 0;
    QTest::newRow("2-axis X 20 is lamp 5")
        << "2" << "INR 20 00, 00000000\r" << "0000010 " + none + u' ' + none + u' ' + none
        << QString(24, u'0') << 0;
    QTest::newRow("2-axis Y 40 and 80")
        << "2" << "INR 00 C0, 00000000\r" << none + " 0000001 " + none + u' ' + none
        << QString(24, u'0') << 0;
    QTest::newRow("port field all set, word keeps its sign")
        << "4" << "INR X00 Y00 Z00 U00, FFFFFFFF 0000\r"
        << none + u' ' + none + u' ' + none + u' ' + none << QString(24, u'1') << -1;
    QTest::newRow("port outputs")
        << "2" << "INR 00 00, 00FF0000\r" << none + u' ' + none + u' ' + none + u' ' + none
        << QString(16, u'0') + QString(8, u'1') << 255;
    QTest::newRow("unconvertible port field changes nothing")
        << "4" << "INR X01 Y00 Z00 U00, 0002XX00 0000\r"
        << none + u' ' + none + u' ' + none + u' ' + none << noPort << 77;
    QTest::newRow("unconvertible Y byte leaves Y")
        << "4" << "INR X01 YG1 Z00 U02, 00000001 0000\r"
        << "1000000 " + none + u' ' + none + " 0100000" << "1" + QString(23, u'0') << 0;
    QTest::newRow("line without fields") << "4" << "INR\r"
        << none + u' ' + none + u' ' + none + u' ' + none << noPort << 77;
}

void TestIoWindow::lamps()
{
    QFETCH(QString, model);
    QFETCH(QString, line);
    QFETCH(QString, axisLamps);
    QFETCH(QString, portLamps);
    QFETCH(int, portOutWord);
    frmIo *io = open(model);
    frmIo::PortOutWord = 77;
    frmIo::IoPollStep = 0;
    evaluate(line);
    const QString got = lampText(io->Picture1, 0, 7) + u' ' + lampText(io->Picture1, 7, 7) + u' '
                        + lampText(io->Picture3, 0, 7) + u' ' + lampText(io->Picture3, 7, 7);
    QCOMPARE(got, axisLamps);
    QCOMPARE(lampText(io->Picture2), portLamps);
    QCOMPARE(frmIo::PortOutWord, portOutWord);
    QCOMPARE(MainWindow()->Link->StatusReady, 0);
    QCOMPARE(frmIo::IoPollStep, 1);
}

void TestIoWindow::axisLampsRedrawnOnlyOnChange()
{
    frmIo *io = open(QStringLiteral("4"));
    const QString line = QStringLiteral("INR X01 Y00 Z00 U00, 00000000 0000\r");
    evaluate(line);
    QCOMPARE(lampText(io->Picture1, 0, 7), QStringLiteral("1000000"));
    QCOMPARE(frmIo::IoLastField[0], QStringLiteral("1"));
    io->Picture1[0]->setLit(false);
    io->Picture2[0]->setLit(true);
    evaluate(line);   // same byte: the X lamps are left alone, the port lamps not
    QCOMPARE(lampText(io->Picture1, 0, 7), QStringLiteral("0000000"));
    QCOMPARE(io->Picture2[0]->state(), 0);
    evaluate(QStringLiteral("INR X03 Y00 Z00 U00, 00000000 0000\r"));
    QCOMPARE(lampText(io->Picture1, 0, 7), QStringLiteral("1100000"));
    // No new status line: nothing changes, the poll still moves on.
    io->Picture1[0]->setLit(false);
    frmIo::IoPollStep = 0;
    io->UpdateIoLamps();
    QCOMPARE(io->Picture1[0]->state(), 0);
    QCOMPARE(frmIo::IoPollStep, 1);
}

void TestIoWindow::axisOutputs_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<QString>("states");   // AxisOutState X Y Z U
    QTest::addColumn<QString>("lampsXY");  // Picture1(14..17)
    QTest::newRow("X OUT0 twice, then OUT1") << "4" << QList<int>{28, 28, 29}
        << "OUT X01|OUT X00|OUT X02|" << "2000" << "----";
    QTest::newRow("Y both") << "4" << QList<int>{30, 31} << "OUT Y01|OUT Y03|" << "0300" << "----";
    QTest::newRow("Z and U") << "4" << QList<int>{33, 34, 35, 34}
        << "OUT Z02|OUT U01|OUT U03|OUT U02|" << "0022" << "----";
    QTest::newRow("2-axis lamps follow the switch") << "2" << QList<int>{30, 31, 28, 30}
        << "OUT Y01|OUT Y03|OUT X01|OUT Y02|" << "1200" << "1-01";
}

void TestIoWindow::axisOutputs()
{
    QFETCH(QString, model);
    QFETCH(QList<int>, clicks);
    QFETCH(QString, bytes);
    QFETCH(QString, states);
    QFETCH(QString, lampsXY);
    frmIo *io = open(model);
    m_rig->wire();
    for (int i : clicks)
        io->Label5_DblClick(i);
    QCOMPARE(m_rig->wire(), bytes);
    QCOMPARE(QStringLiteral("%1%2%3%4").arg(frmIo::AxisOutState[0]).arg(frmIo::AxisOutState[1])
                 .arg(frmIo::AxisOutState[2]).arg(frmIo::AxisOutState[3]), states);
    QCOMPARE(lampText(io->Picture1, 14, 4), lampsXY);
    QCOMPARE(m_rig->w->MSComm1->RThreshold(), 8);
}

void TestIoWindow::portOutputs()
{
    frmIo *io = open(QStringLiteral("4"));
    m_rig->wire();
    // "ACK" twice from a reported word of 0.
    evaluate(QStringLiteral("INR X00 Y00 Z00 U00, 00000000 0000\r"));
    io->Label6_DblClick(16);
    io->Label6_DblClick(16);
    QCOMPARE(m_rig->wire(), QStringLiteral("POT  1|POT  0|"));
    // A status reply in between replaces the word.
    io->Label6_DblClick(21);   // ERR0
    evaluate(QStringLiteral("INR X00 Y00 Z00 U00, 00800000 0000\r"));
    io->Label6_DblClick(23);   // ERR2, set by the unit's report
    QCOMPARE(m_rig->wire(), QStringLiteral("POT  32|POT  0|"));
    evaluate(QStringLiteral("INR X00 Y00 Z00 U00, FFFF0000 0000\r"));
    io->Label6_DblClick(16);
    QCOMPARE(m_rig->wire(), QStringLiteral("POT -2|"));
    // Through a real double-click on the "X-RUN" name.
    evaluate(QStringLiteral("INR X00 Y00 Z00 U00, 00000000 0000\r"));
    QTest::mouseDClick(io->Label6[17], Qt::LeftButton);
    QCOMPARE(m_rig->wire(), QStringLiteral("POT  2|"));
}

void TestIoWindow::generalOutputs()
{
    frmIo *io = open(QStringLiteral("4"));
    m_rig->wire();
    io->Label8_DblClick(15);
    QCOMPARE(m_rig->wire(), QStringLiteral("OTP 8000|"));
    io->Label8_DblClick(15);
    QStringList sent;
    for (int i = 0; i < 16; ++i) {
        QTest::mouseDClick(io->Label8[std::size_t(i)], Qt::LeftButton);
        sent << m_rig->wire();
    }
    QCOMPARE(sent.first(), QStringLiteral("OTP 0000|OTP 0001|"));
    QCOMPARE(sent[9], QStringLiteral("OTP 03FF|"));
    QCOMPARE(sent.last(), QStringLiteral("OTP FFFF|"));
    QCOMPARE(frmIo::GenOutWord, int16_t(-1));
}

// On the 2-axis unit the Z and U outputs and the general outputs are hidden:
// a double-click that reaches one all the same switches nothing.
void TestIoWindow::hiddenOutputsSwitchNothing()
{
    frmIo *io = open(QStringLiteral("2"));
    m_rig->wire();
    for (QLabel *hidden : {io->Label5[32], io->Label5[35], io->Label8[0], io->Label8[15]}) {
        QVERIFY(hidden->isHidden());
        QTest::mouseDClick(hidden, Qt::LeftButton);
    }
    QCOMPARE(m_rig->wire(), QString());
    QCOMPARE(QStringLiteral("%1%2%3%4").arg(frmIo::AxisOutState[0]).arg(frmIo::AxisOutState[1])
                 .arg(frmIo::AxisOutState[2]).arg(frmIo::AxisOutState[3]), QStringLiteral("0000"));
    QCOMPARE(frmIo::GenOutWord, int16_t(0));
    // The X output beside them still switches.
    QTest::mouseDClick(io->Label5[28], Qt::LeftButton);
    QCOMPARE(m_rig->wire(), QStringLiteral("OUT X01|"));
}

void TestIoWindow::doubleClicksThatDoNothing()
{
    frmIo *io = open(QStringLiteral("4"));
    m_rig->wire();
    // Switch mode on inputs, and indexes outside the arrays.
    for (int i : {0, 27, -1, 36, 99})
        io->Label5_DblClick(i);
    for (int i : {0, 15, -1, 24})
        io->Label6_DblClick(i);
    for (int i : {0, 15, -1, 16})
        io->Label7_DblClick(i);
    for (int i : {-1, 16})
        io->Label8_DblClick(i);
    // Title mode on the parallel port: neither switch nor editor.
    io->Check1->setChecked(true);
    io->Label6_DblClick(16);
    io->Label5_DblClick(36);
    QCOMPARE(m_rig->wire(), QString());
    // A transfer holding the line, then the port closed: nothing goes out and
    // the state words stay as they were.
    io->Check1->setChecked(false);
    const int threshold = m_rig->w->MSComm1->RThreshold();
    for (bool held : {true, false}) {
        std::optional<LineHold> hold;
        if (held)
            hold.emplace(LineUser::Transfer);
        else
            m_rig->closePort();
        io->Label5_DblClick(28);
        io->Label6_DblClick(16);
        io->Label8_DblClick(0);
        QCOMPARE(frmIo::AxisOutState[0], 0);
        QCOMPARE(frmIo::PortOutWord, 0);
        QCOMPARE(frmIo::GenOutWord, 0);
        if (held) {
            QCOMPARE(m_rig->wire(), QString());
            QCOMPARE(m_rig->w->MSComm1->RThreshold(), threshold);
        }
    }
    QVERIFY(m_rig->dialogs.shown().isEmpty());
    QVERIFY(!TitleEditWindow());
}

void TestIoWindow::titleEdit_data()
{
    QTest::addColumn<int>("array");     // 5, 7 or 8
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed"); // after clearing the entry
    QTest::addColumn<QString>("how");   // ok, enter, cancel, close
    QTest::addColumn<int>("titleIndex");
    QTest::addColumn<QString>("stored");
    QTest::newRow("general input, OK") << 7 << 3 << "Pump" << "ok" << 39 << "Pump      ";
    QTest::newRow("axis output in title mode") << 5 << 28 << "Lamp" << "enter" << 28 << "Lamp      ";
    QTest::newRow("twelve typed, ten kept") << 5 << 0 << "ABCDEFGHIJKL" << "ok" << 0 << "ABCDEFGHIJ";
    QTest::newRow("empty is ten blanks") << 8 << 15 << "" << "enter" << 67 << "          ";
    QTest::newRow("quote and accent dropped") << 8 << 0 << "a\"b\xe9" << "ok" << 52 << "ab        ";
    QTest::newRow("pasted: quote and line break dropped") << 8 << 0 << "a\"b\r\nc" << "paste" << 52 << "abc       ";
    QTest::newRow("cancel") << 7 << 0 << "New" << "cancel" << 36 << "Old title ";
    QTest::newRow("close box") << 5 << 35 << "New" << "close" << 35 << "Old title ";
}

void TestIoWindow::titleEdit()
{
    QFETCH(int, array);
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(int, titleIndex);
    QFETCH(QString, stored);
    frmIo *io = open(QStringLiteral("4"));
    frmIo::IoTitle[std::size_t(titleIndex)] = QStringLiteral("Old title ");
    io->Check1->setChecked(true);
    QString shownInEditor;
    QTimer::singleShot(0, io, [&] {
        frmTitleEdit *ed = TitleEditWindow();
        if (!ed)
            return;
        shownInEditor = ed->Label1->text() + u'/' + ed->Text1->text();
        ed->Text1->clear();
        if (how == u"paste") {
            QGuiApplication::clipboard()->setText(typed);
            QTest::keyClick(ed->Text1, Qt::Key_V, Qt::ControlModifier);
        }
        for (QChar c : how == u"paste" ? QString() : typed) {
            QKeyEvent press(QEvent::KeyPress, c == u'"' ? Qt::Key_QuoteDbl : Qt::Key_A, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(ed->Text1, &press);
        }
        if (how == u"ok" || how == u"paste")
            ed->Command1->click();
        else if (how == u"enter")
            QTest::keyClick(ed->Text1, Qt::Key_Return);
        else if (how == u"cancel")
            ed->Command2->click();
        else
            ed->close();
        if (TitleEditWindow())
            ed->reject();   // never leave the test hanging
    });
    QLabel *label = array == 5 ? io->Label5[std::size_t(index)]
                    : array == 7 ? io->Label7[std::size_t(index)] : io->Label8[std::size_t(index)];
    QTest::mouseDClick(label, Qt::LeftButton);
    QVERIFY(!TitleEditWindow());
    QCOMPARE(shownInEditor, QStringLiteral("Old title /Old title "));
    QCOMPARE(frmIo::IoTitle[std::size_t(titleIndex)], stored);
    QCOMPARE(label->text(), stored);
    QCOMPARE(m_rig->wire(), QString());   // title mode switches nothing
}

void TestIoWindow::titleTakesTypingAtOnce_data()
{
    QTest::addColumn<QString>("title");   // as IoTitle holds it
    QTest::addColumn<int>("caret");       // -1: as the editor opens, else Home and this many Right
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");      // Enter in place of OK
    QTest::addColumn<QString>("stored");
    QTest::newRow("fresh title, CLAMP") << QString(10, QChar(0)) << -1 << "CLAMP" << false << "CLAMP     ";
    QTest::newRow("ten characters, CLAMP") << "ABCDEFGHIJ" << -1 << "CLAMP" << false << "CLAMP     ";
    QTest::newRow("ten characters, CLAMP, Enter") << "ABCDEFGHIJ" << -1 << "CLAMP" << true << "CLAMP     ";
    QTest::newRow("twelve typed, first ten kept") << "X-IN0     " << -1 << "CLAMP SLIDE2" << false << "CLAMP SLID";
    QTest::newRow("one put in after the name") << "X-IN0     " << 5 << "A" << false << "X-IN0A    ";
}

// The editor opens with the title selected: what is typed replaces it, and
// no key is lost to a box already full of the title's blanks.
void TestIoWindow::titleTakesTypingAtOnce()
{
    QFETCH(QString, title);
    QFETCH(int, caret);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QString, stored);
    frmIo *io = open(QStringLiteral("4"));
    frmIo::IoTitle[28] = title;
    io->Check1->setChecked(true);
    QString opened;
    QString selected;
    QTimer::singleShot(0, io, [&] {
        frmTitleEdit *ed = TitleEditWindow();
        if (!ed)
            return;
        opened = ed->Text1->text();
        selected = ed->Text1->selectedText();
        if (caret >= 0) {
            QTest::keyClick(ed->Text1, Qt::Key_Home);
            for (int i = 0; i < caret; ++i)
                QTest::keyClick(ed->Text1, Qt::Key_Right);
        }
        QTest::keyClicks(ed->Text1, typed);
        if (enter)
            QTest::keyClick(ed->Text1, Qt::Key_Return);
        else
            ed->Command1->click();
        if (TitleEditWindow())
            ed->reject();   // never leave the test hanging
    });
    io->Label5_DblClick(28);   // X OUT0
    QCOMPARE(opened, ShownTitle(title));
    QCOMPARE(selected, opened);
    QCOMPARE(frmIo::IoTitle[28], stored);
    QCOMPARE(io->Label5[28]->text(), stored);

    // The settings file written at exit holds it.
    SetEndProgramHook([] {});
    m_rig->w->SaveSettings();
    SetEndProgramHook(nullptr);
    QStringList lines;
    QVERIFY(ReadSettingsFile(&lines));
    QCOMPARE(lines.value(50 + 4 * kAxisEntries + 28), u'"' + stored + u'"');
}

void TestIoWindow::titleRefusedWhenPasted()
{
    frmIo *io = open(QStringLiteral("4"));
    frmIo::IoTitle[40] = QStringLiteral("Old title ");
    io->Check1->setChecked(true);
    bool stayedOpen = false;
    QTimer::singleShot(0, io, [&] {
        frmTitleEdit *ed = TitleEditWindow();
        if (!ed)
            return;
        ed->Text1->setText(QStringLiteral("say \"hi\""));   // as a paste would put it
        ed->Command1->click();
        stayedOpen = TitleEditWindow() == ed;
        ed->Command2->click();
    });
    io->Label7_DblClick(4);
    QVERIFY(stayedOpen);
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Bad Setting.\nThe double quote (\") cannot go into this text."});
    QCOMPARE(frmIo::IoTitle[40], QStringLiteral("Old title "));
}

void TestIoWindow::titleKeptOverARestart()
{
    frmIo *io = open(QStringLiteral("4"));
    io->Check1->setChecked(true);
    QTimer::singleShot(0, io, [] {
        if (frmTitleEdit *ed = TitleEditWindow()) {
            ed->Text1->setText(QStringLiteral("Clamp 3"));
            ed->Command1->click();
            if (TitleEditWindow())
                ed->reject();
        }
    });
    io->Label8_DblClick(2);
    QCOMPARE(frmIo::IoTitle[54], QStringLiteral("Clamp 3   "));
    // The settings file's lines at closing, read back at the next start.
    const QStringList lines = SettingsLines(300);
    delete m_rig;
    m_rig = nullptr;
    frmIo *again = open(QStringLiteral("4"));
    QCOMPARE(frmIo::IoTitle[54], QString(10, QChar(0)));
    delete again;
    ReadSettingsLines(lines);
    again = ShowIoWindow();
    QCOMPARE(again->Label8[2]->text(), QStringLiteral("Clamp 3   "));
}

void TestIoWindow::exitHandsPollingBack_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Exit") << false;
    QTest::newRow("close box") << true;
}

void TestIoWindow::exitHandsPollingBack()
{
    QFETCH(bool, closeBox);
    frmIo *io = open(QStringLiteral("4"));
    frmMain *w = m_rig->w;
    QVERIFY(!w->Timer1->isActive());
    QPointer<frmIo> guard(io);
    closeBox ? (void)io->close() : io->Command1->click();
    QVERIFY(w->Timer1->isActive());
    QVERIFY(!IoWindow());
    QVERIFY(!io->Timer2->isActive());
    QVERIFY(waitFor([&] { return guard.isNull(); }));
    // Opening again starts afresh.
    frmIo::IoPollStep = 2;
    frmIo *again = ShowIoWindow();
    QVERIFY(again);
    QCOMPARE(frmIo::IoPollStep, 0);
    QVERIFY(!w->Timer1->isActive());
}

QTEST_MAIN(TestIoWindow)
#include "test_iowindow.moc"
