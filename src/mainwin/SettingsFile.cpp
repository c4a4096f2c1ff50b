#include "mainwin/SettingsFile.h"

#include "platform/AppInfo.h"
#include "shared/AxisFactor.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <optional>

namespace {

const QString kFileName = QStringLiteral("ZT260.Tsx");

// A plain 16-bit integer value; nothing when it is no number or does not fit.
std::optional<int16_t> integerValue(const QString &line)
{
    const auto v = WholeNumber(SettingsValue(line));
    if (!v)
        return std::nullopt;
    const double r = RoundHalfEven(*v);
    if (r < -32768 || r > 32767)
        return std::nullopt;
    return int16_t(r);
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

QString FitTitle(const QString &title)
{
    return title.left(10).leftJustified(10, u' ');
}

SettingsReadResult ReadSettingsLines(const QStringList &lines)
{
    SettingsReadResult r;
    qsizetype next = 0;
    auto more = [&] { return next < lines.size(); };
    auto take = [&] { return lines[next++]; };
    auto fail = [&] {
        r.failed = true;
        return r;
    };

    for (int i = 0; i < 50; ++i) {
        if (!more())
            return fail();
        const auto v = integerValue(take());
        if (!v)
            return fail();
        g.SettingFlags[i] = *v;
        ++r.valuesRead;
    }
    for (int axis = 0; axis < kAxes; ++axis)
        for (int e = 0; e < kAxisEntries; ++e) {
            if (!more())
                return fail();
            g.AxisEntryText[axis][e] = SettingsValue(take());
            ++r.valuesRead;
        }
    for (int i = 0; i < kIoTitles; ++i) {
        if (!more())
            return fail();
        g.IoTitle[i] = FitTitle(SettingsValue(take()));
        ++r.valuesRead;
    }
    if (!more())
        return fail();
    r.periodText = SettingsValue(take());
    r.hasPeriod = true;
    ++r.valuesRead;

    // The rest came with later versions of the file: each is read only when
    // the file goes on.
    for (int axis = 0; axis < kAxes; ++axis) {
        if (!more())
            return r;
        const double v = RoundHalfEven(LeadingNumber(SettingsValue(take())));
        if (v < -32768 || v > 32767)
            return fail();
        g.ScaleSel[axis] = int16_t(v);
        ++r.valuesRead;
    }
    for (int axis = 0; axis < kAxes; ++axis)
        for (int unit = 0; unit < kUnitCodes; ++unit) {
            if (!more())
                return r;
            // A value that is no factor leaves the start value in place.
            if (const auto f = ReadFactor(SettingsValue(take())))
                g.ScaleFactor[unit][axis] = PlainForm(*f);
            ++r.valuesRead;
        }
    if (more()) {
        const auto v = integerValue(take());
        if (!v)
            return fail();
        g.ExtendedCmdSet = *v;
        ++r.valuesRead;
    }
    return r;
}

QStringList SettingsLines(int periodMs)
{
    QStringList out;
    out.reserve(kSettingsLines);
    for (int i = 0; i < 50; ++i)
        out << QString::number(g.SettingFlags[i]);
    for (int axis = 0; axis < kAxes; ++axis)
        for (int e = 0; e < kAxisEntries; ++e)
            out << quoted(g.AxisEntryText[axis][e]);
    for (int i = 0; i < kIoTitles; ++i)
        out << quoted(FitTitle(g.IoTitle[i]));
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
    QSaveFile f(SettingsFilePath());
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    QByteArray data;
    for (const QString &l : lines)
        data += l.toLatin1() + "\r\n";
    if (f.write(data) != data.size()) {
        *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}
