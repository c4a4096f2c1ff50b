#include "transfer/TransferWindow.h"

#include "link/LinePort.h"
#include "link/MonitorHold.h"
#include "platform/Dialogs.h"
#include "platform/FitToText.h"
#include "platform/ControlEvents.h"
#include "platform/EntryEditing.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "platform/WindowFit.h"
#include "program/ProgramTable.h"
#include "shared/Bounds.h"
#include "shared/Language.h"
#include "shared/RefusalText.h"
#include "shared/Shared.h"
#include "transfer/frmMsgPrgDoUp.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

namespace {

const QString kAxisTitles[kAxes] = {QStringLiteral(" X-Axis "), QStringLiteral(" Y-Axis "),
                                    QStringLiteral(" Z-Axis "), QStringLiteral(" U-Axis ")};

// The refusal, with a line saying what is refused: the boxes are put back
// or left as they are, and the operator could not tell why.
void refuseValue(const QString &why)
{
    MsgBox(WithReason(QStringLiteral("Value can't configure it."), why), MsgButtons::Ok, QStringLiteral("zt260/460"),
           MsgIcon::Critical);
}

// A range box's text as a register number: digits only, 0 to 2000. The
// empty text is no number either.
std::optional<int> rangeNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int v = text.toInt();
    return v <= kRangeLimit ? std::optional<int>(v) : std::nullopt;
}

} // namespace

TransferWindow::TransferWindow(ProgramTable &table, QWidget *parent) : QWidget(parent, Qt::Window), m_table(table)
{
    buildLayout();
    Form_Load();
}

TransferWindow::~TransferWindow() = default;

void TransferWindow::ResetRanges()
{
    TransferFrom = {};
    TransferTo = {};
    SavedFromText = {};
    SavedToText = {};
    BlockFirstClick = {};
}

void TransferWindow::buildLayout()
{
    auto *outer = new QVBoxLayout;
    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    for (int i = 0; i < kAxes; ++i) {
        Frame1[i] = new QGroupBox(kAxisTitles[i], this);
        auto *frame = new QVBoxLayout(Frame1[i]);
        auto *options = new QHBoxLayout;
        AllOpt[i] = new QRadioButton(QStringLiteral("All"), Frame1[i]);
        SelectOpt[i] = new QRadioButton(QStringLiteral("Select"), Frame1[i]);
        NoneOpt[i] = new QRadioButton(QStringLiteral("None"), Frame1[i]);
        for (QRadioButton *o : {AllOpt[i], SelectOpt[i], NoneOpt[i]})
            options->addWidget(o);
        auto *range = new QHBoxLayout;
        Text1[i] = new QLineEdit(Frame1[i]);
        Label1[i] = new QLabel(Frame1[i]);
        Text2[i] = new QLineEdit(Frame1[i]);
        for (QLineEdit *box : {Text1[i], Text2[i]}) {
            box->setMaxLength(5);
            // The design's width, or what the longest number it takes needs.
            FitBoxWidth(box, [box] { return EveryDigit({QString(box->maxLength(), u'0')}); }, 70);
            watchRangeBox(i, box == Text2[i]);
        }
        range->addWidget(Text1[i]);
        range->addWidget(Label1[i]);
        range->addWidget(Text2[i]);
        range->addStretch();
        frame->addLayout(options);
        frame->addLayout(range);
        grid->addWidget(Frame1[i], i, 0);

        auto *blocks = new QGridLayout;
        blocks->setSpacing(2);
        auto &buttons = i == 0 ? Command1 : i == 1 ? Command2 : i == 2 ? Command3 : Command4;
        for (int j = 0; j < kBlockButtons; ++j) {
            buttons[j] = new QPushButton(this);
            buttons[j]->setFixedWidth(36);
            blocks->addWidget(buttons[j], j / 5, j % 5);
            connect(buttons[j], &QPushButton::clicked, this, [this, i, j] { blockClick(i, j); });
        }
        grid->addLayout(blocks, i, 1);

        connect(AllOpt[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) AllOpt_Click(i); });
        connect(SelectOpt[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) SelectOpt_Click(i); });
        connect(NoneOpt[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) NoneOpt_Click(i); });
        connect(Text1[i], &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
        connect(Text2[i], &QLineEdit::textChanged, this, [this, i] { Text2_Change(i); });
    }
    auto *buttons = new QHBoxLayout;
    Start_botton = new QPushButton(QStringLiteral("Start"), this);
    Cancel_botton = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addStretch();
    buttons->addWidget(Start_botton);
    buttons->addWidget(Cancel_botton);
    buttons->addStretch();
    outer->addLayout(buttons);
    FitToScreen(this, outer);
    connect(Start_botton, &QPushButton::clicked, this, &TransferWindow::Start_botton_Click);
    connect(Cancel_botton, &QPushButton::clicked, this, &TransferWindow::Cancel_botton_Click);
}

