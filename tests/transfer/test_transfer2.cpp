// The program transfers of the 2-axis unit from the main window against the
// simulated unit: the menus for every Index, the "All" entries, the 2-axis
// editor's menus, the wire transcripts, echo mismatches, time-outs, cancel,
// failures and the closing messages, each leaving the line free and the
// monitor polling.

#include "RawSql.h"
#include "TransferRig.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "program/ProgramLayout.h"
#include "program/frmPrgEdit.h"
#include "shared/Shared.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(MsgResult)
Q_DECLARE_METATYPE(UnitKind)

namespace {

const QString kUnitTitle = QStringLiteral("ZT260A/ZT460A");
constexpr int kLast = 53;

// The lines a download of one axis sends, as the unit logs them: every
// register, C0000000 where `words` names none.
QStringList writes(QChar letter, const QMap<int, QString> &words = {})
{
    QStringList out;
    for (int reg = 0; reg <= kLast; ++reg)
        out << QStringLiteral("IXS %1%2,%3").arg(letter).arg(reg).arg(words.value(reg, QStringLiteral("C0000000")));
    return out;
}

QStringList reads(QChar letter, int last = kLast)
{
    QStringList out;
    for (int reg = 0; reg <= last; ++reg)
        out << QStringLiteral("IXR %1%2").arg(letter).arg(reg);
    return out;
}

// The program's lines among what the unit received (registers 0 to 53).
QStringList programLines(const QStringList &rx)
{
    QStringList out;
    for (const QString &l : rx) {
        if (!l.startsWith(u"IXS ") && !l.startsWith(u"IXR "))
            continue;
        const int reg = l.mid(5).section(u',', 0, 0).toInt();
        if (reg <= kLast)
            out << l;
    }
    return out;
}

// The longest wait for a reply the unit holds back on purpose; every other
// reply comes far sooner.
constexpr int kStrayWaitMs = 2000;

// Parameter values every check lets through, on every axis.
void sendableParameters()
{
    const QStringList values{"1", "2", "3", "8000", "100", "200", "400", "1", "65535", "256", "8000", "1", "-5"};
    for (int a = 0; a < kAxes; ++a)
        for (int i = 0; i < values.size(); ++i)
            g.ParamTable[size_t(a)][size_t(i)] = values[i];
}

void runMenu(frmMain &m, bool download, int Index)
{
    if (Index >= 0 && Index <= 4)
        (download ? m.mnuZT260DoProgItem : m.mnuZT260UpProgitem)[size_t(Index)]->trigger();
    else if (download)
        m.mnuZT260DoProgItem_Click(Index);
    else
        m.mnuZT260UpProgitem_Click(Index);
}

} // namespace

class TestTransfer2 : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();


    void downloadRoad();
    void uploadRoad();
    void menusByIndex_data();
    void menusByIndex();
    void portClosed_data();
    void portClosed();
    void echoMismatch_data();
    void echoMismatch();
    void timeOut_data();
    void timeOut();
    void cancel_data();
    void cancel();
    void failures_data();
    void failures();
    void allChains_data();
    void allChains();
    void editorMenus();
    void refusedWhole_data();
    void refusedWhole();

private:
    // The line free, the monitor polling, the wait window gone, the
    // progress bar and the pending replies reset.
    void checkEnded(TransferRig &rig);
};

void TestTransfer2::cleanup()
{
    if (frmMain *m = MainWindow())   // the flag lives and dies with the rig's main window
        m->UploadProgramAtStart = false;
}

void TestTransfer2::checkEnded(TransferRig &rig)
{
    QVERIFY(!LineHeld());
    QCOMPARE(g.TransferBusy, 0);
    QVERIFY(rig.main->Timer1->isActive());
    QVERIFY(!LoadedMessageWindow());
    QCOMPARE(rig.main->ProgressBar1->value(), 0);
    QCOMPARE(MainWindow()->Link->PositionReplyPending, 0);
    QCOMPARE(MainWindow()->Link->SpeedReplyPending, 0);
}

// ---- against the simulated unit ----------------------------------------------

