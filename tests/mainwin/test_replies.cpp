// Line assembly, reply field readers, the line owner's reading of each reply
// and the main window's displays it feeds.

#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "link/LineAssembly.h"
#include "link/ReplyFields.h"
#include "mainwin/frmMain.h"
#include <QLineEdit>
#include <QLabel>
#include "mainwin/frmIo.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QtTest>

namespace {
const QString kUnchanged = QStringLiteral("#");

QString hex8(qint32 v) { return QStringLiteral("%1").arg(quint32(v), 8, 16, QChar(u'0')).toUpper(); }

QString wordsLine(const QString &head, qint32 x, qint32 y, qint32 z, qint32 u)
{
    return head + u' ' + hex8(x) + QStringLiteral("  ") + hex8(y) + QStringLiteral("  ") + hex8(z)
           + QStringLiteral("  ") + hex8(u) + u'\r';
}

// Lamp states of a group as a text of 0, 1 and - (never set).
template <std::size_t N>
QString lampStates(const std::array<Lamp *, N> &lamps, int first = 0, int count = N)
{
    QString s;
    for (int i = first; i < first + count; ++i)
        s += lamps[i]->state() < 0 ? u'-' : QChar(u'0' + lamps[i]->state());
    return s;
}
} // namespace

class TestReplies : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void lineAssembly_data();
    void lineAssembly();
    void threshold_data();
    void threshold();
    void positionText_data();
    void positionText();

    void words_data();
    void words();
    void version_data();
    void version();
    void storedLines_data();
    void storedLines();
    void runningRegister_data();
    void runningRegister();
    void ioLamps_data();
    void ioLamps();
    void status_data();
    void status();
    void ignoredLines_data();
    void ignoredLines();
    void randomBytes();

private:
    void presetBoxes();
    QStringList boxTexts() const;

    TestHome *m_home = nullptr;
    frmMain *m_main = nullptr;
};

void TestReplies::init()
{
    ResetProgramState();
    m_home = new TestHome;
    EnsureLampPictures();
    SetStartValues();
    m_main = new frmMain;
    presetBoxes();
}

void TestReplies::cleanup()
{
    delete IoWindow();
    delete m_main;
    delete m_home;
}

void TestReplies::presetBoxes()
{
    for (int a = 0; a < 4; ++a) {
        m_main->positionBox(a)->setText(kUnchanged);
        m_main->speedBox(a)->setText(kUnchanged);
        m_main->registerBox(a)->setText(kUnchanged);
    }
}

QStringList TestReplies::boxTexts() const
{
    QStringList t;
    for (int a = 0; a < 4; ++a)
        t << m_main->positionBox(a)->text() << m_main->speedBox(a)->text()
          << m_main->registerBox(a)->text();
    return t;
}

void TestReplies::lineAssembly_data()
{
    QTest::addColumn<QStringList>("chunks");    // characters as they arrive
    QTest::addColumn<QStringList>("lines");     // lines handed on, CR included
    QTest::addColumn<QString>("left");          // what stays collected

    QTest::newRow("one line") << QStringList{"SPD 1\r"} << QStringList{"SPD 1\r"} << "";
    QTest::newRow("split over events kept")
        << QStringList{"IDC X07", "CF\r"} << QStringList{"IDC X07CF\r"} << "";
    QTest::newRow("CR LF, LF first of next")
        << QStringList{"AB\r", "\nCD\r"} << QStringList{"AB\r", "CD\r"} << "";
    QTest::newRow("LF inside a line removed")
        << QStringList{"A\nB\r"} << QStringList{"AB\r"} << "";
    QTest::newRow("two lines in one arrival")
        << QStringList{"L1\rL2\r"} << QStringList{"L1\r", "L2\r"} << "";
    QTest::newRow("no CR yet") << QStringList{"POS 0000"} << QStringList{} << "POS 0000";
    QTest::newRow("NUL and high bytes kept")
        << QStringList{QString("A") + QChar(0) + QChar(0xE9) + "\r"}
        << QStringList{QString("A") + QChar(0) + QChar(0xE9) + "\r"} << "";
    QTest::newRow("overlong line dropped up to its CR")
        << QStringList{QString(1500, 'x'), "tail\rOK\r"} << QStringList{"OK\r"} << "";
    QTest::newRow("1026 characters pass")
        << QStringList{QString(1026, 'y') + "\r"} << QStringList{QString(1026, 'y') + "\r"} << "";
}

