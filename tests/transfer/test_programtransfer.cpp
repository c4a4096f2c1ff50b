// The register loop of the program transfers: the steps of both models
// (command texts and thresholds, reply tests, the decoding into the program
// table), result codes and closing messages, and against the simulated unit
// the whole exchange: echoes, mismatches and the operator's answers, time-
// outs, pause, resume and cancel through the progress dialog, and the
// unit's faults.

#include "RawSql.h"
#include "TransferRig.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "program/ProgramLayout.h"
#include "shared/Shared.h"
#include "transfer/ProgramSteps.h"
#include "transfer/ProgramSteps2.h"
#include "transfer/ProgramSteps4.h"
#include "transfer/frmMsgPrgDoUp.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(TransferEnd)
Q_DECLARE_METATYPE(MsgResult)
Q_DECLARE_METATYPE(UnitKind)

namespace {

const QString kUnitTitle = QStringLiteral("ZT260A/ZT460A");

// A view that shows in the progress dialog and runs `onReached` as each
// register comes up.
class ActingView : public TransferView
{
public:
    explicit ActingView(frmMsgPrgDoUp *dialog) : m_dialog(dialog) {}
    std::function<void(int reg)> onReached;
    void Begin(int n) override { m_dialog->Begin(n); }
    void Progress(int done) override { m_dialog->Progress(done); }
    void Reached(int axis, int reg) override
    {
        m_dialog->Reached(axis, reg);
        if (onReached)
            onReached(reg);
    }
    void Ended(bool failed) override { m_dialog->Ended(failed); }

private:
    frmMsgPrgDoUp *m_dialog;
};

// The lines a download of these registers of axis `letter` sends, as the
// unit logs them.
QStringList writes(const QString &letter, const QStringList &regsAndWords)
{
    QStringList out;
    for (const QString &rw : regsAndWords)
        out << QStringLiteral("PR") + letter + u' ' + rw;
    return out;
}

} // namespace

class TestProgramTransfer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void requests_data();
    void requests();
    void replyTests_data();
    void replyTests();
    void cmdAnalyze_data();
    void cmdAnalyze();
    void resultCodes_data();
    void resultCodes();

    void downloadWritesTheUnit();
    void uploadFillsTheTable();
    void mismatchSequence_data();
    void mismatchSequence();
    void uploadAsksAtOnce();
    void timeOut_data();
    void timeOut();
    void pauseHoldsThenResumesOrCancels_data();
    void pauseHoldsThenResumesOrCancels();
    void cancelEndsAWait_data();
    void cancelEndsAWait();
    void lineFaults_data();
    void lineFaults();
    void refusedRegisterStopsDownload();
    void uploadFailures_data();
    void uploadFailures();

private:
    // The model's program table (the 2-axis one opened beside the rig's)
    // and its steps of one axis.
    ProgramTable &tableOf(UnitKind kind);
    TransferSteps stepsOf(UnitKind kind, bool download, int axis);
    TransferOutcome run(bool download, int axis, int from, int to, int timeoutMs = kReplyTimeoutMs,
                        frmMsgPrgDoUp *dialog = nullptr, TransferView *view = nullptr);
    TransferRig *m_rig = nullptr;
};

void TestProgramTransfer::init()
{
    m_rig = new TransferRig;
}

void TestProgramTransfer::cleanup()
{
    delete m_rig;
    m_rig = nullptr;
}

TransferOutcome TestProgramTransfer::run(bool download, int axis, int from, int to, int timeoutMs,
                                         frmMsgPrgDoUp *dialog, TransferView *view)
{
    TransferSteps steps = download ? DownloadSteps4(m_rig->table, axis) : UploadSteps4(m_rig->table, axis);
    steps.timeoutMs = timeoutMs;
    return RunRegisterTransfer(*m_rig->main->Link, dialog, axis, from, to, steps, view ? view : dialog);
}

ProgramTable &TestProgramTransfer::tableOf(UnitKind kind)
{
    if (kind == UnitKind::FourAxis)
        return m_rig->table;
    ProgramTable &table = ProgramTableOf(kind);
    if (const auto refused = table.Open())
        qFatal("program table not opened: %s", qPrintable(*refused));
    return table;
}

TransferSteps TestProgramTransfer::stepsOf(UnitKind kind, bool download, int axis)
{
    ProgramTable &table = tableOf(kind);
    if (kind == UnitKind::TwoAxis)
        return download ? DownloadSteps2(table, axis) : UploadSteps2(table, axis);
    return download ? DownloadSteps4(table, axis) : UploadSteps4(table, axis);
}

// ---- pure steps -------------------------------------------------------------