// File, DownLoad, Program, All: X then Y, register by register, with the
// line held and the monitor quiet until the closing message; nothing else
// gets on the line meanwhile.
void TestTransfer2::downloadRoad()
{
    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect());
    QVERIFY(rig.put(0, 0, {"ABS", "50000", "1", "0", "a"}));
    QVERIFY(rig.put(12, 0, {"JMP ", "5", "", "", "b"}));
    QVERIFY(rig.put(3, 1, {"CW ", "-100", "4", "1", "c"}));
    QVERIFY(rig.put(53, 1, {"END", "", "", "", "d"}));
    frmMain &m = *rig.main;
    m.Timer1->start();

    QStringList seen;   // at Y 53: title, register, line held, monitor, progress
    rig.sim->watchLog([&](const QString &line) {
        // A second transfer chosen while this one waits starts nothing.
        if (line.startsWith(u"RX IXS X20,")) {
            m.mnuZT260UpProgitem[0]->trigger();
            m.mnuZT260DoAll->trigger();
            m.mnuZT260DoParamItem[0]->trigger();
        }
        if (line.startsWith(u"RX IXS Y53") && LoadedMessageWindow())
            seen << LoadedMessageWindow()->Label1->text() << LoadedMessageWindow()->Label2->text()
                 << QString::number(g.TransferBusy) << QString::number(m.Timer1->isActive())
                 << QString::number(m.ProgressBar1->value());
    });
    QStringList atClosing;
    rig.dialogs.onShow = [&](const QString &text) {
        if (text == u"Download Complete!!")
            atClosing << QString::number(LineHeld()) << QString::number(m.Timer1->isActive())
                      << QString::number(LoadedMessageWindow() != nullptr);
    };
    m.mnuZT260DoProgItem[0]->trigger();

    const QMap<int, QString> x{{0, "0100C350"}, {12, "C1000005"}};
    const QMap<int, QString> y{{3, "96FFFF9C"}, {53, "FF000000"}};
    QCOMPARE(rig.received(), writes('X', x) + writes('Y', y));
    QCOMPARE(rig.sim->registerWord('X', 12), std::optional<quint32>(0xC1000005));
    QCOMPARE(rig.sim->registerWord('Y', 3), std::optional<quint32>(0x96FFFF9C));
    QCOMPARE(rig.sim->registerWord('Y', 53), std::optional<quint32>(0xFF000000));
    QCOMPARE(seen, (QStringList{"Data download PRGRAM", "Y axis : Reg No. 53", "1", "0", "53"}));
    const QString refused = QStringLiteral("A transfer is using the line: nothing was started.");
    QCOMPARE(rig.dialogs.texts(), (QStringList{refused, refused, refused, "Download Complete!!"}));
    QCOMPARE(rig.dialogs.shown().last().title, QStringLiteral("Message"));
    QCOMPARE(atClosing, (QStringList{"0", "1", "0"}));
    QCOMPARE(g.TransferResult, 54);
    QCOMPARE(MainWindow()->Link->IxsReplyLine, QString());
    checkEnded(rig);
    rig.sim->watchLog({});
}

// File, UpLoad, Program, ALL: each register's word decoded into its axis;
// comments and the Y fields of X-only instructions kept; an open editor
// reads the table once.
void TestTransfer2::uploadRoad()
{
    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect());
    for (const char *preset : {"reg X 0 0100C350", "reg X 12 C1000035", "reg X 20 CE010005", "reg Y 3 96FFFF9C",
                               "reg Y 4 4A000010", "reg Y 20 CE010005", "reg Y 21 D1000000", "reg Y 53 FF000000"})
        rig.sim->control(QLatin1String(preset));
    QVERIFY(rig.sim->sync());
    QVERIFY(rig.put(40, 0, {"INC", "7", "2", "1", "x note"}));
    QVERIFY(rig.put(20, 1, {"OUT", "1,1", "", "", "y note"}));
    QVERIFY(rig.put(21, 1, {"OUT", "1,1", "", "", ""}));
    frmPrgEdit *editor = ShowPrgEdit();
    QVERIFY(editor);
    QSignalSpy refreshes(&rig.table, &ProgramTable::refreshRequested);

    rig.main->mnuZT260UpProgitem[0]->trigger();

    QCOMPARE(rig.received(), reads('X') + reads('Y'));
    QCOMPARE(rig.axis(0, 0), (ClipRow{"ABS", "50000", "1", "0", ""}));
    QCOMPARE(rig.axis(12, 0), (ClipRow{"JMP", "53", "", "", ""}));
    QCOMPARE(rig.axis(20, 0), (ClipRow{"RNY", "5,1", "", "", ""}));
    QCOMPARE(rig.axis(40, 0), (ClipRow{"", "", "", "", "x note"}));
    QCOMPARE(rig.axis(3, 1), (ClipRow{"CW ", "-100", "4", "1", ""}));
    QCOMPARE(rig.axis(4, 1), (ClipRow{"LN2", "16", "2", "0", ""}));
    QCOMPARE(rig.axis(20, 1), (ClipRow{"OUT", "1,1", "", "", "y note"}));
    QCOMPARE(rig.axis(21, 1), ClipRow{});
    QCOMPARE(rig.axis(53, 1), (ClipRow{"END", "", "", "", ""}));
    QCOMPARE(refreshes.size(), 1);
    QCOMPARE(editor->logic.model.Text(RowOfRegister(12), 1), QStringLiteral("JMP"));
    QCOMPARE(rig.dialogs.texts(), QStringList{"Upload Complete!!"});
    QCOMPARE(g.TransferResult, 0);
    checkEnded(rig);
}

