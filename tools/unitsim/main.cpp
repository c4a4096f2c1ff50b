// unitsim: a simulated ZT260A (2-axis) or ZT460A (4-axis) motion control
// unit on a pseudo-terminal, for tests, benchmarks and the demo.
//
// It prints the device path of the pseudo-terminal as the first line of
// stdout, then answers on it as the unit. Open that device (ZT_COM<n>) at the
// unit's speed, 8 data bits, no parity, 1 stop bit. Lines are ASCII ended by
// CR; LF is ignored; a line longer than 1024 characters is thrown away. A
// line that begins with "~" is a test's marker: at any speed it is only
// logged ("MARK"), neither answered nor counted by --silent-after or
// --hangup-after.
//
// Options
//   --model 2|4               unit model (default 4)
//   --answers VER|VAR|both|none
//                             version queries it answers (default: "VER" on
//                             the 4-axis unit, "VAR" on the 2-axis unit)
//   --baud 9600|19200|38400   the unit's own line speed (default 9600). A line
//                             that arrives while the program's port is set to
//                             another speed is not understood and not answered.
//   --delay MS                every reply waits MS milliseconds (noise and
//                             "send" lines do not)
//   --pace                    the line speed holds both ways (10 bits a
//                             character): a command takes its time to come
//                             in, a reply starts only after it and goes out
//                             no faster, in groups of 8 characters (a
//                             receive FIFO), each once its last one is in
//   --silent-after N          answers the first N lines, then no more
//   --corrupt-echo            every register or parameter write echo comes
//                             back with its last character changed
//   --noise                   every 0.2 to 1 s a burst of 1-12 random bytes
//                             (never CR or LF) closed by a CR, between replies
//   --hangup-after N          answers the first N lines; line N+1 closes the
//                             line instead of being answered
//
// Log on stdout, one line each, after the device path
//   RX <text>          a line received, without CR (bytes outside printable
//                      ASCII, and the backslash, as \xHH)
//   NOREPLY <text>     logged right after "RX <text>" when the unit will not
//                      answer that line (no reply for it, or silent)
//   TX <text>          a line sent, once all of it is on the wire
//   MARK <text>        a marker line "~<text>" received: every line written
//                      before it is logged above it
//   GARBLED <text>     a line received while the program's port was set to
//                      another speed than the unit's (not understood, not
//                      answered, not counted by --silent-after/--hangup-after)
//   NOISE <hex>        noise bytes sent
//   BAUD <n>           the unit switched its speed ("SCI")
//   HANGUP             the line was closed
//   ERR <command>      a control command that was not understood
//
// Control commands on stdin, one a line (A is an axis letter of the model,
// numbers decimal unless hex):
//   status A HH        status byte of A: 01 limit +, 02 limit -, 80 alarm, ...
//                      (the 4-axis unit adds 20 while A's program drive runs)
//   port HHHHHHHH      port field: bits 0-15 inputs, 16-23 ACK, X-RUN .. U-RUN,
//                      ERR0-2 (the RUN bits of running drives are added)
//   inputs HHHH        the 16 general inputs (a clear bit is an active input)
//   pos A N            set A's position in pulses
//   pos A              answers "POS A N"
//   run A [N]          A's program drive runs at register N, standing there
//                      until "stop A" or a drive command moves it
//   stop A             A's program drive has ended
//   reg A N HHHHHHHH   preset program register N of A
//   reg A N            answers "REG A N HHHHHHHH"
//   par A NAME HHHH    preset parameter NAME (MO1, MO2, HOS, RAT, ACS, DRS,
//                      DR1-DR4, TM1-TM3, OG1, OG2, OFS) of A
//   par A NAME         answers "PAR A NAME HHHHHHHH"
//   send TEXT          sends TEXT and CR now
//   silent on|off      stops or resumes answering
//   corrupt            corrupts the next register or parameter write echo
//   noise [HH..]       sends these bytes now (a random burst without them)
//   hangup             closes the line
//   delay MS           reply delay from now on
//   sync               answers "SYNC" once everything written to the line
//                      before the command is handled and the replies due so
//                      far are written
//   quit               ends the program
// A closed stdin ends the program when stdin is a pipe (the test that started
// it is gone); otherwise (for example /dev/null) it is ignored.
//
// Replies (columns count from 1; every reply is followed by CR)
//   VER / VAR     "VER 01.02.03 ZT460A   4": version in 5-12, second text in
//                 14-21, model digit in 23, CR in 24
//   SPD, POS      "SPD xxxxxxxx  yyyyyyyy  zzzzzzzz  uuuuuuuu": 32-bit hex in
//                 5-12, 15-22, 25-32, 35-42 (Z, U zero on the 2-axis unit),
//                 CR in 43; speeds are signed pulses/s while an axis moves
//   IDC A         "IDC Arrrr": running register, 4 hex digits in 6-9
//   INR XY        "INR xx yy, pppppppp" (2-axis unit)
//   INR XYZU      "INR Xxx Yyy Zzz Uuu, pppppppp gggg" (4-axis unit):
//                 status bytes, port field, general inputs
//   OUT A         "OUT Ass": OUT0 (bit 0) and OUT1 (bit 1) of A;
//                 "OUT A0s" sets them and gets the same answer
//   INP           "INP oooogggg": general outputs, general inputs (4-axis)
//   PRA n,w / PRA n   (4-axis) program register write, echoed as sent; read,
//                 answered "PRA n,wwwwwwww"
//   IXS An,w / IXR An (2-axis) register write, echoed with a blank after the
//                 comma; read, answered "IXR An, " and the value. Registers
//                 0-53 are the program (8 digits), 56-71 the parameters
//                 (4 digits, 68 OFS 8 digits)
//   MO1 Aw / MO1 A    (4-axis, and every other parameter mnemonic) write,
//                 echoed as sent; read, answered "MO1 Awwww" (OFS 8 digits)
//   SCI n         echoed; the unit then works at n bit/s
// Taken without a reply: "SPD " with speeds by position (X, then after each
// comma Y, Z, U), "PIC " with signed pulse counts by position, "JOG +A",
// "JOG -A", "JOG A" (plus), "STO A", "CLR A", "CLL A" (position 0),
// "HOM " and "OGE " with axis letters, "OTP hhhh", "POT  n", "SET A", and the
// drive commands "PRG An", "PSP A", "PST A", "PRS A", "EDP A", "IDX An",
// "IST A", "IRS A", "EDI A". Anything else, or an axis the model lacks, gets
// no reply.
//
// Motion: a jog runs at the axis's speed (1000 pulses/s until "SPD " sets
// another) until "STO"; "PIC" moves by its count; a home search runs to
// position 0. A program drive ("PRG") runs one register every 250 ms: the
// empty instruction (C0000000) and END end it, JMP jumps, INC and ABS move
// the axis at once, anything else passes. "PST" pauses it, "PRS" resumes,
// "PSP" pauses a running drive or runs one register of a paused one (before
// the start it makes "PRG" start paused), "EDP" ends it. While it runs the
// port field carries the axis's RUN bit (both models) and the 4-axis status
// byte bit 20. An index drive ("IDX") runs one register and ends by itself;
// it sets no status bit.

