#include "program/frmQuestion.h"

#include "platform/Dialogs.h"
#include "program/EditorWindow.h"
#include "shared/Shared.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

frmQuestion::frmQuestion(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Question"));
    setModal(true);
    setFixedSize(Pixels(5445), Pixels(1920));
    Label1 = new QLabel(this);
    SetTwipsGeometry(Label1, 1200, 360, 2655, 255);
    YesBotton = new QPushButton(QStringLiteral("Yes"), this);
    SetTwipsGeometry(YesBotton, 1080, 840, 1335, 375);
    NoBotton = new QPushButton(QStringLiteral("No"), this);
    SetTwipsGeometry(NoBotton, 3240, 840, 1335, 375);
    Check1 = new QCheckBox(this);
    SetTwipsGeometry(Check1, 1080, 1320, 4095, 375);
    setTabOrder(YesBotton, NoBotton);
    setTabOrder(NoBotton, Check1);
    YesBotton->setDefault(true);
    YesBotton->setFocus();
    connect(YesBotton, &QPushButton::clicked, this, &frmQuestion::YesBotton_Click);
    connect(NoBotton, &QPushButton::clicked, this, &frmQuestion::NoBotton_Click);
    Form_Load();
}

void frmQuestion::Form_Load()
{
    g.QuestionAnswer = 0;
    Check1->setChecked(g.SkipConfirm != 0);
}

void frmQuestion::answered(int answer)
{
    g.QuestionAnswer = int16_t(answer);
    g.SkipConfirm = Check1->isChecked() ? 1 : 0;
    accept();
}

void frmQuestion::YesBotton_Click()
{
    answered(1);
}

void frmQuestion::NoBotton_Click()
{
    answered(0);
}

void AskQuestion(const QString &question, const QString &boxCaption)
{
    frmQuestion window;
    window.Label1->setText(question);
    window.Check1->setText(boxCaption);
    // A caption longer than its place widens it, and the window with it; a
    // larger font makes it as high as its letters.
    int right = window.width();
    for (QWidget *w : {static_cast<QWidget *>(window.Label1), static_cast<QWidget *>(window.Check1)}) {
        w->resize(w->size().expandedTo(w->sizeHint()));
        right = std::max(right, w->geometry().right() + Pixels(270));
    }
    window.setFixedWidth(right);
    Dialogs().modal(window);
}
