#include "program/frmPrgEdit2.h"

#include "mainwin/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "platform/PickerBox.h"
#include "platform/TabStrip.h"
#include "program/ProgramTable.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
frmPrgEdit2 *editorWindow = nullptr;

// Lengths of the window's design are in twips, 15 to a pixel on the screen
// it was drawn for.
constexpr int kTwipsPerPixel = 15;
int pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

int buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

// The character a key types, as the key handlers take it: Backspace 8,
// Enter 13, a printable or control character; 0 for keys that type nothing
// (arrows, Delete, Tab, shortcuts).
int typedChar(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return 0;
    default: break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const QString text = e->text();
    return text.isEmpty() ? 0 : text[0].unicode();
}

// Key codes of the arrows and Enter as the text entry's key-down handler
// takes them; 0 for any other key.
int keyDownCode(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    default: return 0;
    }
}
} // namespace

frmPrgEdit2 *PrgEdit2Window()
{
    return editorWindow;
}

frmPrgEdit2::frmPrgEdit2(ProgramTable &table, QWidget *parent)
    : QWidget(parent, Qt::Window), logic(table), Data1(table)
{
    editorWindow = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ZT460A Program Editor"));
    buildLayout();
    wire();
    Form_Load();
}

frmPrgEdit2::~frmPrgEdit2()
{
    unload();
    // The grid and the editors on it go first, and their events and signals
    // no longer reach this window on their way out.
    MSFlexGrid1->viewport()->removeEventFilter(this);
    MSFlexGrid1->removeEventFilter(this);
    TextInput1->removeEventFilter(this);
    MSFlexGrid1->verticalScrollBar()->disconnect(this);
    MSFlexGrid1->horizontalScrollBar()->disconnect(this);
    TextInput1->disconnect(this);
    delete MSFlexGrid1;
    MSFlexGrid1 = nullptr;
}

void frmPrgEdit2::buildLayout()
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(pixels(120), 0, pixels(120), pixels(60));
    box->setSpacing(0);

    menuBar = new QMenuBar(this);
    Edit = menuBar->addMenu(QStringLiteral("Edit"));
    EditItem[0] = Edit->addAction(QStringLiteral("Cut"));
    EditItem[1] = Edit->addAction(QStringLiteral("Copy"));
    EditItem[2] = Edit->addAction(QStringLiteral("Paste"));
    EditItem[3] = Edit->addSeparator();
    EditItem[4] = Edit->addAction(QStringLiteral("Clear"));
    DownLoad = menuBar->addAction(QStringLiteral("DownLoad"));
    UpLoad = menuBar->addAction(QStringLiteral("UpLoad"));
    box->setMenuBar(menuBar);

    QStringList captions;
    for (int t = 0; t < kRegisterPages; ++t)
        captions << RegisterPageCaption(t);
    SSTab1 = new TabStrip(captions, 10, this);
    box->addWidget(SSTab1);

    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setModel(&logic.model);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(false);
    MSFlexGrid1->horizontalHeader()->setHighlightSections(false);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setTabKeyNavigation(false);
    MSFlexGrid1->setWordWrap(false);
    // The program moves the cursor without the view following it, so a
    // page chosen stays in sight while the cursor returns to register 0.
    MSFlexGrid1->setAutoScroll(false);
    box->addWidget(MSFlexGrid1, 1);

    auto pickers = [this](InPlace e) {
        auto *p = new PickerBox(PickerItems(Editor4::ListOf(e)), MSFlexGrid1->viewport());
        p->setFocusPolicy(Qt::NoFocus);
        p->hide();
        return p;
    };
    X_CMD = pickers(InPlace::X_CMD);
    EX_CMD = pickers(InPlace::EX_CMD);
    Y_CMD = pickers(InPlace::Y_CMD);
    EY_CMD = pickers(InPlace::EY_CMD);
    Spd = pickers(InPlace::Spd);
    Tim = pickers(InPlace::Tim);
    TextInput1 = new QLineEdit(MSFlexGrid1->viewport());
    TextInput1->setFrame(false);
    TextInput1->hide();

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    Label1 = new QLabel(this);
    Label1->setFixedWidth(pixels(975));
    bottom->addWidget(Label1);
    ExitBotton = new QPushButton(QStringLiteral("Exit"), this);
    ExitBotton->setFixedSize(pixels(2295), pixels(495));
    ExitBotton->setAutoDefault(false);
    bottom->addWidget(ExitBotton);
    bottom->addSpacing(pixels(120));
    box->addSpacing(pixels(100));
    box->addLayout(bottom);

    resize(pixels(10530), pixels(7875));
}

