// The data control and record set over SQLite: creation, checking of
// damaged files, positioning, stores seen by every control on a file,
// transactions, and failures that leave the file and the program sound.

#include "RawSql.h"
#include "platform/DataControl.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TableSchema smallTable(int records = 5)
{
    TableSchema t;
    t.table = QStringLiteral("Prog");
    t.fields = {QStringLiteral("Reg"), QStringLiteral("X-axis"), QStringLiteral("Note")};
    t.records = records;
    t.seed = [](int pos, int field) { return field == 0 ? QString::number(pos) : QString(); };
    return t;
}

} // namespace

class TestDataControl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void createdWithItsRecords();
    void storeSeenByEveryControl();
    void positioningAndRefusals();
    void transactionAllOrNothing();
    void storeWithoutPositioning();
    void storeRefused_data();
    void storeRefused();
    void damagedFilesRefused_data();
    void damagedFilesRefused();
    void refusedWriteKeepsRecord();
    void storeByNumber_data();
    void storeByNumber();
    void vanishedFileNotRecreated();

private:
    QString open(DataControl &d);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestDataControl::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("Data/prog.sqlite"));
}

void TestDataControl::cleanup()
{
    CloseDatabase(m_path);
    m_dir.reset();
}

QString TestDataControl::open(DataControl &d)
{
    d.DatabaseName = m_path;
    d.RecordSource = QStringLiteral("Prog");
    return d.Refresh() ? QString() : d.ErrorText() + u'!';
}

void TestDataControl::createdWithItsRecords()
{
    const auto made = EnsureDatabase(m_path, {smallTable()});
    QVERIFY2(!made, qPrintable(made.value_or(QString())));
    QVERIFY(QFile::exists(m_path));
    QVERIFY(!QFile::exists(m_path + QStringLiteral(".new")));
    DataControl d;
    QCOMPARE(open(d), QString());
    Recordset &rs = d.recordset();
    QCOMPARE(rs.RecordCount(), 5);
    QCOMPARE(rs.FieldNames(), (QStringList{"Reg", "X-axis", "Note"}));
    QCOMPARE(rs.AbsolutePosition(), 0);
    const auto rows = d.ReadAll();
    QCOMPARE(int(rows.size()), 5);
    QCOMPARE(rows[4], (QStringList{"4", "", ""}));
    // A sound file is left as it is.
    const QByteArray before = FileBytes(m_path);
    CloseDatabase(m_path);
    QCOMPARE(EnsureDatabase(m_path, {smallTable()}), std::nullopt);
    QCOMPARE(FileBytes(m_path), before);
}

void TestDataControl::storeSeenByEveryControl()
{
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    DataControl a, b;
    QCOMPARE(open(a), QString());
    QCOMPARE(open(b), QString());
    Recordset &ra = a.recordset();
    QVERIFY(ra.setAbsolutePosition(3));
    ra.Edit();
    QVERIFY(ra.setField(QStringLiteral("X-axis"), QStringLiteral("ABS")));
    QVERIFY(ra.setField(2, QStringLiteral("a \"quoted\" note")));
    QCOMPARE(ra.Field(1), QStringLiteral("ABS"));   // the edit is read back before the store
    QVERIFY(ra.Update());
    QVERIFY(b.recordset().setAbsolutePosition(3));
    QCOMPARE(b.recordset().Field(QStringLiteral("X-axis")), QStringLiteral("ABS"));
    QCOMPARE(b.recordset().Field(QStringLiteral("Note")), QStringLiteral("a \"quoted\" note"));
    QCOMPARE(b.ReadAll()[3][1], QStringLiteral("ABS"));
    // A positioning before Update drops the edit.
    ra.Edit();
    ra.setField(1, QStringLiteral("INC"));
    QVERIFY(ra.setAbsolutePosition(0));
    QVERIFY(ra.setAbsolutePosition(3));
    QCOMPARE(ra.Field(1), QStringLiteral("ABS"));
    // And the store outlives the connection.
    CloseDatabase(m_path);
    DataControl c;
    QCOMPARE(open(c), QString());
    c.recordset().MoveLast();
    QCOMPARE(c.recordset().AbsolutePosition(), 4);
    QVERIFY(c.recordset().setAbsolutePosition(3));
    QCOMPARE(c.recordset().Field(1), QStringLiteral("ABS"));
}

