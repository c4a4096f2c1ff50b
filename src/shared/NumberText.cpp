#include "shared/NumberText.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Length of the decimal number at the start of text (after `pos`), 0 if none.
qsizetype numberLength(QStringView text, qsizetype pos)
{
    const qsizetype start = pos;
    const qsizetype n = text.size();
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    qsizetype digits = 0;
    while (pos < n && text[pos].isDigit() && text[pos].unicode() < 128) { ++pos; ++digits; }
    if (pos < n && text[pos] == u'.') {
        ++pos;
        while (pos < n && text[pos].isDigit() && text[pos].unicode() < 128) { ++pos; ++digits; }
    }
    if (digits == 0)
        return 0;
    if (pos < n && (text[pos] == u'E' || text[pos] == u'e' || text[pos] == u'D' || text[pos] == u'd')) {
        qsizetype e = pos + 1;
        if (e < n && (text[e] == u'+' || text[e] == u'-'))
            ++e;
        qsizetype expDigits = 0;
        while (e < n && text[e].isDigit() && text[e].unicode() < 128) { ++e; ++expDigits; }
        if (expDigits > 0)
            pos = e;
    }
    return pos - start;
}

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// The power of ten of the first significant digit of a number that
// numberLength accepted ("E" for its exponent letter), its exponent included;
// nothing when every digit is 0.
std::optional<long long> decimalPower(QStringView number)
{
    qsizetype pos = 0;
    const qsizetype n = number.size();
    if (pos < n && (number[pos] == u'+' || number[pos] == u'-'))
        ++pos;
    long long intDigits = 0;
    long long index = 0;
    long long first = -1;
    bool fraction = false;
    for (; pos < n; ++pos) {
        if (number[pos] == u'.') {
            fraction = true;
            continue;
        }
        if (!isAsciiDigit(number[pos]))
            break;
        if (first < 0 && number[pos] != u'0')
            first = index;
        ++index;
        if (!fraction)
            ++intDigits;
    }
    if (first < 0)
        return std::nullopt;
    long long power = intDigits - 1 - first;
    if (pos < n) {   // the exponent letter
        ++pos;
        const bool minus = pos < n && number[pos] == u'-';
        if (pos < n && (number[pos] == u'+' || number[pos] == u'-'))
            ++pos;
        long long e = 0;
        // Far beyond any double either way; the bound keeps the sum in range.
        for (; pos < n && isAsciiDigit(number[pos]); ++pos)
            e = std::min(e * 10 + (number[pos].unicode() - '0'), 1000000000000LL);
        power += minus ? -e : e;
    }
    return power;
}

// The value of a number that numberLength accepted. One that no double
// holds is decided by its size, not by its spelling: too large gives the
// infinity of its sign, too small the zero of its sign.
double toDouble(QStringView number)
{
    // Whole numbers of up to 15 digits, the usual case, are exact in a
    // double: read without building a text.
    const qsizetype digitsFrom = !number.isEmpty() && (number[0] == u'-' || number[0] == u'+') ? 1 : 0;
    if (number.size() > digitsFrom && number.size() - digitsFrom <= 15
        && std::all_of(number.begin() + digitsFrom, number.end(), isAsciiDigit)) {
        long long whole = 0;
        for (qsizetype i = digitsFrom; i < number.size(); ++i)
            whole = whole * 10 + (number[i].unicode() - '0');
        return number[0] == u'-' ? -double(whole) : double(whole);
    }
    QString s = number.toString();
    s.replace(u'D', u'E').replace(u'd', u'E');
    bool ok = false;
    const double v = s.toDouble(&ok);   // C locale: "." is the point
    if (ok && std::isfinite(v))
        return v;
    const bool negative = s.startsWith(u'-');
    const auto power = decimalPower(s);
    const double magnitude = power && *power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

// Shortest decimal text of |v| with at most 15 significant digits, in the
// digits-and-point form; exponent form for very large or very small values.
QString shortestMagnitude(double v)
{
    const double a = std::isfinite(v) ? std::fabs(v) : std::numeric_limits<double>::max();
    if (a == 0.0)
        return QStringLiteral("0");
    // A whole number below 10^15 is its own shortest form.
    if (a < 1e15 && a == std::floor(a))
        return QString::number(static_cast<long long>(a));
    // Mantissa digits and exponent of the value rounded to 15 digits (Qt's
    // formatting ignores the process locale, so "." stays the point).
    QString s = QString::number(a, 'e', 14);
    // At the top of the range rounding to nearest can go past the largest
    // double, and the text would read back as no number: cut the digits
    // there instead, so that every written form reads back.
    if (!std::isfinite(s.toDouble())) {
        s = QString::number(a, 'e', 20);
        const qsizetype e = s.indexOf(u'e');
        s = s.left(16) + s.mid(e);
    }
    const qsizetype ePos = s.indexOf(u'e');
    QString mant = s.left(ePos);
    int exp10 = s.mid(ePos + 1).toInt();
    mant.remove(u'.');
    while (mant.size() > 1 && mant.endsWith(u'0'))
        mant.chop(1);
    if (exp10 >= 15 || exp10 < -10) {
        QString m = mant.left(1);
        if (mant.size() > 1)
            m += u'.' + mant.mid(1);
        return m + (exp10 < 0 ? QStringLiteral("E-") : QStringLiteral("E+"))
               + QStringLiteral("%1").arg(std::abs(exp10), 2, 10, QChar(u'0'));
    }
    if (exp10 < 0)
        return QStringLiteral("0.") + QString(-exp10 - 1, u'0') + mant;
    if (mant.size() <= exp10 + 1)
        return mant + QString(exp10 + 1 - mant.size(), u'0');
    return mant.left(exp10 + 1) + u'.' + mant.mid(exp10 + 1);
}

} // namespace