void TestProgramTransfer::requests_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("reg");
    QTest::addColumn<QStringList>("texts");   // CMD, DAT, SPD, TIM in the table
    QTest::addColumn<QString>("command");     // empty: the register cannot be sent
    QTest::addColumn<int>("threshold");

    const auto four = UnitKind::FourAxis;
    QTest::newRow("JMP 5 in X 12") << four << true << 0 << 12 << QStringList{"JMP", "5", "", ""} << "PRX 12,C1000005\r" << 16;
    QTest::newRow("empty U 1999") << four << true << 3 << 1999 << QStringList{"", "", "", ""} << "PRU 1999,C0000000\r" << 18;
    QTest::newRow("INC with speed and timer, Z 7") << four
        << true << 2 << 7 << QStringList{"INC", "1000", "2", "1"} << "PRZ 7,120003E8\r" << 15;
    QTest::newRow("CW with its blank, Y 0") << four << true << 1 << 0 << QStringList{"CW ", "100", "1", "0"} << "PRY 0,80000064\r"
                                             << 15;
    QTest::newRow("motion without data") << four << true << 0 << 3 << QStringList{"INC", "", "", ""} << "" << 0;
    QTest::newRow("unknown command") << four << true << 0 << 3 << QStringList{"XYZ", "1", "", ""} << "" << 0;
    QTest::newRow("value too wide") << four << true << 0 << 3 << QStringList{"INC", "8388608", "", ""} << "" << 0;
    QTest::newRow("no register 2000") << four << true << 0 << 2000 << QStringList{} << "" << 0;
    QTest::newRow("read X 0") << four << false << 0 << 0 << QStringList{} << "PRX 0\r" << 15;
    QTest::newRow("read U 1999") << four << false << 3 << 1999 << QStringList{} << "PRU 1999\r" << 18;

    // The 2-axis unit: its echo adds a blank after the comma, its answer
    // may too; data in pulses whatever the unit of measure.
    const auto two = UnitKind::TwoAxis;
    QTest::newRow("2-axis JMP 5 in X 12") << two << true << 0 << 12 << QStringList{"JMP", "5", "", ""}
                                          << "IXS X12,C1000005\r" << 18;
    QTest::newRow("2-axis empty X 0") << two << true << 0 << 0 << QStringList{"", "", "", ""} << "IXS X0,C0000000\r"
                                      << 17;
    QTest::newRow("2-axis trailing blank of JMP") << two << true << 1 << 53 << QStringList{"JMP ", "5", "", ""}
                                                  << "IXS Y53,C1000005\r" << 18;
    QTest::newRow("2-axis CW with its blank, speed and timer")
        << two << true << 1 << 3 << QStringList{"CW ", "-100", "4", "1"} << "IXS Y3,96FFFF9C\r" << 17;
    QTest::newRow("2-axis pulses whatever the unit of measure")
        << two << true << 0 << 4 << QStringList{"ABS", "50000", "1", "0"} << "IXS X4,0100C350\r" << 17;
    QTest::newRow("2-axis lower case") << two << true << 0 << 3 << QStringList{"jmp", "5", "", ""} << "" << 0;
    QTest::newRow("2-axis LN3") << two << true << 0 << 3 << QStringList{"LN3", "5", "", ""} << "" << 0;
    QTest::newRow("2-axis RNZ") << two << true << 0 << 3 << QStringList{"RNZ", "5", "", ""} << "" << 0;
    QTest::newRow("2-axis value too wide") << two << true << 1 << 3 << QStringList{"INC", "8388608", "", ""} << ""
                                           << 0;
    QTest::newRow("2-axis no register 54") << two << true << 0 << 54 << QStringList{} << "" << 0;
    QTest::newRow("2-axis read X 9") << two << false << 0 << 9 << QStringList{} << "IXR X9\r" << 16;
    QTest::newRow("2-axis read Y 53") << two << false << 1 << 53 << QStringList{} << "IXR Y53\r" << 17;
    QTest::newRow("2-axis no register 54 to read") << two << false << 0 << 54 << QStringList{} << "" << 0;
    QTest::newRow("2-axis no Z axis to read") << two << false << 2 << 0 << QStringList{} << "" << 0;
}

void TestProgramTransfer::requests()
{
    QFETCH(UnitKind, kind);
    QFETCH(bool, download);
    QFETCH(int, axis);
    QFETCH(int, reg);
    QFETCH(QStringList, texts);
    QFETCH(QString, command);
    QFETCH(int, threshold);

    // A unit of measure reaches the 4-axis unit's words only.
    if (kind == UnitKind::TwoAxis) {
        g.ScaleSel[axis] = 1;
        g.ScaleFactor[1][axis] = QStringLiteral("0.001");
    }
    if (!texts.isEmpty())
        QVERIFY(tableOf(kind).WriteAxis(reg, axis, {texts[0], texts[1], texts[2], texts[3], "note"}));
    const TransferSteps steps = stepsOf(kind, download, axis);
    QCOMPARE(steps.reply, kind == UnitKind::TwoAxis && !download ? ReplyKept::ReplyLine : ReplyKept::IxsReplyLine);
    const auto rq = steps.request(reg);
    if (command.isEmpty()) {
        QVERIFY(!rq);
        return;
    }
    QVERIFY(rq);
    QCOMPARE(rq->command, command);
    QCOMPARE(rq->threshold, threshold);
    QCOMPARE(rq->thresholdAt, ThresholdAt::BeforeSend);
}

