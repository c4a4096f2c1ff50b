#pragma once
// The setup the data file fixtures hold, sentinel values to show what a load
// wrote, and a snapshot of everything a data file carries.

#include "program/ProgramTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The moment the fixtures were saved at.
QDateTime FixtureTime();

// The bytes of fixtures/zt260a.zqd or zt460a.zqd. A line "@empty a b" in a
// fixture stands for the record lines of registers a to b with every axis
// field empty (Reg1 and Reg2 the register number).
QByteArray FixtureBytes(UnitKind kind);

// The parameter tables and scale the fixtures hold, into the shared store.
void FillFixtureSetup();
// The fixture's program into the model's table (the other registers empty).
void FillFixtureProgram(ProgramTable &table);

// Everything a data file carries, item by item as text.
struct DataState {
    // [axis][section: 0 MODE, 1 HOME SEARCH, 2 PARAMETER] -> items
    std::array<std::array<QStringList, 3>, 4> sections;
    std::vector<QStringList> records;
    QStringList scale;   // 4 unit codes, then factors 0..5 of X, Y, Z, U
    bool operator==(const DataState &) const = default;
};
DataState Capture(ProgramTable &table);

// Values no file holds: settings 5, parameters "kept", units 0, factors
// "7", and unless `program` is false every program field "old" (Reg1 and
// Reg2 the register number).
void FillSentinels(ProgramTable &table, bool program = true);

// The file's lines joined with CR LF (the last one too).
QByteArray FileOf(const QStringList &lines);

// A record line of 22 quoted fields.
QString RecordLine(const QStringList &fields);
// A record line for register n: X_CMT "c<n>", every other axis field empty.
QString GoodRecord(int reg);
