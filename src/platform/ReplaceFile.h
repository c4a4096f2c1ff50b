#pragma once
// The one way the program writes a file: the bytes go to a temporary file
// in the same folder, which is renamed over the old file only once it is
// complete, so a failure (folder not writable, disk full) keeps the old file.

#include <QByteArray>
#include <QString>

// False, with the reason in *error, when the file could not be written; the
// old file is then as it was.
bool WriteReplacing(const QString &path, const QByteArray &data, QString *error);