void TestProgramTransfer::replyTests_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("reg");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("matches");

    const auto four = UnitKind::FourAxis;
    QTest::newRow("echo") << four << true << 0 << 12 << "PRX 12,C0000000\r" << true << true;
    QTest::newRow("echo with a digit changed") << four << true << 0 << 12 << "PRX 12,C0000001\r" << true << false;
    QTest::newRow("echo of another register") << four << true << 0 << 12 << "PRX 13,C0000000\r" << true << false;
    QTest::newRow("write echo of the 2-axis unit") << four << true << 0 << 12 << "IXS X12, C0000000\r" << false << false;
    QTest::newRow("read answer") << four << false << 1 << 123 << "PRY 123,C0000000\r" << true << true;
    QTest::newRow("answer of register 124") << four << false << 1 << 123 << "PRY 124,C0000000\r" << true << false;
    QTest::newRow("answer of register 1234") << four << false << 2 << 123 << "PRZ 1234,C0000000\r" << true << false;
    QTest::newRow("answer of another axis") << four << false << 3 << 5 << "PRX 5,C0000000\r" << true << false;
    QTest::newRow("answer without a comma") << four << false << 0 << 5 << "PRX 5 C0000000\r" << true << false;

    // The 2-axis upload takes only the answer of its own axis and register.
    const auto two = UnitKind::TwoAxis;
    QTest::newRow("2-axis echo with its blank") << two << true << 0 << 12 << "IXS X12, C0000000\r" << true << true;
    QTest::newRow("2-axis echo with a digit changed") << two << true << 0 << 12 << "IXS X12, C0000001\r" << true
                                                      << false;
    QTest::newRow("2-axis echo of another register") << two << true << 0 << 12 << "IXS X13, C0000000\r" << true
                                                     << false;
    QTest::newRow("2-axis echo of another axis") << two << true << 0 << 12 << "IXS Y12, C0000000\r" << true << false;
    QTest::newRow("2-axis echo without its comma") << two << true << 0 << 12 << "IXS X12 C0000000\r" << true << false;
    QTest::newRow("4-axis echo to the 2-axis download") << two << true << 0 << 12 << "PRX 12,C0000000\r" << false
                                                        << false;
    QTest::newRow("2-axis answer") << two << false << 1 << 7 << "IXR Y7, C1000035\r" << true << true;
    QTest::newRow("2-axis answer without the blank") << two << false << 1 << 7 << "IXR Y7,C1000035\r" << true << true;
    QTest::newRow("2-axis answer of register 17") << two << false << 1 << 7 << "IXR Y17, C1000035\r" << false << false;
    QTest::newRow("2-axis answer of register 8") << two << false << 1 << 7 << "IXR Y8, C1000035\r" << false << false;
    QTest::newRow("2-axis answer of the other axis") << two << false << 1 << 7 << "IXR X7, C1000035\r" << false
                                                     << false;
    QTest::newRow("2-axis answer without a comma") << two << false << 1 << 7 << "IXR Y7 C1000035\r" << false << false;
}

void TestProgramTransfer::replyTests()
{
    QFETCH(UnitKind, kind);
    QFETCH(bool, download);
    QFETCH(int, axis);
    QFETCH(int, reg);
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QFETCH(bool, matches);

    const TransferSteps steps = stepsOf(kind, download, axis);
    const auto rq = steps.request(reg);
    QVERIFY(rq);
    QCOMPARE((rq->accepts ? rq->accepts : steps.accepts)(line), accepted);
    if (accepted && steps.matches)
        QCOMPARE(steps.matches(*rq, line), matches);
}

void TestProgramTransfer::cmdAnalyze_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("factor");      // of the axis's unit (mm); empty: pulses
    QTest::addColumn<QStringList>("fields");  // CMD, DAT, SPD, TIM; {"kept"}: none; {}: refused

    const QStringList kept{"kept"};
    const auto four = UnitKind::FourAxis;
    QTest::newRow("INC") << four << 0 << "PRX 12,120003E8\r" << "" << QStringList{"INC", "1000", "2", "1"};
    QTest::newRow("ABS -1") << four << 1 << "PRY 1,01FFFFFF\r" << "" << QStringList{"ABS", "-1", "1", "0"};
    QTest::newRow("LN3") << four << 1 << "PRY 3,4800000A\r" << "" << QStringList{"LN3", "10", "1", "0"};
    QTest::newRow("CW keeps its blank") << four << 0 << "PRX 4,80000064\r" << "" << QStringList{"CW ", "100", "1", "0"};
    QTest::newRow("CCW on Z") << four << 2 << "PRZ 4,81000064\r" << "" << QStringList{"CCW", "100", "1", "0"};
    QTest::newRow("LN2 on U") << four << 3 << "PRU 4,4000000A\r" << "" << QStringList{"LN2", "10", "1", "0"};
    QTest::newRow("mm") << four << 2 << "PRZ 0,000004D2\r" << "0.001" << QStringList{"INC", "1.234", "1", "0"};
    QTest::newRow("CNT in mm") << four << 0 << "PRX 0,C9000003\r" << "0.5" << QStringList{"CNT", "1.5", "", ""};
    QTest::newRow("JMP") << four << 3 << "PRU 9,C10007CF\r" << "" << QStringList{"JMP", "1999", "", ""};
    QTest::newRow("no mnemonic empties") << four << 2 << "PRZ 9,D8000000\r" << "" << QStringList{"", "", "", ""};
    QTest::newRow("RNY on X") << four << 0 << "PRX 9,CE010005\r" << "" << QStringList{"RNY", "5,1", "", ""};
    QTest::newRow("RNY on Y keeps the register") << four << 1 << "PRY 9,CE010005\r" << "" << kept;
    QTest::newRow("WTU on U keeps the register") << four << 3 << "PRU 9,D4000000\r" << "" << kept;
    QTest::newRow("blanks after the comma") << four << 0 << "PRX 5,  C10003E7\r" << "" << QStringList{"JMP", "999", "", ""};
    QTest::newRow("no comma") << four << 0 << "C10003E7" << "" << QStringList{"JMP", "999", "", ""};
    QTest::newRow("not hexadecimal") << four << 0 << "PRX 5,C10003G7\r" << "" << QStringList{};
    QTest::newRow("no word") << four << 0 << "PRX 5,\r" << "" << QStringList{};
    QTest::newRow("short word") << four << 0 << "PRX 5,C1\r" << "" << QStringList{};
    QTest::newRow("factor 0 refuses motion") << four << 1 << "PRY 5,00000001\r" << "0" << QStringList{};
    QTest::newRow("factor 0 leaves JMP") << four << 1 << "PRY 5,C1000001\r" << "0" << QStringList{"JMP", "1", "", ""};

    // The 2-axis unit: pulses whatever the unit of measure, no LN3, and
    // only RNY and WTY are the X axis's.
    const auto two = UnitKind::TwoAxis;
    QTest::newRow("2-axis ABS") << two << 0 << "IXR X0, 0100C350\r" << "" << QStringList{"ABS", "50000", "1", "0"};
    QTest::newRow("2-axis CW keeps its blank") << two << 1 << "IXR Y1, 96FFFF9C\r" << "" << QStringList{"CW ", "-100", "4", "1"};
    QTest::newRow("2-axis LN3 flag reads as LN2") << two << 1 << "IXR Y2, 4A000010\r" << "" << QStringList{"LN2", "16", "2", "0"};
    QTest::newRow("2-axis CNT in pulses") << two << 0 << "IXR X3, C9FFFFFB\r" << "0.5" << QStringList{"CNT", "-5", "", ""};
    QTest::newRow("2-axis RNY on X") << two << 0 << "IXR X4, CE010005\r" << "" << QStringList{"RNY", "5,1", "", ""};
    QTest::newRow("2-axis RNY on Y keeps the register") << two << 1 << "IXR Y4, CE010005\r" << "" << kept;
    QTest::newRow("2-axis WTY on Y keeps the register") << two << 1 << "IXR Y4, CF000000\r" << "" << kept;
    QTest::newRow("2-axis D1 empties Y") << two << 1 << "IXR Y5, D1000000\r" << "" << QStringList{"", "", "", ""};
    QTest::newRow("2-axis not hexadecimal") << two << 0 << "IXR X5, C10003G7\r" << "" << QStringList{};
}