#include "Sim.h"
#include "Text.h"

#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

namespace {

bool parseOptions(int argc, char **argv, Options *opt, std::string *error)
{
    bool answersGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        auto count = [&](long *out) {
            const auto v = parseDecimal(value());
            if (!v || *v < 0)
                return false;
            *out = long(*v);
            return true;
        };
        if (name == "--model") {
            const std::string v = value();
            if (v != "2" && v != "4") { *error = "--model takes 2 or 4"; return false; }
            opt->model = v[0] - '0';
        } else if (name == "--answers") {
            const std::string v = value();
            if (v != "VER" && v != "VAR" && v != "both" && v != "none") {
                *error = "--answers takes VER, VAR, both or none";
                return false;
            }
            opt->answersVer = v == "VER" || v == "both";
            opt->answersVar = v == "VAR" || v == "both";
            answersGiven = true;
        } else if (name == "--baud") {
            const std::string v = value();
            if (v != "9600" && v != "19200" && v != "38400") {
                *error = "--baud takes 9600, 19200 or 38400";
                return false;
            }
            opt->baud = std::stoi(v);
        } else if (name == "--delay") {
            long ms;
            if (!count(&ms)) { *error = "--delay takes milliseconds"; return false; }
            opt->delayMs = int(ms);
        } else if (name == "--pace") {
            opt->pace = true;
        } else if (name == "--silent-after") {
            if (!count(&opt->silentAfter)) { *error = "--silent-after takes a count"; return false; }
        } else if (name == "--corrupt-echo") {
            opt->corruptEcho = true;
        } else if (name == "--noise") {
            opt->noise = true;
        } else if (name == "--hangup-after") {
            if (!count(&opt->hangupAfter)) { *error = "--hangup-after takes a count"; return false; }
        } else {
            *error = "unknown option " + name;
            return false;
        }
    }
    if (!answersGiven) {
        opt->answersVer = opt->model == 4;
        opt->answersVar = opt->model == 2;
    }
    return true;
}

