#include "transfer/ProgramSteps4.h"

#include "shared/Shared.h"
#include "transfer/ProgramSteps.h"

namespace {

QString registerHead(int axis, int reg)
{
    return QStringLiteral("PR") + AxisLetter(axis) + u' ' + QString::number(reg);
}

bool startsWithPR(const QString &line)
{
    return line.startsWith(u"PR");
}

} // namespace

QString RegisterWriteCommand(int axis, int reg, const QString &wordText)
{
    if (AxisLetter(axis).isEmpty())
        return {};
    return registerHead(axis, reg) + u',' + wordText + u'\r';
}

QString RegisterReadCommand(int axis, int reg)
{
    if (AxisLetter(axis).isEmpty())
        return {};
    return registerHead(axis, reg) + u'\r';
}

TransferSteps DownloadSteps4(ProgramTable &table, int axis)
{
    return DownloadSteps4(std::make_shared<DownloadWords>(table, UnitKind::FourAxis), axis);
}

TransferSteps DownloadSteps4(const std::shared_ptr<DownloadWords> &words, int axis)
{
    TransferSteps s;
    s.reply = ReplyKept::IxsReplyLine;
    s.request = [words, axis](int reg) -> std::optional<RegisterRequest> {
        const auto word = words->Word(axis, reg);
        if (!word)
            return std::nullopt;
        RegisterRequest rq;
        rq.command = RegisterWriteCommand(axis, reg, word->text);
        rq.threshold = int(rq.command.size());   // the echo is the command itself
        return rq;
    };
    CheckDownloadWith(s, words, axis);
    s.accepts = startsWithPR;
    s.matches = [](const RegisterRequest &rq, const QString &line) {
        const int n = rq.threshold - 1;
        return line.left(n) == rq.command.left(n);
    };
    return s;
}

TransferSteps UploadSteps4(ProgramTable &table, int axis)
{
    TransferSteps s;
    s.reply = ReplyKept::IxsReplyLine;
    // A reply to another request is put to the operator at once.
    s.silentResends = 0;
    s.request = [axis](int reg) -> std::optional<RegisterRequest> {
        RegisterRequest rq;
        rq.command = RegisterReadCommand(axis, reg);
        if (rq.command.isEmpty())
            return std::nullopt;
        rq.threshold = int(rq.command.size()) + 9;   // "," and 8 digits more
        return rq;
    };
    s.accepts = startsWithPR;
    // The whole request part, on every axis: head, axis letter and register.
    s.matches = [](const RegisterRequest &rq, const QString &line) {
        const qsizetype comma = line.indexOf(u',');
        return comma >= 0 && QStringView(line).left(comma) == QStringView(rq.command).chopped(1);
    };
    StoreUploadedRegisters(s, table, UnitKind::FourAxis, axis);
    return s;
}

std::optional<ProgramTable::FieldValues> CmdAnalyze(int axis, const QString &reply)
{
    return RegisterFields(UnitKind::FourAxis, axis, reply);
}