void TestProgramTransfer::cmdAnalyze()
{
    QFETCH(UnitKind, kind);
    QFETCH(int, axis);
    QFETCH(QString, reply);
    QFETCH(QString, factor);
    QFETCH(QStringList, fields);

    if (!factor.isEmpty()) {
        g.ScaleSel[axis] = 1;
        g.ScaleFactor[1][axis] = factor;
    }
    const auto got = kind == UnitKind::FourAxis ? CmdAnalyze(axis, reply) : RegisterFields(kind, axis, reply);
    if (fields.isEmpty()) {
        QVERIFY(!got);
        return;
    }
    QVERIFY(got);
    if (fields == QStringList{"kept"}) {
        QVERIFY(got->empty());
        return;
    }
    const ProgramTable::FieldValues expected{{AxisFieldColumn(axis, 0), fields[0]},
                                             {AxisFieldColumn(axis, 1), fields[1]},
                                             {AxisFieldColumn(axis, 2), fields[2]},
                                             {AxisFieldColumn(axis, 3), fields[3]}};
    QCOMPARE(*got, expected);
}

void TestProgramTransfer::resultCodes_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<TransferEnd>("end");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");

    QTest::newRow("download done") << true << TransferEnd::Done << 5 << 9 << 9 << 10 << "Download Complete!!"
                                   << "Message";
    QTest::newRow("download to 1999") << true << TransferEnd::Done << 0 << 1999 << 1999 << 2000
                                      << "Download Complete!!" << "Message";
    QTest::newRow("download of an empty range") << true << TransferEnd::Done << 7 << 3 << 3 << 7
                                                << "Download Complete!!" << "Message";
    QTest::newRow("download from 0 to -1") << true << TransferEnd::Done << 0 << -1 << -1 << 0 << "" << "";
    QTest::newRow("download failed at 0") << true << TransferEnd::Failed << 0 << 9 << 0 << 2001 << "Download Error!!"
                                          << "Error";
    QTest::newRow("download failed at 1999") << true << TransferEnd::Failed << 0 << 1999 << 1999 << 4000
                                             << "Download Error!!" << "Error";
    QTest::newRow("download cancelled") << true << TransferEnd::Cancelled << 0 << 9 << 4 << 9999 << "Cancel!"
                                        << kUnitTitle;
    QTest::newRow("upload done") << false << TransferEnd::Done << 0 << 9 << 9 << 0 << "Upload Complete!!"
                                 << "Message";
    QTest::newRow("upload failed") << false << TransferEnd::Failed << 0 << 9 << 3 << 2004 << "" << "";
    QTest::newRow("upload cancelled") << false << TransferEnd::Cancelled << 0 << 9 << 3 << 9999 << "Cancel!"
                                      << kUnitTitle;
}

