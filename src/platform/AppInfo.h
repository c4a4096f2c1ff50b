#pragma once
// The program's folder, version and title, and the system locale.

#include <QString>

// Folder of the executable, or the folder given with --home DIR.
QString AppPath();
void SetAppPath(const QString &dir);

int AppVersionMajor();
int AppVersionMinor();
int AppVersionRevision();
QString AppTitle();

// The system locale as a numeric id (Japanese = 1041, English = 1033).
// Tests may set the id the program sees; -1 returns to the system's own.
int SystemLocaleId();
void SetLocaleIdOverride(int id);

constexpr int kLocaleJapanese = 1041;

// Ends the program at once, whatever windows are open and whatever waits are
// in progress. Tests install a hook in place of the real end.
void EndProgram();
void SetEndProgramHook(void (*hook)());
