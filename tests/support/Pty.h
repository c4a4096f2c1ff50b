#pragma once
// A pseudo-terminal whose far end the test drives itself: what the program
// writes to the device can be read here, and what is written here arrives
// at the program as if a unit had sent it.

#include "Waits.h"

#include <QByteArray>
#include <QString>

class MSComm;

class Pty
{
public:
    Pty();
    ~Pty();
    bool ok() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }
    // Our end of the terminal, for a notifier that answers as the unit.
    int fd() const { return m_master; }

    void send(const QByteArray &bytes);
    // Everything the program has written so far (non-blocking).
    QByteArray readAvailable();
    // Waits (processing events) until a CR-ended line arrived from the
    // program; empty on time-out.
    QByteArray readLine(int timeoutMs = kEventWaitMs);
    // Everything the program has written on `port` (open on this terminal)
    // and not read here yet. A marker written behind it shows where the
    // program's writes end, so nothing is missed and no wait depends on
    // timing; "<timeout>" is added when the marker never came back. A closed
    // port gives what has arrived.
    QByteArray readAllWritten(MSComm &port);
    void hangUp();

private:
    int m_master = -1;
    QString m_path;
    QByteArray m_pending;
};
