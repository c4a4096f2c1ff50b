// The main window's program transfers of the 2-axis unit: one axis at a
// time on the shared register loop, and the run that the menus and the
// 2-axis editor start, which holds the line for every axis it transfers and
// ends with one closing message.

#include "link/LineOwner.h"
#include "link/MessageWindowHooks.h"
#include "link/MonitorHold.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "program/ProgramEditorWindow.h"
#include "program/ProgramTable.h"
#include "program/frmPrgEdit.h"
#include "shared/Shared.h"
#include "transfer/ProgramSteps.h"
#include "transfer/ProgramSteps2.h"

#include <QAction>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <memory>
#include <vector>

namespace {

// The register in hand in the wait window's second line, the progress on
// the main window's bar. Both are drawn once the request is out, while the
// unit answers, not between an answer and the next command (or at the next
// pass of events when no request follows, as in a pause).
class WaitWindowView : public TransferView
{
public:
    explicit WaitWindowView(QProgressBar *bar) : m_bar(bar)
    {
        m_show.setSingleShot(true);
        QObject::connect(&m_show, &QTimer::timeout, [this] { showNow(); });
    }
    void Begin(int registers) override
    {
        m_bar->setRange(0, registers);
        m_done = 0;
        m_bar->setValue(0);
    }
    void Progress(int done) override
    {
        m_done = done;
        showSoon();
    }
    void Reached(int axis, int reg) override
    {
        m_axis = axis;
        m_reg = reg;
        showSoon();
    }
    void RequestOut() override
    {
        if (m_show.isActive())
            showNow();
    }
    void Ended(bool) override
    {
        if (m_show.isActive())
            showNow();
    }

private:
    void showSoon()
    {
        if (!m_show.isActive())
            m_show.start(0);
    }
    void showNow()
    {
        m_show.stop();
        if (m_axis >= 0)
            SetMessageLine2(RegisterCaption(m_axis, m_reg));
        m_bar->setValue(m_done);
    }

    QProgressBar *m_bar;
    QTimer m_show;
    int m_axis = -1;
    int m_reg = 0;
    int m_done = 0;
};

// Set by a run for every axis after its first.
bool nextAxisOfRun = false;
// The words a download run checked before its first axis; the axes send them.
std::shared_ptr<DownloadWords> runWords;

bool isTwoAxisAxis(int axis)
{
    return axis >= 0 && axis < AxisCount(UnitKind::TwoAxis);
}

// Runs registers 0 to 53 of one axis (0 X, 1 Y) with the wait window's
// Cancel; the table must be open. `followsAxis`: the axis before it in the
// same run ended with every answer taken, so the line is quiet and one read
// empties the receive side.
TransferOutcome runAxis(frmMain &m, int axis, TransferSteps steps, bool followsAxis)
{
    steps.timeoutMs = m.ProgramReplyTimeoutMs;
    if (followsAxis)
        steps.clear = ClearHow::Once;
    MessageWindowHooks hooks;
    WaitWindowView view(m.ProgressBar1);
    return RunRegisterTransfer(*m.Link, &hooks, axis, 0, LastRegister(UnitKind::TwoAxis), steps, &view);
}

// The editor's DownLoad and UpLoad start nothing while a run lasts; an
// editor opened meanwhile asks ProgramTransfer2Running().
class EditorTransferMenus
{
public:
    explicit EditorTransferMenus(bool &running) : m_running(running)
    {
        m_running = true;
        setEnabled(false);
    }
    ~EditorTransferMenus()
    {
        m_running = false;
        setEnabled(true);
    }

private:
    static void setEnabled(bool enabled)
    {
        if (frmPrgEdit *editor = PrgEditWindow()) {
            editor->DownLoad->setEnabled(enabled);
            editor->UpLoad->setEnabled(enabled);
        }
    }
    bool &m_running;
};

} // namespace

int frmMain::PrgramDownLoad(int axis)
{
    const int a = axis - 1;
    const int last = LastRegister(UnitKind::TwoAxis);
    if (!isTwoAxisAxis(a))
        return DownloadResultCode({}, 0, -1);   // nothing sent
    const auto words = runWords ? runWords
                                : std::make_shared<DownloadWords>(ProgramTableOf(UnitKind::TwoAxis), UnitKind::TwoAxis);
    const TransferOutcome out = runAxis(*this, a, DownloadSteps2(words, a), nextAxisOfRun);
    return DownloadResultCode(out, 0, last);
}

int frmMain::ProgramUpLoad(int axis)
{
    if (!isTwoAxisAxis(axis))
        return UploadResultCode({});   // nothing read
    return UploadResultCode(runAxis(*this, axis, UploadSteps2(ProgramTableOf(UnitKind::TwoAxis), axis), nextAxisOfRun));
}

std::optional<int> frmMain::RunProgramTransfer2(bool download, int Index, const QString &title)
{
    // Index 0: X and Y; 1 and 2: that axis. The unit has no other.
    std::vector<int> axes;
    for (int a = 0; a < AxisCount(UnitKind::TwoAxis); ++a)
        if (Index == 0 || Index == a + 1)
            axes.push_back(a);
    if (axes.empty())
        return std::nullopt;
    LineHold hold(LineUser::Transfer);
    if (!hold.owns()) {
        TellTransferUsesLine();
        return std::nullopt;
    }
    ProgramTable *table = OpenProgramTableOrTell(UnitKind::TwoAxis);
    if (!table)
        return std::nullopt;
    // Every register of every axis is encoded before the first goes out: one
    // that cannot be sent refuses the download whole, and the unit keeps the
    // program it holds.
    std::shared_ptr<DownloadWords> words;
    if (download) {
        words = std::make_shared<DownloadWords>(*table, UnitKind::TwoAxis);
        std::vector<DownloadRange> ranges;
        for (int a : axes)
            ranges.push_back({a, 0, LastRegister(UnitKind::TwoAxis)});
        if (const auto refused = words->Check(ranges)) {
            hold.release();
            const int code = RefuseDownload(*refused);
            g.TransferResult = code;
            if (const auto closing = DownloadClosing(code))
                ShowClosing(*closing);
            return code;
        }
    }

    EditorTransferMenus locked(m_program2Running);
    SetMessageLine1(title);
    SetMessageLine2(QString());
    ShowMessageWindow(true);
    MonitorHold monitor;

    int code = 0;
    for (int a : axes) {
        nextAxisOfRun = a != axes.front();
        runWords = words;
        code = download ? PrgramDownLoad(a + 1) : ProgramUpLoad(a);
        runWords.reset();
        nextAxisOfRun = false;
        const bool done = download ? code < kResultErrorBase : code == 0;
        if (!done)
            break;
    }
    g.TransferResult = code;

    Link->PositionReplyPending = 0;
    Link->SpeedReplyPending = 0;
    ProgressBar1->setValue(0);
    // The line is free and the monitor polls again (unless the I/O window
    // polls) before the operator reads how the transfer ended.
    hold.release();
    monitor.resume();
    UnloadMessageWindow();
    // What was read before a failure or a cancel is stored: an open editor
    // shows it.
    if (!download)
        table->RequestRefresh();
    if (const auto closing = download ? DownloadClosing(code) : UploadClosing(code))
        ShowClosing(*closing);
    return code;
}
