#pragma once
// The main window: owns the one serial port, the monitor timer, the program
// database control and every display and manual control of the unit. The
// windows below it never see it: it hands them the line's owner and itself
// as their owner, and answers their requests by signal
// (LowerWindows.cpp).

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <optional>

#include "link/LineExchange.h"
#include "link/LineOwner.h"
#include "link/UnitLink.h"
#include "mainwin/LineWatch.h"
#include "platform/DataControl.h"
#include "platform/Timer.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

class Lamp;
class MSComm;
class ProgramTable;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class UpDown;
enum class ParamTransferResult : int;   // params/ParamExchange.h

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // ---- the serial line and what its replies show
    MSComm *MSComm1 = nullptr;
    UnitLink *Link = nullptr;   // the receive side of MSComm1

    // ---- the main window's own state
    // Drive flags, one per axis
    std::array<int16_t, kAxes> ProgramStarted{};
    std::array<int16_t, kAxes> ProgramActive{};
    std::array<int16_t, kAxes> ProgramPaused{};
    std::array<int16_t, kAxes> IndexActive{};
    std::array<int16_t, kAxes> IndexPaused{};
    int16_t ProgramWasActive = 0;
    // Last accepted entry texts, put back when a typed value is refused
    std::array<QString, kAxes> SavedSpeedText{};
    QString SavedRegNoText;
    // The unit's program is uploaded once the start-up has finished
    bool UploadProgramAtStart = false;
    void EvaluateStatus(const QString &line);
    void ShowSpeeds(const AxisWords &speeds);
    void ShowPositions(const AxisWords &counts);
    void ShowRunningRegister(int axis, int reg);
    void ShowAxisOutputs(int axis, std::optional<int> bits);
    void ShowIoPorts(std::optional<int> outputs, std::optional<int> inputs);

    // ---- timers and the program database
    // The monitor poll; handlers that need the line or the operator's
    // attention pause it with a MonitorHold (link/MonitorHold.h).
    Timer *Timer1 = nullptr;
    Timer *Timer2 = nullptr;     // start-up time-out
    DataControl Data1;

    // ---- window state shared by several handlers
    int16_t CommState = 0;
    int16_t UnitAnswered = 0;
    int16_t MonitorState = 0;
    std::array<int16_t, 17> BitMask{};
    void FillBitMask();

    // ---- displays and entry boxes, one row per axis
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;     // positions
    QLineEdit *Text5 = nullptr, *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr;     // speeds
    QLineEdit *Text9 = nullptr, *Text10 = nullptr, *Text11 = nullptr, *Text12 = nullptr;  // preset amounts
    QLineEdit *Text13 = nullptr, *Text14 = nullptr, *Text15 = nullptr, *Text16 = nullptr; // manual speeds
    QLineEdit *Text17 = nullptr, *Text18 = nullptr, *Text19 = nullptr, *Text20 = nullptr; // running registers
    QLabel *scale0 = nullptr, *scale1 = nullptr, *scale2 = nullptr, *scale3 = nullptr;         // units of positions
    QLabel *scale10 = nullptr, *scale11 = nullptr, *scale12 = nullptr, *scale13 = nullptr;     // units of amounts
    QLabel *Label3 = nullptr, *Label4 = nullptr;   // Z and U captions of the axis rows
    UpDown *UpDown1 = nullptr, *UpDown2 = nullptr, *UpDown3 = nullptr, *UpDown4 = nullptr;

    // ---- jog, stop and clear buttons
    QPushButton *XP_SW = nullptr, *XM_SW = nullptr, *YP_SW = nullptr, *YM_SW = nullptr;
    QPushButton *ZP_SW = nullptr, *ZM_SW = nullptr, *UP_SW = nullptr, *UM_SW = nullptr;
    QPushButton *X_STOP_SW = nullptr, *Y_STOP_SW = nullptr, *Z_STOP_SW = nullptr, *U_STOP_SW = nullptr;
    QPushButton *X_CLEAR_SW = nullptr, *Y_CLEAR_SW = nullptr, *Z_CLEAR_SW = nullptr, *U_CLEAR_SW = nullptr;

    // ---- option frames
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr;    // jog mode
    QRadioButton *Option4 = nullptr, *Option5 = nullptr, *Option6 = nullptr;    // speed rate
    QRadioButton *Option7 = nullptr, *Option8 = nullptr, *Option9 = nullptr,
                 *Option10 = nullptr, *Option11 = nullptr;                      // speed choice
    QRadioButton *Option12 = nullptr, *Option13 = nullptr;                      // index / program
    QGroupBox *Frame2 = nullptr, *Frame4 = nullptr, *Form7 = nullptr, *Frame7 = nullptr;

    // ---- home search
    QCheckBox *HomeAxisX = nullptr, *HomeAxisY = nullptr, *HomeAxisZ = nullptr, *HomeAxisU = nullptr;
    QLabel *Label7 = nullptr, *Label8 = nullptr;   // Z and U captions
    QPushButton *HomeStarSW = nullptr, *Command6 = nullptr;

    // ---- program and index drive
    QCheckBox *PrgAxisX = nullptr, *PrgAxisY = nullptr, *PrgAxisZ = nullptr, *PrgAxisU = nullptr;
    QLabel *Label10 = nullptr, *Label9 = nullptr;  // Z and U captions
    QLabel *Label18 = nullptr;                     // "REG"
    QLineEdit *RegNo = nullptr;
    UpDown *UpDown5 = nullptr;
    QPushButton *PrgStart = nullptr, *PrgStep = nullptr, *PrgStop = nullptr;
    QPushButton *AbsPoSet = nullptr;   // "ABS.Position Set": teaching

    // ---- status: RUN lamps and the limit and alarm message
    Lamp *Picture1 = nullptr, *Picture2 = nullptr, *Picture3 = nullptr, *Picture4 = nullptr;
    QLabel *Label17 = nullptr, *Label19 = nullptr, *Label20 = nullptr, *Label21 = nullptr;
    QLabel *Label22 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // ---- the error message display (Label22): the line's trouble above the
    // unit's limit or alarm message
    void ShowUnitMessage(const QString &message);
    void SetLineTrouble(LineTrouble trouble);
    LineTrouble lineTrouble() const { return m_lineTrouble; }
    // Nothing known of the line or the unit: at start and when a port opens.
    void ClearErrorMessage();
    // Whether `who` (a manual command, a drive button) may write now. When a
    // transfer holds the line the display says so, ending in `outcome`: a
    // box would stand between a jog's press and its release. A command that
    // may write takes such a note away again.
    bool MayWriteOrTell(LineUser who, const QString &outcome = QStringLiteral("nothing was sent."));

    // ---- buttons that open the other working windows
    QPushButton *Command1 = nullptr, *Command4 = nullptr, *Command5 = nullptr;

    // ---- menus (index as in the menu tree; unused indexes stay nullptr)
    QMenu *mnufile = nullptr, *mnuCom = nullptr, *mnuOption = nullptr, *mnuhelp = nullptr;
    std::array<QAction *, 8> mnufileitem{};
    QAction *mnuZT260UpAll = nullptr, *mnuZT260DoAll = nullptr;
    std::array<QAction *, 5> mnuZT260UpProgitem{};
    std::array<QAction *, 5> mnuZT260UpParamItem{};
    std::array<QAction *, 5> mnuZT260DoProgItem{};
    std::array<QAction *, 5> mnuZT260DoParamItem{};
    std::array<QMenu *, 2> mnuComSel{};
    std::array<QAction *, 9> mnuComItem{};
    std::array<QAction *, 3> mnuBPS{};
    std::array<QAction *, 2> mnuOptionItem{};
    std::array<QAction *, 1> mnuhelpItem{};

    // Per-axis views of the controls (nullptr for an index out of range).
    QLineEdit *positionBox(int axis) const;
    QLineEdit *speedBox(int axis) const;
    QLineEdit *amountBox(int axis) const;
    QLineEdit *manualSpeedBox(int axis) const;
    QLineEdit *registerBox(int axis) const;
    Lamp *runLamp(int axis) const;
    QCheckBox *homeAxisBox(int axis) const;
    QCheckBox *prgAxisBox(int axis) const;

    // ---- manual operation (handlers in src/mainwin) ----------------------
    // Connects the manual controls to the handlers below; the constructor's
    // last step. Families of per-axis controls share one handler taking the
    // axis (0 X .. 3 U); an index out of range makes a handler do nothing.
    void wireManualControls();

    // Jog buttons by index: 0 XP_SW, 1 XM_SW, 2 YP_SW, 3 YM_SW, 4 ZP_SW,
    // 5 ZM_SW, 6 UP_SW, 7 UM_SW.
    QPushButton *jogButton(int index) const;
    QPushButton *stopButton(int axis) const;
    void JogSW_Press(int index);        // MouseDown and KeyPress of the jog buttons
    void JogSW_Release(int index);      // MouseUp and KeyUp, or a press lost on the way
    void STOP_SW_Click(int axis);       // X_STOP_SW .. U_STOP_SW
    void CLEAR_SW_Click(int axis);      // X_CLEAR_SW .. U_CLEAR_SW
    void SendJogSpeed(int axis);        // SendJogSpeedX .. SendJogSpeedU
    void Option7_Click();
    void Option8_Click();
    void Option9_Click();
    void Option10_Click();
    void Option11_Click();

    void DisplayBox_GotFocus(int box);           // Text1 .. Text8 (box 0 .. 7)
    void AmountBox_KeyPress(int axis, int &key); // Text9 .. Text12; key 0 drops it
    void AmountBox_Change(int axis);
    void SpeedBox_Click(int axis);               // Text13 .. Text16
    void SpeedBox_KeyPress(int axis, int &key);
    void SpeedBox_Change(int axis);
    void RegisterBox_Change(int axis);           // Text17 .. Text20
    void SpeedUpDown_UpClick(int axis);          // UpDown1 .. UpDown4
    void SpeedUpDown_DownClick(int axis);
    void UpDown5_Change();

    void Option12_Click();
    void Option13_Click();
    void PrgStart_Click();
    void PrgStep_Click();
    void PrgStop_Click();
    void RegNo_KeyPress(int &key);
    void RegNo_Click();
    void RegNo_Change();

    void HomeStarSW_Click();
    void Command6_Click();

    // Working state of these handlers.
    std::array<bool, 8> jogHeld{};       // a jog press whose end has not come yet
    std::array<int, 4> speedRestoreDepth{};
    int regNoRestoreDepth = 0;
    // ---- end of manual operation -------------------------------------------

    // ---- start-up and monitor poll
    void Form_Load();
    void Form_Activate();
    void Timer1_Timer();
    void Timer2_Timer();
    // Time-outs of one speed search try and of the on-line check (tests shorten them).
    static int SpeedSearchTryMs;
    static int OnlineCheckMs;

    // ---- menus and window buttons
    void mnufileitem_Click(int Index);
    void mnuComItem_Click(int Index);
    void mnuBPS_Click(int Index);
    void mnuOptionItem_Click(int Index);
    void mnuhelpItem_Click(int Index);
    void Command1_Click();
    void Command4_Click();   // "Program Edit": the editor of the unit's model
    void Command5_Click();   // "Parameter/Mode": the parameter grid window

    // ---- teaching (TeachPositions.cpp; the plan is made in src/program)
    void AbsPoSet_Click();

    // ---- settings file
    void LoadSettings();
    void SaveSettings();   // writes the file, closes the port, ends the program

    // ---- parameter exchange (ParamTransfer.cpp; the exchanges are in src/params)
    // Menu handlers: Index 0 all axes of the unit, 1 to 4 one axis X to U.
    void mnuZT260UpParamItem_Click(int Index);
    void mnuZT260DoParamItem_Click(int Index);
    // The same transfers, telling how they ended (the "All" entries and the
    // start-up use these).
    ParamTransferResult RunParamUpLoad(int Index);
    ParamTransferResult RunParamDownLoad(int Index);
    // Longest wait for one reply of the unit, in ms (tests shorten it).
    int ParamReplyTimeoutMs = kReplyTimeoutMs;
    // ---- end of parameter exchange

    // ---- program transfer menus (ProgramMenus.cpp, ProgramTransfer2.cpp; the
    // register loop and the transfer windows are in src/transfer)
    // Index 0 all axes of the unit, 1 to 4 one axis X to U. On the 4-axis
    // unit they open the download or upload window for those axes; the
    // transfer runs from its Start. On the 2-axis unit they transfer the
    // program of X and Y, or of the one axis, at once (RunProgramTransfer2).
    void mnuZT260DoProgItem_Click(int Index);
    void mnuZT260UpProgitem_Click(int Index);
    // The "All" entries of DownLoad and UpLoad: every parameter, then, when
    // that transfer succeeded, the program menu with Index 0.
    void mnuZT260DoAll_Click();
    void mnuZT260UpAll_Click();

    // The 2-axis program of one axis, registers 0 to 53, between the unit
    // and the program table, on the shared register loop: PrgramDownLoad
    // takes 1 X or 2 Y, ProgramUpLoad 0 X or 1 Y (another axis does
    // nothing). The caller holds the line, keeps the monitor quiet and shows
    // the wait window, whose Cancel ends the transfer; the register in hand
    // is shown in its second line. The result code (TransferResult):
    // download 54 done, 2001 + r failed at register r, 9999 cancelled;
    // upload 0 done, the same codes otherwise. A failure has been shown
    // ("ERROR :: X axis / Reg No. 5") when it returns. A download checks
    // all 54 registers before the first goes out (within a run, the run
    // has checked every axis): one that cannot be sent refuses it whole,
    // 2001 + the first such register.
    int PrgramDownLoad(int axis);
    int ProgramUpLoad(int axis);
    // The program transfer of the 2-axis unit that the menus and the 2-axis
    // editor run: for Index 0 X then Y, for 1 or 2 that axis, in front of
    // the wait window titled `title`, holding the line throughout. A
    // download in which any register of any of its axes cannot be sent is
    // refused before the first goes out (the first named, how many more),
    // the unit keeping its program, and ends with "Download Error!!". It ends
    // with the line free, the monitor polling, the wait window gone, and
    // the closing message ("Download Complete!!", "Download Error!!",
    // "Upload Complete!!", "Cancel!"). The result code (kept in
    // TransferResult as well); nothing when nothing was started (the line
    // is held by another transfer, no axis of the unit, the program table
    // cannot be used).
    std::optional<int> RunProgramTransfer2(bool download, int Index, const QString &title);
    // While it runs the 2-axis editor's DownLoad and UpLoad are unavailable.
    bool ProgramTransfer2Running() const { return m_program2Running; }
    // Longest wait for one register's answer, in ms (tests shorten it).
    int ProgramReplyTimeoutMs = kReplyTimeoutMs;

    // The first focus, the focus the window gets back when another window
    // or box closes, and the focus after a click, is never on a control
    // whose keys start a motion: it moves to `safe` when given and in use,
    // else to the X STOP button.
    bool startsMotion(const QWidget *w) const;
    void KeepFocusOffMotion(QPushButton *safe = nullptr);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectLink();
    void UnitReplied();
    bool WaitForVersion(int timeoutMs);
    bool SearchLineSpeed(int *lastError);
    void ChooseModel();
    void SetUpDisplays();
    void CheckRestoredRegister();
    void StartupParameterUpload();
    void EndFinishedDrives();
    void WatchSilence(bool polling);
    void LineClosedUnder();
    SilenceWatch m_silence;
    LineTrouble m_lineTrouble = LineTrouble::None;
    QString m_unitMessage;
    QString m_lineRefusal;   // the last command refused for a transfer's sake
    void showErrorMessage();
    bool m_activated = false;
    bool m_program2Running = false;
    std::array<QRadioButton *, 6> settingOptions() const;
    void collectSettingFlags();
    bool settingsDamaged = false;   // the settings file read at start had lines not understood
    void buildMenus();
    void teachInto(ProgramTable &table, UnitKind kind);
    void wireMenus();
    void buildControls();
    // What the windows below this one take from it and ask of it (LowerWindows.cpp).
    void wireLowerWindows();
    void unwireLowerWindows();
};

// The message of a failure number of the serial port; `detail` (the port's
// FailureDetail: device and system reason) follows on a second line when
// given.
QString PortErrorText(int number, const QString &detail = {});

// The main window in use, or nullptr before it is created.
frmMain *MainWindow();
