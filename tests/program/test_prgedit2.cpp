// The 4-axis program editor window offscreen: opened from the main window,
// register pages, a command chosen in its picker and data typed into its
// text entry, closed by the close box, the values found again on reopening,
// and the monitor poll put back each time.

#include "DropDownKeys.h"
#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "Waits.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "platform/PickerBox.h"
#include "platform/TabStrip.h"
#include "program/ProgramTable.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "program/RegisterClipboard.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

class TestPrgEdit2 : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editCloseReopen();
    void keysAndDragOnTheGrid();
    void refreshedAfterAnotherWriter();
    void transferMenusNeedThePort();
    void damagedTableRefused();
    void textBoxKeys_data();
    void textBoxKeys();
    void listKeys_data();
    void listKeys();
    void openListTakesKeys_data();
    void openListTakesKeys();
    void secondClickThenAltDown();
    void freshListHasCurrentItem();
    void clickWhileListOpen_data();
    void clickWhileListOpen();
    void altArrowsNeverMove_data();
    void altArrowsNeverMove();

private:
    frmPrgEdit2 *open();
    void clickCell(frmPrgEdit2 *w, int reg, int col);
    // The register's field set to `value`, the editor opened and active,
    // and the cell clicked; nullptr when something of it failed.
    frmPrgEdit2 *openOnCell(int reg, int col, const QString &value);
    // The one picker in sight over the grid, or nullptr.
    PickerBox *shownPicker(frmPrgEdit2 *w);

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestPrgEdit2::init()
{
    ResetProgramState();
    SetStartValues();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
    m_main->Timer1->start();
}

void TestPrgEdit2::cleanup()
{
    delete m_main;   // takes the editor with it
    CloseProgramTables();
    delete m_dialogs;
    delete m_home;
}

frmPrgEdit2 *TestPrgEdit2::open()
{
    m_main->Command4->click();
    frmPrgEdit2 *w = PrgEdit2Window();
    if (!w)
        return nullptr;
    if (!QTest::qWaitForWindowExposed(w))
        return nullptr;
    // Its activation puts the cursor on register 0's X command cell.
    if (!QTest::qWaitFor([w] { return w->X_CMD->isVisible(); }, kEventWaitMs))
        return nullptr;
    return w;
}

void TestPrgEdit2::clickCell(frmPrgEdit2 *w, int reg, int col)
{
    w->MSFlexGrid1->scrollTo(w->logic.model.index(reg, col));
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, w->cellRect(RowOfRegister(reg), col).center());
}

frmPrgEdit2 *TestPrgEdit2::openOnCell(int reg, int col, const QString &value)
{
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    if (table.Open() || !table.WriteFields(reg, {{col, value}}))
        return nullptr;
    frmPrgEdit2 *w = open();
    if (!w || !QTest::qWaitForWindowActive(w))
        return nullptr;
    clickCell(w, reg, col);
    return w;
}

PickerBox *TestPrgEdit2::shownPicker(frmPrgEdit2 *w)
{
    PickerBox *shown = nullptr;
    for (PickerBox *p : w->MSFlexGrid1->viewport()->findChildren<PickerBox *>())
        if (p->isVisible()) {
            if (shown)
                return nullptr;
            shown = p;
        }
    return shown;
}

