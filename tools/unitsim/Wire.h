#pragma once
// The unit's end of the serial line: a pseudo-terminal master. It collects
// received bytes into CR-ended lines, tells whether the program's port speed
// matches the unit's own, and writes queued output after the reply delay and,
// when pacing, no faster than the line speed allows. Pacing models both
// directions: what the program writes comes in no faster than the line
// speed either, so a reply starts only once the last character of its
// command would have arrived.

#include "Unit.h"

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class Wire
{
public:
    struct Line {
        std::string text;      // without CR; LF removed
        int heardBaud = 0;     // speed the program's port was set to
        bool understood = true;
        // When its CR would have come in over the line: when pacing, no
        // earlier than its characters, one after the other, at the line
        // speed; else when it was read.
        Clock::time_point arrived{};
    };

    Wire(int baud, bool pace);
    ~Wire();
    Wire(const Wire &) = delete;
    Wire &operator=(const Wire &) = delete;

    bool open(std::string *error);
    const std::string &devicePath() const { return m_path; }
    int fd() const { return m_master; }
    bool isOpen() const { return m_master >= 0; }

    int baud() const { return m_baud; }
    void setBaud(int baud) { m_baud = baud; }
    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }

    // Reads what waits on the line; the lines completed by it.
    std::vector<Line> receive(Clock::time_point now);

    // Queues bytes for the line; logLine is printed once they are all out.
    // A reply waits for the reply delay first.
    void send(std::string bytes, std::string logLine, Clock::time_point now, bool isReply);
    // Writes whatever is due by now.
    void pump(Clock::time_point now);
    // When pump() next has something to write (none while blocked or idle).
    std::optional<Clock::time_point> nextDue() const;
    // The line is full: wait until it can be written again.
    bool blocked() const { return m_blocked; }

    // Closes the line: the program sees its port hang up.
    void hangUp();

private:
    struct Pending {
        std::string bytes;
        std::string log;
        Clock::time_point notBefore;
        std::optional<Clock::time_point> start;
        size_t sent = 0;
    };

    // A paced reply reaches the program in groups of this many characters,
    // each once its last character is in, as a UART's receive FIFO hands
    // them over.
    static constexpr size_t kReceiveFifo = 8;

    int programBaud() const;
    Clock::duration charTime() const;
    size_t pacedCount(const Pending &p, Clock::time_point now) const;

    int m_master = -1;
    int m_slaveHold = -1;
    std::string m_path;
    int m_baud;
    bool m_pace;
    std::chrono::milliseconds m_delay{0};
    std::string m_collect;
    bool m_overflow = false;
    std::deque<Pending> m_queue;
    Clock::time_point m_lineFree{};
    Clock::time_point m_inFree{};   // when the last character read would have come in
    bool m_blocked = false;
};