void TestTransfer2::menusByIndex_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("Index");
    QTest::addColumn<QString>("axes");   // the axes that travel, in order

    for (bool download : {true, false}) {
        const char *menu = download ? "download" : "upload";
        QTest::addRow("%s All", menu) << download << 0 << "XY";
        QTest::addRow("%s X-axis", menu) << download << 1 << "X";
        QTest::addRow("%s Y-axis", menu) << download << 2 << "Y";
        QTest::addRow("%s Z-Axis", menu) << download << 3 << "";
        QTest::addRow("%s U-Axis", menu) << download << 4 << "";
        QTest::addRow("%s Index 5", menu) << download << 5 << "";
    }
}

// On the 2-axis unit the menu transfers at once, the axes of its Index
// only; the unit has no Z or U, so those entries send nothing.
void TestTransfer2::menusByIndex()
{
    QFETCH(bool, download);
    QFETCH(int, Index);
    QFETCH(QString, axes);

    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect());
    rig.main->Timer1->start();
    runMenu(*rig.main, download, Index);

    QStringList expected;
    for (QChar a : axes)
        expected += download ? writes(a) : reads(a);
    QCOMPARE(rig.received(), expected);
    const QString closing = download ? QStringLiteral("Download Complete!!") : QStringLiteral("Upload Complete!!");
    QCOMPARE(rig.dialogs.texts(), axes.isEmpty() ? QStringList{} : QStringList{closing});
    QVERIFY(!SendPrgWindow() && !RecvPrgWindow());
    checkEnded(rig);
}

void TestTransfer2::portClosed_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<QString>("entry");

    for (const char *entry : {"DownLoad Program All", "DownLoad Program Y-axis", "UpLoad Program ALL",
                              "UpLoad Program X-axis", "DownLoad All", "UpLoad ALL", "editor DownLoad",
                              "editor UpLoad"})
        QTest::addRow("2-axis unit, %s", entry) << UnitKind::TwoAxis << entry;
    QTest::addRow("4-axis unit, DownLoad All") << UnitKind::FourAxis << "DownLoad All";
    QTest::addRow("4-axis unit, UpLoad ALL") << UnitKind::FourAxis << "UpLoad ALL";
}

// Only "The port is not open.": no wait window, nothing opened, the monitor
// timer untouched.
void TestTransfer2::portClosed()
{
    QFETCH(UnitKind, kind);
    QFETCH(QString, entry);

    TransferRig rig(kind);
    frmMain &m = *rig.main;
    m.Timer1->start();
    frmPrgEdit *editor = entry.startsWith(u"editor") ? ShowPrgEdit() : nullptr;
    const bool monitor = m.Timer1->isActive();
    bool waitWindowShown = false;
    rig.dialogs.onShow = [&](const QString &) { waitWindowShown |= LoadedMessageWindow() != nullptr; };
    QStringList expected{"The port is not open."};

    if (entry == u"DownLoad Program All")
        m.mnuZT260DoProgItem[0]->trigger();
    else if (entry == u"DownLoad Program Y-axis")
        m.mnuZT260DoProgItem[2]->trigger();
    else if (entry == u"UpLoad Program ALL")
        m.mnuZT260UpProgitem[0]->trigger();
    else if (entry == u"UpLoad Program X-axis")
        m.mnuZT260UpProgitem[1]->trigger();
    else if (entry == u"DownLoad All")
        m.mnuZT260DoAll->trigger();
    else if (entry == u"UpLoad ALL")
        m.mnuZT260UpAll->trigger();
    else if (entry == u"editor DownLoad") {
        editor->DownLoad->trigger();
        expected.prepend("Start DownLoad ?");
    } else {
        editor->UpLoad->trigger();
        expected.prepend("Start UpLoad ?");
    }

    QCOMPARE(rig.dialogs.texts(), expected);
    QCOMPARE(rig.dialogs.shown().last().title, kUnitTitle);
    QVERIFY(!waitWindowShown);
    QVERIFY(!LoadedMessageWindow());
    QVERIFY(!SendPrgWindow() && !RecvPrgWindow());
    QCOMPARE(m.Timer1->isActive(), monitor);
    QVERIFY(!LineHeld());
}

void TestTransfer2::echoMismatch_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QList<MsgResult>>("answers");
    QTest::addColumn<int>("sendsOfX0");
    QTest::addColumn<QStringList>("dialogs");

    const QString question = QStringLiteral("Send data ->IXS X0,C0000000\r\rRecv data -> IXS X0, C0000001");
    QTest::newRow("one bad echo is sent again silently")
        << QStringList{} << QList<MsgResult>{} << 2 << QStringList{"Download Complete!!"};
    QTest::newRow("Retry grants two more resends, Cancel and Yes leave")
        << QStringList{"--corrupt-echo"} << QList<MsgResult>{MsgResult::Retry, MsgResult::Cancel, MsgResult::Yes} << 6
        << QStringList{question, question, "Exit DownLoad Program!", "Cancel!"};
}

