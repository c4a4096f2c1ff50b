#include "shared/TransferGuard.h"

namespace {
bool transferRunning = false;
}

TransferGuard::TransferGuard()
{
    if (!transferRunning) {
        transferRunning = true;
        m_owns = true;
    }
}

TransferGuard::~TransferGuard()
{
    if (m_owns)
        transferRunning = false;
}

bool TransferGuard::Running()
{
    return transferRunning;
}
