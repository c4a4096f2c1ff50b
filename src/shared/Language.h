#pragma once
// Texts that depend on the system's language (Japanese or English).

#include <QString>

// Warning of the serial speed change window.
QString GetComWarning();
// Mark placed between the two ends of a range: a full-width tilde in
// Japanese, else "-".
QString GetRangeMark();
