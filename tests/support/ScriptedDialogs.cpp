#include "ScriptedDialogs.h"

#include <QDialog>

ScriptedDialogs::ScriptedDialogs() { SetDialogs(this); }
ScriptedDialogs::~ScriptedDialogs() { SetDialogs(nullptr); }

MsgResult ScriptedDialogs::message(const QString &text, const QString &title,
                                   MsgButtons buttons, MsgIcon)
{
    m_shown.append({ShownBox::Message, text, title, buttons});
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
                                              const QString &defaultText)
{
    m_shown.append({ShownBox::Input, prompt, title, MsgButtons::OkCancel});
    if (!m_inputs.isEmpty())
        return m_inputs.takeFirst();
    return defaultText;
}

int ScriptedDialogs::modal(QDialog &dialog)
{
    m_shown.append({ShownBox::Modal, dialog.windowTitle(), dialog.windowTitle(), MsgButtons::Ok});
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
