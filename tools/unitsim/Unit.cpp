#include "Unit.h"

#include "Text.h"

#include <algorithm>
#include <cmath>

namespace {

const char kAxisLetters[] = "XYZU";

struct ParamInfo {
    const char *name;
    int twoAxisRegister;   // its number on the 2-axis unit
    uint32_t start;        // value of a fresh unit
};

// OFS, the last one, is the only 32-bit parameter; the others travel as 16 bits.
constexpr int kWideParam = 15;
const ParamInfo kParams[Unit::kParamCount] = {
    {"MO1", 58, 0},      {"MO2", 59, 0},      {"HOS", 67, 0x1004},
    {"RAT", 60, 100},    {"ACS", 61, 100},    {"DRS", 62, 100},
    {"DR1", 63, 1000},   {"DR2", 64, 2000},   {"DR3", 65, 4000},   {"DR4", 66, 8000},
    {"TM1", 69, 100},    {"TM2", 70, 100},    {"TM3", 71, 100},
    {"OG1", 56, 500},    {"OG2", 57, 100},    {"OFS", 68, 0},
};

constexpr uint32_t kEmptyWord = 0xC0000000u;
constexpr uint32_t kOpEnd = 0xFF;
constexpr uint32_t kOpJump = 0xC1;

std::vector<std::string> splitFields(const std::string &s)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t comma = s.find(',', start);
        out.push_back(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return out;
        start = comma + 1;
    }
}

