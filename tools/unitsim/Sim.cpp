#include "Sim.h"

#include "Text.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> tokens(const std::string &s)
{
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string t; in >> t;)
        out.push_back(t);
    return out;
}

// One character of the echo changed: the last one, into another hex digit,
// so that the echo keeps its head and length and only a comparison finds it.
std::string corrupted(std::string text)
{
    if (!text.empty())
        text.back() = text.back() == '0' ? '1' : '0';
    return text;
}

} // namespace

Sim::Sim(const Options &options, Clock::time_point now)
    : m_opt(options),
      m_unit(options.model, now),
      m_wire(options.baud, options.pace),
      m_rng(std::random_device{}())
{
    m_unit.setAnswers(options.answersVer, options.answersVar);
    m_wire.setDelay(std::chrono::milliseconds(options.delayMs));
    if (m_opt.noise)
        scheduleNoise(now);
}

bool Sim::start(std::string *error)
{
    if (!m_wire.open(error))
        return false;
    emitLine(m_wire.devicePath());
    return true;
}

void Sim::onWireReadable(Clock::time_point now)
{
    for (const Wire::Line &line : m_wire.receive(now)) {
        onLine(line, now);
        if (!m_wire.isOpen())
            break;
    }
    m_wire.pump(now);
}

void Sim::onLine(const Wire::Line &line, Clock::time_point now)
{
    if (!line.text.empty() && line.text[0] == '~') {
        // A test's marker, not the unit's business: it only shows in the log
        // where the lines written before it end, at whatever speed it came.
        emitLine("MARK " + escaped(line.text.substr(1)));
        return;
    }
    if (!line.understood) {
        // At another speed the unit only sees framing errors: it neither
        // understands nor answers.
        emitLine("GARBLED " + escaped(line.text));
        return;
    }
    emitLine("RX " + escaped(line.text));
    ++m_lines;
    if (m_opt.hangupAfter >= 0 && m_lines > m_opt.hangupAfter) {
        m_wire.hangUp();
        emitLine("HANGUP");
        return;
    }
    const std::vector<Reply> replies = m_unit.handle(line.text, now);
    const bool silent = m_silent || (m_opt.silentAfter >= 0 && m_lines > m_opt.silentAfter);
    if (silent || replies.empty()) {
        // Said at once, so that a test learns that nothing will come without
        // waiting for a time to pass.
        emitLine("NOREPLY " + escaped(line.text));
    } else {
        for (const Reply &r : replies) {
            std::string text = r.text;
            if (r.writeEcho && (m_opt.corruptEcho || m_corruptNext)) {
                text = corrupted(text);
                m_corruptNext = false;
            }
            // Not before the whole command is in.
            m_wire.send(text + "\r", "TX " + escaped(text), std::max(now, line.arrived), true);
        }
    }
    if (const int baud = m_unit.takeSpeedChange()) {
        m_wire.pump(now);   // the echo still goes out at the old speed
        m_wire.setBaud(baud);
        emitLine("BAUD " + std::to_string(baud));
    }
}

void Sim::tick(Clock::time_point now)
{
    m_unit.advance(now);
    if (m_opt.noise && m_wire.isOpen() && now >= m_nextNoise) {
        sendNoise(randomNoise(), now);
        scheduleNoise(now);
    }
    m_wire.pump(now);
}

std::optional<Clock::time_point> Sim::nextDue() const
{
    std::optional<Clock::time_point> due = m_unit.nextDue();
    auto consider = [&](std::optional<Clock::time_point> t) {
        if (t && (!due || *t < *due))
            due = t;
    };
    consider(m_wire.nextDue());
    if (m_opt.noise && m_wire.isOpen())
        consider(m_nextNoise);
    return due;
}

void Sim::sendNoise(const std::string &bytes, Clock::time_point now)
{
    std::string shown;
    for (const char c : bytes)
        shown += hex(uint8_t(c), 2);
    m_wire.send(bytes, "NOISE " + shown, now, false);
}

// A burst of 1 to 12 random bytes closed by a CR, so that it never glues
// itself to the front of the next reply.
std::string Sim::randomNoise()
{
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string out;
    for (int n = length(m_rng); n > 0; --n) {
        char c;
        do {
            c = char(byte(m_rng));
        } while (c == '\r' || c == '\n');
        out += c;
    }
    return out + "\r";
}

void Sim::scheduleNoise(Clock::time_point now)
{
    std::uniform_int_distribution<int> gap(200, 1000);
    m_nextNoise = now + std::chrono::milliseconds(gap(m_rng));
}

int Sim::axisArg(const std::string &token) const
{
    return token.size() == 1 ? m_unit.axisIndex(token[0]) : -1;
}

