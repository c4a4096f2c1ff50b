#include "params/frmDataGrid1.h"

#include "link/LineOwner.h"
#include "link/LinePort.h"
#include "params/ParamChecks.h"
#include "params/ParamDatabase.h"
#include "params/ParamRequests.h"
#include "params/ParamTables.h"
#include "platform/DataGrid.h"
#include "platform/Dialogs.h"
#include "platform/FitToText.h"
#include "platform/OwnerWindow.h"
#include "platform/WindowFit.h"
#include "shared/AxisFactor.h"
#include "shared/Shared.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

frmDataGrid1 *dataGrid = nullptr;

const QString kTitle = QStringLiteral("ZT260A/ZT460A");

// Cell sizes of the grids (fixed, like the window).
constexpr int kRowHeight = 22;
constexpr int kTitleWidth = 220;
constexpr int kAxisWidth = 90;
constexpr int kSelectorWidth = 22;
constexpr int kGridLeft = 8;
constexpr int kHeadingTop = 6;
constexpr int kGridTop = 26;

// Number the load shows with a database it cannot use.
constexpr int kDatabaseUnusable = 3343;

constexpr std::array<PickList, 7> kLists = {PickList::List1, PickList::List2, PickList::List3, PickList::List8,
                                            PickList::List9, PickList::List10, PickList::List11};

const std::array<const char *, 7> kListNames = {"List1", "List2", "List3", "List8", "List9", "List10", "List11"};

} // namespace

QString DatabaseErrorMessage(const QString &description)
{
    return QStringLiteral("Error:") + QString::number(kDatabaseUnusable) + u' ' + description;
}

frmDataGrid1 *DataGridWindow()
{
    return dataGrid;
}

frmDataGrid1 *ShowDataGridWindow()
{
    frmDataGrid1 *w = DataGridWindow();
    if (!w) {
        w = new frmDataGrid1(OwnerWindow());
        // A database it cannot use has been named to the operator: no
        // window without its grids is left behind.
        if (!w->Form_Load()) {
            delete w;
            return nullptr;
        }
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

frmDataGrid1::frmDataGrid1(QWidget *parent) : QWidget(parent, Qt::Window)
{
    dataGrid = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Parameter/Mode"));
    buildLayout();
}

frmDataGrid1::~frmDataGrid1()
{
    if (dataGrid == this)
        dataGrid = nullptr;
}

void frmDataGrid1::buildLayout()
{
    auto *layout = new QVBoxLayout;
    MenuBar = new QMenuBar(this);
    DownLoad = MenuBar->addAction(QStringLiteral("DownLoad"));
    UpLoad = MenuBar->addAction(QStringLiteral("UpLoad"));

    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);

    // Sizes and places follow the font (layOutGrids).
    auto makePage = [&](const QString &caption, DataGrid *&grid, std::array<QLabel **, 4> headings) {
        auto *page = new QWidget;
        grid = new DataGrid(page);
        grid->verticalHeader()->setFixedWidth(kSelectorWidth);
        grid->setLockedColumn(0, true);
        static const char *const axes[] = {"X-axis", "Y-axis", "Z-axis", "U-axis"};
        for (int a = 0; a < 4; ++a) {
            auto *label = new QLabel(QLatin1String(axes[a]), page);
            label->setAlignment(Qt::AlignCenter);
            *headings[size_t(a)] = label;
        }
        SSTab1->addTab(page, caption);
        return page;
    };
    makePage(QStringLiteral("Mode"), grdDataGrid, {&Label10, &Label11, &Label12, &Label13});
    makePage(QStringLiteral("Home Search"), DBGrid1, {&Label6, &Label7, &Label8, &Label9});
    QWidget *paramPage = makePage(QStringLiteral("Parameter"), DBGrid2, {&Label2, &Label3, &Label4, &Label5});

    Frame1 = new QGroupBox(QStringLiteral(" value "), paramPage);
    Label1 = new QLabel(Frame1);
    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(Label1);

    // Settings are only ever chosen from the pickers; the numbers of the
    // Parameter grid are typed into its axis columns.
    for (DataGrid *picked : {grdDataGrid, DBGrid1}) {
        picked->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int c = 1; c <= 4; ++c)
            picked->setButtonColumn(c, true);
    }

    for (size_t i = 0; i < kLists.size(); ++i) {
        const PickList list = kLists[i];
        auto *w = new QListWidget(this);
        w->setObjectName(QLatin1String(kListNames[i]));
        w->addItems(PickListEntries(list));
        w->hide();
        connect(w, &QListWidget::itemClicked, this, [this, list] { listClick(list); });
        switch (list) {
        case PickList::List1: List1 = w; break;
        case PickList::List2: List2 = w; break;
        case PickList::List3: List3 = w; break;
        case PickList::List8: List8 = w; break;
        case PickList::List9: List9 = w; break;
        case PickList::List10: List10 = w; break;
        case PickList::List11: List11 = w; break;
        case PickList::None: break;
        }
    }

    cmdClose = new QPushButton(QStringLiteral("Exit"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    FitToScreen(this, layout);
    this->layout()->setMenuBar(MenuBar);

    SSTab1->installEventFilter(this);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
        const int previous = m_tab;
        m_tab = tab;
        SSTab1_Click(previous);
    });
    connect(grdDataGrid, &DataGrid::ButtonClick, this, &frmDataGrid1::grdDataGrid_PopList);
    connect(DBGrid1, &DataGrid::ButtonClick, this, &frmDataGrid1::DBGrid1_PopList);
    connect(grdDataGrid, &DataGrid::RowColChange, this, &frmDataGrid1::grdDataGrid_RowColChange);
    connect(DBGrid1, &DataGrid::RowColChange, this, &frmDataGrid1::DBGrid1_RowColChange);
    connect(DBGrid2, &DataGrid::RowColChange, this, &frmDataGrid1::DBGrid2_RowColChange);
    connect(DBGrid2, &DataGrid::AfterColEdit, this, &frmDataGrid1::DBGrid2_CheckCell);
    connect(cmdClose, &QPushButton::clicked, this, &frmDataGrid1::cmdClose_Click);
    connect(DownLoad, &QAction::triggered, this, &frmDataGrid1::DownLoad_Click);
    connect(UpLoad, &QAction::triggered, this, &frmDataGrid1::UpLoad_Click);
}

