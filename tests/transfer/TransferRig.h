#pragma once
// What the program transfer tests stand on: a program folder of their own
// with the program table of a model open, scripted dialogs that can act when a
// box is shown, the main window (its port and reply parser) and, when asked
// for, the simulated unit on port 1.

#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "UnitSim.h"
#include "program/ProgramTable.h"

#include <QStringList>
#include <functional>
#include <memory>

class frmMain;
class frmMsgPrgDoUp;

// The operator cancels in the progress dialog: Stop, then Cancel, or the
// dialog's close box.
void CancelInDialog(frmMsgPrgDoUp *dialog, bool closeBox);

// Scripted dialogs that first run `onShow` with the text of each box.
class ActingDialogs : public ScriptedDialogs
{
public:
    std::function<void(const QString &text)> onShow;
    MsgResult message(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon) override
    {
        if (onShow)
            onShow(text);
        return ScriptedDialogs::message(text, title, buttons, icon);
    }
};

class TransferRig
{
public:
    // The unit model is `kind` (UnitModel set accordingly).
    explicit TransferRig(UnitKind kind = UnitKind::FourAxis);
    ~TransferRig();

    TestHome home;
    ActingDialogs dialogs;
    ProgramTable &table;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<UnitSim> sim;
    UnitKind kind;

    // Starts the simulated unit of the model with `options` and opens the
    // main window's port on it (9600 bit/s).
    bool connect(const QStringList &options = {});
    // One axis (0 X .. 3 U) of a register: CMD, DAT, SPD, TIM and CMT.
    bool put(int reg, int axis, const ClipRow &row) { return table.WriteAxis(reg, axis, row); }
    ClipRow axis(int reg, int axis) const { return table.Axis(reg, axis).value_or(ClipRow{}); }
    // What the unit received, once it has handled everything sent so far.
    QStringList received();
};
