// The program tables of both models: creation in the program folder, the
// refusal of damaged files, registers addressed by number and fields by
// name, and bulk writes that are all or nothing.

#include "ProgramFixture.h"
#include "RawSql.h"
#include "TestHome.h"
#include "program/ProgramTable.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

// A program table made by hand: `fields` in this order, `records` rows.
QStringList tableStatements(const QString &table, const QStringList &fields, int records)
{
    QStringList cols{QStringLiteral("Pos INTEGER PRIMARY KEY")};
    for (const QString &f : fields)
        cols << f + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
    QStringList s{QStringLiteral("CREATE TABLE %1 (%2)").arg(table, cols.join(u',')),
                  QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < %1) "
                                 "INSERT INTO %2 (Pos) SELECT i FROM n")
                      .arg(records)
                      .arg(table)};
    return s;
}

// Pages of an SQLite file, to damage single bytes of it as a disk or a
// careless tool would.
struct SqlitePages {
    QByteArray bytes;
    int size = 0;
    explicit SqlitePages(const QByteArray &b) : bytes(b)
    {
        size = (uchar(b.at(16)) << 8) | uchar(b.at(17));
        if (size == 1)
            size = 65536;
    }
    qsizetype page(int n) const { return qsizetype(n - 1) * size; }
    int be16(qsizetype at) const { return (uchar(bytes.at(at)) << 8) | uchar(bytes.at(at + 1)); }
    int be32(qsizetype at) const { return (be16(at) << 16) | be16(at + 2); }
    // Where the first cell of a page starts (an interior page's header is
    // 12 bytes, a leaf's 8).
    qsizetype firstCell(int n) const
    {
        const qsizetype at = page(n) + (n == 1 ? 100 : 0);
        const bool interior = bytes.at(at) == 0x02 || bytes.at(at) == 0x05;
        return page(n) + be16(at + (interior ? 12 : 8));
    }
    // The cell pointer array of a leaf page.
    qsizetype cellPointers(int n) const { return page(n) + 8; }
};

int rootPage(const QString &path, const QString &name)
{
    return RawQuery(path, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(name)).value(0).toInt();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Damages the file in place. The change counter of the header goes up too,
// so that a connection that has the file open reads it again.
void damagePages(const QString &path, const QString &damage, const QString &table)
{
    SqlitePages p(FileBytes(path));
    QVERIFY(p.size >= 512);
    const int root = rootPage(path, table);
    QVERIFY(root > 0);
    const int leaf = p.be32(p.firstCell(root));   // the root's first child
    if (damage == u"record pointer") {
        // Cell 2 of the first leaf points into the page header.
        p.bytes[p.cellPointers(leaf) + 4] = 0;
    } else if (damage == u"record pointer past the page") {
        p.bytes[p.cellPointers(leaf) + 4] = char(0xff);
    } else if (damage == u"table page key") {
        // The first divider key of the table's root page (one byte, below 128).
        const qsizetype key = p.firstCell(root) + 4;
        p.bytes[key] = char(uchar(p.bytes.at(key)) + 2);
    } else if (damage == u"index page") {
        // The first key of the position index's root page: payload size,
        // header size, then the position's value.
        const qsizetype cell = p.firstCell(rootPage(path, QStringLiteral("PosIndex")));
        const qsizetype value = cell + 5 + uchar(p.bytes.at(cell + 5));
        p.bytes[value] = char(uchar(p.bytes.at(value)) ^ 0x05);
    } else {
        QFAIL(qPrintable(damage));
    }
    const qsizetype counter = 24 + 3;
    p.bytes[counter] = char(uchar(p.bytes.at(counter)) + 1);
    writeBytes(path, p.bytes);
}

} // namespace

class TestProgramTable : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void createdForEachModel_data();
    void createdForEachModel();
    void damagedFileRefused_data();
    void damagedFileRefused();
    void fieldsReadByName();
    void registerBounds_data();
    void registerBounds();
    void bulkWriteAllOrNothing();
    void damagedPagesRefused_data();
    void damagedPagesRefused();
    void readStoppedEarlyTold();
    void readOnlyFileTold();
};