void frmPrgEdit2::wire()
{
    for (int i : {0, 1, 2, 4})
        connect(EditItem[std::size_t(i)], &QAction::triggered, this, [this, i] { EditItem_Click(i); });
    connect(DownLoad, &QAction::triggered, this, &frmPrgEdit2::DownLoad_Click);
    connect(UpLoad, &QAction::triggered, this, &frmPrgEdit2::UpLoad_Click);
    connect(SSTab1, &TabStrip::Click, this, &frmPrgEdit2::SSTab1_Click);
    connect(ExitBotton, &QPushButton::clicked, this, &frmPrgEdit2::ExitBotton_Click);

    for (InPlace e : {InPlace::X_CMD, InPlace::EX_CMD, InPlace::Y_CMD, InPlace::EY_CMD, InPlace::Spd, InPlace::Tim}) {
        auto *picker = static_cast<PickerBox *>(editorWidget(e));
        connect(picker, &PickerBox::Click, this, [this, e](int index) {
            logic.PickerClick(e, index);
            sync(true);
        });
    }
    connect(TextInput1, &QLineEdit::textEdited, this, [this](const QString &text) {
        logic.editor(InPlace::TextInput1).Text = text;
        logic.TextInput1_Change();
        sync();
    });
    TextInput1->installEventFilter(this);
    MSFlexGrid1->installEventFilter(this);
    MSFlexGrid1->viewport()->installEventFilter(this);
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, &frmPrgEdit2::onScrolled);
    connect(MSFlexGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &frmPrgEdit2::onScrolled);
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::rangeChanged, this, &frmPrgEdit2::updateMaxTopRow);
    connect(&Data1, &ProgramTable::refreshRequested, this, [this] {
        logic.Refresh();
        sync();
    });
}

QWidget *frmPrgEdit2::editorWidget(InPlace e) const
{
    switch (e) {
    case InPlace::X_CMD: return X_CMD;
    case InPlace::Y_CMD: return Y_CMD;
    case InPlace::EX_CMD: return EX_CMD;
    case InPlace::EY_CMD: return EY_CMD;
    case InPlace::Spd: return Spd;
    case InPlace::Tim: return Tim;
    default: return TextInput1;
    }
}

// ---- loading, activation, pages, menus, exit ---------------------------------

void frmPrgEdit2::Form_Load()
{
    if (frmMain *m = MainWindow()) {
        m_monitorWasOn = m->Timer1->isActive();
        m->Timer1->stop();
    }
    for (int col = 0; col < kProgramFields; ++col)
        MSFlexGrid1->setColumnWidth(col, pixels(ColumnWidthTwips(col)));
    // Rows as high as a picker, so a picker covers its cell.
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(X_CMD->sizeHint().height());
    logic.Refresh();
    logic.WriteHeaders();
}

void frmPrgEdit2::Form_Activate()
{
    logic.Form_Activate();
    sync();
    MSFlexGrid1->viewport()->update();
}

void frmPrgEdit2::SSTab1_Click(int)
{
    logic.SSTab1_Click(SSTab1->Tab());
    sync();
}

namespace {
// The transfer menus start nothing while the port is closed.
bool portOpenOrTell()
{
    frmMain *m = MainWindow();
    if (m && m->MSComm1->PortOpen())
        return true;
    MsgBox(QStringLiteral("The port is not open."), MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"),
           MsgIcon::Information);
    return false;
}
}

void frmPrgEdit2::DownLoad_Click()
{
    if (!portOpenOrTell())
        return;
    ShowSendPrg(0);
}

void frmPrgEdit2::UpLoad_Click()
{
    if (!portOpenOrTell())
        return;
    ShowRecvPrg(0);
}

void frmPrgEdit2::EditItem_Click(int index)
{
    logic.EditItem_Click(index);
    sync();
}

void frmPrgEdit2::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (editorWindow == this)
        editorWindow = nullptr;
    // Every store is committed as it is made, so nothing is pending here.
    if (frmMain *m = MainWindow())
        m->ResumeMonitor(m_monitorWasOn);
}

void frmPrgEdit2::ExitBotton_Click()
{
    unload();
    close();
}

void frmPrgEdit2::closeEvent(QCloseEvent *event)
{
    // The close box does what Exit does.
    unload();
    event->accept();
}

