#include "transfer/ProgramSteps2.h"

#include "shared/Shared.h"
#include "transfer/ProgramSteps.h"

namespace {

QString registerHead(const char *mnemonic, int axis, int reg)
{
    return QLatin1String(mnemonic) + u' ' + AxisLetter(axis) + QString::number(reg);
}

// The text up to and with the first comma, then the rest without the blanks
// that follow the comma and without the line end.
QString withoutBlankAfterComma(const QString &line)
{
    QStringView text(line);
    while (text.endsWith(u'\r') || text.endsWith(u'\n'))
        text.chop(1);
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return text.toString();
    qsizetype rest = comma + 1;
    while (rest < text.size() && text[rest] == u' ')
        ++rest;
    return text.left(comma + 1).toString() + text.mid(rest).toString();
}

// The unit's axes are X and Y, its registers 0 to 53.
bool validAxisAndRegister(int axis, int reg)
{
    return axis >= 0 && axis < AxisCount(UnitKind::TwoAxis) && reg >= 0 && reg <= LastRegister(UnitKind::TwoAxis);
}

} // namespace

QString RegisterWriteCommand2(int axis, int reg, const QString &wordText)
{
    if (AxisLetter(axis).isEmpty())
        return {};
    return registerHead("IXS", axis, reg) + u',' + wordText + u'\r';
}

QString RegisterReadCommand2(int axis, int reg)
{
    if (AxisLetter(axis).isEmpty())
        return {};
    return registerHead("IXR", axis, reg) + u'\r';
}

bool EchoMatches2(const QString &command, const QString &echo)
{
    return echo.contains(u',') && withoutBlankAfterComma(echo) == withoutBlankAfterComma(command);
}

TransferSteps DownloadSteps2(ProgramTable &table, int axis)
{
    return DownloadSteps2(std::make_shared<DownloadWords>(table, UnitKind::TwoAxis), axis);
}

TransferSteps DownloadSteps2(const std::shared_ptr<DownloadWords> &words, int axis)
{
    TransferSteps s;
    s.reply = ReplyKept::IxsReplyLine;
    // The unit takes pulses.
    s.request = [words, axis](int reg) -> std::optional<RegisterRequest> {
        const auto word = validAxisAndRegister(axis, reg) ? words->Word(axis, reg) : std::nullopt;
        if (!word)
            return std::nullopt;
        RegisterRequest rq;
        rq.command = RegisterWriteCommand2(axis, reg, word->text);
        rq.threshold = int(rq.command.size()) + 1;   // the echo adds a blank
        return rq;
    };
    CheckDownloadWith(s, words, axis);
    s.accepts = [](const QString &line) { return line.startsWith(u"IXS"); };
    s.matches = [](const RegisterRequest &rq, const QString &line) { return EchoMatches2(rq.command, line); };
    return s;
}

TransferSteps UploadSteps2(ProgramTable &table, int axis)
{
    TransferSteps s;
    s.reply = ReplyKept::ReplyLine;
    s.request = [axis](int reg) -> std::optional<RegisterRequest> {
        if (!validAxisAndRegister(axis, reg))
            return std::nullopt;
        RegisterRequest rq;
        rq.command = RegisterReadCommand2(axis, reg);
        // The shortest answer that carries the word: the request, "," and
        // 8 digits (the unit puts a blank after the comma as well).
        rq.threshold = int(rq.command.size()) + 9;
        // Only the answer of this axis and register; any other line leaves
        // the wait going until its time-out.
        rq.accepts = [head = rq.command.chopped(1)](const QString &line) {
            const qsizetype comma = line.indexOf(u',');
            return comma >= 0 && QStringView(line).left(comma) == head;
        };
        return rq;
    };
    StoreUploadedRegisters(s, table, UnitKind::TwoAxis, axis);
    return s;
}
