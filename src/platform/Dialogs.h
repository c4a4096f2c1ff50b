#pragma once
// Every message box, question and input box of the program goes through this
// one interface. The program installs the Qt dialogs; tests install a
// scripted responder, so nothing ever blocks on a modal window there.

#include <QString>
#include <functional>
#include <optional>

class QDialog;

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

class DialogService
{
public:
    virtual ~DialogService() = default;
    virtual MsgResult message(const QString &text, const QString &title,
                              MsgButtons buttons, MsgIcon icon) = 0;
    // Why an input box's answer is refused, or the empty text when it is taken.
    using InputCheck = std::function<QString(const QString &answer)>;
    // The answer, or nothing when the operator cancels. An answer `check`
    // refuses is not taken: the refusal is shown (as MsgBox does, critical,
    // the program's title) and the box stays with the refused text, for the
    // operator to mend or cancel.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText, const InputCheck &check) = 0;
    // Shows one of the program's own modal windows and returns once it has
    // closed, with its result (QDialog::Accepted or Rejected).
    virtual int modal(QDialog &dialog);
};

// The service in use; the Qt dialogs unless another one was installed.
DialogService &Dialogs();
// Installs a service (nullptr puts the Qt dialogs back). Not owned.
void SetDialogs(DialogService *service);

// Shorthands. An empty title shows "ZT260A/ZT460A", the title of the
// program's windows.
MsgResult MsgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok,
                 const QString &title = {}, MsgIcon icon = MsgIcon::None);
// The answer, or the empty text on Cancel; `check` as for input().
QString InputBox(const QString &prompt, const QString &title = {},
                 const QString &defaultText = {}, const DialogService::InputCheck &check = {});

class QtDialogs : public DialogService
{
public:
    MsgResult message(const QString &text, const QString &title,
                      MsgButtons buttons, MsgIcon icon) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText, const InputCheck &check) override;
};
