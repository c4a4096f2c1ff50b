#include "ScriptedDialogs.h"

#include <QDialog>

ScriptedDialogs::ScriptedDialogs() { SetDialogs(this); }
ScriptedDialogs::~ScriptedDialogs() { SetDialogs(nullptr); }

MsgResult ScriptedDialogs::message(const QString &text, const QString &title,
                                   MsgButtons buttons, MsgIcon)
{
    m_shown.append({ShownBox::Message, text, title, buttons, {}});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (m_hasDefault)
        return m_default;
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgResult::Yes;
    case MsgButtons::RetryCancel:
    case MsgButtons::AbortRetryIgnore: return MsgResult::Retry;
    default: return MsgResult::Ok;
    }
}

std::optional<QString> ScriptedDialogs::input(const QString &prompt, const QString &title,
                                              const QString &defaultText, const InputCheck &check)
{
    QString held = defaultText;
    for (bool again = false;; again = true) {
        m_shown.append({ShownBox::Input, prompt, title, MsgButtons::OkCancel, held});
        std::optional<QString> answer;
        if (!m_inputs.isEmpty())
            answer = m_inputs.takeFirst();
        else if (!again)
            answer = held;
        if (!answer || !check)
            return answer;
        const QString refusal = check(*answer);
        if (refusal.isEmpty())
            return answer;
        MsgBox(refusal, MsgButtons::Ok, {}, MsgIcon::Critical);
        held = *answer;
    }
}

int ScriptedDialogs::modal(QDialog &dialog)
{
    m_shown.append({ShownBox::Modal, dialog.windowTitle(), dialog.windowTitle(), MsgButtons::Ok, {}});
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!m_modal.isEmpty())
        m_modal.takeFirst()(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList t;
    for (const auto &b : m_shown)
        t << b.text;
    return t;
}
