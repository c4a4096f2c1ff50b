#include "shared/Language.h"

#include "platform/AppInfo.h"

QString GetComWarning()
{
    if (SystemLocaleId() == kLocaleJapanese)
        return QString::fromUtf8("本体側の通信設定も変更します。");
    return QStringLiteral("Warning ! System will change Connection Setting of Motion Control Unit too.");
}

QString GetRangeMark()
{
    if (SystemLocaleId() == kLocaleJapanese)
        return QString(QChar(0xFF5E));
    return QStringLiteral("-");
}
