#include "mainwin/LineWatch.h"

#include "link/LineExchange.h"

#include <QStringList>

#include <algorithm>

int SilenceLimitMs(int periodMs)
{
    return std::max(3000, 5 * std::max(0, periodMs));
}

bool SilenceWatch::polled(qint64 now, int periodMs)
{
    const int limit = SilenceLimitMs(periodMs);
    // Ticks that stopped for longer than the limit mean the poll was switched
    // off meanwhile (a manual command, a dialog): nobody was asked then.
    if (m_lastPoll && now - *m_lastPoll > limit)
        m_since.reset();
    m_lastPoll = now;
    if (!m_since)
        m_since = now;
    return now - *m_since >= limit;
}

void SilenceWatch::replied()
{
    m_since.reset();
}

void SilenceWatch::idle()
{
    m_since.reset();
    m_lastPoll.reset();
}

QString ErrorMessageText(LineTrouble trouble, const QString &unitMessage, const QString &refusal)
{
    QStringList lines;
    switch (trouble) {
    case LineTrouble::None: break;
    case LineTrouble::NoReply: lines << QStringLiteral("No reply from the unit."); break;
    case LineTrouble::Closed: lines << LineClosedMessage(); break;
    }
    for (const QString &text : {refusal, unitMessage})
        if (!text.isEmpty())
            lines << text;
    return lines.join(u'\n');
}
