#pragma once
// The program's folder, version and title, and the system locale.

#include <QString>

#include <functional>

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
// in progress; first it runs the work that must not be lost (BeforeProgramEnd),
// newest first. Tests install a hook in place of the real end.
void EndProgram();
void SetEndProgramHook(void (*hook)());


// Work that EndProgram runs before the program ends, for as long as this
// object lives (a transfer writes what it read but has not stored yet).
class BeforeProgramEnd
{
public:
    explicit BeforeProgramEnd(std::function<void()> work);
    ~BeforeProgramEnd();
    BeforeProgramEnd(const BeforeProgramEnd &) = delete;
    BeforeProgramEnd &operator=(const BeforeProgramEnd &) = delete;

private:
    std::function<void()> m_work;
    friend void EndProgram();
};