void TestReplies::lineAssembly()
{
    QFETCH(QStringList, chunks);
    QFETCH(QStringList, lines);
    QFETCH(QString, left);
    LineAssembler assembler;
    QString buffer;
    QStringList got;
    for (const QString &chunk : chunks)
        for (QChar c : chunk) {
            QString line;
            if (assembler.feed(c, buffer, &line))
                got << line;
        }
    QCOMPARE(got, lines);
    QCOMPARE(buffer, left);
}

void TestReplies::threshold_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<bool>("taken");
    QTest::newRow("CR at 43, threshold 43") << QString(42, 'a') + "\r" << 43 << true;
    QTest::newRow("CR at 10, threshold 43") << QString(9, 'a') + "\r" << 43 << false;
    QTest::newRow("four-digit IDC, threshold 9") << "IDC X07CF\r" << 9 << true;
    QTest::newRow("no threshold") << "\r" << 0 << true;
}

void TestReplies::threshold()
{
    QFETCH(QString, line);
    QFETCH(int, threshold);
    QFETCH(bool, taken);
    QCOMPARE(LineMeetsThreshold(line, threshold), taken);
    // Dropped or not, every examined line clears both pending flags.
    m_main->Link->SpeedReplyPending = 1;
    m_main->Link->PositionReplyPending = 1;
    m_main->MSComm1->setRThreshold(threshold);
    m_main->Link->DispatchReply(line);
    QCOMPARE(m_main->Link->SpeedReplyPending, 0);
    QCOMPARE(m_main->Link->PositionReplyPending, 0);
}

void TestReplies::positionText_data()
{
    QTest::addColumn<int>("pulses");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("shown");
    QTest::newRow("factor 1") << 1250 << "1" << "1250";
    QTest::newRow("thousandth") << 1250 << "0.001" << "1.250";
    QTest::newRow("-1 pulse") << -1 << "1" << "-1";
    QTest::newRow("half away from zero") << 5 << "0.01" << "0.05";
    QTest::newRow("rounds up at half") << 25 << "0.0025" << "0.0625";
    QTest::newRow("negative half") << -5 << "0.1" << "-0.5";
    QTest::newRow("pattern 00.0") << 1 << "12.5" << "12.5";
    QTest::newRow("leading zero pad") << 0 << "12.5" << "00.0";
    QTest::newRow("zero with decimals") << 0 << "0.001" << "0.000";
    QTest::newRow("most negative") << INT32_MIN << "0.001" << "-2147483.648";
    QTest::newRow("leading blanks of the text") << 3 << "  0.5" << "1.5";
    QTest::newRow("factor 1000") << 2 << "1000" << "2000";
    // Factors the reader refuses show nothing, not a wrong position.
    QTest::newRow("negative factor") << 5 << "-2" << "refused";
    QTest::newRow("factor 0") << 5 << "0" << "refused";
    QTest::newRow("letters after the number") << 5 << "2abc" << "refused";
}

void TestReplies::positionText()
{
    QFETCH(int, pulses);
    QFETCH(QString, factor);
    QFETCH(QString, shown);
    QCOMPARE(PositionText(pulses, factor).value_or(QStringLiteral("refused")), shown);
}

void TestReplies::words_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("factorX");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");   // X, Y, Z, U boxes

    QTest::newRow("speeds 4-axis")
        << "4" << "1" << wordsLine("SPD", 1500, -1500, 0, 7)
        << QStringList{" 1500", "-1500", " 0", " 7"};
    QTest::newRow("speeds 2-axis leave Z and U")
        << "2" << "1" << wordsLine("SPD", 1500, -1500, 0, 7)
        << QStringList{" 1500", "-1500", kUnchanged, kUnchanged};
    QTest::newRow("positions with factor")
        << "4" << "0.001" << wordsLine("POS", 1250, -1, 0, 2147483647)
        << QStringList{"1.250", "-1", "0", "2147483647"};
    QTest::newRow("lower-case digits")
        << "4" << "1" << QString("POS 000004e2  ffffffff  00000000  00000000\r")
        << QStringList{"1250", "-1", "0", "0"};
    QTest::newRow("corrupt X field leaves X")
        << "4" << "1" << QString("POS 00G004E2  00000002  00000003  00000004\r")
        << QStringList{kUnchanged, "2", "3", "4"};
    QTest::newRow("refused factor leaves X")
        << "4" << "-2" << wordsLine("POS", 1250, -1, 0, 7)
        << QStringList{kUnchanged, "-1", "0", "7"};
    QTest::newRow("short line converts what is there")
        << "4" << "1" << QString("SPD 00000010  0000\r")
        << QStringList{" 16", kUnchanged, kUnchanged, kUnchanged};
}

