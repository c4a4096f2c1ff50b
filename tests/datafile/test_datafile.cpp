// The data file writer and reader without a window: the writer's bytes for
// both models, failed saves, the reader's rules for values lines, record
// lines and the scale section, damaged files, and round trips.

#include "datafile/DataFileRig.h"
#include "program/ProgramFixture.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/ReplaceFile.h"
#include "shared/Shared.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using Ints = QList<int>;

namespace {

QString file(const QDir &dir, const QString &name)
{
    return dir.filePath(name);
}

bool readOnly(const QString &path)
{
    return !(QFile::permissions(path) & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

// A program fixture for a model, the unit model set to match.
struct Rig {
    explicit Rig(UnitKind kind) : program(kind) { g.UnitModel = ModelText(kind); }
    ProgramFixture program;
    ProgramTable &table() { return program.table; }
    QDir dir() const { return QDir(program.home.path()); }
};

// The fixture loaded cleanly over sentinels gives this state.
DataState FullState(ProgramTable &table)
{
    FillFixtureSetup();
    FillFixtureProgram(table);
    return Capture(table);
}

// Item by item: each is what the file holds or what was there before.
bool EachFromEither(const DataState &now, const DataState &before, const DataState &full, QString *where)
{
    for (int a = 0; a < 4; ++a)
        for (int s = 0; s < 3; ++s)
            for (int i = 0; i < now.sections[a][s].size(); ++i) {
                const QString &v = now.sections[a][s][i];
                if (v != before.sections[a][s][i] && v != full.sections[a][s][i]) {
                    *where = QStringLiteral("axis %1 section %2 item %3 = %4").arg(a).arg(s).arg(i).arg(v);
                    return false;
                }
            }
    for (size_t r = 0; r < now.records.size(); ++r)
        if (now.records[r] != before.records[r] && now.records[r] != full.records[r]) {
            *where = QStringLiteral("register %1 = %2").arg(r).arg(now.records[r].join(u'|'));
            return false;
        }
    if (now.scale != before.scale && now.scale != full.scale) {
        *where = QStringLiteral("scale taken in part: %1").arg(now.scale.join(u'|'));
        return false;
    }
    return true;
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT
private slots:
    void writerMatchesFixture_data();
    void writerMatchesFixture();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

    void valuesLines_data();
    void valuesLines();
    void recordLines_data();
    void recordLines();
    void scaleSection_data();
    void scaleSection();

    void damagedFiles_data();
    void damagedFiles();
    void truncatedAnywhere();
    void roundTrip_data();
    void roundTrip();
    void otherModelsFile_data();
    void otherModelsFile();
    void refusedDatabaseWriteRollsBack();
    void unreadableFile_data();
    void unreadableFile();
    void messageTexts_data();
    void messageTexts();
    void readOnlyOverwriteInterrupted_data();
    void readOnlyOverwriteInterrupted();
};

// ---- writer ---------------------------------------------------------------------

void TestDataFile::writerMatchesFixture_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<int>("lastProgress");
    QTest::newRow("2-axis unit") << UnitKind::TwoAxis << 58;
    QTest::newRow("4-axis unit") << UnitKind::FourAxis << 2004;
}

void TestDataFile::writerMatchesFixture()
{
    QFETCH(UnitKind, kind);
    QFETCH(int, lastProgress);
    Rig rig(kind);
    FillFixtureSetup();
    FillFixtureProgram(rig.table());
    const QString path = file(rig.dir(), "setup.zqd");

    Ints progress;
    const auto failed = SaveDataFile(path, FixtureTime(), [&](int v) { progress << v; });
    QVERIFY2(!failed, qPrintable(failed.value_or(QString())));
    const QByteArray written = FileBytes(path);
    const QByteArray expected = FixtureBytes(kind);
    // The first differing line makes a failure readable.
    const QList<QByteArray> w = written.split('\n'), e = expected.split('\n');
    for (int i = 0; i < qMin(w.size(), e.size()); ++i)
        QVERIFY2(w[i] == e[i], qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(QString::fromLatin1(w[i]))));
    QCOMPARE(written, expected);
    QCOMPARE(progress.last(), lastProgress);
    QCOMPARE(progress.size(), lastProgress);
    QVERIFY(readOnly(path));
    // Nothing else was left beside it.
    QCOMPARE(rig.dir().entryList(QDir::Files), QStringList{"setup.zqd"});

    // A second save onto the read-only file replaces it and leaves it read-only.
    g.ParamTable[0][0] = "501";
    QVERIFY(!SaveDataFile(path, FixtureTime()));
    QVERIFY(FileBytes(path).contains("\r\n501, 8000, 1, "));
    QVERIFY(readOnly(path));
}

void TestDataFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("told");
    QTest::newRow("disk full") << "disk full" << "bytes could be written; the disk may be full";
    QTest::newRow("program database missing") << "database missing" << "is missing";
    QTest::newRow("double quote in a comment") << "X_CMT 7 say \"hi\"" << "Register 7 (X_CMT) holds a double quote";
    QTest::newRow("line break in data") << "U_DAT 0 1\n2" << "Register 0 (U_DAT) holds a line break";
    QTest::newRow("character outside the file's set")
        << QStringLiteral("Y_CMT 53 \u4e2d") << QStringLiteral("Register 53 (Y_CMT) holds the character \"\u4e2d\"");
    QTest::newRow("comma in a parameter") << "param 1 0 1,5" << "The parameter RAT of the Y axis holds a comma";
    QTest::newRow("quote in item 13") << "param 3 13 \"" << "The parameter item 13 of the U axis holds a double quote";
}

void TestDataFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, damage);
    QFETCH(QString, told);
    Rig rig(UnitKind::TwoAxis);
    FillFixtureSetup();
    FillFixtureProgram(rig.table());
    const QString path = file(rig.dir(), "kept.zqd");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    std::optional<QString> failed;
    const QStringList parts = damage.split(u' ');
    if (damage == u"disk full") {
        // Writes beyond a few bytes fail, as on a full disk.
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
        failed = SaveDataFile(path, FixtureTime());
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(failed);
        QVERIFY2(failed->startsWith(QStringLiteral("The data file %1 cannot be written: only ")
                                        .arg(QDir::toNativeSeparators(path))),
                 qPrintable(*failed));
    } else {
        if (damage == u"database missing") {
            const QString db = rig.table().FilePath();
            CloseProgramTables();
            QVERIFY(QFile::remove(db));
        } else if (parts[0] == u"param") {
            g.ParamTable[parts[1].toInt()][parts[2].toInt()] = parts[3];
        } else {
            const int field = int(ProgramFieldNames().indexOf(parts[0]));
            QStringList rec = *rig.table().Record(parts[1].toInt());
            rec[field] = damage.section(u' ', 2);
            QVERIFY(rig.table().WriteRecord(parts[1].toInt(), rec));
        }
        failed = SaveDataFile(path, FixtureTime());
    }
    QVERIFY(failed);
    QVERIFY2(failed->contains(told), qPrintable(*failed));
    QVERIFY(failed->contains("the old file is kept as it was"));
    QCOMPARE(FileBytes(path), QByteArray("old contents\r\n"));
    QVERIFY(readOnly(path));
    QCOMPARE(rig.dir().entryList(QDir::Files), QStringList{"kept.zqd"});
}

// ---- reader: the parts of a file --------------------------------------------------

namespace {
const QString kModeLine = "1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1";
const QString kHomeLine = "1, 1, 0, 0, 2, 0, 1, 1, 2, 0, 1, 1, 0, 0, 0, 3";
const QString kParamLine = "500, 8000, 1, 1234, 1236, 300, 12, 65535, 4096, 10, 2, 7999, -1000, 77";

QStringList block(const QString &heading, const QString &mode, const QString &home, const QString &param)
{
    return {"", "", heading, "# MODE", mode, "", "# HOME SEARCH", home, "", "# PARAMETER", param, ""};
}

// The items of a section as read; "~" for an item the file did not give.
QStringList itemsOf(const AxisValues &v, int section)
{
    QStringList out;
    auto add = [&](const auto &items) {
        for (const auto &i : items) {
            if (!i)
                out << "~";
            else if constexpr (std::is_same_v<std::decay_t<decltype(*i)>, QString>)
                out << *i;
            else
                out << QString::number(*i);
        }
    };
    if (section == 0)
        add(v.mode);
    else if (section == 1)
        add(v.home);
    else
        add(v.param);
    return out;
}
} // namespace

void TestDataFile::valuesLines_data()
{
    QTest::addColumn<int>("section");   // 0 MODE, 1 HOME SEARCH, 2 PARAMETER
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("stops");   // the block stops here: told, later sections not read

    const QStringList none(11, "~");
    QTest::newRow("MODE as written") << 0 << kModeLine << kModeLine.split(", ") << false;
    QTest::newRow("MODE last item 12") << 0 << "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12"
                                       << QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "12"} << false;
    QTest::newRow("MODE rounding, letters, empty")
        << 0 << "1.5, 2.5, 7xy, xy, , -0.5, 3.5, 1e1, -1,0,-32768.5"
        << QStringList{"2", "2", "7", "0", "0", "0", "4", "10", "-1", "0", "-32768"} << false;
    // Blanks, tabs and line feeds inside a number do not end it.
    QTest::newRow("MODE blanks and tabs inside numbers")
        << 0 << " 1 2, 1\t2, \t7 , - 4, 1 . 5, 3\n2, 0, 0, 0, 0, 1 0"
        << QStringList{"12", "12", "7", "-4", "2", "32", "0", "0", "0", "0", "10"} << false;
    QTest::newRow("HOME SEARCH blanks and tabs inside numbers")
        << 1 << "1 1, 1\t1, 0, 0, 2, 0, 1, 1, 2, 0, 1, 1, 0, 0, 0, 3 2 7 6 8"
        << QStringList{"11", "11", "0", "0", "2", "0", "1", "1", "2", "0", "1", "1", "0", "0", "0", "32768"}.mid(0, 15)
               + QStringList{"~"}
        << true;
    QTest::newRow("MODE surplus items ignored") << 0 << kModeLine + ", 9, 9" << kModeLine.split(", ") << false;
    QTest::newRow("MODE short line") << 0 << "1, 1, 1" << QStringList{"1", "1", "1"} + QStringList(8, "~") << true;
    QTest::newRow("MODE comma at the end") << 0 << "1, 1, 1, 1, 1, 1, 1, 1, 1, 1,"
                                           << QStringList(10, "1") + QStringList{"~"} << true;
    QTest::newRow("MODE empty line") << 0 << "" << none << true;
    QTest::newRow("MODE item out of range") << 0 << "1, 2, 3, 32767.5, 5, 6, 7, 8, 9, 10, 11"
                                            << QStringList{"1", "2", "3"} + QStringList(8, "~") << true;
    QTest::newRow("HOME SEARCH as written") << 1 << kHomeLine << kHomeLine.split(", ") << false;
    QTest::newRow("HOME SEARCH short") << 1 << kModeLine << kModeLine.split(", ") + QStringList(5, "~") << true;
    QTest::newRow("PARAMETER blanks")
        << 2 << "  200 , 8000, 1, 1234, 1236, 300, 12, 65535, 4096, 10, 2, 7999, -1000,  123"
        << QStringList{"200 ", "8000", "1", "1234", "1236", "300", "12", "65535", "4096", "10", "2", "7999", "-1000", "123"}
        << false;
    QTest::newRow("PARAMETER all empty") << 2 << ", , , , , , , , , , , , , " << QStringList(14, "") << false;
    QTest::newRow("PARAMETER short") << 2 << "1, 2" << QStringList{"1", "2"} + QStringList(12, "~") << true;
    QTest::newRow("PARAMETER lone line feeds")
        << 2 << "\n500, 80\n00, 1, 1234, 1236, 300, 12, 65535, 4096, 10, 2, 7999, -1000, 77\n"
        << kParamLine.split(", ") << false;
}

