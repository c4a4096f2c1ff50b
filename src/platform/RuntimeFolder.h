#pragma once
// Qt keeps the user's runtime files in the folder XDG_RUNTIME_DIR names, and
// warns on the terminal at start when it names none, or a folder Qt cannot
// use (missing, not the user's own, open to others).

#include <QString>

// Whether `path` is a runtime folder Qt takes without a word: an existing
// folder of this user's own, closed to everyone else (mode 0700).
bool RuntimeFolderUsable(const QString &path);

// Makes sure XDG_RUNTIME_DIR names a usable runtime folder before Qt starts:
// when it does not, a new private folder is made and named there; it is
// removed when the program ends. Returns the folder named.
QString EnsureRuntimeFolder();
