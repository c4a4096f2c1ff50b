// A full program download and upload through the transfer loop against the
// simulated unit paced at the line speed (or a serial device): on the 4-axis
// unit 2000 registers x 4 axes in front of the progress dialog, on the
// 2-axis unit (--model 2) 54 registers x 2 axes the way the main window's
// program menus run them (wait window, progress bar, closing message).
// Prints for each transfer the bytes each way, the line floor (bytes x 10 /
// baud), the wall time and their ratio, and the program's CPU time; exits
// non-zero when a register read back differs from what was sent.
//
//   transfer_bench [--model 2|4] [--device PATH] [--baud N] [--registers N] [--unpaced]
//
// --device uses that serial device (a real unit, another simulator) instead
// of starting the simulated unit; --baud sets the line speed (38400);
// --registers shortens the range of the 4-axis unit for a quick look;
// --unpaced starts the simulated unit without pacing and prints the
// program's overhead per register round trip.
//
// Beside each transfer it prints a bare client's figures on the same line:
// the same commands, each sent the moment the answer before it is in, with
// plain poll, read and write and nothing else. That is what the line, the
// pseudo-terminal and the scheduler allow; the program can only come close.

#include "mainwin/frmMain.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"
#include "transfer/ProgramSteps2.h"
#include "transfer/ProgramSteps4.h"
#include "transfer/frmMsgPrgDoUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Any box during the benchmark is a failure: no mismatch, no time-out. Only
// the closing message of a complete 2-axis transfer is expected.
class Answers : public DialogService
{
public:
    MsgResult message(const QString &text, const QString &, MsgButtons buttons, MsgIcon) override
    {
        if (text == u"Download Complete!!" || text == u"Upload Complete!!") {
            completions << text;
            return MsgResult::Ok;
        }
        shown << text;
        return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Cancel;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &d,
                                 const InputCheck &) override
    {
        return d;
    }
    QStringList shown;
    QStringList completions;
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Texts that come back exactly as they went: motion with speed and timer,
// and control instructions in the forms the upload writes.
ClipRow instruction(UnitKind kind, int reg, int axis)
{
    const QString d = QString::number(reg * 37 - 30000 + axis);
    const QString spd = QString::number(1 + reg % 4);
    const QString tim = QString::number((reg / 4) % 4);
    switch ((reg * 7 + axis) % 16) {
    case 0: return {"ABS", d, spd, tim, {}};
    case 1: return {"INC", d, spd, tim, {}};
    case 2: return {"LN2", d, spd, tim, {}};
    case 3: return {kind == UnitKind::FourAxis ? "LN3" : "LN2", d, spd, tim, {}};
    case 4: return {"CW ", d, spd, tim, {}};
    case 5: return {"CCW", d, spd, tim, {}};
    case 6: return {"JMP", QString::number(reg), {}, {}, {}};
    case 7: return {"REP", "3,10", {}, {}, {}};
    case 8: return {"INP", "5,1", {}, {}, {}};
    case 9: return {"IJP", QStringLiteral("5,0,%1").arg(reg), {}, {}, {}};
    case 10: return {"OUT", "7,1", {}, {}, {}};
    case 11: return {"OTP", "1,4660", {}, {}, {}};
    case 12: return {"CNT", d, {}, {}, {}};
    case 13: return {"TIM", QString::number(reg * 11), {}, {}, {}};
    case 14: return {"END", {}, {}, {}, {}};
    default: return ClipRow{};
    }
}

bool fill(ProgramTable &table, UnitKind kind, int registers, bool empty)
{
    return table.InTransaction([&] {
        for (int reg = 0; reg < registers; ++reg)
            for (int axis = 0; axis < AxisCount(kind); ++axis) {
                ClipRow row = empty ? ClipRow{} : instruction(kind, reg, axis);
                row[4] = QStringLiteral("comment %1").arg(reg);
                if (!table.WriteAxis(reg, axis, row))
                    return false;
            }
        return true;
    });
}

struct Figures {
    qint64 sent = 0, received = 0;
    double wall = 0, cpu = 0;
    int registers = 0;
    std::vector<QByteArray> commands;   // what went out, in order
};

// Counts what the loop puts on the line and takes from it.
TransferSteps counted(TransferSteps steps, Figures &f)
{
    auto request = steps.request;
    steps.request = [request, &f](int reg) {
        auto rq = request(reg);
        if (rq) {
            f.sent += rq->command.size();
            f.commands.push_back(rq->command.toLatin1());
        }
        return rq;
    };
    auto matches = steps.matches;
    steps.matches = [matches, &f](const RegisterRequest &rq, const QString &line) {
        f.received += line.size();
        return matches(rq, line);
    };
    return steps;
}

bool run(frmMain &m, ProgramTable &table, bool download, int registers, Figures &f)
{
    frmMsgPrgDoUp *dialog = LoadMsgPrgDoUp(download ? QStringLiteral("ZT260A/ZT460A DownLoad")
                                                    : QStringLiteral("ZT260A/ZT460A UpLoad"));
    dialog->show();
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    for (int axis = 0; axis < kAxes && ok; ++axis) {
        const TransferSteps steps = counted(download ? DownloadSteps4(table, axis) : UploadSteps4(table, axis), f);
        ok = RunRegisterTransfer(*m.Link, dialog, axis, 0, registers - 1, steps, dialog).end == TransferEnd::Done;
    }
    f.wall = double(clock.nsecsElapsed()) / 1e9;
    f.cpu = cpuSeconds() - cpu0;
    f.registers = registers * kAxes;
    UnloadMsgPrgDoUp();
    return ok;
}

// The 2-axis unit's program, X then Y, as File, DownLoad (UpLoad), Program,
// All runs it. What goes out is known beforehand: the same requests the
// steps make; the unit's answers are counted by the bare client, which
// receives the very same.
bool run2(frmMain &m, ProgramTable &table, bool download, Figures &f)
{
    for (int axis = 0; axis < AxisCount(UnitKind::TwoAxis); ++axis) {
        const TransferSteps steps = download ? DownloadSteps2(table, axis) : UploadSteps2(table, axis);
        for (int reg = 0; reg <= LastRegister(UnitKind::TwoAxis); ++reg) {
            const auto rq = steps.request(reg);
            if (!rq)
                return false;
            f.sent += rq->command.size();
            f.commands.push_back(rq->command.toLatin1());
        }
    }
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const std::optional<int> code =
        m.RunProgramTransfer2(download, 0, download ? QStringLiteral("Data download PRGRAM")
                                                    : QStringLiteral("Data upload PROGRAM"));
    f.wall = double(clock.nsecsElapsed()) / 1e9;
    f.cpu = cpuSeconds() - cpu0;
    f.registers = int(f.commands.size());
    return code && (download ? *code == RegisterCount(UnitKind::TwoAxis) : *code == 0);
}

speed_t speedCode(int baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

// The bare client: `commands` in turn, each once the line before it is in,
// whose request part (up to "," or CR) it must repeat. Figures as for the
// program; false when the line fails or an answer does not fit.
bool bareClient(const QString &device, int baud, const std::vector<QByteArray> &commands, Figures &f)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speedCode(baud));
    cfsetospeed(&t, speedCode(baud));
    t.c_cflag |= CLOCAL | CREAD;
    bool ok = tcsetattr(fd, TCSANOW, &t) == 0;
    tcflush(fd, TCIOFLUSH);
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QByteArray line;
    char buf[256];
    for (size_t i = 0; ok && i < commands.size(); ++i) {
        const QByteArray &command = commands[i];
        ok = ::write(fd, command.constData(), size_t(command.size())) == command.size();
        f.sent += command.size();
        line.clear();
        while (ok && !line.contains('\r')) {
            pollfd p{fd, POLLIN, 0};
            ok = ::poll(&p, 1, 3000) == 1 && (p.revents & POLLIN);
            const ssize_t n = ok ? ::read(fd, buf, sizeof buf) : -1;
            ok = n > 0;
            if (ok)
                line.append(buf, n);
        }
        f.received += line.size();
        qsizetype head = command.indexOf(',');
        if (head < 0)
            head = command.size() - 1;
        ok = ok && line.size() > head && line.left(head) == command.left(head);
    }
    f.wall = double(clock.nsecsElapsed()) / 1e9;
    f.cpu = cpuSeconds() - cpu0;
    f.registers = int(commands.size());
    ::close(fd);
    return ok;
}

