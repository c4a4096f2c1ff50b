#include "program/ProgramEditorWindow.h"

#include "link/MonitorHold.h"
#include "platform/Dialogs.h"
#include "program/ColumnFit.h"
#include "program/EditorWindow.h"
#include "program/GridLink.h"
#include "program/ProgramGridModel.h"
#include "program/ProgramTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScrollBar>
#include <QTableView>

ProgramEditorWindow::ProgramEditorWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

ProgramEditorWindow::~ProgramEditorWindow() = default;

void ProgramEditorWindow::attachGrid(QTableView *view, FlexGrid &grid, ProgramGridModel &model, UnitKind kind)
{
    m_view = view;
    m_kind = kind;
    m_link = std::make_unique<GridLink>(view, grid, model);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &ProgramEditorWindow::onScrolled);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ProgramEditorWindow::onScrolled);
    connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { m_link->updateMaxTopRow(); });
    // No DATA text shows cut: the table read anew is measured whole, a
    // text stored widens its column when it needs to.
    connect(&model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_view)
            FitDataColumns(m_view, m_kind);
    });
    connect(&model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                if (m_view)
                    WidenDataColumns(m_view, topLeft, bottomRight);
            });
}

void ProgramEditorWindow::RefitDataColumns()
{
    if (!m_view)
        return;
    FitDataColumns(m_view, m_kind);
    sync();
}

void ProgramEditorWindow::detachGrid()
{
    if (!m_view)
        return;
    m_view->viewport()->removeEventFilter(this);
    m_view->removeEventFilter(this);
    m_view->verticalScrollBar()->disconnect(this);
    m_view->horizontalScrollBar()->disconnect(this);
    delete m_view;
    m_view = nullptr;
}

int ProgramEditorWindow::viewTopRow() const
{
    return m_link->viewTopRow();
}

QRect ProgramEditorWindow::cellRect(int row, int col) const
{
    return m_link->cellRect(row, col);
}

void ProgramEditorWindow::pauseMonitor()
{
    m_monitor.emplace();
}

void ProgramEditorWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    forget();
    // Every store is committed as it is made, so nothing is pending here.
    m_monitor.reset();
}

void ProgramEditorWindow::closeEvent(QCloseEvent *event)
{
    // The close box does what Exit does.
    unload();
    event->accept();
}

void ProgramEditorWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_view)
        layOutGrid();
    if (ActivatedAnew(this, event, m_activateOnReturn))
        Form_Activate();
}

void ProgramEditorWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_link)
        return;
    m_link->updateMaxTopRow();
    sync();
}

void ProgramEditorWindow::onScrolled()
{
    m_link->scrolled();
    if (!m_link->following())
        gridScrolled();
    if (!m_syncing)
        sync();
}

ProgramTable *OpenProgramTableOrTell(UnitKind kind)
{
    ProgramTable &table = ProgramTableOf(kind);
    if (const auto refused = table.Open()) {
        MsgBox(*refused, MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
        return nullptr;
    }
    return &table;
}

void RefitEditorsToScale()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *editor = qobject_cast<ProgramEditorWindow *>(w))
            editor->RefitDataColumns();
}

void BringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
