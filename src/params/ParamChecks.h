#pragma once
// The numeric parameters as the "Parameter" grid shows and takes them: row r
// is ParamTable item r (0..12) of the column's axis. Every row but OFS shows
// and stores the text as it is; OFS is held in pulses and shown and typed in
// the axis's unit of measure.

#include <QString>
#include <optional>

// The message of a refused entry.
QString ValueRefusedMessage();
// The same with a second line saying why `typed` is refused for item `row`
// of `axis`: not one number, outside the range the grid takes, or (OFS) no
// factor to turn it into pulses.
QString ValueRefusedMessage(int row, int axis, const QString &typed);

// The cell text of item `row` of `axis`: items 0..11 unchanged, OFS in the
// axis's unit. Empty for an index out of range.
QString ParamCellText(int row, int axis);

// An OFS pulse text in a unit: the pulses rounded to whole ones (halves to
// the even one) times the factor. Empty stays empty; a text that is not one
// number, or one beyond 32 bits, is shown as it is; with no usable factor
// nothing can be shown (empty).
QString OffsetShownText(const QString &pulses, std::optional<double> factor);

// The ParamTable text for a value typed into item `row` of `axis`, or
// nothing when it is refused: the whole text must be one number within the
// item's range (for OFS its pulse equivalent, which needs a usable factor).
// Items 0..11 keep the typed text; OFS stores the pulses.
std::optional<QString> ParamEntryValue(int row, int axis, const QString &typed);

// The allowed range of item `row` for `axis` as the grid's range display
// shows it; empty when there is none to show.
QString RangeCaption(int row, int axis);

// The range item `row` of `axis` takes as the grid takes it, "1 to 500";
// OFS in the axis's unit ("-8388.608 to 8388.607 mm"), in pulses when the
// axis has no usable factor. Empty for an index out of range.
QString AcceptedRange(int row, int axis);
