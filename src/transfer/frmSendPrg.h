#pragma once
// The program download window of the 4-axis unit (see TransferWindow).

#include "transfer/TransferWindow.h"

#include <memory>

class DownloadWords;

class frmSendPrg : public TransferWindow
{
    Q_OBJECT
public:
    explicit frmSendPrg(ProgramTable &table, QWidget *parent = nullptr);
    ~frmSendPrg() override;

    // Writes registers from..to of one axis (1 X .. 4 U) into the unit in
    // front of the loaded progress dialog (without one: no pause, no cancel,
    // nothing shown). Within Start the words checked for every chosen axis
    // are sent; otherwise the axis's own, checked whole first: a register
    // that cannot be sent refuses the axis before its first register. The
    // result code: to + 1 when done (from when from > to), r + 2001 after a
    // failure at register r (or refused, r the first that cannot be sent),
    // 9999 when cancelled.
    int ProgramDownLoad(int axis, int from, int to);

protected:
    // Encodes every register of every chosen axis before the first is
    // sent: one that cannot be sent refuses the whole download.
    std::optional<int> BeforeTransfer(const std::vector<TransferJob> &jobs) override;
    void AfterTransfer() override { m_runWords.reset(); }
    int TransferAxis(int axis, int from, int to) override { return ProgramDownLoad(axis, from, to); }
    bool StopsAt(int result) const override { return result > 2000; }
    std::optional<ClosingMessage> Closing(int result) const override { return DownloadClosing(result); }
    QString ProgressCaption() const override { return QStringLiteral("ZT260A/ZT460A DownLoad"); }

private:
    // The words of the download Start runs, checked before its first axis.
    std::shared_ptr<DownloadWords> m_runWords;
};

// The open download window, else nullptr.
frmSendPrg *SendPrgWindow();
// Opens the download window (or takes the open one) prepared for menu Index
// 0 (every axis) or 1..4 (that axis), captioned " Download Program ", and
// shows it. Nothing, after a message naming the file, when the 4-axis
// program database cannot be used.
frmSendPrg *ShowSendPrg(int Index);
