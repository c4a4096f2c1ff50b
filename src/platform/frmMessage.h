#pragma once
// The wait window: two text lines shown while a transfer or a database update
// runs, and a Cancel button for the waits that may be cancelled. Shown
// modeless by the handler that needs it and unloaded by it.

#include <QWidget>

class QLabel;
class QPushButton;

class frmMessage : public QWidget
{
    Q_OBJECT
public:
    explicit frmMessage(QWidget *parent = nullptr);
    ~frmMessage() override;
    QLabel *Label1 = nullptr;        // title line
    QLabel *Label2 = nullptr;        // detail line
    QPushButton *cmdCancel = nullptr;  // shown only for a wait that may be cancelled
    bool CancelPressed = false;
    void cmdCancel_Click();

protected:
    // While the wait may be cancelled, the close box cancels it; the window
    // stays until the waiting routine unloads it.
    void closeEvent(QCloseEvent *event) override;
};

// The wait window, loaded (not shown) when it is not loaded yet.
frmMessage *MessageWindow();
// The wait window if it is loaded, else nullptr.
frmMessage *LoadedMessageWindow();
// Sets a line's caption and paints it at once; loads the window if needed.
void SetMessageLine1(const QString &text);
void SetMessageLine2(const QString &text);
// Shows the window modeless (loading it first when needed), with its Cancel
// button when `withCancel`; an earlier press of Cancel is forgotten.
void ShowMessageWindow(bool withCancel = false);
// Unloads the window; nothing happens when it is not loaded.
void UnloadMessageWindow();
// Whether the operator pressed Cancel in the loaded wait window.
bool MessageCancelRequested();
