// The settings file: writing and reading give the same state, the shorter
// layouts load, damaged files load what they can, and closing always ends.

#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmMain.h"
#include "platform/AppInfo.h"
#include "platform/MSComm.h"
#include "mainwin/frmIo.h"
#include "shared/Shared.h"
#include "transfer/InstructionCodec.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QtTest>

namespace {
int endCalls = 0;
void countEnd() { ++endCalls; }

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray data;
    for (const QString &l : lines)
        data += l.toLatin1() + "\r\n";
    return data;
}

void writeBytes(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

void writeLines(const QString &path, const QStringList &lines)
{
    writeBytes(path, fileBytes(lines));
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A sound file with "line:value" replacements (lines from 1), cut after
// `keep` lines unless it is -1.
QStringList damagedLines(const QStringList &sound, const QStringList &damage, int keep)
{
    QStringList lines = sound;
    for (const QString &d : damage) {
        const qsizetype colon = d.indexOf(u':');
        lines[d.left(colon).toInt() - 1] = d.mid(colon + 1);
    }
    return keep >= 0 ? lines.mid(0, keep) : lines;
}

// Bytes of every value, seeded so a failure can be repeated; with
// `lineBreaks`, a line break follows every few bytes.
QByteArray randomBytes(int size, bool lineBreaks)
{
    QRandomGenerator gen(20240611);
    QByteArray data;
    while (data.size() < size) {
        data += char(gen.bounded(256));
        if (lineBreaks && gen.bounded(8) == 0)
            data += "\r\n";
    }
    return data;
}

// A store with a value in every kind of slot.
void fillStore()
{
    for (int i = 0; i < 50; ++i)
        SettingFlags[i] = int16_t(i % 3 == 0 ? -i : i);
    for (int i = 6; i <= 13; ++i)   // check boxes: 0, 1 or 2
        SettingFlags[i] = int16_t(i % 3);
    for (int a = 0; a < kAxes; ++a)
        for (int e = 0; e < kAxisEntries; ++e)
            g.AxisEntryText[a][e] = e % 7 ? QStringLiteral("%1,%2 x").arg(a).arg(e) : QString();
    for (int a = 0; a < kAxes; ++a) {
        g.AxisEntryText[a][0] = QString::number(1000 * (a + 1));   // amount in pulses
        g.AxisEntryText[a][1] = QString::number(100 * (a + 1));    // manual speed
    }
    for (int i = 0; i < kIoTitles; ++i)
        frmIo::IoTitle[i] = FitTitle(QStringLiteral("T%1").arg(i));
    frmIo::IoTitle[5] = QStringLiteral("Say \"hi\"  ");
    g.ScaleSel = {1, 2, 3, 0};
    for (int a = 0; a < kAxes; ++a)
        for (int u = 0; u < kUnitCodes; ++u)
            g.ScaleFactor[u][a] = QStringLiteral("1");
    g.ScaleFactor[1][0] = QStringLiteral("0.001");
    g.ScaleFactor[2][1] = QStringLiteral("12.5");
    g.ScaleFactor[3][2] = QStringLiteral("0.0254");
    g.ExtendedCmdSet = 1;
}
} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void roundTrip();
    void titlesBeforeRead();
    void numberForms();
    void factorRead_data();
    void factorRead();
    void layouts_data();
    void layouts();
    void damaged_data();
    void damaged();
    void quotedValues_data();
    void quotedValues();
    void appliedToWindow();
    void savedFromWindow();
    void nameMatchedWithoutCase();
    void writeFailureStillEnds();
    void damagedFileApplied();
    void damagedFileKeptAtExit_data();
    void damagedFileKeptAtExit();
    void backupFailureKeepsOldFile();

private:
    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestSettings::init()
{
    ResetProgramState();
    SetStartValues();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    endCalls = 0;
    SetEndProgramHook(countEnd);
}

void TestSettings::cleanup()
{
    SetEndProgramHook(nullptr);
    delete m_dialogs;
    delete m_home;
}

// Before the settings file is read every title is ten characters of code 0.
void TestSettings::titlesBeforeRead()
{
    frmIo::ResetWorkingValues();
    QCOMPARE(frmIo::IoTitle[0], QString(10, QChar(0)));
}

void TestSettings::roundTrip()
{
    fillStore();
    const QStringList lines = SettingsLines(450);
    QCOMPARE(lines.size(), kSettingsLines);
    const SharedState before = g;
    const auto flagsBefore = SettingFlags;
    const auto titlesBefore = frmIo::IoTitle;
    ResetProgramState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QVERIFY(!r.damaged());
    QCOMPARE(r.linesPresent, kSettingsLines);
    QCOMPARE(r.period, std::optional<int>(450));
    QCOMPARE(SettingFlags, flagsBefore);
    QCOMPARE(g.AxisEntryText, before.AxisEntryText);
    QCOMPARE(frmIo::IoTitle, titlesBefore);
    QCOMPARE(g.ScaleSel, before.ScaleSel);
    QCOMPARE(g.ScaleFactor, before.ScaleFactor);
    QCOMPARE(g.ExtendedCmdSet, int16_t(1));
}

void TestSettings::numberForms()
{
    fillStore();
    g.ScaleFactor[4][0] = QStringLiteral("0");      // never a usable factor
    g.ScaleFactor[5][0] = QStringLiteral("-2");
    g.ScaleFactor[6][0] = QString();                 // never set
    SettingFlags[14] = 12;
    const QStringList lines = SettingsLines(300);
    QCOMPARE(lines[14], QStringLiteral("12"));
    QCOMPARE(lines[57], QStringLiteral("\"\""));
    QCOMPARE(lines[518], QStringLiteral("\" 300\""));
    QCOMPARE(lines[519], QStringLiteral("\" 1\""));
    QCOMPARE(lines[523], QStringLiteral("\" 1\""));       // X, unit 0
    QCOMPARE(lines[524], QStringLiteral("\" .001\""));    // X, unit 1
    QCOMPARE(lines[527], QStringLiteral("\"1\""));
    QCOMPARE(lines[528], QStringLiteral("\"1\""));
    QCOMPARE(lines[529], QStringLiteral("\"1\""));
    QCOMPARE(lines[455], QStringLiteral("\"Say \"hi\"  \""));
    ResetProgramState();
    SetStartValues();
    ReadSettingsLines(lines);
    QCOMPARE(g.ScaleFactor[1][0], QStringLiteral("0.001"));
    QCOMPARE(g.ScaleFactor[4][0], QStringLiteral("1"));
}

void TestSettings::factorRead_data()
{
    QTest::addColumn<QString>("value");    // the factor of X in mm as the file holds it
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("word");     // INC 10 (mm) of X as the encoder builds it
    QTest::newRow("half") << "\" .5\"" << "0.5" << "00000014";
    QTest::newRow("negative") << "\"-2\"" << "1" << "0000000A";
    QTest::newRow("zero") << "\" 0\"" << "1" << "0000000A";
    QTest::newRow("letters") << "\"abc\"" << "1" << "0000000A";
    QTest::newRow("number then letters") << "\"2abc\"" << "1" << "0000000A";
    QTest::newRow("empty") << "\"\"" << "1" << "0000000A";
    QTest::newRow("too large for a double") << "\" 1E+400\"" << "1" << "0000000A";
    QTest::newRow("too large for a pulse count") << "\" 1E+302\"" << "1" << "0000000A";
    QTest::newRow("too small for a double") << "\" ." + QString(330, '0') + "1\"" << "1" << "0000000A";
}

// A value the factor reader refuses never reaches the codec: the axis keeps
// its start factor, and reading goes on.
void TestSettings::factorRead()
{
    QFETCH(QString, value);
    QFETCH(QString, stored);
    QFETCH(QString, word);
    fillStore();
    QStringList lines = SettingsLines(300);
    lines[524] = value;   // X, unit code 1
    ResetProgramState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QCOMPARE(r.badLines, stored == u"1" ? QList<int>{525} : QList<int>{});
    QCOMPARE(int(g.ScaleSel[0]), 1);
    QCOMPARE(g.ScaleFactor[1][0], stored);
    QCOMPARE(g.ScaleFactor[2][1], QStringLiteral("12.5"));   // the next ones still read
    const auto w = EncodeForAxis(UnitKind::FourAxis, {"INC", "10", "", ""}, 0);
    QVERIFY(w);
    QCOMPARE(w->text, word);
}

void TestSettings::layouts_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unitX");
    QTest::addColumn<QString>("factorX1");
    QTest::addColumn<int>("extended");
    QTest::newRow("519 values") << 519 << 0 << "1" << 0;
    QTest::newRow("523 values") << 523 << 1 << "1" << 0;
    QTest::newRow("551 values") << 551 << 1 << "0.001" << 0;
    QTest::newRow("552 values") << 552 << 1 << "0.001" << 1;
}