void frmPrgEdit2::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (!isActiveWindow()) {
        // Coming back from another window of the program counts as a new
        // activation; coming back from a message box or another program
        // does not.
        QWidget *now = QApplication::activeWindow();
        m_activateOnReturn = now && now != this && !qobject_cast<QDialog *>(now);
        return;
    }
    if (m_activateOnReturn) {
        m_activateOnReturn = false;
        Form_Activate();
    }
}

void frmPrgEdit2::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateMaxTopRow();
    sync();
}

// ---- the view ------------------------------------------------------------------

int frmPrgEdit2::viewTopRow() const
{
    const int r = MSFlexGrid1->rowAt(0);
    return RowOfRegister(r < 0 ? 0 : r);
}

QRect frmPrgEdit2::cellRect(int row, int col) const
{
    return MSFlexGrid1->visualRect(logic.model.index(RegisterOfRow(row), col));
}

void frmPrgEdit2::updateMaxTopRow()
{
    logic.grid.setMaxTopRow(RowOfRegister(MSFlexGrid1->verticalScrollBar()->maximum()));
    logic.grid.setTopRow(viewTopRow());
}

void frmPrgEdit2::onScrolled()
{
    logic.grid.setTopRow(viewTopRow());
    if (!m_following)
        logic.MSFlexGrid1_Scroll();
    if (!m_syncing)
        sync();
}

void frmPrgEdit2::sync(bool follow)
{
    if (m_syncing)
        return;
    m_syncing = true;
    const FlexGrid &grid = logic.grid;
    const QModelIndex cursor = logic.model.index(RegisterOfRow(grid.Row()), grid.Col());

    if (follow) {
        m_following = true;
        MSFlexGrid1->scrollTo(cursor);
        m_following = false;
    } else if (grid.TopRow() != viewTopRow()) {
        MSFlexGrid1->verticalScrollBar()->setValue(RegisterOfRow(grid.TopRow()));
    }

    QItemSelectionModel *sel = MSFlexGrid1->selectionModel();
    if (grid.SingleCell()) {
        sel->clearSelection();
    } else {
        const QModelIndex a = logic.model.index(RegisterOfRow(std::min(grid.Row(), grid.RowSel())),
                                                std::min(grid.Col(), grid.ColSel()));
        const QModelIndex b = logic.model.index(RegisterOfRow(std::max(grid.Row(), grid.RowSel())),
                                                std::max(grid.Col(), grid.ColSel()));
        sel->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
    }
    sel->setCurrentIndex(cursor, QItemSelectionModel::NoUpdate);

    for (int i = 0; i < kInPlaceEditors; ++i) {
        const InPlace e = InPlace(i);
        const InPlaceEditor &state = logic.editor(e);
        QWidget *w = editorWidget(e);
        if (!state.Visible) {
            w->hide();
            continue;
        }
        const QRect cell = cellRect(state.row, state.col);
        // A picker is at least wide enough to show a mnemonic beside its arrow.
        const int width = e == InPlace::TextInput1
                              ? pixels(state.WidthTwips)
                              : std::max({pixels(state.WidthTwips), cell.width(), w->minimumSizeHint().width()});
        w->setGeometry(cell.x(), cell.y(), width, cell.height());
        if (e == InPlace::TextInput1) {
            if (TextInput1->text() != state.Text)
                TextInput1->setText(state.Text);
            TextInput1->setCursorPosition(int(state.Text.size()));
        } else {
            static_cast<PickerBox *>(w)->setText(state.Text);
        }
        w->show();
        w->raise();
    }

    Label1->setText(logic.Label1);
    switch (logic.focus) {
    case Editor4::Focus::Grid: MSFlexGrid1->setFocus(); break;
    case Editor4::Focus::Text:
        if (TextInput1->isVisible())
            TextInput1->setFocus();
        break;
    case Editor4::Focus::Unchanged: break;
    }
    logic.focus = Editor4::Focus::Unchanged;
    m_syncing = false;
}

// ---- events ------------------------------------------------------------------

bool frmPrgEdit2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MSFlexGrid1->viewport())
        return gridMouse(event);
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == MSFlexGrid1)
        return gridKey(key);
    if (watched == TextInput1)
        return textKey(key);
    return false;
}

