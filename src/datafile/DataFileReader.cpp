#include "datafile/DataFileReader.h"

#include "params/ParamRequests.h"
#include "params/frmDataGrid1.h"
#include "platform/Dialogs.h"
#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "shared/AxisFactor.h"
#include "shared/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

// ---- lines --------------------------------------------------------------------

QLatin1StringView DataFileLines::Next()
{
    if (AtEnd())
        return {};
    m_last = m_next;
    const char *start = m_bytes.constData() + m_next;
    const qsizetype left = m_bytes.size() - m_next;
    const auto *cr = static_cast<const char *>(std::memchr(start, '\r', size_t(left)));
    if (!cr) {
        // A last line without its CR.
        m_next = m_bytes.size();
        m_unended = true;
        return QLatin1StringView(start, left);
    }
    const qsizetype length = cr - start;
    m_next += length + 1;
    if (m_next < m_bytes.size() && m_bytes.at(m_next) == '\n')
        ++m_next;
    m_unended = false;
    return QLatin1StringView(start, length);
}

void DataFileLines::Back()
{
    m_next = m_last;
    m_unended = false;
}

QLatin1StringView RecordFields::view(qsizetype f) const
{
    if (f < 0 || f >= size())
        return {};
    const qsizetype start = m_bounds[size_t(2 * f)];
    return QLatin1StringView(m_bytes.constData() + start, m_bounds[size_t(2 * f + 1)] - start);
}

QStringList RecordFields::toList() const
{
    QStringList texts;
    texts.reserve(size());
    for (qsizetype f = 0; f < size(); ++f)
        texts << at(f);
    return texts;
}

bool RecordFields::operator==(const QStringList &texts) const
{
    if (texts.size() != size())
        return false;
    for (qsizetype f = 0; f < size(); ++f)
        if (view(f) != texts[f])
            return false;
    return true;
}

