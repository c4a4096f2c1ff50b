// The numeric group: ParamTable items 0 to 12 of each handled axis, written
// as numbered parameters (2-axis unit) or parameter commands (4-axis unit),
// or read back into the table.

#include "params/ParamExchange.h"
#include "params/ParamTables.h"
#include "platform/MSComm.h"

namespace {

// OFS is 32 bits wide on both units; the others 32 bits on the 2-axis unit
// and 16 bits on the 4-axis unit when written, 16 bits on both when read.
int wireWidth(UnitKind kind, const ParamItem &p, bool write)
{
    if (p.item == kOffsetItem)
        return 8;
    return write && kind == UnitKind::TwoAxis ? 8 : 4;
}

Exchange paramExchange(UnitKind kind, int axis, const ParamItem &p, bool write)
{
    Exchange x;
    x.unit = kind;
    x.axis = axis;
    x.name = QLatin1String(p.mnemonic);
    x.reg = p.reg;
    x.write = write;
    const bool wide = p.item == kOffsetItem;
    if (kind == UnitKind::TwoAxis)
        x.threshold = wide ? 17 : 13;
    else if (write)
        x.threshold = wide ? 14 : 10;
    else
        x.threshold = wide ? 13 : 9;
    return x;
}

// Every group of this kind starts with nothing waiting to be read in pieces.
void prepareLine(ParamSession &s)
{
    s.line.port().setInputLen(0);
    s.line.port().setRThreshold(0);
}

} // namespace

bool ParamDownLoad(ParamSession &s, UnitKind kind, const AxisFlags &flags)
{
    const int n = GroupAxisCount(kind);
    // Nothing goes out unless every value of the call can be sent whole.
    s.unsendable = UnsendableParams(flags, n);
    if (!s.unsendable.empty()) {
        s.badSetting = true;
        return false;
    }
    prepareLine(s);
    Progress progress(s.bar, kind == UnitKind::TwoAxis ? 48 : 14 * n);

    return AxisPass(progress, flags, n, [&](int a) {
        for (const ParamItem &p : kSentParams) {
            progress.step();
            Exchange x = paramExchange(kind, a, p, true);
            const QString &held = g.ParamTable[size_t(a)][size_t(p.item)];
            ParamSendFault fault = ParamSendFault::None;
            const auto value = ParamSendValue(p.item, held, &fault);
            x.digits = value ? WireDigits(*value, wireWidth(kind, p, true)) : QString();
            if (x.digits.isEmpty()) {
                s.badSetting = true;
                s.unsendable = {{a, p.item, held, value ? ParamSendFault::BeyondField : fault}};
                return false;
            }
            if (!RunExchange(s, x))
                return false;
        }
        return true;
    });
}

bool ParamUpLoad(ParamSession &s, UnitKind kind, const AxisFlags &flags)
{
    prepareLine(s);
    const int n = GroupAxisCount(kind);
    Progress progress(s.bar, kind == UnitKind::TwoAxis ? 48 : 100);

    return AxisPass(progress, flags, n, [&](int a) {
        for (const ParamItem &p : kSentParams) {
            progress.step();
            const Exchange x = paramExchange(kind, a, p, false);
            const auto line = RunExchange(s, x);
            if (!line)
                return false;
            // An item whose reply cannot be read keeps what it held.
            const int width = wireWidth(kind, p, false);
            if (const auto v = ReadReplyValue(s, x, *line, width))
                g.ParamTable[size_t(a)][size_t(p.item)] = ParamTextFromWire(*v, width);
        }
        return true;
    });
}

