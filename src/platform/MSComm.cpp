#include "platform/MSComm.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

MSComm::MSComm(QObject *parent)
    : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        pullFromPort();
        raiseReceive();
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // A read that finds the line hung up reports whatever error the
        // system held from before ("Resource temporarily unavailable"):
        // the hang-up is named as such.
        if (e == QSerialPort::ResourceError)
            onPortError(hungUp() ? hungUpReason() : m_port->errorString());
    });
    // A line whose far end went away does not always report an error (a
    // pseudo-terminal just reads as ended), so the open port is watched.
    m_watch = new QTimer(this);
    m_watch->setInterval(200);
    connect(m_watch, &QTimer::timeout, this, [this] {
        if (hungUp())
            onPortError(hungUpReason());
    });
}

QString MSComm::hungUpReason()
{
    return QStringLiteral("the line was hung up");
}

bool MSComm::hungUp() const
{
    if (!m_port->isOpen())
        return false;
    pollfd p{int(m_port->handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

MSComm::~MSComm()
{
    if (m_port->isOpen())
        m_port->close();
}

QString MSComm::DevicePath(int port)
{
    const QByteArray name = "ZT_COM" + QByteArray::number(port);
    const QByteArray env = qgetenv(name.constData());
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QString MSComm::FailureDetail() const
{
    QString text = QStringLiteral("Com%1 = %2").arg(m_commPort).arg(DevicePath(m_commPort));
    if (!m_failureReason.isEmpty())
        text += QStringLiteral(": ") + m_failureReason;
    return text;
}

int MSComm::setCommPort(int port)
{
    if (m_port->isOpen())
        return PortAlreadyOpen;
    if (port < 1 || port > 16)
        return InvalidPortNumber;
    m_commPort = port;
    return NoError;
}

bool ParseCommSettings(const QString &text, CommSettings *out)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return false;
    CommSettings s;
    bool ok = false;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        return false;
    const QString par = parts[1].trimmed().toUpper();
    if (par.size() != 1 || !QStringLiteral("NEOMS").contains(par))
        return false;
    s.parity = par[0].toLatin1();
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return false;
    const QString stop = parts[3].trimmed();
    if (stop == u"1") s.stopBits = 1;
    else if (stop == u"1.5") s.stopBits = 15;
    else if (stop == u"2") s.stopBits = 2;
    else return false;
    *out = s;
    return true;
}

int MSComm::setSettings(const QString &settings)
{
    CommSettings s;
    if (!ParseCommSettings(settings, &s))
        return InvalidPropertyValue;
    m_settings = settings;
    if (m_port->isOpen() && !applySettings())
        return SetStateFailed;
    return NoError;
}

bool MSComm::applySettings()
{
    CommSettings s;
    if (!ParseCommSettings(m_settings, &s))
        return false;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (s.parity) {
    case 'E': parity = QSerialPort::EvenParity; break;
    case 'O': parity = QSerialPort::OddParity; break;
    case 'M': parity = QSerialPort::MarkParity; break;
    case 'S': parity = QSerialPort::SpaceParity; break;
    default: break;
    }
    const auto stop = s.stopBits == 2 ? QSerialPort::TwoStop
                      : s.stopBits == 15 ? QSerialPort::OneAndHalfStop : QSerialPort::OneStop;
    return m_port->setBaudRate(s.baud)
           && m_port->setParity(parity)
           && m_port->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits))
           && m_port->setStopBits(stop)
           && m_port->setFlowControl(QSerialPort::NoFlowControl);
}

void MSComm::setRThreshold(int n)
{
    m_rThreshold = n < 0 ? 0 : n;
    // What came in while no threshold was in force raised no event; nothing
    // new may arrive to raise one, so the next pass of events delivers it.
    if (m_rThreshold > 0 && InBufferCount() > 0)
        QTimer::singleShot(0, this, [this] {
            pullFromPort();
            raiseReceive();
        });
}

bool MSComm::PortOpen() const
{
    return m_port->isOpen();
}

int MSComm::setPortOpen(bool open)
{
    if (!open) {
        m_watch->stop();
        if (m_port->isOpen())
            m_port->close();
        dropReceived();
        // A line begun on this connection must not run into the first line
        // of the next one.
        emit InputDiscarded();
        return NoError;
    }
    if (m_port->isOpen())
        return PortAlreadyOpen;
    const QString path = DevicePath(m_commPort);
    m_failureReason.clear();
    if (!QFileInfo::exists(path)) {
        m_failureReason = QString::fromLocal8Bit(std::strerror(ENOENT));
        return InvalidPortNumber;
    }
    m_port->setPortName(path);
    if (!m_port->open(QIODevice::ReadWrite))
        return openFailure(path);
    if (!applySettings()) {
        m_failureReason = m_port->errorString();
        m_port->close();
        m_port->clearError();
        return SetStateFailed;
    }
    dropReceived();
    m_port->clear(QSerialPort::AllDirections);
    emit InputDiscarded();
    m_watch->start();
    return NoError;
}

int MSComm::openFailure(const QString &path)
{
    const auto err = m_port->error();
    m_failureReason = m_port->errorString();
    m_port->clearError();
    if (err == QSerialPort::DeviceNotFoundError)
        return InvalidPortNumber;
    if (err == QSerialPort::PermissionError) {
        // The same error stands for a device in use and one this user may
        // not open; only the second is told by the file's permissions.
        const QByteArray name = path.toLocal8Bit();
        if (::faccessat(AT_FDCWD, name.constData(), R_OK | W_OK, AT_EACCESS) != 0
            && (errno == EACCES || errno == EPERM)) {
            m_failureReason = QString::fromLocal8Bit(std::strerror(errno));
            return PortNoAccess;
        }
        return PortAlreadyOpen;
    }
    if (err == QSerialPort::OpenError)
        return PortAlreadyOpen;
    return SetStateFailed;
}

int MSComm::Output(const QString &text)
{
    if (!m_port->isOpen())
        return PortNotOpen;
    QByteArray data = text.toLatin1();
    // Nothing waits to go out before it: straight to the device. A command
    // nearly always goes whole, and then needs no pass of events to finish
    // it (the port's write notice costs two). A failure takes the port's own
    // way below, which sees and reports it as it always did; what a full
    // device did not take waits in the port until there is room, as after
    // the port's own first write.
    bool writeNow = true;
    if (!data.isEmpty() && m_port->bytesToWrite() == 0) {
        const ssize_t n = ::write(int(m_port->handle()), data.constData(), size_t(data.size()));
        if (n == data.size())
            return NoError;
        if (n > 0) {
            data.remove(0, n);
            writeNow = false;
        }
    }
    m_port->clearError();
    const bool whole = m_port->write(data) == data.size();
    if (whole && writeNow)
        m_port->flush();
    // A device that went away while writing is closed by then (onPortError).
    const bool closed = !m_port->isOpen();
    const auto err = m_port->error();
    if (whole && !closed && err != QSerialPort::WriteError && err != QSerialPort::ResourceError)
        return NoError;
    // Whatever stays of a text the device refused would go out later, in
    // front of some other command. A port closed meanwhile keeps the reason
    // it was closed for (a hang-up).
    if (closed) {
        if (m_failureReason.isEmpty())
            m_failureReason = QStringLiteral("the line was closed");
    } else {
        m_failureReason = err == QSerialPort::NoError ? QStringLiteral("the text was not written whole")
                          : hungUp()                  ? hungUpReason()
                                                      : m_port->errorString();
    }
    if (m_port->isOpen()) {
        m_port->clear(QSerialPort::Output);
        m_port->clearError();
    }
    return WriteFailed;
}

void MSComm::pullFromPort()
{
    if (!m_port->isOpen())
        return;
    const qint64 more = m_port->bytesAvailable();
    if (more <= 0)
        return;
    // What Input took is dropped only now, once per arrival rather than
    // once per character taken.
    if (m_rxTaken > 0) {
        m_rx.remove(0, m_rxTaken);
        m_rxTaken = 0;
    }
    const qsizetype at = m_rx.size();
    m_rx.resize(at + qsizetype(more));
    const qint64 got = m_port->read(m_rx.data() + at, more);
    m_rx.resize(at + qsizetype(qMax<qint64>(0, got)));
}

// The line is read a character at a time: each is a shared text made once.
static const QString &oneCharacter(uchar c)
{
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> t;
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = QString(QChar(char16_t(i)));
        return t;
    }();
    return texts[c];
}

