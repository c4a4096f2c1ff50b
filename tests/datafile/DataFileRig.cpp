#include "datafile/DataFileRig.h"

#include "shared/Shared.h"

#include <QFile>
#include <QTest>

QDateTime FixtureTime()
{
    return QDateTime(QDate(2011, 1, 24), QTime(14, 5, 9));
}

QByteArray FixtureBytes(UnitKind kind)
{
    const QString name = kind == UnitKind::TwoAxis ? QStringLiteral("zt260a.zqd") : QStringLiteral("zt460a.zqd");
    QFile f(QStringLiteral(DATAFILE_FIXTURES "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture %s missing", qPrintable(name));
    QByteArray out;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (!line.startsWith("@empty ")) {
            out += line + '\n';
            continue;
        }
        const QList<QByteArray> range = line.trimmed().split(' ');
        for (int reg = range[1].toInt(); reg <= range[2].toInt(); ++reg) {
            QStringList fields{QString::number(reg)};
            for (int i = 0; i < 10; ++i)
                fields << QString();
            fields << QString::number(reg);
            for (int i = 0; i < 10; ++i)
                fields << QString();
            out += RecordLine(fields).toLatin1() + "\r\n";
        }
    }
    out.chop(1);   // the split left one '\n' too many at the end
    return out;
}

void FillFixtureSetup()
{
    const int mode[4][11] = {{1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1},
                             {0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                             {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                             {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}};
    const int home[4][16] = {{1, 1, 0, 0, 2, 0, 1, 1, 2, 0, 1, 1, 0, 0, 0, 3},
                             {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
                             {},
                             {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}};
    const QStringList params[4] = {
        {"500", "8000", "1", "1234", "1236", "300", "12", "65535", "4096", "10", "2", "7999", "-1000", "77"},
        {"", "", "", "", "", "", "", "", "", "", "", "", "", ""},
        {"250", "1000", "50", "60", "70", "80", "90", "1000", "2000", "3000", "15", "16", "0", "5"},
        {"1.5", "", "", "", "", "", "", "", "", "", "", "", "", ""}};
    const QStringList factors[4] = {{"1", "0.001", "1", "1", "1", "1"},
                                    {"1", "0.5", "2", "1", "1", "1"},
                                    {"1", "1", "0.25", "1", "1", "1"},
                                    {"1", "1", "1", "0.0001", "1", "1"}};
    const int units[4] = {1, 0, 2, 3};
    for (int a = 0; a < 4; ++a) {
        for (int i = 0; i < kModeItems; ++i)
            g.ModeSetTable[a][i] = int16_t(mode[a][i]);
        for (int i = 0; i < kHomeItems; ++i)
            g.HomeSetTable[a][i] = int16_t(home[a][i]);
        for (int i = 0; i < kParamItems; ++i)
            g.ParamTable[a][i] = params[a][i];
        g.ScaleSel[a] = int16_t(units[a]);
        for (int u = 0; u < 6; ++u)
            g.ScaleFactor[u][a] = factors[a][u];
        g.ScaleFactor[6][a] = "9";   // not carried by a data file
    }
}

void FillFixtureProgram(ProgramTable &table)
{
    const QString e;
    const bool stored = table.InTransaction([&] {
        if (table.Kind() == UnitKind::TwoAxis)
            return table.WriteRecord(0, {"0", "ABS", "1000", "1", "0", "start, then move", "INC", "-500", "2", "1", e,
                                         "0", e, e, e, e, e, e, e, e, e, e})
                   && table.WriteRecord(1, {"1", "JMP", "0", e, e, "back to 0", e, e, e, e, e, "1", e, e, e, e, e, e,
                                            e, e, e, e})
                   && table.WriteRecord(53, {"53", "END", e, e, e, "last", e, e, e, e, "y: done", "53", e, e, e, e, e,
                                             e, e, e, e, e});
        return table.WriteRecord(0, {"0", "ABS", "1000", "1", "0", "start, then move", "INC", "-500", "2", "1", e, "0",
                                     "MOV", "2500", "3", "2", "z", "CIR", "-1", "4", "3", QStringLiteral("u\u00e9")})
               && table.WriteRecord(1, {"1", e, e, e, e, e, e, e, e, e, e, "1", "END", e, e, e, "z, end", e, e, e, e,
                                        e})
               && table.WriteRecord(1999, {"1999", e, e, e, e, e, e, e, e, e, e, "1999", e, e, e, e, e, "END", e, e,
                                           e, "last, of all"});
    });
    if (!stored)
        qFatal("fixture program not stored: %s", qPrintable(table.ErrorText()));
}

DataState Capture(ProgramTable &table)
{
    DataState s;
    for (int a = 0; a < 4; ++a) {
        for (int i = 0; i < kModeItems; ++i)
            s.sections[a][0] << QString::number(g.ModeSetTable[a][i]);
        for (int i = 0; i < kHomeItems; ++i)
            s.sections[a][1] << QString::number(g.HomeSetTable[a][i]);
        for (int i = 0; i < kParamItems; ++i)
            s.sections[a][2] << g.ParamTable[a][i];
    }
    s.records = table.ReadAll();
    for (int a = 0; a < 4; ++a)
        s.scale << QString::number(g.ScaleSel[a]);
    for (int a = 0; a < 4; ++a)
        for (int u = 0; u < 6; ++u)
            s.scale << g.ScaleFactor[u][a];
    return s;
}

void FillSentinels(ProgramTable &table, bool program)
{
    for (int a = 0; a < kParamAxes; ++a) {
        g.ModeSetTable[a].fill(5);
        g.HomeSetTable[a].fill(5);
        g.ParamTable[a].fill("kept");
    }
    for (int a = 0; a < 4; ++a) {
        g.ScaleSel[a] = 0;
        for (int u = 0; u < 6; ++u)
            g.ScaleFactor[u][a] = "7";
    }
    if (!program)
        return;
    const std::vector<QStringList> now = table.ReadAll();
    const bool stored = table.InTransaction([&] {
        for (int reg = 0; reg < table.RegisterCount(); ++reg) {
            QStringList fields;
            for (int f = 0; f < kProgramFields; ++f)
                fields << (f == 0 || f == 11 ? QString::number(reg) : QStringLiteral("old"));
            // Only what differs, so that tests which load many times stay quick.
            if (size_t(reg) < now.size() && now[size_t(reg)] == fields)
                continue;
            if (!table.WriteRecord(reg, fields))
                return false;
        }
        return true;
    });
    if (!stored)
        qFatal("sentinels not stored: %s", qPrintable(table.ErrorText()));
}

QByteArray FileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QString RecordLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &f : fields)
        quoted << u'"' + f + u'"';
    return quoted.join(QStringLiteral(", "));
}

QString GoodRecord(int reg)
{
    QStringList fields{QString::number(reg), "MOV", QString::number(reg * 10), "1", "0", QStringLiteral("c%1").arg(reg)};
    for (int i = 0; i < 5; ++i)
        fields << QString();
    fields << QString::number(reg);
    for (int i = 0; i < 10; ++i)
        fields << QString();
    return RecordLine(fields);
}
