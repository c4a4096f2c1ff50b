#include "ProgramFixture.h"

#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>


namespace {
// New program files made once per run, copied for every later fixture.
QString madeFile(UnitKind kind)
{
    static QTemporaryDir dir;
    return dir.filePath(kind == UnitKind::TwoAxis ? QStringLiteral("2.sqlite") : QStringLiteral("4.sqlite"));
}
}

ProgramFixture::ProgramFixture(UnitKind kind, bool makeNew) : table(ProgramTableOf(kind))
{
    ResetSharedState();
    ResetEditClipboard();
    SetStartValues();
    const QString made = madeFile(kind);
    if (!makeNew && QFile::exists(made)) {
        QDir().mkpath(QFileInfo(table.FilePath()).absolutePath());
        QFile::copy(made, table.FilePath());
    }
    if (const auto refused = table.Open())
        qFatal("program table not opened: %s", qPrintable(*refused));
    if (!QFile::exists(made))
        QFile::copy(table.FilePath(), made);
}

ProgramFixture::~ProgramFixture()
{
    CloseProgramTables();
}

void ProgramFixture::refuseStoresTo(int reg) const
{
    RawSql(table.FilePath(), {QStringLiteral("CREATE TRIGGER refuse%1 BEFORE UPDATE ON %2 WHEN NEW.Pos = %1 "
                                             "BEGIN SELECT RAISE(ABORT, 'register locked'); END")
                                  .arg(reg)
                                  .arg(ProgramTableName(table.Kind()))});
}

bool ProgramFixture::put(int reg, int axis, const ClipRow &row)
{
    return table.WriteAxis(reg, axis, row);
}