void TestDataFile::valuesLines()
{
    QFETCH(int, section);
    QFETCH(QString, line);
    QFETCH(QStringList, items);
    QFETCH(bool, stops);
    QStringList lines{kModeLine, kHomeLine, kParamLine};
    lines[section] = line;
    const QByteArray bytes = FileOf(block("# X axis", lines[0], lines[1], lines[2])
                                    + block("# Y axis", kModeLine, kHomeLine, kParamLine));
    const DataFileContent c = ParseDataFile(bytes, UnitKind::FourAxis);

    QCOMPARE(itemsOf(c.axes[0], section), items);
    // The sections before it are read whole; after a stop the later ones are not.
    for (int s = 0; s < 3; ++s) {
        if (s == section)
            continue;
        const bool read = s < section || !stops;
        QCOMPARE(itemsOf(c.axes[0], s), read ? lines[s].split(", ") : QStringList(s == 1 ? 16 : 14, "~"));
    }
    // The next block is never taken for the rest of this one.
    QCOMPARE(itemsOf(c.axes[1], 0), kModeLine.split(", "));
    QCOMPARE(itemsOf(c.axes[1], 2), kParamLine.split(", "));
    const QStringList told = c.notLoaded.filter("X axis");
    QCOMPARE(told.size(), stops ? 1 : 0);
}

void TestDataFile::recordLines_data()
{
    QTest::addColumn<QStringList>("lines");   // in place of register 1's line
    QTest::addColumn<QString>("reg1Comment"); // X_CMT register 1 takes; "~" none
    QTest::addColumn<bool>("restLoaded");     // registers 2..53 take their lines
    QTest::addColumn<bool>("told");

    QStringList fields{"1", "MOV", "5", "1", "0", "a, b \u00e9", "", "", "", "", "", "1", "", "", "", "", "", "", "", "", "", ""};
    QTest::newRow("whole line, comma in a comment") << QStringList{RecordLine(fields)} << "a, b \u00e9" << true << false;
    QTest::newRow("text outside the quotes")
        << QStringList{RecordLine(fields).replace("\"1\", \"MOV\"", "\"1\" x , \"MOV\"")} << "a, b \u00e9" << true << false;
    QTest::newRow("no comma between two fields")
        << QStringList{RecordLine(fields).replace("\"1\", \"MOV\"", "\"1\" \"MOV\"")} << "~" << true << true;
    // The record line with one field changed.
    auto with = [&](int field, const QString &text) {
        QStringList f = fields;
        f[field] = text;
        return RecordLine(f);
    };
    QTest::newRow("Reg1 with a leading zero") << QStringList{with(0, "01")} << "a, b \u00e9" << true << false;
    QTest::newRow("Reg1 between blanks") << QStringList{with(0, " 1 ")} << "a, b \u00e9" << true << false;
    QTest::newRow("line without quotes") << QStringList{""} << "~" << true << true;
    QTest::newRow("21 fields") << QStringList{RecordLine(fields.mid(0, 21))} << "~" << true << true;
    QString unclosed = RecordLine(fields);
    unclosed.chop(1);
    QTest::newRow("unclosed quote") << QStringList{unclosed} << "~" << true << true;
    QTest::newRow("double quote in a comment") << QStringList{with(5, "say \"hi\" now")} << "~" << true << true;
    QTest::newRow("lone line feed in a field") << QStringList{with(10, "a\nb")} << "~" << true << true;
    QTest::newRow("line missing") << QStringList{} << "~" << false << true;
    QTest::newRow("line added") << QStringList{GoodRecord(0), RecordLine(fields)} << "~" << false << true;
    QTest::newRow("Reg1 no number") << QStringList{with(0, "x")} << "~" << false << true;
}

