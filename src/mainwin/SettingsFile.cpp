#include "mainwin/SettingsFile.h"

#include "mainwin/frmIo.h"
#include "platform/AppInfo.h"
#include "platform/ReplaceFile.h"
#include "shared/AxisFactor.h"
#include "shared/EntryChecks.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <optional>

std::array<int16_t, kSettingFlags> SettingFlags{};

void ResetSettingFlags()
{
    SettingFlags = {};
}

namespace {

const QString kFileName = QStringLiteral("ZT260.Tsx");

// Where each kind of value begins in the file (line index from 0).
constexpr int kEntriesAt = 50;
constexpr int kTitlesAt = kEntriesAt + kAxes * kAxisEntries;
constexpr int kPeriodAt = kTitlesAt + kIoTitles;
constexpr int kUnitsAt = kPeriodAt + 1;
constexpr int kFactorsAt = kUnitsAt + kAxes;
constexpr int kExtendedAt = kFactorsAt + kAxes * kUnitCodes;
static_assert(kPeriodAt + 1 == kSettingsCoreLines && kExtendedAt + 1 == kSettingsLines);

// A whole number within lo..hi after rounding; nothing when the value is no
// number or lies outside.
std::optional<int> wholeInRange(const QString &value, int lo, int hi)
{
    const auto v = WholeNumber(value);
    if (!v)
        return std::nullopt;
    const double r = RoundHalfEven(*v);
    if (r < lo || r > hi)
        return std::nullopt;
    return int(r);
}

std::optional<int16_t> integerValue(const QString &value)
{
    const auto v = wholeInRange(value, -32768, 32767);
    return v ? std::optional<int16_t>(int16_t(*v)) : std::nullopt;
}

// Stores the value of line `i` in its field; false, leaving the field as it
// was, when the value is not one the field can hold.
bool takeLine(int i, const QString &line, std::optional<int> *period)
{
    const QString value = SettingsValue(line);
    if (i < kEntriesAt) {
        const auto v = integerValue(value);
        // Items 6 to 13 are check boxes: 0 clear, 1 ticked, 2 greyed.
        if (!v || (i >= 6 && i <= 13 && (*v < 0 || *v > 2)))
            return false;
        SettingFlags[size_t(i)] = *v;
        return true;
    }
    if (i < kTitlesAt) {
        const int axis = (i - kEntriesAt) / kAxisEntries;
        const int entry = (i - kEntriesAt) % kAxisEntries;
        // Entries 0 and 1 are shown again at start: the preset amount in
        // pulses and the manual speed.
        if (entry == 0 && !value.trimmed().isEmpty() && !WholeNumber(value))
            return false;
        if (entry == 1 && !SpeedTextAccepted(value))
            return false;
        g.AxisEntryText[size_t(axis)][size_t(entry)] = value;
        return true;
    }
    if (i < kPeriodAt) {
        frmIo::IoTitle[size_t(i - kTitlesAt)] = FitTitle(value);
        return true;
    }
    if (i == kPeriodAt) {
        *period = wholeInRange(value, 0, 65535);   // what the monitor timer takes
        return period->has_value();
    }
    if (i < kFactorsAt) {
        // Only a unit with a name can be shown and chosen again; the factor
        // table keeps codes up to 6, but nothing stores a unit above 3.
        const auto v = wholeInRange(value, 0, kUnitNames - 1);
        if (!v)
            return false;
        g.ScaleSel[size_t(i - kUnitsAt)] = int16_t(*v);
        return true;
    }
    if (i < kExtendedAt) {
        const int axis = (i - kFactorsAt) / kUnitCodes;
        const int unit = (i - kFactorsAt) % kUnitCodes;
        const auto f = ReadFactor(value);
        if (!f)
            return false;
        g.ScaleFactor[size_t(unit)][size_t(axis)] = PlainForm(*f);
        return true;
    }
    const auto v = integerValue(value);
    if (!v)
        return false;
    g.ExtendedCmdSet = *v;
    return true;
}

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

} // namespace

