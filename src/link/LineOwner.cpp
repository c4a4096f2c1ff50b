#include "link/LineOwner.h"

#include "platform/Dialogs.h"
#include "shared/Shared.h"

namespace {
bool ioPollActive = false;
bool transferHolds = false;
std::function<QString()> idleHolderName;   // of the hold that owns the line
}

bool LineHeld()
{
    return g.TransferBusy != 0;
}

bool TransferHoldsLine()
{
    return LineHeld() && transferHolds;
}

QString TransferUsesLineText(const QString &outcome)
{
    // An open window that keeps the line for a transfer not yet started
    // holds it as long as it stays open: what to close is the news.
    const QString idle = idleHolderName ? idleHolderName() : QString();
    return idle.isEmpty() ? QStringLiteral("A transfer is using the line: %1").arg(outcome)
                          : QStringLiteral("The \"%1\" window is open and keeps the line for its transfer: %2\n"
                                           "Close that window first.")
                                .arg(idle, outcome);
}

void TellTransferUsesLine()
{
    if (TransferHoldsLine())
        MsgBox(TransferUsesLineText(QStringLiteral("nothing was started.")), MsgButtons::Ok, {}, MsgIcon::Exclamation);
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
        idleHolderName = nullptr;
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
    idleHolderName = nullptr;
}

void LineHold::NameIdleHolder(std::function<QString()> name)
{
    if (m_owns)
        idleHolderName = std::move(name);
}
