#include "datafile/frmFile.h"

#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "link/LineOwner.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/FileLists.h"
#include "platform/OwnerWindow.h"
#include "shared/Shared.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
frmFile *fileWindow = nullptr;
}

frmFile *FileWindow()
{
    return fileWindow;
}

frmFile *ShowFileWindow()
{
    frmFile *w = FileWindow();
    if (!w) {
        w = new frmFile(OwnerWindow());
        w->Form_Load();
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

frmFile::frmFile(QWidget *parent) : QWidget(parent, Qt::Window)
{
    fileWindow = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("File"));
    buildLayout();
}

frmFile::~frmFile()
{
    if (fileWindow == this)
        fileWindow = nullptr;
}

void frmFile::buildLayout()
{
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(this);
    Combo1 = new QComboBox(this);
    Combo1->addItems({QStringLiteral("*.zqd"), QStringLiteral("*.txt"), QStringLiteral("*.*")});
    Label2 = new QLabel(QStringLiteral("Select Files :"), this);
    Text1 = new QLineEdit(this);
    Label1 = new QLabel(QStringLiteral("File Name : "), this);
    Command1 = new QPushButton(QStringLiteral("Open"), this);
    Command2 = new QPushButton(QStringLiteral("Save"), this);
    Command4 = new QPushButton(QStringLiteral("Cancel"), this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setMaximum(kDataFileProgressMax);
    ProgressBar1->setValue(0);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Drive1, 0, 0);
    grid->addWidget(Dir1, 1, 0);
    grid->addWidget(File1, 0, 1, 2, 2);
    grid->addWidget(Label1, 2, 0, Qt::AlignRight);
    grid->addWidget(Text1, 2, 1, 1, 2);
    grid->addWidget(Label2, 3, 0, Qt::AlignRight);
    grid->addWidget(Combo1, 3, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(Command4);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->addWidget(ProgressBar1, 5, 0, 1, 3);
    resize(520, 380);

    connect(Combo1, &QComboBox::activated, this, &frmFile::Combo1_Click);
    connect(Drive1, &DriveListBox::Change, this, &frmFile::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmFile::Dir1_Change);
    connect(File1, &FileListBox::Click, this, &frmFile::File1_Click);
    connect(Text1, &QLineEdit::textChanged, this, &frmFile::Text1_Change);
    connect(Command1, &QPushButton::clicked, this, &frmFile::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmFile::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &frmFile::Command4_Click);
}

void frmFile::Form_Load()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    Combo1->setCurrentIndex(0);
    Combo1_Click();
    Text1->clear();
    Drive1->setDrive(AppPath());
    // Both lists start in the program folder, where data files are kept.
    Dir1->setPath(AppPath());
    File1->setPath(AppPath());
    Drive1->Refresh();
    File1->Refresh();
    if (g.FileMode == 1)
        setWindowTitle(QStringLiteral("Open file"));
    else if (g.FileMode == 2)
        setWindowTitle(QStringLiteral("Save file"));
}

void frmFile::Combo1_Click()
{
    File1->setPattern(Combo1->currentText());
    File1->setPath(Dir1->Path());
}

void frmFile::Drive1_Change()
{
    // No drive keeps a current folder of its own here: the program's
    // current folder when it lies on the drive, else the drive's root.
    const QString drive = Drive1->Drive();
    const QString current = QDir::currentPath();
    Dir1->setPath(DriveOf(current) == drive ? current : drive);
}

void frmFile::Dir1_Change()
{
    File1->setPath(Dir1->Path());
}

void frmFile::File1_Click()
{
    Text1->setText(File1->FileName());
}

void frmFile::Text1_Change()
{
    QPushButton *button = g.FileMode == 1 ? Command1 : g.FileMode == 2 ? Command2 : nullptr;
    if (button)
        button->setEnabled(!Text1->text().isEmpty());
}

void frmFile::startProgress()
{
    ProgressBar1->setMaximum(kDataFileProgressMax);
    m_progress = ProgressBar1->value();
    m_progressShown.invalidate();
}

void frmFile::showProgress(int value)
{
    if (value > ProgressBar1->maximum())
        return;
    m_progress = value;
    // A repaint for each of 2000 registers takes longer than the save or
    // load itself: the bar follows at most once a frame or so.
    constexpr qint64 kFrameMs = 20;
    if (m_progressShown.isValid() && !m_progressShown.hasExpired(kFrameMs))
        return;
    ProgressBar1->setValue(value);
    m_progressShown.start();
}

// The bar ends at the last value reported, whether its frame came or not.
void frmFile::endProgress()
{
    ProgressBar1->setValue(m_progress);
}

void frmFile::Command1_Click()
{
    // The file chosen in the list is loaded, not the text of the name box.
    const QString name = File1->FileName();
    if (!name.isEmpty()) {
        // A transfer reads and writes the same tables while it waits for the
        // unit: a load in between would mix two setups.
        if (LineHeld()) {
            MsgBox(QStringLiteral("A transfer with the unit is running. Load the data file when it has ended."),
                   MsgButtons::Ok, {}, MsgIcon::Exclamation);
            return;
        }
        startProgress();
        DatLoadAct(QDir(Dir1->Path()).filePath(name), [this](int v) { showProgress(v); });
        endProgress();
    }
    Command4_Click();
}

void frmFile::Command2_Click()
{
    if (Text1->text().isEmpty())
        return;
    if (!Text1->text().contains(u'.'))
        Text1->setText(Text1->text() + QStringLiteral(".zqd"));
    const QString path = QDir(Dir1->Path()).filePath(Text1->text());
    if (QFileInfo(path).isFile()
        && MsgBox(QStringLiteral("Save File Name. Yes/No?"), MsgButtons::YesNo, QStringLiteral("File Save Message"),
                  MsgIcon::Critical)
               != MsgResult::Yes) {
        Command4_Click();
        return;
    }
    startProgress();
    const bool saved = DatSaveAct(path, [this](int v) { showProgress(v); });
    endProgress();
    // A failed save keeps the window, so that another folder or name can be
    // tried; its bar shows that nothing was saved.
    if (!saved) {
        m_progress = 0;
        ProgressBar1->setValue(0);
        return;
    }
    Command4_Click();
}

void frmFile::Command4_Click()
{
    close();
}

void frmFile::closeEvent(QCloseEvent *event)
{
    if (fileWindow == this)
        fileWindow = nullptr;
    event->accept();
}
