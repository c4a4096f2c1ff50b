#include "platform/ReplaceFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ReplaceHook &replaceHook()
{
    static ReplaceHook hook;
    return hook;
}

QString shortWrite(qint64 written, qsizetype size)
{
    return QStringLiteral("only %1 of %2 bytes could be written; the disk may be full").arg(written).arg(size);
}

// The read bits a read-only file gets: those of the old file, or for a new
// file those the process's file mask lets through. The "user" bits say what
// this process may do, not what the file allows: they are left out, or root
// would restore a write bit.
QFileDevice::Permissions readOnlyMode(const QFileInfo &old)
{
    constexpr QFileDevice::Permissions kKept = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther
                                               | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    if (old.exists())
        return old.permissions() & kKept;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QFileDevice::Permissions p = QFileDevice::ReadOwner;
    if (!(mask & S_IRGRP))
        p |= QFileDevice::ReadGroup;
    if (!(mask & S_IROTH))
        p |= QFileDevice::ReadOther;
    return p;
}

} // namespace

void SetReplaceHook(ReplaceHook hook)
{
    replaceHook() = std::move(hook);
}

bool WriteReplacing(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    // A short write (disk full, file size limit) is not always reported by
    // the write or the commit: the bytes on disk are counted before the
    // rename instead.
    if (f.write(data) != data.size() || !f.flush() || f.size() != data.size()) {
        *error = shortWrite(f.size(), data.size());
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

bool WriteReplacingReadOnly(const QString &path, const QByteArray &data, QString *error)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *error = QStringLiteral("it is a folder");
        return false;
    }
    // Nothing of the old file is changed before the rename: a read-only old
    // file needs no write bit to be replaced, only the folder does.
    QTemporaryFile f(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!f.open()) {
        *error = f.errorString();
        return false;
    }
    if (f.write(data) != data.size() || !f.flush() || f.size() != data.size()) {
        *error = shortWrite(f.size(), data.size());
        return false;
    }
    // On the disk before the new file takes the old one's place.
    if (::fsync(f.handle()) != 0) {
        *error = QStringLiteral("the new file cannot be stored on the disk");
        return false;
    }
    f.close();
    if (!f.setPermissions(readOnlyMode(target))) {
        *error = f.errorString();
        return false;
    }
    if (replaceHook() && !replaceHook()(f.fileName())) {
        *error = QStringLiteral("the save was stopped before the new file took the old one's place");
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(f.fileName().toStdString()),
                            std::filesystem::path(target.absoluteFilePath().toStdString()), ec);
    if (ec) {
        *error = QString::fromStdString(ec.message());
        return false;
    }
    f.setAutoRemove(false);
    return true;
}
