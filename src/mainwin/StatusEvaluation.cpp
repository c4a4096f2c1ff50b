// Evaluation of the unit's status reply in the main window: the program
// running flags, the first limit or alarm message and the RUN lamps; and the
// error message display that shows that message with the line's trouble.

#include "mainwin/frmMain.h"
#include "link/ReplyFields.h"
#include "platform/Lamp.h"
#include "shared/Shared.h"

#include <QLabel>

void frmMain::EvaluateStatus(const QString &line)
{
    const bool fourAxis = CurrentUnitKind() == UnitKind::FourAxis;
    const StatusFields f = LocateStatusFields(line, fourAxis);

    // Every axis's running flag follows its own byte (4-axis unit only).
    if (fourAxis) {
        for (int a = 0; a < f.axes; ++a)
            if (f.status[a])
                ProgramActive[a] = (*f.status[a] & 0x20) ? 1 : 0;
    }

    // The first condition in the order X LIMIT+, X LIMIT-, X ALARM, Y ... is
    // the one message shown. A byte that did not convert leaves the message
    // as it was, since nothing is known of that axis.
    bool known = true;
    QString message;
    for (int a = 0; a < f.axes && message.isEmpty(); ++a) {
        if (!f.status[a]) {
            known = false;
            break;
        }
        const int16_t s = *f.status[a];
        const QString letter = AxisLetter(a);
        if (s & 0x01)
            message = QStringLiteral("LIMIT+ %1 Axis ").arg(letter);
        else if (s & 0x02)
            message = QStringLiteral("LIMIT- %1 Axis ").arg(letter);
        else if (s & 0x80)
            message = QStringLiteral("ALARM  %1 Axis ").arg(letter);
    }
    if (known || !message.isEmpty())
        ShowUnitMessage(message);

    // A port field that does not convert counts as 0: all RUN lamps off.
    const int32_t port = f.port.value_or(0);
    for (int a = 0; a < kAxes; ++a)
        if (Lamp *lamp = runLamp(a))
            lamp->setLit(port & (0x20000 << a));

    MonitorState = 3;
}

void frmMain::showErrorMessage()
{
    Label22->setText(ErrorMessageText(m_lineTrouble, m_unitMessage, m_lineRefusal));
}

void frmMain::ShowUnitMessage(const QString &message)
{
    m_unitMessage = message;
    showErrorMessage();
}

void frmMain::SetLineTrouble(LineTrouble trouble)
{
    m_lineTrouble = trouble;
    showErrorMessage();
}

void frmMain::ClearErrorMessage()
{
    m_unitMessage.clear();
    m_lineRefusal.clear();
    SetLineTrouble(LineTrouble::None);
}

bool frmMain::MayWriteOrTell(LineUser who, const QString &outcome)
{
    const bool may = MayWrite(who);
    const QString refusal = !may && TransferHoldsLine() ? TransferUsesLineText(outcome) : QString();
    if (refusal != m_lineRefusal) {
        m_lineRefusal = refusal;
        showErrorMessage();
    }
    return may;
}