void TestDataFile::recordLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, reg1Comment);
    QFETCH(bool, restLoaded);
    QFETCH(bool, told);
    QStringList file{"# PROGRAM", GoodRecord(0)};
    file << lines;
    for (int reg = 2; reg <= 53; ++reg)
        file << GoodRecord(reg);
    const DataFileContent c = ParseDataFile(FileOf(file), UnitKind::TwoAxis);

    QCOMPARE(c.records.size(), size_t(54));
    QVERIFY(c.records[0]);
    QCOMPARE(c.records[0]->at(5), QString("c0"));
    QCOMPARE(c.records[1] ? c.records[1]->at(5) : QString("~"), reg1Comment);
    for (int reg = 2; reg <= 53; ++reg) {
        QCOMPARE(c.records[size_t(reg)].has_value(), restLoaded);
        if (restLoaded)
            QCOMPARE(*c.records[size_t(reg)], QStringList(GoodRecord(reg).mid(1).chopped(1).split("\", \"")));
    }
    QCOMPARE(c.notLoaded.filter("PROGRAM").size(), told ? 1 : 0);
}

void TestDataFile::scaleSection_data()
{
    QTest::addColumn<QStringList>("lines");   // after "# SCALE"
    QTest::addColumn<bool>("taken");

    QStringList good{"\"1\"", "\"0\"", "\"2\"", "\"3\""};
    for (int i = 0; i < 24; ++i)
        good << (i == 1 ? "\"0.001\"" : "\"1\"");
    auto with = [&](int line, const QString &text) {
        QStringList l = good;
        l[line] = text;
        return l;
    };
    QTest::newRow("as written") << good << true;
    QTest::newRow("value then other text") << with(2, "\"2\" old") << true;
    QTest::newRow("factor in exponent form") << with(27, "\"1E-3\"") << true;
    QTest::newRow("unit code 4") << with(0, "\"4\"") << false;
    QTest::newRow("unit code -1") << with(3, "\"-1\"") << false;
    QTest::newRow("unit code 1.5") << with(1, "\"1.5\"") << false;
    QTest::newRow("unit code no number") << with(1, "\"mm\"") << false;
    QTest::newRow("factor 0") << with(5, "\"0\"") << false;
    QTest::newRow("factor negative") << with(10, "\"-0.5\"") << false;
    QTest::newRow("factor no number") << with(27, "\"abc\"") << false;
    QTest::newRow("factor empty") << with(4, "\"\"") << false;
    QTest::newRow("no closing quote") << with(9, "\"1") << false;
    QTest::newRow("section ends at a marker") << good.mid(0, 10) + QStringList{"# PROGRAM"} << false;
    QTest::newRow("file ends inside") << good.mid(0, 27) << false;
    // A line repeated inside the section would move every later value one
    // place: at its start, in its middle, at its end.
    auto repeated = [&](int line) {
        QStringList l = good;
        l.insert(line, good[line]);
        return l;
    };
    QTest::newRow("first unit line repeated") << repeated(0) << false;
    QTest::newRow("factor line repeated in the middle") << repeated(13) << false;
    QTest::newRow("last factor line repeated") << repeated(27) << false;
    QTest::newRow("two lines added") << repeated(27) + QStringList{"\"1\""} << false;
    // Every unit 0, as a new program saves it: a unit line repeated moves a
    // "0" into the first factor's place.
    QStringList pulses = good;
    for (int i = 0; i < 4; ++i)
        pulses[i] = "\"0\"";
    QTest::newRow("unit line repeated, every unit 0") << QStringList{pulses[0]} + pulses << false;
    QTest::newRow("empty lines after it") << good + QStringList{"", " "} << true;
    QTest::newRow("a marker after it") << good + QStringList{"# PROGRAM"} << true;
}

void TestDataFile::scaleSection()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, taken);
    const DataFileContent c = ParseDataFile(FileOf(QStringList{"# SCALE"} + lines), UnitKind::FourAxis);
    QCOMPARE(c.scale.has_value(), taken);
    QCOMPARE(c.notLoaded.filter("SCALE:").size(), taken ? 0 : 1);
    if (lines.size() > 28 && !taken)
        QVERIFY2(c.notLoaded.filter("SCALE:").first().contains(lines.size() == 29 ? "holds a line more than its 28"
                                                                                  : "holds 2 lines more than its 28"),
                 qPrintable(c.notLoaded.join(u'\n')));
    if (taken) {
        QCOMPARE(c.scale->unit, (std::array<int16_t, 4>{1, 0, 2, 3}));
        QCOMPARE(c.scale->factor[0][1], QString("0.001"));
    }
    // A marker that ended the section is still taken as a marker.
    QCOMPARE(c.programFound, lines.contains("# PROGRAM"));
}

// ---- reader: whole files ---------------------------------------------------------

namespace {
// The 2-axis fixture with the lines (numbered from 1) for which `keep` says
// false left out; `keep` may change a line it keeps.
QByteArray edited(const std::function<bool(int, QString &)> &keep)
{
    const QStringList lines = QString::fromLatin1(FixtureBytes(UnitKind::TwoAxis)).split("\r\n");
    QStringList out;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        QString l = lines[i];
        if (keep(i + 1, l))
            out << l;
    }
    return FileOf(out);
}
} // namespace

