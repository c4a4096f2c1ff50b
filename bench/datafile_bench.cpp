// Saving and loading a full 4-axis data file (2000 registers with every
// field filled, every parameter set) beside the plain file calls of the same
// bytes, and beside the least the program database itself costs. Prints each
// time beside its reference and the ratio; exits non-zero when the file, the
// loaded program or a reference's result is not what it should be.

#include "BenchSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "program/ProgramTable.h"
#include "shared/Shared.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// The program of one round: every field filled, `tag` in every text.
std::vector<QStringList> program(int regs, const QString &tag)
{
    std::vector<QStringList> rows(static_cast<std::size_t>(regs));
    for (int reg = 0; reg < regs; ++reg)
        for (int col = 0; col < kProgramFields; ++col)
            rows[std::size_t(reg)] << (col == 0 || col == 11 ? QString::number(reg)
                                                             : QStringLiteral("%1 %2, %3").arg(tag).arg(reg).arg(col));
    return rows;
}

bool store(ProgramTable &table, const std::vector<QStringList> &rows)
{
    return table.InTransaction([&] {
        for (std::size_t reg = 0; reg < rows.size(); ++reg)
            if (!table.WriteRecord(int(reg), rows[reg]))
                return false;
        return true;
    });
}

// The file's pages are dropped from the cache (they are clean: every file
// here was synced when written), so that the next read goes to the disk.
bool dropCached(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool dropped = ::fdatasync(fd) == 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ::close(fd);
    return dropped;
}

// The save's own file calls on the same bytes: a temporary file beside the
// target, written, synced and renamed over it.
bool plainSave(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".tmp";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size() && ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && written && ::rename(temp.constData(), target.constData()) == 0;
}

qsizetype plainRead(const QString &path, QByteArray &buffer)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return -1;
    const ssize_t got = ::read(fd, buffer.data(), size_t(buffer.size()));
    ::close(fd);
    return got;
}

// The least the Qt SQLite driver does for a load: on its own connection to a
// copy of the program database, one prepared forward-only SELECT of every
// field, and one prepared UPDATE of a whole record bound by name (the
// cheapest binding Qt offers), run for every register and committed.
class BareDatabase
{
public:
    explicit BareDatabase(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        m_open = db.open();
        // The same durability as the program's own connection.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        QStringList fields, sets;
        for (int f = 0; f < kProgramFields; ++f) {
            fields << u'"' + ProgramFieldNames()[f] + u'"';
            sets << fields.last() + QStringLiteral(" = :v%1").arg(f);
            m_names << QStringLiteral(":v%1").arg(f);
        }
        const QString table = u'"' + ProgramTableName(UnitKind::FourAxis) + u'"';
        m_select = std::make_unique<QSqlQuery>(db);
        m_select->setForwardOnly(true);
        m_update = std::make_unique<QSqlQuery>(db);
        m_open = m_open
                 && m_select->prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY Pos").arg(fields.join(u','), table))
                 && m_update->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE Pos = :pos").arg(table, sets.join(u',')));
    }
    ~BareDatabase()
    {
        m_select.reset();
        m_update.reset();
        QSqlDatabase::database(kName, false).close();
        QSqlDatabase::removeDatabase(kName);
    }

    // The number of texts read (44,000 when sound).
    qsizetype readAll()
    {
        qsizetype texts = 0;
        if (!m_open || !m_select->exec())
            return -1;
        while (m_select->next())
            for (int f = 0; f < kProgramFields; ++f)
                texts += m_select->value(f).toString().isEmpty() ? 0 : 1;
        m_select->finish();
        return texts;
    }

    bool writeAll(const std::vector<QStringList> &rows)
    {
        QSqlDatabase db = QSqlDatabase::database(kName, false);
        if (!m_open || !db.transaction())
            return false;
        for (std::size_t reg = 0; reg < rows.size(); ++reg) {
            for (int f = 0; f < kProgramFields; ++f)
                m_update->bindValue(m_names[f], rows[reg][f]);
            m_update->bindValue(QStringLiteral(":pos"), int(reg));
            if (!m_update->exec() || m_update->numRowsAffected() != 1) {
                db.rollback();
                return false;
            }
        }
        return db.commit();
    }

private:
    static inline const QString kName = QStringLiteral("bare");
    bool m_open = false;
    QStringList m_names;
    std::unique_ptr<QSqlQuery> m_select;
    std::unique_ptr<QSqlQuery> m_update;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    SetAppPath(home.path());
    BenchDialogs dialogs;
    SetDialogs(&dialogs);
    ResetSharedState();
    SetStartValues();
    g.UnitModel = QStringLiteral("4");

