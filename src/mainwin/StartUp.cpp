// The main window's start-up: start values, settings, the port, the line
// speed search, the on-line check, the parameter upload and the model choice,
// then the displays of the unit model and the monitor poll.

#include "mainwin/frmMain.h"
#include "mainwin/frmSelect.h"
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "platform/UpDown.h"
#include "program/ProgramTable.h"
#include "shared/AxisFactor.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString kStartTitle = QStringLiteral(" ZT260A/ZT460A");
const QString kInactiveColour = QStringLiteral("background-color: palette(dark);");
const QString kGreyColour = QStringLiteral("background-color: #C0C0C0;");
} // namespace

int frmMain::SpeedSearchTryMs = 1000;
int frmMain::OnlineCheckMs = 10000;

QString PortErrorText(int number, const QString &detail)
{
    QString ending;
    switch (number) {
    case 8002: ending = QStringLiteral(". Comport Invalid."); break;
    case 8003: ending = QStringLiteral(". Comport Access Denied."); break;
    case 8005: ending = QStringLiteral(". Comport Already Open."); break;
    case 8015: ending = QStringLiteral(". Comport State Failed."); break;
    case 8018: ending = QStringLiteral(". Comport Not Open."); break;
    default: ending = QStringLiteral(". "); break;
    }
    QString text = QStringLiteral("Error No.") + SignedForm(number) + ending;
    if (!detail.isEmpty())
        text += u'\n' + detail;
    return text;
}

void frmMain::Timer2_Timer()
{
    CommState = 2;
    Timer2->stop();
}

bool frmMain::WaitForVersion(int timeoutMs)
{
    Timer2->setInterval(timeoutMs);
    Timer2->start();
    // The time-out timer ends the wait; the second limit only guards against
    // a timer that cannot fire.
    // A line that closed meanwhile cannot answer any more.
    WaitUntil([this] { return UnitAnswered >= 1 || CommState == 2; }, timeoutMs * 2 + 1000,
              [this] { return !MSComm1->PortOpen(); });
    Timer2->stop();
    return UnitAnswered >= 1;
}

bool frmMain::SearchLineSpeed(int *lastError)
{
    auto note = [lastError](int e) {
        if (e)
            *lastError = e;
    };
    auto tick = [this](int index) {
        for (int i = 0; i < 3; ++i)
            mnuBPS[i]->setChecked(i == index);
    };
    for (int speed : {9600, 19200, 38400}) {
        for (int attempt = 0; attempt < 6; ++attempt) {
            // A port that did not open, or closed under the search, has no
            // unit to find: the operator hears why at once instead of after
            // every try.
            if (!MSComm1->PortOpen())
                return false;
            CommState = 1;
            UnitAnswered = 0;
            if (speed == 9600) {
                note(MSComm1->setSettings(QStringLiteral("9600,N,8,1")));
                MSComm1->setRThreshold(24);
                note(MSComm1->Output(QStringLiteral("VER\r")));
                DoEvents();
                note(MSComm1->Output(QStringLiteral("VER\r")));
                Link->EmptyReceiveBuffer();
                MSComm1->setRThreshold(24);
                note(MSComm1->Output(QStringLiteral("VAR\r")));
                tick(2);
            } else {
                Link->EmptyReceiveBuffer();
                note(MSComm1->setSettings(QStringLiteral("%1,N,8,1").arg(speed)));
                MSComm1->setRThreshold(24);
                note(MSComm1->Output(QStringLiteral("VER\r")));
                tick(speed == 19200 ? 1 : 0);
            }
            if (WaitForVersion(SpeedSearchTryMs))
                return true;
        }
    }
    return false;
}

void frmMain::ChooseModel()
{
    auto *select = new frmSelect;
    select->setAttribute(Qt::WA_DeleteOnClose);
    select->show();
    QPointer<frmSelect> guard(select);
    // The operator's choice: no time-out, but closing the window counts as
    // choosing the current model, so the wait always ends.
    WaitUntil([&] { return !guard || guard->Tag == u"1"; }, -1);
    if (guard)
        guard->close();
    else if (MSComm1->PortOpen())
        MSComm1->setPortOpen(false);
}