void Sim::onControlLine(const std::string &command, Clock::time_point now)
{
    std::string line = command;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (trimmed(line).empty())
        return;
    m_unit.advance(now);
    if (!control(line, now))
        emitLine("ERR " + line);
    m_wire.pump(now);
}

// The control commands; main.cpp lists them. False for a command that is
// not understood or names something the unit does not have.
bool Sim::control(const std::string &line, Clock::time_point now)
{
    const std::vector<std::string> t = tokens(line);
    const std::string &cmd = t[0];
    const size_t n = t.size();

    if (cmd == "send" && line.size() > 5) {
        const std::string text = line.substr(5);
        if (m_wire.isOpen())
            m_wire.send(text + "\r", "TX " + escaped(text), now, false);
        return true;
    }
    if (cmd == "sync" && n == 1) {
        // What was written to the line before the command may not have woken
        // us yet: it is handled first, so that the answer comes after it.
        onWireReadable(now);
        emitLine("SYNC");
        return true;
    }
    if (cmd == "quit" && n == 1) {
        m_quit = true;
        return true;
    }
    if (cmd == "silent" && n == 2 && (t[1] == "on" || t[1] == "off")) {
        m_silent = t[1] == "on";
        return true;
    }
    if (cmd == "corrupt" && n == 1) {
        m_corruptNext = true;
        return true;
    }
    if (cmd == "hangup" && n == 1) {
        if (m_wire.isOpen()) {
            m_wire.hangUp();
            emitLine("HANGUP");
        }
        return true;
    }
    if (cmd == "noise" && n <= 2) {
        std::string bytes;
        if (n == 1) {
            bytes = randomNoise();
        } else {
            if (t[1].size() % 2 != 0)
                return false;
            for (size_t i = 0; i < t[1].size(); i += 2) {
                const auto v = parseHex(t[1].substr(i, 2), 2);
                if (!v)
                    return false;
                bytes += char(*v);
            }
        }
        if (m_wire.isOpen())
            sendNoise(bytes, now);
        return true;
    }
    if (cmd == "delay" && n == 2) {
        const auto ms = parseDecimal(t[1]);
        if (!ms || *ms < 0)
            return false;
        m_wire.setDelay(std::chrono::milliseconds(*ms));
        return true;
    }
    if (cmd == "port" && n == 2) {
        const auto v = parseHex(t[1]);
        if (!v)
            return false;
        m_unit.setPort(*v);
        return true;
    }
    if (cmd == "inputs" && n == 2) {
        const auto v = parseHex(t[1], 4);
        if (!v)
            return false;
        m_unit.setInputs(uint16_t(*v));
        return true;
    }

    // Commands on one axis.
    if (n < 2)
        return false;
    const int axis = axisArg(t[1]);
    if (axis < 0)
        return false;
    if (cmd == "status" && n == 3) {
        const auto v = parseHex(t[2], 2);
        if (!v)
            return false;
        m_unit.setStatus(axis, uint8_t(*v));
        return true;
    }
    if (cmd == "pos" && n == 2) {
        emitLine("POS " + t[1] + " " + std::to_string(m_unit.position(axis)));
        return true;
    }
    if (cmd == "pos" && n == 3) {
        const auto v = parseDecimal(t[2]);
        if (!v || *v < INT32_MIN || *v > INT32_MAX)
            return false;
        m_unit.setPosition(axis, int32_t(*v));
        return true;
    }
    if (cmd == "run" && n <= 3) {
        const auto reg = n == 3 ? parseDecimal(t[2]) : std::optional<int64_t>(0);
        if (!reg || *reg < 0 || *reg >= m_unit.registerCount())
            return false;
        m_unit.holdProgramRunning(axis, int(*reg));
        return true;
    }
    if (cmd == "stop" && n == 2) {
        m_unit.endProgram(axis);
        return true;
    }
    if (cmd == "reg" && (n == 3 || n == 4)) {
        const auto reg = parseDecimal(t[2]);
        if (!reg || *reg < 0 || *reg >= m_unit.registerCount())
            return false;
        if (n == 4) {
            const auto word = parseHex(t[3]);
            return word && m_unit.setRegister(axis, int(*reg), *word);
        }
        emitLine("REG " + t[1] + " " + std::to_string(*reg) + " " + hex(*m_unit.registerWord(axis, int(*reg)), 8));
        return true;
    }
    if (cmd == "par" && (n == 3 || n == 4)) {
        const int param = Unit::parameterIndex(t[2]);
        if (param < 0)
            return false;
        if (n == 4) {
            const auto value = parseHex(t[3]);
            if (!value)
                return false;
            m_unit.setParameter(axis, param, *value);
            return true;
        }
        emitLine("PAR " + t[1] + " " + t[2] + " " + hex(m_unit.parameter(axis, param), 8));
        return true;
    }
    return false;
}