    for (int a = 0; a < kAxes; ++a) {
        for (int i = 0; i < kModeItems; ++i)
            g.ModeSetTable[a][i] = int16_t((a + i) % 3);
        for (int i = 0; i < kHomeItems; ++i)
            g.HomeSetTable[a][i] = int16_t((a * i) % 4);
        for (int i = 0; i < kParamItems; ++i)
            g.ParamTable[a][i] = QString::number(1000 * (a + 1) + i);
        g.ScaleSel[a] = int16_t(a);
        g.ScaleFactor[1][a] = QStringLiteral("0.001");
    }

    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    if (const auto refused = table.Open()) {
        std::fprintf(stderr, "%s\n", qPrintable(*refused));
        return 1;
    }
    const int regs = table.RegisterCount();
    const std::vector<QStringList> saved = program(regs, QStringLiteral("saved"));
    const std::vector<QStringList> other = program(regs, QStringLiteral("other"));
    if (!store(table, saved)) {
        std::fprintf(stderr, "the program could not be written\n");
        return 1;
    }

    const QString path = QDir(home.path()).filePath(QStringLiteral("bench.zqd"));
    const QString plain = QDir(home.path()).filePath(QStringLiteral("plain.zqd"));
    const QString bareCopy = QDir(home.path()).filePath(QStringLiteral("bare.sqlite"));
    constexpr int runs = 11;
    bool sound = QFile::copy(table.FilePath(), bareCopy);

    const double save = median(runs, [&] { return timeMs([&] { sound = !SaveDataFile(path) && sound; }); });
    QByteArray bytes;
    {
        QFile f(path);
        sound = f.open(QIODevice::ReadOnly) && sound;
        bytes = f.readAll();
    }
    const double write = median(runs, [&] { return timeMs([&] { sound = plainSave(plain, bytes) && sound; }); });
    QByteArray buffer(bytes.size() + 1, '\0');
    const double read = median(runs, [&] {
        sound = dropCached(plain) && sound;
        return timeMs([&] { sound = plainRead(plain, buffer) == bytes.size() && sound; });
    });

    // A load that changes every register, then loads onto the same program;
    // each starts from a file that is not in the cache, as the plain read does.
    const double load = median(runs, [&] {
        sound = store(table, other) && dropCached(path) && sound;
        return timeMs([&] { sound = LoadDataFile(path).notLoaded.isEmpty() && sound; });
    });
    const double same = median(runs, [&] {
        sound = dropCached(path) && sound;
        return timeMs([&] { sound = LoadDataFile(path).notLoaded.isEmpty() && sound; });
    });
    sound = table.ReadAll() == saved && sound;
    // The file's share of a load: reading and parsing, no database.
    const double parse = median(runs, [&] {
        sound = dropCached(path) && sound;
        return timeMs([&] {
            QFile in(path);
            sound = in.open(QIODevice::ReadOnly) && sound;
            sound = ParseDataFile(in.readAll(), UnitKind::FourAxis).notLoaded.isEmpty() && sound;
        });
    });

    // What the database costs at the least, with nothing of ours around it.
    double sqlRead = 0, sqlWrite = 0;
    {
        BareDatabase bare(bareCopy);
        const qsizetype texts = qsizetype(regs) * kProgramFields;
        sqlRead = median(runs, [&] { return timeMs([&] { sound = bare.readAll() == texts && sound; }); });
        int round = 0;
        sqlWrite = median(runs, [&] {
            const auto &rows = ++round % 2 ? other : saved;   // every run changes every text
            return timeMs([&] { sound = bare.writeAll(rows) && sound; });
        });
    }

    std::printf("data file of the 4-axis unit: %d registers x %d fields, %lld bytes, median of %d runs\n", regs,
                kProgramFields, static_cast<long long>(bytes.size()), runs);
    std::printf("references:\n"
                "  plain save   open a temporary file, write the bytes, fdatasync, rename it over the old file\n"
                "               (the save's own file calls)\n"
                "  cold read    open, read, close, the file's cached pages dropped first (posix_fadvise);\n"
                "               every load and parse below starts from a file dropped the same way\n"
                "  SQLite read  the %d texts of the program by one prepared forward-only Qt query\n"
                "  SQLite write %d prepared Qt UPDATEs of a whole register, values bound by name, and the commit\n",
                regs * kProgramFields, regs);
    FigureLine("save (read program, write, rename)", save, "plain save", write, 3.0);
    FigureLine("save", save, "SQLite read + plain save", sqlRead + write, 3.0);
    FigureLine("load changing every register", load, "cold read", read, 3.0);
    FigureLine("load changing every register", load, "cold + SQLite read + write", read + sqlRead + sqlWrite, 3.0);
    FigureLine("load onto the same program", same, "cold read", read, 3.0);
    FigureLine("load onto the same program", same, "cold read + SQLite read", read + sqlRead, 3.0);
    FigureLine("read and parse only (no database)", parse, "cold read", read, 3.0);
    std::printf("the database alone: SQLite read %.2f ms is %.1f x the plain save and %.1f x the cold read\n", sqlRead,
                sqlRead / write, sqlRead / read);
    if (!dialogs.shown.isEmpty()) {
        std::printf("unexpected messages: %s\n", qPrintable(dialogs.shown.join(QStringLiteral(" | "))));
        sound = false;
    }
    std::printf("result: %s\n", sound ? "file, program and references as they should be"
                                      : "WRONG FILE, PROGRAM OR REFERENCE RESULT");
    SetDialogs(nullptr);
    CloseProgramTables();
    return sound ? 0 : 1;
}