void TestTransfer2::echoMismatch()
{
    QFETCH(QStringList, simOptions);
    QFETCH(QList<MsgResult>, answers);
    QFETCH(int, sendsOfX0);
    QFETCH(QStringList, dialogs);

    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect(simOptions));
    if (simOptions.isEmpty())
        rig.sim->control(QStringLiteral("corrupt"));   // the next echo only
    QVERIFY(rig.sim->sync());
    for (MsgResult a : answers)
        rig.dialogs.answer(a);

    rig.main->mnuZT260DoProgItem[1]->trigger();

    const QStringList rx = rig.received();
    QCOMPARE(rx.count(QStringLiteral("IXS X0,C0000000")), sendsOfX0);
    QCOMPARE(rig.dialogs.texts(), dialogs);
    if (dialogs.size() > 1) {
        QCOMPARE(rx.size(), sendsOfX0);
        QCOMPARE(rig.dialogs.shown().first().buttons, MsgButtons::RetryCancel);
        QCOMPARE(g.TransferResult, 9999);
    } else {
        QCOMPARE(rx.mid(sendsOfX0), writes('X').mid(1));
        QCOMPARE(g.TransferResult, 54);
    }
    checkEnded(rig);
}

void TestTransfer2::timeOut_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<bool>("strayAnswer");
    QTest::addColumn<QStringList>("dialogs");

    const QStringList leave{"Exit DownLoad Program!", "Cancel!"};
    const QString silent = QStringLiteral("\rThe unit did not answer within 0.3 seconds.");
    QTest::newRow("download") << true << false
                              << QStringList{"Send data ->IXS X0,C0000000\r\rRecv data -> " + silent} + leave;
    QTest::newRow("upload") << false << false << QStringList{"Send data ->IXR X0\r\rRecv data -> " + silent} + leave;
    QTest::newRow("upload, an answer of another register is not taken")
        << false << true
        << QStringList{"Send data ->IXR X0\r\rRecv data -> \rThe unit did not answer within 2 seconds.",
                       "Upload Complete!!"};
}

// A silent unit: the wait ends, the operator is asked; Cancel and Yes end
// the transfer. A stray answer of another register leaves the wait going;
// Retry asks again and takes the right answer.
void TestTransfer2::timeOut()
{
    QFETCH(bool, download);
    QFETCH(bool, strayAnswer);
    QFETCH(QStringList, dialogs);

    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect());
    rig.main->ProgramReplyTimeoutMs = strayAnswer ? kStrayWaitMs : 300;
    rig.sim->control(QStringLiteral("reg X 0 C1000007"));
    rig.sim->control(QStringLiteral("silent on"));
    QVERIFY(rig.sim->sync());
    bool sent = false;
    if (strayAnswer) {
        rig.sim->watchLog([&](const QString &line) {
            if (line == u"NOREPLY IXR X0" && !std::exchange(sent, true))
                rig.sim->control(QStringLiteral("send IXR X1, C1000009"));
        });
        rig.dialogs.onShow = [&](const QString &) {
            rig.sim->control(QStringLiteral("silent off"));
            rig.sim->sync();
        };
        rig.dialogs.answer(MsgResult::Retry);
    } else {
        rig.dialogs.answer(MsgResult::Cancel);
        rig.dialogs.answer(MsgResult::Yes);
    }

    runMenu(*rig.main, download, 0);

    QCOMPARE(rig.dialogs.texts(), dialogs);
    const QStringList rx = rig.received();
    if (strayAnswer) {
        QCOMPARE(rx.mid(0, 2), (QStringList{"IXR X0", "IXR X0"}));
        QCOMPARE(rig.axis(0, 0), (ClipRow{"JMP", "7", "", "", ""}));
        QCOMPARE(rig.axis(1, 0), ClipRow{});
    } else {
        QCOMPARE(rx.size(), 1);
        QCOMPARE(g.TransferResult, 9999);
        QCOMPARE(rig.axis(0, 0), ClipRow{});
    }
    checkEnded(rig);
    rig.sim->watchLog({});
}

void TestTransfer2::cancel_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<bool>("closeBox");

    QTest::newRow("download, Cancel") << true << false;
    QTest::newRow("download, close box") << true << true;
    QTest::newRow("upload, Cancel") << false << false;
    QTest::newRow("upload, close box") << false << true;
}