void TestProgramTable::cleanup()
{
    CloseProgramTables();
}

void TestProgramTable::createdForEachModel_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("records");
    QTest::newRow("4-axis") << UnitKind::FourAxis << "PrgData/ZT460Prg.sqlite" << "Zt460Prg" << 2000;
    QTest::newRow("2-axis") << UnitKind::TwoAxis << "PrgData/ZT260Prg.sqlite" << "Zt260Prg" << 54;
}

void TestProgramTable::createdForEachModel()
{
    QFETCH(UnitKind, kind);
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(int, records);
    ProgramFixture f(kind, true);
    QCOMPARE(f.path(), QDir(f.home.path()).absoluteFilePath(file));

    QCOMPARE(RawQuery(f.path(), QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), {QString::number(records)});
    // The 22 fields in record order, after the position column.
    QStringList columns;
    {
        const QStringList info = RawQuery(f.path(), QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table));
        columns = info.mid(1);
    }
    QCOMPARE(columns, ProgramFieldNames());

    for (int reg : {0, 1, records - 1}) {
        const auto rec = f.table.Record(reg);
        QVERIFY(rec);
        QStringList expected(kProgramFields, QString());
        expected[0] = expected[11] = QString::number(reg);
        QCOMPARE(*rec, expected);
    }
    // A second open of a sound file changes nothing in it.
    const QString path = f.path();
    const QByteArray before = FileBytes(path);
    CloseProgramTables();
    QVERIFY(!ProgramTableOf(kind).Open());
    QCOMPARE(FileBytes(path), before);
}

void TestProgramTable::damagedFileRefused_data()
{
    QTest::addColumn<QStringList>("make");     // SQL that builds the damaged file ("" = garbage bytes)
    QTest::addColumn<QString>("reason");
    QStringList fields = ProgramFieldNames();
    QStringList withoutComment = fields;
    withoutComment.removeAll(QStringLiteral("U_CMT"));

    QTest::newRow("not a database") << QStringList() << "not a database";
    QTest::newRow("table missing") << tableStatements(QStringLiteral("Other"), fields, 2000) << "table Zt460Prg is missing";
    QTest::newRow("short of records") << tableStatements(QStringLiteral("Zt460Prg"), fields, 1999)
                                      << "holds 1999 records instead of 2000";
    QTest::newRow("too many records") << tableStatements(QStringLiteral("Zt460Prg"), fields, 2001)
                                      << "holds 2001 records instead of 2000";
    QTest::newRow("field missing") << tableStatements(QStringLiteral("Zt460Prg"), withoutComment, 2000)
                                   << "field U_CMT";
}

void TestProgramTable::damagedFileRefused()
{
    QFETCH(QStringList, make);
    QFETCH(QString, reason);
    TestHome home;
    ScriptedDialogs dialogs;
    const QString path = ProgramFilePath(UnitKind::FourAxis);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (make.isEmpty()) {
        QFile garbage(path);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'z'));
    } else {
        RawSql(path, make);
    }
    const QByteArray before = FileBytes(path);

    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    const auto refused = table.Open();
    QVERIFY(refused);
    QVERIFY2(refused->contains(QDir::toNativeSeparators(path)), qPrintable(*refused));
    QVERIFY2(refused->contains(reason), qPrintable(*refused));
    QVERIFY(!table.IsOpen());
    // Nothing reaches a refused file, and nothing crashes on the way.
    QVERIFY(!table.WriteAxis(3, 0, {QStringLiteral("ABS"), QStringLiteral("1"), {}, {}, {}}));
    QVERIFY(!table.Record(3));
    QVERIFY(table.ReadAll().empty());
    QVERIFY(!table.InTransaction([] { return true; }));
    QVERIFY(table.Open());
    CloseProgramTables();
    QCOMPARE(FileBytes(path), before);
}

