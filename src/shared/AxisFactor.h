#pragma once
// The one reader of an axis factor. A factor is the length of one pulse in
// the axis's unit of measure: shown value = pulses x factor, pulses = entered
// value / factor. Whatever holds a factor as text (the settings file, the
// scale window, a data file) is read through here, so that a factor that is
// not a number, is 0 or negative, or is so large that a 24-bit pulse count
// times it is no finite number, is refused in one place.

#include <QString>
#include <QStringView>
#include <optional>

// Whether a number may serve as a factor: above 0, and a 24-bit pulse count
// times it still a finite number.
bool FactorAccepted(double f);

// The whole text as a factor (surrounding blanks allowed); nothing when it is
// not one.
std::optional<double> ReadFactor(QStringView text);

// The factor kept for unit code `unit` (0..6) of axis `axis` (0..3); nothing
// for an index out of range or a kept text that is no factor.
std::optional<double> AxisFactor(int unit, int axis);

// The factor of the unit the axis shows now (ScaleSel).
std::optional<double> CurrentAxisFactor(int axis);

// The name of a unit code as the main window's unit labels show it:
// "Pulse", "mm", "um", "inch"; empty for a code outside 0..3.
QString UnitCaption(int unit);
