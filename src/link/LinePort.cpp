#include "link/LinePort.h"

#include "platform/Dialogs.h"
#include "platform/MSComm.h"

namespace {
MSComm *linePort = nullptr;
}

void SetLinePort(MSComm *port)
{
    linePort = port;
}

MSComm *LinePort()
{
    return linePort;
}

bool PortOpenOrTell()
{
    if (linePort && linePort->PortOpen())
        return true;
    MsgBox(QStringLiteral("The port is not open."), MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"),
           MsgIcon::Information);
    return false;
}
