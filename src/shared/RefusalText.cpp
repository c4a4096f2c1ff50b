#include "shared/RefusalText.h"

QString RefusedCharLine(QChar c)
{
    const char16_t u = c.unicode();
    const QString code = QStringLiteral("U+") + QStringLiteral("%1").arg(uint(u), 4, 16, QChar(u'0')).toUpper();
    QString what;
    if (u == u'\n' || u == u'\r' || u == 0x0b || u == 0x0c || u == 0x85 || u == 0x2028 || u == 0x2029)
        what = QStringLiteral("A line break");
    else if (u == u'\t')
        what = QStringLiteral("A tab");
    else if (u == u'"')
        what = QStringLiteral("The double quote (\")");
    else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
        what = QStringLiteral("The control character ") + code;
    else
        what = QStringLiteral("The character \"") + c + QStringLiteral("\" (") + code + u')';
    return what + QStringLiteral(" cannot go into this text.");
}

QString WithReason(const QString &first, const QString &reason)
{
    return reason.isEmpty() ? first : first + u'\n' + reason;
}
