#pragma once
// The question window: a modal yes/no question with a "do not ask again"
// box, both captions set by the caller. It hands its answer back through
// the shared QuestionAnswer (1 yes, 0 no or closed) and SkipConfirm (the
// box's state, stored by Yes and No only).

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

class frmQuestion : public QDialog
{
    Q_OBJECT
public:
    explicit frmQuestion(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QPushButton *YesBotton = nullptr;
    QPushButton *NoBotton = nullptr;
    QCheckBox *Check1 = nullptr;

    void Form_Load();
    void YesBotton_Click();
    void NoBotton_Click();

private:
    void answered(int answer);
};

// Loads the window, sets the question and the box's caption, and shows it
// modally; returns once it has closed (read QuestionAnswer and SkipConfirm).
void AskQuestion(const QString &question, const QString &boxCaption);
