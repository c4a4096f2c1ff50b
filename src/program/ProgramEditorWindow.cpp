#include "program/ProgramEditorWindow.h"

#include "link/MonitorHold.h"
#include "platform/Dialogs.h"
#include "program/EditorWindow.h"
#include "program/GridLink.h"
#include "program/ProgramTable.h"

#include <QCloseEvent>
#include <QScrollBar>
#include <QTableView>

ProgramEditorWindow::ProgramEditorWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

ProgramEditorWindow::~ProgramEditorWindow() = default;

void ProgramEditorWindow::attachGrid(QTableView *view, FlexGrid &grid, ProgramGridModel &model)
{
    m_view = view;
    m_link = std::make_unique<GridLink>(view, grid, model);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &ProgramEditorWindow::onScrolled);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ProgramEditorWindow::onScrolled);
    connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { m_link->updateMaxTopRow(); });
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

void BringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
