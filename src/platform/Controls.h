#pragma once
// Small helpers for the standard controls, so that windows can set them the
// way the program's handlers expect.

class QRadioButton;

// Chooses or un-chooses an option button. Un-choosing the chosen button of a
// frame leaves no button of that frame chosen.
void SetOption(QRadioButton *button, bool chosen);
