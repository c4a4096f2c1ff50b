// How a program transfer of either model ends when something else happens
// meanwhile: the program ends during an upload, the line hangs up, the unit
// stays silent, or the operator starts a second transfer.

#include "RawSql.h"
#include "TransferRig.h"
#include "Waits.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "params/frmDataGrid1.h"
#include "platform/AppInfo.h"
#include "shared/Shared.h"
#include "transfer/ProgramTransfer.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

Q_DECLARE_METATYPE(UnitKind)

namespace {

const QString kRefused = QStringLiteral("A transfer is using the line: nothing was started.");

// Run in place of the program's end.
std::function<void()> atProgramEnd;
void programEnds()
{
    if (atProgramEnd)
        atProgramEnd();
}

QString readLine(UnitKind kind, int reg)
{
    return kind == UnitKind::TwoAxis ? QStringLiteral("IXR X%1").arg(reg) : QStringLiteral("PRX %1").arg(reg);
}

QString writeHead(UnitKind kind, int reg)
{
    return kind == UnitKind::TwoAxis ? QStringLiteral("IXS X%1,").arg(reg) : QStringLiteral("PRX %1,").arg(reg);
}

// X registers 0 to `count` - 1 in the unit: JMP to the register itself.
void loadJumps(TransferRig &rig, int count)
{
    for (int reg = 0; reg < count; ++reg)
        rig.sim->control(QStringLiteral("reg X %1 C1%2").arg(reg).arg(QString::number(reg, 16).toUpper(), 6, QChar(u'0')));
}

QStringList jumps(int count)
{
    QStringList out;
    for (int reg = 0; reg < count; ++reg)
        out << QStringLiteral("JMP,%1").arg(reg);
    return out;
}

// The X command and data of registers 0 to `count` - 1 as the database file
// holds them, read through a connection of its own.
QStringList storedX(TransferRig &rig, int count)
{
    const QString table = rig.kind == UnitKind::TwoAxis ? QStringLiteral("Zt260Prg") : QStringLiteral("Zt460Prg");
    return RawQuery(rig.table.FilePath(),
                    QStringLiteral("SELECT X_CMD || ',' || X_DAT FROM %1 WHERE Pos < %2 ORDER BY Pos").arg(table).arg(count));
}

// The X axis, registers 0 to `last` (0 to 53 on the 2-axis unit): from the
// main window's menu on the 2-axis unit, from the transfer window on the
// 4-axis unit. Returns once the transfer has ended.
void transferX(TransferRig &rig, bool download, int last)
{
    if (rig.kind == UnitKind::TwoAxis) {
        (download ? rig.main->mnuZT260DoProgItem : rig.main->mnuZT260UpProgitem)[1]->trigger();
        return;
    }
    (download ? rig.main->mnuZT260DoProgItem : rig.main->mnuZT260UpProgitem)[1]->trigger();
    TransferWindow *w = download ? static_cast<TransferWindow *>(SendPrgWindow()) : RecvPrgWindow();
    if (!w)
        return;
    w->SelectOpt[0]->click();
    w->Text1[0]->setText(QStringLiteral("0"));
    w->Text2[0]->setText(QString::number(last));
    w->Start_botton->click();
}

// Starts the parameter transfer `what` names from the main window's menus
// or the parameter grid; false when it names none of them.
bool startParameterTransfer(frmMain &m, const QString &what)
{
    if (what == u"parameter DownLoad All") {
        m.mnuZT260DoParamItem[0]->trigger();
    } else if (what == u"parameter UpLoad X-axis") {
        m.mnuZT260UpParamItem[1]->trigger();
    } else if (what == u"DownLoad All") {
        m.mnuZT260DoAll->trigger();
    } else if (what == u"UpLoad ALL") {
        m.mnuZT260UpAll->trigger();
    } else if (what == u"grid DownLoad" || what == u"grid UpLoad") {
        // A grid that does not open refuses nothing: the caller's check of
        // the boxes shown fails.
        if (frmDataGrid1 *grid = ShowDataGridWindow())
            (what == u"grid DownLoad" ? grid->DownLoad : grid->UpLoad)->trigger();
    } else {
        return false;
    }
    return true;
}

} // namespace

class TestTransferEnds : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void programEndsDuringUpload_data();
    void programEndsDuringUpload();
    void lineHangsUp_data();
    void lineHangsUp();
    void timeOutQuestion_data();
    void timeOutQuestion();
    void secondTransferRefused_data();
    void secondTransferRefused();
    void openWindowNamedInRefusal_data();
    void openWindowNamedInRefusal();
};

void TestTransferEnds::cleanup()
{
    SetEndProgramHook(nullptr);
    atProgramEnd = {};
}

