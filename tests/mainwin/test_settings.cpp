// The settings file: writing and reading give the same state, the shorter
// layouts load, damaged files load what they can, and closing always ends.

#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmMain.h"
#include "platform/AppInfo.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"
#include "transfer/InstructionCodec.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {
int endCalls = 0;
void countEnd() { ++endCalls; }

void writeLines(const QString &path, const QStringList &lines)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QString &l : lines)
        f.write(l.toLatin1() + "\r\n");
}

// A store with a value in every kind of slot.
void fillStore()
{
    for (int i = 0; i < 50; ++i)
        g.SettingFlags[i] = int16_t(i % 3 == 0 ? -i : i);
    for (int a = 0; a < kAxes; ++a)
        for (int e = 0; e < kAxisEntries; ++e)
            g.AxisEntryText[a][e] = e % 7 ? QStringLiteral("%1,%2 x").arg(a).arg(e) : QString();
    for (int i = 0; i < kIoTitles; ++i)
        g.IoTitle[i] = FitTitle(QStringLiteral("T%1").arg(i));
    g.IoTitle[5] = QStringLiteral("Say \"hi\"  ");
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
    void garbageFile();

private:
    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestSettings::init()
{
    ResetSharedState();
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

void TestSettings::roundTrip()
{
    fillStore();
    const QStringList lines = SettingsLines(450);
    QCOMPARE(lines.size(), kSettingsLines);
    const SharedState before = g;
    ResetSharedState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QVERIFY(!r.failed);
    QCOMPARE(r.valuesRead, kSettingsLines);
    QCOMPARE(r.periodText, QStringLiteral(" 450"));
    QCOMPARE(g.SettingFlags, before.SettingFlags);
    QCOMPARE(g.AxisEntryText, before.AxisEntryText);
    QCOMPARE(g.IoTitle, before.IoTitle);
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
    g.SettingFlags[14] = 12;
    const QStringList lines = SettingsLines(300);
    QCOMPARE(lines[14], QStringLiteral("12"));
    QCOMPARE(lines[50], QStringLiteral("\"\""));
    QCOMPARE(lines[518], QStringLiteral("\" 300\""));
    QCOMPARE(lines[519], QStringLiteral("\" 1\""));
    QCOMPARE(lines[523], QStringLiteral("\" 1\""));       // X, unit 0
    QCOMPARE(lines[524], QStringLiteral("\" .001\""));    // X, unit 1
    QCOMPARE(lines[527], QStringLiteral("\"1\""));
    QCOMPARE(lines[528], QStringLiteral("\"1\""));
    QCOMPARE(lines[529], QStringLiteral("\"1\""));
    QCOMPARE(lines[455], QStringLiteral("\"Say \"hi\"  \""));
    ResetSharedState();
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
    ResetSharedState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QVERIFY(!r.failed);
    QCOMPARE(r.valuesRead, kSettingsLines);
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
    ResetSharedState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QVERIFY(!r.failed);
    QCOMPARE(r.valuesRead, count);
    QVERIFY(r.hasPeriod);
    QCOMPARE(int(g.ScaleSel[0]), unitX);
    QCOMPARE(g.ScaleFactor[1][0], factorX1);
    QCOMPARE(int(g.ExtendedCmdSet), extended);
}

void TestSettings::damaged_data()
{
    QTest::addColumn<int>("line");        // index of the damaged value, -1 to cut the file
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("cutAt");
    QTest::addColumn<int>("valuesRead");
    QTest::newRow("flag out of 16 bits") << 3 << "40000" << 0 << 3;
    QTest::newRow("flag not a number") << 0 << "abc" << 0 << 0;
    QTest::newRow("ends within the first 519") << -1 << "" << 200 << 200;
    QTest::newRow("empty file") << -1 << "" << 0 << 0;
    QTest::newRow("unit code out of 16 bits") << 520 << "\" 99999\"" << 0 << 520;
    QTest::newRow("extension flag garbage") << 551 << "x" << 0 << 551;
}

void TestSettings::damaged()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(int, cutAt);
    QFETCH(int, valuesRead);
    fillStore();
    QStringList lines = SettingsLines(300);
    if (line >= 0)
        lines[line] = value;
    else
        lines = lines.mid(0, cutAt);
    ResetSharedState();
    SetStartValues();
    const SettingsReadResult r = ReadSettingsLines(lines);
    QVERIFY(r.failed);
    QCOMPARE(r.valuesRead, valuesRead);
    // What was read before the damage stays; what follows keeps its start value.
    if (valuesRead > 1)
        QCOMPARE(g.SettingFlags[1], int16_t(1));
    if (valuesRead < 519)
        QCOMPARE(g.ScaleSel[0], int16_t(0));
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
    g.SettingFlags.fill(0);
    g.SettingFlags[1] = 1;      // Continuous
    g.SettingFlags[3] = 1;      // +/- 1 ...
    g.SettingFlags[5] = 1;      // ... and +/- 100: the later one stands
    g.SettingFlags[6] = 1;
    g.SettingFlags[9] = 2;
    g.SettingFlags[12] = 1;
    g.SettingFlags[14] = 12;
    g.SettingFlags[16] = 1;     // Com2
    g.SettingFlags[24] = 1;     // Com5
    g.SettingFlags[18] = 1;     // 19200BPS
    g.SettingFlags[21] = 1;     // Program
    g.AxisEntryText[0][0] = "1000";
    g.AxisEntryText[1][0] = "";
    g.AxisEntryText[0][1] = "1200";
    g.AxisEntryText[1][1] = "";
    g.ScaleSel = {1, 0, 0, 0};
    writeLines(m_home->file("ZT260.Tsx"), SettingsLines(250));
    ResetSharedState();
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
    g.SettingFlags[40] = -7;    // carried unchanged
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
    ResetSharedState();
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

void TestSettings::garbageFile()
{
    QStringList lines;
    for (int i = 0; i < 600; ++i)
        lines << QString(i % 5, QChar(0x21 + i % 90));
    writeLines(m_home->file("ZT260.Tsx"), lines);
    frmMain w;
    w.LoadSettings();
    QCOMPARE(w.Timer1->interval(), 300);   // nothing applied after the damage
    w.SaveSettings();
    QStringList written;
    QVERIFY(ReadSettingsFile(&written));
    QCOMPARE(written.size(), kSettingsLines);
    QVERIFY(!ReadSettingsLines(written).failed);
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
