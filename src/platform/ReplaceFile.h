#pragma once
// The one way the program writes a file: the bytes go to a temporary file
// in the same folder, which is renamed over the old file only once it is
// complete, so a failure (folder not writable, disk full) keeps the old file.

#include <QByteArray>
#include <QString>
#include <functional>

// False, with the reason in *error, when the file could not be written; the
// old file is then as it was.
bool WriteReplacing(const QString &path, const QByteArray &data, QString *error);

// The same for a file that is kept read-only: the new file is made
// read-only before it takes the old one's place, and an old file that is
// read-only is replaced without being touched (its mode included), so a
// failure or a crash at any moment leaves it as it was.
bool WriteReplacingReadOnly(const QString &path, const QByteArray &data, QString *error);

// For tests: called with the temporary file's path when the new file is
// complete and before it takes the old one's place. Returning false stops
// the write there, as a crash would (the temporary file is then removed).
using ReplaceHook = std::function<bool(const QString &temporary)>;
void SetReplaceHook(ReplaceHook hook);