void TestDataFile::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Parts that keep their values: X.0 (axis X, MODE), reg5, reg5+ (5 and
    // later), program, scale.
    QTest::addColumn<QStringList>("unchanged");
    QTest::addColumn<QString>("told");            // part of the message; empty: no message

    const QByteArray whole = FixtureBytes(UnitKind::TwoAxis);
    const QStringList allAxes{"X.0", "X.1", "X.2", "Y.0", "Y.1", "Y.2", "Z.0", "Z.1", "Z.2", "U.0", "U.1", "U.2"};
    QTest::newRow("clean") << whole << QStringList{} << "";
    QTest::newRow("CR line ends") << QByteArray(whole).replace("\r\n", "\r") << QStringList{} << "";
    QTest::newRow("LF line ends") << QByteArray(whole).replace("\r\n", "\n") << allAxes + QStringList{"program", "scale"}
                                  << "none of the lines";
    QTest::newRow("empty file") << QByteArray() << allAxes + QStringList{"program", "scale"} << "none of the lines";
    QTest::newRow("lower-case headings")
        << QByteArray(whole).replace("# X axis", "# x axis").replace("# SCALE", "# scale")
        << QStringList{"X.0", "X.1", "X.2", "scale"} << "The line \"# x axis\" is not the heading \"# X axis\"";
    QTest::newRow("heading with a blank behind")
        << QByteArray(whole).replace("# Y axis", "# Y axis ") << QStringList{"Y.0", "Y.1", "Y.2"} << "Y axis";
    // Lines 13 and 14 are the X block's "# PARAMETER" and its values line.
    QTest::newRow("X block without PARAMETER")
        << edited([](int n, QString &) { return n != 13 && n != 14; }) << QStringList{"X.2"}
        << "X axis: its block ends at \"# Y axis\"; not loaded: PARAMETER.";
    // Lines 49 and 50: the U block's PARAMETER.
    QTest::newRow("U block without PARAMETER")
        << edited([](int n, QString &) { return n != 49 && n != 50; }) << QStringList{"U.2"}
        << "U axis: its block ends at \"# PROGRAM\"; not loaded: PARAMETER.";
    // Lines 8 and 9: the X block's MODE values line and the empty line after it.
    QTest::newRow("MODE values line missing")
        << edited([](int n, QString &) { return n != 8 && n != 9; }) << QStringList{"X.0"} << "X axis: the MODE values line is missing";
    QTest::newRow("only the program")
        << edited([](int n, QString &) { return n >= 52 && n <= 106; }) << allAxes + QStringList{"scale"}
        << "Not in the file: X axis, Y axis, Z axis, U axis, SCALE.";
    // Line 58 holds register 5.
    QTest::newRow("record line without quotes")
        << edited([](int n, QString &l) {
               if (n == 58)
                   l.remove(u'"');
               return true;
           })
        << QStringList{"reg5"} << "the line of register 5 is not a whole record";
    QTest::newRow("record line lost")
        << edited([](int n, QString &) { return n != 58; })
        << QStringList{"reg5+"} << "the line for register 5 holds register \"6\"";
    QTest::newRow("factor 0")
        << QByteArray(whole).replace("\"0.25\"", "\"0\"") << QStringList{"scale"}
        << "SCALE: the factor of unit 2 of the Z axis, \"0\", is no number above 0";
    // Line 110 is Z's unit; repeated, U would take Z's unit and every factor
    // would move one place.
    QTest::newRow("scale line repeated")
        << edited([](int n, QString &l) {
               if (n == 110)
                   l += "\r\n" + l;
               return true;
           })
        << QStringList{"scale"} << "SCALE: the section holds a line more than its 28";
    QTest::newRow("unit code 7")
        << edited([](int n, QString &l) {
               if (n == 109)
                   l = "\"7\"";
               return true;
           })
        << QStringList{"scale"} << "SCALE: the unit of the Y axis, \"7\", is none of 0 to 3";
}

void TestDataFile::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, unchanged);
    QFETCH(QString, told);
    Rig rig(UnitKind::TwoAxis);
    const DataState full = FullState(rig.table());
    FillSentinels(rig.table());
    const DataState before = Capture(rig.table());
    const QString path = file(rig.dir(), "damaged.zqd");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    const LoadOutcome out = DatLoadAct(path);
    const DataState now = Capture(rig.table());
    const QString axes = "XYZU";
    for (int a = 0; a < 4; ++a)
        for (int s = 0; s < 3; ++s) {
            const bool kept = unchanged.contains(QStringLiteral("%1.%2").arg(axes[a]).arg(s));
            QCOMPARE(now.sections[a][s], (kept ? before : full).sections[a][s]);
        }
    for (int reg = 0; reg < 54; ++reg) {
        bool kept = unchanged.contains("program") || unchanged.contains(QStringLiteral("reg%1").arg(reg));
        for (int from = 0; from <= reg; ++from)
            kept = kept || unchanged.contains(QStringLiteral("reg%1+").arg(from));
        QCOMPARE(now.records[size_t(reg)], (kept ? before : full).records[size_t(reg)]);
    }
    QCOMPARE(now.scale, (unchanged.contains("scale") ? before : full).scale);

    if (told.isEmpty()) {
        QCOMPARE(out.notLoaded, QStringList());
        QCOMPARE(rig.program.dialogs.texts(), QStringList());
    } else {
        QCOMPARE(rig.program.dialogs.shown().size(), 1);
        QVERIFY2(rig.program.dialogs.texts().first().contains(told), qPrintable(rig.program.dialogs.texts().first()));
    }
}