namespace {

constexpr std::array<BlockSection, kBlockSections> kSections{BlockSection::Mode, BlockSection::HomeSearch,
                                                             BlockSection::Parameter};

// The section a heading line opens, or -1.
int sectionOf(QLatin1StringView line)
{
    for (int s = 0; s < kBlockSections; ++s)
        if (line == SectionHeading(kSections[size_t(s)]))
            return s;
    return -1;
}

QString leftTrimmed(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return text.mid(i);
}

// A whole number in lo..hi, or nothing.
std::optional<int> wholeIn(const QString &text, int lo, int hi)
{
    const auto v = WholeNumber(text);
    if (!v || *v != std::floor(*v) || *v < lo || *v > hi)
        return std::nullopt;
    return int(*v);
}

// The marker a line was perhaps meant to be (the same text in another case
// or between blanks), or nothing: markers are matched exactly, and such a
// line is passed over, so the operator is told what it cost.
std::optional<QString> nearMarker(QLatin1StringView line)
{
    if (!line.contains(u'#'))
        return std::nullopt;
    const QString text = QString(line).trimmed();
    QStringList markers{kProgramMarker, kScaleMarker};
    for (int a = 0; a < kAxes; ++a)
        markers << AxisHeading(a);
    for (const QString &m : markers)
        if (text.compare(m, Qt::CaseInsensitive) == 0 && line != m)
            return m;
    return std::nullopt;
}

// A line that ends the record lines of the program section.
bool endsRecords(QLatin1StringView line)
{
    return IsBlockMarker(line) || nearMarker(line);
}

// "register 5 was" or "registers 5 to 53 were", as the count asks.
QString registersNotLoaded(int from, int to)
{
    return from == to ? QStringLiteral("register %1 was not loaded").arg(from)
                      : QStringLiteral("registers %1 to %2 were not loaded").arg(from).arg(to);
}

QString modelName(UnitKind kind)
{
    return kind == UnitKind::TwoAxis ? QStringLiteral("ZT260A") : QStringLiteral("ZT460A");
}

// Whether the first field of a record line names register `reg`.
bool namesRegister(QLatin1StringView text, int reg)
{
    // The plain digits every saved file holds need no number reading.
    if (!text.isEmpty() && text.size() <= 9
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int n = 0;
        for (const char c : text)
            n = n * 10 + (c - '0');
        return n == reg;
    }
    return wholeIn(QString(text), reg, reg) == reg;
}

// A record line split into its 22 quoted fields.
struct RecordLine {
    std::optional<QLatin1StringView> reg1;   // the first field, when it is closed
    std::optional<RecordFields> fields;      // of a whole line only
};

// A whole line holds 22 fields, each between double quotes and followed by
// a comma before the next one opens; text outside the quotes is passed
// over. A double quote inside a field (which older files may hold) would
// cut that field and take the next ones from the wrong places, and a lone
// line feed could not be saved again: such a line is not whole. The line is
// read once, from double quote to double quote.
RecordLine parseRecord(const DataFileLines &lines, QLatin1StringView line)
{
    constexpr int kQuotes = 2 * kProgramFields;
    const char *begin = line.data();
    const char *end = begin + line.size();
    RecordFields::Bounds quote{};
    int quotes = 0;
    bool parted = true;   // each field so far followed by a comma before the next opened
    const char *closed = begin;
    for (const char *at = begin; quotes <= kQuotes;) {
        const auto *hit = static_cast<const char *>(std::memchr(at, '"', size_t(end - at)));
        if (!hit)
            break;
        if (quotes % 2 == 1)
            closed = hit;
        else if (quotes > 0 && !std::memchr(closed, ',', size_t(hit - closed)))
            parted = false;
        if (quotes < kQuotes)
            quote[size_t(quotes)] = hit - begin;
        ++quotes;
        at = hit + 1;
    }
    RecordLine r;
    if (quotes >= 2)
        r.reg1 = line.sliced(quote[0] + 1, quote[1] - quote[0] - 1);
    if (quotes != kQuotes || !parted || std::memchr(begin, '\n', size_t(line.size())))
        return r;
    // Each field runs from after its opening quote to its closing one.
    const qsizetype offset = begin - lines.Bytes().constData();
    for (size_t q = 0; q < quote.size(); q += 2) {
        quote[q] += offset + 1;
        quote[q + 1] += offset;
    }
    r.fields.emplace(lines.Bytes(), quote);
    return r;
}

class Walk
{
public:
    Walk(const QByteArray &bytes, UnitKind kind, const DataFileProgress &progress)
        : m_lines(bytes), m_kind(kind), m_progress(progress)
    {
        m_out.records.resize(size_t(RegisterCount(kind)));
    }

    DataFileContent run()
    {
        bool anyMarker = false;
        while (!m_lines.AtEnd()) {
            const QLatin1StringView line = m_lines.Next();
            if (const int axis = AxisOfHeading(line); axis >= 0) {
                anyMarker = true;
                m_out.axisFound[size_t(axis)] = true;
                DataUp(m_lines, axis, m_out);
                advance();
            } else if (line == kProgramMarker) {
                anyMarker = true;
                m_out.programFound = true;
                program();
            } else if (line == kScaleMarker) {
                anyMarker = true;
                m_out.scaleFound = true;
                if (auto refused = scale())
                    m_scaleRefusals << *refused;
            } else if (const auto meant = nearMarker(line)) {
                m_near << *meant;
                m_out.notLoaded << QStringLiteral("The line \"%1\" is not the heading \"%2\" (headings are matched "
                                                  "exactly); the lines after it were passed over.")
                                       .arg(QString(line), *meant);
            }
        }
        // A refused scale section may be followed, or preceded, by one that
        // is taken: the message says which units and factors hold.
        for (const QString &why : std::as_const(m_scaleRefusals))
            m_out.notLoaded << (m_out.scale ? QStringLiteral("SCALE: %1; that section was passed over, and the units "
                                                             "and factors of another \"# SCALE\" section were loaded.")
                                            : QStringLiteral("SCALE: %1; the units and factors were not loaded."))
                                   .arg(why);
        if (!anyMarker) {
            m_out.notLoaded = QStringList{
                QStringLiteral("The file holds none of the lines \"# X axis\" to \"# U axis\", \"# PROGRAM\" "
                               "and \"# SCALE\": nothing was loaded.")};
            return m_out;
        }
        // A heading told of above as not matched is not named again.
        QStringList missing;
        for (int a = 0; a < kAxes; ++a)
            if (!m_out.axisFound[size_t(a)] && !m_near.contains(AxisHeading(a)))
                missing << AxisName(a);
        if (!m_out.programFound && !m_near.contains(kProgramMarker))
            missing << QStringLiteral("PROGRAM");
        if (!m_out.scaleFound && !m_near.contains(kScaleMarker))
            missing << QStringLiteral("SCALE");
        if (!missing.isEmpty())
            m_out.notLoaded << QStringLiteral("Not in the file: %1.").arg(missing.join(QStringLiteral(", ")));
        return m_out;
    }

private:
    void advance()
    {
        ++m_count;
        if (m_progress && m_count <= kDataFileProgressMax)
            m_progress(m_count);
    }

