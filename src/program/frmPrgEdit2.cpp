#include "program/frmPrgEdit2.h"

#include "link/LinePort.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/OwnerWindow.h"
#include "platform/PickerBox.h"
#include "platform/TabStrip.h"
#include "platform/WindowFit.h"
#include "program/BlockCopy.h"
#include "program/ColumnFit.h"
#include "program/EditorWindow.h"
#include "program/GridLink.h"
#include "program/ProgramRequests.h"
#include "program/ProgramTable.h"
#include "program/frmEditAct.h"
#include "program/frmEditActMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
frmPrgEdit2 *editorWindow = nullptr;

// Key codes of the arrows and Enter as the text entry's key-down handler
// takes them; 0 for any other key. An arrow with Alt is no move.
int keyDownCode(const QKeyEvent *e)
{
    if (e->modifiers() & Qt::AltModifier)
        return 0;
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
    : ProgramEditorWindow(parent), logic(table), Data1(table)
{
    editorWindow = this;
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
    TextInput1->removeEventFilter(this);
    TextInput1->disconnect(this);
    detachGrid();
    MSFlexGrid1 = nullptr;
}

void frmPrgEdit2::buildLayout()
{
    auto *box = new QVBoxLayout;
    box->setContentsMargins(Pixels(120), 0, Pixels(120), Pixels(60));
    box->setSpacing(0);

    menuBar = new QMenuBar(this);
    Edit = menuBar->addMenu(QStringLiteral("Edit"));
    EditItem[0] = Edit->addAction(QStringLiteral("Cut"));
    EditItem[1] = Edit->addAction(QStringLiteral("Copy"));
    EditItem[2] = Edit->addAction(QStringLiteral("Paste"));
    EditItem[3] = Edit->addSeparator();
    EditItem[4] = Edit->addAction(QStringLiteral("Clear"));
    Edit->addSeparator();
    BlockCopyItem = Edit->addAction(QStringLiteral("Block Copy"));
    BlockCopyExpandItem = Edit->addAction(QStringLiteral("Block Copy Expand"));
    DownLoad = menuBar->addAction(QStringLiteral("DownLoad"));
    UpLoad = menuBar->addAction(QStringLiteral("UpLoad"));

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
        auto *p = new PickerBox(PickerItems(FourAxisEditor::ListOf(e)), MSFlexGrid1->viewport());
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
    Label1->setFixedWidth(Pixels(975));
    bottom->addWidget(Label1);
    ExitBotton = new QPushButton(QStringLiteral("Exit"), this);
    ExitBotton->setFixedSize(Pixels(2295), Pixels(495));
    ExitBotton->setAutoDefault(false);
    bottom->addWidget(ExitBotton);
    bottom->addSpacing(Pixels(120));
    box->addSpacing(Pixels(100));
    box->addLayout(bottom);

    // At a large font the tabs need more than a small screen's width: the
    // window scrolls, with the menu bar standing above what scrolls.
    FitToScreen(this, box);
    layout()->setMenuBar(menuBar);
    resize(Pixels(10530), Pixels(7875));
}

void frmPrgEdit2::wire()
{
    for (int i : {0, 1, 2, 4})
        connect(EditItem[std::size_t(i)], &QAction::triggered, this, [this, i] { EditItem_Click(i); });
    connect(BlockCopyItem, &QAction::triggered, this, [] { ShowEditActMain(); });
    connect(BlockCopyExpandItem, &QAction::triggered, this, [] { ShowEditAct(); });
    // Nothing opens a block copy window while a block copy runs.
    connect(Edit, &QMenu::aboutToShow, this, [this] {
        BlockCopyItem->setEnabled(!BlockCopyRunning());
        BlockCopyExpandItem->setEnabled(!BlockCopyRunning());
    });
    logic.OpenBlockCopy = [] { ShowEditActMain(); };
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
    attachGrid(MSFlexGrid1, logic.grid, logic.model, UnitKind::FourAxis);
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
    pauseMonitor();
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    layOutGrid();
    logic.Refresh();
    logic.WriteHeaders();
}

void frmPrgEdit2::layOutGrid()
{
    FitProgramColumns(MSFlexGrid1, UnitKind::FourAxis, X_CMD);
    // Rows as high as a picker, so a picker covers its cell.
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(X_CMD->sizeHint().height());
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
    RefitDataColumns();
}

void frmPrgEdit2::DownLoad_Click()
{
    if (!PortOpenOrTell())
        return;
    emit ProgramWindowRequests().showSendPrg(0);
}

void frmPrgEdit2::UpLoad_Click()
{
    if (!PortOpenOrTell())
        return;
    emit ProgramWindowRequests().showRecvPrg(0);
}

void frmPrgEdit2::EditItem_Click(int index)
{
    logic.EditItem_Click(index);
    sync();
}

void frmPrgEdit2::forget()
{
    if (editorWindow == this)
        editorWindow = nullptr;
}

void frmPrgEdit2::ExitBotton_Click()
{
    unload();
    close();
}

// ---- the view ------------------------------------------------------------------

void frmPrgEdit2::gridScrolled()
{
    logic.MSFlexGrid1_Scroll();
}

void frmPrgEdit2::sync(bool follow)
{
    if (m_syncing)
        return;
    m_syncing = true;
    m_link->show(follow);

    for (int i = 0; i < kInPlaceEditors; ++i) {
        const InPlace e = InPlace(i);
        const InPlaceEditor &state = logic.editor(e);
        QWidget *w = editorWidget(e);
        if (!state.Visible) {
            w->hide();
            continue;
        }
        const QRect cell = cellRect(state.row, state.col);
        // The text box covers its cell, which the font may have widened; a
        // picker stays within its cell, so the cell beside stays readable
        // (the columns are wide enough for it).
        const int width = e == InPlace::TextInput1 ? std::max(Pixels(state.WidthTwips), cell.width()) : cell.width();
        w->setGeometry(cell.x(), cell.y(), width, cell.height());
        if (e == InPlace::TextInput1) {
            // The caret goes to the end only after a change; a key that only
            // moves it or selects (Home, Shift+Home, Ctrl+A) is left alone, so
            // the next character replaces the selection or goes in at the caret.
            if (TextInput1->text() != state.Text) {
                TextInput1->setText(state.Text);
                logic.CaretToEnd = true;
            }
            if (logic.CaretToEnd)
                TextInput1->setCursorPosition(int(state.Text.size()));
        } else {
            static_cast<PickerBox *>(w)->setText(state.Text, CurrentItem(FourAxisEditor::ListOf(e), state.Text));
        }
        w->show();
        w->raise();
    }

    logic.CaretToEnd = false;
    Label1->setText(logic.Label1);
    switch (logic.focus) {
    case FourAxisEditor::Focus::Grid: MSFlexGrid1->setFocus(); break;
    case FourAxisEditor::Focus::Text:
        if (TextInput1->isVisible())
            TextInput1->setFocus();
        break;
    case FourAxisEditor::Focus::Unchanged: break;
    }
    logic.focus = FourAxisEditor::Focus::Unchanged;
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
    const GridMouse m = m_link->mouseEvent(event);
    switch (m.kind) {
    case GridMouse::None: return false;
    case GridMouse::Press:
    case GridMouse::DoubleClick: logic.MSFlexGrid1_MouseDown(m.button); break;
    case GridMouse::Move:
        if (m.button == 0)
            return true;
        break;
    case GridMouse::Release: logic.MSFlexGrid1_MouseUp(m.button); break;
    }
    sync();
    return true;
}

bool frmPrgEdit2::gridKey(QKeyEvent *event)
{
    if (PickerBox::OpensList(event)) {
        if (const auto picker = logic.PickerToOpen()) {
            sync(true);
            static_cast<PickerBox *>(editorWidget(*picker))->showPopup();
        }
        return true;
    }
    switch (m_link->navigationKey(event, true)) {
    case GridLink::KeyMove::None: {
        const int ch = TypedChar(event);
        if (ch == 0)
            return false;
        logic.MSFlexGrid1_KeyPress(ch);
        break;
    }
    case GridLink::KeyMove::Extended:
        // A selection made from the keyboard is widened and recorded as a
        // dragged one is.
        logic.MSFlexGrid1_RowColChange();
        break;
    case GridLink::KeyMove::Moved:
    case GridLink::KeyMove::Held: break;
    }
    sync(true);
    return true;
}

bool frmPrgEdit2::textKey(QKeyEvent *event)
{
    // The caret as it stands when the key arrives: with a selection, where
    // the selection begins.
    logic.TextCaret = TextInput1->hasSelectedText() ? TextInput1->selectionStart() : TextInput1->cursorPosition();
    const int down = keyDownCode(event);
    logic.TextInput1_KeyDown(down);
    bool consumed = down >= 37 && down <= 40;
    if (!consumed) {
        int ch = TypedChar(event);
        if (ch != 0) {
            logic.TextInput1_KeyPress(ch);
            consumed = ch == 0;
        } else {
            consumed = TypesPastFilter(event);
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
        ProgramTable *table = OpenProgramTableOrTell(UnitKind::FourAxis);
        if (!table)
            return nullptr;
        w = new frmPrgEdit2(*table, OwnerWindow());
    }
    BringToFront(w);
    return w;
}