void TestDataFile::truncatedAnywhere()
{
    // Cut at every line end, just after a CR, and in the middle of every
    // line (of the program's record lines a few at its start, middle and
    // end): whatever is loaded comes from the file whole or not at all, and
    // a load that left anything out says so.
    Rig rig(UnitKind::TwoAxis);
    const DataState full = FullState(rig.table());
    FillSentinels(rig.table());
    const DataState before = Capture(rig.table());
    const QByteArray whole = FixtureBytes(UnitKind::TwoAxis);
    const qsizetype scaleAt = whole.indexOf("# SCALE");

    QList<qsizetype> cuts;
    int lineNo = 0;
    for (qsizetype start = 0; start < whole.size(); ++lineNo) {
        const qsizetype end = whole.indexOf("\r\n", start);
        const int reg = lineNo - 52;   // record lines are lines 53 to 106
        if (reg < 0 || reg > 53 || reg == 0 || reg == 1 || reg == 26 || reg >= 52)
            cuts << start + (end - start) / 2 << end << end + 1;
        start = end + 2;
    }
    // From the end backwards: past the program section its records stay
    // loaded from one cut to the next, which spares rewriting them.
    std::sort(cuts.begin(), cuts.end(), std::greater<>());
    for (const qsizetype cut : cuts) {
        FillSentinels(rig.table(), cut < scaleAt);
        const LoadOutcome out = ApplyDataFile(ParseDataFile(whole.left(cut), UnitKind::TwoAxis), UnitKind::TwoAxis);
        const DataState now = Capture(rig.table());
        QString where;
        QVERIFY2(EachFromEither(now, before, full, &where), qPrintable(QStringLiteral("cut %1: %2").arg(cut).arg(where)));
        if (now != full)
            QVERIFY2(!out.notLoaded.isEmpty(), qPrintable(QStringLiteral("cut %1 loaded in part, nothing told").arg(cut)));
    }
    // The whole file, and the file without its last line end, load cleanly.
    for (const qsizetype cut : {whole.size(), whole.size() - 2}) {
        FillSentinels(rig.table());
        const LoadOutcome out = ApplyDataFile(ParseDataFile(whole.left(cut), UnitKind::TwoAxis), UnitKind::TwoAxis);
        QCOMPARE(out.notLoaded, QStringList());
        QVERIFY(Capture(rig.table()) == full);
    }
}

void TestDataFile::roundTrip_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::newRow("2-axis unit") << UnitKind::TwoAxis;
    QTest::newRow("4-axis unit") << UnitKind::FourAxis;
}

void TestDataFile::roundTrip()
{
    QFETCH(UnitKind, kind);
    Rig rig(kind);
    // Every field filled, texts the file keeps as they are.
    FillFixtureSetup();
    g.ParamTable[1][5] = " 300";   // leading blanks are not kept: the value is
    const bool filled = rig.table().InTransaction([&] {
        for (int reg = 0; reg < rig.table().RegisterCount(); ++reg) {
            QStringList f;
            for (int i = 0; i < kProgramFields; ++i)
                f << (i == 0 || i == 11 ? QString::number(reg) : QStringLiteral("%1,%2 x\u00fc'").arg(reg).arg(i));
            if (!rig.table().WriteRecord(reg, f))
                return false;
        }
        return true;
    });
    QVERIFY(filled);
    DataState saved = Capture(rig.table());
    saved.sections[1][2][5] = "300";
    const QString path = file(rig.dir(), "trip.zqd");
    QVERIFY(!SaveDataFile(path));

    FillSentinels(rig.table());
    const LoadOutcome out = DatLoadAct(path);
    QCOMPARE(out.notLoaded, QStringList());
    QVERIFY(out.programChanged && out.scaleLoaded);
    QVERIFY(Capture(rig.table()) == saved);
    QCOMPARE(rig.program.dialogs.texts(), QStringList());
}

void TestDataFile::otherModelsFile_data()
{
    QTest::addColumn<UnitKind>("fileKind");
    QTest::addColumn<UnitKind>("unitKind");
    QTest::addColumn<QString>("told");
    QTest::newRow("4-axis file on the 2-axis unit")
        << UnitKind::FourAxis << UnitKind::TwoAxis
        << "PROGRAM: the ZT260A keeps registers 0 to 53; the 1946 record lines after them were not loaded.";
    QTest::newRow("2-axis file on the 4-axis unit")
        << UnitKind::TwoAxis << UnitKind::FourAxis
        << "PROGRAM: the file ends its program after register 53; registers 54 to 1999 were not loaded.";
}

void TestDataFile::otherModelsFile()
{
    QFETCH(UnitKind, fileKind);
    QFETCH(UnitKind, unitKind);
    QFETCH(QString, told);
    Rig rig(unitKind);
    FillSentinels(rig.table());
    const DataState before = Capture(rig.table());
    const QString path = file(rig.dir(), "other.zqd");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(FixtureBytes(fileKind));
    }
    const LoadOutcome out = LoadDataFile(path);
    QCOMPARE(out.notLoaded, QStringList{told});

    // The file's first record lines went to the registers they name.
    const DataState now = Capture(rig.table());
    const QStringList fileLines = QString::fromLatin1(FixtureBytes(fileKind)).split("\r\n");
    const qsizetype first = fileLines.indexOf("# PROGRAM") + 1;
    for (int reg = 0; reg < rig.table().RegisterCount(); ++reg) {
        if (reg < 54)
            QCOMPARE(RecordLine(now.records[size_t(reg)]), fileLines[first + reg]);
        else
            QCOMPARE(now.records[size_t(reg)], before.records[size_t(reg)]);
    }
    FillFixtureSetup();
    const DataState tables = Capture(rig.table());
    QCOMPARE(now.sections, tables.sections);   // Z and U too, on either unit
    QCOMPARE(now.scale, tables.scale);
}

