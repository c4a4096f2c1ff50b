// Receive path of the main window's serial port: collecting the received
// characters into lines and handing complete lines to the parser.

#include "mainwin/frmMain.h"
#include "link/LineAssembly.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

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
    if (MSComm1->CommEvent() != MSComm::comEvReceive)
        return;   // line errors and modem line changes are ignored
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
    if (LineMeetsThreshold(line, MSComm1->RThreshold()))
        AnalyzeReply(line);
    g.SpeedReplyPending = 0;
    g.PositionReplyPending = 0;
}
