#include "mainwin/LineWatch.h"

#include "link/LineExchange.h"

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

QString ErrorMessageText(LineTrouble trouble, const QString &unitMessage)
{
    QString line;
    switch (trouble) {
    case LineTrouble::None: return unitMessage;
    case LineTrouble::NoReply: line = QStringLiteral("No reply from the unit."); break;
    case LineTrouble::Closed: line = LineClosedMessage(); break;
    }
    return unitMessage.isEmpty() ? line : line + u'\n' + unitMessage;
}
