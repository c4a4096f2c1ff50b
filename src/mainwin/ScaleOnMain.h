#pragma once
// The main window's side of a change of the stored units (the scale window's
// OK, a data file load): its labels, amount boxes and position displays.

#include <QString>
#include <QStringList>

class frmMain;

// Writes the unit labels, amount boxes and position displays of the first
// `axes` axes of the main window from the stored units. Each amount box's
// change handler turns it back into the stored pulse amount.
void ShowScaleOnMain(frmMain &m, int axes);

// The factor text the position display of `axis` is shown with: that of the
// axis's unit, "1" (pulses) for a unit outside the table.
QString PositionFactorText(int axis);

// The widest texts the position display and the amount box of `axis` can
// show in the axis's unit: the 32-bit pulse counts at its factor, and for
// the amount what is typed as well, every digit tried.
QStringList PositionWidestTexts(int axis);
QStringList AmountWidestTexts(int axis);
// Measures the position displays and amount boxes again after the stored
// units changed.
void RefitScaledBoxes(frmMain &m);
