#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <unistd.h>

bool RuntimeFolderUsable(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                              | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    return info.isDir() && info.ownerId() == uint(geteuid()) && info.permissions() == kOwnerOnly;
}

QString EnsureRuntimeFolder()
{
    const QString named = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (RuntimeFolderUsable(named))
        return named;
    // Made readable by its owner only; it lives until the program ends.
    static std::unique_ptr<QTemporaryDir> own;
    own = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/ztmotion-runtime-XXXXXX"));
    if (!own->isValid())
        return named;
    QFile::setPermissions(own->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own->path()));
    return own->path();
}