std::array<QLabel *, 4> frmDataGrid1::headings(GridTab tab) const
{
    switch (tab) {
    case GridTab::Mode: return {Label10, Label11, Label12, Label13};
    case GridTab::HomeSearch: return {Label6, Label7, Label8, Label9};
    case GridTab::Parameter: return {Label2, Label3, Label4, Label5};
    }
    return {};
}

void frmDataGrid1::layOutGrids()
{
    // The widest text each kind of column can show: the row titles, and in
    // the axis columns every picker's items, the limits of every parameter
    // (the offset in each axis's unit), and whatever the cells hold now.
    QStringList titles;
    QStringList values;
    for (PickList list : kLists)
        values << PickListEntries(list);
    for (const ParamItem &item : kSentParams)
        values << EveryDigit({QString::number(item.min), QString::number(item.max)});
    if (const ParamItem *offset = ParamItemOf(kOffsetItem))
        for (int a = 0; a < kAxes; ++a)
            for (int32_t limit : {offset->min, offset->max})
                values << EveryDigit({OffsetShownText(QString::number(limit), CurrentAxisFactor(a))});
    for (int t = 0; t < kGridTabs; ++t) {
        const DataGrid *dg = grid(GridTab(t));
        for (int r = 0; r < dg->rowCount(); ++r) {
            titles << dg->CellText(r, 0);
            for (int c = 1; c < dg->columnCount(); ++c)
                values << dg->CellText(r, c);
        }
    }
    int titleWidth = kTitleWidth;
    int axisWidth = kAxisWidth;
    int rowHeight = kRowHeight;
    for (const QString &text : titles)
        titleWidth = std::max(titleWidth, CellSizeFor(grdDataGrid, text).width());
    for (const QString &text : values) {
        const QSize cell = CellSizeFor(grdDataGrid, text);
        axisWidth = std::max(axisWidth, cell.width());
        rowHeight = std::max(rowHeight, cell.height());
    }

    const int gridWidth = kSelectorWidth + titleWidth + 4 * axisWidth + 4;
    for (int t = 0; t < kGridTabs; ++t) {
        DataGrid *dg = grid(GridTab(t));
        const std::array<QLabel *, 4> heads = headings(GridTab(t));
        const int headHeight = std::max(kGridTop - kHeadingTop, heads[0]->sizeHint().height());
        const int gridTop = kHeadingTop + headHeight;
        for (int a = 0; a < 4; ++a)
            heads[size_t(a)]->setGeometry(kGridLeft + 2 + kSelectorWidth + titleWidth + a * axisWidth, kHeadingTop,
                                          axisWidth, headHeight);
        dg->verticalHeader()->setDefaultSectionSize(rowHeight);
        dg->setColumnWidth(0, titleWidth);
        for (int c = 1; c < dg->columnCount(); ++c)
            dg->setColumnWidth(c, axisWidth);
        dg->move(kGridLeft, gridTop);
        dg->setFixedSize(gridWidth, dg->rowCount() * rowHeight + 2 * dg->frameWidth());
        int bottom = gridTop + dg->height() + 8;
        if (dg == DBGrid2) {
            Frame1->setFixedWidth(gridWidth);
            Frame1->move(kGridLeft, bottom);
            bottom += Frame1->sizeHint().height() + 8;
        }
        if (QWidget *page = dg->parentWidget())
            page->setMinimumSize(kGridLeft * 2 + gridWidth, bottom);
    }
    for (PickList list : kLists)
        if (QListWidget *w = listOf(list))
            w->setFixedSize(axisWidth, rowHeight * w->count() + 4);
}

