// The parameter grid window: its database (created, refused when damaged),
// the first fill from the tables, pickers, typed parameters with their
// checks and range display, the cursor rule, and the DownLoad and UpLoad
// menus against the simulated unit.

// The transfer tests' tables; not every helper of theirs is used here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include "ParamFixture.h"
#pragma GCC diagnostic pop
#include "ProgramState.h"
#include "RawSql.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "link/LineOwner.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmMain.h"
#include "params/ParamDatabase.h"
#include "params/frmDataGrid1.h"
#include "platform/DataGrid.h"
#include "platform/MSComm.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"
#include "support/UnitSim.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

// Every record of a table as the database holds it, read through a control
// of its own.
std::vector<QStringList> stored(GridTab tab)
{
    DataControl d;
    d.DatabaseName = ParamDatabasePath();
    d.RecordSource = ParamTableName(tab);
    if (!d.Refresh())
        return {};
    return d.ReadAll();
}

QStringList column(DataGrid *grid, int col)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->CellText(r, col);
    return out;
}

QStringList column(const std::vector<QStringList> &rows, int col)
{
    QStringList out;
    for (const QStringList &r : rows)
        out << r.value(col);
    return out;
}



void clickEntry(QListWidget *list, int index)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

// Makes a cell current as the operator would, after the grid's first cell
// (which the cursor rule puts into the X column).
void moveTo(DataGrid *grid, int row, int col)
{
    if (grid->Col() < 0)
        grid->setCurrentCell(0, 0);
    grid->setCurrentCell(row, col);
}

// Types into a cell of the grid through its editor; `commit(editor)` ends
// the edit, and the edit is over once the editor is gone.
void typeInto(DataGrid *grid, int row, int col, const QString &text, const std::function<void(QLineEdit *)> &commit)
{
    moveTo(grid, row, col);
    grid->editItem(grid->item(row, col));
    QPointer<QLineEdit> editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    commit(editor);
    QTRY_VERIFY(editor.isNull());
}

} // namespace

class TestParamGrid : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void databaseCreated();
    void damagedDatabase_data();
    void damagedDatabase();
    void firstFill_data();
    void firstFill();
    void pickerChoice_data();
    void pickerChoice();
    void pickerClosesWithoutStoring_data();
    void pickerClosesWithoutStoring();
    void cursorRule();
    void typedParameters_data();
    void typedParameters();
    void editEndedByMovingOn();
    void rangeDisplay();
    void settingsNotTyped();
    void menusRefused_data();
    void menusRefused();
    void menusAgainstUnit_data();
    void menusAgainstUnit();
    void closedDuringTransfer();
    void openedOncePerLoad();

private:
    frmDataGrid1 *openGrid();
    bool openPort(UnitSim &sim);

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestParamGrid::init()
{
    ResetProgramState();
    m_home = new TestHome;
    SetStartValues();
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
}

void TestParamGrid::cleanup()
{
    delete DataGridWindow();
    delete m_main;
    m_main = nullptr;
    UnloadMessageWindow();
    CloseDatabase(ParamDatabasePath());
    delete m_dialogs;
    delete m_home;
}

frmDataGrid1 *TestParamGrid::openGrid()
{
    m_main->Command5->click();
    return DataGridWindow();
}

bool TestParamGrid::openPort(UnitSim &sim)
{
    if (!sim.isReady())
        return false;
    m_main->MSComm1->setCommPort(1);
    m_main->MSComm1->setSettings(QStringLiteral("38400,N,8,1"));
    return m_main->MSComm1->setPortOpen(true) == MSComm::NoError;
}

void TestParamGrid::databaseCreated()
{
    QVERIFY(!QFile::exists(ParamDatabasePath()));
    frmDataGrid1 *w = openGrid();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Parameter/Mode"));
    QVERIFY(QFile::exists(m_home->file(QStringLiteral("PrgData/ZT260pa1.sqlite"))));
    QCOMPARE(m_dialogs->texts(), QStringList());
    for (int t = 0; t < kGridTabs; ++t) {
        const GridTab tab = GridTab(t);
        DataGrid *grid = w->grid(tab);
        QCOMPARE(grid->rowCount(), GridRows(tab));
        QCOMPARE(grid->columnCount(), 5);
        QStringList titles;
        for (int r = 0; r < GridRows(tab); ++r)
            titles << ParamRowTitle(tab, r);
        QCOMPARE(column(grid, 0), titles);
        QCOMPARE(column(stored(tab), 0), titles);
        QCOMPARE(stored(tab).front().size(), 5);
    }
    QCOMPARE(ParamRowTitle(GridTab::Parameter, 12), QStringLiteral("OFS (offset)"));
    QCOMPARE(w->SSTab1->tabText(1), QStringLiteral("Home Search"));
    QCOMPARE(w->Label13->text(), QStringLiteral("U-axis"));
}

