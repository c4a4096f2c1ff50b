// Receive path of the main window's serial port: collecting the received
// characters into lines and handing complete lines to the parser; and telling
// the operator of a line that closed under the program.

#include "mainwin/frmMain.h"
#include "link/LineAssembly.h"
#include "link/LineOwner.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QTimer>

namespace {
// One assembler for the one port; the line being collected itself lives in
// the shared ReceiveBuffer, which survives from one receive event to the next.
LineAssembler assembler;
}

void frmMain::DiscardCollectedLine()
{
    g.ReceiveBuffer.clear();
    assembler = LineAssembler();
}

void frmMain::MSComm1_OnComm()
{
    if (MSComm1->CommEvent() != MSComm::comEvReceive) {
        // Line errors and modem line changes are ignored, but not a line
        // that closed under the program: every sender would do nothing.
        if (!MSComm1->PortOpen())
            LineClosedUnder();
        return;
    }
    MSComm1->setInputLen(1);
    // One line per event: characters after its CR wait for the next event.
    for (int reads = 0; reads <= kMaxLineLength + 1; ++reads) {
        const QString ch = MSComm1->Input();
        if (ch.isEmpty())
            return;
        QString line;
        if (assembler.feed(ch[0], g.ReceiveBuffer, &line)) {
            DispatchReply(line);
            return;
        }
    }
}

void frmMain::SendQuery(const UnitQuery &query)
{
    MSComm1->setRThreshold(query.threshold);
    MSComm1->Output(query.command);
}

void frmMain::DispatchReply(const QString &line)
{
    if (LineMeetsThreshold(line, MSComm1->RThreshold())) {
        m_silence.replied();
        if (m_lineTrouble == LineTrouble::NoReply)
            SetLineTrouble(LineTrouble::None);
        AnalyzeReply(line);
    }
    g.SpeedReplyPending = 0;
    g.PositionReplyPending = 0;
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