    // Record lines in register order, as far as they go and fit the model.
    void program()
    {
        const int last = LastRegister(m_kind);
        QList<int> broken;
        int reg = 0;
        for (; reg <= last; ++reg) {
            if (m_lines.AtEnd())
                break;
            const QLatin1StringView line = m_lines.Next();
            if (endsRecords(line)) {
                m_lines.Back();
                break;
            }
            advance();
            RecordLine r = parseRecord(m_lines, line);
            // A line missing or added before this one would put every later
            // record into the wrong register: the section stops instead.
            if (r.reg1 && !namesRegister(*r.reg1, reg)) {
                m_out.notLoaded << QStringLiteral("PROGRAM: the line for register %1 holds register \"%2\" "
                                                  "(a line is missing or added before it); %3.")
                                       .arg(reg)
                                       .arg(QString(*r.reg1), registersNotLoaded(reg, last));
                noteBroken(broken);
                return;
            }
            if (!r.fields) {
                broken << reg;
                continue;
            }
            m_out.records[size_t(reg)] = std::move(r.fields);
        }
        noteBroken(broken);
        if (reg <= last) {
            m_out.notLoaded << (reg == 0 ? QStringLiteral("PROGRAM: the section holds no register; %1.")
                                               .arg(registersNotLoaded(0, last))
                                         : QStringLiteral("PROGRAM: the file ends its program after register %1; %2.")
                                               .arg(reg - 1)
                                               .arg(registersNotLoaded(reg, last)));
            return;
        }
        // Record lines beyond the model's registers are passed over.
        const int surplus = passOver([](QLatin1StringView line) { return line.contains(u'"'); });
        if (surplus > 0) {
            const QString after = surplus == 1
                                      ? QStringLiteral("the record line after them was not loaded")
                                      : QStringLiteral("the %1 record lines after them were not loaded").arg(surplus);
            m_out.notLoaded << QStringLiteral("PROGRAM: the %1 keeps registers 0 to %2; %3.")
                                   .arg(modelName(m_kind), QString::number(last), after);
        }
    }

    // Passes over the lines up to the next marker (left for the main walk)
    // or the end; how many of them `counts`.
    int passOver(const std::function<bool(QLatin1StringView)> &counts)
    {
        int n = 0;
        while (!m_lines.AtEnd()) {
            const QLatin1StringView line = m_lines.Next();
            if (endsRecords(line)) {
                m_lines.Back();
                break;
            }
            if (counts(line))
                ++n;
        }
        return n;
    }

    void noteBroken(const QList<int> &broken)
    {
        if (broken.size() == 1)
            m_out.notLoaded << QStringLiteral("PROGRAM: the line of register %1 is not a whole record; that register "
                                              "was not loaded.")
                                   .arg(broken.front());
        else if (!broken.isEmpty())
            m_out.notLoaded << QStringLiteral("PROGRAM: the lines of registers %1 are not whole records; those "
                                              "registers were not loaded.")
                                   .arg(NumberRanges(broken));
    }