void MSComm::dropReceived()
{
    m_rx.clear();
    m_rxTaken = 0;
}

QString MSComm::Input()
{
    // What already waits answers a read of InputLen characters.
    if (m_inputLen == 0 || received() < m_inputLen)
        pullFromPort();
    const qsizetype waiting = received();
    const qsizetype n = m_inputLen == 0 ? waiting : qMin<qsizetype>(m_inputLen, waiting);
    const QString s = n == 1 ? oneCharacter(uchar(m_rx[m_rxTaken])) : QString::fromLatin1(m_rx.constData() + m_rxTaken, n);
    m_rxTaken += n;
    if (m_rxTaken == m_rx.size()) {
        m_rx.resize(0);   // keeps its room for the next arrival
        m_rxTaken = 0;
    }
    if (m_inputLen == 0)
        emit InputDiscarded();
    return s;
}

QString MSComm::InputThrough(QChar end, int maxLen)
{
    pullFromPort();
    const qsizetype waiting = qMin<qsizetype>(received(), qMax(0, maxLen));
    const char *from = m_rx.constData() + m_rxTaken;
    const void *at = waiting > 0 ? std::memchr(from, end.toLatin1(), size_t(waiting)) : nullptr;
    const qsizetype n = at ? static_cast<const char *>(at) - from + 1 : waiting;
    const QString s = QString::fromLatin1(from, n);
    m_rxTaken += n;
    if (m_rxTaken == m_rx.size()) {
        m_rx.resize(0);
        m_rxTaken = 0;
    }
    return s;
}