QPushButton *TransferWindow::blockButton(int axis, int j) const
{
    switch (axis) {
    case 0: return At(Command1, j);
    case 1: return At(Command2, j);
    case 2: return At(Command3, j);
    case 3: return At(Command4, j);
    default: return nullptr;
    }
}

void TransferWindow::Form_Load()
{
    BlockFirstClick.fill(0);
    // The window owns the line until it closes.
    m_monitor.emplace();
    holdLine();
    for (int i = 0; i < kAxes; ++i) {
        Text1[i]->setText(QString::number(TransferFrom[i]));
        Text2[i]->setText(QString::number(TransferTo[i]));
    }
    for (int j = 0; j < kBlockButtons; ++j)
        for (int a = 0; a < kAxes; ++a) {
            blockButton(a, j)->setText(QString::number(j));
            blockButton(a, j)->setEnabled(false);
        }
    for (QLabel *mark : Label1)
        mark->setText(GetRangeMark());
}

void TransferWindow::setRangeControls(int axis, bool enabled)
{
    if (axis < 0 || axis >= kAxes)
        return;
    Text1[axis]->setEnabled(enabled);
    Text2[axis]->setEnabled(enabled);
    for (int j = 0; j < kBlockButtons; ++j)
        blockButton(axis, j)->setEnabled(enabled);
}

void TransferWindow::AllOpt_Click(int Index)
{
    setRangeControls(Index, false);
}

void TransferWindow::SelectOpt_Click(int Index)
{
    setRangeControls(Index, true);
}

void TransferWindow::NoneOpt_Click(int Index)
{
    setRangeControls(Index, false);
}

void TransferWindow::Text1_KeyPress(int, int &KeyAscii)
{
    if (KeyAscii != 8 && (KeyAscii < '0' || KeyAscii > '9'))
        KeyAscii = 0;
}

void TransferWindow::Text2_KeyPress(int Index, int &KeyAscii)
{
    Text1_KeyPress(Index, KeyAscii);
}

void TransferWindow::Text1_Click(int Index)
{
    if (QString *saved = Slot(SavedFromText, Index))
        *saved = Text1[size_t(Index)]->text();
}

void TransferWindow::Text2_Click(int Index)
{
    if (QString *saved = Slot(SavedToText, Index))
        *saved = Text2[size_t(Index)]->text();
}

void TransferWindow::Text1_Change(int Index)
{
    rangeChange(Index, false);
}

void TransferWindow::Text2_Change(int Index)
{
    rangeChange(Index, true);
}

void TransferWindow::rangeChange(int axis, bool to)
{
    if (axis < 0 || axis >= kAxes)
        return;
    QLineEdit *box = to ? Text2[axis] : Text1[axis];
    const QString text = box->text();
    if (text.isEmpty())
        return;   // stores nothing; Start refuses an empty box
    if (const auto v = rangeNumber(text)) {
        (to ? TransferTo : TransferFrom)[axis] = int16_t(*v);
        return;
    }
    int &depth = m_restoreDepth[size_t(axis * 2 + (to ? 1 : 0))];
    if (depth > 0) {
        box->clear();   // the text put back was refused as well
        return;
    }
    refuseValue(QStringLiteral("A register box takes 0 to %1, not \"%2\".").arg(kRangeLimit).arg(text));
    ++depth;
    box->setText((to ? SavedToText : SavedFromText)[axis]);
    --depth;
}

