// The 4-axis program editor on a full 2000-register program, offscreen:
// opening it beside a bare table view of the same texts, then Clear and a
// 2000-row Paste. Prints each time beside its reference and the ratio;
// exits non-zero when the program does not hold what the commands wrote.

#include "BenchSupport.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "program/ProgramTable.h"
#include "program/frmPrgEdit2.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QString textOf(int reg, int col)
{
    switch (KindOfColumn(col)) {
    case CellKind::Reg: return QString::number(reg);
    case CellKind::Cmd: return QStringLiteral("ABS");
    case CellKind::Dat: return QString::number(reg * 37 - 5000);
    case CellKind::Spd: return QString::number(1 + reg % 4);
    case CellKind::Tim: return QString::number(reg % 4);
    default: return QStringLiteral("comment of register %1").arg(reg);
    }
}

// Shows a window and waits until it is on screen and painted. The events
// are taken as they come: a test's wait for exposure sleeps 10 ms between
// its looks, which would be timed as part of the opening.
void showPainted(QWidget *w, QAbstractItemView *view)
{
    w->show();
    QElapsedTimer waited;
    waited.start();
    while (!w->windowHandle() || !w->windowHandle()->isExposed()) {
        if (waited.hasExpired(5000)) {
            std::fprintf(stderr, "window not exposed\n");
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    view->viewport()->repaint();
}


} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    SetAppPath(home.path());
    BenchDialogs answers;
    SetDialogs(&answers);
    ResetSharedState();
    ResetEditClipboard();
    SetStartValues();

    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    if (const auto refused = table.Open()) {
        std::fprintf(stderr, "%s\n", qPrintable(*refused));
        return 1;
    }
    const int regs = table.RegisterCount();
    std::vector<QStringList> texts(static_cast<std::size_t>(regs));
    for (int reg = 0; reg < regs; ++reg)
        for (int col = 0; col < kProgramFields; ++col)
            texts[std::size_t(reg)] << textOf(reg, col);
    const bool filled = table.InTransaction([&] {
        for (int reg = 0; reg < regs; ++reg)
            if (!table.WriteRecord(reg, texts[std::size_t(reg)]))
                return false;
        return true;
    });
    if (!filled || table.ReadAll() != texts) {
        std::fprintf(stderr, "the full program could not be written\n");
        return 1;
    }
    constexpr int runs = 7;

    // The editor's own layout, for the bare view.
    QSize editorSize;
    std::vector<int> columnWidths;
    {
        frmPrgEdit2 *w = ShowPrgEdit2();
        showPainted(w, w->MSFlexGrid1);
        editorSize = w->size();
        for (int col = 0; col < kProgramFields; ++col)
            columnWidths.push_back(w->MSFlexGrid1->columnWidth(col));
        delete w;
    }

    const double bare = median(runs, [&] {
        QElapsedTimer t;
        t.start();
        QStandardItemModel model(regs, kProgramFields);
        for (int reg = 0; reg < regs; ++reg)
            for (int col = 0; col < kProgramFields; ++col)
                model.setItem(reg, col, new QStandardItem(texts[std::size_t(reg)][col]));
        // The same window size and column widths as the editor, so that both
        // paint the same cells.
        QTableView view;
        view.setModel(&model);
        view.resize(editorSize);
        for (int col = 0; col < kProgramFields; ++col)
            view.setColumnWidth(col, columnWidths[std::size_t(col)]);
        showPainted(&view, &view);
        return t.nsecsElapsed() / 1e6;
    });

    bool sound = true;
    const double open = median(runs, [&] {
        QElapsedTimer t;
        t.start();
        frmPrgEdit2 *w = ShowPrgEdit2();
        showPainted(w, w->MSFlexGrid1);
        const double ms = t.nsecsElapsed() / 1e6;
        sound = sound && w->logic.model.Text(RowOfRegister(1999), 21) == textOf(1999, 21);
        delete w;
        return ms;
    });

    frmPrgEdit2 *w = ShowPrgEdit2();
    showPainted(w, w->MSFlexGrid1);

    QElapsedTimer t;
    t.start();
    w->EditItem_Click(4);
    const double clear = t.nsecsElapsed() / 1e6;
    {
        const std::vector<QStringList> after = table.ReadAll();
        for (int reg = 0; reg < regs && sound; ++reg)
            for (int col = 0; col < kProgramFields; ++col)
                sound = sound && after[std::size_t(reg)][col] == (KindOfColumn(col) == CellKind::Reg ? textOf(reg, col)
                                                                                                     : QString());
        sound = sound && w->logic.model.Text(RowOfRegister(1500), 2).isEmpty();
    }

    for (int i = 0; i < kClipRows; ++i)
        clip.ClipBuf[std::size_t(i)] = {textOf(i, 1), textOf(i, 2), textOf(i, 3), textOf(i, 4), textOf(i, 5)};
    clip.ClipCount = kClipRows;
    w->logic.grid.setCursor(RowOfRegister(0), 6);
    t.restart();
    w->EditItem_Click(2);
    const double paste = t.nsecsElapsed() / 1e6;
    {
        const std::vector<QStringList> after = table.ReadAll();
        for (int reg = 0; reg < regs && sound; ++reg)
            for (int part = 0; part < kAxisFields; ++part)
                sound = sound && after[std::size_t(reg)][6 + part] == textOf(reg, 1 + part)
                        && after[std::size_t(reg)][1 + part].isEmpty();
        sound = sound && w->logic.model.Text(RowOfRegister(1999), 7) == textOf(1999, 2);
    }
    delete w;

    std::printf("4-axis program editor, %d registers x %d fields, median of %d opens\n", regs, kProgramFields, runs);
    FigureLine("open editor", open, "bare QTableView, same layout", bare, 1.5);
    FigureLine("Clear (2000 registers)", clear, "limit", 100, 1.0);
    FigureLine("Paste (2000 rows)", paste, "limit", 100, 1.0);
    if (!answers.shown.contains(QStringLiteral("All of program will be delete! OK?")) || answers.shown.size() != 1) {
        std::printf("unexpected messages: %s\n", qPrintable(answers.shown.join(QStringLiteral(" | "))));
        sound = false;
    }
    std::printf("result: %s\n", sound ? "program as written" : "WRONG PROGRAM CONTENT");
    SetDialogs(nullptr);
    CloseProgramTables();
    return sound ? 0 : 1;
}
