#pragma once
// The I/O title editor: a modal window that renames one signal of the I/O
// monitor, the title IoTitle(TitleIndex).

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmTitleEdit : public QDialog
{
    Q_OBJECT
public:
    explicit frmTitleEdit(QWidget *parent = nullptr);
    ~frmTitleEdit() override;

    QGroupBox *Frame1 = nullptr;    // "Now"
    QLabel *Label1 = nullptr;       // the current title
    QGroupBox *Frame2 = nullptr;    // "New"
    QLineEdit *Text1 = nullptr;     // the new title
    QPushButton *Command1 = nullptr;  // "OK"
    QPushButton *Command2 = nullptr;  // "Cancel"

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Text1_KeyPress(int &key);   // key 0 drops it
};

// Edits the title frmIo::TitleIndex in the modal editor; returns once it closed.
void EditIoTitle(QWidget *parent);

// The editor while it is open, else nullptr.
frmTitleEdit *TitleEditWindow();
