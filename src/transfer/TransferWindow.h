#pragma once
// What the program download window (frmSendPrg) and the program upload
// window (frmRecvPrg) of the 4-axis unit share: per axis the choice None,
// Select (a From..To range typed or picked with the hundred-register block
// buttons) or All, and Start, which transfers every chosen axis in the order
// X, Y, Z, U in front of the progress dialog and closes the window with one
// message. The ranges and the texts put back after a refused entry are kept
// by the class, not the window, so both windows show the same ranges.
//
// From loading to closing the window holds the line (no monitor query, no
// manual command), and it gives it back whichever way it closes. While a
// transfer runs its controls are locked; closing it, its Cancel button or
// closing the progress dialog cancels the transfer.

#include "link/LineOwner.h"
#include "link/MonitorHold.h"
#include "transfer/ProgramTransfer.h"

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ProgramTable;

constexpr int kBlockButtons = 20;   // registers j*100 .. j*100+99 of an axis
constexpr int kRangeLimit = 2000;   // the highest number a range box takes

#include "shared/Shared.h"

#include <functional>

class TransferWindow : public QWidget
{
    Q_OBJECT
public:
    ~TransferWindow() override;

    // Register ranges of the 4-axis program transfer windows, shared by the
    // download and the upload window and kept until the program ends.
    static inline std::array<int16_t, kAxes> TransferFrom{};
    static inline std::array<int16_t, kAxes> TransferTo{};
    // A range box's text when last clicked into, put back after a refused entry.
    static inline std::array<QString, kAxes> SavedFromText{};
    static inline std::array<QString, kAxes> SavedToText{};
    // 1 after a first click on a block button of the axis, until the second.
    static inline std::array<int16_t, kAxes> BlockFirstClick{};
    // The values above as a new run of the program has them.
    static void ResetRanges();

    // Controls by axis index (0 X .. 3 U); block buttons by number 0..19.
    std::array<QGroupBox *, kAxes> Frame1{};
    std::array<QRadioButton *, kAxes> AllOpt{};
    std::array<QRadioButton *, kAxes> SelectOpt{};
    std::array<QRadioButton *, kAxes> NoneOpt{};
    std::array<QLineEdit *, kAxes> Text1{};   // From
    std::array<QLabel *, kAxes> Label1{};     // range mark
    std::array<QLineEdit *, kAxes> Text2{};   // To
    std::array<QPushButton *, kBlockButtons> Command1{}, Command2{}, Command3{}, Command4{};
    QPushButton *Start_botton = nullptr;
    QPushButton *Cancel_botton = nullptr;

    // Handlers; an index out of range makes one do nothing.
    void Form_Load();
    void AllOpt_Click(int Index);
    void SelectOpt_Click(int Index);
    void NoneOpt_Click(int Index);
    void Text1_KeyPress(int Index, int &KeyAscii);   // KeyAscii 0 drops the key
    void Text2_KeyPress(int Index, int &KeyAscii);
    void Text1_Click(int Index);
    void Text2_Click(int Index);
    void Text1_Change(int Index);
    void Text2_Change(int Index);
    void Command1_Click(int Index);
    void Command2_Click(int Index);
    void Command3_Click(int Index);
    void Command4_Click(int Index);
    void Start_botton_Click();
    void Cancel_botton_Click();

    // The opener's preparation: Index 0 offers every axis, 1..4 that one
    // axis only; each offered axis starts on None. Ignored while a transfer
    // runs.
    void PrepareAxes(int Index);
    // The block buttons of an axis.
    QPushButton *blockButton(int axis, int j) const;
    bool Running() const { return m_running; }
    // Closed (or closing): an opener makes a new window.
    bool Finished() const { return m_finished; }
    // Whether the window holds the line.
    bool HoldsLine() const { return m_hold && m_hold->owns(); }

protected:
    TransferWindow(ProgramTable &table, QWidget *parent);

    // One chosen axis (1 X .. 4 U) and its registers.
    struct TransferJob {
        int axis, from, to;
    };
    // Before the first axis, with every axis Start will transfer: the
    // result code of a transfer refused whole (the refusal shown), or
    // nothing when it may begin.
    virtual std::optional<int> BeforeTransfer(const std::vector<TransferJob> &jobs)
    {
        (void)jobs;
        return std::nullopt;
    }
    // Transfers one axis (1 X .. 4 U) over from..to; the result code.
    virtual int TransferAxis(int axis, int from, int to) = 0;
    // Whether a result ends the walk through the axes.
    virtual bool StopsAt(int result) const = 0;
    virtual std::optional<ClosingMessage> Closing(int result) const = 0;
    virtual QString ProgressCaption() const = 0;
    // After the walk through the axes, before the progress dialog goes.
    virtual void AfterTransfer() {}
    // Runs the loop over one axis (0 X .. 3 U) on the main window's port, in
    // front of the loaded progress dialog; nothing when there is no main
    // window.
    std::optional<TransferOutcome> RunAxis(int axis, int from, int to, const TransferSteps &steps);

    void closeEvent(QCloseEvent *event) override;

    ProgramTable &m_table;

private:
    void buildLayout();
    void setRangeControls(int axis, bool enabled);
    // Range box Text1 (or Text2 with `to`) of an axis to its handlers.
    void watchRangeBox(int axis, bool to);
    void rangeChange(int axis, bool to);
    void blockClick(int axis, int j);
    bool axisChosen(int axis) const;
    // What Start refuses in the range boxes; empty when they can be sent.
    QString rangeRefusal() const;
    void lockForTransfer();
    // Takes the line for the window, when it is free.
    void holdLine();
    // Gives the line and the monitor back, shows the closing message of
    // TransferResult, unloads the window.
    void finish(std::optional<ClosingMessage> closing);

    std::optional<LineHold> m_hold;
    std::optional<MonitorHold> m_monitor;   // the monitor stays quiet while the window is open
    bool m_running = false;
    bool m_finished = false;
    std::array<int, kAxes * 2> m_restoreDepth{};
};

// Shows a transfer window captioned `caption`, prepared for menu `Index`:
// `open` when it is open, else one made by `make` on the 4-axis program
// table. Nothing, after a message naming the file, when that table cannot
// be used.
TransferWindow *ShowTransferWindow(TransferWindow *open,
                                   const std::function<TransferWindow *(ProgramTable &table)> &make,
                                   const QString &caption, int Index);
