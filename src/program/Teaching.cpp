#include "program/Teaching.h"

#include "shared/EntryChecks.h"
#include "shared/NumberText.h"

#include <cmath>

QString TaughtSpeed(int speedChoice)
{
    if (speedChoice >= 0 && speedChoice <= 3)
        return QString::number(speedChoice + 1);
    // The manual speed has no number of its own in a program: the fastest.
    if (speedChoice == 4)
        return QStringLiteral("4");
    return QStringLiteral("1");
}

std::optional<int> TaughtRegister(const QString &regNo, UnitKind kind)
{
    if (regNo.trimmed().isEmpty() || !RegisterTextAccepted(regNo, kind))
        return std::nullopt;
    return RegisterNumber(regNo);
}

std::optional<QString> TaughtData(const QString &shown, std::optional<double> factor, UnitKind kind)
{
    if (kind == UnitKind::FourAxis || shown.isEmpty())
        return shown;
    const auto position = WholeNumber(shown);
    if (!position || !factor || !(*factor > 0))
        return std::nullopt;
    const double pulses = RoundHalfEven(*position / *factor);
    if (!std::isfinite(pulses))
        return std::nullopt;
    return PlainForm(pulses);
}

std::optional<TeachPlan> PlanTeaching(const TeachRequest &request, QString *why)
{
    const auto refuse = [why](const QString &text) {
        if (why)
            *why = text;
        return std::nullopt;
    };
    TeachPlan plan;
    bool any = false;
    for (int a = 0; a < AxisCount(request.kind); ++a)
        any = any || request.ticked[std::size_t(a)];
    if (!any)
        return plan;
    const auto reg = TaughtRegister(request.regNo, request.kind);
    if (!reg) {
        if (request.regNo.trimmed().isEmpty())
            return refuse(QStringLiteral("The start register box is empty."));
        return refuse(QStringLiteral("The start register box holds \"%1\": the registers are 0 to %2.")
                          .arg(request.regNo)
                          .arg(LastRegister(request.kind)));
    }
    plan.reg = *reg;
    for (int a = 0; a < AxisCount(request.kind); ++a) {
        if (!request.ticked[std::size_t(a)])
            continue;
        const auto data = TaughtData(request.shown[std::size_t(a)], request.factor[std::size_t(a)], request.kind);
        if (!data)
            return refuse(QStringLiteral("The %1 position \"%2\" cannot be turned into pulses with its unit's factor.")
                              .arg(AxisLetter(a), request.shown[std::size_t(a)]));
        plan.fields.emplace_back(AxisFieldColumn(a, 0), QStringLiteral("ABS"));
        plan.fields.emplace_back(AxisFieldColumn(a, 1), *data);
        plan.fields.emplace_back(AxisFieldColumn(a, 2), TaughtSpeed(request.speedChoice));
        plan.fields.emplace_back(AxisFieldColumn(a, 3), QStringLiteral("0"));
    }
    return plan;
}
