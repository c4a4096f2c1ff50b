#include "link/LineOwner.h"

#include "platform/Dialogs.h"
#include "shared/Shared.h"

namespace {
bool ioPollActive = false;
bool transferHolds = false;
}

bool LineHeld()
{
    return g.TransferBusy != 0;
}

bool TransferHoldsLine()
{
    return LineHeld() && transferHolds;
}

void TellTransferUsesLine()
{
    if (TransferHoldsLine())
        MsgBox(QStringLiteral("A transfer is using the line: nothing was started."), MsgButtons::Ok, {},
               MsgIcon::Exclamation);
}

bool MayWrite(LineUser who)
{
    switch (who) {
    case LineUser::Stop:
        return true;
    case LineUser::MonitorPoll:
        return !LineHeld() && !ioPollActive;
    case LineUser::IoPoll:
    case LineUser::Manual:
    case LineUser::Drive:
    case LineUser::Transfer:
        break;
    }
    return !LineHeld();
}

void SetIoPollActive(bool active)
{
    ioPollActive = active;
}

bool IoPollActive()
{
    return ioPollActive;
}

LineHold::LineHold(LineUser who)
{
    if ((who == LineUser::Drive || who == LineUser::Transfer) && MayWrite(who)) {
        g.TransferBusy = 1;
        transferHolds = who == LineUser::Transfer;
        m_owns = true;
    }
}

LineHold::~LineHold()
{
    release();
}

void LineHold::release()
{
    if (!m_owns)
        return;
    m_owns = false;
    g.TransferBusy = 0;
    transferHolds = false;
}
