#pragma once
// The main window: owns the one serial port, the monitor timer and the
// displays the unit's replies are shown in. Other windows reach it through
// MainWindow() and send through its port.

#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>

class MSComm;
class QLabel;
class QProgressBar;
class Lamp;
enum class ParamTransferResult : int;   // params/ParamExchange.h

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // ---- serial link and reply parser
    MSComm *MSComm1 = nullptr;
    void MSComm1_OnComm();
    void DispatchReply(const QString &line);
    void AnalyzeReply(const QString &line);

    // ---- timers
    QTimer *Timer1 = nullptr;    // monitor poll
    QTimer *Timer2 = nullptr;    // start-up time-out

    // ---- window state shared by several handlers
    int16_t CommState = 0;
    int16_t UnitAnswered = 0;
    int16_t MonitorState = 0;
    std::array<int16_t, 17> BitMask{};
    void FillBitMask();

    // ---- displays written by the reply parser
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;     // positions
    QLineEdit *Text5 = nullptr, *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr;     // speeds
    QLineEdit *Text17 = nullptr, *Text18 = nullptr, *Text19 = nullptr, *Text20 = nullptr; // running registers
    QLabel *Label22 = nullptr;   // limit and alarm message
    QProgressBar *ProgressBar1 = nullptr;   // transfer progress
    // RUN lamps of X, Y, Z, U, set from the status reply's port field
    Lamp *Picture1 = nullptr, *Picture2 = nullptr, *Picture3 = nullptr, *Picture4 = nullptr;
    Lamp *runLamp(int axis) const;

    // Per-axis views of the display boxes (nullptr for an index out of range).
    QLineEdit *positionBox(int axis) const;
    QLineEdit *speedBox(int axis) const;
    QLineEdit *registerBox(int axis) const;

    // Status reply evaluation (called by the parser for every "INR" reply).
    void EvaluateStatus(const QString &line);

    // ---- parameter exchange (implemented in src/params)
    // Menu handlers: Index 0 all axes of the unit, 1 to 4 one axis X to U.
    void mnuZT260UpParamItem_Click(int Index);
    void mnuZT260DoParamItem_Click(int Index);
    // The same transfers, telling how they ended (the "All" entries and the
    // start-up use these).
    ParamTransferResult RunParamUpLoad(int Index);
    ParamTransferResult RunParamDownLoad(int Index);
    // The groups of a transfer; an axis is handled when its flag is 1. False
    // when the group stopped: no reply in time, or a value it cannot send.
    bool ModeDownLoad2(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ModeDownLoad4(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ModeUpLoad2(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ModeUpLoad4(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool HomeDownLoad2(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool HomeDownLoad4(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool HomeUpLoad2(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool HomeUpLoad4(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ParamDownLoad2(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ParamDownLoad4(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ParamUpLoad2(int16_t X, int16_t Y, int16_t Z, int16_t U);
    bool ParamUpLoad4(int16_t X, int16_t Y, int16_t Z, int16_t U);
    // Longest wait for one reply of the unit, in ms; well above the slowest
    // reply at 9600 bit/s.
    int ParamReplyTimeoutMs = 3000;
    // ---- end of parameter exchange

private:
    void buildDisplays();
};

// The main window in use, or nullptr before it is created.
frmMain *MainWindow();
