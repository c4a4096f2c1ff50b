#pragma once
// The 4-axis editor's behaviour on a program database of its own, driven
// the way the window drives it.

#include "ProgramFixture.h"
#include "program/FourAxisEditor.h"

#include <optional>

struct EditorRig {
    ProgramFixture fixture;
    FourAxisEditor ed{fixture.table};
    EditorRig();

    // Press, (drag,) release of the left button as the grid reports them.
    void click(int row, int col, int button = 1);
    void drag(int row, int col, int toRow, int toCol);
    // The one visible in-place editor, if any.
    std::optional<InPlace> shown() const;
    // A field of a register as stored, and as the grid shows it.
    QString stored(int reg, int col) const;
    QString cell(int reg, int col) const { return ed.model.Text(RowOfRegister(reg), col); }
    // Types a text into the box as the operator would (each change runs
    // the change rule), then one key: 13 Enter as a character, 37..40 the
    // arrows as key codes. Returns the key as the handler left it.
    int enter(const QString &text, int key);
};