void TestProgramTransfer::resultCodes()
{
    QFETCH(bool, download);
    QFETCH(TransferEnd, end);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, reg);
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(QString, title);

    const TransferOutcome outcome{end, reg};
    QCOMPARE(download ? DownloadResultCode(outcome, from, to) : UploadResultCode(outcome), code);
    const auto closing = download ? DownloadClosing(code) : UploadClosing(code);
    QCOMPARE(closing.has_value(), !text.isEmpty());
    if (closing) {
        QCOMPARE(closing->text, text);
        QCOMPARE(closing->title, title);
    }
    for (const auto &port : {DownloadClosing(kResultPortClosed), UploadClosing(kResultPortClosed)}) {
        QVERIFY(port);
        QCOMPARE(port->text, QStringLiteral("The port is not open."));
        QCOMPARE(port->title, kUnitTitle);
    }
}

// ---- against the simulated unit ----------------------------------------------

void TestProgramTransfer::downloadWritesTheUnit()
{
    QVERIFY(m_rig->connect());
    QVERIFY(m_rig->put(10, 0, {"JMP", "5", "", "", "a"}));
    QVERIFY(m_rig->put(11, 0, {"INC", "1000", "2", "1", "b"}));
    QVERIFY(m_rig->put(11, 1, {"ABS", "-1", "", "", "c"}));
    const TransferOutcome out = run(true, 0, 10, 12);
    QCOMPARE(out.end, TransferEnd::Done);
    QCOMPARE(DownloadResultCode(out, 10, 12), 13);
    QCOMPARE(m_rig->received(), writes("X", {"10,C1000005", "11,120003E8", "12,C0000000"}));
    QCOMPARE(m_rig->sim->registerWord('X', 10), std::optional<quint32>(0xC1000005));
    QCOMPARE(m_rig->sim->registerWord('X', 11), std::optional<quint32>(0x120003E8));
    QCOMPARE(m_rig->sim->registerWord('Y', 11), std::optional<quint32>(0xC0000000));
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
    QCOMPARE(MainWindow()->Link->IxsReplyLine, QString());
}

void TestProgramTransfer::uploadFillsTheTable()
{
    QVERIFY(m_rig->connect());
    for (const char *preset : {"reg Y 3 120003E8", "reg Y 4 CE010005", "reg Y 5 C0000000", "reg X 3 C1000007"})
        m_rig->sim->control(QLatin1String(preset));
    QVERIFY(m_rig->sim->sync());
    QVERIFY(m_rig->put(3, 0, {"ABS", "7", "1", "0", "x note"}));
    for (int reg = 3; reg <= 5; ++reg)
        QVERIFY(m_rig->put(reg, 1, {"OUT", "1,1", "", "", "note"}));

    const TransferOutcome out = run(false, 1, 3, 5);
    QCOMPARE(out.end, TransferEnd::Done);
    QCOMPARE(m_rig->received(), (QStringList{"PRY 3", "PRY 4", "PRY 5"}));
    QCOMPARE(m_rig->axis(3, 1), (ClipRow{"INC", "1000", "2", "1", "note"}));
    QCOMPARE(m_rig->axis(4, 1), (ClipRow{"OUT", "1,1", "", "", "note"}));   // RNY is the X axis's
    QCOMPARE(m_rig->axis(5, 1), (ClipRow{"", "", "", "", "note"}));
    QCOMPARE(m_rig->axis(3, 0), (ClipRow{"ABS", "7", "1", "0", "x note"}));
    QCOMPARE(m_rig->axis(6, 1), ClipRow{});
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
}

void TestProgramTransfer::mismatchSequence_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QList<MsgResult>>("answers");
    QTest::addColumn<TransferEnd>("end");
    QTest::addColumn<int>("sends");
    QTest::addColumn<QStringList>("questions");   // "M" the mismatch, "E" the exit question

    QTest::newRow("one bad echo is sent again silently")
        << QStringList{} << QList<MsgResult>{} << TransferEnd::Done << 2 << QStringList{};
    QTest::newRow("Retry grants two more silent resends")
        << QStringList{"--corrupt-echo"} << QList<MsgResult>{MsgResult::Retry, MsgResult::Cancel, MsgResult::Yes}
        << TransferEnd::Cancelled << 6 << QStringList{"M", "M", "E"};
    QTest::newRow("No to the exit question sends again")
        << QStringList{"--corrupt-echo"}
        << QList<MsgResult>{MsgResult::Cancel, MsgResult::No, MsgResult::Cancel, MsgResult::Yes}
        << TransferEnd::Cancelled << 6 << QStringList{"M", "E", "M", "E"};
}

