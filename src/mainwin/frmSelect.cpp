#include "mainwin/frmSelect.h"

#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
frmSelect *selectWindow = nullptr;
}

frmSelect *SelectWindow()
{
    return selectWindow;
}

frmSelect::frmSelect(QWidget *parent) : QWidget(parent, Qt::Window)
{
    selectWindow = this;
    setWindowTitle(QStringLiteral("ZT260A/ZT460A"));
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("ZT260A or ZT460A ?"), this);
    layout->addWidget(Label1);
    auto *row = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("ZT260A"), this);
    Command2 = new QPushButton(QStringLiteral("ZT460A"), this);
    row->addWidget(Command1);
    row->addWidget(Command2);
    layout->addLayout(row);
    connect(Command1, &QPushButton::clicked, this, &frmSelect::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSelect::Command2_Click);
    // The model in use so far is the one offered: it holds the focus and
    // is the button Return presses.
    QPushButton *current = CurrentUnitKind() == UnitKind::TwoAxis ? Command1 : Command2;
    current->setDefault(true);
    current->setFocus();
}

frmSelect::~frmSelect()
{
    if (selectWindow == this)
        selectWindow = nullptr;
}

void frmSelect::Command1_Click()
{
    g.UnitModel = ModelText(UnitKind::TwoAxis);
    Tag = QStringLiteral("1");
}

void frmSelect::Command2_Click()
{
    g.UnitModel = ModelText(UnitKind::FourAxis);
    Tag = QStringLiteral("1");
}

void frmSelect::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // A focused model button takes the key itself; elsewhere it chooses
        // the model offered.
        auto *focused = qobject_cast<QPushButton *>(focusWidget());
        (focused == Command1 || focused == Command2 ? focused : Command1->isDefault() ? Command1 : Command2)->click();
        return;
    }
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmSelect::closeEvent(QCloseEvent *event)
{
    // Closing the window by its frame counts as choosing the model shown as
    // current, so the start-up never waits for a choice that cannot come.
    Tag = QStringLiteral("1");
    if (frmMain *m = MainWindow())
        if (m->MSComm1->PortOpen())
            m->MSComm1->setPortOpen(false);
    event->accept();
}