// Cancel in the wait window while the unit leaves register 5 of X
// unanswered: the wait ends at once, nothing more goes out, "Cancel!" closes;
// an upload keeps the registers read before.
void TestTransfer2::cancel()
{
    QFETCH(bool, download);
    QFETCH(bool, closeBox);

    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect({"--silent-after", "5"}));
    for (int reg = 0; reg <= 7; ++reg)
        rig.sim->control(QStringLiteral("reg X %1 C100000%1").arg(reg));
    QVERIFY(rig.sim->sync());
    const QString at = download ? QStringLiteral("NOREPLY IXS X5,") : QStringLiteral("NOREPLY IXR X5");
    rig.sim->watchLog([&](const QString &line) {
        frmMessage *w = LoadedMessageWindow();
        if (!line.startsWith(at) || !w)
            return;
        QVERIFY(w->cmdCancel->isVisible());
        if (closeBox)
            w->close();
        else
            w->cmdCancel->click();
    });

    runMenu(*rig.main, download, 0);

    const QStringList rx = rig.received();
    QCOMPARE(rx, (download ? writes('X') : reads('X')).mid(0, 6));
    QCOMPARE(rig.dialogs.texts(), QStringList{"Cancel!"});
    QCOMPARE(g.TransferResult, 9999);
    if (!download) {
        for (int reg = 0; reg < 5; ++reg)
            QCOMPARE(rig.axis(reg, 0), (ClipRow{"JMP", QString::number(reg), "", "", ""}));
        QCOMPARE(rig.axis(6, 0), ClipRow{});
    }
    checkEnded(rig);
    rig.sim->watchLog({});
}

void TestTransfer2::failures_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<int>("result");

    QTest::newRow("download, a command the codec refuses")
        << true << "LN3"
        << QStringList{"ERROR :: X axis / Reg No. 7\nCMD \"LN3\" cannot be sent: the unit does not take this command."
                       "\nNothing was sent.",
                       "Download Error!!"}
        << 2008;
    QTest::newRow("download, data the codec refuses")
        << true << "REP"
        << QStringList{"ERROR :: X axis / Reg No. 7\nDATA \"X-8388608\" of REP cannot be sent: it needs two numbers "
                       "separated by a comma.\nNothing was sent.",
                       "Download Error!!"}
        << 2008;
    QTest::newRow("download, data beyond the unit's pulses")
        << true << "INC"
        << QStringList{"ERROR :: X axis / Reg No. 7\nDATA \"8388608\" of INC cannot be sent: it is beyond the "
                       "-8388608 to 8388607 pulses the unit takes.\nNothing was sent.",
                       "Download Error!!"}
        << 2008;
    QTest::newRow("upload, a word that does not decode")
        << false << "word" << QStringList{"ERROR :: X axis / Reg No. 3"} << 2004;
    QTest::newRow("upload, the database refuses a register")
        << false << "database" << QStringList{"ERROR :: X axis / Reg No. 3"} << 2004;
    QTest::newRow("upload, the line hangs up")
        << false << "hangup" << QStringList{"ERROR :: X axis / Reg No. 3"} << 2004;
}

// The failure names its axis and register; nothing of Y travels; a
// download refused for a register it cannot send sends nothing at all; an
// upload keeps what it read before the failing register.
void TestTransfer2::failures()
{
    QFETCH(bool, download);
    QFETCH(QString, fault);
    QFETCH(QStringList, dialogs);
    QFETCH(int, result);

    TransferRig rig(UnitKind::TwoAxis);
    QStringList options;
    if (fault == u"word")
        options = {"--silent-after", "3"};
    else if (fault == u"hangup")
        options = {"--hangup-after", "3"};
    QVERIFY(rig.connect(options));
    // The monitor polls, as on line: a download refused before it begins
    // leaves it so.
    rig.main->Timer1->start();
    for (int reg = 0; reg <= 5; ++reg)
        rig.sim->control(QStringLiteral("reg X %1 C100000%1").arg(reg));
    QVERIFY(rig.sim->sync());
    // Register 7 holds what the codec refuses.
    if (fault == u"LN3")
        QVERIFY(rig.put(7, 0, {"LN3", "5", "", "", ""}));
    if (fault == u"REP")
        QVERIFY(rig.put(7, 0, {"REP", "X-8388608", "", "", ""}));
    if (fault == u"INC")
        QVERIFY(rig.put(7, 0, {"INC", "8388608", "", "", ""}));
    if (fault == u"word")
        rig.sim->watchLog([&](const QString &line) {
            if (line == u"NOREPLY IXR X3")
                rig.sim->control(QStringLiteral("send IXR X3, C10000G3"));
        });
    if (fault == u"database")
        RawSql(rig.table.FilePath(), {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Zt260Prg WHEN NEW.Pos = 3 "
                                                     "BEGIN SELECT RAISE(ABORT, 'register locked'); END")});

    runMenu(*rig.main, download, 0);

    QStringList texts = rig.dialogs.texts();
    if (fault == u"hangup" && !texts.isEmpty()) {
        // The register, then the closed line with its device and the hang-up.
        QCOMPARE(texts.first(), dialogs.first() + QStringLiteral("\nThe line to the unit was closed.\nCom1 = ")
                                    + rig.sim->devicePath() + QStringLiteral(": the line was hung up"));
        texts.first() = dialogs.first();
    }
    QCOMPARE(texts, dialogs);
    QCOMPARE(g.TransferResult, result);
    const QStringList rx = programLines(rig.sim->rxLines());   // without the monitor's queries
    QVERIFY(!rx.join(u' ').contains(u'Y'));
    if (download) {
        QCOMPARE(rx, QStringList());
    } else {
        for (int reg = 0; reg <= 5; ++reg)
            QCOMPARE(rig.axis(reg, 0), reg < 3 ? (ClipRow{"JMP", QString::number(reg), "", "", ""}) : ClipRow{});
    }
    checkEnded(rig);
    rig.sim->watchLog({});
}