void TestReplies::words()
{
    QFETCH(QString, model);
    QFETCH(QString, factorX);
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    g.UnitModel = model;
    g.ScaleSel[0] = 1;
    g.ScaleFactor[1][0] = factorX;
    const bool speed = line.startsWith("SPD");
    m_main->Link->SpeedReplyPending = 1;
    m_main->Link->PositionReplyPending = 1;
    m_main->Link->AnalyzeReply(line);
    for (int a = 0; a < 4; ++a) {
        QLineEdit *box = speed ? m_main->speedBox(a) : m_main->positionBox(a);
        QCOMPARE(box->text(), expected[a]);
    }
    QCOMPARE(speed ? m_main->Link->SpeedReplyPending : m_main->Link->PositionReplyPending, 0);
}

void TestReplies::version_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("model");
    QTest::newRow("VER model 2") << "VER 01.02.03 ZT260A   2\r" << "01.02.03" << "ZT260A  " << "2";
    QTest::newRow("VAR model 4") << "VAR 02.00.01 ZT460A   4\r" << "02.00.01" << "ZT460A  " << "4";
    // A short reply stores what is there; the CR is never taken as a model.
    QTest::newRow("short") << "VER 01.0\r" << "01.0\r" << "" << "4";
}

void TestReplies::version()
{
    QFETCH(QString, line);
    QFETCH(QString, version);
    QFETCH(QString, text);
    QFETCH(QString, model);
    m_main->Link->ReceiveBuffer = "stale";
    m_main->UnitAnswered = 0;
    m_main->Link->AnalyzeReply(line);
    QCOMPARE(g.UnitVersion, version);
    QCOMPARE(g.UnitVersionText, text);
    QCOMPARE(g.UnitModel, model);
    QCOMPARE(m_main->UnitAnswered, int16_t(1));
    QVERIFY(m_main->Link->ReceiveBuffer.isEmpty());
}

void TestReplies::storedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("toReplyLine");   // else IxsReplyLine
    QTest::newRow("IXR") << "IXR X05,120003E8\r" << true;
    for (const char *h : {"OG1", "OG2", "MO1", "MO2", "RAT", "ACS", "DRS", "DR1", "DR2", "DR3",
                          "DR4", "HOS", "OFS", "TM1", "TM2", "TM3"})
        QTest::newRow(h) << QString(h) + " X 1234\r" << true;
    for (const char *h : {"IXS", "PRX", "PRY", "PRZ", "PRU"})
        QTest::newRow(h) << QString(h) + " 12,120003E8\r" << false;
}

void TestReplies::storedLines()
{
    QFETCH(QString, line);
    QFETCH(bool, toReplyLine);
    m_main->Link->ReplyLine = "before";
    m_main->Link->IxsReplyLine = "before";
    m_main->Link->AnalyzeReply(line);
    QCOMPARE(toReplyLine ? m_main->Link->ReplyLine : m_main->Link->IxsReplyLine, line);
    QCOMPARE(toReplyLine ? m_main->Link->IxsReplyLine : m_main->Link->ReplyLine, QStringLiteral("before"));
    QCOMPARE(boxTexts(), QStringList(12, kUnchanged));
}

void TestReplies::runningRegister_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("shown");
    QTest::newRow("X 07CF") << "IDC X07CF\r" << 0 << "1999";
    QTest::newRow("Z 0012") << "IDC Z0012\r" << 2 << "18";
    QTest::newRow("X no digits") << "IDC X\r" << 0 << "0";
    // The register displays hold 0..1999 and clamp what they are given.
    QTest::newRow("U negative") << "IDC UFFFF\r" << 3 << "0";
    QTest::newRow("Y blank first") << "IDC Y 1f\r" << 1 << "31";
    QTest::newRow("only four digits read") << "IDC X012345\r" << 0 << "291";
    QTest::newRow("unknown letter") << "IDC Q0001\r" << -1 << "";
}