void TestParamGrid::damagedDatabase_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("table missing") << "missing";
    QTest::newRow("too few records") << "short";
}

void TestParamGrid::damagedDatabase()
{
    QFETCH(QString, damage);
    const QString path = ParamDatabasePath();
    if (damage == u"garbage") {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else {
        // A sound database first, then damaged outside the program.
        QVERIFY(!EnsureParamDatabase());
        CloseDatabase(path);
        RawSql(path, {damage == u"missing" ? QStringLiteral("DROP TABLE \"HomeSearch\"")
                                           : QStringLiteral("DELETE FROM \"Parameter\" WHERE \"Pos\" >= 10")});
    }
    const QByteArray before = FileBytes(path);
    FillTables(4);

    QCOMPARE(openGrid(), nullptr);
    QCOMPARE(m_dialogs->texts().size(), 1);
    QVERIFY2(m_dialogs->texts().front().startsWith(QStringLiteral("Error:3343 ")), qPrintable(m_dialogs->texts().front()));
    QVERIFY(m_dialogs->texts().front().contains(QDir::toNativeSeparators(path)));
    QCOMPARE(FileBytes(path), before);
    // After the message no window stays behind, not even one without its grids.
    QCoreApplication::processEvents();
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<frmDataGrid1 *>(top), qPrintable(top->windowTitle()));
    // Asked again, it tells again and still opens nothing.
    QCOMPARE(openGrid(), nullptr);
    QCOMPARE(m_dialogs->texts().size(), 2);
    QCOMPARE(FileBytes(path), before);
}

void TestParamGrid::firstFill_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("tablesFilled");
    QTest::newRow("4-axis unit") << "4" << true;
    QTest::newRow("2-axis unit") << "2" << true;
    QTest::newRow("never-filled tables") << "4" << false;
}

void TestParamGrid::firstFill()
{
    QFETCH(QString, model);
    QFETCH(bool, tablesFilled);
    g.UnitModel = model;
    if (tablesFilled)
        FillTables(4);
    g.ScaleSel[1] = 1;
    g.ScaleFactor[1][1] = QStringLiteral("0.001");
    const auto modeBefore = g.ModeSetTable;
    const auto homeBefore = g.HomeSetTable;
    const auto paramBefore = g.ParamTable;

    frmDataGrid1 *w = openGrid();
    QVERIFY(w->filled());
    DataGrid *mode = w->grdDataGrid, *home = w->DBGrid1, *param = w->DBGrid2;
    if (!tablesFilled) {
        QCOMPARE(column(mode, 1), QStringList({"Instant", "Low", "Disable", "Low", "Disable", "Low", "Disable"}));
        QCOMPARE(home->CellText(0, 4), QStringLiteral("1"));
        QCOMPARE(home->CellText(6, 2), QStringLiteral("Disable"));
        QCOMPARE(column(param, 3), QStringList(13, QString()));
    } else {
        QCOMPARE(mode->CellText(0, 1), QStringLiteral("Slow"));
        QCOMPARE(mode->CellText(5, 2), QStringLiteral("High"));
        // Row 6 is item 9: 0 on X, 1 on Y (item 6 is 0 and 1).
        QCOMPARE(mode->CellText(6, 1), QStringLiteral("Disable"));
        QCOMPARE(mode->CellText(6, 2), QStringLiteral("Enable"));
        QCOMPARE(home->CellText(0, 2), QStringLiteral("3"));
        QCOMPARE(home->CellText(4, 1), QStringLiteral("+"));
        QCOMPARE(home->CellText(6, 1), QStringLiteral("+"));
        QCOMPARE(param->CellText(5, 1), QStringLiteral(" 300"));
        QCOMPARE(param->CellText(6, 1), QStringLiteral("0"));
        QCOMPARE(param->CellText(12, 1), QStringLiteral("-1000"));
        // Y shows its offset in mm.
        QCOMPARE(param->CellText(12, 2), QStringLiteral("8388.607"));
        if (model == u"4") {
            QCOMPARE(mode->CellText(0, 3), QStringLiteral("Instant"));
            // U holds 2 and -1, which are no entries of their lists.
            QCOMPARE(mode->CellText(0, 4), QString());
            QCOMPARE(mode->CellText(1, 4), QString());
            QCOMPARE(param->CellText(0, 3), QStringLiteral("250"));
        } else {
            for (DataGrid *grid : {mode, home, param})
                for (int c : {3, 4})
                    QCOMPARE(column(grid, c), QStringList(grid->rowCount(), QString()));
        }
    }
    // The database holds what the grids show; the tables are untouched.
    for (int t = 0; t < kGridTabs; ++t)
        for (int c = 0; c < 5; ++c)
            QCOMPARE(column(stored(GridTab(t)), c), column(w->grid(GridTab(t)), c));
    QVERIFY(g.ModeSetTable == modeBefore);
    QVERIFY(g.HomeSetTable == homeBefore);
    QVERIFY(g.ParamTable == paramBefore);
}

