#pragma once
// The progress and pause dialog of the 4-axis program transfers: the axis
// and register in hand, the progress through the axis's range, and Stop,
// Restart and Cancel. Its Tag carries the operator's choice to the running
// transfer: "0" run, "1" paused, "9" cancel. Cancel is offered while paused;
// closing the dialog cancels at any time. The transfer windows load it anew
// for every transfer and unload it when the transfer has ended.

#include "link/LineExchange.h"
#include "transfer/ProgramTransfer.h"

#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class frmMsgPrgDoUp : public QWidget, public ExchangeHooks, public TransferView
{
    Q_OBJECT
public:
    explicit frmMsgPrgDoUp(QWidget *parent = nullptr);
    ~frmMsgPrgDoUp() override;

    QLabel *Label = nullptr;
    QPushButton *RestartBotton = nullptr;
    QPushButton *StopBotton = nullptr;
    QPushButton *CancelBotton = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QString Tag;

    void Form_Load();
    void StopBotton_Click();
    void RestartBotton_Click();
    void CancelBotton_Click();

    // ExchangeHooks: the transfer reads the Tag.
    bool CancelRequested() override { return Tag == u"9"; }
    bool PauseRequested() override { return Tag != u"0" && Tag != u"9"; }

    // TransferView: the label and the progress bar.
    void Begin(int registers) override;
    void Progress(int done) override;
    void Reached(int axis, int reg) override;
    void Ended(bool failed) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The label and the bar follow the transfer at most every kShowMs: a
    // register takes a few ms, and each showing costs more than reading one.
    static constexpr int kShowMs = 200;
    void showSoon();
    void showNow();
    QTimer m_show;
    bool m_showPending = false;
    int m_axis = -1;   // the register in hand; none before the first
    int m_reg = 0;
    int m_done = 0;
};

// Unloads the dialog if loaded, loads it anew with `caption` (Tag "0").
frmMsgPrgDoUp *LoadMsgPrgDoUp(const QString &caption);
// The dialog while it is loaded, else nullptr.
frmMsgPrgDoUp *MsgPrgDoUpWindow();
// Unloads the dialog; nothing happens when it is not loaded.
void UnloadMsgPrgDoUp();
