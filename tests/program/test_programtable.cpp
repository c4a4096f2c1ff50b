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

QTEST_MAIN(TestProgramTable)
#include "test_programtable.moc"