void TestTransferEnds::programEndsDuringUpload_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<bool>("fileExit");
    QTest::addColumn<int>("answered");

    QTest::newRow("2-axis, close box") << UnitKind::TwoAxis << false << 6;
    QTest::newRow("2-axis, File, Exit") << UnitKind::TwoAxis << true << 6;
    QTest::newRow("4-axis, close box") << UnitKind::FourAxis << false << 30;
    QTest::newRow("4-axis, File, Exit") << UnitKind::FourAxis << true << 30;
}

// The unit answers the first registers and then keeps silent; the program
// ends while it waits. By the time it ends, the database file holds every
// register the unit answered.
void TestTransferEnds::programEndsDuringUpload()
{
    QFETCH(UnitKind, kind);
    QFETCH(bool, fileExit);
    QFETCH(int, answered);

    TransferRig rig(kind);
    QVERIFY(rig.connect({"--silent-after", QString::number(answered)}));
    loadJumps(rig, answered + 1);
    QVERIFY(rig.sim->sync());
    rig.main->ProgramReplyTimeoutMs = kEventWaitMs;

    bool ended = false;
    QStringList stored;
    atProgramEnd = [&] {
        ended = true;
        stored = storedX(rig, answered + 1);
    };
    SetEndProgramHook(programEnds);
    const QString unanswered = QStringLiteral("NOREPLY ") + readLine(kind, answered);
    rig.sim->watchLog([&](const QString &line) {
        if (line != unanswered || ended)
            return;
        if (fileExit)
            rig.main->mnufileitem[7]->trigger();
        else
            rig.main->close();
    });

    transferX(rig, false, 99);
    rig.sim->watchLog({});

    QVERIFY(ended);
    QCOMPARE(stored, jumps(answered) << QStringLiteral(","));
}

void TestTransferEnds::lineHangsUp_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<bool>("download");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("2-axis, download") << UnitKind::TwoAxis << true << QStringList{"Download Error!!"};
    QTest::newRow("2-axis, upload") << UnitKind::TwoAxis << false << QStringList{};
    QTest::newRow("4-axis, download") << UnitKind::FourAxis << true << QStringList{"Download Error!!"};
    QTest::newRow("4-axis, upload") << UnitKind::FourAxis << false << QStringList{};
}

// The line hangs up at register 3: the message names the register and, on
// the lines below, that the line closed, with the device and the hang-up as
// the reason.
void TestTransferEnds::lineHangsUp()
{
    QFETCH(UnitKind, kind);
    QFETCH(bool, download);
    QFETCH(QStringList, after);

    TransferRig rig(kind);
    QVERIFY(rig.connect({"--hangup-after", "3"}));
    loadJumps(rig, 4);
    QVERIFY(rig.sim->sync());
    const QString device = rig.sim->devicePath();

    transferX(rig, download, 9);

    QStringList texts = rig.dialogs.texts();
    QVERIFY2(!texts.isEmpty(), "nothing was told");
    QCOMPARE(texts.first(), QStringLiteral("ERROR :: X axis / Reg No. 3\nThe line to the unit was closed.\nCom1 = ")
                                + device + QStringLiteral(": the line was hung up"));
    QCOMPARE(texts.mid(1), after);
    QCOMPARE(g.TransferResult, 3 + kResultErrorBase);
    if (!download)
        QCOMPARE(storedX(rig, 4), jumps(3) << QStringLiteral(","));
    QVERIFY(!LineHeld());
}

void TestTransferEnds::timeOutQuestion_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QString>("question");

    QTest::newRow("4-axis download") << "PRX 916,C10007AF\r" << 17
                                     << "Send data ->PRX 916,C10007AF\rRecv data -> \r"
                                        "The unit did not answer within 3 seconds.";
    QTest::newRow("2-axis upload") << "IXR X5\r" << 16
                                   << "Send data ->IXR X5\r\rRecv data -> \r"
                                      "The unit did not answer within 3 seconds.";
}

// The Retry/Cancel question after a silent wait keeps its two lines and
// says that the unit did not answer in time.
void TestTransferEnds::timeOutQuestion()
{
    QFETCH(QString, command);
    QFETCH(int, threshold);
    QFETCH(QString, question);
    RegisterRequest rq;
    rq.command = command;
    rq.threshold = threshold;
    QCOMPARE(TimeOutText(rq, kReplyTimeoutMs), question);
}

