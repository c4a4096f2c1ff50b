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

DownloadWords::DownloadWords(ProgramTable &table, UnitKind kind) : m_table(table), m_kind(kind) {}

std::optional<InstructionWord> DownloadWords::Word(int axis, int reg, QString *why)
{
    if (axis < 0 || axis >= AxisCount(m_kind) || reg < 0 || reg > LastRegister(m_kind))
        return std::nullopt;
    if (!m_rows)
        m_rows = m_table.ReadAll();
    std::vector<std::optional<Encoded>> &encoded = m_encoded[size_t(axis)];
    if (encoded.empty())
        encoded.resize(size_t(RegisterCount(m_kind)));
    std::optional<Encoded> &e = encoded[size_t(reg)];
    if (!e) {
        e.emplace();
        const int first = AxisFieldColumn(axis, 0);
        if (size_t(reg) < m_rows->size() && first >= 0 && (*m_rows)[size_t(reg)].size() >= first + 4) {
            const QStringList &row = (*m_rows)[size_t(reg)];
            e->word = EncodeForAxis(m_kind, {row[first], row[first + 1], row[first + 2], row[first + 3]}, axis,
                                    &e->why);
            if (e->word)
                e->why.clear();
        }
    }
    if (why && !e->word)
        *why = e->why;
    return e->word;
}

std::optional<RegisterRefusal> DownloadWords::Check(const std::vector<DownloadRange> &ranges)
{
    std::optional<RegisterRefusal> refusal;
    for (const DownloadRange &r : ranges)
        for (int reg = r.from; reg <= r.to; ++reg) {
            QString why;
            if (Word(r.axis, reg, &why))
                continue;
            if (refusal)
                ++refusal->more;
            else
                refusal = RegisterRefusal{r.axis, reg, why, 0};
        }
    return refusal;
}

void CheckDownloadWith(TransferSteps &steps, const std::shared_ptr<DownloadWords> &words, int axis)
{
    steps.refusal = [words, axis](int reg) {
        QString why;
        words->Word(axis, reg, &why);
        return why;
    };
    steps.checkFirst = [words, axis](int from, int to) { return words->Check({{axis, from, to}}); };
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
