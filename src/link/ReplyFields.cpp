#include "link/ReplyFields.h"

#include "shared/AxisFactor.h"
#include "shared/NumberText.h"

#include <cmath>

std::optional<uint32_t> HexAt(const QString &line, int col, int len)
{
    if (col < 1 || len < 1 || len > 8 || col - 1 + len > line.size())
        return std::nullopt;
    return HexField(QStringView(line).mid(col - 1, len));
}

std::optional<int32_t> Word32At(const QString &line, int col)
{
    const auto v = HexAt(line, col, 8);
    if (!v)
        return std::nullopt;
    return static_cast<int32_t>(*v);
}

namespace {

// A factor text of the form [-]digits[.digits] as mantissa and decimal scale.
bool exactFactor(const QString &text, __int128 *mantissa, int *scale)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        neg = t[i] == u'-';
        ++i;
    }
    __int128 m = 0;
    int digits = 0, s = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
        if (++digits > 18)
            return false;
        m = m * 10 + (c.unicode() - '0');
        if (point)
            ++s;
    }
    if (digits == 0)
        return false;
    *mantissa = neg ? -m : m;
    *scale = s;
    return true;
}

__int128 pow10(int n)
{
    __int128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

QString digitsOf(__int128 v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s;
    while (v > 0) {
        s.prepend(QChar(u'0' + int(v % 10)));
        v /= 10;
    }
    return s;
}

} // namespace

std::optional<QString> PositionText(int32_t pulses, const QString &factorText)
{
    const auto factor = ReadFactor(factorText);
    if (!factor)
        return std::nullopt;
    // Display pattern: the factor's text with every character but "." as a 0.
    const QString pattern = factorText.trimmed();
    const qsizetype point = pattern.indexOf(u'.');
    const int intDigits = int(point < 0 ? pattern.size() : point);
    const int decimals = point < 0 ? 0 : int(pattern.size() - point - 1 - pattern.mid(point + 1).count(u'.'));

    __int128 mant = 0;
    int scale = 0;
    __int128 scaled;   // the shown value times 10^decimals, rounded
    if (exactFactor(factorText, &mant, &scale) && decimals <= 18) {
        const __int128 product = __int128(pulses) * mant;   // value * 10^scale
        if (decimals >= scale) {
            scaled = product * pow10(decimals - scale);
        } else {
            const __int128 div = pow10(scale - decimals);
            const __int128 mag = product < 0 ? -product : product;
            __int128 q = mag / div;
            if ((mag % div) * 2 >= div)
                ++q;                                   // half away from zero
            scaled = product < 0 ? -q : q;
        }
    } else {
        const double v = double(pulses) * *factor * std::pow(10.0, decimals);
        if (!std::isfinite(v) || std::fabs(v) > 1e30)
            return PlainForm(double(pulses) * *factor);
        scaled = static_cast<__int128>(std::round(v));
    }
    const bool negative = scaled < 0;
    QString digits = digitsOf(negative ? -scaled : scaled);
    if (digits.size() < decimals + 1)
        digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
    QString intPart = digits.left(digits.size() - decimals);
    const QString fracPart = digits.right(decimals);
    if (intPart == u"0" && intDigits == 0)
        intPart.clear();
    if (intPart.size() < intDigits)
        intPart.prepend(QString(intDigits - intPart.size(), u'0'));
    QString out = negative ? QStringLiteral("-") : QString();
    out += intPart;
    if (decimals > 0)
        out += u'.' + fracPart;
    return out;
}

int16_t RunningRegister(const QString &line)
{
    uint32_t v = 0;
    int digits = 0;
    for (qsizetype i = 5; i < line.size() && digits < 4; ++i) {
        const QChar c = line[i];
        if (c == u' ' && digits == 0)
            continue;
        const auto d = HexField(QStringView(&c, 1));
        if (!d)
            break;
        v = (v << 4) | *d;
        ++digits;
    }
    return static_cast<int16_t>(static_cast<uint16_t>(v));
}

StatusFields LocateStatusFields(const QString &line, bool fourAxis)
{
    StatusFields f;
    f.axes = fourAxis ? 4 : 2;
    const int offset = fourAxis ? 2 : 1;   // status digits after their blank
    // Positions here count from 0; a search that finds nothing stops there.
    qsizetype from = 0;
    qsizetype last = -1;
    for (int a = 0; a < f.axes; ++a) {
        const qsizetype b = line.indexOf(u' ', from);
        if (b < 0)
            return f;
        f.status[a] = [&]() -> std::optional<int16_t> {
            if (b + offset + 2 > line.size())
                return std::nullopt;
            const auto v = HexField(QStringView(line).mid(b + offset, 2));
            if (!v)
                return std::nullopt;
            return static_cast<int16_t>(*v);
        }();
        last = b;
        // The next blank is searched from the character after the digits'
        // first position on the 4-axis unit, except for U, which is searched
        // from right after Z's blank.
        from = fourAxis ? (a == 2 ? b + 1 : b + 2) : b + 1;
    }
    const qsizetype comma = line.indexOf(u',', last + 1);
    if (comma < 0)
        return f;
    const auto port = comma + 2 + 8 <= line.size()
                          ? HexField(QStringView(line).mid(comma + 2, 8)) : std::nullopt;
    if (port)
        f.port = static_cast<int32_t>(*port);
    return f;
}
