// The main window's side of the line: what it shows when the unit replies or
// the line closes under the program. The line itself is read by the link.

#include "mainwin/frmMain.h"
#include "link/LineOwner.h"
#include "link/UnitLink.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"

#include <QTimer>

void frmMain::connectLink()
{
    connect(Link, &UnitLink::Replied, this, &frmMain::UnitReplied);
    connect(Link, &UnitLink::LineClosed, this, &frmMain::LineClosedUnder);
    connect(Link, &UnitLink::SpeedsReported, this, &frmMain::ShowSpeeds);
    connect(Link, &UnitLink::PositionsReported, this, &frmMain::ShowPositions);
    connect(Link, &UnitLink::VersionReported, this, [this] { UnitAnswered = 1; });
    connect(Link, &UnitLink::StatusReported, this, &frmMain::EvaluateStatus);
    connect(Link, &UnitLink::AxisOutputsReported, this, &frmMain::ShowAxisOutputs);
    connect(Link, &UnitLink::IoPortsReported, this, &frmMain::ShowIoPorts);
    connect(Link, &UnitLink::RunningRegisterReported, this, &frmMain::ShowRunningRegister);
}

void frmMain::UnitReplied()
{
    m_silence.replied();
    if (m_lineTrouble == LineTrouble::NoReply)
        SetLineTrouble(LineTrouble::None);
}

void frmMain::LineClosedUnder()
{
    if (m_lineTrouble == LineTrouble::Closed)
        return;
    m_silence.idle();
    SetLineTrouble(LineTrouble::Closed);
    // A transfer ends on the closed line and tells so itself.
    if (TransferHoldsLine())
        return;
    // Told once the receive event is over, not in the middle of whatever
    // handler was writing when the device went away.
    const QString text = LineClosedMessage(MSComm1->FailureDetail());
    QTimer::singleShot(0, this, [text] { MsgBox(text, MsgButtons::Ok, QStringLiteral("Error Message")); });
}
