#pragma once
// The title window: shows the version for two seconds (or until a key) and
// then hands over to the main window.

#include <QWidget>

class QLabel;
class frmMain;

class frmTopTitle : public QWidget
{
    Q_OBJECT
public:
    explicit frmTopTitle(QWidget *parent = nullptr);

    QLabel *lblVersion = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLabel *lblPlatform = nullptr;

    // Shows the window and starts the two-second wait.
    void Form_Load();
    // Closes the title window and shows the main window (once).
    void ShowMain();

signals:
    void mainShown(frmMain *main);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_handedOver = false;
};