void TestProgramTransfer::mismatchSequence()
{
    QFETCH(QStringList, simOptions);
    QFETCH(QList<MsgResult>, answers);
    QFETCH(TransferEnd, end);
    QFETCH(int, sends);
    QFETCH(QStringList, questions);

    QVERIFY(m_rig->connect(simOptions));
    if (simOptions.isEmpty())
        m_rig->sim->control(QStringLiteral("corrupt"));   // the next echo only
    QVERIFY(m_rig->sim->sync());
    for (MsgResult a : answers)
        m_rig->dialogs.answer(a);
    // Each resend finds the stored line emptied: a count of sends per
    // question shows that none was taken for an answer.
    QList<int> sendsAtQuestion;
    m_rig->dialogs.onShow = [&](const QString &) { sendsAtQuestion << int(m_rig->received().size()); };

    const TransferOutcome out = run(true, 0, 0, 0);
    QCOMPARE(out.end, end);
    QCOMPARE(m_rig->received(), QStringList(sends, QStringLiteral("PRX 0,C0000000")));
    QStringList expected;
    for (const QString &q : questions)
        expected << (q == u"M" ? QStringLiteral("Send data ->PRX 0,C0000000\rRecv data -> PRX 0,C0000001")
                               : QStringLiteral("Exit DownLoad Program!"));
    QCOMPARE(m_rig->dialogs.texts(), expected);
    if (!questions.isEmpty()) {
        QCOMPARE(sendsAtQuestion.first(), 3);
        QCOMPARE(m_rig->dialogs.shown().first().buttons, MsgButtons::RetryCancel);
        QCOMPARE(m_rig->dialogs.shown().first().title, kUnitTitle);
        QCOMPARE(m_rig->dialogs.shown().last().buttons, MsgButtons::YesNo);
    }
    if (questions == QStringList{"M", "M", "E"})
        QCOMPARE(sendsAtQuestion, (QList<int>{3, 6, 6}));
    if (questions == QStringList{"M", "E", "M", "E"})
        QCOMPARE(sendsAtQuestion, (QList<int>{3, 3, 6, 6}));
}

// A reply to another register is put to the operator at once; Retry asks
// again and the right answer is stored.
void TestProgramTransfer::uploadAsksAtOnce()
{
    QVERIFY(m_rig->connect());
    m_rig->sim->control(QStringLiteral("reg X 5 C1000009"));
    m_rig->sim->control(QStringLiteral("silent on"));
    QVERIFY(m_rig->sim->sync());
    // The unit's only answer to the first request: that of register 6.
    struct Hooks : ExchangeHooks {
        UnitSim *sim = nullptr;
        bool done = false;
        void Sent(const ExchangeRequest &) override
        {
            if (!done)
                sim->control(QStringLiteral("send PRX 6,C0000000"));
            done = true;
        }
    } hooks;
    hooks.sim = m_rig->sim.get();
    m_rig->dialogs.onShow = [&](const QString &) {
        m_rig->sim->control(QStringLiteral("silent off"));
        m_rig->sim->sync();
    };
    m_rig->dialogs.answer(MsgResult::Retry);
    const TransferOutcome out = RunRegisterTransfer(*m_rig->main->Link, &hooks, 0, 5, 5, UploadSteps4(m_rig->table, 0));
    QCOMPARE(out.end, TransferEnd::Done);
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Send data ->PRX 5\r\rRecv data -> PRX 6,C0000000"});
    QCOMPARE(m_rig->received(), (QStringList{"PRX 5", "PRX 5"}));
    QCOMPARE(m_rig->axis(5, 0), (ClipRow{"JMP", "9", "", "", ""}));
    QCOMPARE(m_rig->axis(6, 0), ClipRow{});
}

void TestProgramTransfer::timeOut_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<QList<MsgResult>>("answers");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("sends");

    const QList<MsgResult> leave{MsgResult::Cancel, MsgResult::Yes};
    const QString silent = QStringLiteral("\rThe unit did not answer within 0.3 seconds.");
    QTest::newRow("download") << true << leave << "Send data ->PRX 0,C0000000\rRecv data -> " + silent << 1;
    QTest::newRow("download, Retry sends again") << true << (QList<MsgResult>{MsgResult::Retry} + leave)
                                                 << "Send data ->PRX 0,C0000000\rRecv data -> " + silent << 2;
    QTest::newRow("upload") << false << leave << "Send data ->PRX 0\r\rRecv data -> " + silent << 1;
}

// A silent unit: no wait lasts for ever, and a line left from before is
// never taken for the answer.
void TestProgramTransfer::timeOut()
{
    QFETCH(bool, download);
    QFETCH(QList<MsgResult>, answers);
    QFETCH(QString, question);
    QFETCH(int, sends);

    QVERIFY(m_rig->connect());
    m_rig->sim->control(QStringLiteral("silent on"));
    QVERIFY(m_rig->sim->sync());
    for (MsgResult a : answers)
        m_rig->dialogs.answer(a);
    MainWindow()->Link->IxsReplyLine = download ? QStringLiteral("PRX 0,C0000000\r") : QStringLiteral("PRX 0,C1000001\r");

    const TransferOutcome out = run(download, 0, 0, 3, 300);
    QCOMPARE(out.end, TransferEnd::Cancelled);
    QCOMPARE(out.reg, 0);
    QCOMPARE(m_rig->received().size(), sends);
    QCOMPARE(m_rig->dialogs.texts().first(), question);
    QCOMPARE(m_rig->dialogs.texts().last(), QStringLiteral("Exit DownLoad Program!"));
    QCOMPARE(m_rig->axis(0, 0), ClipRow{});
}

void TestProgramTransfer::pauseHoldsThenResumesOrCancels_data()
{
    QTest::addColumn<bool>("resume");
    QTest::addRow("Restart") << true;
    QTest::addRow("Cancel") << false;
}

