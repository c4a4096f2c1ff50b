#pragma once
// Puts back to its first state everything of the program that outlives a
// window: the shared store, the I/O window's working values, the settings
// file's choice flags, the program editors' copy buffer and the transfer
// windows' register ranges. For the tests that build the main window.

#include "mainwin/SettingsFile.h"
#include "mainwin/frmIo.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"
#include "transfer/TransferWindow.h"

inline void ResetProgramState()
{
    ResetSharedState();
    frmIo::ResetWorkingValues();
    ResetSettingFlags();
    ResetEditClipboard();
    TransferWindow::ResetRanges();
}