void TestPrgEdit2::editCloseReopen()
{
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QVERIFY(!m_main->Timer1->isActive());
    QCOMPARE(w->windowTitle(), QStringLiteral("ZT460A Program Editor"));
    QCOMPARE(w->logic.model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("      X\n   DATA"));
    QCOMPARE(w->cellRect(2, 1).topLeft(), w->X_CMD->geometry().topLeft());

    // Page "500 - 599" puts register 500 at the top and hides the picker.
    auto *tab = qobject_cast<QToolButton *>(w->SSTab1->findChildren<QToolButton *>().at(5));
    QCOMPARE(tab->text(), QStringLiteral("500 - 599"));
    QTest::mouseClick(tab, Qt::LeftButton);
    QCOMPARE(w->viewTopRow(), RowOfRegister(500));
    QVERIFY(!w->X_CMD->isVisible());
    QCOMPARE(w->logic.grid.Row(), 2);

    // A command through its picker.
    clickCell(w, 503, 1);
    QVERIFY(w->X_CMD->isVisible());
    QCOMPARE(w->X_CMD->geometry().topLeft(), w->cellRect(RowOfRegister(503), 1).topLeft());
    w->X_CMD->showPopup();
    QAbstractItemView *list = w->X_CMD->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(list->model()->index(int(PickerItems(PickerList::X4).indexOf(QStringLiteral("INC"))), 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_COMPARE(w->Data1.Record(503)->at(1), QStringLiteral("INC"));
    QCOMPARE(w->logic.model.Text(RowOfRegister(503), 1), QStringLiteral("INC"));
    QCOMPARE(w->logic.grid.Col(), 2);
    QVERIFY(w->TextInput1->isVisible());

    // Data typed on the grid goes into the text entry; Enter stores it.
    QTest::keyClick(w->MSFlexGrid1, '2');
    QCOMPARE(w->TextInput1->text(), QStringLiteral("2"));
    QTest::keyClicks(w->TextInput1, QStringLiteral("500"));
    QCOMPARE(w->Label1->text(), QStringLiteral("1 3"));
    QTest::keyClick(w->TextInput1, Qt::Key_Return);
    QCOMPARE(w->Data1.Record(503)->at(2), QStringLiteral("2500"));
    QVERIFY(!w->TextInput1->isVisible());
    QCOMPARE(w->logic.grid.Col(), 3);
    QVERIFY(w->Spd->isVisible());
    // A speed typed on its cell.
    QTest::keyClick(w->MSFlexGrid1, '3');
    QCOMPARE(w->Data1.Record(503)->at(3), QStringLiteral("3"));
    QVERIFY(w->Tim->isVisible());

    // The close box runs the Exit steps: the monitor runs again.
    QVERIFY(w->close());
    QVERIFY(m_main->Timer1->isActive());
    QTRY_VERIFY(!PrgEdit2Window());
    CloseProgramTables();

    w = open();
    QVERIFY(w);
    QVERIFY(!m_main->Timer1->isActive());
    const QModelIndex inc = w->logic.model.index(503, 1);
    QCOMPARE(inc.data().toString(), QStringLiteral("INC"));
    QCOMPARE(inc.siblingAtColumn(2).data().toString(), QStringLiteral("2500"));
    QCOMPARE(inc.siblingAtColumn(3).data().toString(), QStringLiteral("3"));
    QTest::mouseClick(w->ExitBotton, Qt::LeftButton);
    QVERIFY(m_main->Timer1->isActive());
    QTRY_VERIFY(!PrgEdit2Window());
    QVERIFY(m_dialogs->shown().isEmpty());
}

void TestPrgEdit2::keysAndDragOnTheGrid()
{
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QTableView *grid = w->MSFlexGrid1;
    // Keys move the cursor; the view follows it and the editor comes along.
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(w->logic.grid.Col(), 2);
    QVERIFY(w->TextInput1->isVisible());
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(1999));
    QVERIFY(grid->viewport()->rect().contains(w->cellRect(RowOfRegister(1999), 2)));
    QCOMPARE(w->TextInput1->geometry().topLeft(), w->cellRect(RowOfRegister(1999), 2).topLeft());
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(w->logic.grid.Row(), 2);

    // A drag over two axes selects one axis group and records it.
    const QPoint from = w->cellRect(RowOfRegister(3), 9).center();
    const QPoint to = w->cellRect(RowOfRegister(6), 12).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, grid->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE((QList<int>{clip.SelCol, clip.SelTopRow, clip.SelRowSel, clip.SelCount}), (QList<int>{6, 5, 8, 4}));
    const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 4 * 5);
    for (const QModelIndex &i : selected)
        QVERIFY(i.column() >= 6 && i.column() <= 10 && i.row() >= 3 && i.row() <= 6);
    QVERIFY(w->Y_CMD->isVisible());
    // The Edit menu copies the recorded rows.
    w->EditItem[1]->trigger();
    QCOMPARE(clip.ClipCount, 4);
}

