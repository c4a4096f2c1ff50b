#include "link/LineAssembly.h"

bool LineAssembler::feed(QChar c, QString &buffer, QString *line)
{
    if (c == u'\n')
        return false;
    if (c == u'\r') {
        if (m_discarding) {
            m_discarding = false;
            buffer.clear();
            return false;
        }
        buffer.append(c);
        *line = buffer;
        buffer.clear();
        return true;
    }
    if (m_discarding)
        return false;
    buffer.append(c);
    if (buffer.size() > kMaxLineLength) {
        buffer.clear();
        m_discarding = true;
    }
    return false;
}

bool LineMeetsThreshold(const QString &line, int threshold)
{
    const qsizetype cr = line.indexOf(u'\r');
    const qsizetype p = cr < 0 ? 0 : cr + 1;
    return p >= threshold;
}
