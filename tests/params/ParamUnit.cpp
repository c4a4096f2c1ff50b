#include "ParamUnit.h"

#include "platform/EventPump.h"

#include <QRegularExpression>
#include <QSocketNotifier>

ParamUnit::ParamUnit(int model) : m_model(model)
{
    if (m_pty.ok()) {
        m_notifier = new QSocketNotifier(m_pty.fd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readFromProgram(); });
    }
}

ParamUnit::~ParamUnit()
{
    delete m_notifier;
}

void ParamUnit::hangUp()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
    m_pty.hangUp();
}

void ParamUnit::readFromProgram()
{
    m_pending.append(m_pty.readAvailable());
    for (;;) {
        const qsizetype cr = m_pending.indexOf('\r');
        if (cr < 0 || !m_pty.ok())
            return;
        const QString line = QString::fromLatin1(m_pending.left(cr));
        m_pending.remove(0, cr + 1);
        const bool silent = silentFrom >= 0 && lines.size() >= silentFrom;
        lines << line;
        if (onLine)
            onLine(line);
        if (silent)
            continue;
        std::optional<QByteArray> reply;
        if (replace)
            reply = replace(line);
        if (!reply)
            reply = answer(line);
        if (!reply->isEmpty())
            m_pty.send(*reply);
    }
}

QByteArray ParamUnit::answer(const QString &line)
{
    if (m_model == 2) {
        static const QRegularExpression write(QStringLiteral("^IXS ([XY])(\\d+),([0-9A-F]{8})$"));
        static const QRegularExpression read(QStringLiteral("^IXR ([XY])(\\d+)$"));
        if (const auto m = write.match(line); m.hasMatch()) {
            memory[m.captured(1) + m.captured(2)] = m.captured(3);
            return line.toLatin1() + '\r';
        }
        if (const auto m = read.match(line); m.hasMatch()) {
            // Registers are 16 bits wide, except 68 (the offset) with 32.
            const bool wide = m.captured(2) == u"68";
            const QString v = memory.value(m.captured(1) + m.captured(2), QStringLiteral("00000000"));
            return (QStringLiteral("IXR ") + m.captured(1) + m.captured(2) + QStringLiteral(", ")
                    + (wide ? v : v.right(4)) + u'\r').toLatin1();
        }
        return {};
    }
    static const QRegularExpression cmd(QStringLiteral("^([A-Z][A-Z0-9]{2}) ([XYZU])([0-9A-F]*)$"));
    const auto m = cmd.match(line);
    if (!m.hasMatch() || m.captured(1) == u"SET")
        return {};
    const QString key = m.captured(1) + u' ' + m.captured(2);
    if (!m.captured(3).isEmpty()) {
        memory[key] = m.captured(3);
        return line.toLatin1() + '\r';
    }
    const bool wide = m.captured(1) == u"OFS";
    const QString v = memory.value(key, wide ? QStringLiteral("00000000") : QStringLiteral("0000"));
    return (key + v + u'\r').toLatin1();
}

bool ParamUnit::waitForLines(int count, int timeoutMs)
{
    return WaitUntil([&] { return lines.size() >= count; }, timeoutMs) == WaitResult::Done;
}