void TestPrgEdit2::refreshedAfterAnotherWriter()
{
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    QCOMPARE(&table, &w->Data1);
    // Another window writes many registers, then asks the views to refresh.
    QVERIFY(table.InTransaction([&] {
        for (int reg = 0; reg < 100; ++reg)
            if (!table.WriteAxis(reg, 1, {QStringLiteral("ABS"), QString::number(reg), {}, {}, {}}))
                return false;
        return true;
    }));
    QCOMPARE(w->logic.model.Text(RowOfRegister(99), 7), QString());
    table.RequestRefresh();
    QCOMPARE(w->logic.model.Text(RowOfRegister(99), 7), QStringLiteral("99"));
    QCOMPARE(w->logic.model.Text(RowOfRegister(99), 6), QStringLiteral("ABS"));
    // A second click on the button brings the same window up.
    m_main->Command4->click();
    QCOMPARE(PrgEdit2Window(), w);
}

void TestPrgEdit2::transferMenusNeedThePort()
{
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QVERIFY(!m_main->MSComm1->PortOpen());
    w->DownLoad->trigger();
    w->UpLoad->trigger();
    QCOMPARE(m_dialogs->texts(), (QStringList{QStringLiteral("The port is not open."),
                                              QStringLiteral("The port is not open.")}));
    QCOMPARE(m_dialogs->shown().first().title, QStringLiteral("ZT260A/ZT460A"));
}

void TestPrgEdit2::damagedTableRefused()
{
    const QString path = ProgramFilePath(UnitKind::FourAxis);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no database");
    file.close();

    m_main->Command4->click();
    QVERIFY(!PrgEdit2Window());
    QCOMPARE(m_dialogs->shown().size(), 1);
    QVERIFY(m_dialogs->texts().first().contains(QDir::toNativeSeparators(path)));
    QVERIFY(m_main->Timer1->isActive());
    // The 2-axis unit's button opens the 2-axis editor, not this one.
    g.UnitModel = QStringLiteral("2");
    m_main->Command4->click();
    QVERIFY(!PrgEdit2Window());
    QVERIFY(PrgEditWindow());
    QCOMPARE(m_dialogs->shown().size(), 1);
}

void TestPrgEdit2::textBoxKeys_data()
{
    // Keys typed into the box over a data cell holding "X1503", one token
    // each: a single character is typed, "sel:start,length" selects as a
    // drag of the mouse does, anything else is a key sequence. Then Enter
    // stores. `label` is the caret label as the last key before Enter found
    // the caret (where a selection begins). The arrow keys store and move,
    // so they select nothing here.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("label");

    QTest::newRow("Shift+Home, typed") << "Shift+Home W" << "W" << "1 0";
    QTest::newRow("Home, typed") << "Home Q" << "QX1503" << "1 0";
    QTest::newRow("Ctrl+A, typed") << "Ctrl+A 8 8 8" << "888" << "1 2";
    // After every change the caret goes to the end of the text.
    QTest::newRow("Home, typed twice") << "Home Q R" << "QX1503R" << "1 6";
    QTest::newRow("typed over a dragged selection") << "sel:1,3 7" << "X73" << "1 1";
    QTest::newRow("Backspace over a selection") << "sel:3,2 Backspace" << "X15" << "1 3";
    QTest::newRow("Shift+Home, Backspace") << "Shift+Home Backspace" << "" << "1 0";
    QTest::newRow("Delete over a selection") << "sel:0,1 Delete" << "1503" << "1 0";
    QTest::newRow("paste over a selection") << "sel:1,2 Ctrl+V" << "XY-2003" << "1 1";
    QTest::newRow("paste at the caret") << "Home Ctrl+V" << "Y-20X1503" << "1 0";
    QTest::newRow("typed at the end") << "9" << "X15039" << "1 5";
}