void TestParamGrid::pickerChoice_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item");
    QTest::newRow("Mode row 6 is item 9") << "4" << 0 << 6 << 2 << "List3" << 1 << "Enable" << 9;
    QTest::newRow("Mode row 0 Slow") << "4" << 0 << 0 << 4 << "List1" << 1 << "Slow" << 0;
    QTest::newRow("Home row 6 + is 1") << "4" << 1 << 6 << 1 << "List10" << 1 << "+" << 6;
    QTest::newRow("Home row 8 + is 2") << "4" << 1 << 8 << 3 << "List9" << 2 << "+" << 8;
    QTest::newRow("Home row 0 of List8") << "4" << 1 << 0 << 2 << "List8" << 2 << "3" << 0;
    QTest::newRow("Z on the 2-axis unit still stores") << "2" << 1 << 5 << 3 << "List11" << 1 << "Low" << 5;
}

void TestParamGrid::pickerChoice()
{
    QFETCH(QString, model);
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, item);
    g.UnitModel = model;
    frmDataGrid1 *w = openGrid();
    w->SSTab1->setCurrentIndex(tab);
    DataGrid *grid = w->grid(GridTab(tab));
    moveTo(grid, row, col);
    QVERIFY(grid->cellButton()->isVisible());
    grid->cellButton()->click();

    auto *picker = w->findChild<QListWidget *>(list);
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    // Just below the current cell, in the pressed column.
    const QPoint cellBottom = grid->viewport()->mapTo(w, grid->visualItemRect(grid->item(row, col)).bottomLeft());
    QVERIFY(qAbs(picker->pos().y() - cellBottom.y()) <= 2);
    QVERIFY(qAbs(picker->pos().x() - cellBottom.x()) <= 2);
    for (QListWidget *other : w->findChildren<QListWidget *>())
        QCOMPARE(other->isVisible(), other == picker);

    const auto modeBefore = g.ModeSetTable;
    const auto homeBefore = g.HomeSetTable;
    clickEntry(picker, index);
    QVERIFY(!picker->isVisible());
    auto modeAfter = modeBefore;
    auto homeAfter = homeBefore;
    (tab == 0 ? modeAfter[col - 1][item] : homeAfter[col - 1][item]) = int16_t(index);
    QVERIFY(g.ModeSetTable == modeAfter);
    QVERIFY(g.HomeSetTable == homeAfter);
    QCOMPARE(grid->CellText(row, col), text);
    QCOMPARE(stored(GridTab(tab))[row][col], text);
}

void TestParamGrid::pickerClosesWithoutStoring_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("second press") << "press";
    QTest::newRow("cursor moved") << "move";
    QTest::newRow("tab changed") << "tab";
}

void TestParamGrid::pickerClosesWithoutStoring()
{
    QFETCH(QString, how);
    frmDataGrid1 *w = openGrid();
    w->SSTab1->setCurrentIndex(1);
    moveTo(w->DBGrid1, 4, 2);
    w->DBGrid1_PopList(2);
    QVERIFY(w->List9->isVisible());
    if (how == u"press")
        w->DBGrid1->cellButton()->click();
    else if (how == u"move")
        w->DBGrid1->setCurrentCell(5, 2);
    else
        w->SSTab1->setCurrentIndex(2);
    QVERIFY(!w->List9->isVisible());
    QVERIFY(!w->List11->isVisible());
    // A list that is not open takes no choice.
    w->List9->setCurrentRow(2);
    w->List9_Click();
    QCOMPARE(g.HomeSetTable[1][4], int16_t(0));
    QCOMPARE(g.HomeSetTable[1][5], int16_t(0));
    QCOMPARE(w->DBGrid1->CellText(4, 2), QStringLiteral("Disable"));
}

