#include "shared/EntryChecks.h"

#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// At least one digit and nothing else, blanks around.
bool plainDigits(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool allBlank(const QString &text)
{
    for (QChar c : text)
        if (!isBlank(c))
            return false;
    return true;
}

} // namespace

std::optional<QString> AmountInPulses(const QString &amount, std::optional<double> factor)
{
    const auto v = WholeNumber(amount);
    if (!v || !factor || !FactorAccepted(*factor))
        return std::nullopt;
    const double q = *v / *factor;
    if (!std::isfinite(q))
        return std::nullopt;
    return PlainForm(q);
}

std::optional<int32_t> PresetCount(const QString &amount, std::optional<double> factor)
{
    const auto v = WholeNumber(amount);
    if (!v || !factor || !FactorAccepted(*factor))
        return std::nullopt;
    const double n = RoundHalfEven(*v / *factor);
    if (!std::isfinite(n) || n < 0 || n > double(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(n);
}

QString PresetRefusal(int axis, const QString &amount, std::optional<double> factor)
{
    if (PresetCount(amount, factor))
        return {};
    const QString box = QStringLiteral("The ") + AxisLetter(axis) + QStringLiteral(" amount");
    if (!WholeNumber(amount))
        return box + QStringLiteral(" \"") + amount + QStringLiteral("\" is not one number.");
    if (!factor || !FactorAccepted(*factor))
        return box + QStringLiteral(" cannot be turned into pulses: the axis's unit has no usable factor.");
    return box + QStringLiteral(" \"") + amount + QStringLiteral("\" comes to more pulses than the unit counts.");
}

bool AmountKeyAccepted(int key)
{
    return (key >= '0' && key <= '9') || key == 8 || key == '.';
}

bool SpeedTextAccepted(const QString &text)
{
    if (allBlank(text))
        return true;
    if (!plainDigits(text))
        return false;
    const double v = LeadingNumber(text);
    return v >= 0 && v <= kMaxManualSpeed;
}

bool RegisterTextAccepted(const QString &text, UnitKind model)
{
    if (allBlank(text))
        return true;
    if (!plainDigits(text))
        return false;
    return LeadingNumber(text) <= LastRegister(model);
}

int RegisterNumber(const QString &text)
{
    const double v = LeadingNumber(text);
    if (!(v > 0))
        return 0;
    return v >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                        : int(std::lround(v));
}

QString FitTitle(const QString &title)
{
    return title.left(10).leftJustified(10, u' ');
}

bool TitleCharAccepted(QChar c)
{
    return c.unicode() >= 0x20 && c.unicode() <= 0x7E && c != u'"';
}

std::optional<QString> TitleFromEntry(const QString &entry)
{
    for (QChar c : entry)
        if (!TitleCharAccepted(c))
            return std::nullopt;
    return FitTitle(entry);
}

QString ShownTitle(const QString &title)
{
    return QString(title).replace(QChar(0), u' ');
}
