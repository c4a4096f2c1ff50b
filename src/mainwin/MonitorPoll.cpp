// The monitor poll: one query per tick, in the cycle speeds, running
// registers of the axes whose program drive runs, status, positions; and the
// end of the program drives started from the PC once none runs any more.

#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QElapsedTimer>
#include <QLineEdit>

namespace {
qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}
} // namespace

void frmMain::Timer1_Timer()
{
    const bool polling = MSComm1->PortOpen() && MayWrite(LineUser::MonitorPoll);
    WatchSilence(polling);
    if (!polling)
        return;
    // The line is free again: a command refused for a transfer's sake is
    // no news any more.
    if (!m_lineRefusal.isEmpty()) {
        m_lineRefusal.clear();
        showErrorMessage();
    }

    switch (MonitorState) {
    case 0:
        if (Link->SpeedReplyPending == 0) {
            Link->SpeedReplyPending = 1;
            MSComm1->setRThreshold(43);
            MSComm1->Output(QStringLiteral("SPD\r"));
        }
        DoEvents();
        MonitorState = 1;
        break;
    case 1:
        for (int axis = 0; axis < kAxes; ++axis)
            if (ProgramActive[axis] == 1) {
                MSComm1->setRThreshold(9);
                MSComm1->Output(QStringLiteral("IDC ") + AxisLetter(axis) + u'\r');
            }
        DoEvents();
        MonitorState = 2;
        break;
    case 2:
        Link->SendQuery(StatusQuery(CurrentUnitKind()));
        // The status reply itself moves the poll on.
        DoEvents();
        break;
    case 3:
        if (Link->PositionReplyPending == 0) {
            Link->PositionReplyPending = 1;
            MSComm1->setRThreshold(43);
            MSComm1->Output(QStringLiteral("POS\r"));
        }
        DoEvents();
        MonitorState = 0;
        break;
    default:
        break;
    }
    EndFinishedDrives();
}

void frmMain::EndFinishedDrives()
{
    for (int axis = 0; axis < kAxes; ++axis)
        if (ProgramActive[axis] == 1) {
            ProgramWasActive = 1;
            return;
        }
    if (ProgramWasActive != 1)
        return;
    for (int axis = 0; axis < kAxes; ++axis) {
        if (ProgramStarted[axis] != 1)
            continue;
        MSComm1->Output(QStringLiteral("EDP ") + AxisLetter(axis) + u'\r');
        ProgramPaused[axis] = 0;
        ProgramStarted[axis] = 0;
        QLineEdit *box = registerBox(axis);
        box->clear();
        box->repaint();
    }
    ProgramWasActive = 0;
}

void frmMain::WatchSilence(bool polling)
{
    if (!polling) {
        m_silence.idle();
        return;
    }
    // Told in the display only: a box on every silence would stop the
    // operator, and the next reply takes the text away again.
    if (m_silence.polled(monotonicMs(), Timer1->interval()) && m_lineTrouble == LineTrouble::None)
        SetLineTrouble(LineTrouble::NoReply);
}