void frmMain::Form_Load()
{
    // Start values.
    SetStartValues();
    ClearErrorMessage();
    EnsureLampPictures();
    // Lamps made before the pictures were drawn (a first start) would stay
    // blank until the first status reply, which may never come.
    for (int a = 0; a < kAxes; ++a)
        runLamp(a)->ensurePicture();

    LoadSettings();

    // The port: the last ticked Port item wins, Com1 when none is ticked.
    int lastError = 0;
    auto note = [&lastError](int e) {
        if (e)
            lastError = e;
    };
    int port = 1;
    for (int i = 0; i < 9; ++i)
        if (mnuComItem[i]->isChecked())
            port = i + 1;
    note(MSComm1->setCommPort(port));
    note(MSComm1->setPortOpen(true));

    SearchLineSpeed(&lastError);
    // A line that closed under the search has been told as closed already.
    if (lastError > 0 && lineTrouble() != LineTrouble::Closed)
        MsgBox(PortErrorText(lastError, MSComm1->FailureDetail()), MsgButtons::Ok, QStringLiteral("Error Message"));

    bool online = false;
    if (MSComm1->PortOpen())
        online = MsgBox(QStringLiteral("ONLINE?"), MsgButtons::YesNo, kStartTitle, MsgIcon::Question)
                 == MsgResult::Yes;
    if (online) {
        const UnitQuery query = VersionQuery(CurrentUnitKind());
        Link->SendQuery(query);
        DoEvents();
        MSComm1->Output(query.command);
        CommState = 1;
        UnitAnswered = 0;
        SetOption(Option11, true);
        // A unit that answered is on line, even when the time-out fired in
        // the same pass of events.
        if (WaitForVersion(OnlineCheckMs)) {
            CommState = 1;
            StartupParameterUpload();
            UploadProgramAtStart = false;
            if (MsgBox(QStringLiteral("Upload PROGRAM?"), MsgButtons::YesNo, kStartTitle, MsgIcon::Question)
                == MsgResult::Yes)
                UploadProgramAtStart = true;
            if (Option12->isChecked())
                PrgStep->setEnabled(false);
            else if (!Option13->isChecked())
                PrgStep->setEnabled(true);
        } else {
            // A line that closed meanwhile has been told as closed already.
            if (MSComm1->PortOpen())
                MsgBox(QStringLiteral("Error is Time Out of Cominucation!!"), MsgButtons::Ok, kStartTitle,
                       MsgIcon::Critical);
            ChooseModel();
        }
    } else {
        CommState = 2;
        ChooseModel();
    }

    SetUpDisplays();

    // The program database of the model, created when missing; a damaged
    // one is refused and the program goes on without it.
    const UnitKind kind = CurrentUnitKind();
    UpDown5->setMax(LastRegister(kind));
    Data1.DatabaseName = ProgramFilePath(kind);
    Data1.RecordSource = ProgramTableName(kind);
    if (const auto refused = ProgramTableOf(kind).Open())
        MsgBox(*refused, MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
    else
        Data1.Refresh();
    CheckRestoredRegister();
    UpDown5->setValue(int(LeadingNumber(RegNo->text())));

    FillBitMask();
    Timer1->start();
}

void frmMain::SetUpDisplays()
{
    Text1->setText(QStringLiteral("0"));
    Text2->setText(QStringLiteral("0"));
    Text5->setText(QStringLiteral("0"));
    Text6->setText(QStringLiteral("0"));
    for (QLineEdit *box : {Text9, Text10, Text13, Text14})
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));

    const std::array<QLabel *, 4> near{scale0, scale1, scale2, scale3};
    const std::array<QLabel *, 4> far{scale10, scale11, scale12, scale13};
    for (int axis = 0; axis < kAxes; ++axis) {
        const QString unit = UnitCaption(g.ScaleSel[axis]);
        if (unit.isEmpty())
            continue;
        near[axis]->setText(unit);
        far[axis]->setText(unit);
    }

    if (CurrentUnitKind() == UnitKind::FourAxis) {
        for (QLineEdit *box : {Text3, Text4, Text7, Text8})
            box->setText(QStringLiteral("0"));
        for (QLineEdit *box : {Text11, Text12, Text15, Text16})
            if (box->text().isEmpty())
                box->setText(QStringLiteral("0"));
        Text19->clear();
        Text20->clear();
        return;
    }

    for (QLineEdit *box : {Text3, Text4, Text7, Text8, Text11, Text12, Text15, Text16, Text19, Text20})
        box->clear();
    Label3->hide();
    Label4->hide();
    for (QPushButton *b : {Z_CLEAR_SW, U_CLEAR_SW, ZM_SW, UM_SW, Z_STOP_SW, U_STOP_SW, ZP_SW, UP_SW}) {
        b->setEnabled(false);
        b->setStyleSheet(kGreyColour);
    }
    for (QLineEdit *box : {Text3, Text4, Text7, Text8, Text11, Text12, Text15, Text16, Text19, Text20}) {
        box->setEnabled(false);
        box->setStyleSheet(kInactiveColour);
    }
    UpDown3->hide();
    UpDown4->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{Label7, HomeAxisZ, Label8, HomeAxisU, Label10,
                                                        PrgAxisZ, Label9, PrgAxisU, Label20, Label21})
        w->hide();
    mnuComSel[1]->menuAction()->setEnabled(false);
    for (int i = 3; i <= 4; ++i) {
        mnuZT260UpProgitem[i]->setEnabled(false);
        mnuZT260UpParamItem[i]->setEnabled(false);
        mnuZT260DoProgItem[i]->setEnabled(false);
        mnuZT260DoParamItem[i]->setEnabled(false);
    }
    mnuOptionItem[1]->setEnabled(false);
}

void frmMain::Form_Activate()
{
    if (!UploadProgramAtStart)
        return;
    // Cleared first, so that an activation during the upload does not start
    // it again. On the 4-axis unit this opens the upload window; the 2-axis
    // unit's programs travel at once.
    UploadProgramAtStart = false;
    mnuZT260UpProgitem_Click(0);
}

void frmMain::StartupParameterUpload()
{
    mnuZT260UpParamItem_Click(0);
}

void frmMain::CheckRestoredRegister()
{
    // The register came from the settings before the model was known.
    RegNo_Change();
}
