// Handlers of the main window's menus and of its buttons that open the other
// working windows.

#include "mainwin/SmallDialogs.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "params/frmDataGrid1.h"
#include "params/frmScaleSetup.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "program/frmPrgEdit2.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

#include <QAction>
#include <QPushButton>

void frmMain::wireMenus()
{
    connect(mnufileitem[7], &QAction::triggered, this, [this] { mnufileitem_Click(7); });
    for (int i = 0; i < 9; ++i)
        connect(mnuComItem[i], &QAction::triggered, this, [this, i] { mnuComItem_Click(i); });
    for (int i = 0; i < 3; ++i)
        connect(mnuBPS[i], &QAction::triggered, this, [this, i] { mnuBPS_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(mnuOptionItem[i], &QAction::triggered, this, [this, i] { mnuOptionItem_Click(i); });
    connect(mnuhelpItem[0], &QAction::triggered, this, [this] { mnuhelpItem_Click(0); });
    for (int i = 0; i < 5; ++i) {
        connect(mnuZT260UpParamItem[i], &QAction::triggered, this, [this, i] { mnuZT260UpParamItem_Click(i); });
        connect(mnuZT260DoParamItem[i], &QAction::triggered, this, [this, i] { mnuZT260DoParamItem_Click(i); });
        connect(mnuZT260DoProgItem[i], &QAction::triggered, this, [this, i] { mnuZT260DoProgItem_Click(i); });
        connect(mnuZT260UpProgitem[i], &QAction::triggered, this, [this, i] { mnuZT260UpProgitem_Click(i); });
    }
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmMain::Command5_Click);
}

void frmMain::mnufileitem_Click(int Index)
{
    if (Index == 7)
        SaveSettings();
}

void frmMain::mnuComItem_Click(int Index)
{
    if (Index < 0 || Index > 8)
        return;
    for (QAction *item : mnuComItem)
        item->setChecked(false);
    if (MSComm1->PortOpen())
        MSComm1->setPortOpen(false);
    int error = MSComm1->setCommPort(Index + 1);
    if (error == 0) {
        mnuComItem[Index]->setChecked(true);
        error = MSComm1->setPortOpen(true);
    }
    // A device this user may not open is named with its cause: the number
    // alone would read like any other open failure.
    if (error == MSComm::PortNoAccess)
        MsgBox(PortErrorText(error, MSComm1->FailureDetail()), MsgButtons::Ok, QStringLiteral("Error Message"));
    else if (error > 0)
        MsgBox(QStringLiteral("Error No.") + SignedForm(error)
                   + (error == 8002 ? QStringLiteral(". Comport Invalid.") : QStringLiteral(". ")),
               MsgButtons::Ok, QStringLiteral("Error Message"));
}

void frmMain::mnuBPS_Click(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    for (int i = 0; i < 3; ++i)
        mnuBPS[i]->setChecked(i == Index);
    if (MSComm1->PortOpen())
        ShowChgComWindow();
}

void frmMain::mnuOptionItem_Click(int Index)
{
    if (Index == 1) {
        ShowScaleSetupWindow();
        return;
    }
    if (Index != 0)
        return;
    const bool wasOn = Timer1->isActive();
    Timer1->stop();
    const QString answer = InputBox(QStringLiteral(" Monitoring Period (msec) "), QStringLiteral(" ZT260A/ZT460A"),
                                    QString::number(Timer1->interval()));
    if (!answer.isEmpty()) {
        // A period the timer cannot take leaves the period as it was.
        const double v = RoundHalfEven(LeadingNumber(answer));
        if (v >= 0 && v <= 65535)
            Timer1->setInterval(int(v));
    }
    // Back on, as the operator expects after setting a period; while the I/O
    // window owns the line the poll keeps its earlier state instead.
    ResumeMonitor(wasOn);
}

void frmMain::mnuhelpItem_Click(int Index)
{
    if (Index == 0)
        ShowVersionWindow();
}

void frmMain::Command1_Click()
{
    ShowIoWindow();
}

void frmMain::Command4_Click()
{
    // The 2-axis unit's editor is not built yet.
    if (KnownModel(g.UnitModel) == UnitKind::FourAxis)
        ShowPrgEdit2();
}

void frmMain::Command5_Click()
{
    ShowDataGridWindow();
}
