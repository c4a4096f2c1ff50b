#include "UnitSim.h"

#include "platform/EventPump.h"

#include <QtGlobal>

namespace {

// Lines that answer a control command rather than log the wire.
bool isAnswer(const QString &line)
{
    return line.startsWith(u"REG ") || line.startsWith(u"PAR ") || line.startsWith(u"POS ")
           || line == u"SYNC" || line.startsWith(u"ERR ");
}

} // namespace

UnitSim::UnitSim(const QStringList &options, int port, int startTimeoutMs)
    : m_envName("ZT_COM" + QByteArray::number(port))
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] { readOutput(); });
    // Sanitizer reports and option errors reach the test's own output.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(UNITSIM_PATH), options);
    WaitUntil([this] { return isReady() || m_process.state() == QProcess::NotRunning; }, startTimeoutMs);
    if (isReady()) {
        if (qEnvironmentVariableIsSet(m_envName.constData()))
            m_envBefore = qgetenv(m_envName.constData());
        qputenv(m_envName.constData(), m_device.toLocal8Bit());
    }
}

UnitSim::~UnitSim()
{
    if (isReady()) {
        if (m_envBefore)
            qputenv(m_envName.constData(), *m_envBefore);
        else
            qunsetenv(m_envName.constData());
    }
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void UnitSim::readOutput()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype nl;
    while ((nl = m_partial.indexOf('\n')) >= 0) {
        const QString line = QString::fromLatin1(m_partial.left(nl));
        m_partial.remove(0, nl + 1);
        if (m_device.isEmpty()) {
            m_device = line;   // the first line names the device
        } else if (isAnswer(line)) {
            if (line.startsWith(u"ERR "))
                qWarning("unitsim did not take the control command \"%s\"", qPrintable(line.mid(4)));
            m_answers << line;
        } else {
            m_log << line;
            if (m_watcher)
                m_watcher(line);
        }
    }
}

void UnitSim::clearLog()
{
    if (m_process.state() == QProcess::Running)
        sync();
    m_log.clear();
}

QStringList UnitSim::linesWith(const QString &prefix) const
{
    QStringList out;
    for (const QString &line : m_log)
        if (line.startsWith(prefix))
            out << line.mid(prefix.size());
    return out;
}

bool UnitSim::waitForLog(const Match &match, int timeoutMs)
{
    qsizetype checked = 0;
    return WaitUntil([&] {
        // The log only grows while we wait (unless a match clears it), so
        // each line is looked at once.
        checked = qMin(checked, m_log.size());
        for (; checked < m_log.size(); ++checked)
            if (match(m_log[checked]))
                return true;
        return false;
    }, timeoutMs) == WaitResult::Done;
}

bool UnitSim::waitForRx(const Match &match, int timeoutMs)
{
    return waitForLog([&](const QString &line) { return line.startsWith(u"RX ") && match(line.mid(3)); },
                      timeoutMs);
}

bool UnitSim::waitForRx(const QString &text, int timeoutMs)
{
    return waitForRx([&](const QString &t) { return t == text; }, timeoutMs);
}

bool UnitSim::waitForTx(const Match &match, int timeoutMs)
{
    return waitForLog([&](const QString &line) { return line.startsWith(u"TX ") && match(line.mid(3)); },
                      timeoutMs);
}

bool UnitSim::waitForTx(const QString &text, int timeoutMs)
{
    return waitForTx([&](const QString &t) { return t == text; }, timeoutMs);
}

void UnitSim::control(const QString &command)
{
    m_process.write(command.toLatin1() + '\n');
}

std::optional<QString> UnitSim::ask(const QString &command, const QString &answerPrefix, int timeoutMs)
{
    m_answers.clear();
    control(command);
    std::optional<QString> answer;
    WaitUntil([&] {
        for (const QString &line : std::as_const(m_answers)) {
            if (line.startsWith(answerPrefix))
                answer = line.mid(answerPrefix.size());
            if (answer || line.startsWith(u"ERR "))
                return true;
        }
        return false;
    }, timeoutMs);
    return answer;
}

bool UnitSim::sync(int timeoutMs)
{
    return ask(QStringLiteral("sync"), QStringLiteral("SYNC"), timeoutMs).has_value();
}

std::optional<quint32> UnitSim::registerWord(QChar axis, int reg, int timeoutMs)
{
    const QString query = QStringLiteral("reg %1 %2").arg(axis).arg(reg);
    const auto answer = ask(query, query.toUpper() + u' ', timeoutMs);
    bool ok = false;
    const quint32 word = answer ? answer->toUInt(&ok, 16) : 0;
    return ok ? std::optional<quint32>(word) : std::nullopt;
}

std::optional<quint32> UnitSim::parameter(QChar axis, const QString &name, int timeoutMs)
{
    const QString query = QStringLiteral("par %1 %2").arg(axis, name);
    const auto answer = ask(query, query.toUpper() + u' ', timeoutMs);
    bool ok = false;
    const quint32 value = answer ? answer->toUInt(&ok, 16) : 0;
    return ok ? std::optional<quint32>(value) : std::nullopt;
}

std::optional<qint32> UnitSim::position(QChar axis, int timeoutMs)
{
    const QString query = QStringLiteral("pos %1").arg(axis);
    const auto answer = ask(query, query.toUpper() + u' ', timeoutMs);
    bool ok = false;
    const qint32 pos = answer ? answer->toInt(&ok) : 0;
    return ok ? std::optional<qint32>(pos) : std::nullopt;
}