void TestTransfer2::allChains_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<bool>("download");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("dialogs");

    const QString timeOut = QStringLiteral("Error is Time Out of Cominucation!!");
    QTest::newRow("2-axis, DownLoad All") << UnitKind::TwoAxis << true << "" << QStringList{"Download Complete!!"};
    QTest::newRow("2-axis, UpLoad ALL") << UnitKind::TwoAxis << false << "" << QStringList{"Upload Complete!!"};
    QTest::newRow("2-axis, DownLoad All, parameters time out")
        << UnitKind::TwoAxis << true << "silent" << QStringList{timeOut};
    QTest::newRow("2-axis, UpLoad ALL, parameters time out")
        << UnitKind::TwoAxis << false << "silent" << QStringList{timeOut};
    QTest::newRow("2-axis, DownLoad All, a value refused")
        << UnitKind::TwoAxis << true << "value"
        << QStringList{"Bad Setting.\nY axis, RAT holds \"abc\" (not one number)."};
    QTest::newRow("4-axis, DownLoad All") << UnitKind::FourAxis << true << "" << QStringList{};
    QTest::newRow("4-axis, UpLoad ALL, parameters time out")
        << UnitKind::FourAxis << false << "silent" << QStringList{timeOut};
}

// Parameters first; the program only when they travelled: at once on the
// 2-axis unit, its window on the 4-axis unit.
void TestTransfer2::allChains()
{
    QFETCH(UnitKind, kind);
    QFETCH(bool, download);
    QFETCH(QString, fault);
    QFETCH(QStringList, dialogs);

    TransferRig rig(kind);
    QVERIFY(rig.connect());
    rig.main->Timer1->start();
    sendableParameters();
    if (fault == u"silent") {
        rig.sim->control(QStringLiteral("silent on"));
        QVERIFY(rig.sim->sync());
        rig.main->ParamReplyTimeoutMs = 300;
    }
    if (fault == u"value")
        g.ParamTable[1][0] = QStringLiteral("abc");

    (download ? rig.main->mnuZT260DoAll : rig.main->mnuZT260UpAll)->trigger();

    QCOMPARE(rig.dialogs.texts(), dialogs);
    const QStringList rx = rig.received();
    const bool travelled = fault.isEmpty();
    if (kind == UnitKind::TwoAxis) {
        const QStringList program = programLines(rx);
        QCOMPARE(program, travelled ? (download ? writes('X') + writes('Y') : reads('X') + reads('Y')) : QStringList{});
        if (travelled && download)
            QVERIFY(rx.indexOf(QStringLiteral("SET Y")) < rx.indexOf(program.first()));
        if (travelled && !download)
            QVERIFY(rx.indexOf(program.first()) > 0);   // the parameters' reads came first
        if (fault == u"value")
            QCOMPARE(rx, QStringList{});
        checkEnded(rig);
    } else {
        QCOMPARE(SendPrgWindow() != nullptr, travelled && download);
        QVERIFY(!RecvPrgWindow());
        QVERIFY(!rx.join(u' ').contains(QStringLiteral("PRX")));
        if (travelled)
            QVERIFY(rx.contains(QStringLiteral("SET U")));
    }
}

