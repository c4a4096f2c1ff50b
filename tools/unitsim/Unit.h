#pragma once
// The simulated unit's state and its answers: positions and jogs, status and
// I/O, program and index drives, stored program registers and parameters.
// It knows nothing of the line; the caller hands it each received line and
// puts the replies on the wire.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

// One line for the wire, without its CR.
struct Reply {
    std::string text;
    bool writeEcho = false;   // echo of a register or parameter write
};

class Unit
{
public:
    static constexpr int kMaxAxes = 4;
    static constexpr int kParamCount = 16;
    // Time one program step takes.
    static constexpr std::chrono::milliseconds kDriveStep{250};
    static constexpr int32_t kDefaultJogSpeed = 1000;

    Unit(int model, Clock::time_point now);

    int model() const { return m_model; }
    int registerCount() const { return m_model == 4 ? 2000 : 54; }
    void setAnswers(bool ver, bool var) { m_answersVer = ver; m_answersVar = var; }

    // A received line (without CR); the replies the unit gives to it.
    std::vector<Reply> handle(const std::string &line, Clock::time_point now);
    // A line speed change the last handled line asked for (0 for none).
    int takeSpeedChange();

    // Moves jogging axes and steps drives up to now.
    void advance(Clock::time_point now);
    // When advance() next has work to do; none while everything stands still.
    std::optional<Clock::time_point> nextDue() const;

    // Axis index of a letter X, Y, Z, U within this model; -1 otherwise.
    int axisIndex(char letter) const;
    // Parameter index of a mnemonic; -1 when there is none.
    static int parameterIndex(const std::string &name);

    // Control of the state, for tests (every index already checked).
    void setStatus(int axis, uint8_t status) { m_axes[size_t(axis)].status = status; }
    void setPort(uint32_t field);
    void setInputs(uint16_t inputs) { m_genInputs = inputs; }
    void setPosition(int axis, int32_t pos);
    int32_t position(int axis) const { return m_axes[size_t(axis)].pos; }
    void holdProgramRunning(int axis, int reg);
    void endProgram(int axis);
    bool setRegister(int axis, int reg, uint32_t word);
    std::optional<uint32_t> registerWord(int axis, int reg) const;
    void setParameter(int axis, int param, uint32_t value) { m_params[size_t(axis)][size_t(param)] = value; }
    uint32_t parameter(int axis, int param) const { return m_params[size_t(axis)][size_t(param)]; }

private:
    enum class Move { None, Jog, Preset, Home };
    struct Drive {
        bool active = false;
        bool paused = false;
        bool held = false;        // marked running from the control channel: no stepping
        bool stepArmed = false;   // "PSP" before the start: start paused
        Clock::time_point next{};
    };
    struct Axis {
        int32_t pos = 0;
        double fraction = 0;      // part of a pulse travelled
        int32_t jogSpeed = kDefaultJogSpeed;
        Move move = Move::None;
        int dir = 1;
        int64_t remaining = 0;    // pulses left of a preset move
        uint8_t status = 0;
        uint8_t outputs = 0;      // OUT0, OUT1
        int runningReg = 0;
        Drive program;
        Drive index;
    };

    std::vector<Reply> answer(const std::string &line, Clock::time_point now);
    std::string versionReply(const std::string &head) const;
    std::string fourFields(const char *head, bool speeds) const;
    std::string statusReply() const;
    uint8_t reportedStatus(int axis) const;
    uint32_t portField() const;
    int32_t reportedSpeed(int axis) const;

    void forEachAxisField(const std::string &fields, const std::function<void(int, int64_t)> &apply);
    void startMove(int axis, Move move, int dir, int64_t amount);
    bool driveCommand(const std::string &mnemonic, const std::string &args, Clock::time_point now);
    std::optional<Reply> programRegister(const std::string &line);
    std::optional<Reply> twoAxisRegister(const std::string &line);
    std::optional<Reply> parameterCommand(int param, const std::string &line);

    void stepDrive(int axis, Drive &drive, bool isIndex);
    void runRegister(int axis, Drive &drive);

    int m_model;
    bool m_answersVer;
    bool m_answersVar;
    std::array<Axis, kMaxAxes> m_axes{};
    std::array<std::vector<uint32_t>, kMaxAxes> m_registers;
    std::array<std::array<uint32_t, kParamCount>, kMaxAxes> m_params{};
    uint32_t m_portInputs = 0;    // bits 0-15 and 24-31 of the port field
    uint8_t m_portOutputs = 0;    // bits 16-23: ACK, X-RUN .. ERR2
    uint16_t m_genInputs = 0xFFFF;   // a clear bit is an active input
    uint16_t m_genOutputs = 0;
    int m_speedChange = 0;
    Clock::time_point m_lastAdvance;
};
