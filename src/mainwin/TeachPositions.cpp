// The main window's "ABS.Position Set" button: the ticked axes' current
// positions taught into the start register as absolute moves.

#include "link/MonitorHold.h"
#include "mainwin/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/frmMessage.h"
#include "program/ProgramTable.h"
#include "program/Teaching.h"
#include "program/frmPrgEdit.h"
#include "program/frmQuestion.h"
#include "shared/AxisFactor.h"
#include "shared/RefusalText.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
// The button stays disabled while a teaching runs, so none starts inside it.
class ButtonHeld
{
public:
    explicit ButtonHeld(QPushButton *b) : m_button(b) { m_button->setEnabled(false); }
    ~ButtonHeld() { m_button->setEnabled(true); }
    ButtonHeld(const ButtonHeld &) = delete;
    ButtonHeld &operator=(const ButtonHeld &) = delete;

private:
    QPushButton *m_button;
};

TeachRequest readBoxes(const frmMain &w, UnitKind kind)
{
    TeachRequest r;
    r.kind = kind;
    for (int a = 0; a < kAxes; ++a) {
        r.ticked[std::size_t(a)] = w.prgAxisBox(a)->isChecked();
        r.shown[std::size_t(a)] = w.positionBox(a)->text();
        r.factor[std::size_t(a)] = CurrentAxisFactor(a);
    }
    r.regNo = w.RegNo->text();
    const QRadioButton *speeds[] = {w.Option7, w.Option8, w.Option9, w.Option10, w.Option11};
    for (int i = 0; i < 5; ++i)
        if (speeds[i]->isChecked()) {
            r.speedChoice = i;
            break;
        }
    return r;
}
} // namespace

void frmMain::AbsPoSet_Click()
{
    if (!AbsPoSet->isEnabled())
        return;
    ButtonHeld held(AbsPoSet);
    MonitorHold monitor;

    const bool asked = g.SkipConfirm == 0;
    if (asked)
        AskQuestion(QStringLiteral("Are you sure ?"), QStringLiteral("Not appear this confirmation since next time."));
    if (!asked || g.QuestionAnswer == 1) {
        const UnitKind kind = CurrentUnitKind();
        ProgramTable &table = ProgramTableOf(kind);
        if (const auto refused = table.Open()) {
            MsgBox(*refused, MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
        } else {
            if (kind == UnitKind::TwoAxis) {
                // The operator sees the 2-axis program taught; the main
                // window stays in front.
                frmPrgEdit *editor = PrgEditWindow();
                if (!editor || !editor->isVisible()) {
                    ShowPrgEdit();
                    show();
                    raise();
                    activateWindow();
                }
            } else {
                SetMessageLine1(QStringLiteral("Database Update"));
                SetMessageLine2(QStringLiteral("Plese wait!"));
                ShowMessageWindow();
                DoEvents();
            }
            teachInto(table, kind);
        }
        UnloadMessageWindow();
    }
}

void frmMain::teachInto(ProgramTable &table, UnitKind kind)
{
    QString why;
    const auto plan = PlanTeaching(readBoxes(*this, kind), &why);
    if (!plan) {
        MsgBox(WithReason(QStringLiteral("Value can't configure it."), why), MsgButtons::Ok,
               kind == UnitKind::TwoAxis ? QStringLiteral("zt260a") : QStringLiteral("zt460a"), MsgIcon::Critical);
        return;
    }
    if (plan->fields.empty())
        return;
    if (!table.WriteFields(plan->reg, plan->fields)) {
        table.ReportFailure(QStringLiteral("Register %1 could not be taught.").arg(plan->reg));
        return;
    }
    table.RequestRefresh();
    if (plan->reg < table.LastRegister()) {
        RegNo->setText(QString::number(plan->reg + 1));
        RegNo->repaint();
    } else {
        MsgBox(QStringLiteral("It can't be inputted."), MsgButtons::Ok, QString(), MsgIcon::Exclamation);
    }
}