void TestDataControl::positioningAndRefusals()
{
    QVERIFY(!EnsureDatabase(m_path, {smallTable(3)}));
    DataControl d;
    QCOMPARE(open(d), QString());
    Recordset &rs = d.recordset();
    for (int n : {-1, 3, 1 << 30})
        QVERIFY(!rs.setAbsolutePosition(n));
    QCOMPARE(rs.AbsolutePosition(), 0);
    QVERIFY(!rs.setField(1, QStringLiteral("x")));      // no Edit
    QVERIFY(!rs.Update());
    rs.Edit();
    QVERIFY(!rs.setField(QStringLiteral("Y-axis"), QStringLiteral("x")));
    QVERIFY(!rs.setField(7, QStringLiteral("x")));
    rs.CancelUpdate();
    QCOMPARE(rs.Field(QStringLiteral("Nope")), QString());
    QCOMPARE(rs.Field(-1), QString());
    QStringList seen;
    for (rs.MoveFirst(); !rs.EOF_(); rs.MoveNext())
        seen << rs.Field(0);
    QCOMPARE(seen, (QStringList{"0", "1", "2"}));
    QCOMPARE(rs.AbsolutePosition(), -1);
    QCOMPARE(rs.Field(0), QString());
    rs.Edit();                                           // no current record: nothing to edit
    QVERIFY(!rs.setField(0, QStringLiteral("x")));
}

void TestDataControl::transactionAllOrNothing()
{
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    DataControl d;
    QCOMPARE(open(d), QString());
    Recordset &rs = d.recordset();
    auto writeAll = [&](const QString &text) {
        for (int n = 0; n < rs.RecordCount(); ++n) {
            if (!rs.setAbsolutePosition(n))
                return false;
            rs.Edit();
            rs.setField(1, text);
            if (!rs.Update())
                return false;
        }
        return true;
    };
    QVERIFY(d.InTransaction([&] { return writeAll(QStringLiteral("A")); }));
    QVERIFY(!d.InTransaction([&] { return writeAll(QStringLiteral("B")) && false; }));
    for (const QStringList &row : d.ReadAll())
        QCOMPARE(row[1], QStringLiteral("A"));
    QCOMPARE(rs.Field(1), QStringLiteral("A"));   // the current record is read again
    // A nested failure rolls the outer transaction back too.
    QVERIFY(!d.InTransaction([&] {
        writeAll(QStringLiteral("C"));
        return !d.InTransaction([] { return false; });
    }));
    QCOMPARE(d.ReadAll()[0][1], QStringLiteral("A"));
}

void TestDataControl::storeWithoutPositioning()
{
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    DataControl d;
    QCOMPARE(open(d), QString());
    Recordset &rs = d.recordset();
    QVERIFY(rs.setAbsolutePosition(1));
    // Another record is stored, in the order the fields are given; the
    // current record stays current and as it was.
    QVERIFY(rs.Store(3, {2, 1}, {QStringLiteral("note"), QStringLiteral("ABS")}));
    QCOMPARE(rs.AbsolutePosition(), 1);
    QCOMPARE(rs.Field(1), QString());
    QCOMPARE(d.ReadAll()[3], (QStringList{"3", "ABS", "note"}));
    // A store onto the current record is what it reads from then on, until
    // a transaction around the store fails.
    QVERIFY(rs.Store(1, {1}, {QStringLiteral("INC")}));
    QCOMPARE(rs.Field(1), QStringLiteral("INC"));
    QVERIFY(!d.InTransaction([&] { return rs.Store(1, {1}, {QStringLiteral("JMP")}) && false; }));
    QCOMPARE(rs.Field(1), QStringLiteral("INC"));
    QCOMPARE(d.ReadAll()[1][1], QStringLiteral("INC"));
    // Some fields, in the order asked for; a field that does not exist gives nothing.
    QCOMPARE(d.ReadAll({2, 0})[3], (QStringList{"note", "3"}));
    QVERIFY(d.ReadAll({0, 3}).empty());
    QVERIFY(!d.ErrorText().isEmpty());
}