void TransferWindow::Command1_Click(int Index)
{
    blockClick(0, Index);
}

void TransferWindow::Command2_Click(int Index)
{
    blockClick(1, Index);
}

void TransferWindow::Command3_Click(int Index)
{
    blockClick(2, Index);
}

void TransferWindow::Command4_Click(int Index)
{
    blockClick(3, Index);
}

void TransferWindow::blockClick(int axis, int j)
{
    if (axis < 0 || axis >= kAxes || j < 0 || j >= kBlockButtons)
        return;
    for (int a = 0; a < kAxes; ++a)
        if (a != axis)
            BlockFirstClick[a] = 0;
    const int first = j * 100;
    const int last = first + 99;
    // A second click needs the From number; with the box emptied it starts
    // a new range instead.
    const auto from = rangeNumber(Text1[axis]->text());
    if (BlockFirstClick[axis] && from) {
        if (first < *from)
            Text1[axis]->setText(QString::number(first));
        else
            Text2[axis]->setText(QString::number(last));
        BlockFirstClick[axis] = 0;
        return;
    }
    Text1[axis]->setText(QString::number(first));
    Text2[axis]->setText(QString::number(last));
    BlockFirstClick[axis] = 1;
}

void TransferWindow::PrepareAxes(int Index)
{
    if (m_running || Index < 0 || Index > kAxes)
        return;
    for (int j = 0; j < kAxes; ++j) {
        const bool offered = Index == 0 || j == Index - 1;
        Frame1[j]->setEnabled(offered);
        SelectOpt[j]->setEnabled(offered);
        AllOpt[j]->setEnabled(offered);
        if (Index != 0)
            NoneOpt[j]->setEnabled(offered);
        if (offered)
            NoneOpt[j]->setChecked(true);
        // Boxes and block buttons wait for Select, on every axis.
        setRangeControls(j, false);
    }
}

bool TransferWindow::axisChosen(int axis) const
{
    return Frame1[axis]->isEnabled() && !NoneOpt[axis]->isChecked()
           && (SelectOpt[axis]->isChecked() || AllOpt[axis]->isChecked());
}

QString TransferWindow::rangeRefusal() const
{
    for (int i = 0; i < kAxes; ++i) {
        const QString axis = kAxisTitles[i].trimmed();
        for (const QLineEdit *box : {Text1[i], Text2[i]})
            if (box->text().isEmpty())
                return QStringLiteral("The %1 %2 box is empty.").arg(axis, box == Text1[i] ? "From" : "To");
        // A range the unit does not hold is refused before anything is sent.
        if (axisChosen(i) && SelectOpt[i]->isChecked()) {
            const auto from = rangeNumber(Text1[i]->text());
            const auto to = rangeNumber(Text2[i]->text());
            if (!from || !to)
                return QStringLiteral("The %1 range is no pair of register numbers.").arg(axis);
            if (*from > *to)
                return QStringLiteral("%1: From %2 comes after To %3.").arg(axis).arg(*from).arg(*to);
            if (*to >= kRangeLimit)
                return QStringLiteral("%1: To %2 is past the last register, %3.")
                    .arg(axis)
                    .arg(*to)
                    .arg(kRangeLimit - 1);
        }
    }
    return {};
}

void TransferWindow::lockForTransfer()
{
    Start_botton->setEnabled(false);
    for (int i = 0; i < kAxes; ++i) {
        for (QWidget *w : std::initializer_list<QWidget *>{AllOpt[i], SelectOpt[i], NoneOpt[i]})
            w->setEnabled(false);
        setRangeControls(i, false);
    }
}

void TransferWindow::holdLine()
{
    m_hold.emplace(LineUser::Transfer);
    // Standing open with nothing running, the window itself keeps the line:
    // a transfer refused meanwhile names it.
    m_hold->NameIdleHolder([this] { return m_running ? QString() : windowTitle().trimmed(); });
}

