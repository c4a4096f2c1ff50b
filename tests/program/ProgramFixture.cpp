#include "ProgramFixture.h"

#include "shared/Shared.h"


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
