#include "link/LinePort.h"

#include "link/UnitLink.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"

namespace {
UnitLink *lineLink = nullptr;
}

void SetLineLink(UnitLink *link)
{
    lineLink = link;
}

UnitLink *LineLink()
{
    return lineLink;
}

MSComm *LinePort()
{
    return lineLink ? &lineLink->port() : nullptr;
}

bool PortOpenOrTell()
{
    MSComm *port = LinePort();
    if (port && port->PortOpen())
        return true;
    MsgBox(QStringLiteral("The port is not open."), MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"),
           MsgIcon::Information);
    return false;
}