void TestProgramTable::fieldsReadByName()
{
    TestHome home;
    const QString path = ProgramFilePath(UnitKind::TwoAxis);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QStringList reversed = ProgramFieldNames();
    std::reverse(reversed.begin(), reversed.end());
    RawSql(path, tableStatements(QStringLiteral("Zt260Prg"), reversed, 54)
                     << QStringLiteral("UPDATE Zt260Prg SET Reg1 = 'r5', X_CMD = 'INC', U_CMT = 'last' WHERE Pos = 5"));

    ProgramTable &table = ProgramTableOf(UnitKind::TwoAxis);
    QVERIFY(!table.Open());
    const auto rec = table.Record(5);
    QVERIFY(rec);
    QCOMPARE(rec->at(0), QStringLiteral("r5"));
    QCOMPARE(rec->at(1), QStringLiteral("INC"));
    QCOMPARE(rec->at(21), QStringLiteral("last"));
    QCOMPARE(table.ReadAll().at(5), *rec);

    QVERIFY(table.WriteAxis(6, 1, {QStringLiteral("ABS"), QStringLiteral("250"), QStringLiteral("2"),
                                   QStringLiteral("1"), QStringLiteral("note")}));
    QCOMPARE(RawQuery(path, QStringLiteral("SELECT Y_CMD || '|' || Y_DAT || '|' || Y_SPD || '|' || Y_TIM || '|' || Y_CMT "
                                        "FROM Zt260Prg WHERE Pos = 6")),
             {QStringLiteral("ABS|250|2|1|note")});

    // A whole register goes field by field into the columns named for them.
    QStringList whole;
    for (int i = 0; i < kProgramFields; ++i)
        whole << QStringLiteral("w%1").arg(i);
    QVERIFY(table.WriteRecord(7, whole));
    QCOMPARE(RawQuery(path, QStringLiteral("SELECT Reg1 || '|' || X_CMD || '|' || Reg2 || '|' || U_CMT "
                                        "FROM Zt260Prg WHERE Pos = 7")),
             {QStringLiteral("w0|w1|w11|w21")});
    QCOMPARE(table.ReadAll().at(7), whole);
    QCOMPARE(*table.Record(7), whole);
}

void TestProgramTable::registerBounds_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("stored");
    QTest::newRow("first register") << UnitKind::FourAxis << 0 << 5 << true;
    QTest::newRow("last register") << UnitKind::FourAxis << 1999 << 21 << true;
    QTest::newRow("past the last") << UnitKind::FourAxis << 2000 << 1 << false;
    QTest::newRow("below the first") << UnitKind::FourAxis << -1 << 1 << false;
    QTest::newRow("2-axis last") << UnitKind::TwoAxis << 53 << 2 << true;
    QTest::newRow("2-axis past the last") << UnitKind::TwoAxis << 54 << 2 << false;
    QTest::newRow("no such field") << UnitKind::FourAxis << 10 << 22 << false;
    QTest::newRow("negative field") << UnitKind::FourAxis << 10 << -1 << false;
}

void TestProgramTable::registerBounds()
{
    QFETCH(UnitKind, kind);
    QFETCH(int, reg);
    QFETCH(int, field);
    QFETCH(bool, stored);
    ProgramFixture f(kind);
    const std::vector<QStringList> before = f.table.ReadAll();

    QCOMPARE(f.table.WriteFields(reg, {{1, QStringLiteral("END")}, {field, QStringLiteral("7")}}), stored);
    QCOMPARE(bool(f.table.Record(reg)), reg >= 0 && reg < f.table.RegisterCount());
    std::vector<QStringList> after = f.table.ReadAll();
    if (stored) {
        QCOMPARE(after[std::size_t(reg)][1], QStringLiteral("END"));
        QCOMPARE(after[std::size_t(reg)][field], QStringLiteral("7"));
        after[std::size_t(reg)] = before[std::size_t(reg)];
    } else {
        QVERIFY(!f.table.ErrorText().isEmpty());
    }
    QVERIFY(after == before);
}

