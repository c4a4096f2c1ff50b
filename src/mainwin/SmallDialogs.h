#pragma once
// The small windows of the main window's menus: the serial speed change, the
// About box, the access code and the special options.

#include "link/MonitorHold.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Serial speed change: tells the unit to switch its own line speed.
class frmChgCom : public QWidget
{
    Q_OBJECT
public:
    explicit frmChgCom(QWidget *parent = nullptr);
    ~frmChgCom() override;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *OkButton = nullptr;
    void Form_Load();
    void OkButton_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::optional<MonitorHold> m_monitor;
    bool m_done = false;
};

// About box.
class frmVersion : public QWidget
{
    Q_OBJECT
public:
    explicit frmVersion(QWidget *parent = nullptr);
    ~frmVersion() override;
    QLabel *lblVersion = nullptr, *lblTitle = nullptr, *lblDisclaimer = nullptr, *Label1 = nullptr;
    QLabel *Picture1 = nullptr, *Image1 = nullptr;
    QPushButton *cmdOK = nullptr, *cmdSysInfo = nullptr;
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Image1_Click();
    void StartSysInfo();
};

// Access code.
class frmPass : public QWidget
{
    Q_OBJECT
public:
    explicit frmPass(QWidget *parent = nullptr);
    ~frmPass() override;
    QLabel *Label1 = nullptr;
    QLineEdit *PassText = nullptr;
    QPushButton *Ok = nullptr, *Cancel = nullptr;
    void Ok_Click();
    void Cancel_Click();
};

// Special options.
class frmSoption : public QWidget
{
    Q_OBJECT
public:
    explicit frmSoption(QWidget *parent = nullptr);
    ~frmSoption() override;
    QCheckBox *EPM = nullptr;
    QPushButton *Ok = nullptr, *Cancel = nullptr;
    void Form_Load();
    void Ok_Click();
    void Cancel_Click();
};

// The windows while they are open, else nullptr.
frmChgCom *ChgComWindow();
frmVersion *VersionWindow();
frmPass *PassWindow();
frmSoption *SoptionWindow();

// Opens the window, or brings it to the front when it is already open.
void ShowChgComWindow();
void ShowVersionWindow();

// The system information program: found on the PATH, since this platform
// keeps no registry to look it up in. Empty when there is none.
QString SystemInformationProgram();