void TestParamGrid::cursorRule()
{
    frmDataGrid1 *w = openGrid();
    for (DataGrid *grid : {w->grdDataGrid, w->DBGrid1, w->DBGrid2}) {
        grid->setCurrentCell(-1, -1);
        // The first cell is put into the X column.
        grid->setCurrentCell(2, 0);
        QCOMPARE(grid->Col(), 1);
        grid->setCurrentCell(3, 3);
        QCOMPARE(grid->Col(), 3);
        // From an axis column onto the titles: back to X, on the new row.
        grid->setCurrentCell(4, 0);
        QCOMPARE(grid->Row(), 4);
        QCOMPARE(grid->Col(), 1);
    }
}

void TestParamGrid::typedParameters_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("table");   // ParamTable text afterwards
    QTest::addColumn<QString>("cell");    // cell and record afterwards
    QTest::addColumn<QString>("refusal");   // the message's second line; empty: accepted
    // X holds the fixture's values; Y shows mm at 0.001 (offset 8388607).
    QTest::newRow("RAT accepted") << 0 << 1 << "250" << "250" << "250" << "";
    QTest::newRow("RAT 501 refused") << 0 << 1 << "501" << "500" << "500" << "X axis, RAT: \"501\" is outside 1 to 500.";
    QTest::newRow("RAT 12abc refused") << 0 << 1 << "12abc" << "500" << "500"
                                       << "X axis, RAT: \"12abc\" is not one number; the grid takes 1 to 500.";
    QTest::newRow("ACS emptied refused") << 1 << 1 << "" << "8000" << "8000"
                                         << "X axis, ACS is left empty; the grid takes 1 to 8000.";
    QTest::newRow("TM1 65535") << 7 << 2 << "65535" << "65535" << "65535" << "";
    QTest::newRow("DR4 with a comma refused")
        << 6 << 1 << "1,2" << "0" << "0"
        << "X axis, DR4 (speed 4): \"1,2\" is not one number; the grid takes 1 to 8000.";
    QTest::newRow("OFS in mm") << 12 << 2 << "-1.5" << "-1500" << "-1.5" << "";
    QTest::newRow("OFS in mm beyond") << 12 << 2 << "8388.608" << "8388607" << "8388.607"
                                      << "Y axis, OFS (offset): \"8388.608\" is outside -8388.608 to 8388.607 mm.";
    QTest::newRow("OFS in pulses") << 12 << 1 << "8388607" << "8388607" << "8388607" << "";
}

void TestParamGrid::typedParameters()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, table);
    QFETCH(QString, cell);
    QFETCH(QString, refusal);
    FillTables(4);
    g.ScaleSel[1] = 1;
    g.ScaleFactor[1][1] = QStringLiteral("0.001");
    frmDataGrid1 *w = openGrid();
    w->SSTab1->setCurrentIndex(2);
    const auto before = g.ParamTable;
    typeInto(w->DBGrid2, row, col, typed, [](QLineEdit *editor) { QTest::keyClick(editor, Qt::Key_Return); });

    if (!refusal.isEmpty()) {
        QCOMPARE(m_dialogs->texts(), QStringList{"Value can't configure it.\n" + refusal});
        QCOMPARE(m_dialogs->shown().front().title, QStringLiteral("ZT260A/ZT460A"));
    } else {
        QCOMPARE(m_dialogs->texts(), QStringList());
    }
    auto after = before;
    after[col - 1][row] = table;
    QVERIFY(g.ParamTable == after);
    QCOMPARE(g.ParamTable[col - 1][row], table);
    QCOMPARE(w->DBGrid2->CellText(row, col), cell);
    QCOMPARE(stored(GridTab::Parameter)[row][col], cell);
}

