#include "program/ProgramLayout.h"

namespace {
// Offset of each column within its axis group; the REG columns have none.
constexpr int kPart[kProgramFields] = {-1, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, -1, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4};
constexpr int kAxis[kProgramFields] = {-1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, -1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3};
constexpr int kStart[4] = {1, 6, 12, 17};

bool inGrid(int col)
{
    return col >= 0 && col < kProgramFields;
}
}

const QStringList &ProgramFieldNames()
{
    static const QStringList names = [] {
        QStringList n;
        static const char *const parts[kAxisFields] = {"CMD", "DAT", "SPD", "TIM", "CMT"};
        for (int col = 0; col < kProgramFields; ++col) {
            if (kAxis[col] < 0)
                n << (col == 0 ? QStringLiteral("Reg1") : QStringLiteral("Reg2"));
            else
                n << QStringLiteral("%1_%2").arg(QChar("XYZU"[kAxis[col]]), QLatin1String(parts[kPart[col]]));
        }
        return n;
    }();
    return names;
}

CellKind KindOfColumn(int col)
{
    if (!inGrid(col))
        return CellKind::None;
    static constexpr CellKind kinds[kAxisFields] = {CellKind::Cmd, CellKind::Dat, CellKind::Spd, CellKind::Tim,
                                                    CellKind::Cmt};
    return kPart[col] < 0 ? CellKind::Reg : kinds[kPart[col]];
}

int AxisOfColumn(int col)
{
    return inGrid(col) ? kAxis[col] : -1;
}

int AxisStartColumn(int axis)
{
    return axis >= 0 && axis < 4 ? kStart[axis] : -1;
}

int AxisFieldColumn(int axis, int part)
{
    if (part < 0 || part >= kAxisFields)
        return -1;
    const int start = AxisStartColumn(axis);
    return start < 0 ? -1 : start + part;
}

int SelectionAxis(int col)
{
    if (!inGrid(col))
        return -1;
    if (col == 0)
        return 0;
    if (col == 11)
        return 2;
    return kAxis[col];
}

QString Header4Text(int row, int col)
{
    const CellKind kind = KindOfColumn(col);
    if (kind == CellKind::None || row < 0 || row > 1)
        return {};
    if (row == 1) {
        switch (kind) {
        case CellKind::Reg: return QStringLiteral("REG");
        case CellKind::Cmd: return QStringLiteral("CMD");
        case CellKind::Dat: return QStringLiteral("   DATA");
        case CellKind::Spd: return QStringLiteral("SPD");
        case CellKind::Tim: return QStringLiteral("TIM");
        default: return QStringLiteral("       COMMENT");
        }
    }
    // The axis letter stands over the middle of its column.
    const int blanks = kind == CellKind::Reg ? -1 : kind == CellKind::Dat ? 6 : kind == CellKind::Cmt ? 13 : 2;
    if (blanks < 0)
        return {};
    return QString(blanks, u' ') + QChar("XYZU"[kAxis[col]]);
}

QString Header2Text(int row, int col)
{
    const CellKind kind = KindOfColumn(col);
    if (kind == CellKind::None || row < 0 || row > 1)
        return {};
    if (row == 0)
        return kind == CellKind::Reg ? QString() : QString(QChar("XYZU"[kAxis[col]]));
    static const char *const names[] = {"REG", "CMD", "DATA", "SPD", "TIM", "COMMENT"};
    return QLatin1String(names[kind == CellKind::Reg ? 0 : kPart[col] + 1]);
}

int ColumnWidthTwips(int col)
{
    switch (KindOfColumn(col)) {
    case CellKind::None: return 0;
    case CellKind::Dat: return 1000;
    case CellKind::Cmt: return 2000;
    default: return 500;
    }
}

QString RegisterPageCaption(int tab)
{
    if (tab < 0 || tab >= kRegisterPages)
        return {};
    const int first = tab * kPageRegisters;
    // Pages 15 to 17 are captioned without a blank after the hyphen.
    const QString sep = tab >= 15 && tab <= 17 ? QStringLiteral(" -") : QStringLiteral(" - ");
    return QString::number(first) + sep + QString::number(first + kPageRegisters - 1);
}