void TestTransferEnds::secondTransferRefused_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<QString>("second");

    for (const char *second : {"program DownLoad All", "program UpLoad Y-axis", "parameter DownLoad All",
                               "parameter UpLoad X-axis", "DownLoad All", "UpLoad ALL", "grid DownLoad",
                               "grid UpLoad"})
        QTest::addRow("2-axis upload, %s", second) << UnitKind::TwoAxis << QString::fromLatin1(second);
    for (const char *second : {"upload window Start", "parameter UpLoad X-axis", "UpLoad ALL"})
        QTest::addRow("4-axis download, %s", second) << UnitKind::FourAxis << QString::fromLatin1(second);
}

// A second transfer started while the first waits for register 3 is told
// once, in a box, and sends nothing; the first goes on to its end.
void TestTransferEnds::secondTransferRefused()
{
    QFETCH(UnitKind, kind);
    QFETCH(QString, second);

    TransferRig rig(kind);
    QVERIFY(rig.connect());
    const bool download = kind == UnitKind::FourAxis;
    const int last = download ? 9 : LastRegister(UnitKind::TwoAxis);
    frmMain &m = *rig.main;
    bool started = false;
    const QString at = QStringLiteral("RX ") + (download ? writeHead(kind, 3) : readLine(kind, 3));
    rig.sim->watchLog([&](const QString &line) {
        if (!line.startsWith(at) || std::exchange(started, true))
            return;
        if (second == u"program DownLoad All") {
            m.mnuZT260DoProgItem[0]->trigger();
        } else if (second == u"program UpLoad Y-axis") {
            m.mnuZT260UpProgitem[2]->trigger();
        } else if (second == u"upload window Start") {
            m.mnuZT260UpProgitem[1]->trigger();
            frmRecvPrg *w = RecvPrgWindow();
            QVERIFY(w);
            w->SelectOpt[0]->click();
            w->Start_botton->click();
        } else {
            startParameterTransfer(m, second);
        }
    });

    transferX(rig, download, last);
    rig.sim->watchLog({});

    QVERIFY(started);
    QCOMPARE(rig.dialogs.texts(),
             (QStringList{kRefused, download ? QStringLiteral("Download Complete!!") : QStringLiteral("Upload Complete!!")}));
    const QStringList rx = rig.received();
    QCOMPARE(rx.size(), last + 1);
    for (int reg = 0; reg <= last; ++reg)
        QVERIFY2(download ? rx[reg].startsWith(writeHead(kind, reg)) : rx[reg] == readLine(kind, reg),
                 qPrintable(rx[reg]));
    QVERIFY(!LineHeld());
}

void TestTransferEnds::openWindowNamedInRefusal_data()
{
    QTest::addColumn<bool>("downloadWindow");
    QTest::addColumn<QString>("second");
    for (bool download : {true, false})
        for (const char *second : {"parameter DownLoad All", "parameter UpLoad X-axis", "DownLoad All", "UpLoad ALL",
                                   "grid DownLoad", "grid UpLoad", "other window Start"})
            QTest::addRow("%s window open, %s", download ? "download" : "upload", second)
                << download << QString::fromLatin1(second);
}

// An open transfer window that runs nothing keeps the line until it is
// closed: a transfer started meanwhile is refused once, names the window to
// close and sends nothing; closed, the window frees the line.
void TestTransferEnds::openWindowNamedInRefusal()
{
    QFETCH(bool, downloadWindow);
    QFETCH(QString, second);

    TransferRig rig(UnitKind::FourAxis);
    QVERIFY(rig.connect());
    frmMain &m = *rig.main;
    (downloadWindow ? m.mnuZT260DoProgItem : m.mnuZT260UpProgitem)[0]->trigger();
    TransferWindow *open = downloadWindow ? static_cast<TransferWindow *>(SendPrgWindow()) : RecvPrgWindow();
    QVERIFY(open && open->HoldsLine());
    const QStringList before = rig.received();

    if (!startParameterTransfer(m, second)) {
        (downloadWindow ? m.mnuZT260UpProgitem : m.mnuZT260DoProgItem)[1]->trigger();
        TransferWindow *other = downloadWindow ? static_cast<TransferWindow *>(RecvPrgWindow()) : SendPrgWindow();
        QVERIFY(other && other != open);
        other->SelectOpt[0]->click();
        other->Start_botton->click();
    }

    const QString name = downloadWindow ? QStringLiteral("Download Program") : QStringLiteral("Upload Program");
    QCOMPARE(rig.dialogs.texts(), QStringList{QStringLiteral("The \"") + name
                                              + QStringLiteral("\" window is open and keeps the line for its "
                                                               "transfer: nothing was started.\nClose that window "
                                                               "first.")});
    QCOMPARE(rig.received(), before);
    open->Cancel_botton->click();
    QVERIFY(!LineHeld());
}

QTEST_MAIN(TestTransferEnds)
#include "test_transferends.moc"
