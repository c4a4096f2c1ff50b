#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
DialogService *installed = nullptr;

// The title the program's windows carry, for boxes without one of their own.
QString titled(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("ZT260A/ZT460A") : title;
}

// An input box whose OK does not close it while its check refuses the text:
// the refusal is shown over it, and the text stays to be mended.
class CheckedInputDialog : public QInputDialog
{
public:
    CheckedInputDialog(QWidget *parent, const DialogService::InputCheck &check)
        : QInputDialog(parent), m_check(check)
    {
        setInputMode(QInputDialog::TextInput);
    }

    void done(int result) override
    {
        if (result == QDialog::Accepted && m_check) {
            if (const QString refusal = m_check(textValue()); !refusal.isEmpty()) {
                MsgBox(refusal, MsgButtons::Ok, {}, MsgIcon::Critical);
                return;
            }
        }
        QInputDialog::done(result);
    }

private:
    DialogService::InputCheck m_check;
};
} // namespace

DialogService &Dialogs()
{
    static QtDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

void SetDialogs(DialogService *service)
{
    installed = service;
}

int DialogService::modal(QDialog &dialog)
{
    return dialog.exec();
}

MsgResult MsgBox(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon)
{
    return Dialogs().message(text, titled(title), buttons, icon);
}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText,
                 const DialogService::InputCheck &check)
{
    return Dialogs().input(prompt, titled(title), defaultText, check).value_or(QString());
}

MsgResult QtDialogs::message(const QString &text, const QString &title,
                             MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(QString(text).replace(u'\r', u'\n'));
    switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::None: break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::Ok: set = QMessageBox::Ok; break;
    case MsgButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case MsgButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case MsgButtons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
    case MsgButtons::AbortRetryIgnore: set = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore; break;
    }
    box.setStandardButtons(set);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Retry: return MsgResult::Retry;
    case QMessageBox::Abort: return MsgResult::Abort;
    case QMessageBox::Ignore: return MsgResult::Ignore;
    default:
        // Closing the box counts as its cancelling answer.
        if (buttons == MsgButtons::YesNo) return MsgResult::No;
        if (buttons == MsgButtons::Ok) return MsgResult::Ok;
        if (buttons == MsgButtons::AbortRetryIgnore) return MsgResult::Abort;
        return MsgResult::Cancel;
    }
}

std::optional<QString> QtDialogs::input(const QString &prompt, const QString &title,
                                        const QString &defaultText, const InputCheck &check)
{
    CheckedInputDialog box(QApplication::activeWindow(), check);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}
