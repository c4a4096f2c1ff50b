#pragma once
// Small helpers shared by the main window's manual and drive handlers.

#include "link/LineOwner.h"
#include "link/MonitorHold.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "shared/Shared.h"

#include <QString>
#include <QTimer>

// "SPD " followed by one comma per axis place before the value.
inline QString SpeedPrefix(int axis)
{
    return QStringLiteral("SPD ") + QString(axis, u',');
}

// A drive or stop command: mnemonic, blank, axis letter, then `tail` and CR.
inline QString AxisCommand(const char *mnemonic, int axis, const QString &tail = {})
{
    return QLatin1String(mnemonic) + u' ' + AxisLetter(axis) + tail + u'\r';
}

inline const QString &ValueRefused()
{
    static const QString text = QStringLiteral("Value can't configure it.");
    return text;
}
