#pragma once
// Our data control and record set over SQLite (Qt Sql): the members the
// program's windows use on a database table, and the creation and checking of
// the database files the program keeps beside itself.
//
// A table is a list of records in a fixed order; record n is the row whose
// position column ("Pos", not one of the record's fields) holds n. Records
// are never added or deleted by the program. Every field is text.
//
// One connection per database file, shared by every data control on it, so a
// record stored through one control is what any other control reads when it
// positions on that record. A control keeps no copy of the records: reading
// a field reads the stored record (the current record is cached until the
// next positioning or store).
//
// Failures never throw and never crash: a member that cannot do its work
// returns false (or an empty text) and leaves the reason in ErrorText().

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// What a database file must hold: one table, its fields in order, and the
// fixed number of records it is created with.
struct TableSchema {
    QString table;
    QStringList fields;
    int records = 0;
    // Whether a table with more records than `records` is sound (the extra
    // ones are left alone), or the count must be exact.
    bool moreRecordsAllowed = false;
    // The text of field `field` of record `pos` in a new table ("" if unset).
    std::function<QString(int pos, int field)> seed;
};

// Makes sure the file at `path` holds the tables: a missing file (and its
// folder) is created with every table seeded; a missing table in a file
// that exists is NOT created. Nothing when the file is sound, else a message
// naming the file and what is wrong with it (not a database, table missing,
// wrong record count, field missing); nothing is written to a damaged file.
std::optional<QString> EnsureDatabase(const QString &path, const std::vector<TableSchema> &tables);

// Drops the shared connection of a file (tests use it before they remove or
// damage a file; the next access opens it again).
void CloseDatabase(const QString &path);

class Recordset;

class DataControl
{
public:
    DataControl();
    ~DataControl();
    DataControl(const DataControl &) = delete;
    DataControl &operator=(const DataControl &) = delete;

    QString DatabaseName;   // full path of the database file
    QString RecordSource;   // table name

    // Opens (or opens again) the table named by DatabaseName and
    // RecordSource and makes record 0 current. False when the file or the
    // table cannot be read; Recordset() then holds no records.
    bool Refresh();
    // Stores pending changes of the current record (an Edit not yet Updated).
    bool UpdateRecord();

    bool IsOpen() const;
    Recordset &recordset();

    // Every record of the table in order, field texts in field order (the
    // bound grids fill themselves from this). Empty on failure.
    std::vector<QStringList> ReadAll() const;
    // The same with only these fields (by index), in the order given: one
    // forward-only statement, made once. Empty when an index is out of range.
    std::vector<QStringList> ReadAll(const QList<int> &fields) const;

    // Stores `fields` (field index, text) of record `pos` without making it
    // the current record, so that a writer who knows the record's number
    // reads only the fields it names, not the whole record. As with Edit and
    // Update, only the fields whose text changes are stored. False, and
    // nothing stored, when `pos` or a field index is out of range or the
    // store is refused (a transaction around it fails then too).
    bool StoreFields(int pos, const std::vector<std::pair<int, QString>> &fields);

    // Runs `work` inside one transaction of the file: committed when it
    // returns true, rolled back (and false returned) otherwise or when a
    // store inside it failed.
    bool InTransaction(const std::function<bool()> &work);

    QString ErrorText() const;

private:
    std::unique_ptr<Recordset> m_rs;
};

class Recordset
{
public:
    int RecordCount() const;
    QStringList FieldNames() const;

    // Current record, from 0; -1 when there is none.
    int AbsolutePosition() const { return m_pos; }
    // Makes record n current; false (and the current record unchanged) when
    // n is outside the table.
    bool setAbsolutePosition(int n);
    void MoveFirst();
    void MoveNext();      // past the last record: EOF
    void MoveLast();
    bool EOF_() const;    // no current record after MoveNext past the end

    // Field of the current record by name or by index; "" when there is no
    // such field or no current record.
    QString Field(const QString &name) const;
    QString Field(int index) const;

    // Edit, assign fields, Update: the record is stored at once. Assigning
    // without Edit or to an unknown field is refused (false).
    void Edit();
    bool setField(const QString &name, const QString &value);
    bool setField(int index, const QString &value);
    bool Update();
    void CancelUpdate();

    // Stores values[i] into field fields[i] of record n at once, without
    // making it current (a bulk write needs no read first). False, and
    // nothing stored, when n or an index is out of range or the store fails.
    bool Store(int n, const QList<int> &fields, const QStringList &values);
    bool EditPending() const { return m_editing; }

    QString ErrorText() const { return m_error; }

private:
    friend class DataControl;
    bool open(const QString &path, const QString &table);
    void close();
    bool load(int pos);
    bool readRecord(int pos, const QString &sql, int count, QStringList *values);
    bool write(int pos, const QList<int> &fields, const QStringList &values);
    bool storeFields(int pos, const std::vector<std::pair<int, QString>> &fields);

    QString m_path;
    QString m_table;
    QStringList m_fields;
    int m_count = 0;
    int m_pos = -1;
    bool m_eof = true;
    // Statements of this table, made once per open.
    QString m_selectSql;
    std::map<QList<int>, QString> m_selectSomeSql;   // by the fields read
    std::map<QList<int>, QString> m_updateSql;   // by the fields an update changes
    QStringList m_values;     // the current record
    QStringList m_pending;    // values being edited
    bool m_editing = false;
    QString m_error;
};
