#include "platform/frmMessage.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
frmMessage *messageWindow = nullptr;
}

frmMessage::frmMessage(QWidget *parent) : QWidget(parent, Qt::Window)
{
    messageWindow = this;
    setWindowTitle(QStringLiteral("Message"));
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->hide();
    layout->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMessage::cmdCancel_Click);
    setMinimumWidth(280);
}

void frmMessage::cmdCancel_Click()
{
    // Once is enough: the waiting routine ends at its next look.
    CancelPressed = true;
    cmdCancel->setEnabled(false);
}

void frmMessage::closeEvent(QCloseEvent *event)
{
    if (cmdCancel->isVisibleTo(this)) {
        cmdCancel_Click();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

frmMessage::~frmMessage()
{
    if (messageWindow == this)
        messageWindow = nullptr;
}

frmMessage *MessageWindow()
{
    return messageWindow ? messageWindow : new frmMessage;
}

frmMessage *LoadedMessageWindow()
{
    return messageWindow;
}

void SetMessageLine1(const QString &text)
{
    frmMessage *w = MessageWindow();
    w->Label1->setText(text);
    w->Label1->repaint();
}

void SetMessageLine2(const QString &text)
{
    frmMessage *w = MessageWindow();
    w->Label2->setText(text);
    w->Label2->repaint();
}

void ShowMessageWindow(bool withCancel)
{
    frmMessage *w = MessageWindow();
    w->CancelPressed = false;
    w->cmdCancel->setEnabled(true);
    w->cmdCancel->setVisible(withCancel);
    w->show();
    w->raise();
}

void UnloadMessageWindow()
{
    delete messageWindow;
}

bool MessageCancelRequested()
{
    return messageWindow && messageWindow->CancelPressed;
}
