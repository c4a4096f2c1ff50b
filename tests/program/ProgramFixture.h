#pragma once
// A program folder of its own with the program database of one model,
// scripted dialogs, and ways to fill or damage the file from outside.

#include "RawSql.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "program/ProgramTable.h"

#include <QStringList>

class ProgramFixture
{
public:
    // The file is a copy of one the program made earlier in the run, unless
    // `makeNew` asks for the program to make it here.
    explicit ProgramFixture(UnitKind kind = UnitKind::FourAxis, bool makeNew = false);
    ~ProgramFixture();

    TestHome home;
    ScriptedDialogs dialogs;
    ProgramTable &table;
    QString path() const { return table.FilePath(); }

    // Every later store into register `reg` is refused by the database.
    void refuseStoresTo(int reg) const;
    // Writes one axis of a register directly (true when stored).
    bool put(int reg, int axis, const ClipRow &row);
};