    // The units and factors, taken only when every one of them is sound and
    // the section holds no more than its lines: a line added or repeated
    // inside it would move every later value one place. Nothing when taken,
    // else why not.
    std::optional<QString> scale()
    {
        ScaleValues v;
        for (int i = 0; i < kScaleLines; ++i) {
            if (m_lines.AtEnd())
                return QStringLiteral("the file ends after %1 of its %2 lines").arg(i).arg(kScaleLines);
            const QLatin1StringView marker = m_lines.Next();
            if (IsBlockMarker(marker)) {
                m_lines.Back();
                return QStringLiteral("the section ends after %1 of its %2 lines").arg(i).arg(kScaleLines);
            }
            if (auto refused = scaleValue(QString(marker), i, v))
                // A line added before this one may have moved this value
                // here: the surplus, when there is one, is the cause to tell.
                return surplusLines(i + 1).value_or(*refused);
        }
        if (const auto surplus = surplusLines(kScaleLines))
            return surplus;
        m_out.scale = v;
        return std::nullopt;
    }

    // Takes line `i` (from 0) of the scale section into `v`; why not, when
    // it cannot be taken.
    static std::optional<QString> scaleValue(const QString &line, int i, ScaleValues &v)
    {
        const qsizetype close = line.indexOf(u'"', 1);
        if (close < 0)
            return QStringLiteral("line %1 holds no value between double quotes").arg(i + 1);
        const QString value = line.mid(1, close - 1);
        if (i < kAxes) {
            const auto unit = wholeIn(value, 0, kUnitNames - 1);
            if (!unit)
                return QStringLiteral("the unit of the %1, \"%2\", is none of 0 to 3").arg(AxisName(i), value);
            v.unit[size_t(i)] = int16_t(*unit);
            return std::nullopt;
        }
        const int axis = (i - kAxes) / kFileUnitCodes;
        const int code = (i - kAxes) % kFileUnitCodes;
        if (!ReadFactor(value)) {
            const auto number = WholeNumber(value);
            const bool tooLarge = number && *number > 0;
            return (tooLarge ? QStringLiteral("the factor of unit %1 of the %2, \"%3\", is too large: a pulse "
                                              "count times it is no finite number")
                             : QStringLiteral("the factor of unit %1 of the %2, \"%3\", is no number above 0"))
                .arg(code)
                .arg(AxisName(axis), value);
        }
        v.factor[size_t(axis)][size_t(code)] = value;
        return std::nullopt;
    }

    // The section's values lines after the `read` ones, up to the next
    // marker or the end, are passed over: why the section is refused when
    // it holds more than its lines.
    std::optional<QString> surplusLines(int read)
    {
        const int surplus = read - kScaleLines + passOver([](QLatin1StringView line) {
                                const QString text = QString(line).trimmed();
                                return !text.isEmpty() && !text.startsWith(u'#');
                            });
        if (surplus <= 0)
            return std::nullopt;
        return QStringLiteral("the section holds %1 than its %2 (a line added or repeated inside it moves every "
                              "later value one place)")
            .arg(surplus == 1 ? QStringLiteral("a line more") : QStringLiteral("%1 lines more").arg(surplus))
            .arg(kScaleLines);
    }

    DataFileLines m_lines;
    UnitKind m_kind;
    const DataFileProgress &m_progress;
    DataFileContent m_out;
    int m_count = 0;
    QStringList m_scaleRefusals;   // why each refused scale section was refused
    QStringList m_near;            // markers a line was perhaps meant to be
};

} // namespace

