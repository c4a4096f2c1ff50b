#pragma once
// The settings file "ZT260.Tsx": one value a line, its position its meaning.
// 50 choice flags, 400 axis texts, 68 titles, the monitor period, 4 unit
// codes, 28 factors and the extension program mode flag.

#include "shared/EntryChecks.h"
#include "shared/Shared.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// The choice flags as the file keeps them (items 0..49 are written): read
// into here, then taken by the main window; filled by it before a write.
extern std::array<int16_t, kSettingFlags> SettingFlags;
// Puts the flags back to their first state.
void ResetSettingFlags();

constexpr int kSettingsLines = 552;
constexpr int kSettingsCoreLines = 519;   // a file ending before these is cut short

// The file a damaged settings file is kept as when it is replaced.
inline const QString kSettingsBackupName = QStringLiteral("ZT260.Tsx.bak");

struct SettingsReadResult {
    int linesPresent = 0;       // lines of the file that were looked at (at most 552)
    QList<int> badLines;        // lines (from 1) not understood; their values keep their start values
    std::optional<int> period;  // the monitor period, when its line was understood

    // The file ends before the monitor period: the later values keep their
    // start values. The 519 lines of the older layout are complete.
    bool cutShort() const { return linesPresent < kSettingsCoreLines; }
    bool damaged() const { return cutShort() || !badLines.isEmpty(); }
    // The value of line `index` (from 0) was read and understood.
    bool taken(int index) const { return index < linesPresent && !badLines.contains(index + 1); }
};

// The text of one value: a quoted value is everything between its first and
// its last double quote, so a title holding a quote survives; a plain value
// is the line with its blanks trimmed.
QString SettingsValue(const QString &line);

// Reads the lines into SettingFlags (0..49), the I/O titles (frmIo) and the
// shared store (axis texts, unit codes, factors, extension flag); the period
// is handed back. Every value has its own line, so a value that is not understood leaves its field as it
// was and reading goes on with the next line.
SettingsReadResult ReadSettingsLines(const QStringList &lines);

// What the operator is told about a damaged file named `fileName`; empty
// when the file was sound.
QString SettingsDamageText(const SettingsReadResult &r, const QString &fileName);

// The 552 lines of a settings file for the values above and this period.
QStringList SettingsLines(int periodMs);

// The settings file in the program folder, found without regard to letter
// case; the path of a new file when none exists.
QString SettingsFilePath();

// Reads the file's lines; false when there is no file or it cannot be read.
bool ReadSettingsFile(QStringList *lines);

// Writes the lines (CR LF) to a temporary file beside the settings file and
// renames it over the old one, so a failure keeps the old file.
bool WriteSettingsFile(const QStringList &lines, QString *error);

// Copies the settings file as it stands to ZT260.Tsx.bak beside it (true
// when there is no file to keep).
bool KeepSettingsBackup(QString *error);