bool frmPrgEdit2::gridMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *m = static_cast<QMouseEvent *>(event);
        const int button = buttonCode(m->button());
        MSFlexGrid1->setFocus();
        if (button == 1) {
            const QModelIndex at = MSFlexGrid1->indexAt(m->position().toPoint());
            // Shift extends the selection from the cursor to the cell.
            if (at.isValid() && (m->modifiers() & Qt::ShiftModifier)) {
                logic.grid.setRowSel(RowOfRegister(at.row()));
                logic.grid.setColSel(at.column());
            } else if (at.isValid()) {
                logic.grid.setCursor(RowOfRegister(at.row()), at.column());
            }
            m_dragButton = 1;
        }
        logic.MSFlexGrid1_MouseDown(button);
        sync();
        return true;
    }
    case QEvent::MouseMove: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (m_dragButton != 1 || !(m->buttons() & Qt::LeftButton))
            return true;
        QPoint p = m->position().toPoint();
        // Dragging past the edge scrolls the grid on.
        QScrollBar *v = MSFlexGrid1->verticalScrollBar();
        const QRect area = MSFlexGrid1->viewport()->rect();
        if (p.y() < 0)
            v->setValue(v->value() - 1);
        else if (p.y() >= area.height())
            v->setValue(v->value() + 1);
        p.setY(std::clamp(p.y(), 0, area.height() - 1));
        p.setX(std::clamp(p.x(), 0, area.width() - 1));
        const QModelIndex at = MSFlexGrid1->indexAt(p);
        if (at.isValid()) {
            logic.grid.setRowSel(RowOfRegister(at.row()));
            logic.grid.setColSel(at.column());
        }
        sync();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const int button = buttonCode(static_cast<QMouseEvent *>(event)->button());
        if (button == 1)
            m_dragButton = 0;
        logic.MSFlexGrid1_MouseUp(button);
        sync();
        return true;
    }
    default:
        return false;
    }
}

bool frmPrgEdit2::gridKey(QKeyEvent *event)
{
    FlexGrid &grid = logic.grid;
    const int page = std::max(1, MSFlexGrid1->viewport()->height() / std::max(1, MSFlexGrid1->rowHeight(0)) - 1);
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int lastRow = grid.Rows() - 1;
    int rowTo = extend ? grid.RowSel() : grid.Row();
    int colTo = extend ? grid.ColSel() : grid.Col();
    switch (event->key()) {
    case Qt::Key_Up: rowTo -= 1; break;
    case Qt::Key_Down: rowTo += 1; break;
    case Qt::Key_PageUp: rowTo -= page; break;
    case Qt::Key_PageDown: rowTo += page; break;
    case Qt::Key_Left: colTo -= 1; break;
    case Qt::Key_Right: colTo += 1; break;
    case Qt::Key_Home:
        if (ctrl)
            rowTo = kHeaderRows;
        else
            colTo = 0;
        break;
    case Qt::Key_End:
        if (ctrl)
            rowTo = lastRow;
        else
            colTo = grid.Cols() - 1;
        break;
    default: {
        const int ch = typedChar(event);
        if (ch == 0)
            return false;
        logic.MSFlexGrid1_KeyPress(ch);
        sync(true);
        return true;
    }
    }
    rowTo = std::clamp(rowTo, kHeaderRows, lastRow);
    colTo = std::clamp(colTo, 0, grid.Cols() - 1);
    if (extend) {
        // A selection made from the keyboard is widened and recorded as a
        // dragged one is.
        grid.setRowSel(rowTo);
        grid.setColSel(colTo);
        logic.MSFlexGrid1_RowColChange();
    } else {
        grid.setCursor(rowTo, colTo);
    }
    sync(true);
    return true;
}

bool frmPrgEdit2::textKey(QKeyEvent *event)
{
    logic.TextCaret = TextInput1->cursorPosition();
    const int down = keyDownCode(event);
    logic.TextInput1_KeyDown(down);
    bool consumed = down >= 37 && down <= 40;
    if (!consumed) {
        int ch = typedChar(event);
        if (ch != 0) {
            logic.TextInput1_KeyPress(ch);
            consumed = ch == 0;
        }
    }
    sync(true);
    return consumed;
}

// ---- opening -------------------------------------------------------------------

frmPrgEdit2 *ShowPrgEdit2()
{
    frmPrgEdit2 *w = PrgEdit2Window();
    if (!w) {
        ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
        if (const auto refused = table.Open()) {
            MsgBox(*refused, MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
            return nullptr;
        }
        w = new frmPrgEdit2(table, MainWindow());
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}