// Stop during register 1: once its answer is in and the loop has had a pass
// to go on, register 2 has still not gone out, and the paused transfer still
// holds the line: a monitor tick sends nothing. Restart goes on from there;
// Cancel ends the transfer with nothing more sent.
void TestProgramTransfer::pauseHoldsThenResumesOrCancels()
{
    QFETCH(bool, resume);
    QVERIFY(m_rig->connect());
    LineHold hold(LineUser::Transfer);   // as the transfer windows take it
    QVERIFY(hold.owns());
    frmMsgPrgDoUp *dialog = LoadMsgPrgDoUp(QStringLiteral("ZT260A/ZT460A DownLoad"));
    ActingView view(dialog);
    int stage = 0;
    QStringList whilePaused;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (stage == 1 && !MainWindow()->Link->IxsReplyLine.isEmpty()) {
            stage = 2;   // the answer of register 1 waits; give the loop a pass
        } else if (stage == 2) {
            stage = 3;
            m_rig->main->Timer1_Timer();
            whilePaused = m_rig->received();
            QCOMPARE(dialog->Tag, QStringLiteral("1"));
            if (resume) {
                dialog->RestartBotton_Click();
            } else {
                QVERIFY(dialog->CancelBotton->isEnabled());
                dialog->CancelBotton_Click();
            }
        }
    });
    view.onReached = [&](int reg) {
        if (reg == 1 && stage == 0) {
            QVERIFY(!dialog->CancelBotton->isEnabled());
            dialog->StopBotton_Click();
            stage = 1;
            watch.start();
        }
    };

    const TransferOutcome out = run(true, 0, 0, 3, kReplyTimeoutMs, dialog, &view);
    QCOMPARE(stage, 3);
    QCOMPARE(whilePaused, writes("X", {"0,C0000000", "1,C0000000"}));
    if (resume) {
        QCOMPARE(out.end, TransferEnd::Done);
        QCOMPARE(m_rig->received(), writes("X", {"0,C0000000", "1,C0000000", "2,C0000000", "3,C0000000"}));
    } else {
        QCOMPARE(out.end, TransferEnd::Cancelled);
        QCOMPARE(DownloadResultCode(out, 0, 3), kResultCancelled);
        QCOMPARE(m_rig->received(), whilePaused);
    }
    QCOMPARE(dialog->ProgressBar1->value(), 0);
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
}

void TestProgramTransfer::cancelEndsAWait_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<bool>("closeBox");
    QTest::addRow("upload, Stop, then Cancel") << false << false;
    QTest::addRow("upload, the close box") << false << true;
    QTest::addRow("download, Stop, then Cancel") << true << false;
    QTest::addRow("download, the close box") << true << true;
}

// A unit that never answers: the operator's cancel ends the wait, long
// before its time-out would have asked anything.
void TestProgramTransfer::cancelEndsAWait()
{
    QFETCH(bool, download);
    QFETCH(bool, closeBox);
    QVERIFY(m_rig->connect());
    m_rig->sim->control(QStringLiteral("silent on"));
    QVERIFY(m_rig->sim->sync());
    frmMsgPrgDoUp *dialog =
        LoadMsgPrgDoUp(download ? QStringLiteral("ZT260A/ZT460A DownLoad") : QStringLiteral("ZT260A/ZT460A UpLoad"));
    dialog->show();
    ActingView view(dialog);
    view.onReached = [&](int) {
        QTimer::singleShot(0, dialog, [&] { CancelInDialog(dialog, closeBox); });
    };
    m_rig->dialogs.answer(MsgResult::Cancel);
    m_rig->dialogs.answer(MsgResult::Yes);
    const TransferOutcome out = run(download, 2, 7, 9, 20000, dialog, &view);
    QCOMPARE(out.end, TransferEnd::Cancelled);
    QCOMPARE(out.reg, 7);
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
    QCOMPARE(m_rig->received(), QStringList{download ? "PRZ 7,C0000000" : "PRZ 7"});
    QCOMPARE(MsgPrgDoUpWindow(), dialog);   // closing only cancels; the window that started it unloads it
}

void TestProgramTransfer::lineFaults_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<TransferEnd>("end");
    QTest::addColumn<int>("stoppedAt");

    QTest::newRow("download, hang-up") << true << QStringList{"--hangup-after", "3"} << TransferEnd::Failed << 3;
    QTest::newRow("upload, hang-up") << false << QStringList{"--hangup-after", "2"} << TransferEnd::Failed << 2;
    QTest::newRow("download, noise") << true << QStringList{"--noise", "--delay", "40"} << TransferEnd::Done << 9;
    QTest::newRow("upload, noise") << false << QStringList{"--noise", "--delay", "40"} << TransferEnd::Done << 9;
}

void TestProgramTransfer::lineFaults()
{
    QFETCH(bool, download);
    QFETCH(QStringList, simOptions);
    QFETCH(TransferEnd, end);
    QFETCH(int, stoppedAt);

    QVERIFY(m_rig->connect(simOptions));
    for (int reg = 0; reg < 10; ++reg) {
        if (download)
            QVERIFY(m_rig->put(reg, 3, {"TIM", QString::number(reg + 100), "", "", ""}));
        else
            m_rig->sim->control(QStringLiteral("reg U %1 %2").arg(reg).arg(0xCB000000u + uint32_t(reg + 100), 8, 16));
    }
    QVERIFY(m_rig->sim->sync());
    const TransferOutcome out = run(download, 3, 0, 9);
    QCOMPARE(out.end, end);
    QCOMPARE(out.reg, stoppedAt);
    // A hang-up names the register, then the closed line with its device
    // and the hang-up.
    const QStringList errors =
        end == TransferEnd::Failed
            ? QStringList{QStringLiteral("ERROR :: U axis / Reg No. %1\nThe line to the unit was closed.\nCom1 = %2: "
                                         "the line was hung up")
                              .arg(stoppedAt)
                              .arg(m_rig->sim->devicePath())}
            : QStringList{};
    QCOMPARE(m_rig->dialogs.texts(), errors);
    // What went through before the fault stays: in the unit after a
    // download, in the table after an upload.
    const int through = end == TransferEnd::Failed ? stoppedAt : 10;
    for (int reg = 0; reg < 10; ++reg) {
        if (download) {
            if (reg < through)
                QCOMPARE(m_rig->sim->registerWord('U', reg), std::optional<quint32>(0xCB000000u + uint32_t(reg + 100)));
        } else {
            const ClipRow expected = reg < through ? ClipRow{"TIM", QString::number(reg + 100), "", "", ""} : ClipRow{};
            QCOMPARE(m_rig->axis(reg, 3), expected);
        }
    }
}

