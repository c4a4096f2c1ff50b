#pragma once
// Model choice: asked when no unit answered at start-up.

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

class frmSelect : public QWidget
{
    Q_OBJECT
public:
    explicit frmSelect(QWidget *parent = nullptr);
    ~frmSelect() override;

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;   // "ZT260A"
    QPushButton *Command2 = nullptr;   // "ZT460A"
    QString Tag;                       // "1" once a model was chosen

    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The model choice window while it is open, else nullptr.
frmSelect *SelectWindow();
