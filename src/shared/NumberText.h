#pragma once
// Number reads and written number forms used throughout the program, and the
// hexadecimal text helpers of the unit's protocol.

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <cstdint>

// Leading-number read: blanks skipped, the decimal number at the start taken
// (sign, digits, one point, exponent), the rest ignored; no number gives 0.
double LeadingNumber(QStringView text);

// The decimal read of stored settings: blanks, tabs and line feeds are
// passed over wherever they stand, then the leading number is taken as by
// LeadingNumber (" 1 2" and "1<tab>2" read 12).
double DecimalRead(QStringView text);

// Whether the whole text is one decimal number (surrounding blanks
// allowed), however large.
bool IsOneNumber(QStringView text);

// The whole text as one decimal number (surrounding blanks allowed);
// nothing when the text is empty or holds anything else.
std::optional<double> WholeNumber(QStringView text);

// Round to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double v);

// Plain form: shortest decimal text, at most 15 significant digits, "-" for
// negative values, no blank, a 0 before the point of a value below 1.
QString PlainForm(double v);

// Signed form: a blank in the sign place for 0 and above, "-" below; no 0
// before the point of a value strictly between -1 and 1.
QString SignedForm(double v);

// Zero fill on the left to 8 hexadecimal digits; 8 pass unchanged, the empty
// text and anything longer give the empty text.
QString dStrSet(const QString &s);
// Zero fill on the left to 4 digits; 4 pass unchanged, anything else keeps
// its last 4 characters (the empty text stays empty).
QString dStrSet2(const QString &s);

// A field of 1 to 8 hexadecimal digits (either case) as an unsigned number;
// nothing when the field is empty, too long or holds any other character.
std::optional<uint32_t> HexField(QStringView field);

// Upper-case hexadecimal digits without leading zeros ("0" for 0).
QString HexDigits(uint32_t v);

// Ascending numbers as ranges ("1-3, 7"); a long list ends with how many
// more ("... and 4 more").
QString NumberRanges(const QList<int> &numbers);
