// Handlers of the main window's menus and of its buttons that open the other
// working windows.

#include "datafile/frmFile.h"
#include "mainwin/SmallDialogs.h"
#include "mainwin/frmMain.h"
#include "link/MonitorHold.h"
#include "mainwin/frmIo.h"
#include "params/frmDataGrid1.h"
#include "params/frmScaleSetup.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

#include <QAction>
#include <QPushButton>

void frmMain::wireMenus()
{
    for (int i : {1, 2, 7})
        connect(mnufileitem[i], &QAction::triggered, this, [this, i] { mnufileitem_Click(i); });
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
    connect(mnuZT260UpAll, &QAction::triggered, this, &frmMain::mnuZT260UpAll_Click);
    connect(mnuZT260DoAll, &QAction::triggered, this, &frmMain::mnuZT260DoAll_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmMain::Command5_Click);
    connect(AbsPoSet, &QPushButton::clicked, this, &frmMain::AbsPoSet_Click);
}

void frmMain::mnufileitem_Click(int Index)
{
    if (Index == 1 || Index == 2) {
        g.FileMode = int16_t(Index);
        ShowFileWindow();
    } else if (Index == 7) {
        SaveSettings();
    }
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
    if (error == 0) {
        // A new line: what the display said of the old one no longer holds.
        ClearErrorMessage();
        return;
    }
    // Only an invalid port and a device this user may not open are put in
    // words here; every failure names the device and the system's reason,
    // since the number alone does not tell which device failed or why.
    const bool worded = error == MSComm::InvalidPortNumber || error == MSComm::PortNoAccess;
    const QString detail = MSComm1->FailureDetail();
    const QString text = worded ? PortErrorText(error, detail)
                                : QStringLiteral("Error No.") + SignedForm(error) + QStringLiteral(". \n") + detail;
    MsgBox(text, MsgButtons::Ok, QStringLiteral("Error Message"));
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
    MonitorHold monitor;
    const QString answer = InputBox(QStringLiteral(" Monitoring Period (msec) "), QStringLiteral(" ZT260A/ZT460A"),
                                    QString::number(Timer1->interval()));
    if (!answer.isEmpty()) {
        // A period the timer cannot take leaves the period as it was.
        const double v = RoundHalfEven(LeadingNumber(answer));
        if (v >= 0 && v <= 65535)
            Timer1->setInterval(int(v));
    }
    // Back on at the end of the hold, as the operator expects after setting
    // a period.
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
    if (CurrentUnitKind() == UnitKind::FourAxis)
        ShowPrgEdit2();
    else
        ShowPrgEdit();
}

void frmMain::Command5_Click()
{
    ShowDataGridWindow();
}
