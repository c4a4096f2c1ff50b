#include "program/TextEntry.h"

#include "program/ProgramLayout.h"
#include "shared/RefusalText.h"

QString TrimBlanks(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.mid(b, e - b);
}

QString TrimTrailingBlanks(const QString &text)
{
    qsizetype e = text.size();
    while (e > 0 && text[e - 1] == u' ')
        --e;
    return text.left(e);
}

bool EntryCharAccepted(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'"' || u < 0x20 || u == 0x7f)
        return false;
    // Line and paragraph separators are line breaks too.
    return u != 0x2028 && u != 0x2029 && u != 0x85;
}

std::optional<QString> StoredEntryText(const QString &text)
{
    for (QChar c : text)
        if (!EntryCharAccepted(c))
            return std::nullopt;
    return TrimBlanks(text);
}

QString EntryRefusal(const QString &text)
{
    for (QChar c : text)
        if (!EntryCharAccepted(c))
            return WithReason(QStringLiteral("Bad Setting."), RefusedCharLine(c));
    return {};
}

QString AfterEntryChange(const QString &text)
{
    if (!text.isEmpty() && text[0].unicode() >= 8 && text[0].unicode() <= 13)
        return QString();
    return text;
}

QString CaretLabelText(const QString &text, int caret)
{
    if (caret < 0 || caret > text.size())
        caret = int(text.size());
    const QStringView before = QStringView(text).left(caret);
    const int line = int(before.count(u'\n'));
    const int lineStart = int(before.lastIndexOf(u'\n')) + 1;
    return QStringLiteral("%1 %2").arg(line + 1).arg(caret - lineStart);
}

GridKeyAction GridKeyFor4(int col, int keyAscii)
{
    switch (KindOfColumn(col)) {
    case CellKind::Dat:
    case CellKind::Cmt:
        return {GridKeyAction::StartText, {}};
    case CellKind::Spd:
    case CellKind::Tim: {
        const int first = KindOfColumn(col) == CellKind::Spd ? '1' : '0';
        if (keyAscii == '9')
            return {GridKeyAction::Store, QStringLiteral("")};
        if (keyAscii >= first && keyAscii <= first + 3)
            return {GridKeyAction::Store, QString(QChar(keyAscii))};
        return {};
    }
    default:
        return {};
    }
}

std::optional<GridCell> MoveAfterStore(EntryKey key, int row, int col, int lastReg)
{
    const int reg = RegisterOfRow(row);
    switch (key) {
    case EntryKey::Down:
        if (reg >= 0 && reg < lastReg)
            return GridCell{row + 1, col};
        return std::nullopt;
    case EntryKey::Up:
        if (reg > 0 && reg <= lastReg)
            return GridCell{row - 1, col};
        return std::nullopt;
    case EntryKey::Enter:
    case EntryKey::Right:
        if (col >= 0 && col < kProgramFields - 1)
            return GridCell{row, col + 1};
        return std::nullopt;
    case EntryKey::Left:
        if (col > 1 && col < kProgramFields)
            return GridCell{row, col - 1};
        return std::nullopt;
    }
    return std::nullopt;
}
