#include "Wire.h"

#include "FreePty.h"
#include "Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A line that grows this long without a CR is thrown away.
constexpr size_t kMaxLine = 1024;

speed_t speedCode(int baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    default: return B9600;
    }
}

int baudOf(speed_t code)
{
    switch (code) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

} // namespace

Wire::Wire(int baud, bool pace) : m_baud(baud), m_pace(pace) {}

Wire::~Wire()
{
    hangUp();
}

bool Wire::open(std::string *error)
{
    m_master = OpenFreePty(&m_path);
    if (m_master < 0) {
        *error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        hangUp();
        return false;
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // Holding the far end open keeps the master readable-quiet while the
    // program has not opened the device yet or has closed it again.
    m_slaveHold = ::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slaveHold < 0) {
        *error = "cannot open " + m_path + ": " + std::strerror(errno);
        hangUp();
        return false;
    }
    termios t{};
    tcgetattr(m_slaveHold, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speedCode(m_baud));
    cfsetospeed(&t, speedCode(m_baud));
    tcsetattr(m_slaveHold, TCSANOW, &t);
    return true;
}

void Wire::hangUp()
{
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveHold = -1;
    m_master = -1;
    m_queue.clear();
    m_blocked = false;
}

// Termios requests on a pty master act on its slave, so this is the speed
// the program set on its port.
int Wire::programBaud() const
{
    termios t{};
    if (m_master < 0 || tcgetattr(m_master, &t) != 0)
        return 0;
    return baudOf(cfgetospeed(&t));
}

std::vector<Wire::Line> Wire::receive(Clock::time_point now)
{
    std::vector<Line> lines;
    char buf[4096];
    while (m_master >= 0) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buf[i];
            // The pseudo-terminal hands over at once what the program wrote;
            // a line takes ten bits a character to come in.
            m_inFree = m_pace ? std::max(now, m_inFree) + charTime() : now;
            if (c == '\n')
                continue;
            if (c != '\r') {
                if (m_collect.size() >= kMaxLine) {
                    m_collect.clear();
                    m_overflow = true;
                }
                if (!m_overflow)
                    m_collect += c;
                continue;
            }
            if (!m_overflow) {
                Line line;
                line.text = m_collect;
                line.heardBaud = programBaud();
                line.understood = line.heardBaud == m_baud;
                line.arrived = m_inFree;
                lines.push_back(std::move(line));
            }
            m_collect.clear();
            m_overflow = false;
        }
    }
    return lines;
}

// Characters of `p` the program may have by `now`: those on the line, handed
// over a receive FIFO's worth at a time, the last ones at the end.
size_t Wire::pacedCount(const Pending &p, Clock::time_point now) const
{
    const size_t in = std::min(p.bytes.size(), size_t((now - *p.start) / charTime()));
    return in == p.bytes.size() ? in : in - in % kReceiveFifo;
}

Clock::duration Wire::charTime() const
{
    // Ten bits a character: start, eight data bits, stop.
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / m_baud));
}

void Wire::send(std::string bytes, std::string logLine, Clock::time_point now, bool isReply)
{
    if (m_master < 0)
        return;
    Pending p;
    p.bytes = std::move(bytes);
    p.log = std::move(logLine);
    p.notBefore = isReply ? now + m_delay : now;
    m_queue.push_back(std::move(p));
}

void Wire::pump(Clock::time_point now)
{
    m_blocked = false;
    while (!m_queue.empty() && m_master >= 0) {
        Pending &p = m_queue.front();
        if (now < p.notBefore)
            return;
        if (!p.start)
            p.start = std::max(p.notBefore, m_lineFree);
        size_t due = p.bytes.size();
        if (m_pace)
            due = pacedCount(p, now);
        if (due > p.sent) {
            const ssize_t n = ::write(m_master, p.bytes.data() + p.sent, due - p.sent);
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR)
                    m_blocked = true;
                else
                    m_queue.pop_front();   // the line is gone; nothing more can be written
                return;
            }
            p.sent += size_t(n);
            if (p.sent < due) {
                m_blocked = true;
                return;
            }
        }
        if (p.sent < p.bytes.size())
            return;   // paced: the rest is not due yet
        if (!p.log.empty())
            emitLine(p.log);
        m_lineFree = m_pace ? *p.start + charTime() * Clock::rep(p.bytes.size()) : now;
        m_queue.pop_front();
    }
}

std::optional<Clock::time_point> Wire::nextDue() const
{
    if (m_queue.empty() || m_blocked)
        return std::nullopt;
    const Pending &p = m_queue.front();
    if (!p.start)
        return std::max(p.notBefore, m_pace ? m_lineFree : p.notBefore);
    if (!m_pace)
        return *p.start;
    return *p.start + charTime() * Clock::rep(std::min(p.bytes.size(), p.sent + kReceiveFifo));
}