void TestDataControl::storeRefused_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("record past the last") << 5 << QList<int>{1} << QStringList{"x"};
    QTest::newRow("record below the first") << -1 << QList<int>{1} << QStringList{"x"};
    QTest::newRow("field past the last") << 2 << QList<int>{1, 3} << QStringList{"x", "y"};
    QTest::newRow("negative field") << 2 << QList<int>{-1, 1} << QStringList{"x", "y"};
    QTest::newRow("fewer values than fields") << 2 << QList<int>{1, 2} << QStringList{"x"};
}

void TestDataControl::storeRefused()
{
    QFETCH(int, record);
    QFETCH(QList<int>, fields);
    QFETCH(QStringList, values);
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    DataControl d;
    QCOMPARE(open(d), QString());
    const auto before = d.ReadAll();
    QVERIFY(!d.recordset().Store(record, fields, values));
    QVERIFY(!d.ErrorText().isEmpty());
    QVERIFY(d.ReadAll() == before);
}

void TestDataControl::damagedFilesRefused_data()
{
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    const QByteArray none;
    QTest::newRow("not a database") << QStringList() << QByteArray(4096, 'z') << "not a database";
    QTest::newRow("table missing") << QStringList{"DROP TABLE Prog", "CREATE TABLE Other (Pos INTEGER)"} << none
                                   << "Prog is missing";
    QTest::newRow("field missing") << QStringList{"ALTER TABLE Prog DROP COLUMN Note"} << none << "Note";
    QTest::newRow("record missing") << QStringList{"DELETE FROM Prog WHERE Pos = 4"} << none << "4 records";
    QTest::newRow("record added") << QStringList{"INSERT INTO Prog (Pos) VALUES (5)"} << none << "6 records";
    QTest::newRow("gap in the order") << QStringList{"UPDATE Prog SET Pos = 9 WHERE Pos = 2"} << none
                                      << "not numbered";
    QTest::newRow("empty file") << QStringList() << QByteArray("") << "Prog is missing";
}