bool allDigits(const std::string &s)
{
    return !s.empty() && s.size() <= 6
           && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int32_t wrapAdd(int32_t pos, int64_t delta)
{
    return int32_t(uint32_t(pos) + uint32_t(uint64_t(delta)));
}

int32_t clampToInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

Unit::Unit(int model, Clock::time_point now)
    : m_model(model == 2 ? 2 : 4),
      m_answersVer(m_model == 4),
      m_answersVar(m_model == 2),
      m_lastAdvance(now)
{
    for (int a = 0; a < kMaxAxes; ++a) {
        m_registers[size_t(a)].assign(size_t(registerCount()), kEmptyWord);
        for (int p = 0; p < kParamCount; ++p)
            m_params[size_t(a)][size_t(p)] = kParams[p].start;
    }
}

int Unit::axisIndex(char letter) const
{
    for (int a = 0; a < m_model; ++a)
        if (kAxisLetters[a] == letter)
            return a;
    return -1;
}

int Unit::parameterIndex(const std::string &name)
{
    for (int p = 0; p < kParamCount; ++p)
        if (name == kParams[p].name)
            return p;
    return -1;
}

int Unit::takeSpeedChange()
{
    const int s = m_speedChange;
    m_speedChange = 0;
    return s;
}

std::vector<Reply> Unit::handle(const std::string &line, Clock::time_point now)
{
    advance(now);
    return answer(line, now);
}

// Dispatch on the three-letter mnemonic. Anything the unit does not know, or
// names an axis it lacks, gets no reply and changes nothing.
std::vector<Reply> Unit::answer(const std::string &line, Clock::time_point now)
{
    if (line.size() < 3)
        return {};
    const std::string head = line.substr(0, 3);
    const std::string rest = line.substr(3);
    const std::string arg = trimmed(rest);
    const bool blankAfterHead = !rest.empty() && rest[0] == ' ';
    const int argAxis = arg.size() == 1 ? axisIndex(arg[0]) : -1;

    if (head == "VER" || head == "VAR") {
        const bool answers = head == "VER" ? m_answersVer : m_answersVar;
        if (rest.empty() && answers)
            return {{versionReply(head)}};
        return {};
    }
    if (head == "SPD") {
        if (rest.empty())
            return {{fourFields("SPD", true)}};
        if (blankAfterHead)
            forEachAxisField(rest.substr(1), [this](int axis, int64_t speed) {
                m_axes[size_t(axis)].jogSpeed = clampToInt32(speed);
            });
        return {};
    }
    if (head == "POS")
        return rest.empty() ? std::vector<Reply>{{fourFields("POS", false)}} : std::vector<Reply>{};
    if (head == "IDC") {
        if (argAxis < 0)
            return {};
        return {{"IDC " + std::string(1, arg[0]) + hex(uint32_t(m_axes[size_t(argAxis)].runningReg), 4)}};
    }
    if (head == "INR") {
        if ((m_model == 4 && arg == "XYZU") || (m_model == 2 && arg == "XY"))
            return {{statusReply()}};
        return {};
    }
    if (head == "OUT") {
        // "OUT X" asks; "OUT X0" with a digit sets both outputs. Both answer
        // with the outputs now in force.
        const int axis = arg.empty() ? -1 : axisIndex(arg[0]);
        if (axis < 0)
            return {};
        if (arg.size() > 1) {
            const auto v = parseHex(arg.substr(1), 2);
            if (!v || *v > 3)
                return {};
            m_axes[size_t(axis)].outputs = uint8_t(*v);
        }
        return {{"OUT " + std::string(1, arg[0]) + hex(m_axes[size_t(axis)].outputs, 2)}};
    }
    if (head == "INP") {
        if (m_model == 4 && rest.empty())
            return {{"INP " + hex(m_genOutputs, 4) + hex(m_genInputs, 4)}};
        return {};
    }
    if (head == "OTP") {
        if (const auto v = parseHex(arg, 4); m_model == 4 && blankAfterHead && v)
            m_genOutputs = uint16_t(*v);
        return {};
    }
    if (head == "POT") {
        if (const auto v = parseDecimal(arg); blankAfterHead && v)
            m_portOutputs = uint8_t(uint64_t(*v) & 0xFF);
        return {};
    }
    if (head == "JOG") {
        // "JOG +X", "JOG -X"; a plain letter ("JOG U") is the plus direction.
        int dir = 1;
        std::string letter = arg;
        if (arg.size() == 2 && (arg[0] == '+' || arg[0] == '-')) {
            dir = arg[0] == '-' ? -1 : 1;
            letter = arg.substr(1);
        }
        const int axis = letter.size() == 1 ? axisIndex(letter[0]) : -1;
        if (blankAfterHead && axis >= 0)
            startMove(axis, Move::Jog, dir, 0);
        return {};
    }
    if (head == "PIC") {
        if (blankAfterHead)
            forEachAxisField(rest.substr(1), [this](int axis, int64_t count) {
                startMove(axis, Move::Preset, count < 0 ? -1 : 1, count < 0 ? -count : count);
            });
        return {};
    }
    if (head == "STO") {
        if (argAxis >= 0)
            m_axes[size_t(argAxis)].move = Move::None;
        return {};
    }
    if (head == "CLR" || head == "CLL") {
        if (argAxis >= 0)
            setPosition(argAxis, 0);
        return {};
    }
    if (head == "HOM" || head == "OGE") {
        if (!blankAfterHead)
            return {};
        for (const char c : arg) {
            const int axis = axisIndex(c);
            if (axis < 0)
                continue;
            Axis &ax = m_axes[size_t(axis)];
            if (head == "HOM")
                startMove(axis, Move::Home, ax.pos > 0 ? -1 : 1, 0);
            else if (ax.move == Move::Home)
                ax.move = Move::None;
        }
        return {};
    }
    if (head == "PRG" || head == "PRS" || head == "PSP" || head == "PST" || head == "EDP"
        || head == "IDX" || head == "IRS" || head == "IST" || head == "EDI") {
        if (blankAfterHead)
            driveCommand(head, arg, now);
        return {};
    }
    if (head == "SCI") {
        // Echoed at the old speed; the unit then listens at the new one.
        if (blankAfterHead && (arg == "9600" || arg == "19200" || arg == "38400")) {
            m_speedChange = std::stoi(arg);
            return {{line}};
        }
        return {};
    }
    if (head == "SET")
        return {};   // takes the downloaded parameters into use: nothing to simulate
    if (head == "PRX" || head == "PRY" || head == "PRZ" || head == "PRU") {
        if (auto r = programRegister(line))
            return {*r};
        return {};
    }
    if (head == "IXS" || head == "IXR") {
        if (auto r = twoAxisRegister(line))
            return {*r};
        return {};
    }
    if (const int param = parameterIndex(head); param >= 0 && m_model == 4) {
        if (auto r = parameterCommand(param, line))
            return {*r};
        return {};
    }
    return {};
}

std::string Unit::versionReply(const std::string &head) const
{
    // Version in columns 5-12, second text in 14-21, model digit in 23.
    const std::string second = m_model == 4 ? "ZT460A  " : "ZT260A  ";
    return head + " 01.02.03 " + second + " " + std::string(1, char('0' + m_model));
}

std::string Unit::fourFields(const char *head, bool speeds) const
{
    // Fields in columns 5-12, 15-22, 25-32, 35-42; a 2-axis unit reports 0
    // for Z and U.
    std::string out = head;
    for (int a = 0; a < kMaxAxes; ++a) {
        const int32_t v = a >= m_model ? 0 : speeds ? reportedSpeed(a) : m_axes[size_t(a)].pos;
        out += a == 0 ? " " : "  ";
        out += hex(uint32_t(v), 8);
    }
    return out;
}

uint8_t Unit::reportedStatus(int axis) const
{
    const Axis &ax = m_axes[size_t(axis)];
    // Only the 4-axis unit reports its program drive in the status byte.
    return uint8_t(ax.status | (m_model == 4 && ax.program.active ? 0x20 : 0));
}

uint32_t Unit::portField() const
{
    uint32_t field = (m_portInputs & 0xFF00FFFFu) | (uint32_t(m_portOutputs) << 16);
    for (int a = 0; a < m_model; ++a)
        if (m_axes[size_t(a)].program.active)
            field |= 1u << (17 + a);   // X-RUN .. U-RUN
    return field;
}

std::string Unit::statusReply() const
{
    if (m_model == 2)
        return "INR " + hex(reportedStatus(0), 2) + " " + hex(reportedStatus(1), 2) + ", " + hex(portField(), 8);
    std::string out = "INR";
    for (int a = 0; a < 4; ++a)
        out += std::string(" ") + kAxisLetters[a] + hex(reportedStatus(a), 2);
    return out + ", " + hex(portField(), 8) + " " + hex(m_genInputs, 4);
}

int32_t Unit::reportedSpeed(int axis) const
{
    const Axis &ax = m_axes[size_t(axis)];
    if (ax.move == Move::None)
        return 0;
    return clampToInt32(int64_t(ax.dir) * std::abs(int64_t(ax.jogSpeed)));
}

void Unit::setPort(uint32_t field)
{
    m_portInputs = field & 0xFF00FFFFu;
    m_portOutputs = uint8_t(field >> 16);
}

void Unit::setPosition(int axis, int32_t pos)
{
    Axis &ax = m_axes[size_t(axis)];
    ax.pos = pos;
    ax.fraction = 0;
}

void Unit::holdProgramRunning(int axis, int reg)
{
    Axis &ax = m_axes[size_t(axis)];
    ax.program = Drive{};
    ax.program.active = true;
    ax.program.held = true;
    ax.runningReg = reg;
}

void Unit::endProgram(int axis)
{
    m_axes[size_t(axis)].program = Drive{};
}

bool Unit::setRegister(int axis, int reg, uint32_t word)
{
    if (reg < 0 || reg >= registerCount())
        return false;
    m_registers[size_t(axis)][size_t(reg)] = word;
    return true;
}

std::optional<uint32_t> Unit::registerWord(int axis, int reg) const
{
    if (reg < 0 || reg >= registerCount())
        return std::nullopt;
    return m_registers[size_t(axis)][size_t(reg)];
}

// "SPD " and "PIC " name the axis by position: the number for X, then after
// one comma Y, and so on. An empty or unreadable field leaves its axis alone.
void Unit::forEachAxisField(const std::string &fields, const std::function<void(int, int64_t)> &apply)
{
    const auto parts = splitFields(fields);
    for (size_t i = 0; i < parts.size() && int(i) < m_model; ++i)
        if (const auto v = parseDecimal(parts[i]))
            apply(int(i), *v);
}

void Unit::startMove(int axis, Move move, int dir, int64_t amount)
{
    Axis &ax = m_axes[size_t(axis)];
    ax.move = move;
    ax.dir = dir;
    ax.remaining = amount;
    ax.fraction = 0;
    if ((move == Move::Preset && amount == 0) || (move == Move::Home && ax.pos == 0))
        ax.move = Move::None;
}

bool Unit::driveCommand(const std::string &mnemonic, const std::string &args, Clock::time_point now)
{
    const int axis = args.empty() ? -1 : axisIndex(args[0]);
    if (axis < 0)
        return false;
    const std::string number = args.substr(1);
    const bool isStart = mnemonic == "PRG" || mnemonic == "IDX";
    if (!isStart && !number.empty())
        return false;
    int reg = 0;
    if (isStart && !number.empty()) {
        if (!allDigits(number))
            return false;
        reg = std::stoi(number);
        if (reg >= registerCount())
            return false;
    }

    // The program drive ("PRG", "PST", "PRS", "EDP") and the index drive
    // ("IDX", "IST", "IRS", "EDI") start, pause, resume and end alike; only
    // the program drive has the step "PSP".
    Axis &ax = m_axes[size_t(axis)];
    const bool isIndex = mnemonic[0] == 'I' || mnemonic == "EDI";
    Drive &drive = isIndex ? ax.index : ax.program;
    if (mnemonic == "PSP") {
        // A running drive pauses; a paused one runs one register; before the
        // start it makes the next "PRG" start paused.
        if (!drive.active)
            drive.stepArmed = true;
        else if (drive.paused)
            runRegister(axis, drive);
        else
            drive.paused = true;
    } else if (mnemonic == "PRG" || mnemonic == "IDX") {
        const bool startPaused = drive.stepArmed;
        drive = Drive{};
        drive.active = true;
        drive.paused = startPaused;
        drive.next = now + kDriveStep;
        ax.runningReg = reg;
    } else if (mnemonic == "PST" || mnemonic == "IST") {
        if (drive.active)
            drive.paused = true;
    } else if (mnemonic == "PRS" || mnemonic == "IRS") {
        if (drive.active && drive.paused) {
            drive.paused = false;
            drive.next = now + kDriveStep;
        }
    } else {
        drive = Drive{};   // "EDP", "EDI"
    }
    return true;
}

// 4-axis program register: "PRX 12,C1000005" writes and is echoed as sent;
// "PRX 12" reads and is answered with the request, "," and the word.
std::optional<Reply> Unit::programRegister(const std::string &line)
{
    if (m_model != 4 || line.size() < 5 || line[3] != ' ')
        return std::nullopt;
    const int axis = axisIndex(line[2]);
    const std::string body = line.substr(4);
    const size_t comma = body.find(',');
    const std::string regText = body.substr(0, comma);
    if (axis < 0 || !allDigits(regText))
        return std::nullopt;
    const int reg = std::stoi(regText);
    if (reg >= registerCount())
        return std::nullopt;
    if (comma == std::string::npos)
        return Reply{line + "," + hex(m_registers[size_t(axis)][size_t(reg)], 8)};
    const auto word = parseHex(body.substr(comma + 1), 8);
    if (!word)
        return std::nullopt;
    m_registers[size_t(axis)][size_t(reg)] = *word;
    return Reply{line, true};
}

// 2-axis numbered registers: 0-53 the program, 56-71 the parameters.
// "IXS X12,C1000005" is echoed with a blank after the comma; "IXR X12" is
// answered "IXR X12, " and the value (8 digits, 4 for a 16-bit parameter).
std::optional<Reply> Unit::twoAxisRegister(const std::string &line)
{
    if (m_model != 2 || line.size() < 6 || line[3] != ' ')
        return std::nullopt;
    const bool write = line[2] == 'S';
    const int axis = axisIndex(line[4]);
    const std::string body = line.substr(5);
    const size_t comma = body.find(',');
    const std::string regText = body.substr(0, comma);
    if (axis < 0 || !allDigits(regText) || write != (comma != std::string::npos))
        return std::nullopt;
    const int reg = std::stoi(regText);

    uint32_t *slot = nullptr;
    int digits = 8;
    if (reg < registerCount()) {
        slot = &m_registers[size_t(axis)][size_t(reg)];
    } else {
        for (int p = 0; p < kParamCount; ++p) {
            if (kParams[p].twoAxisRegister == reg) {
                slot = &m_params[size_t(axis)][size_t(p)];
                digits = p == kWideParam ? 8 : 4;
            }
        }
    }
    if (!slot)
        return std::nullopt;
    if (!write)
        return Reply{line + ", " + hex(*slot, digits)};
    const auto value = parseHex(body.substr(comma + 1), 8);
    if (!value)
        return std::nullopt;
    *slot = *value;
    const size_t lineComma = 5 + comma;
    return Reply{line.substr(0, lineComma + 1) + " " + line.substr(lineComma + 1), true};
}

// 4-axis parameter: "RAT X01F4" writes and is echoed as sent; "RAT X" reads
// and is answered "RAT X01F4" (8 digits for OFS).
std::optional<Reply> Unit::parameterCommand(int param, const std::string &line)
{
    if (line.size() < 5 || line[3] != ' ')
        return std::nullopt;
    const int axis = axisIndex(line[4]);
    if (axis < 0)
        return std::nullopt;
    const int digits = param == kWideParam ? 8 : 4;
    const std::string valueText = trimmed(line.substr(5));
    uint32_t &slot = m_params[size_t(axis)][size_t(param)];
    if (valueText.empty())
        return Reply{line.substr(0, 5) + hex(slot, digits)};
    const auto value = parseHex(valueText, digits);
    if (!value)
        return std::nullopt;
    slot = *value;
    return Reply{line, true};
}

void Unit::advance(Clock::time_point now)
{
    const double dt = std::chrono::duration<double>(now - m_lastAdvance).count();
    m_lastAdvance = now;
    for (int a = 0; a < m_model; ++a) {
        Axis &ax = m_axes[size_t(a)];
        if (ax.move != Move::None && dt > 0) {
            const double travel = std::abs(double(ax.jogSpeed)) * dt + ax.fraction;
            const int64_t whole = int64_t(std::min(std::floor(travel), 4.0e9));
            ax.fraction = travel - double(whole);
            int64_t step = whole;
            if (ax.move == Move::Preset)
                step = std::min(step, ax.remaining);
            else if (ax.move == Move::Home)
                step = std::min(step, std::abs(int64_t(ax.pos)));
            ax.pos = wrapAdd(ax.pos, ax.dir * step);
            ax.remaining -= step;
            if ((ax.move == Move::Preset && ax.remaining <= 0) || (ax.move == Move::Home && ax.pos == 0))
                ax.move = Move::None;
        }
        stepDrive(a, ax.program, false);
        stepDrive(a, ax.index, true);
    }
}

void Unit::stepDrive(int axis, Drive &drive, bool isIndex)
{
    while (drive.active && !drive.paused && !drive.held && m_lastAdvance >= drive.next) {
        runRegister(axis, drive);
        drive.next += kDriveStep;
        if (isIndex)
            drive = Drive{};   // an index drive runs one register and ends by itself
    }
}

// One program step: the empty instruction and END end the drive, JMP jumps,
// a linear move (INC, ABS) moves the axis at once, anything else just passes.
void Unit::runRegister(int axis, Drive &drive)
{
    Axis &ax = m_axes[size_t(axis)];
    const int count = registerCount();
    if (ax.runningReg < 0 || ax.runningReg >= count) {
        drive = Drive{};
        return;
    }
    const uint32_t word = m_registers[size_t(axis)][size_t(ax.runningReg)];
    const uint32_t op = word >> 24;
    if (word == kEmptyWord || op == kOpEnd) {
        drive = Drive{};
        return;
    }
    int next = ax.runningReg + 1;
    if (op == kOpJump) {
        next = int(word & 0xFFFFFF);
    } else if ((word >> 30) == 0) {
        const int32_t data = int32_t(word << 8) >> 8;   // 24-bit two's complement
        ax.pos = (word & 0x01000000u) ? data : wrapAdd(ax.pos, data);
    }
    if (next >= count) {
        drive = Drive{};
        return;
    }
    ax.runningReg = next;
}

std::optional<Clock::time_point> Unit::nextDue() const
{
    std::optional<Clock::time_point> due;
    auto consider = [&](Clock::time_point t) {
        if (!due || t < *due)
            due = t;
    };
    for (int a = 0; a < m_model; ++a) {
        const Axis &ax = m_axes[size_t(a)];
        if (ax.move != Move::None)
            consider(m_lastAdvance + std::chrono::milliseconds(10));
        for (const Drive *d : {&ax.program, &ax.index})
            if (d->active && !d->paused && !d->held)
                consider(d->next);
    }
    return due;
}