int MSComm::InBufferCount() const
{
    return int(received() + (m_port->isOpen() ? m_port->bytesAvailable() : 0));
}

void MSComm::setInBufferCount(int n)
{
    if (n != 0)
        return;
    dropReceived();
    if (m_port->isOpen()) {
        m_port->clear(QSerialPort::Input);
        m_port->readAll();
    }
    emit InputDiscarded();
}

int MSComm::OutBufferCount() const
{
    return m_port->isOpen() ? int(m_port->bytesToWrite()) : 0;
}

void MSComm::setOutBufferCount(int n)
{
    if (n == 0 && m_port->isOpen())
        m_port->clear(QSerialPort::Output);
}

// The receive event is raised whenever characters wait and a threshold is in
// force. Raising it before a whole reply is there is harmless: the line
// assembly keeps what it collected until the CR arrives. Characters left
// after one handler run are delivered by a later event.
void MSComm::raiseReceive()
{
    if (m_rThreshold <= 0 || received() == 0)
        return;
    if (m_inEvent) {
        m_raiseQueued = true;   // delivered once the running handler returns
        return;
    }
    const qsizetype before = received();
    m_inEvent = true;
    m_commEvent = comEvReceive;
    emit OnComm();
    m_inEvent = false;
    const bool progressed = received() < before;
    if (received() > 0 && (progressed || m_raiseQueued)) {
        m_raiseQueued = false;
        QTimer::singleShot(0, this, [this] { raiseReceive(); });
    }
    m_raiseQueued = false;
}

void MSComm::onPortError(const QString &reason)
{
    // The device went away (the unit's line was hung up): close the port so
    // that every sender sees it closed, and tell the handler of the change.
    m_watch->stop();
    if (!m_port->isOpen())
        return;
    m_failureReason = reason;
    m_port->close();
    m_port->clearError();
    dropReceived();
    emit InputDiscarded();
    raiseLineClosed();
}

void MSComm::raiseLineClosed()
{
    // A handler still running hears of it once it has returned.
    if (m_inEvent) {
        QTimer::singleShot(0, this, [this] { raiseLineClosed(); });
        return;
    }
    if (m_port->isOpen())
        return;   // opened again meanwhile: that line is not closed
    m_commEvent = comEvCD;
    m_inEvent = true;
    emit OnComm();
    m_inEvent = false;
}
