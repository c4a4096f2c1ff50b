#include "mainwin/SmallDialogs.h"

#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "platform/AppInfo.h"
#include "platform/ControlEvents.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "shared/Language.h"
#include "shared/Shared.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace {
frmChgCom *chgCom = nullptr;
frmVersion *version = nullptr;
frmPass *pass = nullptr;
frmSoption *soption = nullptr;

// Every window here is modeless and is gone once it is closed.
void makeWindow(QWidget *w, const QString &caption)
{
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowTitle(caption);
}

QHBoxLayout *buttonRow(QVBoxLayout *layout, std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    layout->addLayout(row);
    return row;
}
} // namespace

frmChgCom *ChgComWindow() { return chgCom; }
frmVersion *VersionWindow() { return version; }
frmPass *PassWindow() { return pass; }
frmSoption *SoptionWindow() { return soption; }

// ---- serial speed change

frmChgCom::frmChgCom(QWidget *parent) : QWidget(parent, Qt::Window)
{
    chgCom = this;
    makeWindow(this, QStringLiteral("Com Setup for ZT460A"));
    auto *layout = new QVBoxLayout(this);
    Text1 = new QPlainTextEdit(this);
    Text1->setReadOnly(true);
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    layout->addWidget(Text1);
    buttonRow(layout, {OkButton});
    connect(OkButton, &QPushButton::clicked, this, &frmChgCom::OkButton_Click);
}

frmChgCom::~frmChgCom()
{
    if (chgCom == this)
        chgCom = nullptr;
}

void frmChgCom::Form_Load()
{
    m_monitor.emplace();
    Text1->setPlainText(GetComWarning());
}

void frmChgCom::OkButton_Click()
{
    frmMain *m = MainWindow();
    if (!m)
        return;
    static const char *const commands[] = {"SCI 38400", "SCI 19200", "SCI 9600"};
    QString command;
    for (int i = 0; i < 3 && command.isEmpty(); ++i)
        if (m->mnuBPS[i]->isChecked())
            command = QLatin1String(commands[i]);
    // The power-cycle hint is only true once the command went out; while a
    // transfer holds the line neither its threshold nor the line is touched.
    const bool free = MayWrite(LineUser::Manual);
    if (free)
        m->MSComm1->setRThreshold(16);
    if (command.isEmpty())
        MsgBox(QStringLiteral("No speed is ticked in the Speed menu: nothing was sent."), MsgButtons::Ok,
               QStringLiteral("Message"));
    else if (!free)
        MsgBox(TransferUsesLineText(QStringLiteral("nothing was sent.")), MsgButtons::Ok, QStringLiteral("Message"));
    else if (m->MSComm1->Output(command + u'\r') != MSComm::NoError)
        MsgBox(QStringLiteral("The port is not open."), MsgButtons::Ok, QStringLiteral("Message"));
    else
        MsgBox(QStringLiteral("If you want to reset the ZT260A/ZT460A. Please to tarn the power on again after you tun it off."),
               MsgButtons::Ok, QStringLiteral("Message"));
    m_monitor.reset();
    m_done = true;
    close();
}

void frmChgCom::closeEvent(QCloseEvent *event)
{
    // Closed by its frame: the monitor polls again as after OK.
    m_monitor.reset();
    event->accept();
}

void ShowChgComWindow()
{
    if (chgCom) {
        chgCom->raise();
        chgCom->activateWindow();
        return;
    }
    auto *w = new frmChgCom;
    w->Form_Load();
    w->show();
}

// ---- About box

