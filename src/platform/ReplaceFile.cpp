#include "platform/ReplaceFile.h"

#include <QSaveFile>

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
        *error = QStringLiteral("only %1 of %2 bytes could be written; the disk may be full").arg(f.size()).arg(data.size());
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}
