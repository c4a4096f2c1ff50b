#pragma once
// A dialog service for tests: records every box shown and answers from a
// queue of preset answers (or a default answer when the queue is empty).

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct ShownBox {
    enum Kind { Message, Input, Modal } kind;
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::Ok;
    QString value;   // the text an input box held when shown
};

class ScriptedDialogs : public DialogService
{
public:
    ScriptedDialogs();              // installs itself
    ~ScriptedDialogs() override;    // puts the Qt dialogs back

    MsgResult message(const QString &text, const QString &title,
                      MsgButtons buttons, MsgIcon icon) override;
    // Takes the next scripted answer (none left: OK on what the box holds).
    // An answer the check refuses records the refusal box and the input box
    // again, holding that answer, and takes the next scripted answer; with
    // none left there, the box is cancelled, as the operator would close it.
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText, const InputCheck &check) override;
    // A modal window is shown (modeless, so nothing blocks) and the next
    // scripted act runs on it, clicking its buttons as the operator would;
    // a window still open afterwards, or one with no act left, is closed as
    // by its close box. Recorded with its caption.
    int modal(QDialog &dialog) override;

    void answer(MsgResult r) { m_answers.append(r); }
    void answerInput(const std::optional<QString> &text) { m_inputs.append(text); }
    void answerModal(std::function<void(QDialog &)> act) { m_modal.append(std::move(act)); }
    // Used when no preset answer is left: Ok, Yes (Yes/No boxes) or Retry.
    void setDefault(MsgResult r) { m_default = r; m_hasDefault = true; }

    const QList<ShownBox> &shown() const { return m_shown; }
    QStringList texts() const;
    bool saw(const QString &text) const { return texts().contains(text); }
    void clear() { m_shown.clear(); }

private:
    QList<ShownBox> m_shown;
    QList<MsgResult> m_answers;
    QList<std::optional<QString>> m_inputs;
    QList<std::function<void(QDialog &)>> m_modal;
    MsgResult m_default = MsgResult::Ok;
    bool m_hasDefault = false;
};
