#include "ProgramFixture.h"

#include "shared/Shared.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

ProgramFixture::ProgramFixture(UnitKind kind) : table(ProgramTableOf(kind))
{
    ResetSharedState();
    SetStartValues();
    if (const auto refused = table.Open())
        qFatal("program table not opened: %s", qPrintable(*refused));
}

ProgramFixture::~ProgramFixture()
{
    CloseProgramTables();
}

bool ProgramFixture::sql(const QStringList &statements) const
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(table.FilePath());
        ok = db.open();
        for (const QString &s : statements)
            ok = ok && QSqlQuery(db).exec(s);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    return ok;
}

bool ProgramFixture::refuseStoresTo(int reg) const
{
    const QString t = ProgramTableName(table.Kind());
    return sql({QStringLiteral("CREATE TRIGGER refuse%1 BEFORE UPDATE ON %2 WHEN NEW.Pos = %1 "
                               "BEGIN SELECT RAISE(ABORT, 'register locked'); END")
                    .arg(reg)
                    .arg(t)});
}

bool ProgramFixture::put(int reg, int axis, const ClipRow &row)
{
    return table.WriteAxis(reg, axis, row);
}

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
