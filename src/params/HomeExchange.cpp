// The home-search group: the home word of each handled axis, packed from the
// settings and written, or read and unpacked into the settings.

#include "params/ParamExchange.h"
#include "platform/MSComm.h"

namespace {

constexpr int kHomeWordReg = 67;

Exchange homeExchange(UnitKind kind, int axis, bool write)
{
    Exchange x;
    x.unit = kind;
    x.axis = axis;
    x.name = QStringLiteral("HOS");
    x.reg = kHomeWordReg;
    x.write = write;
    x.threshold = kind == UnitKind::TwoAxis ? 13 : 10;
    // The 2-axis write sets the threshold once the command is out.
    x.thresholdAfterSend = write && kind == UnitKind::TwoAxis;
    return x;
}

} // namespace

bool HomeDownLoad(ParamSession &s, UnitKind kind, const AxisFlags &flags)
{
    const int n = GroupAxisCount(kind);
    Progress progress(s.bar, 96);

    // Every axis of the unit gets its word built, handled or not.
    std::array<uint16_t, kAxes> words{};
    for (int a = 0; a < n; ++a) {
        progress.step();
        for (const HomeField &f : kHomeFields) {
            words[size_t(a)] |= HomeFieldBits(f, g.HomeSetTable[size_t(a)][size_t(f.item)]);
            progress.step();
        }
    }

    s.line.ClearReceiveSide(ClearHow::Once);
    s.line.port().setRThreshold(0);
    progress.restartCount();
    return AxisPass(progress, flags, n, [&](int a) {
        progress.step();
        Exchange x = homeExchange(kind, a, true);
        x.digits = WireDigits(words[size_t(a)], kind == UnitKind::TwoAxis ? 8 : 4);
        return RunExchange(s, x).has_value();
    });
}

bool HomeUpLoad(ParamSession &s, UnitKind kind, const AxisFlags &flags)
{
    s.line.ClearReceiveSide(ClearHow::Once);
    const int n = GroupAxisCount(kind);
    Progress progress(s.bar, 96);

    // A word whose reply could not be read stays empty and sets nothing.
    std::array<std::optional<uint32_t>, kAxes> words{};
    const bool answered = AxisPass(progress, flags, n, [&](int a) {
        progress.step();
        const Exchange x = homeExchange(kind, a, false);
        const auto line = RunExchange(s, x);
        if (!line)
            return false;
        words[size_t(a)] = ReadReplyValue(s, x, *line, 4);
        return true;
    });
    if (!answered)
        return false;

    // The settings change only once every word of the call is in.
    AxisPass(progress, flags, n, [&](int a) {
        for (const HomeField &f : kHomeFields) {
            if (words[size_t(a)])
                UnpackHomeField(f, *words[size_t(a)], g.HomeSetTable[size_t(a)]);
            progress.step();
        }
        return true;
    });
    return true;
}

