#pragma once
// Block copy of register ranges between the axes of the 4-axis program,
// without a window: the boxes of the normal and the expanded block copy
// windows with their enabling rules, the checks made at Start, and the run
// that copies the ranges and, for a move, empties the sources.

#include "shared/Shared.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

class ProgramTable;

// Registers first..last of `source` written, from register `copyTo` on,
// into every axis whose `dest` is set. first > last copies nothing.
struct CopyStep {
    int source = 0;
    int first = 0;
    int last = -1;
    int copyTo = 0;
    std::array<bool, kAxes> dest{};
};

// Registers first..last of `axis` emptied after the copies.
struct ClearStep {
    int axis = 0;
    int first = 0;
    int last = -1;
};

struct BlockCopyPlan {
    std::vector<CopyStep> copies;
    std::vector<ClearStep> clears;
};

// A clear step for the source range of every copy (a move).
void AddSourceClears(BlockCopyPlan &plan);

// Runs the plan as one transaction: every copy in turn (its source range
// read whole, staged in ClipBuf rows 0.., then written), then the clears,
// which skip the registers a copy wrote on the same axis, so a move never
// erases what it has just written. ClipCount is left as it is. False, with
// the table and the buffer unchanged, when a step lies outside the table or
// the database refuses a store.
bool RunBlockCopy(ProgramTable &table, const BlockCopyPlan &plan);

// Whether a block copy runs now; nothing starts another one meanwhile.
bool BlockCopyRunning();
class BlockCopyBusy
{
public:
    BlockCopyBusy();
    ~BlockCopyBusy();
    BlockCopyBusy(const BlockCopyBusy &) = delete;
    BlockCopyBusy &operator=(const BlockCopyBusy &) = delete;
};

// Keys a register box takes: the digits and Backspace (8).
bool RangeKeyAccepted(int key);
// Text a register box keeps: empty, or digits only with a value 0..2000.
bool RangeTextAccepted(const QString &text);
// The line under a register box's refusal, naming the text refused.
QString RangeBoxRefusal(const QString &text);

// A check box of a block copy window.
struct CopyBox {
    bool checked = false;
    bool enabled = true;
};

// The start, end and copy-to boxes of one source axis.
struct RangeBoxes {
    std::array<QString, 3> text{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    bool enabled = false;
};

// The normal window: one source axis, its range and destinations, and the
// clear boxes that make the copy a move.
class NormalCopyForm
{
public:
    NormalCopyForm() { Form_Load(); }
    std::array<CopyBox, kAxes> source, clear, dest;
    RangeBoxes range;

    void Form_Load();
    // The source box of `axis` was clicked (its tick already changed).
    void SourceClick(int axis);
    // Start's checks, made once: the plan, or nothing for "Bad Setting.",
    // with `why` (when given) saying what is refused.
    std::optional<BlockCopyPlan> Plan(QString *why = nullptr) const;
};

// The expanded window: a band per source axis with its own range and line
// of destinations.
class ExpandedCopyForm
{
public:
    ExpandedCopyForm() { Form_Load(); }
    std::array<CopyBox, kAxes> source;
    std::array<RangeBoxes, kAxes> range;
    std::array<std::array<CopyBox, kAxes>, kAxes> dest;   // [source][destination]

    void Form_Load();
    void SourceClick(int axis);
    // Start's checks: every ticked source needs a destination and a range;
    // `why` as for the normal window.
    std::optional<BlockCopyPlan> Plan(QString *why = nullptr) const;
};
