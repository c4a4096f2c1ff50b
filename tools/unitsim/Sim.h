#pragma once
// The simulated unit as a whole: the unit's state on its line, the faults
// asked for, and the control channel.

#include "Unit.h"
#include "Wire.h"

#include <random>
#include <string>

struct Options {
    int model = 4;
    bool answersVer = true;
    bool answersVar = false;
    int baud = 9600;
    int delayMs = 0;
    bool pace = false;
    long silentAfter = -1;    // -1: never
    bool corruptEcho = false;
    bool noise = false;
    long hangupAfter = -1;    // -1: never
};

class Sim
{
public:
    Sim(const Options &options, Clock::time_point now);

    // Opens the line and prints its device path as the first line.
    bool start(std::string *error);

    int wireFd() const { return m_wire.fd(); }
    bool wireBlocked() const { return m_wire.blocked(); }
    bool quitRequested() const { return m_quit; }

    void onWireReadable(Clock::time_point now);
    void onControlLine(const std::string &command, Clock::time_point now);
    // Moves the unit on and writes what is due.
    void tick(Clock::time_point now);
    std::optional<Clock::time_point> nextDue() const;

private:
    void onLine(const Wire::Line &line, Clock::time_point now);
    void sendNoise(const std::string &bytes, Clock::time_point now);
    std::string randomNoise();
    void scheduleNoise(Clock::time_point now);
    bool control(const std::string &command, Clock::time_point now);
    int axisArg(const std::string &token) const;

    Options m_opt;
    Unit m_unit;
    Wire m_wire;
    std::mt19937 m_rng;
    long m_lines = 0;
    bool m_silent = false;
    bool m_corruptNext = false;
    bool m_quit = false;
    Clock::time_point m_nextNoise{};
};