void DataUp(DataFileLines &lines, int axis, DataFileContent &out)
{
    if (axis < 0 || axis >= kAxes)
        return;
    AxisValues &v = out.axes[size_t(axis)];
    std::array<bool, kBlockSections> done{};
    std::array<int, kBlockSections> taken{};   // items of a section taken before the block stopped

    // The block stops: say why and what of it was not loaded.
    auto stop = [&](const QString &why) {
        QStringList rest;
        for (int s = 0; s < kBlockSections; ++s) {
            if (done[size_t(s)])
                continue;
            const BlockSection sec = kSections[size_t(s)];
            const int got = taken[size_t(s)];
            const int need = SectionItems(sec);
            rest << (got + 1 == need ? QStringLiteral("%1 value %2").arg(SectionName(sec)).arg(need)
                     : got > 0       ? QStringLiteral("%1 values %2 to %3").arg(SectionName(sec)).arg(got + 1).arg(need)
                                     : SectionName(sec));
        }
        out.notLoaded << QStringLiteral("%1: %2; not loaded: %3.").arg(AxisName(axis), why, rest.join(QStringLiteral(", ")));
    };

    while (std::find(done.begin(), done.end(), false) != done.end()) {
        if (lines.AtEnd())
            return stop(QStringLiteral("the file ends inside its block"));
        const QLatin1StringView heading = lines.Next();
        if (IsBlockMarker(heading)) {
            lines.Back();
            return stop(QStringLiteral("its block ends at \"%1\"").arg(QString(heading)));
        }
        const int s = sectionOf(heading);
        if (s < 0)
            continue;
        const BlockSection sec = kSections[size_t(s)];
        if (lines.AtEnd())
            return stop(QStringLiteral("the file ends after \"%1\"").arg(QString(heading)));
        const QLatin1StringView values = lines.Next();
        if (IsBlockMarker(values) || sectionOf(values) >= 0) {
            lines.Back();
            out.notLoaded << QStringLiteral("%1: the %2 values line is missing; not loaded: %2.")
                                 .arg(AxisName(axis), SectionName(sec));
            done[size_t(s)] = true;
            continue;
        }
        // A lone line feed is no part of a value.
        QStringList items = QString(values).remove(u'\n').split(u',');
        // A comma at the end opens no item; the file may have been cut
        // inside the last item of a line it ends in.
        if (items.last().isEmpty() || lines.LastReadUnended())
            items.removeLast();
        const int need = SectionItems(sec);
        for (int i = 0; i < need; ++i) {
            taken[size_t(s)] = i;
            if (i >= items.size())
                return stop(QStringLiteral("the %1 line holds %2 of %3 values").arg(SectionName(sec)).arg(i).arg(need));
            const auto n = size_t(i);
            if (sec == BlockSection::Parameter) {
                v.param[n] = leftTrimmed(items[i]);
                continue;
            }
            // Read as every stored setting is: blanks and tabs inside a
            // number do not end it.
            const double d = RoundHalfEven(DecimalRead(items[i]));
            if (d < -32768 || d > 32767)
                return stop(QStringLiteral("value %1 of the %2 line, \"%3\", is out of range")
                                .arg(i + 1)
                                .arg(SectionName(sec), items[i].trimmed()));
            (sec == BlockSection::Mode ? v.mode[n] : v.home[n]) = int16_t(d);
        }
        done[size_t(s)] = true;
    }
}

DataFileContent ParseDataFile(const QByteArray &bytes, UnitKind kind, const DataFileProgress &progress)
{
    return Walk(bytes, kind, progress).run();
}

