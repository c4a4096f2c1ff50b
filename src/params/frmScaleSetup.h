#pragma once
// The scale window ("Axis Scale"): the unit of measure of each axis and the
// length of one pulse in each unit. OK stores them and converts the main
// window's displays at once.

#include "shared/Shared.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmScaleSetup : public QWidget
{
    Q_OBJECT
public:
    using Options = std::array<QRadioButton *, 4>;   // by unit code
    using Boxes = std::array<QLineEdit *, 4>;        // by unit code; 0 (Pulse) hidden
    using Labels = std::array<QLabel *, kAxes>;      // by axis

    explicit frmScaleSetup(QWidget *parent = nullptr);
    ~frmScaleSetup() override;

    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr;
    Options ScaleOpt{}, ScaleOpt1{}, ScaleOpt2{}, ScaleOpt3{};
    Boxes Text1{}, Text2{}, Text3{}, Text4{};
    Labels Label1{}, Label2{}, Label3{};   // "1 Pulse =" before the mm, um, inch boxes
    Labels Label7{}, Label8{}, Label9{};   // "mm", "um", "inch" behind them
    QPushButton *OkButton = nullptr, *CancelButton = nullptr;

    void Form_Load();
    void ScaleOpt_Click(int Index);
    void ScaleOpt1_Click(int Index);
    void ScaleOpt2_Click(int Index);
    void ScaleOpt3_Click(int Index);
    void Text1_KeyPress(int Index, int &KeyAscii);
    void Text2_KeyPress(int Index, int &KeyAscii);
    void Text3_KeyPress(int Index, int &KeyAscii);
    void Text4_KeyPress(int Index, int &KeyAscii);
    void OkButton_Click();
    void CancelButton_Click();

    // Per-axis views (nullptr for an axis out of range).
    const Options *options(int axis) const;
    const Boxes *boxes(int axis) const;
    QGroupBox *frame(int axis) const;
    // The unit chosen for an axis so far.
    int chosenUnit(int axis) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void chooseUnit(int axis, int Index);
    void enableAxis(int axis);
    // The key filter of factor box `unit` of `axis`.
    void boxKeyPress(int axis, int unit, int &key);
    std::array<int16_t, kAxes> m_unit{};
};

// The window while it is open, else nullptr.
frmScaleSetup *ScaleSetupWindow();
// Opens the window (loaded from the stored units when it is not open) and
// brings it to the front.
frmScaleSetup *ShowScaleSetupWindow();
