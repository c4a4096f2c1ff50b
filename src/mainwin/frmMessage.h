#pragma once
// The wait window: two text lines shown while a transfer or a database update
// runs. Shown modeless by the handler that needs it and unloaded by it.

#include <QWidget>

class QLabel;

class frmMessage : public QWidget
{
    Q_OBJECT
public:
    explicit frmMessage(QWidget *parent = nullptr);
    ~frmMessage() override;
    QLabel *Label1 = nullptr;   // title line
    QLabel *Label2 = nullptr;   // detail line
};

// The wait window, loaded (not shown) when it is not loaded yet.
frmMessage *MessageWindow();
// The wait window if it is loaded, else nullptr.
frmMessage *LoadedMessageWindow();
// Sets a line's caption and paints it at once; loads the window if needed.
void SetMessageLine1(const QString &text);
void SetMessageLine2(const QString &text);
// Shows the window modeless (loading it first when needed).
void ShowMessageWindow();
// Unloads the window; nothing happens when it is not loaded.
void UnloadMessageWindow();