void TestSettings::layouts()
{
    QFETCH(int, count);
    QFETCH(int, unitX);
    QFETCH(QString, factorX1);
    QFETCH(int, extended);
    fillStore();
    const QStringList lines = SettingsLines(300).mid(0, count);
    ResetProgramState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QVERIFY(!r.damaged());
    QCOMPARE(r.linesPresent, count);
    QCOMPARE(r.period, std::optional<int>(300));
    QCOMPARE(int(g.ScaleSel[0]), unitX);
    QCOMPARE(g.ScaleFactor[1][0], factorX1);
    QCOMPARE(int(g.ExtendedCmdSet), extended);
}

void TestSettings::damaged_data()
{
    QTest::addColumn<QStringList>("damage");   // "line:value", lines from 1
    QTest::addColumn<int>("keep");             // lines left in the file, -1 for all
    QTest::addColumn<QList<int>>("bad");
    QTest::addColumn<bool>("cutShort");
    using L = QList<int>;
    QTest::newRow("flag not a number") << QStringList{"2:abc"} << -1 << L{2} << false;
    QTest::newRow("flags outside 16 bits") << QStringList{"4:40000", "30:-32769"} << -1 << L{4, 30} << false;
    QTest::newRow("check box item outside 0 to 2") << QStringList{"8:3", "12:-1"} << -1 << L{8, 12} << false;
    QTest::newRow("amount in pulses not a number")
        << QStringList{"51:\"1,5\"", "151:\"x\""} << -1 << L{51, 151} << false;
    QTest::newRow("manual speed refused by its box")
        << QStringList{"52:\"8001\"", "252:\"fast\""} << -1 << L{52, 252} << false;
    QTest::newRow("manual speed with a fraction") << QStringList{"152:\" 13.5\""} << -1 << L{152} << false;
    QTest::newRow("period not a number") << QStringList{"519:\"abc\""} << -1 << L{519} << false;
    QTest::newRow("period beyond the timer") << QStringList{"519:\" 70000\""} << -1 << L{519} << false;
    QTest::newRow("unit code outside the table, outside 16 bits")
        << QStringList{"520:\" 7\"", "521:\" 99999\""} << -1 << L{520, 521} << false;
    // Codes 4..6 have factors but no name: no label, option or data file
    // could show them.
    QTest::newRow("unit code without a name")
        << QStringList{"522:\" 4\"", "523:\" 6\""} << -1 << L{522, 523} << false;
    QTest::newRow("factors 0, negative, text, too large")
        << QStringList{"525:\" 0\"", "533:\"-2\"", "541:\"x\"", "545:\" 1E+308\""} << -1
        << L{525, 533, 541, 545} << false;
    QTest::newRow("extension flag not a number") << QStringList{"552:x"} << -1 << L{552} << false;
    QTest::newRow("bad values throughout")
        << QStringList{"2:x", "51:x", "519:x", "522:x", "525:x", "552:x"} << -1
        << L{2, 51, 519, 522, 525, 552} << false;
    QTest::newRow("empty") << QStringList{} << 0 << L{} << true;
    QTest::newRow("cut after line 1") << QStringList{} << 1 << L{} << true;
    QTest::newRow("cut after the flags") << QStringList{} << 50 << L{} << true;
    QTest::newRow("cut within the axis texts") << QStringList{} << 200 << L{} << true;
    QTest::newRow("cut before the period") << QStringList{} << 518 << L{} << true;
    QTest::newRow("cut and a bad value") << QStringList{"3:x"} << 100 << L{3} << true;
    QTest::newRow("older layout of 519 lines") << QStringList{} << 519 << L{} << false;
    QTest::newRow("cut within the factors") << QStringList{} << 530 << L{} << false;
}

