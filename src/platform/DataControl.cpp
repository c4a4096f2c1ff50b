#include "platform/DataControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <map>
#include <numeric>

namespace {

const QString kPosColumn = QStringLiteral("Pos");

QString quoted(const QString &name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString fieldList(const QStringList &fields)
{
    QStringList q;
    q.reserve(fields.size());
    for (const QString &f : fields)
        q << quoted(f);
    return q.join(u',');
}

// The shared connection of each file, what a transaction on it noted, and
// the statements prepared on it (kept, since a record is read and stored
// thousands of times in a row by a bulk command).
struct Connection {
    QString name;
    int transactionDepth = 0;
    bool storeFailed = false;
    std::map<QString, QSqlQuery> prepared;
};

std::map<QString, Connection> &connections()
{
    static std::map<QString, Connection> map;
    return map;
}

QString keyOf(const QString &path)
{
    // Asked for every statement: the answer for the last path is kept.
    static QString lastPath, lastKey;
    if (path != lastPath || lastKey.isEmpty()) {
        lastKey = QFileInfo(path).absoluteFilePath();
        lastPath = path;
    }
    return lastKey;
}

// What SQLite itself says of a failure, without the driver's words around it.
QString sqliteText(const QSqlError &e)
{
    const QString own = e.databaseText().trimmed();
    return own.isEmpty() ? e.text().trimmed() : own;
}

// A file its owner may not write is opened read-only, whoever runs the
// program: a store into it is then refused as for every other user.
bool markedReadOnly(const QString &path)
{
    return !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

// The reason a store was refused, said as a sentence when the file or its
// folder cannot be written (SQLite's own text follows on a line of its own).
QString storeRefusal(const QString &path, const QSqlError &e)
{
    constexpr int kReadOnly = 8;   // SQLITE_READONLY and its extended codes
    constexpr int kCantOpen = 14;  // SQLITE_CANTOPEN: the journal could not be made
    const int code = e.nativeErrorCode().toInt() & 0xff;
    const QFileInfo file(path);
    const bool folderWritable = QFileInfo(file.absolutePath()).isWritable();
    const bool fileWritable = file.isWritable() && !markedReadOnly(path);
    QString why;
    if (code == kReadOnly)
        why = !fileWritable || folderWritable ? QStringLiteral("it is read-only")
                                              : QStringLiteral("its folder is read-only");
    else if (code == kCantOpen && !folderWritable)
        why = QStringLiteral("its folder is read-only");
    else
        return sqliteText(e);
    return QStringLiteral("The database file %1 cannot be written: %2.\nSQLite: %3")
        .arg(QDir::toNativeSeparators(file.absoluteFilePath()), why, sqliteText(e));
}

// Opens the file's connection once; later calls return it. An invalid
// database when the file cannot be opened.
QSqlDatabase connectionOf(const QString &path, QString *error, Connection **record = nullptr)
{
    const QString key = keyOf(path);
    auto it = connections().find(key);
    if (it == connections().end()) {
        // A file that vanished must not be created again, empty, by opening it.
        if (!QFileInfo::exists(key)) {
            if (error)
                *error = QStringLiteral("the file does not exist");
            return QSqlDatabase();
        }
        static int serial = 0;
        Connection c;
        c.name = QStringLiteral("zt-db-%1").arg(++serial);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        db.setDatabaseName(key);
        db.setConnectOptions(markedReadOnly(key) ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000;QSQLITE_OPEN_READONLY")
                                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open()) {
            if (error)
                *error = sqliteText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(c.name);
            return QSqlDatabase();
        }
        // Every store is its own commit; the disk need not be synced for each.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        it = connections().emplace(key, c).first;
    }
    if (record)
        *record = &it->second;
    return QSqlDatabase::database(it->second.name, false);
}

// The statement `sql` prepared once on the file's connection; nullptr when
// the file cannot be opened or the statement not prepared.
QSqlQuery *preparedQuery(const QString &path, const QString &sql, QString *error)
{
    Connection *c = nullptr;
    QSqlDatabase db = connectionOf(path, error, &c);
    if (!db.isValid() || !c)
        return nullptr;
    auto it = c->prepared.find(sql);
    if (it == c->prepared.end()) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.prepare(sql)) {
            if (error)
                *error = sqliteText(q.lastError());
            return nullptr;
        }
        it = c->prepared.emplace(sql, std::move(q)).first;
    }
    return &it->second;
}

// The name of the i-th value of a store. Values are bound by name, with the
// names made once: Qt makes a name of its own for every value bound by
// position, which a bulk store of thousands of records pays for each value.
const QString &valueName(int i)
{
    static QStringList names;
    while (names.size() <= i)
        names << QStringLiteral(":v%1").arg(names.size());
    return names[i];
}

const QString kPosName = QStringLiteral(":pos");

// Every field is text; an unset text is stored as the empty text, never NULL.
QString textValue(const QString &s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

QString cannotUse(const QString &path, const QString &why)
{
    return QStringLiteral("The database file %1 cannot be used: %2.").arg(QDir::toNativeSeparators(path), why);
}

// Field names of a table in their stored order, without the position
// column; nothing when the table does not exist or cannot be read.
std::optional<QStringList> tableFields(QSqlDatabase &db, const QString &table, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)))) {
        if (error)
            *error = sqliteText(q.lastError());
        return std::nullopt;
    }
    QStringList fields;
    bool hasPos = false;
    while (q.next()) {
        const QString name = q.value(1).toString();
        if (name == kPosColumn)
            hasPos = true;
        else
            fields << name;
    }
    // A read that stops early is no list of fields.
    if (q.lastError().isValid()) {
        if (error)
            *error = sqliteText(q.lastError());
        return std::nullopt;
    }
    if (!hasPos) {
        if (error)
            *error = fields.isEmpty() ? QStringLiteral("table %1 is missing").arg(table)
                                      : QStringLiteral("table %1 has no record positions").arg(table);
        return std::nullopt;
    }
    return fields;
}