void TestProgramTable::bulkWriteAllOrNothing()
{
    ProgramFixture f;
    const ClipRow row{QStringLiteral("INC"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("0"), {}};
    f.refuseStoresTo(7);
    QVERIFY(!f.table.InTransaction([&] {
        for (int reg = 5; reg < 10; ++reg)
            if (!f.table.WriteAxis(reg, 2, row))
                return false;
        return true;
    }));
    QVERIFY2(f.table.ErrorText().contains(QStringLiteral("register locked")), qPrintable(f.table.ErrorText()));
    QCOMPARE(RawQuery(f.path(), QStringLiteral("SELECT COUNT(*) FROM Zt460Prg WHERE Z_CMD <> ''")), {QStringLiteral("0")});

    // Committed writes are there for every reader of the file.
    QVERIFY(f.table.InTransaction([&] { return f.table.WriteAxis(5, 2, row) && f.table.WriteAxis(6, 2, row); }));
    QCOMPARE(RawQuery(f.path(), QStringLiteral("SELECT Pos FROM Zt460Prg WHERE Z_CMD = 'INC' ORDER BY Pos")),
             (QStringList{QStringLiteral("5"), QStringLiteral("6")}));
}

void TestProgramTable::damagedPagesRefused_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("record pointer into the page header")
        << UnitKind::FourAxis << "record pointer" << "SQLite finds it damaged (On tree page";
    QTest::newRow("record pointer past the page")
        << UnitKind::FourAxis << "record pointer past the page" << "out of range";
    QTest::newRow("key of the table's root page") << UnitKind::FourAxis << "table page key" << "out of order";
    // A file made by another tool, with an index on the positions: the
    // quick check does not compare an index with its table.
    QTest::newRow("index page") << UnitKind::FourAxis << "index page" << "missing from index PosIndex";
    // 54 distinct positions from 0 to 53, one of them 51.5.
    QTest::newRow("position with a fraction")
        << UnitKind::TwoAxis << "fraction" << "not numbered 0 to 53: a position is not a whole number";
}

void TestProgramTable::damagedPagesRefused()
{
    QFETCH(UnitKind, kind);
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    TestHome home;
    ScriptedDialogs dialogs;
    const QString path = ProgramFilePath(kind);
    const QString name = ProgramTableName(kind);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (damage == u"fraction") {
        QStringList fields = ProgramFieldNames();
        QStringList cols{QStringLiteral("Pos INTEGER")};
        for (const QString &f : fields)
            cols << f + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
        RawSql(path, {QStringLiteral("CREATE TABLE %1 (%2)").arg(name, cols.join(u',')),
                      QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 53) "
                                     "INSERT INTO %1 (Pos, Reg1) SELECT i, i FROM n")
                          .arg(name),
                      QStringLiteral("UPDATE %1 SET Pos = 51.5 WHERE Pos = 52").arg(name)});
        QCOMPARE(RawQuery(path, QStringLiteral("SELECT COUNT(DISTINCT Pos) || ' ' || MIN(Pos) || ' ' || MAX(Pos) FROM %1")
                                    .arg(name)),
                 QStringList{QStringLiteral("54 0 53")});
    } else if (damage == u"index page") {
        QStringList cols{QStringLiteral("Pos INTEGER")};
        for (const QString &f : ProgramFieldNames())
            cols << f + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
        RawSql(path, {QStringLiteral("CREATE TABLE %1 (%2)").arg(name, cols.join(u',')),
                      QStringLiteral("CREATE UNIQUE INDEX PosIndex ON %1 (Pos)").arg(name),
                      QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1999) "
                                     "INSERT INTO %1 (Pos, Reg1, Reg2) SELECT i, i, i FROM n")
                          .arg(name)});
        damagePages(path, damage, name);
    } else {
        // A file the program made, damaged afterwards.
        QVERIFY(!ProgramTableOf(kind).Open());
        CloseProgramTables();
        damagePages(path, damage, name);
    }
    const QByteArray before = FileBytes(path);
    const QStringList filesBefore = QFileInfo(path).dir().entryList(QDir::Files);

    ProgramTable &table = ProgramTableOf(kind);
    const auto refused = table.Open();
    QVERIFY(refused);
    QVERIFY2(refused->startsWith(QStringLiteral("The database file %1 cannot be used: ").arg(QDir::toNativeSeparators(path))),
             qPrintable(*refused));
    QVERIFY2(refused->contains(reason), qPrintable(*refused));
    QVERIFY(!table.IsOpen());
    // Nothing is stored into it, and asking again gives the same answer.
    QVERIFY(!table.WriteAxis(3, 0, {QStringLiteral("ABS"), QStringLiteral("1"), {}, {}, {}}));
    QCOMPARE(table.Open(), refused);
    CloseProgramTables();
    // Byte for byte as it was, and no journal left beside it.
    QCOMPARE(FileBytes(path), before);
    QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files), filesBefore);
}