void TestSettings::damaged()
{
    QFETCH(QStringList, damage);
    QFETCH(int, keep);
    QFETCH(QList<int>, bad);
    QFETCH(bool, cutShort);
    fillStore();
    const QStringList sound = SettingsLines(450);
    const QStringList lines = damagedLines(sound, damage, keep);
    ResetProgramState();
    SetStartValues();
    const QStringList start = SettingsLines(300);
    const SettingsReadResult r = ReadSettingsLines(lines);
    QCOMPARE(r.badLines, bad);
    QCOMPARE(r.cutShort(), cutShort);
    QCOMPARE(r.damaged(), cutShort || !bad.isEmpty());
    // Every line understood gives its value; a bad or missing one leaves its
    // start value, whatever came before it.
    const QStringList now = SettingsLines(r.period.value_or(300));
    for (int i = 0; i < kSettingsLines; ++i) {
        const bool lost = bad.contains(i + 1) || (keep >= 0 && i >= keep);
        const QString &want = lost ? start[i] : sound[i];
        QVERIFY2(now[i] == want, qPrintable(QStringLiteral("line %1: %2, want %3").arg(i + 1).arg(now[i], want)));
    }
}

void TestSettings::quotedValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("quoted") << "\"abc\"" << "abc";
    QTest::newRow("empty quoted") << "\"\"" << "";
    QTest::newRow("quote inside") << "\"a\"b\"" << "a\"b";
    QTest::newRow("comma inside") << "\"1,5\"" << "1,5";
    QTest::newRow("unterminated") << "\"abc" << "abc";
    QTest::newRow("plain with blanks") << "  12 " << "12";
    QTest::newRow("blank before quote") << " \" 300\"" << " 300";
}