void TestDataControl::damagedFilesRefused()
{
    QFETCH(QStringList, damage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    CloseDatabase(m_path);
    if (!damage.isEmpty())
        RawSql(m_path, damage);
    if (!bytes.isNull()) {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    const QByteArray before = FileBytes(m_path);
    const auto message = EnsureDatabase(m_path, {smallTable()});
    QVERIFY(message);
    QVERIFY2(message->contains(QStringLiteral("prog.sqlite")), qPrintable(*message));
    QVERIFY2(message->contains(why), qPrintable(*message));
    QCOMPARE(FileBytes(m_path), before);
}

void TestDataControl::refusedWriteKeepsRecord()
{
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    CloseDatabase(m_path);
    // The file refuses every change (as a read-only or locked file would).
    RawSql(m_path, {"CREATE TRIGGER refuse BEFORE UPDATE ON Prog BEGIN SELECT RAISE(ABORT, 'refused'); END"});
    DataControl d;
    QCOMPARE(open(d), QString());
    Recordset &rs = d.recordset();
    QVERIFY(rs.setAbsolutePosition(1));
    rs.Edit();
    rs.setField(1, QStringLiteral("ABS"));
    QVERIFY(!rs.Update());
    QVERIFY(!d.ErrorText().isEmpty());
    QCOMPARE(rs.Field(1), QString());
    QVERIFY(!d.InTransaction([&] {
        rs.Edit();
        rs.setField(1, QStringLiteral("INC"));
        return rs.Update();
    }));
    QCOMPARE(d.ReadAll()[1][1], QString());
}

void TestDataControl::storeByNumber_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("refusing");   // the file refuses every change
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QStringList>("record");   // record 2 afterwards

    const QStringList untouched{"2", "", ""};
    QTest::newRow("fields stored") << 2 << QList<int>{2, 1} << QStringList{"note", "ABS"} << false << true
                                   << QStringList{"2", "ABS", "note"};
    QTest::newRow("a field named twice keeps the last text")
        << 2 << QList<int>{1, 1} << QStringList{"ABS", "INC"} << false << true << QStringList{"2", "INC", ""};
    QTest::newRow("another record") << 3 << QList<int>{1} << QStringList{"ABS"} << false << true << untouched;
    // Only what changes is stored: the same texts need no change the file
    // could refuse.
    QTest::newRow("unchanged texts in a refusing file")
        << 2 << QList<int>{0, 1} << QStringList{"2", ""} << true << true << untouched;
    QTest::newRow("a change in a refusing file")
        << 2 << QList<int>{0, 1} << QStringList{"2", "ABS"} << true << false << untouched;
    QTest::newRow("no such field") << 2 << QList<int>{1, 3} << QStringList{"ABS", "x"} << false << false << untouched;
    QTest::newRow("no such record") << 5 << QList<int>{1} << QStringList{"ABS"} << false << false << untouched;
    QTest::newRow("before the first record") << -1 << QList<int>{1} << QStringList{"ABS"} << false << false
                                             << untouched;
}

// A record stored by its number, without positioning on it: the fields
// named are stored as an Edit and Update would store them, the current
// record shows what is stored, and a refusal fails the transaction around.
void TestDataControl::storeByNumber()
{
    QFETCH(int, pos);
    QFETCH(QList<int>, fields);
    QFETCH(QStringList, texts);
    QFETCH(bool, refusing);
    QFETCH(bool, stored);
    QFETCH(QStringList, record);

    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    if (refusing) {
        CloseDatabase(m_path);
        RawSql(m_path, {"CREATE TRIGGER refuse BEFORE UPDATE ON Prog BEGIN SELECT RAISE(ABORT, 'refused'); END"});
    }
    DataControl d;
    QCOMPARE(open(d), QString());
    Recordset &rs = d.recordset();
    QVERIFY(rs.setAbsolutePosition(2));
    std::vector<std::pair<int, QString>> values;
    for (qsizetype i = 0; i < fields.size(); ++i)
        values.emplace_back(fields[i], texts[i]);

    QCOMPARE(d.StoreFields(pos, values), stored);
    QCOMPARE(d.ErrorText().isEmpty(), stored);
    QCOMPARE(d.ReadAll()[2], record);
    QCOMPARE(rs.AbsolutePosition(), 2);
    QCOMPARE((QStringList{rs.Field(0), rs.Field(1), rs.Field(2)}), record);

    // Inside a transaction: a refusal undoes what was stored before it.
    const bool inTransaction = d.InTransaction([&] {
        return d.StoreFields(4, {{1, QStringLiteral("END")}}) && d.StoreFields(pos, values);
    });
    QCOMPARE(inTransaction, stored && !refusing);
    QCOMPARE(d.ReadAll()[4][1], inTransaction ? QStringLiteral("END") : QString());
}

void TestDataControl::vanishedFileNotRecreated()
{
    QVERIFY(!EnsureDatabase(m_path, {smallTable()}));
    CloseDatabase(m_path);
    QVERIFY(QFile::remove(m_path));
    DataControl d;
    QVERIFY(!open(d).isEmpty());
    QVERIFY(!d.IsOpen());
    QVERIFY(d.ReadAll().empty());
    QVERIFY(!d.recordset().setAbsolutePosition(0));
    QVERIFY(!d.InTransaction([] { return true; }));
    QVERIFY(!QFile::exists(m_path));
}

QTEST_MAIN(TestDataControl)
#include "test_datacontrol.moc"
