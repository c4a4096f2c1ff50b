#include "program/frmPrgEdit.h"

#include "link/LinePort.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/OwnerWindow.h"
#include "platform/PickerBox.h"
#include "platform/WindowFit.h"
#include "program/ColumnFit.h"
#include "program/EditorWindow.h"
#include "program/GridLink.h"
#include "program/ProgramRequests.h"
#include "program/ProgramTable.h"
#include "program/frmEditActMain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
frmPrgEdit *editorWindow = nullptr;
constexpr TwoAxisList kAllLists[kTwoAxisLists] = {TwoAxisList::X_CMD, TwoAxisList::Y_CMD, TwoAxisList::Spd, TwoAxisList::Tim};
}

frmPrgEdit *PrgEditWindow()
{
    return editorWindow;
}

frmPrgEdit::frmPrgEdit(ProgramTable &table, QWidget *parent)
    : ProgramEditorWindow(parent), logic(table), Data1(table)
{
    editorWindow = this;
    setWindowTitle(QStringLiteral("Program Edit"));
    buildLayout();
    wire();
    // A program transfer running when the editor opens keeps its transfer
    // menus until it ends.
    const auto &running = ProgramWindowRequests().transfer2Running;
    const bool free = !running || !running();
    DownLoad->setEnabled(free);
    UpLoad->setEnabled(free);
    Form_Load();
}

frmPrgEdit::~frmPrgEdit()
{
    unload();
    // The grid and the lists on it go first, and their events and signals
    // no longer reach this window on their way out.
    detachGrid();
    MSFlexGrid1 = nullptr;
}

void frmPrgEdit::buildLayout()
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
    EditItem[4] = Edit->addAction(QStringLiteral("ALL Clear"));
    DownLoad = menuBar->addAction(QStringLiteral("DownLoad"));
    UpLoad = menuBar->addAction(QStringLiteral("UpLoad"));

    auto *top = new QHBoxLayout;
    top->setContentsMargins(Pixels(240), Pixels(120), 0, Pixels(60));
    Label5 = new QLabel(QStringLiteral("REG ::"), this);
    Label6 = new QLabel(QStringLiteral("00"), this);
    Label7 = new QLabel(QStringLiteral("/ 53"), this);
    Label5->setFixedWidth(Pixels(840));
    Label6->setFixedWidth(Pixels(360));
    Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(Label5);
    top->addWidget(Label6);
    top->addSpacing(Pixels(60));
    top->addWidget(Label7);
    top->addStretch(1);
    box->addLayout(top);

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
    MSFlexGrid1->setAutoScroll(false);
    box->addWidget(MSFlexGrid1, 1);

    auto picker = [this](TwoAxisList l) {
        auto *p = new PickerBox(PickerItems(TwoAxisEditor::ListOf(l)), MSFlexGrid1->viewport());
        p->setFocusPolicy(Qt::NoFocus);
        p->hide();
        return p;
    };
    X_CMD = picker(TwoAxisList::X_CMD);
    Y_CMD = picker(TwoAxisList::Y_CMD);
    Spd = picker(TwoAxisList::Spd);
    Tim = picker(TwoAxisList::Tim);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    Zt260PrgEditExit = new QPushButton(QStringLiteral("Exit"), this);
    Zt260PrgEditExit->setFixedSize(Pixels(2715), Pixels(555));
    Zt260PrgEditExit->setAutoDefault(false);
    bottom->addWidget(Zt260PrgEditExit);
    bottom->addSpacing(Pixels(120));
    box->addSpacing(Pixels(100));
    box->addLayout(bottom);

    FitToScreen(this, box);
    layout()->setMenuBar(menuBar);
    resize(Pixels(10530), Pixels(8100));
}

void frmPrgEdit::wire()
{
    for (int i : {0, 1, 2, 4})
        connect(EditItem[std::size_t(i)], &QAction::triggered, this, [this, i] { EditItem_Click(i); });
    connect(DownLoad, &QAction::triggered, this, &frmPrgEdit::DownLoad_Click);
    connect(UpLoad, &QAction::triggered, this, &frmPrgEdit::UpLoad_Click);
    connect(Zt260PrgEditExit, &QPushButton::clicked, this, &frmPrgEdit::Zt260PrgEditExit_Click);
    for (TwoAxisList l : kAllLists)
        connect(listWidget(l), &PickerBox::Click, this, [this, l](int index) {
            logic.ListClick(l, index);
            sync(true);
        });
    logic.OpenBlockCopy = [] { ShowEditActMain(); };
    attachGrid(MSFlexGrid1, logic.grid, logic.model, UnitKind::TwoAxis);
    connect(&Data1, &ProgramTable::refreshRequested, this, [this] {
        logic.Refresh();
        sync();
    });
}