frmVersion::frmVersion(QWidget *parent) : QWidget(parent, Qt::Window)
{
    version = this;
    makeWindow(this, QStringLiteral("ZT460a") + QStringLiteral(" Version Information"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    Picture1 = new QLabel(this);
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    top->addWidget(Picture1);
    auto *texts = new QVBoxLayout;
    lblTitle = new QLabel(QStringLiteral("ZT260A/ZT460A"), this);
    lblVersion = new QLabel(this);
    Label1 = new QLabel(this);
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(Label1);
    top->addLayout(texts, 1);
    Image1 = new QLabel(this);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    WatchControl(Image1, [this](QEvent *event) {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        Image1_Click();
        return true;
    });
    top->addWidget(Image1);
    layout->addLayout(top);
    lblDisclaimer = new QLabel(QStringLiteral("This program operates and programs the ZT260A/ZT460A motion control units."), this);
    lblDisclaimer->setWordWrap(true);
    layout->addWidget(lblDisclaimer);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdSysInfo = new QPushButton(QStringLiteral("System Inf."), this);
    buttonRow(layout, {cmdOK, cmdSysInfo});
    connect(cmdOK, &QPushButton::clicked, this, &frmVersion::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmVersion::cmdSysInfo_Click);
}

frmVersion::~frmVersion()
{
    if (version == this)
        version = nullptr;
}

void frmVersion::Form_Load()
{
    // A label breaks its lines at LF only: the not-active note that follows
    // the CR belongs on a line of its own.
    QString text = QStringLiteral("Version ") + g.UnitVersion + QStringLiteral("- Rel ") + g.UnitVersionText;
    lblVersion->setText(text.replace(u'\r', u'\n'));
    Label1->setText(QStringLiteral("This App. Version : %1.%2.%3\r\n%4")
                        .arg(AppVersionMajor()).arg(AppVersionMinor()).arg(AppVersionRevision())
                        .arg(AppTitle()));
}

void frmVersion::cmdOK_Click()
{
    close();
}

void frmVersion::cmdSysInfo_Click()
{
    StartSysInfo();
}

QString SystemInformationProgram()
{
    for (const char *name : {"hardinfo", "gnome-system-monitor", "lshw-gtk", "ksysguard"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void frmVersion::StartSysInfo()
{
    const QString program = SystemInformationProgram();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        MsgBox(QStringLiteral("Can't open SYSTEM INFORMATION."));
}

void frmVersion::Image1_Click()
{
    if (pass) {
        pass->raise();
        return;
    }
    (new frmPass)->show();
}

void ShowVersionWindow()
{
    if (version) {
        version->raise();
        version->activateWindow();
        return;
    }
    auto *w = new frmVersion;
    w->Form_Load();
    w->show();
}

// ---- access code

frmPass::frmPass(QWidget *parent) : QWidget(parent, Qt::Window)
{
    pass = this;
    makeWindow(this, QStringLiteral("Password"));
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Password"), this);
    PassText = new QLineEdit(this);
    PassText->setEchoMode(QLineEdit::Password);
    Ok = new QPushButton(QStringLiteral("OK"), this);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(Label1);
    layout->addWidget(PassText);
    buttonRow(layout, {Ok, Cancel});
    connect(Ok, &QPushButton::clicked, this, &frmPass::Ok_Click);
    connect(Cancel, &QPushButton::clicked, this, &frmPass::Cancel_Click);
}

frmPass::~frmPass()
{
    if (pass == this)
        pass = nullptr;
}

void frmPass::Ok_Click()
{
    if (PassText->text() == u"QWZ") {
        if (soption) {
            soption->raise();
        } else {
            auto *w = new frmSoption;
            w->Form_Load();
            w->show();
        }
    }
    close();
}

void frmPass::Cancel_Click()
{
    close();
}

// ---- special options

frmSoption::frmSoption(QWidget *parent) : QWidget(parent, Qt::Window)
{
    soption = this;
    makeWindow(this, QStringLiteral("Specal Option"));
    auto *layout = new QVBoxLayout(this);
    EPM = new QCheckBox(QStringLiteral("Extention Program Mode"), this);
    Ok = new QPushButton(QStringLiteral("OK"), this);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(EPM);
    buttonRow(layout, {Ok, Cancel});
    connect(Ok, &QPushButton::clicked, this, &frmSoption::Ok_Click);
    connect(Cancel, &QPushButton::clicked, this, &frmSoption::Cancel_Click);
}

frmSoption::~frmSoption()
{
    if (soption == this)
        soption = nullptr;
}

void frmSoption::Form_Load()
{
    EPM->setChecked(g.ExtendedCmdSet == 1);
}

void frmSoption::Ok_Click()
{
    g.ExtendedCmdSet = EPM->isChecked() ? 1 : 0;
    close();
}

void frmSoption::Cancel_Click()
{
    close();
}