void TestDataFile::refusedDatabaseWriteRollsBack()
{
    Rig rig(UnitKind::TwoAxis);
    const DataState full = FullState(rig.table());
    FillSentinels(rig.table());
    const DataState before = Capture(rig.table());
    rig.program.refuseStoresTo(30);
    const QString path = file(rig.dir(), "f.zqd");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(FixtureBytes(UnitKind::TwoAxis));
    }
    const LoadOutcome out = DatLoadAct(path);
    QVERIFY(!out.programChanged);
    const DataState now = Capture(rig.table());
    QCOMPARE(now.records, before.records);   // registers 0 to 29 rolled back too
    QCOMPARE(now.sections, full.sections);
    QCOMPARE(now.scale, full.scale);
    QCOMPARE(rig.program.dialogs.shown().size(), 1);
    QVERIFY(rig.program.dialogs.texts().first().contains("keeps what it held before the load"));
    QVERIFY(rig.program.dialogs.texts().first().contains("register locked"));
}

void TestDataFile::unreadableFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("file vanished") << "gone.zqd";
    QTest::newRow("a folder") << "PrgData";
}

void TestDataFile::unreadableFile()
{
    QFETCH(QString, name);
    Rig rig(UnitKind::TwoAxis);
    FillSentinels(rig.table());
    const DataState before = Capture(rig.table());
    const LoadOutcome out = DatLoadAct(file(rig.dir(), name));
    QVERIFY(!out.fileRead);
    QVERIFY(Capture(rig.table()) == before);
    QCOMPARE(rig.program.dialogs.shown().size(), 1);
    QVERIFY(rig.program.dialogs.texts().first().contains("cannot be read"));
    QVERIFY(rig.program.dialogs.texts().first().contains("Nothing was loaded."));
}

namespace {
// The record line of a register in a whole file.
QByteArray recordLineOf(const QByteArray &file, int reg)
{
    const QList<QByteArray> lines = file.split('\n');
    qsizetype at = -1;
    for (qsizetype i = 0; i < lines.size() && at < 0; ++i)
        if (lines[i] == "# PROGRAM\r")
            at = i;
    return at < 0 ? QByteArray() : lines.value(at + 1 + reg).chopped(1);
}
} // namespace

void TestDataFile::messageTexts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<UnitKind>("unit");
    QTest::addColumn<QStringList>("said");      // parts of the message
    QTest::addColumn<QStringList>("notSaid");
    QTest::addColumn<bool>("scaleTaken");

    const QByteArray two = FixtureBytes(UnitKind::TwoAxis);
    const QByteArray scale = two.mid(two.indexOf("# SCALE"));
    QTest::newRow("lower-case scale heading")
        << QByteArray(two).replace("# SCALE", "# scale") << UnitKind::TwoAxis
        << QStringList{"The line \"# scale\" is not the heading \"# SCALE\""}
        << QStringList{"record lines", "Not in the file"} << false;
    QTest::newRow("lower-case scale heading, 2-axis file on the 4-axis unit")
        << QByteArray(two).replace("# SCALE", "# scale") << UnitKind::FourAxis
        << QStringList{"The line \"# scale\"", "registers 54 to 1999 were not loaded"}
        << QStringList{"holds register", "not whole records"} << false;
    QTest::newRow("refused scale, then a good one")
        << two + QByteArray(scale).replace("\"0.25\"", "\"0\"") + scale << UnitKind::TwoAxis
        << QStringList{"SCALE: the factor of unit 2 of the Z axis, \"0\", is no number above 0; that section was passed "
                       "over, and the units and factors of another \"# SCALE\" section were loaded."}
        << QStringList{"were not loaded"} << true;
    QByteArray pulses = two;
    pulses.replace("# SCALE\r\n\"1\"\r\n\"0\"\r\n\"2\"\r\n\"3\"\r\n",
                   "# SCALE\r\n\"0\"\r\n\"0\"\r\n\"0\"\r\n\"0\"\r\n\"0\"\r\n");
    QTest::newRow("unit line repeated, every unit 0")
        << pulses << UnitKind::TwoAxis
        << QStringList{"SCALE: the section holds a line more than its 28 (a line added or repeated inside it moves "
                       "every later value one place); the units and factors were not loaded."}
        << QStringList{"no number above 0", "factor of unit"} << false;
    QTest::newRow("factor too large")
        << QByteArray(two).replace("\"0.25\"", "\"1E303\"") << UnitKind::TwoAxis
        << QStringList{"\"1E303\", is too large: a pulse count times it is no finite number; the units and factors "
                       "were not loaded."}
        << QStringList{"no number above 0"} << false;
    // Register 5's and 7's lines without their double quotes.
    auto broken = [&](QList<int> regs) {
        QByteArray b = two;
        for (int reg : regs) {
            const QByteArray line = recordLineOf(two, reg);
            b.replace(line, QByteArray(line).replace('"', ""));
        }
        return b;
    };
    QTest::newRow("one broken record line")
        << broken({5}) << UnitKind::TwoAxis
        << QStringList{"PROGRAM: the line of register 5 is not a whole record; that register was not loaded."}
        << QStringList{"registers 5 are"} << true;
    QTest::newRow("two broken record lines")
        << broken({5, 7}) << UnitKind::TwoAxis
        << QStringList{"PROGRAM: the lines of registers 5, 7 are not whole records; those registers were not loaded."}
        << QStringList{} << true;
    QTest::newRow("one record line too many")
        << QByteArray(two).replace("# SCALE", recordLineOf(two, 53) + "\r\n# SCALE") << UnitKind::TwoAxis
        << QStringList{"the record line after them was not loaded."} << QStringList{"1 record lines"} << true;
    QTest::newRow("last register's line lost")
        << QByteArray(two).replace(recordLineOf(two, 53) + "\r\n", "") << UnitKind::TwoAxis
        << QStringList{"PROGRAM: the file ends its program after register 52; register 53 was not loaded."}
        << QStringList{"registers 53 to 53"} << true;
    QTest::newRow("last HOME SEARCH item missing")
        << QByteArray(two).replace(", 0, 3\r\n\r\n# PARAMETER", ", 0\r\n\r\n# PARAMETER") << UnitKind::TwoAxis
        << QStringList{"not loaded: HOME SEARCH value 16, PARAMETER."} << QStringList{"values 16 to 16"} << true;
}