void TransferWindow::Start_botton_Click()
{
    if (m_running || m_finished)
        return;
    if (const QString why = rangeRefusal(); !why.isEmpty()) {
        refuseValue(why);
        return;
    }
    MSComm *port = LinePort();
    if (!port || !port->PortOpen()) {
        g.TransferResult = kResultPortClosed;
        finish(Closing(g.TransferResult));
        return;
    }
    if (!HoldsLine()) {
        // Another transfer held the line when this window opened.
        m_hold.reset();
        holdLine();
        if (!HoldsLine()) {
            TellTransferUsesLine();
            return;
        }
    }

    std::vector<TransferJob> jobs;
    for (int i = 0; i < kAxes; ++i) {
        if (!axisChosen(i))
            continue;
        if (AllOpt[i]->isChecked())
            jobs.push_back({i + 1, 0, kRangeLimit - 1});
        else
            jobs.push_back({i + 1, *rangeNumber(Text1[i]->text()), *rangeNumber(Text2[i]->text())});
    }

    g.TransferResult = 0;
    m_running = true;
    lockForTransfer();
    if (const auto refused = BeforeTransfer(jobs)) {
        g.TransferResult = *refused;
        m_running = false;
        finish(Closing(g.TransferResult));
        return;
    }
    LoadMsgPrgDoUp(ProgressCaption())->show();
    for (const TransferJob &job : jobs) {
        g.TransferResult = TransferAxis(job.axis, job.from, job.to);
        if (StopsAt(g.TransferResult))
            break;
    }
    AfterTransfer();
    UnloadMsgPrgDoUp();
    m_running = false;
    finish(Closing(g.TransferResult));
}

std::optional<TransferOutcome> TransferWindow::RunAxis(int axis, int from, int to, const TransferSteps &steps)
{
    UnitLink *link = LineLink();
    if (!link)
        return std::nullopt;
    frmMsgPrgDoUp *dialog = MsgPrgDoUpWindow();
    return RunRegisterTransfer(*link, dialog, axis, from, to, steps, dialog);
}

void TransferWindow::Cancel_botton_Click()
{
    if (m_running) {
        // Ends the transfer at once; Start then closes the window.
        if (frmMsgPrgDoUp *d = MsgPrgDoUpWindow())
            d->CancelBotton_Click();
        return;
    }
    finish(std::nullopt);
}

void TransferWindow::finish(std::optional<ClosingMessage> closing)
{
    if (m_finished)
        return;
    m_finished = true;
    // The line is free and the monitor polls again (unless the I/O window
    // polls) before the operator reads how the transfer ended.
    m_hold.reset();
    m_monitor.reset();
    if (closing)
        ShowClosing(*closing);
    hide();
    deleteLater();
}

void TransferWindow::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        Cancel_botton_Click();
        event->ignore();
        return;
    }
    finish(std::nullopt);
    event->accept();
}

void TransferWindow::watchRangeBox(int axis, bool to)
{
    WatchControl(to ? Text2[size_t(axis)] : Text1[size_t(axis)], [this, axis, to](QEvent *event) {
        if (event->type() == QEvent::MouseButtonPress) {
            to ? Text2_Click(axis) : Text1_Click(axis);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        // Characters are judged; editing keys (arrows, Delete, the
        // clipboard's) pass, and what they leave is checked as a change.
        return EntryEditing::dropsKey(static_cast<QKeyEvent *>(event), [this, axis, to](int &key) {
            if (key < 0x20 && key != 8 && key != 13)
                return;
            to ? Text2_KeyPress(axis, key) : Text1_KeyPress(axis, key);
        });
    });
}

TransferWindow *ShowTransferWindow(TransferWindow *open,
                                   const std::function<TransferWindow *(ProgramTable &table)> &make,
                                   const QString &caption, int Index)
{
    TransferWindow *w = open;
    if (!w) {
        ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
        if (const auto refused = table.Open()) {
            MsgBox(*refused, MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
            return nullptr;
        }
        w = make(table);
    }
    w->setWindowTitle(caption);
    w->PrepareAxes(Index);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}