double LeadingNumber(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const qsizetype len = numberLength(text, pos);
    if (len == 0)
        return 0.0;
    // A number too large for a double reads as the largest one of its sign,
    // so that every range check refuses it.
    const double v = toDouble(text.mid(pos, len));
    return std::isinf(v) ? std::copysign(std::numeric_limits<double>::max(), v) : v;
}

double DecimalRead(QStringView text)
{
    QString packed;
    packed.reserve(text.size());
    for (const QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            packed += c;
    return LeadingNumber(packed);
}

namespace {

// The number of a text that is one number with blanks around it.
std::optional<QStringView> wholeNumberText(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const qsizetype len = numberLength(text, pos);
    if (len == 0)
        return std::nullopt;
    qsizetype end = pos + len;
    while (end < text.size() && isBlank(text[end]))
        ++end;
    if (end != text.size())
        return std::nullopt;
    return text.mid(pos, len);
}

} // namespace

bool IsOneNumber(QStringView text)
{
    return wholeNumberText(text).has_value();
}

std::optional<double> WholeNumber(QStringView text)
{
    const auto number = wholeNumberText(text);
    if (!number)
        return std::nullopt;
    const double v = toDouble(*number);
    if (std::isinf(v))
        return std::nullopt;
    return v;
}

double RoundHalfEven(double v)
{
    return std::nearbyint(v);   // default rounding mode: to nearest, ties to even
}

QString PlainForm(double v)
{
    const QString m = shortestMagnitude(v);
    return (v < 0 && m != u"0") ? u'-' + m : m;
}

QString SignedForm(double v)
{
    QString m = shortestMagnitude(v);
    if (m.startsWith(QStringLiteral("0.")))
        m.remove(0, 1);
    return (v < 0 && m != u"0" ? QStringLiteral("-") : QStringLiteral(" ")) + m;
}

QString dStrSet(const QString &s)
{
    if (s.isEmpty() || s.size() > 8)
        return {};
    return QString(8 - s.size(), u'0') + s;
}

QString dStrSet2(const QString &s)
{
    if (s.size() >= 1 && s.size() < 4)
        return QString(4 - s.size(), u'0') + s;
    return s.right(4);
}

std::optional<uint32_t> HexField(QStringView field)
{
    if (field.isEmpty() || field.size() > 8)
        return std::nullopt;
    uint32_t v = 0;
    for (QChar c : field) {
        const char16_t u = c.unicode();
        uint32_t d;
        if (u >= '0' && u <= '9') d = u - '0';
        else if (u >= 'A' && u <= 'F') d = u - 'A' + 10;
        else if (u >= 'a' && u <= 'f') d = u - 'a' + 10;
        else return std::nullopt;
        v = (v << 4) | d;
    }
    return v;
}

QString HexDigits(uint32_t v)
{
    return QString::number(v, 16).toUpper();
}

QString NumberRanges(const QList<int> &numbers)
{
    constexpr int kShownRanges = 12;
    QStringList ranges;
    qsizetype i = 0;
    while (i < numbers.size() && ranges.size() < kShownRanges) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        ranges << (j == i ? QString::number(numbers[i])
                          : QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    QString text = ranges.join(QStringLiteral(", "));
    if (i < numbers.size())
        text += QStringLiteral(" and %1 more").arg(numbers.size() - i);
    return text;
}