// The editor's DownLoad and UpLoad: asked first, then X and Y in front of
// the wait window, the menus locked meanwhile; afterwards the monitor polls
// and the editor shows what came up. The editor may close during a
// transfer.
void TestTransfer2::editorMenus()
{
    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect());
    frmMain &m = *rig.main;
    QVERIFY(rig.put(0, 0, {"JMP", "5", "", "", ""}));
    frmPrgEdit *editor = ShowPrgEdit();
    QVERIFY(editor);
    QVERIFY(!m.Timer1->isActive());

    // Cancel to the question: nothing.
    rig.dialogs.answer(MsgResult::Cancel);
    editor->DownLoad->trigger();
    QCOMPARE(rig.dialogs.texts(), QStringList{"Start DownLoad ?"});
    QCOMPARE(rig.dialogs.shown().first().buttons, MsgButtons::OkCancel);
    QCOMPARE(rig.dialogs.shown().first().title, kUnitTitle);
    QCOMPARE(rig.received(), QStringList{});
    QVERIFY(!LoadedMessageWindow());
    QVERIFY(!m.Timer1->isActive());

    // OK: X then Y; the menus are locked while the unit answers.
    rig.dialogs.clear();
    QStringList seen;
    rig.sim->watchLog([&](const QString &line) {
        if (line.startsWith(u"RX IXS Y0,") && LoadedMessageWindow())
            seen << LoadedMessageWindow()->Label1->text() << QString::number(editor->DownLoad->isEnabled())
                 << QString::number(editor->UpLoad->isEnabled());
    });
    editor->DownLoad->trigger();
    QCOMPARE(seen, (QStringList{"Data download PROGRAM", "0", "0"}));
    QCOMPARE(rig.received(), writes('X', {{0, "C1000005"}}) + writes('Y'));
    QCOMPARE(rig.dialogs.texts(), (QStringList{"Start DownLoad ?", "Download Complete!!"}));
    QVERIFY(editor->DownLoad->isEnabled() && editor->UpLoad->isEnabled());
    checkEnded(rig);

    // The upload puts what the unit holds in the editor's grid.
    rig.dialogs.clear();
    rig.sim->clearLog();
    rig.sim->control(QStringLiteral("reg Y 7 C1000035"));
    QVERIFY(rig.sim->sync());
    seen.clear();
    rig.sim->watchLog([&](const QString &line) {
        if (line == u"RX IXR Y0" && LoadedMessageWindow())
            seen << LoadedMessageWindow()->Label1->text();
    });
    editor->UpLoad->trigger();
    QCOMPARE(seen, QStringList{"Data upload PROGRAM"});
    QCOMPARE(rig.dialogs.texts(), (QStringList{"Start UpLoad ?", "Upload Complete!!"}));
    QCOMPARE(editor->logic.model.Text(RowOfRegister(7), AxisFieldColumn(1, 0)), QStringLiteral("JMP"));
    QCOMPARE(editor->logic.model.Text(RowOfRegister(7), AxisFieldColumn(1, 1)), QStringLiteral("53"));

    // Closed during an upload: the transfer ends as it would; the monitor's
    // timer, switched on by the closing editor, sends nothing meanwhile.
    rig.dialogs.clear();
    rig.sim->clearLog();
    rig.sim->watchLog([&](const QString &line) {
        if (line == u"RX IXR X10" && PrgEditWindow())
            PrgEditWindow()->Zt260PrgEditExit->click();
    });
    editor->UpLoad->trigger();
    QVERIFY(!PrgEditWindow());
    QCOMPARE(rig.dialogs.texts(), (QStringList{"Start UpLoad ?", "Upload Complete!!"}));
    QCOMPARE(rig.received(), reads('X') + reads('Y'));
    checkEnded(rig);
    rig.sim->watchLog({});
}

void TestTransfer2::refusedWhole_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("Index");        // the axes: 0 X and Y, 1 X, 2 Y
    QTest::addColumn<bool>("xBad");        // X 53 holds data beyond the unit's pulses
    QTest::addColumn<bool>("yBad");        // Y 10 holds a command the unit does not take
    QTest::addColumn<QString>("refusal");  // <sent>: what is chosen goes out whole
    QTest::addColumn<int>("result");
    const QString x53 = QStringLiteral("ERROR :: X axis / Reg No. 53\nDATA \"99999999\" of INC cannot be sent: it is "
                                       "beyond the -8388608 to 8388607 pulses the unit takes.\n");
    const QString y10 = QStringLiteral("ERROR :: Y axis / Reg No. 10\nCMD \"LN3\" cannot be sent: the unit does not take "
                                       "this command.\n");
    const QString none = QStringLiteral("Nothing was sent.");
    QTest::newRow("File menu, All") << "menu" << 0 << true << false << x53 + none << 2054;
    QTest::newRow("File menu, All, a second one on Y")
        << "menu" << 0 << true << true << x53 + "1 more register cannot be sent either; nothing was sent." << 2054;
    QTest::newRow("File menu, All, one on Y: X is not sent either") << "menu" << 0 << false << true << y10 + none << 2011;
    QTest::newRow("File menu, X-axis: Y's is not counted") << "menu" << 1 << true << true << x53 + none << 2054;
    QTest::newRow("File menu, Y-axis: X's is not sent") << "menu" << 2 << true << false << "<sent>" << 54;
    QTest::newRow("DownLoad All chain") << "all" << 0 << true << false << x53 + none << 2054;
    QTest::newRow("2-axis editor's DownLoad") << "editor" << 0 << true << false << x53 + none << 2054;
}

