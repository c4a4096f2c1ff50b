#include "transfer/frmMsgPrgDoUp.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
frmMsgPrgDoUp *dialog = nullptr;
}

frmMsgPrgDoUp::frmMsgPrgDoUp(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmMsgPrgDoUp"));
    setWindowTitle(QStringLiteral("Form1"));
    auto *layout = new QGridLayout(this);
    Label = new QLabel(QStringLiteral("Label1"), this);
    Label->setAlignment(Qt::AlignCenter);
    RestartBotton = new QPushButton(QStringLiteral("Restart"), this);
    StopBotton = new QPushButton(QStringLiteral("Stop"), this);
    CancelBotton = new QPushButton(QStringLiteral("Cancel"), this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(10);
    layout->addWidget(Label, 0, 0, 1, 3);
    layout->addWidget(RestartBotton, 1, 0);
    layout->addWidget(StopBotton, 1, 1);
    layout->addWidget(CancelBotton, 1, 2);
    layout->addWidget(ProgressBar1, 2, 0, 1, 3);
    for (QPushButton *b : {RestartBotton, StopBotton, CancelBotton})
        b->setEnabled(false);
    setMinimumWidth(300);
    connect(StopBotton, &QPushButton::clicked, this, &frmMsgPrgDoUp::StopBotton_Click);
    connect(RestartBotton, &QPushButton::clicked, this, &frmMsgPrgDoUp::RestartBotton_Click);
    connect(CancelBotton, &QPushButton::clicked, this, &frmMsgPrgDoUp::CancelBotton_Click);
    m_show.setSingleShot(true);
    connect(&m_show, &QTimer::timeout, this, [this] {
        if (!m_showPending)
            return;
        m_showPending = false;
        showNow();
        m_show.start(kShowMs);
    });
    dialog = this;
    Form_Load();
}

frmMsgPrgDoUp::~frmMsgPrgDoUp()
{
    if (dialog == this)
        dialog = nullptr;
}

void frmMsgPrgDoUp::Form_Load()
{
    Tag = QStringLiteral("0");
    StopBotton->setEnabled(true);
}

void frmMsgPrgDoUp::StopBotton_Click()
{
    Tag = QStringLiteral("1");
    RestartBotton->setEnabled(true);
    CancelBotton->setEnabled(true);
    StopBotton->setEnabled(false);
}

void frmMsgPrgDoUp::RestartBotton_Click()
{
    Tag = QStringLiteral("0");
    RestartBotton->setEnabled(false);
    CancelBotton->setEnabled(false);
    StopBotton->setEnabled(true);
}

void frmMsgPrgDoUp::CancelBotton_Click()
{
    Tag = QStringLiteral("9");
}

void frmMsgPrgDoUp::closeEvent(QCloseEvent *event)
{
    // The transfer reads the Tag until it ends; the window that started it
    // unloads the dialog then.
    Tag = QStringLiteral("9");
    event->ignore();
}

void frmMsgPrgDoUp::showNow()
{
    if (m_axis >= 0)
        Label->setText(RegisterCaption(m_axis, m_reg));
    ProgressBar1->setValue(m_done);
}

void frmMsgPrgDoUp::showSoon()
{
    // Shown at the next pass of events, while the unit answers, rather than
    // before the next command goes out; then at most every kShowMs.
    m_showPending = true;
    if (!m_show.isActive())
        m_show.start(0);
}

void frmMsgPrgDoUp::Begin(int registers)
{
    ProgressBar1->setMaximum(registers);
    m_done = 0;
    showNow();
}

void frmMsgPrgDoUp::Progress(int done)
{
    m_done = done;
    showSoon();
}

void frmMsgPrgDoUp::Reached(int axis, int reg)
{
    m_axis = axis;
    m_reg = reg;
    showSoon();
}

void frmMsgPrgDoUp::Ended(bool failed)
{
    if (!failed)
        m_done = 0;
    showNow();
}

frmMsgPrgDoUp *LoadMsgPrgDoUp(const QString &caption)
{
    UnloadMsgPrgDoUp();
    auto *w = new frmMsgPrgDoUp;
    w->setWindowTitle(caption);
    return w;
}

frmMsgPrgDoUp *MsgPrgDoUpWindow()
{
    return dialog;
}

void UnloadMsgPrgDoUp()
{
    delete dialog;
}
