#include "mainwin/frmTopTitle.h"
#include "platform/AppInfo.h"
#include "platform/RuntimeFolder.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // Before Qt starts: a session without a runtime folder (a login by ssh,
    // a service) would have Qt warn about it at every start.
    EnsureRuntimeFolder();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype home = args.indexOf(QStringLiteral("--home"));
    if (home >= 0 && home + 1 < args.size()) {
        QDir().mkpath(args[home + 1]);
        SetAppPath(QDir(args[home + 1]).absolutePath());
    }
    // The program ends from the main window (it saves its settings first).
    app.setQuitOnLastWindowClosed(false);
    auto *title = new frmTopTitle;
    title->Form_Load();
    return app.exec();
}
