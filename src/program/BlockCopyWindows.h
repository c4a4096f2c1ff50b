#pragma once
// What the normal and the expanded block copy windows share: their register
// boxes, showing a box state on a check box, and the end of a Start that
// passed its checks.

#include <QCheckBox>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QWidget;
struct BlockCopyPlan;
struct CopyBox;
struct RangeBoxes;

// A register box: typed keys other than the digits and Backspace are
// dropped; a text that is not digits only or exceeds 2000 (typed or pasted)
// shows "Value can't configure it." with the text refused, and the box goes
// back to "0".
// `changed` gets every text the box keeps.
QLineEdit *MakeRangeBox(QWidget *parent, const std::function<void(const QString &)> &changed);

// A click on a source box passed on to the window's form: the box's tick,
// then the form's rules. False for an axis out of range.
template <class Form>
bool PassSourceClick(Form &form, const std::array<QCheckBox *, 4> &boxes, int axis)
{
    if (axis < 0 || axis >= 4 || !boxes[std::size_t(axis)])
        return false;
    form.source[std::size_t(axis)].checked = boxes[std::size_t(axis)]->isChecked();
    form.SourceClick(axis);
    return true;
}

// Start's first step: true, and nothing to run, while a block copy runs or
// when the boxes give no plan (then "Bad Setting." is shown, with `why`
// under it).
bool StartRefused(const std::optional<BlockCopyPlan> &plan, const QString &why);

// Sets a check box to a state without raising its click handler.
void ShowCopyBox(QCheckBox *box, const CopyBox &state);

// Sets a band's start, end and copy-to boxes to its texts and enabling
// without running the register box rule.
void ShowRangeBoxes(const std::array<QLineEdit *, 3> &boxes, const RangeBoxes &state);

// The end of a Start that passed its checks, on the 4-axis program: the
// window is disabled and nothing starts another block copy; the wait window
// shows "Information" with the two lines; the plan (when there is one)
// runs as one transaction; an open 4-axis editor reads the table again
// (keeping its first visible row); then the wait window and `window` close.
void FinishBlockCopy(QWidget *window, const std::optional<BlockCopyPlan> &plan, const QString &line1,
                     const QString &line2);