// The bare client's figures, on a line below the program's.
void reportBare(const Figures &f, const Figures &program, int baud, bool paced)
{
    if (paced) {
        const double floor = double(f.sent + f.received) * 10.0 / baud;
        const double beside = program.wall / f.wall;
        std::printf("         bare client: wall %8.3f s   ratio %6.4f   (the program: %6.4f of the floor, %6.4f x the "
                    "bare client; aim <= 1.05)%s\n",
                    f.wall, f.wall / floor, program.wall / (double(program.sent + program.received) * 10.0 / baud),
                    beside, beside <= 1.05 ? "" : "  ABOVE AIM");
        std::printf("         bare client: CPU  %8.3f s   %5.2f %% of its wall time   (the program: %.2f x its CPU)\n",
                    f.cpu, 100.0 * f.cpu / f.wall, f.cpu > 0 ? program.cpu / f.cpu : 0.0);
    } else {
        const double us = f.wall / f.registers * 1e6;
        std::printf("         bare client: per register round trip %7.1f us, of it its CPU %6.1f us"
                    "   (the program's round trip less it: %6.1f us)\n",
                    us, f.cpu / f.registers * 1e6, program.wall / program.registers * 1e6 - us);
    }
}

void report(const char *what, const Figures &f, int baud, bool paced)
{
    const double floor = double(f.sent + f.received) * 10.0 / baud;
    std::printf("%-8s %5d registers  sent %7lld B  received %7lld B\n", what, f.registers,
                static_cast<long long>(f.sent), static_cast<long long>(f.received));
    if (paced) {
        const double ratio = f.wall / floor;
        std::printf("         wall %8.3f s   line floor %8.3f s   ratio %6.4f  (aim <= 1.02)%s\n", f.wall, floor,
                    ratio, ratio <= 1.02 ? "" : "  ABOVE AIM");
    } else {
        // The round trip includes the simulated unit's own work; the
        // program's share is its CPU time.
        const double us = f.wall / f.registers * 1e6;
        const double cpuUs = f.cpu / f.registers * 1e6;
        std::printf("         wall %8.3f s   per register round trip %7.1f us, of it this program's CPU %6.1f us"
                    "  (aim <= 100 us)%s\n",
                    f.wall, us, cpuUs, cpuUs <= 100 ? "" : "  ABOVE AIM");
    }
    const double share = f.cpu / f.wall * 100;
    std::printf("         CPU  %8.3f s   %5.2f %% of the wall time  (aim <= 2 %%)%s\n", f.cpu, share,
                share <= 2 || !paced ? "" : "  ABOVE AIM");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString device;
    int baud = 38400;
    int registers = RegisterCount(UnitKind::FourAxis);
    bool paced = true;
    UnitKind kind = UnitKind::FourAxis;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const QString v = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == u"--device" && !v.isEmpty()) {
            device = v;
            ++i;
        } else if (a == u"--baud" && v.toInt() > 0) {
            baud = v.toInt();
            ++i;
        } else if (a == u"--registers" && v.toInt() > 0 && v.toInt() <= registers) {
            registers = v.toInt();
            ++i;
        } else if (a == u"--unpaced") {
            paced = false;
        } else if (a == u"--model" && (v == u"2" || v == u"4")) {
            kind = v == u"2" ? UnitKind::TwoAxis : UnitKind::FourAxis;
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: transfer_bench [--model 2|4] [--device PATH] [--baud N] [--registers N] [--unpaced]\n");
            return 2;
        }
    }

    QProcess sim;
    QTemporaryDir simOut;
    if (device.isEmpty()) {
        QStringList options{"--model", ModelText(kind), "--baud", QString::number(baud)};
        if (paced)
            options << "--pace";
        // Only its first line, the device, is kept, in a file: reading its
        // log would count as this program's work, and so would watching its
        // output pipes on every pass of events (the program on its own
        // watches no child). Its input stays a pipe: closing it ends the unit.
        sim.setStandardOutputFile(simOut.filePath(QStringLiteral("device")));
        sim.setStandardErrorFile(QProcess::nullDevice());
        sim.start(QStringLiteral("/bin/sh"),
                  QStringList{"-c", "\"$0\" \"$@\" | (IFS= read -r device; echo \"$device\"; exec cat >/dev/null)",
                              QStringLiteral(UNITSIM_PATH)}
                      + options);
        QFile out(simOut.filePath(QStringLiteral("device")));
        QElapsedTimer started;
        started.start();
        while (sim.state() != QProcess::NotRunning && !started.hasExpired(5000)) {
            if (out.open(QIODevice::ReadOnly)) {
                const QByteArray text = out.readAll();
                out.close();
                if (text.contains('\n')) {
                    device = QString::fromLatin1(text.left(text.indexOf('\n'))).trimmed();
                    break;
                }
            }
            sim.waitForFinished(20);
        }
        if (device.isEmpty()) {
            std::fprintf(stderr, "the simulated unit did not start\n");
            return 1;
        }
    }
    qputenv("ZT_COM1", device.toLocal8Bit());

    QTemporaryDir home;
    SetAppPath(home.path());
    ResetSharedState();
    frmIo::ResetWorkingValues();
    ResetSettingFlags();
    SetStartValues();
    g.UnitModel = ModelText(kind);
    if (kind == UnitKind::TwoAxis)
        registers = RegisterCount(kind);
    Answers answers;
    SetDialogs(&answers);

    int status = 0;
    {
        ProgramTable &table = ProgramTableOf(kind);
        if (const auto refused = table.Open()) {
            std::fprintf(stderr, "%s\n", qPrintable(*refused));
            return 1;
        }
        if (!fill(table, kind, registers, false)) {
            std::fprintf(stderr, "the program could not be written\n");
            return 1;
        }
        const std::vector<QStringList> sentTable = table.ReadAll();

        frmMain m;
        if (m.MSComm1->setCommPort(1) != 0 || m.MSComm1->setSettings(QStringLiteral("%1,N,8,1").arg(baud)) != 0
            || m.MSComm1->setPortOpen(true) != 0) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(device));
            return 1;
        }
        std::printf("%s-axis program transfer on %s at %d bit/s%s\n", qPrintable(ModelText(kind)),
                    qPrintable(device), baud,
                    sim.state() == QProcess::Running ? (paced ? " (simulated unit, paced)" : " (simulated unit, unpaced)")
                                                     : "");
        // The 2-axis transfer draws on the main window (its progress bar) and
        // the wait window in front of it.
        if (kind == UnitKind::TwoAxis)
            m.show();
        Figures down, up;
        auto transfer = [&](bool download, Figures &f) {
            return kind == UnitKind::TwoAxis ? run2(m, table, download, f) : run(m, table, download, registers, f);
        };
        const bool sentAll = transfer(true, down);
        const bool emptied = fill(table, kind, registers, true);
        const bool readAll = emptied && transfer(false, up);
        // The bare client runs once the program let go of the line.
        m.MSComm1->setPortOpen(false);
        Figures bareDown, bareUp;
        const bool bareDone = bareClient(device, baud, down.commands, bareDown)
                              && bareClient(device, baud, up.commands, bareUp);
        // The 2-axis run takes the same answers as the bare client.
        if (kind == UnitKind::TwoAxis && bareDone) {
            down.received = bareDown.received;
            up.received = bareUp.received;
        }
        report("download", down, baud, paced);
        if (bareDone)
            reportBare(bareDown, down, baud, paced);
        report("upload", up, baud, paced);
        if (bareDone)
            reportBare(bareUp, up, baud, paced);
        if (!bareDone)
            std::printf("         (the bare client could not run its commands on %s)\n", qPrintable(device));

        int differing = 0;
        const std::vector<QStringList> readTable = table.ReadAll();
        for (int reg = 0; reg < registers; ++reg)
            if (size_t(reg) >= readTable.size() || readTable[size_t(reg)] != sentTable[size_t(reg)]) {
                if (++differing <= 5 && size_t(reg) < readTable.size())
                    std::printf("register %d differs: sent %s, read %s\n", reg,
                                qPrintable(sentTable[size_t(reg)].join(u'|')),
                                qPrintable(readTable[size_t(reg)].join(u'|')));
            }
        if (!sentAll || !readAll || differing > 0 || !answers.shown.isEmpty()) {
            std::printf("WRONG: %s%s%d register(s) read back differ%s%s\n", sentAll ? "" : "download stopped; ",
                        readAll ? "" : "upload stopped; ", differing, answers.shown.isEmpty() ? "" : "; shown: ",
                        qPrintable(answers.shown.join(u" / ")));
            status = 1;
        }
    }
    CloseProgramTables();
    SetDialogs(nullptr);
    if (sim.state() == QProcess::Running) {
        sim.write("quit\n");
        sim.waitForFinished(3000);
    }
    return status;
}
