#include "program/BlockCopyWindows.h"

#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FitToText.h"
#include "platform/ControlEvents.h"
#include "platform/EntryEditing.h"
#include "platform/frmMessage.h"
#include "program/BlockCopy.h"
#include "program/EditorWindow.h"
#include "program/ProgramTable.h"
#include "shared/RefusalText.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

QLineEdit *MakeRangeBox(QWidget *parent, const std::function<void(const QString &)> &changed)
{
    auto *box = new QLineEdit(QStringLiteral("0"), parent);
    // Drops the keys a register box does not take; what is pasted is
    // checked as a change.
    WatchControl(box, [](QEvent *event) {
        return event->type() == QEvent::KeyPress
               && EntryEditing::dropsKey(static_cast<QKeyEvent *>(event), [](int &key) {
                      if (!RangeKeyAccepted(key))
                          key = 0;
                  });
    });
    // A register has up to four digits.
    FitBoxWidth(box, [] { return EveryDigit({QStringLiteral("0000")}); });
    QObject::connect(box, &QLineEdit::textChanged, box, [box, changed](const QString &text) {
        if (!RangeTextAccepted(text)) {
            // The box is put back at once, so the message keeps what was refused.
            MsgBox(WithReason(QStringLiteral("Value can't configure it."), RangeBoxRefusal(text)), MsgButtons::Ok,
                   QStringLiteral("zt260/460"), MsgIcon::Critical);
            box->setText(QStringLiteral("0"));
            return;
        }
        changed(text);
    });
    return box;
}

bool StartRefused(const std::optional<BlockCopyPlan> &plan, const QString &why)
{
    if (BlockCopyRunning())
        return true;
    if (plan)
        return false;
    MsgBox(WithReason(QStringLiteral("Bad Setting."), why), MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"),
           MsgIcon::Critical);
    return true;
}

void ShowCopyBox(QCheckBox *box, const CopyBox &state)
{
    const bool blocked = box->blockSignals(true);
    box->setChecked(state.checked);
    box->setEnabled(state.enabled);
    box->blockSignals(blocked);
}

void ShowRangeBoxes(const std::array<QLineEdit *, 3> &boxes, const RangeBoxes &state)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit *box = boxes[i];
        if (!box)
            continue;
        const bool blocked = box->blockSignals(true);
        if (box->text() != state.text[i])
            box->setText(state.text[i]);
        box->setEnabled(state.enabled);
        box->blockSignals(blocked);
    }
}

void FinishBlockCopy(QWidget *window, const std::optional<BlockCopyPlan> &plan, const QString &line1,
                     const QString &line2)
{
    BlockCopyBusy busy;
    QPointer<QWidget> self(window);
    window->setEnabled(false);

    frmMessage *wait = MessageWindow();
    wait->setWindowTitle(QStringLiteral("Information"));
    SetMessageLine1(line1);
    SetMessageLine2(line2);
    ShowMessageWindow();
    DoEvents();

    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    if (plan) {
        if (const auto refused = table.Open())
            MsgBox(*refused, MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
        else if (!RunBlockCopy(table, *plan))
            table.ReportFailure(QStringLiteral("The block copy could not be stored; the program is unchanged."));
    }
    if (table.IsOpen())
        table.RequestRefresh();

    UnloadMessageWindow();
    if (self)
        self->close();
}
