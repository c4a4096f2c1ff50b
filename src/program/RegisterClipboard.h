#pragma once
// Cut, copy and paste of register rows of one axis through the shared copy
// buffer (clip.ClipBuf, clip.ClipCount), and clearing a whole program. Each
// command that writes runs as one transaction: all its rows or none. No row
// outside the table is ever read or written; such rows are counted as left
// out.

#include "shared/Shared.h"

class ProgramTable;

// The register copy buffer and the last recorded selection, shared by both
// program editors and the block copy windows and kept until the program ends.
struct EditClipboard {
    std::array<ClipRow, kClipRows> ClipBuf{};
    int ClipCount = 0;
    int SelCol = 0;
    int SelTopRow = 0;
    int SelRowSel = 0;
    int SelCount = 0;
    // The editor whose grid recorded the selection above (its axis count,
    // 2 or 4; 0 none yet): Cut and Copy act only on their own grid's.
    int SelGrid = 0;
};
extern EditClipboard clip;
// Puts the buffer and the selection back to their first state.
void ResetEditClipboard();

// Registers first .. first+count-1 of one axis (0 X .. 3 U).
struct RegisterRun {
    int axis = -1;
    int first = 0;
    int count = 0;
};

struct ClipOutcome {
    bool ok = true;    // false: refused by the database, nothing changed
    int done = 0;      // rows copied, cut or pasted
    int leftOut = 0;   // rows that fell outside the table (or the buffer)
};

// Copies the run's rows into the buffer from row 0 and sets ClipCount to the
// number copied. The buffer is left alone when the table cannot be read.
ClipOutcome CopyRegisters(ProgramTable &table, RegisterRun run);
// Copies, then empties the run's five fields of the axis.
ClipOutcome CutRegisters(ProgramTable &table, RegisterRun run);
// Writes buffer rows 0 .. ClipCount-1 into the axis from register `first`
// down. The buffer stays as it is.
ClipOutcome PasteRegisters(ProgramTable &table, int axis, int first);
// Empties the 20 axis fields of every register; Reg1 and Reg2 stay.
bool ClearProgram(ProgramTable &table);

// Tells the operator how many rows did not fit the table (nothing for 0).
void ReportLeftOut(int leftOut, int lastRegister);
