#pragma once
// The simulated unit (tools/unitsim) for a test: started with the given
// options, its pseudo-terminal installed as serial port n (ZT_COM<n>), and
// its log of the wire collected while the test processes events.
//
//     UnitSim sim({"--model", "2"});          // port 1 by default
//     QVERIFY(sim.isReady());
//     ... open MSComm port 1 at 9600,N,8,1, send "POS" + CR ...
//     QVERIFY(sim.waitForRx("POS"));          // the unit received that line
//     sim.control("pos X 1250");              // change the unit's state
//     QCOMPARE(sim.registerWord('X', 12), std::optional<quint32>(0xC1000005));
//
// Everything waits by processing events with a time-out, never by sleeping.
// The log holds what the unit printed since it started or since the last
// clearLog(); the waits search all of it, so clear it before an action whose
// lines could be mistaken for earlier ones. Control commands and the log
// lines are described at the top of tools/unitsim/main.cpp.
//
// The destructor ends the process and gives ZT_COM<n> back the value it had.

#include "Waits.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class UnitSim
{
public:
    using Match = std::function<bool(const QString &)>;

    explicit UnitSim(const QStringList &options = {}, int port = 1, int startTimeoutMs = kEventWaitMs);
    ~UnitSim();
    UnitSim(const UnitSim &) = delete;
    UnitSim &operator=(const UnitSim &) = delete;

    // Started and its device path known.
    bool isReady() const { return !m_device.isEmpty(); }
    QString devicePath() const { return m_device; }

    // Texts (without CR, other bytes as \xHH) of the lines the unit received
    // ("RX") and sent ("TX"), in order.
    QStringList rxLines() const { return linesWith(QStringLiteral("RX ")); }
    QStringList txLines() const { return linesWith(QStringLiteral("TX ")); }
    // Every log line as printed ("RX VER", "NOREPLY VER", "TX VER 01.02.03 ...",
    // "MARK 3", "HANGUP").
    QStringList log() const { return m_log; }
    // Called with each log line as it arrives, while events are processed:
    // for a helper that acts on the unit's doings (one watcher; {} removes it).
    void watchLog(const std::function<void(const QString &)> &watcher) { m_watcher = watcher; }
    // Empties the log once the unit has logged everything it has handled so
    // far (a reply still held back by a delay is logged later).
    void clearLog();

    // Waits until the unit has received (sent) a line equal to text, or one
    // that match accepts. False on time-out.
    bool waitForRx(const QString &text, int timeoutMs = kEventWaitMs);
    bool waitForRx(const Match &match, int timeoutMs = kEventWaitMs);
    bool waitForTx(const QString &text, int timeoutMs = kEventWaitMs);
    bool waitForTx(const Match &match, int timeoutMs = kEventWaitMs);
    // Waits for any log line that match accepts ("HANGUP", "NOISE ...").
    bool waitForLog(const Match &match, int timeoutMs = kEventWaitMs);

    // Writes one control command to the unit's stdin. Commands take effect
    // in the order written, but not in a fixed order with lines the program
    // sends meanwhile: sync() before sending what must see the change.
    void control(const QString &command);
    // Waits until everything written to the line so far is handled and the
    // replies that are due are written (and logged).
    bool sync(int timeoutMs = kEventWaitMs);

    // Stored program register word, parameter value and position of an
    // axis, asked over the control channel; none on time-out or for what
    // the unit does not have.
    std::optional<quint32> registerWord(QChar axis, int reg, int timeoutMs = kEventWaitMs);
    std::optional<quint32> parameter(QChar axis, const QString &name, int timeoutMs = kEventWaitMs);
    std::optional<qint32> position(QChar axis, int timeoutMs = kEventWaitMs);

private:
    void readOutput();
    QStringList linesWith(const QString &prefix) const;
    std::optional<QString> ask(const QString &command, const QString &answerPrefix, int timeoutMs);

    QProcess m_process;
    QByteArray m_partial;
    QStringList m_log;
    QStringList m_answers;   // control answers, kept apart from the log
    std::function<void(const QString &)> m_watcher;
    QString m_device;
    QByteArray m_envName;
    std::optional<QByteArray> m_envBefore;
};