void TestPrgEdit2::textBoxKeys()
{
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QFETCH(QString, label);

    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    QVERIFY(!table.Open());
    QVERIFY(table.WriteFields(10, {{2, QStringLiteral("X1503")}}));
    QGuiApplication::clipboard()->setText(QStringLiteral("Y-20"));

    frmPrgEdit2 *w = open();
    QVERIFY(w);
    clickCell(w, 10, 2);
    QLineEdit *box = w->TextInput1;
    QVERIFY(box->isVisible());
    QCOMPARE(box->text(), QStringLiteral("X1503"));
    QCOMPARE(box->cursorPosition(), 5);

    for (const QString &key : keys.split(u' ')) {
        if (key.size() == 1) {
            QTest::keyClicks(box, key);
        } else if (key.startsWith(QStringLiteral("sel:"))) {
            const QStringList at = key.mid(4).split(u',');
            box->setSelection(at.value(0).toInt(), at.value(1).toInt());
        } else {
            QTest::keySequence(box, QKeySequence::fromString(key, QKeySequence::PortableText));
        }
    }
    QCOMPARE(w->Label1->text(), label);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(table.Record(10)->at(2), stored);
    QCOMPARE(w->logic.model.Text(RowOfRegister(10), 2), stored);
    QVERIFY(!box->isVisible());
    QVERIFY(m_dialogs->shown().isEmpty());
}


void TestPrgEdit2::listKeys_data()
{
    // Every picker cell of the four axes, each with a value of its own, by
    // both keys that open a list; each list closed again by one of the keys
    // that close a list.
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("current");   // the item the list opens on
    QTest::addColumn<QString>("openKey");
    QTest::addColumn<QString>("closeKey");
    const struct {
        int col;
        const char *name, *value, *current;
    } cells[] = {
        {1, "X CMD", "INC", "INC"},     {6, "Y CMD", "CW ", "CW"},   {12, "Z CMD", "", "(NUL)"},
        {17, "U CMD", "HOM", "HOM"},    {3, "X SPD", "2", "2"},      {8, "Y SPD", "", "(NULL)"},
        {14, "Z SPD", "4", "4"},        {19, "U SPD", "odd", "1"},   {4, "X TIM", "0", "0"},
        {9, "Y TIM", "3", "3"},         {15, "Z TIM", "", "(NULL)"}, {20, "U TIM", "1", "1"},
    };
    const char *closeKeys[] = {"Esc", "F4", "Alt+Up", "Alt+Down"};
    int close = 0;
    for (const auto &c : cells)
        for (const char *open : {"Alt+Down", "F4"}) {
            const char *closing = closeKeys[close++ % 4];
            QTest::addRow("%s, %s, %s", c.name, open, closing)
                << c.col << QString::fromLatin1(c.value) << QString::fromLatin1(c.current) << QString::fromLatin1(open)
                << QString::fromLatin1(closing);
        }
}

void TestPrgEdit2::listKeys()
{
    QFETCH(int, col);
    QFETCH(QString, value);
    QFETCH(QString, current);
    QFETCH(QString, openKey);
    QFETCH(QString, closeKey);
    constexpr int reg = 40;
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    frmPrgEdit2 *w = openOnCell(reg, col, value);
    QVERIFY(w);
    PickerBox *picker = shownPicker(w);
    QVERIFY(picker);
    QCOMPARE(QApplication::focusWidget(), w->MSFlexGrid1);
    QSignalSpy chosen(picker, &PickerBox::Click);

    PressKeys(openKey);
    QTRY_VERIFY(ListOpen(picker));
    QCOMPARE(CurrentListItem(picker), current);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), col);

    PressKeys(closeKey);
    QTRY_VERIFY(!ListOpen(picker));
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(table.Record(reg)->at(col), value);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), col);
    QVERIFY(picker->isVisible());
    QCOMPARE(QApplication::focusWidget(), w->MSFlexGrid1);
    QVERIFY(m_dialogs->shown().isEmpty());
}

void TestPrgEdit2::openListTakesKeys_data()
{
    // Keys after the list opened, ending with Return, which chooses the
    // item then current: the value stored and where the cursor goes on.
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("colAfter");
    QTest::newRow("End on an empty command") << 1 << "" << "Alt+Down End Return" << "END" << 2;
    QTest::newRow("Home, Down") << 6 << "HOM" << "F4 Home Down Return" << "ABS" << 7;
    QTest::newRow("a letter") << 12 << "" << "Alt+Down J Return" << "JMP" << 13;
    QTest::newRow("a small letter") << 17 << "ABS" << "F4 h Return" << "HOM" << 18;
    QTest::newRow("Up from the current speed") << 3 << "3" << "Alt+Down Up Return" << "2" << 4;
    QTest::newRow("a digit on a speed") << 19 << "" << "F4 4 Return" << "4" << 20;
    QTest::newRow("End on a timer") << 9 << "2" << "Alt+Down End Return" << "" << 10;
    QTest::newRow("Home on a timer") << 15 << "" << "F4 Home Return" << "0" << 16;
    QTest::newRow("Return on the current item") << 4 << "1" << "Alt+Down Return" << "1" << 5;
}

