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

private:
    void buildDisplays();
};

// The main window in use, or nullptr before it is created.
frmMain *MainWindow();