void frmDataGrid1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_loaded)
        layOutGrids();
}

DataGrid *frmDataGrid1::grid(GridTab tab) const
{
    switch (tab) {
    case GridTab::Mode: return grdDataGrid;
    case GridTab::HomeSearch: return DBGrid1;
    case GridTab::Parameter: return DBGrid2;
    }
    return nullptr;
}

QListWidget *frmDataGrid1::listOf(PickList list) const
{
    switch (list) {
    case PickList::List1: return List1;
    case PickList::List2: return List2;
    case PickList::List3: return List3;
    case PickList::List8: return List8;
    case PickList::List9: return List9;
    case PickList::List10: return List10;
    case PickList::List11: return List11;
    case PickList::None: break;
    }
    return nullptr;
}

bool frmDataGrid1::Form_Load()
{
    m_filled = false;
    const std::array<DataControl *, kGridTabs> data{&Data1, &Data2, &Data3};
    for (int t = 0; t < kGridTabs; ++t) {
        data[size_t(t)]->DatabaseName = ParamDatabasePath();
        data[size_t(t)]->RecordSource = ParamTableName(GridTab(t));
    }
    HideLists();
    Label1->clear();

    // A damaged file is refused as it is: nothing is written into it.
    if (const auto error = EnsureParamDatabase()) {
        MsgBox(DatabaseErrorMessage(*error));
        return false;
    }
    for (int t = 0; t < kGridTabs; ++t) {
        DataControl *d = data[size_t(t)];
        if (!d->Refresh()) {
            MsgBox(DatabaseErrorMessage(d->ErrorText()));
            return false;
        }
        grid(GridTab(t))->setDataSource(d);
    }
    m_loaded = true;
    layOutGrids();
    return true;
}

void frmDataGrid1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The tab control is first in the tab order: it takes the focus as the
    // window first shows, and that runs the first fill.
    SSTab1->setFocus();
    SSTab1_GotFocus();
}

bool frmDataGrid1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SSTab1 && event->type() == QEvent::FocusIn)
        SSTab1_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void frmDataGrid1::SSTab1_GotFocus()
{
    if (m_filled)
        return;
    SetGridData();
    m_filled = true;
}

void frmDataGrid1::ShowTables()
{
    if (m_filled)
        SetGridData();
}

void frmDataGrid1::SetGridData()
{
    for (int t = 0; t < kGridTabs; ++t) {
        const GridTab tab = GridTab(t);
        DataGrid *dg = grid(tab);
        DataControl *d = dg->dataSource();
        if (!d || !d->IsOpen())
            continue;
        const int rows = qMin(GridRows(tab), dg->rowCount());
        // One transaction per table: the fill is stored whole or not at all.
        const bool stored = d->InTransaction([&] {
            for (int a = 0; a < kAxes; ++a)
                for (int r = 0; r < rows; ++r)
                    if (!dg->WriteCell(r, AxisColumn(a), GridFillText(tab, r, a, g.UnitModel)))
                        return false;
            return true;
        });
        if (!stored)
            dg->ReBind();
    }
    layOutGrids();
}

void frmDataGrid1::SSTab1_Click(int)
{
    HideLists();
}

void frmDataGrid1::HideLists()
{
    for (PickList list : kLists)
        if (QListWidget *w = listOf(list))
            w->hide();
}

void frmDataGrid1::popList(GridTab tab, int ColIndex)
{
    DataGrid *dg = grid(tab);
    const int row = dg->Row();
    if (row < 0 || row >= GridRows(tab) || ColIndex < 0 || ColIndex >= dg->columnCount())
        return;
    QListWidget *w = listOf(RowList(tab, row));
    if (!w)
        return;
    // A second press of the button closes the picker.
    if (w->isVisible()) {
        w->hide();
        return;
    }
    // Just below the current cell.
    w->move(dg->viewport()->mapTo(this, QPoint(dg->ColumnLeft(ColIndex), dg->RowTop(row) + dg->RowHeightOf())));
    m_pickTab = tab;
    w->show();
    w->raise();
}