// A register the download would send holds what the unit cannot take (X 53,
// the last register; Y 10): the download is refused before its first
// register, from every entry; nothing reaches the line and the unit keeps
// its whole old program. Mended, the whole download goes out.
void TestTransfer2::refusedWhole()
{
    QFETCH(QString, entry);
    QFETCH(int, Index);
    QFETCH(bool, xBad);
    QFETCH(bool, yBad);
    QFETCH(QString, refusal);
    QFETCH(int, result);

    TransferRig rig(UnitKind::TwoAxis);
    QVERIFY(rig.connect());
    sendableParameters();
    auto old = [](int axis, int reg) { return quint32(0xC1000100u + quint32(axis * 100 + reg)); };
    for (int a : {0, 1})
        for (int reg = 0; reg <= kLast; ++reg)
            rig.sim->control(QStringLiteral("reg %1 %2 %3").arg(QChar("XY"[a])).arg(reg).arg(old(a, reg), 8, 16));
    QVERIFY(rig.sim->sync());
    QVERIFY(rig.put(0, 0, {"JMP", "5", "", "", ""}));
    QVERIFY(rig.put(3, 1, {"JMP", "7", "", "", ""}));
    QVERIFY(rig.put(kLast, 0, {"INC", xBad ? "99999999" : "1000", "", "", ""}));
    if (yBad)
        QVERIFY(rig.put(10, 1, {"LN3", "5", "", "", ""}));
    frmPrgEdit *editor = entry == u"editor" ? ShowPrgEdit() : nullptr;
    if (!editor)   // the monitor polls, as on line (an open editor stops it)
        rig.main->Timer1->start();
    auto download = [&] {
        rig.sim->clearLog();
        rig.dialogs.clear();
        if (editor)
            editor->DownLoad->trigger();
        else if (entry == u"all")
            rig.main->mnuZT260DoAll->trigger();
        else
            runMenu(*rig.main, true, Index);
    };
    const QStringList asked = editor ? QStringList{"Start DownLoad ?"} : QStringList{};

    const bool polling = rig.main->Timer1->isActive();
    download();
    const QStringList rx = rig.received();
    QCOMPARE(g.TransferResult, result);
    if (refusal == u"<sent>") {
        QCOMPARE(rig.dialogs.texts(), asked + QStringList{"Download Complete!!"});
        QCOMPARE(programLines(rx), writes('Y', {{3, "C1000007"}}));
        QCOMPARE(rig.sim->registerWord('X', kLast), std::optional<quint32>(old(0, kLast)));
        checkEnded(rig);
        return;
    }
    QCOMPARE(rig.dialogs.texts(), (asked + QStringList{refusal, "Download Error!!"}));
    QCOMPARE(rig.dialogs.shown().last().title, QStringLiteral("Error"));
    QCOMPARE(programLines(rx), QStringList());
    if (entry == u"all")   // the parameters went first, as the chain has it
        QVERIFY(rx.contains(QStringLiteral("SET Y")));
    for (int a : {0, 1})
        for (int reg = 0; reg <= kLast; ++reg)
            QCOMPARE(rig.sim->registerWord(QChar("XY"[a]), reg), std::optional<quint32>(old(a, reg)));
    // Nothing began: the line is free, no wait window, the monitor as it was.
    QVERIFY(!LineHeld());
    QCOMPARE(g.TransferBusy, 0);
    QVERIFY(!LoadedMessageWindow());
    QCOMPARE(rig.main->ProgressBar1->value(), 0);
    QCOMPARE(rig.main->Timer1->isActive(), entry == u"all" || polling);

    // Mended: every register of the chosen axes goes out.
    QVERIFY(rig.put(kLast, 0, {"INC", "1000", "", "", ""}));
    QVERIFY(rig.put(10, 1, {"", "", "", "", ""}));
    download();
    QCOMPARE(rig.dialogs.texts(), asked + QStringList{"Download Complete!!"});
    const QStringList x = writes('X', {{0, "C1000005"}, {kLast, "000003E8"}});
    const QStringList y = writes('Y', {{3, "C1000007"}});
    QCOMPARE(programLines(rig.received()), Index == 1 ? x : x + y);
    QCOMPARE(rig.sim->registerWord('X', kLast), std::optional<quint32>(0x3E8));
    QCOMPARE(rig.sim->registerWord('Y', 0), std::optional<quint32>(Index == 1 ? old(1, 0) : 0xC0000000u));
    checkEnded(rig);
}

QTEST_MAIN(TestTransfer2)
#include "test_transfer2.moc"