void TestPrgEdit2::openListTakesKeys()
{
    QFETCH(int, col);
    QFETCH(QString, value);
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QFETCH(int, colAfter);
    constexpr int reg = 7;
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    frmPrgEdit2 *w = openOnCell(reg, col, value);
    QVERIFY(w);
    PickerBox *picker = shownPicker(w);
    QVERIFY(picker);
    QSignalSpy chosen(picker, &PickerBox::Click);
    PressKeys(keys);
    QTRY_VERIFY(!ListOpen(picker));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(table.Record(reg)->at(col), stored);
    QCOMPARE(w->logic.model.Text(RowOfRegister(reg), col), stored);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), colAfter);
    // Return went to the list alone: nothing of it reaches the grid's next cell.
    QCOMPARE(QApplication::focusWidget(), w->MSFlexGrid1);
    for (int r : {reg - 1, reg + 1})
        QCOMPARE(table.Record(r)->at(col), QString());
}

void TestPrgEdit2::secondClickThenAltDown()
{
    // Y SPD of register 1, then of register 0; Alt+Down, 3, Return: the
    // speed goes into register 0, which the cursor stands on.
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    clickCell(w, 1, 8);
    clickCell(w, 0, 8);
    QVERIFY(w->Spd->isVisible());
    PressKey(Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(ListOpen(w->Spd));
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(0));
    PressKeys(QStringLiteral("3"));
    PressKey(Qt::Key_Return);
    QTRY_VERIFY(!ListOpen(w->Spd));
    QCOMPARE(w->Data1.Record(1)->at(8), QString());
    QCOMPARE(w->Data1.Record(0)->at(8), QStringLiteral("3"));
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(0));
    QCOMPARE(w->logic.grid.Col(), 9);
}

void TestPrgEdit2::freshListHasCurrentItem()
{
    // A list opened by the mouse opens on the cell's item too, so End
    // goes to the last item and Return chooses it.
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    clickCell(w, 3, 1);
    ClickThroughWindow(w->X_CMD, w->X_CMD->rect().center());
    QTRY_VERIFY(ListOpen(w->X_CMD));
    QCOMPARE(CurrentListItem(w->X_CMD), QStringLiteral("(NUL)"));
    PressKey(Qt::Key_End);
    PressKey(Qt::Key_Return);
    QTRY_VERIFY(!ListOpen(w->X_CMD));
    QCOMPARE(w->Data1.Record(3)->at(1), QStringLiteral("END"));

    clickCell(w, 3, 8);
    ClickThroughWindow(w->Spd, w->Spd->rect().center());
    QTRY_VERIFY(ListOpen(w->Spd));
    QCOMPARE(CurrentListItem(w->Spd), QStringLiteral("(NULL)"));
    PressKey(Qt::Key_Home);
    PressKey(Qt::Key_Return);
    QTRY_VERIFY(!ListOpen(w->Spd));
    QCOMPARE(w->Data1.Record(3)->at(8), QStringLiteral("1"));
}

void TestPrgEdit2::clickWhileListOpen_data()
{
    // The Y speed list of register 5 is open, opened by Alt+Down or by a
    // click on the picker; a click lands on another cell, then 2 is typed.
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("storedCol");   // where 2 is stored, -1 nowhere
    QTest::addColumn<QString>("boxText");   // the text box's text, when it has the focus
    for (bool byMouse : {false, true}) {
        const char *how = byMouse ? "opened by the mouse" : "opened by a key";
        QTest::addRow("speed of another register, %s", how) << byMouse << 9 << 3 << 3 << QString();
        QTest::addRow("timer of the same register, %s", how) << byMouse << 5 << 4 << 4 << QString();
        QTest::addRow("data of another register, %s", how) << byMouse << 12 << 2 << -1 << "2";
        QTest::addRow("command of another register, %s", how) << byMouse << 1 << 6 << -1 << QString();
        QTest::addRow("REG cell, %s", how) << byMouse << 10 << 0 << -1 << QString();
    }
}