// A range with registers the codec refuses is refused whole before its
// first register: the first named with the codec's reason, how many more,
// nothing on the line, and the unit keeps what it held.
void TestProgramTransfer::refusedRegisterStopsDownload()
{
    QVERIFY(m_rig->connect());
    m_rig->sim->control(QStringLiteral("reg Y 0 C1000063"));
    QVERIFY(m_rig->sim->sync());
    QVERIFY(m_rig->put(0, 1, {"JMP", "1", "", "", ""}));
    QVERIFY(m_rig->put(2, 1, {"INC", "", "", "", ""}));
    TransferOutcome out = run(true, 1, 0, 4);
    QCOMPARE(out.end, TransferEnd::Failed);
    QCOMPARE(DownloadResultCode(out, 0, 4), 2003);
    QCOMPARE(m_rig->dialogs.texts(),
             QStringList{"ERROR :: Y axis / Reg No. 2\nDATA \"\" of INC cannot be sent: it is empty.\nNothing was sent."});
    QCOMPARE(m_rig->dialogs.shown().first().buttons, MsgButtons::Ok);
    QCOMPARE(m_rig->received(), QStringList());
    QCOMPARE(m_rig->sim->registerWord('Y', 0), std::optional<quint32>(0xC1000063));

    // Two more beyond it; one past the range is not counted.
    m_rig->dialogs.clear();
    QVERIFY(m_rig->put(3, 1, {"XYZ", "1", "", "", ""}));
    QVERIFY(m_rig->put(4, 1, {"ABS", "8388608", "", "", ""}));
    QVERIFY(m_rig->put(5, 1, {"INC", "", "", "", ""}));
    out = run(true, 1, 0, 4);
    QCOMPARE(out.end, TransferEnd::Failed);
    QCOMPARE(out.reg, 2);
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"ERROR :: Y axis / Reg No. 2\nDATA \"\" of INC cannot be sent: it is "
                                                 "empty.\n2 more registers cannot be sent either; nothing was sent."});
    QCOMPARE(m_rig->received(), QStringList());

    // Mended, the whole range goes out.
    m_rig->dialogs.clear();
    for (int reg : {2, 3, 4})
        QVERIFY(m_rig->put(reg, 1, {"INC", QString::number(reg), "", "", ""}));
    out = run(true, 1, 0, 4);
    QCOMPARE(out.end, TransferEnd::Done);
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
    QCOMPARE(m_rig->received(),
             writes("Y", {"0,C1000001", "1,C0000000", "2,00000002", "3,00000003", "4,00000004"}));
}

void TestProgramTransfer::uploadFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addRow("a word the factor cannot scale") << "factor";
    QTest::addRow("the database refuses a register") << "database";
    QTest::addRow("the database refuses the first register") << "database first";
}

// The failure is named with its axis and register; what was read before it
// is stored, nothing after it.
void TestProgramTransfer::uploadFailures()
{
    QFETCH(QString, fault);
    QVERIFY(m_rig->connect());
    const int bad = fault == u"database first" ? 0 : 3;
    for (int reg = 0; reg < 6; ++reg)
        m_rig->sim->control(QStringLiteral("reg Y %1 %2").arg(reg).arg(reg == bad ? "00000010" : "C1000001"));
    QVERIFY(m_rig->sim->sync());
    if (fault == u"factor") {
        g.ScaleSel[1] = 2;
        g.ScaleFactor[2][1] = QStringLiteral("0");
    } else {
        RawSql(m_rig->table.FilePath(),
               {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Zt460Prg WHEN NEW.Pos = %1 "
                               "BEGIN SELECT RAISE(ABORT, 'register locked'); END")
                    .arg(bad)});
    }
    const TransferOutcome out = run(false, 1, 0, 5);
    QCOMPARE(out.end, TransferEnd::Failed);
    QCOMPARE(UploadResultCode(out), bad + 2001);
    QCOMPARE(m_rig->dialogs.texts(), QStringList{QStringLiteral("ERROR :: Y axis / Reg No. %1").arg(bad)});
    for (int reg = 0; reg < 6; ++reg)
        QCOMPARE(m_rig->axis(reg, 1), reg < bad ? (ClipRow{"JMP", "1", "", "", ""}) : ClipRow{});
    // A word is decoded while the next register is read: the transfer
    // stops there.
    if (fault == u"factor")
        QCOMPARE(m_rig->received(), (QStringList{"PRY 0", "PRY 1", "PRY 2", "PRY 3", "PRY 4"}));
}

QTEST_MAIN(TestProgramTransfer)
#include "test_programtransfer.moc"