void TestSettings::quotedValues()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    QCOMPARE(SettingsValue(line), value);
}

void TestSettings::appliedToWindow()
{
    fillStore();
    SettingFlags.fill(0);
    SettingFlags[1] = 1;      // Continuous
    SettingFlags[3] = 1;      // +/- 1 ...
    SettingFlags[5] = 1;      // ... and +/- 100: the later one stands
    SettingFlags[6] = 1;
    SettingFlags[9] = 2;
    SettingFlags[12] = 1;
    SettingFlags[14] = 12;
    SettingFlags[16] = 1;     // Com2
    SettingFlags[24] = 1;     // Com5
    SettingFlags[18] = 1;     // 19200BPS
    SettingFlags[21] = 1;     // Program
    g.AxisEntryText[0][0] = "1000";
    g.AxisEntryText[1][0] = "";
    g.AxisEntryText[0][1] = "1200";
    g.AxisEntryText[1][1] = "";
    g.ScaleSel = {1, 0, 0, 0};
    writeLines(m_home->file("ZT260.Tsx"), SettingsLines(250));
    ResetProgramState();
    SetStartValues();

    frmMain w;
    w.LoadSettings();
    QCOMPARE(w.Timer1->interval(), 250);
    QVERIFY(w.Option2->isChecked() && !w.Option1->isChecked() && !w.Option3->isChecked());
    QVERIFY(w.Option6->isChecked() && !w.Option4->isChecked());
    QCOMPARE(w.HomeAxisX->checkState(), Qt::Checked);
    QCOMPARE(w.HomeAxisU->checkState(), Qt::PartiallyChecked);
    QCOMPARE(w.PrgAxisZ->checkState(), Qt::Checked);
    QCOMPARE(w.RegNo->text(), QStringLiteral(" 12"));
    QVERIFY(!w.mnuComItem[0]->isChecked());
    QVERIFY(w.mnuComItem[1]->isChecked() && w.mnuComItem[4]->isChecked());
    QVERIFY(w.mnuBPS[1]->isChecked() && !w.mnuBPS[2]->isChecked());
    QVERIFY(w.Option13->isChecked() && !w.Option12->isChecked());
    QCOMPARE(w.Text9->text(), QStringLiteral("1"));      // 1000 pulses at 0.001
    QCOMPARE(w.Text10->text(), QStringLiteral("0"));
    QCOMPARE(w.Text13->text(), QStringLiteral("1200"));
    QCOMPARE(w.Text14->text(), QStringLiteral("0"));
}