void TestParamGrid::editEndedByMovingOn()
{
    FillTables(4);
    frmDataGrid1 *w = openGrid();
    w->SSTab1->setCurrentIndex(2);
    // The edit of row 0 ends because the cursor moves to row 9: the check
    // still belongs to row 0.
    typeInto(w->DBGrid2, 0, 1, QStringLiteral("600"), [&](QLineEdit *) { w->DBGrid2->setCurrentCell(9, 1); });
    QCOMPARE(m_dialogs->texts(), QStringList{"Value can't configure it.\nX axis, RAT: \"600\" is outside 1 to 500."});
    QCOMPARE(w->DBGrid2->CellText(0, 1), QStringLiteral("500"));
    QCOMPARE(g.ParamTable[0][0], QStringLiteral("500"));
    QCOMPARE(g.ParamTable[0][9], QStringLiteral("10"));
    QCOMPARE(w->DBGrid2->Row(), 9);
    QCOMPARE(w->Label1->text(), QStringLiteral(" 1  -  65535 "));
}

void TestParamGrid::rangeDisplay()
{
    g.ScaleSel[3] = 3;
    g.ScaleFactor[3][3] = QStringLiteral("0.0001");
    frmDataGrid1 *w = openGrid();
    w->SSTab1->setCurrentIndex(2);
    QCOMPARE(w->Label1->text(), QString());
    moveTo(w->DBGrid2, 0, 2);
    QCOMPARE(w->Label1->text(), QStringLiteral(" 1  -  500 "));
    w->DBGrid2->setCurrentCell(12, 1);
    QCOMPARE(w->Label1->text(), QStringLiteral("-8388608 - 8388607 "));
    w->DBGrid2->setCurrentCell(12, 4);
    QCOMPARE(w->Label1->text(), QStringLiteral("-838.8608 - 838.8607 inch"));
    // No current row: the caption stays.
    w->DBGrid2->setCurrentCell(-1, -1);
    QCOMPARE(w->Label1->text(), QStringLiteral("-838.8608 - 838.8607 inch"));
}

void TestParamGrid::settingsNotTyped()
{
    frmDataGrid1 *w = openGrid();
    // Only the pickers change settings; titles are never typed over.
    for (DataGrid *grid : {w->grdDataGrid, w->DBGrid1}) {
        moveTo(grid, 1, 1);
        QTest::keyClicks(grid, QStringLiteral("High"));
        QCOMPARE(grid->CellText(1, 1), QStringLiteral("Low"));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    QVERIFY(!(w->DBGrid2->item(0, 0)->flags() & Qt::ItemIsEditable));
    QVERIFY(w->DBGrid2->item(0, 1)->flags() & Qt::ItemIsEditable);
    QVERIFY(!w->DBGrid2->cellButton()->isVisible());
    QCOMPARE(g.ModeSetTable[0][1], int16_t(0));
    QCOMPARE(g.HomeSetTable[0][1], int16_t(0));
}

void TestParamGrid::menusRefused_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("answer");   // "No", "Yes", or "busy" (a transfer holds the line)
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("DownLoad, No") << "DownLoad" << "No" << QStringList{"Download."};
    QTest::newRow("UpLoad, No") << "UpLoad" << "No" << QStringList{"Upload."};
    QTest::newRow("DownLoad, Yes, port closed") << "DownLoad" << "Yes"
                                                << QStringList{"Download.", "The port is not open."};
    QTest::newRow("UpLoad, Yes, port closed") << "UpLoad" << "Yes" << QStringList{"Upload.", "The port is not open."};
    const QStringList refused{"A transfer is using the line: nothing was started."};
    QTest::newRow("DownLoad while a transfer runs") << "DownLoad" << "busy" << refused;
    QTest::newRow("UpLoad while a transfer runs") << "UpLoad" << "busy" << refused;
}

void TestParamGrid::menusRefused()
{
    QFETCH(QString, menu);
    QFETCH(QString, answer);
    QFETCH(QStringList, shown);
    UnitSim sim({"--model", "4", "--baud", "38400"});
    if (answer != u"Yes")
        QVERIFY(openPort(sim));
    FillTables(4);
    frmDataGrid1 *w = openGrid();
    m_dialogs->answer(answer == u"No" ? MsgResult::No : MsgResult::Yes);
    std::optional<LineHold> busy;
    if (answer == u"busy")
        busy.emplace(LineUser::Transfer);
    (menu == u"DownLoad" ? w->DownLoad : w->UpLoad)->trigger();
    QCOMPARE(m_dialogs->texts(), shown);
    for (const ShownBox &b : m_dialogs->shown())
        QCOMPARE(b.title, QStringLiteral("ZT260A/ZT460A"));
    // The question comes first; a refusal for a busy line asks nothing.
    if (!shown.isEmpty())
        QCOMPARE(m_dialogs->shown().front().buttons, answer == u"busy" ? MsgButtons::Ok : MsgButtons::YesNo);
    // Nothing reached the unit: a line sent now is the first it gets.
    if (m_main->MSComm1->PortOpen()) {
        m_main->MSComm1->Output(QStringLiteral("MARK\r"));
        QVERIFY(sim.waitForRx("MARK"));
        QCOMPARE(sim.rxLines(), QStringList{"MARK"});
    }
}

