#pragma once
// The main window's side of a change of the stored units (the scale window's
// OK, a data file load): its labels, amount boxes and position displays.

class frmMain;

// Writes the unit labels, amount boxes and position displays of the first
// `axes` axes of the main window from the stored units. Each amount box's
// change handler turns it back into the stored pulse amount.
void ShowScaleOnMain(frmMain &m, int axes);
