#include "mainwin/frmTitleEdit.h"

#include "mainwin/frmIo.h"
#include "platform/Dialogs.h"
#include "platform/EntryEditing.h"
#include "platform/FitToText.h"
#include "shared/EntryChecks.h"
#include "shared/RefusalText.h"
#include "shared/Shared.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
frmTitleEdit *editor = nullptr;

QString *editedTitle()
{
    return frmIo::TitleIndex >= 0 && frmIo::TitleIndex < kIoTitles ? &frmIo::IoTitle[std::size_t(frmIo::TitleIndex)] : nullptr;
}
} // namespace

frmTitleEdit *TitleEditWindow()
{
    return editor;
}

frmTitleEdit::frmTitleEdit(QWidget *parent) : QDialog(parent)
{
    editor = this;
    setWindowTitle(QStringLiteral("Title Edit"));
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    Frame1 = new QGroupBox(QStringLiteral("Now"), this);
    auto *l1 = new QVBoxLayout(Frame1);
    Label1 = new QLabel(Frame1);
    l1->addWidget(Label1);
    Frame2 = new QGroupBox(QStringLiteral("New"), this);
    auto *l2 = new QVBoxLayout(Frame2);
    Text1 = new QLineEdit(Frame2);
    // No limit of ten on the box: the title's blanks would fill it, and a
    // key typed into a full box would be dropped without a word. OK keeps
    // the first ten characters.
    // Ten of any character a title may hold show whole.
    FitBoxWidth(Text1, [] {
        QStringList widest;
        for (char16_t c = u' '; c <= u'~'; ++c)
            widest << QString(10, QChar(c));
        return widest;
    });
    l2->addWidget(Text1);
    outer->addWidget(Frame1);
    outer->addWidget(Frame2);
    auto *buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter is the entry box's own key; no button takes it as default.
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    outer->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &frmTitleEdit::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmTitleEdit::Command2_Click);
    EntryEditing::watch(Text1, [this](int &key) { Text1_KeyPress(key); });
    Form_Load();
}

frmTitleEdit::~frmTitleEdit()
{
    if (editor == this)
        editor = nullptr;
}

void frmTitleEdit::Form_Load()
{
    const QString *title = editedTitle();
    const QString shown = title ? ShownTitle(*title) : QString();
    Text1->setText(shown);
    Label1->setText(shown);
    // The whole title selected: the first key typed replaces it.
    Text1->selectAll();
    Text1->setFocus();
}

void frmTitleEdit::Command1_Click()
{
    QString *title = editedTitle();
    if (!title) {
        reject();
        return;
    }
    // A title the settings file could not keep as typed is refused.
    const auto fitted = TitleFromEntry(Text1->text());
    if (!fitted) {
        QString why;
        for (QChar c : Text1->text())
            if (!TitleCharAccepted(c)) {
                why = RefusedCharLine(c);
                break;
            }
        MsgBox(WithReason(QStringLiteral("Bad Setting."), why), MsgButtons::Ok, QStringLiteral("Title Edit"),
               MsgIcon::Exclamation);
        return;
    }
    *title = *fitted;
    accept();
}

void frmTitleEdit::Command2_Click()
{
    reject();
}

void frmTitleEdit::Text1_KeyPress(int &key)
{
    if (key == 13) {
        key = 0;
        Command1_Click();
        return;
    }
    if (key != 8 && !TitleCharAccepted(QChar(key)))
        key = 0;
}

void EditIoTitle(QWidget *parent)
{
    frmTitleEdit dialog(parent);
    dialog.exec();
}