void TestParamGrid::menusAgainstUnit_data()
{
    QTest::addColumn<int>("model");
    QTest::newRow("4-axis unit") << 4;
    QTest::newRow("2-axis unit") << 2;
}

void TestParamGrid::menusAgainstUnit()
{
    QFETCH(int, model);
    UnitSim sim({"--model", QString::number(model), "--baud", "38400"});
    QVERIFY(openPort(sim));
    g.UnitModel = QString::number(model);
    FillTables(4);
    frmDataGrid1 *w = openGrid();

    // A value chosen in the grid goes to the unit with the download.
    moveTo(w->grdDataGrid, 1, 1);
    w->grdDataGrid_PopList(1);
    clickEntry(w->List2, 1);
    QCOMPARE(g.ModeSetTable[0][1], int16_t(1));
    m_dialogs->answer(MsgResult::Yes);
    w->DownLoad->trigger();
    QCOMPARE(m_dialogs->texts(), QStringList{"Download."});
    QVERIFY(sim.waitForRx("SET " + letter(model - 1)));
    QCOMPARE(sim.parameter('X', QStringLiteral("MO1")), std::optional<quint32>(0x47));
    QCOMPARE(sim.parameter('Y', QStringLiteral("RAT")), std::optional<quint32>(1));

    // An upload changes the tables, not the open grids.
    sim.control(QStringLiteral("par X RAT 0123"));
    sim.control(QStringLiteral("par Y OFS FFFFFFFE"));
    QVERIFY(sim.sync());
    m_dialogs->answer(MsgResult::Yes);
    w->UpLoad->trigger();
    QCOMPARE(m_dialogs->texts(), QStringList({"Download.", "Upload."}));
    QCOMPARE(g.ParamTable[0][0], QStringLiteral("291"));
    QCOMPARE(g.ParamTable[1][12], QStringLiteral("-2"));
    QCOMPARE(w->DBGrid2->CellText(0, 1), QStringLiteral("500"));

    // Closed and opened again, the window shows them.
    QPointer<frmDataGrid1> first = w;
    w->cmdClose->click();
    QTRY_VERIFY(first.isNull());
    w = openGrid();
    QVERIFY(w != nullptr);
    QCOMPARE(w->DBGrid2->CellText(0, 1), QStringLiteral("291"));
    QCOMPARE(w->DBGrid2->CellText(12, 2), QStringLiteral("-2"));
    QCOMPARE(w->grdDataGrid->CellText(1, 1), QStringLiteral("High"));
    QVERIFY(!LineHeld());
}

void TestParamGrid::closedDuringTransfer()
{
    UnitSim sim({"--model", "4", "--baud", "38400"});
    QVERIFY(openPort(sim));
    FillTables(4);
    QPointer<frmDataGrid1> w = openGrid();
    m_dialogs->answer(MsgResult::Yes);
    // The window is closed while the transfer waits for the unit.
    QTimer::singleShot(0, w, [w] { w->close(); });
    w->DownLoad_Click();
    QVERIFY(sim.waitForRx("SET U"));
    QCOMPARE(m_dialogs->texts(), QStringList{"Download."});
    QVERIFY(DataGridWindow() == nullptr);
    QTRY_VERIFY(w.isNull());
    // A new opening is a new window.
    QVERIFY(openGrid() != nullptr);
}

void TestParamGrid::openedOncePerLoad()
{
    FillTables(4);
    QPointer<frmDataGrid1> w = openGrid();
    g.ParamTable[0][0] = QStringLiteral("7");
    m_main->Command5_Click();
    // Brought forward: not loaded or filled again.
    QCOMPARE(DataGridWindow(), w.data());
    QCOMPARE(w->DBGrid2->CellText(0, 1), QStringLiteral("500"));
    // The close box unloads too; the next opening fills from the tables.
    w->close();
    QTRY_VERIFY(w.isNull());
    QCOMPARE(openGrid()->DBGrid2->CellText(0, 1), QStringLiteral("7"));
}

QTEST_MAIN(TestParamGrid)
#include "test_paramgrid.moc"
