#pragma once
// The I/O monitor window: a lamp and a title for every signal of the unit.

#include "shared/Shared.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class Lamp;
class QCheckBox;
class QCloseEvent;
class QEvent;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

class frmIo : public QWidget
{
    Q_OBJECT
public:
    explicit frmIo(QWidget *parent = nullptr);
    ~frmIo() override;

    static std::array<QString, kIoTitles> blankTitles();
    // Working values of the I/O monitor. The window is deleted when it
    // closes; these last until the program ends.
    static inline int16_t IoPollStep = 0;
    // The signal titles, kept in the settings file.
    static inline std::array<QString, kIoTitles> IoTitle = blankTitles();
    static inline int16_t TitleIndex = 0;
    static inline std::array<int16_t, kAxes> AxisOutState{};
    static inline std::array<QString, 4> IoLastField{};
    static inline int32_t PortOutWord = 0;
    static inline int16_t GenOutWord = 0;
    // The values above as a new run of the program has them.
    static void ResetWorkingValues();

    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    std::array<QLabel *, 36> Label5{};   // axis signal titles
    std::array<QLabel *, 24> Label6{};   // parallel port signal names
    std::array<QLabel *, 16> Label7{};   // general input titles
    std::array<QLabel *, 16> Label8{};   // general output titles
    std::array<Lamp *, 18> Picture1{};   // X and Y axis signals
    std::array<Lamp *, 24> Picture2{};   // parallel port
    std::array<Lamp *, 18> Picture3{};   // Z and U axis signals
    std::array<Lamp *, 16> Picture4{};   // general inputs
    std::array<Lamp *, 16> Picture5{};   // general outputs
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr;
    QTimer *Timer2 = nullptr;

    // The two output lamps of an axis (0..3) from bits 0 and 1.
    void showAxisOutputs(int axis, unsigned bits);

    // Runs when the window is created: stops the main monitor, shows the
    // titles, fits the window to the model and starts the I/O poll afresh.
    void Form_Load();
    void Timer2_Timer();      // the poll tick
    void UpdateIoLamps();     // evaluates a new status reply, moves the poll on
    void Command1_Click();    // "Exit": hands the polling back and unloads

    // Double-click on a title: switches an output, or edits the title while
    // "Name Change" is ticked. The index is the element of the title array.
    void Label5_DblClick(int index);   // axis signals 0..35
    void Label6_DblClick(int index);   // parallel port 0..23
    void Label7_DblClick(int index);   // general inputs 0..15
    void Label8_DblClick(int index);   // general outputs 0..15

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void unload();
    void editTitle(int titleIndex, QLabel *label);
    bool m_unloaded = false;
};

// The I/O monitor window while it is open, else nullptr.
frmIo *IoWindow();

// Opens the I/O monitor window (created and loaded when it is not open) and
// brings it to the front.
frmIo *ShowIoWindow();
