#pragma once
// Value checks and conversions behind the main window's entry boxes and the
// I/O title editor. Plain functions, so they are tested without a window.

#include "shared/AxisFactor.h"
#include "shared/UnitKind.h"

#include <QString>
#include <cstdint>
#include <optional>

constexpr double kMaxManualSpeed = 8000;

// A preset amount typed in the axis's unit turned into pulses for the
// stored amount: the quotient amount / factor in its text form (15
// significant digits, not rounded to whole pulses). Nothing when the amount
// or the factor does not read as a number or the factor is not above 0.
std::optional<QString> AmountInPulses(const QString &amount, std::optional<double> factor);

// The pulse count of a preset move: amount / factor rounded to a whole
// number, halves to the even neighbour. Nothing when the amount or factor is
// unusable or the count lies outside 0 .. 2147483647 (the button gives the
// direction, so a count is never negative).
std::optional<int32_t> PresetCount(const QString &amount, std::optional<double> factor);
// Why PresetCount refuses the amount of `axis`: not one number, no usable
// factor, or a count out of range; empty when it is taken.
QString PresetRefusal(int axis, const QString &amount, std::optional<double> factor);

// Keys an amount or factor box takes: digits, Backspace (8) and ".".
bool AmountKeyAccepted(int key);

// A manual speed box accepts an empty (or all blank) text, or one whole
// number (digits only, blanks around them) from 0 to 8000: what it holds
// goes out as the speed, and its keys are digits only.
bool SpeedTextAccepted(const QString &text);

// The start register box accepts an empty text or a whole number (digits,
// blanks around it) within the model's registers (0..53 or 0..1999).
bool RegisterTextAccepted(const QString &text, UnitKind model);

// The register number of the box's text for the spinner (0 for no number).
int RegisterNumber(const QString &text);

// A title fitted to 10 characters: padded with blanks or cut.
QString FitTitle(const QString &title);

// An I/O title as stored: the entry cut after 10 characters or padded with
// blanks to 10. Nothing when the entry holds a double quote (the settings
// file keeps titles between double quotes) or a character outside printable
// ASCII.
std::optional<QString> TitleFromEntry(const QString &entry);
bool TitleCharAccepted(QChar c);
// A title as shown: code 0 characters (titles never set) appear as blanks.
QString ShownTitle(const QString &title);