void TestProgramTable::readStoppedEarlyTold()
{
    // The file was sound when it was opened, and is damaged under the open
    // table: every read says why it failed, in SQLite's words.
    TestHome home;
    ScriptedDialogs dialogs;
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    QVERIFY(!table.Open());
    QCOMPARE(table.ReadAll().size(), std::size_t(2000));
    damagePages(table.FilePath(), QStringLiteral("record pointer"), ProgramTableName(UnitKind::FourAxis));

    QVERIFY(table.ReadAll().empty());
    QVERIFY2(table.ErrorText().contains(QStringLiteral("malformed")), qPrintable(table.ErrorText()));
    table.ReportFailure(QStringLiteral("The program could not be read."));
    QCOMPARE(dialogs.texts().size(), 1);
    const QStringList lines = dialogs.texts().first().split(u'\n');
    QCOMPARE(lines.first(), QStringLiteral("The program could not be read."));
    QVERIFY2(lines.last().contains(QStringLiteral("malformed")), qPrintable(dialogs.texts().first()));
    // The record whose pointer was damaged is not found where it belongs.
    QVERIFY(!table.Record(2));
    QCOMPARE(table.ErrorText(), QStringLiteral("record 2 of table Zt460Prg is missing"));
    QVERIFY(!table.Axis(2, 1));
    QCOMPARE(table.ErrorText(), QStringLiteral("record 2 of table Zt460Prg is missing"));
}

void TestProgramTable::readOnlyFileTold()
{
    TestHome home;
    ScriptedDialogs dialogs;
    const QString path = ProgramFilePath(UnitKind::TwoAxis);
    QVERIFY(!ProgramTableOf(UnitKind::TwoAxis).Open());
    CloseProgramTables();
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QByteArray before = FileBytes(path);
    const QStringList filesBefore = QFileInfo(path).dir().entryList(QDir::Files);

    // It opens and reads; a store is refused in a sentence.
    ProgramTable &table = ProgramTableOf(UnitKind::TwoAxis);
    QVERIFY(!table.Open());
    QCOMPARE(table.Record(5)->at(0), QStringLiteral("5"));
    const QString told = QStringLiteral("The database file %1 cannot be written: it is read-only.\n")
                             .arg(QDir::toNativeSeparators(path));
    QVERIFY(!table.WriteAxis(5, 0, {QStringLiteral("ABS"), QStringLiteral("1"), {}, {}, {}}));
    QVERIFY2(table.ErrorText().startsWith(told), qPrintable(table.ErrorText()));
    QVERIFY(!table.ErrorText().contains(QStringLiteral("Unable to fetch row")));
    QVERIFY(!table.InTransaction([&] { return table.WriteRecord(6, QStringList(22, QStringLiteral("x"))); }));
    QVERIFY2(table.ErrorText().startsWith(told), qPrintable(table.ErrorText()));
    QCOMPARE(table.Record(5)->at(1), QString());
    CloseProgramTables();
    QCOMPARE(FileBytes(path), before);
    QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files), filesBefore);
}

QTEST_MAIN(TestProgramTable)
#include "test_programtable.moc"
