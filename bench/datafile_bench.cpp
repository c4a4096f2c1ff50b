// Saving and loading a full 4-axis data file (2000 registers with every
// field filled, every parameter set) beside writing and reading the same
// bytes with plain file calls. Prints each time beside its reference and the
// ratio; exits non-zero when the file or the loaded program is not what was
// saved.

#include "BenchSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "program/ProgramTable.h"
#include "shared/Shared.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

// The program of one round: every field filled, `tag` in every text.
std::vector<QStringList> program(int regs, const QString &tag)
{
    std::vector<QStringList> rows(static_cast<std::size_t>(regs));
    for (int reg = 0; reg < regs; ++reg)
        for (int col = 0; col < kProgramFields; ++col)
            rows[std::size_t(reg)] << (col == 0 || col == 11 ? QString::number(reg)
                                                             : QStringLiteral("%1 %2, %3").arg(tag).arg(reg).arg(col));
    return rows;
}

bool store(ProgramTable &table, const std::vector<QStringList> &rows)
{
    return table.InTransaction([&] {
        for (std::size_t reg = 0; reg < rows.size(); ++reg)
            if (!table.WriteRecord(int(reg), rows[reg]))
                return false;
        return true;
    });
}


} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    SetAppPath(home.path());
    BenchDialogs dialogs;
    SetDialogs(&dialogs);
    ResetSharedState();
    SetStartValues();
    g.UnitModel = QStringLiteral("4");

    for (int a = 0; a < kAxes; ++a) {
        for (int i = 0; i < kModeItems; ++i)
            g.ModeSetTable[a][i] = int16_t((a + i) % 3);
        for (int i = 0; i < kHomeItems; ++i)
            g.HomeSetTable[a][i] = int16_t((a * i) % 4);
        for (int i = 0; i < kParamItems; ++i)
            g.ParamTable[a][i] = QString::number(1000 * (a + 1) + i);
        g.ScaleSel[a] = int16_t(a);
        g.ScaleFactor[1][a] = QStringLiteral("0.001");
    }

    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    if (const auto refused = table.Open()) {
        std::fprintf(stderr, "%s\n", qPrintable(*refused));
        return 1;
    }
    const int regs = table.RegisterCount();
    const std::vector<QStringList> saved = program(regs, QStringLiteral("saved"));
    const std::vector<QStringList> other = program(regs, QStringLiteral("other"));
    if (!store(table, saved)) {
        std::fprintf(stderr, "the program could not be written\n");
        return 1;
    }

    const QString path = QDir(home.path()).filePath(QStringLiteral("bench.zqd"));
    const QString plain = QDir(home.path()).filePath(QStringLiteral("plain.zqd"));
    constexpr int runs = 9;
    bool sound = true;

    const double save = median(runs, [&] { return timeMs([&] { sound = !SaveDataFile(path) && sound; }); });
    QByteArray bytes;
    {
        QFile f(path);
        sound = f.open(QIODevice::ReadOnly) && sound;
        bytes = f.readAll();
    }
    const double write = median(runs, [&] {
        return timeMs([&] {
            QFile out(plain);
            sound = out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() && sound;
        });
    });
    const double read = median(runs, [&] {
        return timeMs([&] {
            QFile in(plain);
            sound = in.open(QIODevice::ReadOnly) && in.readAll().size() == bytes.size() && sound;
        });
    });
    // A load that changes every register, then loads onto the same program.
    const double load = median(runs, [&] {
        sound = store(table, other) && sound;
        return timeMs([&] { sound = LoadDataFile(path).notLoaded.isEmpty() && sound; });
    });
    const double same = median(runs, [&] { return timeMs([&] { sound = LoadDataFile(path).notLoaded.isEmpty() && sound; }); });
    sound = table.ReadAll() == saved && sound;
    // The file's share of a load: reading and parsing, no database.
    const double parse = median(runs, [&] {
        return timeMs([&] {
            QFile in(path);
            sound = in.open(QIODevice::ReadOnly) && sound;
            sound = ParseDataFile(in.readAll(), UnitKind::FourAxis).notLoaded.isEmpty() && sound;
        });
    });

    std::printf("data file of the 4-axis unit: %d registers x %d fields, %lld bytes, median of %d runs\n", regs,
                kProgramFields, static_cast<long long>(bytes.size()), runs);
    FigureLine("save (read program, write, rename)", save, "plain write of the bytes", write, 3.0);
    FigureLine("load changing every register", load, "plain read of the bytes", read, 3.0);
    FigureLine("load onto the same program", same, "plain read of the bytes", read, 3.0);
    FigureLine("read and parse only (no database)", parse, "plain read of the bytes", read, 3.0);
    if (!dialogs.shown.isEmpty()) {
        std::printf("unexpected messages: %s\n", qPrintable(dialogs.shown.join(QStringLiteral(" | "))));
        sound = false;
    }
    std::printf("result: %s\n", sound ? "file and program as saved" : "WRONG FILE OR PROGRAM CONTENT");
    SetDialogs(nullptr);
    CloseProgramTables();
    return sound ? 0 : 1;
}
