#pragma once
// The settings file "ZT260.Tsx": one value a line, its position its meaning.
// 50 choice flags, 400 axis texts, 68 titles, the monitor period, 4 unit
// codes, 28 factors and the extension program mode flag.

#include <QString>
#include <QStringList>

constexpr int kSettingsLines = 552;
constexpr int kSettingsCoreLines = 519;   // read without an end-of-file test

struct SettingsReadResult {
    int valuesRead = 0;     // values stored before the end or a failure
    bool failed = false;    // a value did not fit; nothing after it was read
    bool hasPeriod = false;
    QString periodText;     // the monitor period as it stood in the file
};

// The text of one value: a quoted value is everything between its first and
// its last double quote, so a title holding a quote survives; a plain value
// is the line with its blanks trimmed.
QString SettingsValue(const QString &line);

// A title fitted to 10 characters: padded with blanks or cut.
QString FitTitle(const QString &title);

// Reads the lines into the shared store (flags 0..49, axis texts, titles,
// unit codes, factors, extension flag); the period is handed back.
SettingsReadResult ReadSettingsLines(const QStringList &lines);

// The 552 lines of a settings file for the shared store and this period.
QStringList SettingsLines(int periodMs);

// The settings file in the program folder, found without regard to letter
// case; the path of a new file when none exists.
QString SettingsFilePath();

// Reads the file's lines; false when there is no file or it cannot be read.
bool ReadSettingsFile(QStringList *lines);

// Writes the lines (CR LF) to a temporary file beside the settings file and
// renames it over the old one, so a failure keeps the old file.
bool WriteSettingsFile(const QStringList &lines, QString *error);
