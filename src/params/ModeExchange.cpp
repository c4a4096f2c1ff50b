// The mode group: the two mode words of each handled axis, packed from the
// settings and written, or read and unpacked into the settings.

#include "params/ParamExchange.h"
#include "platform/MSComm.h"

namespace {

const char *const kModeWordNames[2] = {"MO1", "MO2"};
constexpr int kModeWordRegs[2] = {58, 59};

// Everything waiting read away; a download also holds the receive event off
// until its first send. Unsent output is not dropped: every command goes out
// as it is written, so the only output that can still be on its way is a
// STOP the operator pressed, and that must reach the unit.
void clearLineForModeGroup(ParamSession &s, bool download)
{
    if (download)
        s.line.port().setRThreshold(1);
    s.line.ClearReceiveSide(ClearHow::Drain);
    if (download)
        s.line.port().setRThreshold(0);
}

Exchange modeExchange(UnitKind kind, int axis, int wordIndex, bool write)
{
    Exchange x;
    x.unit = kind;
    x.axis = axis;
    x.name = QLatin1String(kModeWordNames[wordIndex]);
    x.reg = kModeWordRegs[wordIndex];
    x.write = write;
    x.threshold = kind == UnitKind::TwoAxis ? 13 : 10;
    // The 2-axis writes set the threshold once the command is out.
    x.thresholdAfterSend = write && kind == UnitKind::TwoAxis;
    return x;
}

} // namespace

bool ModeDownLoad(ParamSession &s, UnitKind kind, const AxisFlags &flags)
{
    clearLineForModeGroup(s, true);
    const int n = GroupAxisCount(kind);
    Progress progress(s.bar, kind == UnitKind::TwoAxis ? 60 : 2 * n + 60);

    std::array<ModeWords, kAxes> words{};
    AxisPass(progress, flags, n, [&](int a) {
        words[size_t(a)] = PackModeWords(g.ModeSetTable[size_t(a)], g.HomeSetTable[size_t(a)]);
        for (size_t setting = 0; setting < kModeBits.size(); ++setting)
            progress.step();
        return true;
    });

    return AxisPass(progress, flags, n, [&](int a) {
        for (int w = 0; w < 2; ++w) {
            progress.step();
            Exchange x = modeExchange(kind, a, w, true);
            const uint16_t word = w == 0 ? words[size_t(a)].word1 : words[size_t(a)].word2;
            x.digits = WireDigits(word, kind == UnitKind::TwoAxis ? 8 : 4);
            if (!RunExchange(s, x))
                return false;
        }
        return true;
    });
}

bool ModeUpLoad(ParamSession &s, UnitKind kind, const AxisFlags &flags)
{
    clearLineForModeGroup(s, false);
    const int n = GroupAxisCount(kind);
    Progress progress(s.bar, kind == UnitKind::TwoAxis ? 60 : 100);

    // A word whose reply could not be read stays empty and sets nothing.
    std::array<std::array<std::optional<uint32_t>, 2>, kAxes> words{};
    const bool answered = AxisPass(progress, flags, n, [&](int a) {
        for (int w = 0; w < 2; ++w) {
            progress.step();
            const Exchange x = modeExchange(kind, a, w, false);
            const auto line = RunExchange(s, x);
            if (!line)
                return false;
            words[size_t(a)][size_t(w)] = ReadReplyValue(s, x, *line, 4);
        }
        return true;
    });
    if (!answered)
        return false;

    // The tables change only once every word of the call is in.
    AxisPass(progress, flags, n, [&](int a) {
        bool first = true;
        for (const ModeBit &b : kModeBits) {
            if (!first)
                progress.step();
            first = false;
            if (const auto &word = words[size_t(a)][size_t(b.word - 1)])
                UnpackModeBit(b, *word, g.ModeSetTable[size_t(a)], g.HomeSetTable[size_t(a)]);
        }
        return true;
    });
    return true;
}

