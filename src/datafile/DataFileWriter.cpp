#include "datafile/DataFileWriter.h"

#include "params/ParamTables.h"
#include "platform/Dialogs.h"
#include "platform/ReplaceFile.h"
#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "shared/AxisFactor.h"
#include "shared/Shared.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

std::optional<QString> unkeepable(QStringView text, bool commaToo)
{
    // Most texts hold nothing to refuse: found first, the reason made after.
    const auto bad = std::find_if(text.begin(), text.end(), [commaToo](QChar c) {
        const char16_t u = c.unicode();
        return u == u'"' || u == u'\r' || u == u'\n' || u > 0xFF || (commaToo && u == u',');
    });
    if (bad == text.end())
        return std::nullopt;
    if (*bad == u'"')
        return QStringLiteral("a double quote");
    if (*bad == u'\r' || *bad == u'\n')
        return QStringLiteral("a line break");
    if (*bad == u',')
        return QStringLiteral("a comma");
    return QStringLiteral("the character \"%1\"").arg(*bad);
}

// Copies a text to `to` as Latin-1 and returns the end; the checks before
// have let through only texts whose characters all fit in a byte.
char *latin1(char *to, QStringView text)
{
    for (const QChar c : text)
        *to++ = char(c.unicode());
    return to;
}

void append(QByteArray &out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    latin1(out.data() + at, text);
}

void line(QByteArray &out, QStringView text)
{
    append(out, text);
    out += "\r\n";
}

QString parameterName(int item)
{
    if (const ParamItem *p = ParamItemOf(item))
        return QLatin1String(p->mnemonic);
    return QStringLiteral("item %1").arg(item);
}

// The values line of a section of an axis.
void valuesLine(QByteArray &out, BlockSection s, int axis)
{
    const auto a = size_t(axis);
    for (int i = 0; i < SectionItems(s); ++i) {
        const auto n = size_t(i);
        if (i > 0)
            out += ", ";
        switch (s) {
        case BlockSection::Mode: out += QByteArray::number(g.ModeSetTable[a][n]); break;
        case BlockSection::HomeSearch: out += QByteArray::number(g.HomeSetTable[a][n]); break;
        case BlockSection::Parameter: append(out, g.ParamTable[a][n]); break;
        }
    }
    out += "\r\n";
}

// A factor as the reader takes it back: its own text, or 1 for a text that
// is no factor (nothing the program computes with).
QString factorText(int unit, int axis)
{
    const QString &text = g.ScaleFactor[size_t(unit)][size_t(axis)];
    return ReadFactor(text) ? text : QStringLiteral("1");
}

} // namespace

QString DataFileHeader(UnitKind kind, const QDateTime &when)
{
    const QString head = kind == UnitKind::TwoAxis ? QStringLiteral("# ZT260A Data file  ")
                                                   : QStringLiteral("# ZT260A/ZT460A Data file  ");
    return head + when.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral("  ")
           + when.toString(QStringLiteral("HH:mm:ss"));
}

std::optional<QString> UnkeepableInRecord(const QString &text)
{
    return unkeepable(text, false);
}

std::optional<QString> UnkeepableInParameter(const QString &text)
{
    return unkeepable(text, true);
}