void TestSettings::savedFromWindow()
{
    frmMain w;
    SettingFlags[40] = -7;    // carried unchanged
    w.Option3->setChecked(true);
    w.PrgAxisY->setChecked(true);
    w.RegNo->setText("12");
    w.mnuComItem[0]->setChecked(false);
    w.mnuComItem[2]->setChecked(true);
    w.Timer1->setInterval(500);
    w.SaveSettings();
    QCOMPARE(endCalls, 1);
    QVERIFY(!w.MSComm1->PortOpen());

    QStringList lines;
    QVERIFY(ReadSettingsFile(&lines));
    QCOMPARE(lines.size(), kSettingsLines);
    QCOMPARE(lines[2], QStringLiteral("1"));
    QCOMPARE(lines[11], QStringLiteral("1"));
    QCOMPARE(lines[14], QStringLiteral("12"));
    QCOMPARE(lines[15], QStringLiteral("0"));
    QCOMPARE(lines[22], QStringLiteral("1"));
    QCOMPARE(lines[40], QStringLiteral("-7"));
    QCOMPARE(lines[518], QStringLiteral("\" 500\""));
    QVERIFY(QDir(m_home->path()).entryList(QDir::Files).size() == 1);   // no temporary file left
}

void TestSettings::nameMatchedWithoutCase()
{
    fillStore();
    writeLines(m_home->file("zt260.TSX"), SettingsLines(777));
    ResetProgramState();
    SetStartValues();
    frmMain w;
    w.LoadSettings();
    QCOMPARE(w.Timer1->interval(), 777);
    w.SaveSettings();
    // The one file is rewritten in place, whatever its spelling.
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), QStringList{"zt260.TSX"});
}

void TestSettings::writeFailureStillEnds()
{
    // A folder in the way of the file: the write fails.
    QVERIFY(QDir(m_home->path()).mkdir("ZT260.Tsx"));
    frmMain w;
    w.SaveSettings();
    QCOMPARE(m_dialogs->shown().size(), 1);
    QVERIFY(m_dialogs->shown()[0].text.contains("could not be saved"));
    QCOMPARE(endCalls, 1);
}

void TestSettings::damagedFileApplied()
{
    fillStore();
    SettingFlags.fill(0);
    SettingFlags[1] = 1;      // Continuous, on a line made bad
    SettingFlags[2] = 1;      // Preset
    SettingFlags[16] = 1;     // Com2
    SettingFlags[17] = 1;     // 38400BPS
    const QStringList lines = damagedLines(SettingsLines(250), {"2:x", "16:?", "519:\"abc\""}, -1);
    writeLines(m_home->file("ZT260.Tsx"), lines);
    ResetProgramState();
    SetStartValues();
    frmMain w;
    w.LoadSettings();
    // Sound lines are applied, bad ones leave the window as it was.
    QVERIFY(w.Option3->isChecked() && !w.Option2->isChecked());
    QVERIFY(w.mnuComItem[0]->isChecked() && w.mnuComItem[1]->isChecked());
    QVERIFY(w.mnuBPS[0]->isChecked() && !w.mnuBPS[2]->isChecked());
    QCOMPARE(w.Timer1->interval(), 300);
    QCOMPARE(w.Text9->text(), QStringLiteral("1"));   // 1000 pulses of 0.001 mm
    QCOMPARE(m_dialogs->shown().size(), 1);
    QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral("Error Message"));
    QVERIFY2(m_dialogs->shown()[0].text.contains("ZT260.Tsx that were not understood: 2, 16, 519."),
             qPrintable(m_dialogs->shown()[0].text));
}