LoadOutcome ApplyDataFile(const DataFileContent &content, UnitKind kind)
{
    LoadOutcome outcome;
    outcome.fileRead = true;
    outcome.notLoaded = content.notLoaded;

    for (int a = 0; a < kAxes; ++a) {
        const AxisValues &v = content.axes[size_t(a)];
        const auto axis = size_t(a);
        for (size_t i = 0; i < v.mode.size(); ++i)
            if (v.mode[i])
                g.ModeSetTable[axis][i] = *v.mode[i];
        for (size_t i = 0; i < v.home.size(); ++i)
            if (v.home[i])
                g.HomeSetTable[axis][i] = *v.home[i];
        for (size_t i = 0; i < v.param.size(); ++i)
            if (v.param[i])
                g.ParamTable[axis][i] = *v.param[i];
    }

    const bool anyRecord = std::any_of(content.records.begin(), content.records.end(),
                                       [](const auto &r) { return r.has_value(); });
    if (anyRecord) {
        ProgramTable &table = ProgramTableOf(kind);
        if (const auto refused = table.Open()) {
            outcome.notLoaded << QStringLiteral("PROGRAM: not loaded. %1").arg(*refused);
        } else if (const std::vector<QStringList> before = table.ReadAll();
                   before.size() != content.records.size()) {
            outcome.notLoaded << QStringLiteral("PROGRAM: not loaded; the program cannot be read (%1).")
                                     .arg(table.ErrorText());
        } else {
            bool wrote = false;
            // One transaction: a refused write leaves every register as it was.
            const bool stored = table.InTransaction([&] {
                for (size_t reg = 0; reg < before.size(); ++reg) {
                    const auto &rec = content.records[reg];
                    if (!rec || *rec == before[reg])
                        continue;
                    if (!table.WriteRecord(int(reg), rec->toList()))
                        return false;
                    wrote = true;
                }
                return true;
            });
            if (!stored)
                outcome.notLoaded << QStringLiteral("PROGRAM: the program keeps what it held before the load; the "
                                                    "program database refused a write:\n%1")
                                         .arg(table.ErrorText());
            else if (wrote) {
                outcome.programChanged = true;
                table.RequestRefresh();
            }
        }
    }

    if (content.scale) {
        for (int a = 0; a < kAxes; ++a) {
            const auto axis = size_t(a);
            g.ScaleSel[axis] = content.scale->unit[axis];
            for (int code = 0; code < kFileUnitCodes; ++code)
                g.ScaleFactor[size_t(code)][axis] = content.scale->factor[axis][size_t(code)];
        }
        outcome.scaleLoaded = true;
    }
    return outcome;
}

LoadOutcome LoadDataFile(const QString &path, const DataFileProgress &progress)
{
    LoadOutcome outcome;
    QFile f(path);
    if (QFileInfo(path).isDir()) {
        outcome.fileError = QStringLiteral("it is a folder");
        return outcome;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        outcome.fileError = f.errorString();
        return outcome;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        outcome.fileError = f.errorString();
        return outcome;
    }
    const UnitKind kind = CurrentUnitKind();
    return ApplyDataFile(ParseDataFile(bytes, kind, progress), kind);
}

QString LoadMessage(const LoadOutcome &outcome, const QString &path)
{
    const QString name = QDir::toNativeSeparators(path);
    if (!outcome.fileRead)
        return QStringLiteral("The data file %1 cannot be read: %2.\nNothing was loaded.").arg(name, outcome.fileError);
    if (outcome.notLoaded.isEmpty())
        return {};
    constexpr int kShown = 12;
    QStringList lines = outcome.notLoaded.mid(0, kShown);
    if (outcome.notLoaded.size() > kShown)
        lines << QStringLiteral("... and %1 more.").arg(outcome.notLoaded.size() - kShown);
    return QStringLiteral("Not all of the data file %1 was loaded; what was not loaded keeps its value.\n").arg(name)
           + lines.join(u'\n');
}

LoadOutcome DatLoadAct(const QString &path, const DataFileProgress &progress)
{
    const LoadOutcome outcome = LoadDataFile(path, progress);
    if (outcome.scaleLoaded)
        emit ParamWindowRequests().showScaleOnMain(AxisCount(CurrentUnitKind()));
    if (frmDataGrid1 *grid = DataGridWindow())
        grid->ShowTables();
    const QString message = LoadMessage(outcome, path);
    if (!message.isEmpty())
        MsgBox(message, MsgButtons::Ok, {}, outcome.fileRead ? MsgIcon::Exclamation : MsgIcon::Critical);
    return outcome;
}
