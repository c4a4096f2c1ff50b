#pragma once
// A stand-in for the unit on a pseudo-terminal that answers the parameter
// commands of either model from its own parameter memory. Each received line
// is recorded; a test may replace the answer to any line (another axis, a
// corrupt value, silence) and look at the program's state as each line
// arrives.

#include "Pty.h"
#include "Waits.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QSocketNotifier;

class ParamUnit : public QObject
{
public:
    explicit ParamUnit(int model);   // 2 or 4
    ~ParamUnit() override;

    QString devicePath() const { return m_pty.devicePath(); }
    bool ok() const { return m_pty.ok(); }

    // Parameter memory: "X60" (2-axis register) or "RAT X" (4-axis command)
    // to the value as it stands on the line.
    QMap<QString, QString> memory;
    // Lines received from the program, without their CR.
    QStringList lines;
    // Runs as each line arrives, before it is answered.
    std::function<void(const QString &line)> onLine;
    // When set and it gives a value, that is sent instead of the normal
    // answer (an empty text: no answer at all).
    std::function<std::optional<QByteArray>(const QString &line)> replace;
    // From this count of received lines on, nothing is answered (-1: never).
    int silentFrom = -1;

    // The normal answer to a line; empty for a line that gets none.
    QByteArray answer(const QString &line);
    // Drops the line, as a unit that is switched off.
    void hangUp();
    // Waits until `count` lines have arrived.
    bool waitForLines(int count, int timeoutMs = kEventWaitMs);

private:
    void readFromProgram();

    int m_model;
    Pty m_pty;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_pending;
};