void TestSettings::damagedFileKeptAtExit_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("told");   // part of the message; empty for a sound file
    fillStore();
    const QStringList sound = SettingsLines(300);
    QTest::newRow("sound") << fileBytes(sound) << QString();
    QTest::newRow("older layout") << fileBytes(sound.mid(0, 519)) << QString();
    QTest::newRow("bad values") << fileBytes(damagedLines(sound, {"4:40000", "5:x", "6:y", "9:z", "520:\" 9\""}, -1))
                                << "not understood: 4-6, 9, 520.";
    QTest::newRow("cut after line 200") << fileBytes(sound.mid(0, 200)) << "ends after line 200.";
    QTest::newRow("empty") << QByteArray() << "is empty.";
    QTest::newRow("random bytes") << randomBytes(3000, false) << "not understood: 1";
    QTest::newRow("random lines") << randomBytes(6000, true) << "not understood: 1";
    QList<int> every;
    QStringList junk;
    for (int i = 0; i < 50; i += 2) {
        junk << QStringLiteral("%1:x").arg(i + 1);
        every << i + 1;
    }
    QTest::newRow("many bad lines") << fileBytes(damagedLines(sound, junk, -1))
                                    << "not understood: 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23 and 13 more.";
}

void TestSettings::damagedFileKeptAtExit()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, told);
    const QString path = m_home->file("ZT260.Tsx");
    const QString backup = m_home->file("ZT260.Tsx.bak");
    writeBytes(path, file);
    writeBytes(backup, "from an earlier run");
    ResetProgramState();
    SetStartValues();
    frmMain w;
    w.LoadSettings();
    if (told.isEmpty()) {
        QVERIFY(m_dialogs->shown().isEmpty());
    } else {
        QCOMPARE(m_dialogs->shown().size(), 1);
        QVERIFY2(m_dialogs->shown()[0].text.contains(told), qPrintable(m_dialogs->shown()[0].text));
        QVERIFY(m_dialogs->shown()[0].text.contains("kept as ZT260.Tsx.bak"));
    }

    w.SaveSettings();
    QCOMPARE(endCalls, 1);
    QCOMPARE(m_dialogs->shown().size(), told.isEmpty() ? 0 : 1);   // nothing more at exit
    // The old file of a damaged start is kept; a sound one is not copied.
    QCOMPARE(readBytes(backup), told.isEmpty() ? QByteArray("from an earlier run") : file);
    // The new file is whole and sound.
    QStringList written;
    QVERIFY(ReadSettingsFile(&written));
    QCOMPARE(written.size(), kSettingsLines);
    ResetProgramState();
    SetStartValues();
    QVERIFY(!ReadSettingsLines(written).damaged());
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), (QStringList{"ZT260.Tsx", "ZT260.Tsx.bak"}));
}

void TestSettings::backupFailureKeepsOldFile()
{
    const QByteArray file = fileBytes({"1", "x"});
    writeBytes(m_home->file("ZT260.Tsx"), file);
    QVERIFY(QDir(m_home->path()).mkdir("ZT260.Tsx.bak"));   // in the way of the copy
    frmMain w;
    w.LoadSettings();
    m_dialogs->clear();
    w.SaveSettings();
    QCOMPARE(m_dialogs->shown().size(), 1);
    QVERIFY(m_dialogs->shown()[0].text.contains("could not be saved"));
    QCOMPARE(readBytes(m_home->file("ZT260.Tsx")), file);
    QCOMPARE(endCalls, 1);
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