void TestReplies::runningRegister()
{
    QFETCH(QString, line);
    QFETCH(int, axis);
    QFETCH(QString, shown);
    m_main->Link->AnalyzeReply(line);
    for (int a = 0; a < 4; ++a)
        QCOMPARE(m_main->registerBox(a)->text(), a == axis ? shown : kUnchanged);
}

void TestReplies::ioLamps_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("axisOutputs");   // Picture1(14..17) + Picture3(14..17)
    QTest::addColumn<QString>("outputs");       // Picture5(0..15)
    QTest::addColumn<QString>("inputs");        // Picture4(0..15)
    QTest::addColumn<int>("step");
    const QString none16(16, '-');
    QTest::newRow("OUT Y 03") << "OUT Y03\r" << "--11----" << none16 << none16 << 2;
    QTest::newRow("OUT U 02") << "OUT U02\r" << "------01" << none16 << none16 << 2;
    QTest::newRow("OUT Q") << "OUT Q03\r" << "--------" << none16 << none16 << 2;
    QTest::newRow("OUT corrupt") << "OUT XG3\r" << "--------" << none16 << none16 << 2;
    QTest::newRow("INP 0001 FFFE")
        << "INP 0001FFFE\r" << "--------" << "1000000000000000" << "1000000000000000" << 0;
    QTest::newRow("INP top bits")
        << "INP 80007FFF\r" << "--------" << "0000000000000001" << "0000000000000001" << 0;
    QTest::newRow("INP corrupt inputs")
        << "INP 0003zzzz\r" << "--------" << "1100000000000000" << none16 << 0;
    QTest::newRow("INP corrupt outputs")
        << "INP 00x30000\r" << "--------" << none16 << "1111111111111111" << 0;
}

void TestReplies::ioLamps()
{
    QFETCH(QString, line);
    QFETCH(QString, axisOutputs);
    QFETCH(QString, outputs);
    QFETCH(QString, inputs);
    QFETCH(int, step);
    auto *io = new frmIo;
    frmIo::IoPollStep = 1;
    m_main->Link->AnalyzeReply(line);
    QCOMPARE(lampStates(io->Picture1, 14, 4) + lampStates(io->Picture3, 14, 4), axisOutputs);
    QCOMPARE(lampStates(io->Picture5), outputs);
    QCOMPARE(lampStates(io->Picture4), inputs);
    QCOMPARE(int(frmIo::IoPollStep), step);
}

void TestReplies::status_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("active");   // ProgramActive X..U, each starting at 1
    QTest::addColumn<QString>("lamps");    // RUN lamps X..U

    QTest::newRow("2-axis quiet")
        << "2" << "INR 00 00, 00000000\r" << "" << "1111" << "0000";
    QTest::newRow("2-axis running bit leaves flags")
        << "2" << "INR 20 00, 00020000\r" << "" << "1111" << "1000";
    QTest::newRow("4-axis X limit+ and running")
        << "4" << "INR X21 Y00 Z00 U00, 00040000 0000\r" << "LIMIT+ X Axis " << "1000" << "0100";
    QTest::newRow("both limits show LIMIT+")
        << "4" << "INR X03 Y00 Z00 U00, 00000000 0000\r" << "LIMIT+ X Axis " << "0000" << "0000";
    QTest::newRow("limit before alarm")
        << "4" << "INR X82 Y00 Z00 U00, 00000000 0000\r" << "LIMIT- X Axis " << "0000" << "0000";
    QTest::newRow("Z alarm, every flag updated")
        << "4" << "INR X00 Y20 Z80 U20, 001E0000 0000\r" << "ALARM  Z Axis " << "0101" << "1111";
    QTest::newRow("port of eight F")
        << "4" << "INR X00 Y00 Z00 U00, FFFFFFFF 0000\r" << "" << "0000" << "1111";
    QTest::newRow("corrupt port counts as 0")
        << "4" << "INR X00 Y00 Z00 U00, 0002XX00 0000\r" << "" << "0000" << "0000";
    QTest::newRow("corrupt X byte keeps X and the message")
        << "4" << "INR XG1 Y01 Z00 U00, 00020000 0000\r" << "kept" << "1000" << "1000";
    QTest::newRow("lower-case port digits")
        << "2" << "INR 00 02, 001e0000\r" << "LIMIT- Y Axis " << "1111" << "1111";
}