// How long poll may sleep: nothing to wait for gives no limit. A wake-up
// comes late by the scheduler's latency, which at 38400 bit/s (260 us a
// character) would slow the paced line noticeably: poll sleeps until a
// little before the work is due and then looks without sleeping until it is.
std::optional<timespec> pollTimeout(std::optional<Clock::time_point> due, Clock::time_point now)
{
    constexpr auto kWakeEarly = std::chrono::microseconds(150);
    if (!due)
        return std::nullopt;
    const auto left = *due - now <= kWakeEarly ? std::chrono::nanoseconds(0)
                                               : std::chrono::ceil<std::chrono::nanoseconds>(*due - now - kWakeEarly);
    timespec ts{};
    ts.tv_sec = time_t(left.count() / 1'000'000'000);
    ts.tv_nsec = long(left.count() % 1'000'000'000);
    return ts;
}

} // namespace

int main(int argc, char **argv)
{
    Options opt;
    std::string error;
    if (!parseOptions(argc, argv, &opt, &error)) {
        std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    // Wake-ups may not be put off to gather them with others (see pollTimeout).
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    Sim sim(opt, Clock::now());
    if (!sim.start(&error)) {
        std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        return 1;
    }

    struct stat st{};
    const bool stdinIsPipe = fstat(STDIN_FILENO, &st) == 0 && S_ISFIFO(st.st_mode);
    bool stdinOpen = true;
    std::string control;

    for (;;) {
        sim.tick(Clock::now());
        if (sim.quitRequested())
            break;

        pollfd fds[2];
        nfds_t count = 0;
        int wireSlot = -1;
        int stdinSlot = -1;
        if (sim.wireFd() >= 0) {
            wireSlot = int(count);
            fds[count++] = {sim.wireFd(), short(POLLIN | (sim.wireBlocked() ? POLLOUT : 0)), 0};
        }
        if (stdinOpen) {
            stdinSlot = int(count);
            fds[count++] = {STDIN_FILENO, POLLIN, 0};
        }
        if (count == 0 && !sim.nextDue())
            break;   // nothing can happen any more
        const std::optional<timespec> timeout = pollTimeout(sim.nextDue(), Clock::now());
        if (ppoll(fds, count, timeout ? &*timeout : nullptr, nullptr) < 0 && errno != EINTR)
            break;

        // The line first: a control command that follows a line in the same
        // wake-up then sees that line handled.
        if (wireSlot >= 0 && fds[wireSlot].revents != 0)
            sim.onWireReadable(Clock::now());
        if (stdinSlot >= 0 && fds[stdinSlot].revents != 0) {
            char buf[4096];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                stdinOpen = false;
                if (stdinIsPipe)
                    break;
            } else {
                control.append(buf, size_t(n));
                for (size_t nl; (nl = control.find('\n')) != std::string::npos;) {
                    sim.onControlLine(control.substr(0, nl), Clock::now());
                    control.erase(0, nl + 1);
                    if (sim.quitRequested())
                        return 0;
                }
            }
        }
    }
    return 0;
}