QString SettingsValue(const QString &line)
{
    const qsizetype first = line.indexOf(u'"');
    if (first >= 0 && line.left(first).trimmed().isEmpty()) {
        const qsizetype last = line.lastIndexOf(u'"');
        return last > first ? line.mid(first + 1, last - first - 1) : line.mid(first + 1);
    }
    return line.trimmed();
}

SettingsReadResult ReadSettingsLines(const QStringList &lines)
{
    SettingsReadResult r;
    r.linesPresent = int(qMin<qsizetype>(lines.size(), kSettingsLines));
    for (int i = 0; i < r.linesPresent; ++i)
        if (!takeLine(i, lines[i], &r.period))
            r.badLines << i + 1;
    return r;
}

QString SettingsDamageText(const SettingsReadResult &r, const QString &fileName)
{
    if (!r.damaged())
        return {};
    QStringList parts;
    if (!r.badLines.isEmpty())
        parts << QStringLiteral("Lines of the settings file %1 that were not understood: %2.")
                     .arg(fileName, NumberRanges(r.badLines));
    if (r.cutShort())
        parts << (r.linesPresent == 0
                      ? QStringLiteral("The settings file %1 is empty.").arg(fileName)
                      : QStringLiteral("The settings file %1 ends after line %2.").arg(fileName).arg(r.linesPresent));
    parts << QStringLiteral("Those settings keep their start values. When the program closes, the old file is kept as %1.")
                 .arg(kSettingsBackupName);
    return parts.join(u'\n');
}

QStringList SettingsLines(int periodMs)
{
    QStringList out;
    out.reserve(kSettingsLines);
    for (int i = 0; i < 50; ++i)
        out << QString::number(SettingFlags[i]);
    for (int axis = 0; axis < kAxes; ++axis)
        for (int e = 0; e < kAxisEntries; ++e)
            out << quoted(g.AxisEntryText[axis][e]);
    for (int i = 0; i < kIoTitles; ++i)
        out << quoted(FitTitle(frmIo::IoTitle[i]));
    out << quoted(SignedForm(periodMs));
    for (int axis = 0; axis < kAxes; ++axis)
        out << quoted(SignedForm(g.ScaleSel[axis]));
    for (int axis = 0; axis < kAxes; ++axis)
        for (int unit = 0; unit < kUnitCodes; ++unit) {
            const auto f = ReadFactor(g.ScaleFactor[unit][axis]);
            out << quoted(f ? SignedForm(*f) : QStringLiteral("1"));
        }
    out << QString::number(g.ExtendedCmdSet);
    return out;
}

QString SettingsFilePath()
{
    const QDir dir(AppPath());
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &n : names)
        if (n.compare(kFileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(n);
    return dir.filePath(kFileName);
}

bool ReadSettingsFile(QStringList *lines)
{
    QFile f(SettingsFilePath());
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromLatin1(f.readAll());
    QStringList l = text.split(u'\n');
    for (QString &s : l)
        if (s.endsWith(u'\r'))
            s.chop(1);
    // A final line break ends the last value, it does not start another.
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    *lines = l;
    return true;
}

bool WriteSettingsFile(const QStringList &lines, QString *error)
{
    QByteArray data;
    for (const QString &l : lines)
        data += l.toLatin1() + "\r\n";
    return WriteReplacing(SettingsFilePath(), data, error);
}

bool KeepSettingsBackup(QString *error)
{
    QFile old(SettingsFilePath());
    if (!old.exists())
        return true;
    if (!old.open(QIODevice::ReadOnly)) {
        *error = old.errorString();
        return false;
    }
    const QByteArray data = old.readAll();
    if (old.error() != QFileDevice::NoError) {
        *error = old.errorString();
        return false;
    }
    return WriteReplacing(QDir(AppPath()).filePath(kSettingsBackupName), data, error);
}