std::optional<QByteArray> DataFileBytes(UnitKind kind, const std::vector<QStringList> &records,
                                        const QDateTime &when, QString *refusal,
                                        const DataFileProgress &progress)
{
    const int registers = RegisterCount(kind);
    if (int(records.size()) != registers) {
        *refusal = QStringLiteral("The program holds %1 registers, not %2.").arg(records.size()).arg(registers);
        return std::nullopt;
    }
    // Every text first, so that nothing is written when one is refused.
    for (int a = 0; a < kAxes; ++a)
        for (int i = 0; i < kParamItems; ++i)
            if (const auto why = UnkeepableInParameter(g.ParamTable[size_t(a)][size_t(i)])) {
                *refusal = QStringLiteral("The parameter %1 of the %2 holds %3, which a data file cannot keep.")
                               .arg(parameterName(i), AxisName(a), *why);
                return std::nullopt;
            }
    qsizetype recordChars = 0;
    for (int reg = 0; reg < registers; ++reg) {
        const QStringList &fields = records[size_t(reg)];
        if (fields.size() != kProgramFields) {
            *refusal = QStringLiteral("Register %1 cannot be read whole.").arg(reg);
            return std::nullopt;
        }
        for (int f = 0; f < kProgramFields; ++f) {
            recordChars += fields[f].size();
            if (const auto why = UnkeepableInRecord(fields[f])) {
                *refusal = QStringLiteral("Register %1 (%2) holds %3, which a data file cannot keep.")
                               .arg(reg)
                               .arg(ProgramFieldNames()[f], *why);
                return std::nullopt;
            }
        }
    }

    int count = 0;
    auto advance = [&] {
        ++count;
        if (progress)
            progress(count);
    };
    // One buffer, sized for the record lines and the few lines around them.
    QByteArray out;
    out.reserve(recordChars + registers * (4 * kProgramFields) + 4096);
    line(out, DataFileHeader(kind, when));
    line(out, QStringLiteral("# "));
    line(out, QStringLiteral("# Contorl parameter "));
    for (int a = 0; a < kAxes; ++a) {
        out += "\r\n\r\n";
        line(out, AxisHeading(a));
        for (BlockSection s : {BlockSection::Mode, BlockSection::HomeSearch, BlockSection::Parameter}) {
            line(out, SectionHeading(s));
            valuesLine(out, s, a);
            out += "\r\n";
        }
        advance();
    }
    line(out, kProgramMarker);
    // The record lines go straight into the room made for them: 22 quoted
    // fields parted by ", ", and the line end.
    const qsizetype start = out.size();
    out.resize(start + recordChars + qsizetype(registers) * 4 * kProgramFields);
    char *to = out.data() + start;
    for (const QStringList &fields : records) {
        for (int f = 0; f < kProgramFields; ++f) {
            if (f > 0) {
                *to++ = ',';
                *to++ = ' ';
            }
            *to++ = '"';
            to = latin1(to, fields[f]);
            *to++ = '"';
        }
        *to++ = '\r';
        *to++ = '\n';
        advance();
    }
    Q_ASSERT(to == out.constData() + out.size());
    line(out, kScaleMarker);
    for (int a = 0; a < kAxes; ++a)
        line(out, QString(u'"' + QString::number(g.ScaleSel[size_t(a)]) + u'"'));
    for (int a = 0; a < kAxes; ++a)
        for (int unit = 0; unit < kFileUnitCodes; ++unit)
            line(out, QString(u'"' + factorText(unit, a) + u'"'));
    return out;
}

std::optional<QString> SaveDataFile(const QString &path, const QDateTime &when, const DataFileProgress &progress)
{
    const QString name = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    const bool replacing = target.isFile();
    const QString notSaved = replacing ? QStringLiteral("The data file %1 was not saved; the old file is kept as it was.")
                                       : QStringLiteral("The data file %1 was not saved.");
    auto refused = [&](const QString &why) { return why + u'\n' + notSaved.arg(name); };

    const UnitKind kind = CurrentUnitKind();
    ProgramTable &table = ProgramTableOf(kind);
    // A missing database would be made anew, empty: that is no program to save.
    if (!QFileInfo::exists(table.FilePath()))
        return refused(QStringLiteral("The program database %1 is missing.")
                           .arg(QDir::toNativeSeparators(table.FilePath())));
    if (const auto cannot = table.Open())
        return refused(*cannot);
    const std::vector<QStringList> records = table.ReadAll();
    if (int(records.size()) != table.RegisterCount())
        return refused(QStringLiteral("The program cannot be read: %1.").arg(table.ErrorText()));

    QString refusal;
    const auto bytes = DataFileBytes(kind, records, when, &refusal, progress);
    if (!bytes)
        return refused(refusal);

    // A saved file is left read-only; the next save onto it replaces it
    // without touching it before the new one is complete.
    QString error;
    if (!WriteReplacingReadOnly(path, *bytes, &error))
        return refused(QStringLiteral("The data file %1 cannot be written: %2.").arg(name, error));
    return std::nullopt;
}

bool DatSaveAct(const QString &path, const DataFileProgress &progress)
{
    if (const auto failed = SaveDataFile(path, QDateTime::currentDateTime(), progress)) {
        MsgBox(*failed, MsgButtons::Ok, QStringLiteral("File Save Message"), MsgIcon::Critical);
        return false;
    }
    return true;
}
