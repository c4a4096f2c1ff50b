#pragma once
// A main window on a pseudo-terminal for the manual operation tests: the
// test reads back exactly what the program wrote to the line.

#include "Pty.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <QString>

class frmMain;

// A position reply of the unit with these pulse counts, CR included.
QString PositionReply(const std::array<int32_t, 4> &pulses);

// A fresh shared store with the start values and the unit model, and a main
// window whose serial port 1 is open with these settings. Its monitor ticks
// only when a test calls it.
frmMain *OpenMainWindow(const QString &model, const QString &settings);

class ManualRig
{
public:
    // A fresh shared store with the start values, the given unit model and
    // a main window whose port is open on the pseudo-terminal.
    explicit ManualRig(const QString &model = QStringLiteral("4"));
    ~ManualRig();

    bool portOpen() const;
    void closePort();

    // Everything written to the line since the last call, CR shown as "|".
    // A marker written behind it tells where the program's writes end, so
    // nothing written is missed and no wait depends on timing.
    QString wire();

    TestHome home;
    ScriptedDialogs dialogs;
    Pty pty;
    frmMain *w = nullptr;
};
