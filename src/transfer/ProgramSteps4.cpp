#include "transfer/ProgramSteps4.h"

#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "shared/Shared.h"
#include "transfer/InstructionCodec.h"

#include <QElapsedTimer>
#include <memory>

namespace {

QString registerHead(int axis, int reg)
{
    return QStringLiteral("PR") + AxisLetter(axis) + u' ' + QString::number(reg);
}

bool startsWithPR(const QString &line)
{
    return line.startsWith(u"PR");
}

// Control opcodes that only the X axis gives: it alone waits for and runs
// the other axes.
bool xAxisOnly(uint32_t opcodeByte)
{
    return opcodeByte == 0xCE || opcodeByte == 0xCF || (opcodeByte >= 0xD1 && opcodeByte <= 0xD4);
}

// Register stores held back and written together.
class HeldStores
{
public:
    explicit HeldStores(ProgramTable &table) : m_table(table) { m_since.start(); }

    void hold(int reg, ProgramTable::FieldValues fields)
    {
        if (!fields.empty())
            m_pending.emplace_back(reg, std::move(fields));
    }

    std::optional<int> flush(bool final)
    {
        if (!final && int(m_pending.size()) < kBatch && !m_since.hasExpired(kBatchMs))
            return std::nullopt;
        m_since.start();
        std::optional<int> refused;
        const bool all = m_table.InTransaction([&] {
            for (const auto &[reg, fields] : m_pending)
                if (!m_table.WriteFields(reg, fields))
                    return false;
            return true;
        });
        if (!all) {
            // Nothing of the batch was kept: one by one, up to the register
            // the table refuses.
            for (const auto &[reg, fields] : m_pending)
                if (!m_table.WriteFields(reg, fields)) {
                    refused = reg;
                    break;
                }
        }
        m_pending.clear();
        return refused;
    }

private:
    static constexpr int kBatch = 200;
    static constexpr int kBatchMs = 500;
    ProgramTable &m_table;
    std::vector<std::pair<int, ProgramTable::FieldValues>> m_pending;
    QElapsedTimer m_since;
};

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
    TransferSteps s;
    s.reply = &g.IxsReplyLine;
    // The program as it stands when the axis begins, read in one go.
    auto records = std::make_shared<std::optional<std::vector<QStringList>>>();
    s.request = [&table, axis, records](int reg) -> std::optional<RegisterRequest> {
        if (!*records)
            *records = table.ReadAll();
        const std::vector<QStringList> &all = **records;
        const int first = AxisFieldColumn(axis, 0);
        if (reg < 0 || size_t(reg) >= all.size() || first < 0 || all[size_t(reg)].size() < first + 4)
            return std::nullopt;
        const QStringList &row = all[size_t(reg)];
        const auto word = EncodeForAxis(UnitKind::FourAxis, {row[first], row[first + 1], row[first + 2], row[first + 3]}, axis);
        if (!word)
            return std::nullopt;
        RegisterRequest rq;
        rq.command = RegisterWriteCommand(axis, reg, word->text);
        rq.threshold = int(rq.command.size());   // the echo is the command itself
        return rq;
    };
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
    s.reply = &g.IxsReplyLine;
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
    auto held = std::make_shared<HeldStores>(table);
    s.store = [held, axis](int reg, const QString &line) {
        auto fields = CmdAnalyze(axis, line);
        if (!fields)
            return false;
        held->hold(reg, std::move(*fields));
        return true;
    };
    s.flush = [held](bool final) { return held->flush(final); };
    return s;
}

std::optional<ProgramTable::FieldValues> CmdAnalyze(int axis, const QString &reply)
{
    if (axis < 0 || axis >= kAxes)
        return std::nullopt;
    const std::optional<ClassifiedWord> word = ChkACT(reply, UnitKind::FourAxis);
    if (!word)
        return std::nullopt;
    const uint32_t opcodeByte = uint32_t(word->instructionClass - kClassControl) | 0xC0;
    if (word->instructionClass >= kClassControl && axis != 0 && xAxisOnly(opcodeByte))
        return ProgramTable::FieldValues{};   // the register keeps what it held
    const std::optional<AxisInstruction> texts = DecodeForAxis(UnitKind::FourAxis, word->wordText, axis);
    if (!texts)
        return std::nullopt;
    return ProgramTable::FieldValues{{AxisFieldColumn(axis, 0), texts->CMD},
                                     {AxisFieldColumn(axis, 1), texts->DAT},
                                     {AxisFieldColumn(axis, 2), texts->SPD},
                                     {AxisFieldColumn(axis, 3), texts->TIM}};
}
