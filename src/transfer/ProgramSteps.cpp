#include "transfer/ProgramSteps.h"

#include "program/ProgramLayout.h"
#include "shared/Shared.h"

#include <QElapsedTimer>
#include <memory>

namespace {

// Control opcodes that only the X axis gives: it alone waits for and runs
// the other axes. The 2-axis unit has RNY and WTY only.
bool xAxisOnly(UnitKind kind, uint32_t opcodeByte)
{
    if (opcodeByte == 0xCE || opcodeByte == 0xCF)
        return true;
    return kind == UnitKind::FourAxis && opcodeByte >= 0xD1 && opcodeByte <= 0xD4;
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

RegisterWords ProgramWords(ProgramTable &table, UnitKind kind, int axis)
{
    auto records = std::make_shared<std::optional<std::vector<QStringList>>>();
    return [&table, kind, axis, records](int reg, QString *why) -> std::optional<InstructionWord> {
        if (!*records)
            *records = table.ReadAll();
        const std::vector<QStringList> &all = **records;
        const int first = AxisFieldColumn(axis, 0);
        if (reg < 0 || size_t(reg) >= all.size() || first < 0 || all[size_t(reg)].size() < first + 4)
            return std::nullopt;
        const QStringList &row = all[size_t(reg)];
        return EncodeForAxis(kind, {row[first], row[first + 1], row[first + 2], row[first + 3]}, axis, why);
    };
}

std::function<QString(int reg)> WordRefusals(const RegisterWords &words)
{
    return [words](int reg) {
        QString why;
        words(reg, &why);
        return why;
    };
}

std::optional<ProgramTable::FieldValues> RegisterFields(UnitKind kind, int axis, const QString &reply)
{
    if (axis < 0 || axis >= kAxes)
        return std::nullopt;
    const std::optional<ClassifiedWord> word = ChkACT(reply, kind);
    if (!word)
        return std::nullopt;
    const uint32_t opcodeByte = uint32_t(word->instructionClass - kClassControl) | 0xC0;
    if (word->instructionClass >= kClassControl && axis != 0 && xAxisOnly(kind, opcodeByte))
        return ProgramTable::FieldValues{};   // the register keeps what it held
    const std::optional<AxisInstruction> texts = DecodeForAxis(kind, word->wordText, axis);
    if (!texts)
        return std::nullopt;
    return ProgramTable::FieldValues{{AxisFieldColumn(axis, 0), texts->CMD},
                                     {AxisFieldColumn(axis, 1), texts->DAT},
                                     {AxisFieldColumn(axis, 2), texts->SPD},
                                     {AxisFieldColumn(axis, 3), texts->TIM}};
}

void StoreUploadedRegisters(TransferSteps &steps, ProgramTable &table, UnitKind kind, int axis)
{
    auto held = std::make_shared<HeldStores>(table);
    steps.store = [held, kind, axis](int reg, const QString &line) {
        auto fields = RegisterFields(kind, axis, line);
        if (!fields)
            return false;
        held->hold(reg, std::move(*fields));
        return true;
    };
    steps.flush = [held](bool final) { return held->flush(final); };
}