// Whether the positions of the table are exactly the whole numbers
// 0 .. count-1, each once; the count. A position such as 51.5 would make one
// register missing for a read by number and another row appear in its place
// for a read in order.
std::optional<int> recordCount(QSqlDatabase &db, const QString &table, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*), MIN(%1), MAX(%1), COUNT(DISTINCT %1), "
                               "TOTAL(typeof(%1) <> 'integer') FROM %2")
                    .arg(quoted(kPosColumn), quoted(table)))
        || !q.next()) {
        if (error)
            *error = q.lastError().isValid() ? sqliteText(q.lastError())
                                             : QStringLiteral("table %1 cannot be counted").arg(table);
        return std::nullopt;
    }
    const int count = q.value(0).toInt();
    if (count == 0)
        return 0;
    if (q.value(4).toDouble() != 0) {
        if (error)
            *error = QStringLiteral("the records of table %1 are not numbered 0 to %2: a position is not a whole number")
                         .arg(table)
                         .arg(count - 1);
        return std::nullopt;
    }
    if (q.value(1).toLongLong() != 0 || q.value(2).toLongLong() != count - 1 || q.value(3).toInt() != count) {
        if (error)
            *error = QStringLiteral("the records of table %1 are not numbered 0 to %2").arg(table).arg(count - 1);
        return std::nullopt;
    }
    return count;
}

// SQLite's own check of the file: nothing when it calls the file "ok", else
// its first complaint. The quick check does not compare an index with its
// table, so a file that holds an index gets the whole check.
std::optional<QString> sqliteComplaint(QSqlDatabase &db)
{
    auto check = [&](const QString &pragma) -> std::optional<QString> {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(pragma) || !q.next())
            return q.lastError().isValid() ? sqliteText(q.lastError())
                                           : QStringLiteral("its check gives no answer");
        QString answer = q.value(0).toString();
        if (answer == u"ok")
            return std::nullopt;
        // The first complaint may come after the name of the database.
        static const QString kIn = QStringLiteral("*** in database main ***");
        if (answer.startsWith(kIn))
            answer = answer.mid(kIn.size()).trimmed();
        return answer.section(u'\n', 0, 0).trimmed();
    };
    if (auto complaint = check(QStringLiteral("PRAGMA quick_check")))
        return complaint;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index'")) || !q.next())
        return q.lastError().isValid() ? sqliteText(q.lastError()) : QStringLiteral("its tables cannot be listed");
    if (q.value(0).toInt() > 0)
        return check(QStringLiteral("PRAGMA integrity_check"));
    return std::nullopt;
}

