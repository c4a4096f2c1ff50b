#pragma once
// The wait window's Cancel as an exchange's cancel test.

#include "link/LineExchange.h"
#include "platform/frmMessage.h"

// Exchange hooks of a wait shown in the wait window: its Cancel ends the
// wait at once. Callers that show more (an axis, a register) derive from it.
class MessageWindowHooks : public ExchangeHooks
{
public:
    bool CancelRequested() override { return MessageCancelRequested(); }
};
