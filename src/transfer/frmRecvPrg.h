#pragma once
// The program upload window of the 4-axis unit (see TransferWindow).

#include "transfer/TransferWindow.h"

class frmRecvPrg : public TransferWindow
{
    Q_OBJECT
public:
    explicit frmRecvPrg(ProgramTable &table, QWidget *parent = nullptr);
    ~frmRecvPrg() override;

    // The axis of the upload in progress, 0 X .. 3 U.
    int UploadAxis = 0;

    // Reads registers from..to of one axis (1 X .. 4 U) from the unit into
    // the program table, in front of the loaded progress dialog (without
    // one: no pause, no cancel, nothing shown). The result code: 0 when
    // done, r + 2001 after a failure at register r, 9999 when cancelled. An
    // axis outside 1..4 transfers nothing and gives 0.
    int ProgramUpLoad(int axis, int from, int to);

protected:
    int TransferAxis(int axis, int from, int to) override { return ProgramUpLoad(axis, from, to); }
    bool StopsAt(int result) const override { return result >= 2000; }
    std::optional<ClosingMessage> Closing(int result) const override { return UploadClosing(result); }
    QString ProgressCaption() const override { return QStringLiteral("ZT260A/ZT460A UpLoad"); }
    void AfterTransfer() override;
};

// The open upload window, else nullptr.
frmRecvPrg *RecvPrgWindow();
// As ShowSendPrg, for the upload window, captioned " Upload Program ".
frmRecvPrg *ShowRecvPrg(int Index);