void TestPrgEdit2::clickWhileListOpen()
{
    QFETCH(bool, byMouse);
    QFETCH(int, reg);
    QFETCH(int, col);
    QFETCH(int, storedCol);
    QFETCH(QString, boxText);
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    clickCell(w, 5, 8);
    if (byMouse)
        ClickThroughWindow(w->Spd, w->Spd->rect().center());
    else
        PressKey(Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(ListOpen(w->Spd));

    // The click as the mouse makes it, through the window, where the open
    // list sees it first.
    QWidget *viewport = w->MSFlexGrid1->viewport();
    const QPoint at = w->cellRect(RowOfRegister(reg), col).center();
    QVERIFY(viewport->rect().contains(at));
    const QPoint global = viewport->mapToGlobal(at);
    QVERIFY(!w->Spd->view()->window()->geometry().contains(global));
    const QStringList left = *w->Data1.Record(5);
    const QStringList clicked = *w->Data1.Record(reg);
    ClickThroughWindow(viewport, at);
    QTRY_VERIFY(!ListOpen(w->Spd));
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), col);
    // As after a first click, the cell's editor lies over it.
    if (col != 0) {
        QWidget *laid = col == 2 ? static_cast<QWidget *>(w->TextInput1) : shownPicker(w);
        QVERIFY(laid && laid->isVisible());
        QCOMPARE(laid->geometry().topLeft(), w->cellRect(RowOfRegister(reg), col).topLeft());
    }

    PressKeys(QStringLiteral("2"));
    QStringList leftAfter = left;
    QStringList clickedAfter = clicked;
    if (storedCol >= 0)
        (reg == 5 ? leftAfter : clickedAfter)[storedCol] = QStringLiteral("2");
    QCOMPARE(*w->Data1.Record(5), leftAfter);
    if (reg != 5)
        QCOMPARE(*w->Data1.Record(reg), clickedAfter);
    if (!boxText.isEmpty()) {
        QCOMPARE(QApplication::focusWidget(), w->TextInput1);
        QCOMPARE(w->TextInput1->text(), boxText);
        QCOMPARE(w->TextInput1->geometry().topLeft(), w->cellRect(RowOfRegister(reg), col).topLeft());
    }
    QVERIFY(m_dialogs->shown().isEmpty());
}

void TestPrgEdit2::altArrowsNeverMove_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("key");
    QTest::newRow("Alt+Up on a speed") << 8 << "Alt+Up";
    QTest::newRow("Alt+Left on a command") << 6 << "Alt+Left";
    QTest::newRow("Alt+Right on a timer") << 4 << "Alt+Right";
    QTest::newRow("Alt+PgDown on a comment") << 5 << "Alt+PgDown";
    QTest::newRow("Alt+Down on a REG cell") << 0 << "Alt+Down";
    QTest::newRow("F4 on a comment") << 10 << "F4";
    QTest::newRow("Alt+Down on a data cell") << 7 << "Alt+Down";
    QTest::newRow("Alt+Up on a data cell") << 2 << "Alt+Up";
}

void TestPrgEdit2::altArrowsNeverMove()
{
    QFETCH(int, col);
    QFETCH(QString, key);
    constexpr int reg = 20;
    frmPrgEdit2 *w = open();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->MSFlexGrid1->scrollTo(w->logic.model.index(reg, col));
    w->logic.grid.setCursor(RowOfRegister(reg), col);
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, w->cellRect(RowOfRegister(reg), col).center());
    QWidget *focus = QApplication::focusWidget();
    QWidget *shown = shownPicker(w);
    PressKeys(key);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), col);
    QCOMPARE(shownPicker(w), shown);
    QCOMPARE(QApplication::focusWidget(), focus);
    for (PickerBox *p : w->MSFlexGrid1->viewport()->findChildren<PickerBox *>())
        QVERIFY(!ListOpen(p));
    QCOMPARE(w->TextInput1->isVisible(), col == 2 || col == 5 || col == 7 || col == 10);
    QCOMPARE(w->MSFlexGrid1->currentIndex(), w->logic.model.index(reg, col));
}

QTEST_MAIN(TestPrgEdit2)
#include "test_prgedit2.moc"