PickerBox *frmPrgEdit::listWidget(TwoAxisList l) const
{
    switch (l) {
    case TwoAxisList::X_CMD: return X_CMD;
    case TwoAxisList::Y_CMD: return Y_CMD;
    case TwoAxisList::Spd: return Spd;
    default: return Tim;
    }
}

// ---- loading, activation, menus, exit ----------------------------------------

void frmPrgEdit::Form_Load()
{
    pauseMonitor();
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    layOutGrid();
    logic.model.setHeaderAlignment(Qt::AlignCenter);
}

void frmPrgEdit::layOutGrid()
{
    FitProgramColumns(MSFlexGrid1, UnitKind::TwoAxis, X_CMD);
    // Rows as high as a list, so a list covers its cell.
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(X_CMD->sizeHint().height());
}

void frmPrgEdit::Form_Activate()
{
    logic.Form_Activate();
    sync();
    MSFlexGrid1->viewport()->update();
}

void frmPrgEdit::DownLoad_Click()
{
    runTransfer(true);
}

void frmPrgEdit::UpLoad_Click()
{
    runTransfer(false);
}

void frmPrgEdit::runTransfer(bool download)
{
    const QString question = download ? QStringLiteral("Start DownLoad ?") : QStringLiteral("Start UpLoad ?");
    if (MsgBox(question, MsgButtons::OkCancel, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Question) != MsgResult::Ok)
        return;
    if (!PortOpenOrTell())
        return;
    // X, then Y; the main window tells how it ended. The editor may be
    // closed while the unit answers.
    emit ProgramWindowRequests().runProgramTransfer2(
        download, 0, download ? QStringLiteral("Data download PROGRAM") : QStringLiteral("Data upload PROGRAM"));
}

void frmPrgEdit::EditItem_Click(int index)
{
    logic.EditItem_Click(index);
    sync();
}

void frmPrgEdit::forget()
{
    if (editorWindow == this)
        editorWindow = nullptr;
}

void frmPrgEdit::Zt260PrgEditExit_Click()
{
    unload();
    close();
}

// ---- the view ------------------------------------------------------------------

void frmPrgEdit::gridScrolled()
{
    logic.MSFlexGrid1_Scroll();
}

void frmPrgEdit::sync(bool follow)
{
    if (m_syncing)
        return;
    m_syncing = true;
    m_link->show(follow);
    for (TwoAxisList l : kAllLists) {
        const InPlaceEditor &state = logic.list(l);
        PickerBox *w = listWidget(l);
        if (!state.Visible) {
            w->hide();
            continue;
        }
        // A list covers its cell and no more: the columns are wide enough
        // for it, and the cell beside stays readable.
        w->setGeometry(cellRect(state.row, state.col));
        w->setText(state.Text, CurrentItem(TwoAxisEditor::ListOf(l), state.Text));
        w->show();
        w->raise();
    }
    Label6->setText(logic.Label6);
    m_syncing = false;
}

// ---- events ------------------------------------------------------------------

bool frmPrgEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MSFlexGrid1->viewport())
        return gridMouse(event);
    if (watched == MSFlexGrid1 && event->type() == QEvent::KeyPress)
        return gridKey(static_cast<QKeyEvent *>(event));
    return false;
}

bool frmPrgEdit::gridMouse(QEvent *event)
{
    const GridMouse m = m_link->mouseEvent(event);
    switch (m.kind) {
    case GridMouse::None: return false;
    case GridMouse::Press: break;
    case GridMouse::DoubleClick:
        sync();
        logic.MSFlexGrid1_DblClick();
        break;
    case GridMouse::Move:
        if (m.button == 0)
            return true;
        break;
    case GridMouse::Release: logic.MSFlexGrid1_MouseUp(m.button); break;
    }
    sync();
    return true;
}

bool frmPrgEdit::gridKey(QKeyEvent *event)
{
    if (PickerBox::OpensList(event)) {
        if (const auto l = logic.ListToOpen()) {
            sync(true);
            listWidget(*l)->showPopup();
        }
        return true;
    }
    if (m_link->navigationKey(event, false) == GridLink::KeyMove::None)
        // Typing on the grid does nothing here; the view must not search.
        return TypedChar(event) != 0;
    sync(true);
    return true;
}

// ---- opening -------------------------------------------------------------------

frmPrgEdit *ShowPrgEdit()
{
    frmPrgEdit *w = PrgEditWindow();
    if (!w) {
        ProgramTable *table = OpenProgramTableOrTell(UnitKind::TwoAxis);
        if (!table)
            return nullptr;
        w = new frmPrgEdit(*table, OwnerWindow());
    }
    BringToFront(w);
    return w;
}