void frmDataGrid1::grdDataGrid_PopList(int ColIndex)
{
    popList(GridTab::Mode, ColIndex);
}

void frmDataGrid1::DBGrid1_PopList(int ColIndex)
{
    popList(GridTab::HomeSearch, ColIndex);
}

void frmDataGrid1::listClick(PickList list)
{
    QListWidget *w = listOf(list);
    // Only an open picker takes a choice, for the grid that opened it.
    if (!w || !w->isVisible())
        return;
    const int index = w->currentRow();
    DataGrid *dg = grid(m_pickTab);
    const int row = dg->Row();
    const int col = dg->Col();
    if (StorePick(m_pickTab, row, col, list, index))
        dg->WriteCell(row, col, PickText(list, index));
    w->hide();
}

void frmDataGrid1::List1_Click() { listClick(PickList::List1); }
void frmDataGrid1::List2_Click() { listClick(PickList::List2); }
void frmDataGrid1::List3_Click() { listClick(PickList::List3); }
void frmDataGrid1::List8_Click() { listClick(PickList::List8); }
void frmDataGrid1::List9_Click() { listClick(PickList::List9); }
void frmDataGrid1::List10_Click() { listClick(PickList::List10); }
void frmDataGrid1::List11_Click() { listClick(PickList::List11); }

void frmDataGrid1::cursorRule(DataGrid *dg, int LastCol)
{
    if (const auto col = CursorColumn(LastCol, dg->Col()))
        dg->setCol(*col);
}

void frmDataGrid1::grdDataGrid_RowColChange(int, int LastCol)
{
    HideLists();
    cursorRule(grdDataGrid, LastCol);
}

void frmDataGrid1::DBGrid1_RowColChange(int, int LastCol)
{
    HideLists();
    cursorRule(DBGrid1, LastCol);
}

void frmDataGrid1::DBGrid2_RowColChange(int, int LastCol)
{
    cursorRule(DBGrid2, LastCol);
    const int row = DBGrid2->Row();
    if (row < 0 || row >= GridRows(GridTab::Parameter))
        return;
    Label1->setText(RangeCaption(row, DBGrid2->Col() - 1));
}

void frmDataGrid1::DBGrid2_CheckCell(int ColIndex)
{
    const int row = DBGrid2->Row();
    const int axis = ColIndex - 1;
    if (row < 0 || row >= GridRows(GridTab::Parameter) || axis < 0 || axis >= kAxes)
        return;
    if (const auto value = ParamEntryValue(row, axis, DBGrid2->CellText(row, ColIndex))) {
        g.ParamTable[size_t(axis)][size_t(row)] = *value;
        return;
    }
    MsgBox(ValueRefusedMessage(row, axis, DBGrid2->CellText(row, ColIndex)), MsgButtons::Ok, kTitle,
           MsgIcon::Critical);
    DBGrid2->WriteCell(row, ColIndex, ParamCellText(row, axis));
}

void frmDataGrid1::cmdClose_Click()
{
    Data1.UpdateRecord();
    Data2.UpdateRecord();
    Data3.UpdateRecord();
    close();
}

void frmDataGrid1::transfer(bool download)
{
    // One transfer at a time, as from every other entry.
    if (!MayWrite(LineUser::Transfer)) {
        TellTransferUsesLine();
        return;
    }
    if (MsgBox(download ? QStringLiteral("Download.") : QStringLiteral("Upload."), MsgButtons::YesNo, kTitle,
               MsgIcon::Information)
        != MsgResult::Yes)
        return;
    if (!PortOpenOrTell())
        return;
    // The transfer waits in a nested event loop: the window may be closed
    // meanwhile, but it is not deleted under this handler.
    ++m_transferDepth;
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (download)
        emit ParamWindowRequests().paramDownLoad(0);
    else
        emit ParamWindowRequests().paramUpLoad(0);
    if (--m_transferDepth == 0) {
        setAttribute(Qt::WA_DeleteOnClose, true);
        if (dataGrid != this)
            deleteLater();
    }
}

void frmDataGrid1::DownLoad_Click()
{
    transfer(true);
}

void frmDataGrid1::UpLoad_Click()
{
    transfer(false);
}

void frmDataGrid1::unload()
{
    HideLists();
    if (dataGrid == this)
        dataGrid = nullptr;
}

void frmDataGrid1::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}