bool createTables(QSqlDatabase &db, const std::vector<TableSchema> &tables, QString *error)
{
    QSqlQuery q(db);
    if (!db.transaction()) {
        *error = sqliteText(db.lastError());
        return false;
    }
    for (const TableSchema &t : tables) {
        QStringList columns{quoted(kPosColumn) + QStringLiteral(" INTEGER PRIMARY KEY")};
        for (const QString &f : t.fields)
            columns << quoted(f) + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
        if (!q.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(t.table), columns.join(u',')))) {
            *error = sqliteText(q.lastError());
            db.rollback();
            return false;
        }
        QStringList marks(t.fields.size() + 1, QStringLiteral("?"));
        q.prepare(QStringLiteral("INSERT INTO %1 (%2,%3) VALUES (%4)")
                      .arg(quoted(t.table), quoted(kPosColumn), fieldList(t.fields), marks.join(u',')));
        for (int pos = 0; pos < t.records; ++pos) {
            q.bindValue(0, pos);
            for (int f = 0; f < t.fields.size(); ++f)
                q.bindValue(f + 1, textValue(t.seed ? t.seed(pos, f) : QString()));
            if (!q.exec()) {
                *error = sqliteText(q.lastError());
                db.rollback();
                return false;
            }
        }
    }
    if (!db.commit()) {
        *error = sqliteText(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

// A new file is built under a temporary name beside its place and renamed
// into it only when it is complete.
std::optional<QString> createDatabase(const QString &path, const std::vector<TableSchema> &tables)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return cannotUse(path, QStringLiteral("its folder cannot be made"));
    const QString temp = info.absoluteFilePath() + QStringLiteral(".new");
    QFile::remove(temp);
    QString error;
    {
        const QString name = QStringLiteral("zt-db-create");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(temp);
            if (!db.open())
                error = sqliteText(db.lastError());
            else if (createTables(db, tables, &error))
                error.clear();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (error.isEmpty() && !QFile::rename(temp, info.absoluteFilePath()))
        error = QStringLiteral("the new file cannot be put in place");
    if (!error.isEmpty()) {
        QFile::remove(temp);
        return cannotUse(path, QStringLiteral("it cannot be created (%1)").arg(error));
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> EnsureDatabase(const QString &path, const std::vector<TableSchema> &tables)
{
    if (!QFileInfo::exists(path))
        return createDatabase(path, tables);
    QString error;
    QSqlDatabase db = connectionOf(path, &error);
    if (!db.isValid())
        return cannotUse(path, error);
    // The handle is let go before the connection is dropped, so that no
    // query is left on a removed connection.
    auto refuse = [&](const QString &why) {
        db = QSqlDatabase();
        CloseDatabase(path);
        return cannotUse(path, why);
    };
    // A file SQLite itself finds damaged would give nothing or a wrong
    // record on some read, and a store into it could damage it further.
    if (const auto complaint = sqliteComplaint(db)) {
        if (complaint->contains(QStringLiteral("not a database"), Qt::CaseInsensitive))
            return refuse(QStringLiteral("it is not a database"));
        return refuse(QStringLiteral("SQLite finds it damaged (%1)").arg(*complaint));
    }
    for (const TableSchema &t : tables) {
        const auto fields = tableFields(db, t.table, &error);
        if (!fields) {
            if (error.contains(QStringLiteral("not a database"), Qt::CaseInsensitive)
                || error.contains(QStringLiteral("malformed"), Qt::CaseInsensitive))
                error = QStringLiteral("it is not a database");
            return refuse(error);
        }
        for (const QString &f : t.fields)
            if (!fields->contains(f))
                return refuse(QStringLiteral("field %1 of table %2 is missing").arg(f, t.table));
        const auto count = recordCount(db, t.table, &error);
        if (!count)
            return refuse(error);
        if (*count < t.records || (*count > t.records && !t.moreRecordsAllowed))
            return refuse(QStringLiteral("table %1 holds %2 records instead of %3")
                              .arg(t.table)
                              .arg(*count)
                              .arg(t.records));
    }
    return std::nullopt;
}

void CloseDatabase(const QString &path)
{
    const auto it = connections().find(keyOf(path));
    if (it == connections().end())
        return;
    const QString name = it->second.name;
    // Prepared statements go before their connection does.
    it->second.prepared.clear();
    connections().erase(it);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// ---- DataControl ----------------------------------------------------------

DataControl::DataControl() : m_rs(std::make_unique<Recordset>()) {}

DataControl::~DataControl() = default;

bool DataControl::Refresh()
{
    m_rs->close();
    return m_rs->open(DatabaseName, RecordSource);
}

bool DataControl::UpdateRecord()
{
    return !m_rs->EditPending() || m_rs->Update();
}

bool DataControl::IsOpen() const
{
    return !m_rs->m_table.isEmpty();
}

Recordset &DataControl::recordset()
{
    return *m_rs;
}

std::vector<QStringList> DataControl::ReadAll() const
{
    QList<int> all(m_rs->m_fields.size());
    std::iota(all.begin(), all.end(), 0);
    return ReadAll(all);
}

std::vector<QStringList> DataControl::ReadAll(const QList<int> &fields) const
{
    std::vector<QStringList> rows;
    if (!IsOpen())
        return rows;
    QStringList names;
    names.reserve(fields.size());
    for (int f : fields) {
        if (f < 0 || f >= m_rs->m_fields.size()) {
            m_rs->m_error = QStringLiteral("table %1 has no field %2").arg(m_rs->m_table).arg(f);
            return rows;
        }
        names << m_rs->m_fields[f];
    }
    QString error;
    QSqlQuery *q = preparedQuery(m_rs->m_path,
                                 QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                     .arg(fieldList(names), quoted(m_rs->m_table), quoted(kPosColumn)),
                                 &error);
    if (!q || !q->exec()) {
        m_rs->m_error = q ? sqliteText(q->lastError()) : error;
        return rows;
    }
    const int n = int(fields.size());
    rows.reserve(size_t(m_rs->m_count));
    while (q->next()) {
        QStringList row;
        row.reserve(n);
        for (int f = 0; f < n; ++f)
            row << q->value(f).toString();
        rows.push_back(std::move(row));
    }
    // A read that stopped early (a damaged page) is no table.
    const QSqlError stopped = q->lastError();
    q->finish();
    if (stopped.isValid()) {
        m_rs->m_error = sqliteText(stopped);
        rows.clear();
    } else if (int(rows.size()) != m_rs->m_count) {
        m_rs->m_error = QStringLiteral("table %1 gives %2 of its %3 records").arg(m_rs->m_table).arg(rows.size()).arg(m_rs->m_count);
        rows.clear();
    }
    return rows;
}

bool DataControl::StoreFields(int pos, const std::vector<std::pair<int, QString>> &fields)
{
    return m_rs->storeFields(pos, fields);
}

bool DataControl::InTransaction(const std::function<bool()> &work)
{
    QString error;
    Connection *c = nullptr;
    QSqlDatabase db = connectionOf(m_rs->m_path, &error, &c);
    if (!db.isValid() || !c) {
        m_rs->m_error = error.isEmpty() ? QStringLiteral("no database is open") : error;
        return false;
    }
    // Inside a transaction already: the outer one decides.
    if (c->transactionDepth > 0) {
        ++c->transactionDepth;
        const bool ok = work() && !c->storeFailed;
        --c->transactionDepth;
        if (!ok)
            c->storeFailed = true;
        return ok;
    }
    if (!db.transaction()) {
        m_rs->m_error = storeRefusal(m_rs->m_path, db.lastError());
        return false;
    }
    c->storeFailed = false;
    c->transactionDepth = 1;
    bool ok = work() && !c->storeFailed;
    c->transactionDepth = 0;
    c->storeFailed = false;
    if (ok && !db.commit()) {
        m_rs->m_error = storeRefusal(m_rs->m_path, db.lastError());
        ok = false;
    }
    if (!ok) {
        db.rollback();
        // The current record may hold values that were just rolled back.
        m_rs->m_editing = false;
        if (m_rs->m_pos >= 0)
            m_rs->load(m_rs->m_pos);
    }
    return ok;
}

QString DataControl::ErrorText() const
{
    return m_rs->m_error;
}

// ---- Recordset ------------------------------------------------------------

bool Recordset::open(const QString &path, const QString &table)
{
    QString error;
    QSqlDatabase db = connectionOf(path, &error);
    if (!db.isValid()) {
        m_error = error;
        return false;
    }
    const auto fields = tableFields(db, table, &error);
    const auto count = fields ? recordCount(db, table, &error) : std::nullopt;
    if (!fields || !count) {
        m_error = error;
        return false;
    }
    m_path = path;
    m_table = table;
    m_fields = *fields;
    m_count = *count;
    m_error.clear();
    if (m_count > 0)
        return load(0);
    m_pos = -1;
    m_eof = true;
    return true;
}

void Recordset::close()
{
    m_selectSql.clear();
    m_selectSomeSql.clear();
    m_updateSql.clear();
    m_path.clear();
    m_table.clear();
    m_fields.clear();
    m_values.clear();
    m_pending.clear();
    m_count = 0;
    m_pos = -1;
    m_eof = true;
    m_editing = false;
}

bool Recordset::load(int pos)
{
    if (m_selectSql.isEmpty())
        m_selectSql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                          .arg(fieldList(m_fields), quoted(m_table), quoted(kPosColumn));
    QStringList values;
    if (!readRecord(pos, m_selectSql, int(m_fields.size()), &values))
        return false;
    m_values = std::move(values);
    m_pos = pos;
    m_eof = false;
    return true;
}

// The `count` texts that `sql`, a SELECT by position, reads of record `pos`.
// False, with the reason kept, when the record is missing or the read fails.
bool Recordset::readRecord(int pos, const QString &sql, int count, QStringList *values)
{
    QString error;
    QSqlQuery *q = preparedQuery(m_path, sql, &error);
    if (!q) {
        m_error = error;
        return false;
    }
    q->bindValue(0, pos);
    if (!q->exec() || !q->next()) {
        m_error = q->lastError().isValid() ? sqliteText(q->lastError()) : QString();
        if (m_error.isEmpty())
            m_error = QStringLiteral("record %1 of table %2 is missing").arg(pos).arg(m_table);
        q->finish();
        return false;
    }
    values->clear();
    values->reserve(count);
    for (int f = 0; f < count; ++f)
        *values << q->value(f).toString();
    q->finish();
    return true;
}

int Recordset::RecordCount() const
{
    return m_count;
}

QStringList Recordset::FieldNames() const
{
    return m_fields;
}

bool Recordset::setAbsolutePosition(int n)
{
    if (n < 0 || n >= m_count || m_table.isEmpty())
        return false;
    m_editing = false;
    return load(n);
}

void Recordset::MoveFirst()
{
    setAbsolutePosition(0);
}

void Recordset::MoveNext()
{
    if (m_eof)
        return;
    if (!setAbsolutePosition(m_pos + 1)) {
        m_editing = false;
        m_eof = true;
        m_pos = -1;
        m_values.clear();
    }
}

void Recordset::MoveLast()
{
    setAbsolutePosition(m_count - 1);
}

bool Recordset::EOF_() const
{
    return m_eof;
}

QString Recordset::Field(const QString &name) const
{
    return Field(int(m_fields.indexOf(name)));
}

QString Recordset::Field(int index) const
{
    const QStringList &values = m_editing ? m_pending : m_values;
    return index >= 0 && index < values.size() ? values[index] : QString();
}

void Recordset::Edit()
{
    if (m_pos < 0)
        return;
    m_pending = m_values;
    m_editing = true;
}

bool Recordset::setField(const QString &name, const QString &value)
{
    return setField(int(m_fields.indexOf(name)), value);
}

bool Recordset::setField(int index, const QString &value)
{
    if (!m_editing || index < 0 || index >= m_pending.size())
        return false;
    m_pending[index] = value;
    return true;
}

bool Recordset::Update()
{
    if (!m_editing)
        return false;
    m_editing = false;
    QList<int> changed;
    QStringList values;
    for (int f = 0; f < m_fields.size(); ++f)
        if (m_pending[f] != m_values[f]) {
            changed << f;
            values << m_pending[f];
        }
    if (changed.isEmpty())
        return true;
    if (!write(m_pos, changed, values)) {
        // Show what the record holds, not what failed to be stored.
        load(m_pos);
        return false;
    }
    m_values = m_pending;
    return true;
}

bool Recordset::Store(int n, const QList<int> &fields, const QStringList &values)
{
    if (m_table.isEmpty() || n < 0 || n >= m_count) {
        m_error = QStringLiteral("record %1 is outside table %2").arg(n).arg(m_table);
        return false;
    }
    if (fields.size() != values.size()) {
        m_error = QStringLiteral("%1 values for %2 fields").arg(values.size()).arg(fields.size());
        return false;
    }
    for (int f : fields)
        if (f < 0 || f >= m_fields.size()) {
            m_error = QStringLiteral("table %1 has no field %2").arg(m_table).arg(f);
            return false;
        }
    if (fields.isEmpty())
        return true;
    if (!write(n, fields, values))
        return false;
    if (n == m_pos)
        for (int i = 0; i < fields.size(); ++i)
            m_values[fields[i]] = values[i];
    return true;
}

// One UPDATE of these fields of record `pos`, prepared once for each set of
// fields. A failure inside a transaction makes the transaction fail.
bool Recordset::write(int pos, const QList<int> &fields, const QStringList &values)
{
    QString &sql = m_updateSql[fields];
    if (sql.isEmpty()) {
        QStringList sets;
        for (int i = 0; i < fields.size(); ++i)
            sets << quoted(m_fields[fields[i]]) + QStringLiteral(" = ") + valueName(i);
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = %4")
                  .arg(quoted(m_table), sets.join(u','), quoted(kPosColumn), kPosName);
    }
    QString error;
    QSqlQuery *q = preparedQuery(m_path, sql, &error);
    bool ok = q != nullptr;
    if (ok) {
        for (int i = 0; i < fields.size(); ++i)
            q->bindValue(valueName(i), textValue(values[i]));
        q->bindValue(kPosName, pos);
        ok = q->exec() && q->numRowsAffected() == 1;
        if (!ok)
            error = q->lastError().isValid() ? storeRefusal(m_path, q->lastError())
                                             : QStringLiteral("record %1 of table %2 is missing").arg(pos).arg(m_table);
        q->finish();
    }
    if (!ok) {
        m_error = error;
        Connection *c = nullptr;
        connectionOf(m_path, nullptr, &c);
        if (c)
            c->storeFailed = true;
    }
    return ok;
}

bool Recordset::storeFields(int pos, const std::vector<std::pair<int, QString>> &fields)
{
    if (m_table.isEmpty()) {
        m_error = QStringLiteral("no table is open");
        return false;
    }
    if (pos < 0 || pos >= m_count) {
        m_error = QStringLiteral("record %1 of table %2 is missing").arg(pos).arg(m_table);
        return false;
    }
    // The fields named, in field order, each with the last text given for it.
    std::map<int, QString> given;
    for (const auto &[f, value] : fields) {
        if (f < 0 || f >= m_fields.size()) {
            m_error = QStringLiteral("table %1 has no field %2").arg(m_table).arg(f);
            return false;
        }
        given[f] = value;
    }
    if (given.empty())
        return true;
    QList<int> named;
    for (const auto &entry : given)
        named << entry.first;

    // Only what changes is stored, as an Update stores it.
    QString &sql = m_selectSomeSql[named];
    if (sql.isEmpty()) {
        QStringList columns;
        for (int f : named)
            columns << m_fields[f];
        sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(fieldList(columns), quoted(m_table), quoted(kPosColumn));
    }
    QStringList inFile;
    if (!readRecord(pos, sql, int(named.size()), &inFile))
        return false;
    QList<int> changed;
    QStringList values;
    int column = 0;
    for (const auto &[f, value] : given)
        if (inFile[column++] != value) {
            changed << f;
            values << value;
        }
    if (changed.isEmpty())
        return true;
    if (!write(pos, changed, values))
        return false;
    // The current record shows what is stored now.
    if (pos == m_pos)
        for (qsizetype i = 0; i < changed.size(); ++i) {
            m_values[changed[i]] = values[i];
            if (m_editing)
                m_pending[changed[i]] = values[i];
        }
    return true;
}

void Recordset::CancelUpdate()
{
    m_editing = false;
}