void TestReplies::status()
{
    QFETCH(QString, model);
    QFETCH(QString, line);
    QFETCH(QString, message);
    QFETCH(QString, active);
    QFETCH(QString, lamps);
    g.UnitModel = model;
    MainWindow()->ProgramActive.fill(1);
    m_main->Label22->setText("kept");
    m_main->MonitorState = 2;
    m_main->Link->StatusReady = 0;
    m_main->Link->AnalyzeReply(line);
    QCOMPARE(m_main->Label22->text(), message);
    QString flags;
    for (int a = 0; a < 4; ++a)
        flags += QChar(u'0' + MainWindow()->ProgramActive[a]);
    QCOMPARE(flags, active);
    QString lit;
    for (int a = 0; a < 4; ++a)
        lit += QChar(u'0' + m_main->runLamp(a)->state());
    QCOMPARE(lit, lamps);
    QCOMPARE(m_main->MonitorState, int16_t(3));
    QCOMPARE(m_main->Link->StatusLine, line);
    QCOMPARE(m_main->Link->StatusReady, int16_t(1));
}

void TestReplies::ignoredLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("lower-case head") << wordsLine("spd", 1, 2, 3, 4);
    QTest::newRow("speed change reply") << "SCI 38400\r";
    QTest::newRow("unknown head") << "XYZ 00000001\r";
    QTest::newRow("empty line") << "\r";
    QTest::newRow("noise") << QString("\x01\xFF\x7F") + QChar(0) + "\r";
}

void TestReplies::ignoredLines()
{
    QFETCH(QString, line);
    m_main->Link->ReplyLine = "r";
    m_main->Link->IxsReplyLine = "i";
    m_main->Link->StatusLine = "s";
    m_main->Link->AnalyzeReply(line);
    QCOMPARE(boxTexts(), QStringList(12, kUnchanged));
    QCOMPARE(m_main->Link->ReplyLine, QStringLiteral("r"));
    QCOMPARE(m_main->Link->IxsReplyLine, QStringLiteral("i"));
    QCOMPARE(m_main->Link->StatusLine, QStringLiteral("s"));
    QCOMPARE(g.UnitModel, QStringLiteral("4"));
}

// Smoke fuzz: random bytes (and random bytes behind real heads) through the
// line assembly and the parser never crash, and whatever a box shows is a
// number the parser wrote.
void TestReplies::randomBytes()
{
    auto *io = new frmIo;
    Q_UNUSED(io);
    QRandomGenerator rng(20261210);
    const QStringList heads = {"SPD", "POS", "VER", "VAR", "IDC", "INR", "OUT", "INP", "IXR", "PRX"};
    LineAssembler assembler;
    QString buffer;
    QRegularExpression number(QStringLiteral("^(#|-?\\d+(\\.\\d+)?| \\d+)$"));
    for (int round = 0; round < 3000; ++round) {
        g.UnitModel = (round % 2) ? "2" : "4";
        QString chunk;
        if (round % 3 == 0)
            chunk = heads[rng.bounded(int(heads.size()))] + u' ';
        const int n = int(rng.bounded(60));
        for (int i = 0; i < n; ++i)
            chunk += QChar(rng.bounded(256));
        if (rng.bounded(4) == 0)
            chunk += u'\r';
        for (QChar c : chunk) {
            QString line;
            if (assembler.feed(c, buffer, &line))
                m_main->Link->DispatchReply(line);
        }
        QVERIFY(buffer.size() <= kMaxLineLength);
    }
    for (const QString &t : boxTexts())
        QVERIFY2(number.match(t).hasMatch(), qPrintable(t));
    QVERIFY(g.UnitModel == u"2" || g.UnitModel == u"4");
}

QTEST_MAIN(TestReplies)
#include "test_replies.moc"
