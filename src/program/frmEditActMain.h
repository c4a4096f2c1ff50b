#pragma once
// The normal block copy window ("Edit Control"): one register range of one
// axis of the 4-axis program copied to any of the axes, and, with its clear
// box, emptied afterwards. Its rules live in NormalCopyForm; this window
// shows the form's boxes and passes clicks and texts to it.

#include "program/BlockCopy.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class frmEditActMain : public QWidget
{
    Q_OBJECT
public:
    explicit frmEditActMain(QWidget *parent = nullptr);
    ~frmEditActMain() override;

    NormalCopyForm form;

    QCheckBox *XCheck = nullptr, *YCheck = nullptr, *ZCheck = nullptr, *UCheck = nullptr;
    QCheckBox *X_CLR = nullptr, *Y_CLR = nullptr, *Z_CLR = nullptr, *U_CLR = nullptr;
    QLineEdit *X_REG_S = nullptr, *X_REG_E = nullptr, *X_REG_C = nullptr;
    QCheckBox *XCheckX = nullptr, *XCheckY = nullptr, *XCheckZ = nullptr, *XCheckU = nullptr;
    QPushButton *Start_botton = nullptr, *Exit_Botton = nullptr, *Expand_Botton = nullptr;
    QLabel *Label1 = nullptr;   // "->"
    QLabel *Label2 = nullptr;   // range mark
    std::array<QLabel *, 11> Label3{};
    QLabel *Label4 = nullptr;   // "Select Axis"
    QLabel *Label5 = nullptr;   // "Erase"
    QProgressBar *ProgressBar1 = nullptr;

    // By axis 0 X .. 3 U.
    std::array<QCheckBox *, 4> sourceBoxes() const { return {XCheck, YCheck, ZCheck, UCheck}; }
    std::array<QCheckBox *, 4> clearBoxes() const { return {X_CLR, Y_CLR, Z_CLR, U_CLR}; }
    std::array<QCheckBox *, 4> destBoxes() const { return {XCheckX, XCheckY, XCheckZ, XCheckU}; }
    std::array<QLineEdit *, 3> rangeBoxes() const { return {X_REG_S, X_REG_E, X_REG_C}; }

    void Form_Load();
    void SourceCheck_Click(int axis);   // XCheck_Click .. UCheck_Click
    void Start_botton_Click();
    void Exit_Botton_Click();
    void Expand_Botton_Click();

private:
    void buildLayout();
    // Shows the form's boxes and texts.
    void showForm();
};

// The window while it is open, else nullptr.
frmEditActMain *EditActMainWindow();
// Opens the window (a new one starts reset) or brings it to the front;
// while a block copy runs, nothing.
frmEditActMain *ShowEditActMain();
