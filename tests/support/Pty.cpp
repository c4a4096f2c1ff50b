#include "Pty.h"

#include "FreePty.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cstdlib>

Pty::Pty()
{
    std::string path;
    m_master = OpenFreePty(&path);
    if (m_master < 0)
        return;
    m_path = QString::fromStdString(path);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // Raw mode, so the bytes pass unchanged in both directions.
    termios t{};
    tcgetattr(m_master, &t);
    cfmakeraw(&t);
    tcsetattr(m_master, TCSANOW, &t);
}

Pty::~Pty()
{
    hangUp();
}

void Pty::hangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void Pty::send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
    }
}

QByteArray Pty::readAvailable()
{
    QByteArray out = m_pending;
    m_pending.clear();
    char buf[4096];
    for (;;) {
        if (m_master < 0)
            break;
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

QByteArray Pty::readLine(int timeoutMs)
{
    QByteArray got;
    // The program's writes go out through its event loop; a notifier on our
    // end wakes the wait when bytes arrive.
    QSocketNotifier notifier(m_master, QSocketNotifier::Read);
    WaitUntil([&] {
        got.append(readAvailable());
        return got.contains('\r');
    }, timeoutMs);
    const qsizetype cr = got.indexOf('\r');
    if (cr < 0) {
        m_pending = got;
        return {};
    }
    m_pending = got.mid(cr + 1);
    return got.left(cr + 1);
}

QByteArray Pty::readAllWritten(MSComm &port)
{
    static const QByteArray marker = "~~\r";
    QByteArray got;
    if (port.PortOpen()) {
        port.Output(QString::fromLatin1(marker));
        for (;;) {
            const QByteArray line = readLine();
            if (line.isEmpty()) {
                qWarning("the marker never came back");
                got += "<timeout>";
                break;
            }
            if (line.endsWith(marker)) {
                got += line.left(line.size() - marker.size());
                break;
            }
            got += line;
        }
    }
    return got + readAvailable();
}
