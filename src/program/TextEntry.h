#pragma once
// Rules of the data and comment text entry and of typing on the program
// grid, without a window.

#include <QString>
#include <optional>

// Blanks (U+0020 only, as the entry trims them) removed at both ends, or at
// the end only.
QString TrimBlanks(const QString &text);
QString TrimTrailingBlanks(const QString &text);

// Whether a character may go into a data or comment text. A double quote,
// a line break or another control character could not travel through a
// data file and back, so they are refused.
bool EntryCharAccepted(QChar c);

// The text the field stores for an entered text: blanks trimmed at both
// ends. Nothing when the text holds a refused character.
std::optional<QString> StoredEntryText(const QString &text);

// The message refusing an entered text: "Bad Setting." and a line naming
// the first character it does not take; empty when every one is taken.
QString EntryRefusal(const QString &text);

// The change rule of the text box: a text that begins with Backspace, Tab,
// a line feed, vertical tab, form feed or carriage return is emptied.
QString AfterEntryChange(const QString &text);

// The caret label: the 1-based line of the caret, a blank and its 0-based
// column within that line. A caret outside the text counts as its end.
QString CaretLabelText(const QString &text, int caret);

// What a character typed on a grid cell of the 4-axis editor does.
struct GridKeyAction {
    enum Kind { Nothing, StartText, Store } kind = Nothing;
    QString value;   // Store: the text the SPD or TIM field takes
};
GridKeyAction GridKeyFor4(int col, int keyAscii);

// Keys of the text entry that store the text and may move the cursor.
enum class EntryKey { Enter, Left, Up, Right, Down };

// Where the cursor goes after a store by `key` from register `reg`, column
// `col`: the new grid row and column, or nothing at a bound of the table
// (registers 0..lastReg, columns 1..21).
struct GridCell {
    int row = 0;
    int col = 0;
    bool operator==(const GridCell &) const = default;
};
std::optional<GridCell> MoveAfterStore(EntryKey key, int row, int col, int lastReg);
