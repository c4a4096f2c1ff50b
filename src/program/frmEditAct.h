#pragma once
// The expanded block copy window ("Edit Control Expand"): a band per source
// axis of the 4-axis program, each with its own register range and line of
// destination axes, copied in one run, the sources kept or emptied after a
// question. Its rules live in ExpandedCopyForm; this window shows the
// form's boxes and passes clicks and texts to it.

#include "program/BlockCopy.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmEditAct : public QWidget
{
    Q_OBJECT
public:
    explicit frmEditAct(QWidget *parent = nullptr);
    ~frmEditAct() override;

    ExpandedCopyForm form;

    QCheckBox *XCheck = nullptr, *YCheck = nullptr, *ZCheck = nullptr, *UCheck = nullptr;
    QLineEdit *X_REG_S = nullptr, *X_REG_E = nullptr, *X_REG_C = nullptr;
    QLineEdit *Y_REG_S = nullptr, *Y_REG_E = nullptr, *Y_REG_C = nullptr;
    QLineEdit *Z_REG_S = nullptr, *Z_REG_E = nullptr, *Z_REG_C = nullptr;
    QLineEdit *U_REG_S = nullptr, *U_REG_E = nullptr, *U_REG_C = nullptr;
    QCheckBox *XCheckX = nullptr, *XCheckY = nullptr, *XCheckZ = nullptr, *XCheckU = nullptr;
    QCheckBox *YCheckX = nullptr, *YCheckY = nullptr, *YCheckZ = nullptr, *YCheckU = nullptr;
    QCheckBox *ZCheckX = nullptr, *ZCheckY = nullptr, *ZCheckZ = nullptr, *ZCheckU = nullptr;
    QCheckBox *UCheckX = nullptr, *UCheckY = nullptr, *UCheckZ = nullptr, *UCheckU = nullptr;
    QPushButton *Start_Button = nullptr, *Exit_Button = nullptr, *Normal_Button = nullptr;
    QLabel *Label1 = nullptr, *Label5 = nullptr, *Label7 = nullptr, *Label9 = nullptr;   // "->" of X, Y, Z, U
    QLabel *Label2 = nullptr, *Label4 = nullptr, *Label6 = nullptr, *Label8 = nullptr;   // range marks
    std::array<QLabel *, 32> Label3{};

    // By source axis 0 X .. 3 U (and destination axis).
    std::array<QCheckBox *, 4> sourceBoxes() const { return {XCheck, YCheck, ZCheck, UCheck}; }
    // Start, end and copy-to box of a band.
    std::array<QLineEdit *, 3> rangeBoxes(int axis) const;
    std::array<QCheckBox *, 4> destBoxes(int axis) const;

    void Form_Load();
    void SourceCheck_Click(int axis);   // XCheck_Click .. UCheck_Click
    void Start_Button_Click();
    void Exit_Button_Click();
    void Normal_Button_Click();

private:
    void buildLayout();
    void showForm();
};

// The window while it is open, else nullptr.
frmEditAct *EditActWindow();
// Opens the window (a new one starts reset) or brings it to the front;
// while a block copy runs, nothing.
frmEditAct *ShowEditAct();