void TestDataFile::messageTexts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(UnitKind, unit);
    QFETCH(QStringList, said);
    QFETCH(QStringList, notSaid);
    QFETCH(bool, scaleTaken);
    const DataFileContent c = ParseDataFile(bytes, unit);
    const QString told = c.notLoaded.join(u'\n');
    for (const QString &part : said)
        QVERIFY2(told.contains(part), qPrintable(told));
    for (const QString &part : notSaid)
        QVERIFY2(!told.contains(part), qPrintable(told));
    QCOMPARE(c.scale.has_value(), scaleTaken);
}

void TestDataFile::readOnlyOverwriteInterrupted_data()
{
    QTest::addColumn<int>("mode");   // of the old file
    QTest::addColumn<bool>("stopped");
    QTest::newRow("0444, stopped before the rename") << 0444 << true;
    QTest::newRow("0440, stopped before the rename") << 0440 << true;
    QTest::newRow("0444, saved") << 0444 << false;
    QTest::newRow("0644, saved read-only") << 0644 << false;
}

void TestDataFile::readOnlyOverwriteInterrupted()
{
    QFETCH(int, mode);
    QFETCH(bool, stopped);
    auto permissions = [](int m) {
        QFileDevice::Permissions p;
        const std::pair<int, QFileDevice::Permission> bits[] = {
            {0400, QFileDevice::ReadOwner}, {0200, QFileDevice::WriteOwner}, {0040, QFileDevice::ReadGroup},
            {0020, QFileDevice::WriteGroup}, {0004, QFileDevice::ReadOther}, {0002, QFileDevice::WriteOther}};
        for (const auto &[bit, flag] : bits)
            if (m & bit)
                p |= flag;
        return p;
    };
    constexpr QFileDevice::Permissions kModeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                   | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                                   | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    Rig rig(UnitKind::TwoAxis);
    FillFixtureSetup();
    FillFixtureProgram(rig.table());
    const QString path = file(rig.dir(), "old.zqd");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
    }
    QVERIFY(QFile::setPermissions(path, permissions(mode)));

    // What a crash between the write and the rename would leave.
    int calls = 0;
    QByteArray oldAtHook;
    QFileDevice::Permissions modeAtHook;
    QByteArray newAtHook;
    SetReplaceHook([&](const QString &temporary) {
        ++calls;
        oldAtHook = FileBytes(path);
        modeAtHook = QFile::permissions(path) & kModeBits;
        newAtHook = FileBytes(temporary);
        return !stopped;
    });
    const auto failed = SaveDataFile(path, FixtureTime());
    SetReplaceHook({});

    QCOMPARE(calls, 1);
    QCOMPARE(oldAtHook, QByteArray("old contents\r\n"));
    QCOMPARE(modeAtHook, permissions(mode));
    QCOMPARE(newAtHook, FixtureBytes(UnitKind::TwoAxis));
    QCOMPARE(rig.dir().entryList(QDir::Files), QStringList{"old.zqd"});
    if (stopped) {
        QVERIFY(failed);
        QVERIFY2(failed->contains("the old file is kept as it was"), qPrintable(*failed));
        QCOMPARE(FileBytes(path), QByteArray("old contents\r\n"));
        QCOMPARE(QFile::permissions(path) & kModeBits, permissions(mode));
    } else {
        QVERIFY2(!failed, qPrintable(failed.value_or(QString())));
        QCOMPARE(FileBytes(path), FixtureBytes(UnitKind::TwoAxis));
        // Read-only as the old file was readable, without a write bit.
        QCOMPARE(QFile::permissions(path) & kModeBits, permissions(mode & 0444));
    }
}

QTEST_MAIN(TestDataFile)
#include "test_datafile.moc"
