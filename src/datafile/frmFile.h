#pragma once
// The data file window: the operator picks the data file to load or names
// the one to save, in a folder chosen with the drive and directory lists.
// The shared FileMode, read at loading and at every change of the name box,
// decides which: 1 load ("Open file"), 2 save ("Save file").

#include <QElapsedTimer>
#include <QWidget>

class DirListBox;
class DriveListBox;
class FileListBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class frmFile : public QWidget
{
    Q_OBJECT
public:
    explicit frmFile(QWidget *parent = nullptr);
    ~frmFile() override;

    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    FileListBox *File1 = nullptr;
    QComboBox *Combo1 = nullptr;       // pattern of File1
    QLabel *Label2 = nullptr;          // "Select Files :"
    QLineEdit *Text1 = nullptr;        // file name
    QLabel *Label1 = nullptr;          // "File Name : "
    QPushButton *Command1 = nullptr;   // "Open"
    QPushButton *Command2 = nullptr;   // "Save"
    QPushButton *Command4 = nullptr;   // "Cancel"
    QProgressBar *ProgressBar1 = nullptr;

    void Form_Load();
    void Combo1_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void startProgress();
    void showProgress(int value);
    void endProgress();

    QElapsedTimer m_progressShown;   // since the bar was last repainted
    int m_progress = 0;              // the value last reported
};

// The window while it is open, else nullptr.
frmFile *FileWindow();
// Opens the window (loaded for the current FileMode when it is not open)
// and brings it to the front.
frmFile *ShowFileWindow();
