// The 2-axis program editor window offscreen: opened from the main window
// on the 2-axis unit, a command chosen from the list laid over its cell,
// data through the input box, a key move taking the list away, a drag
// copied and pasted through the Edit menu, the transfer menus' port check,
// the right button, and the monitor poll put back on closing.

#include "DropDownKeys.h"
#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "Waits.h"
#include "mainwin/frmMain.h"
#include "platform/PickerBox.h"
#include "platform/frmMessage.h"
#include "program/ProgramTable.h"
#include "program/frmEditActMain.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "program/RegisterClipboard.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TestPrgEdit : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openEditClose();
    void keysAndLists();
    void dragCopyPaste();
    void transferMenusNeedThePort();
    void rightButtonOnTheTwoAxisUnit();
    void listKeys_data();
    void listKeys();
    void clickWhileListOpen();

private:
    frmPrgEdit *open();
    QPoint cellCenter(frmPrgEdit *w, int reg, int col);

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestPrgEdit::init()
{
    ResetProgramState();
    SetStartValues();
    g.UnitModel = QStringLiteral("2");
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
    m_main->Timer1->start();
}

void TestPrgEdit::cleanup()
{
    delete m_main;   // takes the editor with it
    CloseProgramTables();
    delete m_dialogs;
    delete m_home;
}

frmPrgEdit *TestPrgEdit::open()
{
    m_main->Command4->click();
    frmPrgEdit *w = PrgEditWindow();
    if (!w || !QTest::qWaitForWindowExposed(w))
        return nullptr;
    // The first activation reads the table and writes the headers.
    if (!QTest::qWaitFor([w] { return w->logic.model.Text(1, 2) == QStringLiteral("DATA"); }, kEventWaitMs))
        return nullptr;
    return w;
}

QPoint TestPrgEdit::cellCenter(frmPrgEdit *w, int reg, int col)
{
    w->MSFlexGrid1->scrollTo(w->logic.model.index(reg, col));
    return w->cellRect(RowOfRegister(reg), col).center();
}

void TestPrgEdit::openEditClose()
{
    frmPrgEdit *w = open();
    QVERIFY(w);
    QVERIFY(!PrgEdit2Window());
    QVERIFY(!m_main->Timer1->isActive());
    QCOMPARE(w->windowTitle(), QStringLiteral("Program Edit"));
    QCOMPARE(w->Label5->text(), QStringLiteral("REG ::"));
    QCOMPARE(w->Label6->text(), QStringLiteral(" 0"));
    QCOMPARE(w->Label7->text(), QStringLiteral("/ 53"));
    QCOMPARE(w->logic.model.rowCount(), 54);
    QCOMPARE(w->logic.model.headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Y\nDATA"));
    QCOMPARE(w->logic.model.headerData(7, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

    // A command from the list laid over the X CMD cell of register 3.
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, 3, 1));
    QVERIFY(w->X_CMD->isVisible());
    QCOMPARE(w->X_CMD->geometry().topLeft(), w->cellRect(RowOfRegister(3), 1).topLeft());
    QCOMPARE(w->Label6->text(), QStringLiteral(" 3"));
    w->X_CMD->showPopup();
    QAbstractItemView *list = w->X_CMD->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(list->model()->index(int(PickerItems(PickerList::X2).indexOf(QStringLiteral("INC"))), 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_COMPARE(w->Data1.Record(3)->at(1), QStringLiteral("INC"));
    QCOMPARE(w->logic.grid.Col(), 4);
    QVERIFY(!w->X_CMD->isVisible());

    // Data through the input box on a double click.
    m_dialogs->answerInput(QStringLiteral("2500"));
    QTest::mouseDClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, 3, 2));
    QCOMPARE(m_dialogs->shown().size(), 1);
    QCOMPARE(m_dialogs->shown().first().title, QStringLiteral("X Data"));
    QCOMPARE(w->Data1.Record(3)->at(2), QStringLiteral("2500"));
    QCOMPARE(w->logic.model.index(3, 2).data().toString(), QStringLiteral("2500"));

    // The close box runs the Exit steps; reopened, the values are there.
    QVERIFY(w->close());
    QVERIFY(m_main->Timer1->isActive());
    QTRY_VERIFY(!PrgEditWindow());
    CloseProgramTables();
    w = open();
    QVERIFY(w);
    QCOMPARE(w->logic.model.index(3, 1).data().toString(), QStringLiteral("INC"));
    QCOMPARE(w->logic.model.index(3, 2).data().toString(), QStringLiteral("2500"));
    QTest::mouseClick(w->Zt260PrgEditExit, Qt::LeftButton);
    QVERIFY(m_main->Timer1->isActive());
    QTRY_VERIFY(!PrgEditWindow());
}

void TestPrgEdit::keysAndLists()
{
    frmPrgEdit *w = open();
    QVERIFY(w);
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, 0, 8));
    QVERIFY(w->Spd->isVisible());
    // A key move takes the list away; typing on the grid changes nothing.
    QTest::keyClick(w->MSFlexGrid1, Qt::Key_Down);
    QVERIFY(!w->Spd->isVisible());
    QCOMPARE(w->Label6->text(), QStringLiteral(" 1"));
    QTest::keyClick(w->MSFlexGrid1, '3');
    QCOMPARE(w->Data1.Record(1)->at(8), QString());
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(1));
    QTest::keyClick(w->MSFlexGrid1, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(w->Label6->text(), QStringLiteral(" 53"));
    QVERIFY(w->MSFlexGrid1->viewport()->rect().contains(w->cellRect(RowOfRegister(53), 8)));

    // A list shown when the grid scrolls goes away.
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, 53, 9));
    QVERIFY(w->Tim->isVisible());
    w->MSFlexGrid1->scrollToTop();
    QVERIFY(!w->Tim->isVisible());
}

void TestPrgEdit::dragCopyPaste()
{
    ProgramTable &table = ProgramTableOf(UnitKind::TwoAxis);
    QVERIFY(!table.Open());
    for (int reg = 1; reg <= 3; ++reg)
        QVERIFY(table.WriteAxis(reg, 1, {QStringLiteral("ABS"), QString::number(reg), {}, {}, {}}));
    frmPrgEdit *w = open();
    QVERIFY(w);
    QTableView *grid = w->MSFlexGrid1;
    // Both ends in sight at once: the columns are as wide as the font needs,
    // so the grid may scroll sideways.
    cellCenter(w, 3, 13);
    const QPoint from = cellCenter(w, 1, 9);
    const QPoint to = w->cellRect(RowOfRegister(3), 13).center();
    QVERIFY(grid->viewport()->rect().contains(to));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, grid->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE((QList<int>{clip.SelCol, clip.SelTopRow, clip.SelCount, clip.SelGrid}), (QList<int>{6, 3, 3, 2}));
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 3 * 5);

    w->EditItem[1]->trigger();
    QCOMPARE(clip.ClipCount, 3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(w, 20, 14));
    w->EditItem[2]->trigger();
    for (int reg = 1; reg <= 3; ++reg) {
        QCOMPARE(table.Axis(19 + reg, 2)->at(1), QString::number(reg));
        QCOMPARE(w->logic.model.Text(RowOfRegister(19 + reg), 13), QString::number(reg));
    }
    QVERIFY(m_dialogs->shown().isEmpty());
}

void TestPrgEdit::transferMenusNeedThePort()
{
    frmPrgEdit *w = open();
    QVERIFY(w);
    w->DownLoad->trigger();
    w->UpLoad->trigger();
    QCOMPARE(m_dialogs->texts(), (QStringList{"Start DownLoad ?", "The port is not open.", "Start UpLoad ?",
                                              "The port is not open."}));
    QVERIFY(!m_main->Timer1->isActive());
    QVERIFY(!LoadedMessageWindow());
}

void TestPrgEdit::rightButtonOnTheTwoAxisUnit()
{
    frmPrgEdit *w = open();
    QVERIFY(w);
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, 2, 6));
    QVERIFY(w->Y_CMD->isVisible());
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::RightButton, {}, cellCenter(w, 2, 6));
    QVERIFY(!w->Y_CMD->isVisible());
    QVERIFY(!EditActMainWindow());
}

void TestPrgEdit::listKeys_data()
{
    // Every list cell of X and Y by both keys that open a list, reached by
    // a click (the list laid already) or by a key move (none laid); Return
    // then chooses the item the list opened on.
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("keys");   // to reach the cell and open its list
    QTest::addColumn<int>("colAfter");
    const struct {
        int col;
        const char *name, *value, *current;
        int colAfter;
    } cells[] = {
        {1, "X CMD", "INC", "INC", 4}, {6, "Y CMD", "", "(NUL)", 9}, {3, "X SPD", "3", "3", 3},
        {8, "Y SPD", "odd", "1", 8},   {4, "X TIM", "2", "2", 4},    {9, "Y TIM", "", "0", 9},
    };
    for (const auto &c : cells)
        for (const char *open : {"Alt+Down", "F4"})
            for (const char *reach : {"click", "Up"})
                QTest::addRow("%s, %s after %s", c.name, open, reach)
                    << c.col << QString::fromLatin1(c.value) << QString::fromLatin1(c.current)
                    << QStringLiteral("%1 %2").arg(QLatin1String(reach), QLatin1String(open)) << c.colAfter;
}

void TestPrgEdit::listKeys()
{
    QFETCH(int, col);
    QFETCH(QString, value);
    QFETCH(QString, current);
    QFETCH(QString, keys);
    QFETCH(int, colAfter);
    constexpr int reg = 12;
    ProgramTable &table = ProgramTableOf(UnitKind::TwoAxis);
    QVERIFY(!table.Open());
    QVERIFY(table.WriteFields(reg, {{col, value}}));

    frmPrgEdit *w = open();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    const QStringList reach = keys.split(u' ');
    const bool byClick = reach.first() == u"click";
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, byClick ? reg : reg + 1, col));
    if (!byClick)
        PressKeys(reach.first());
    PickerBox *list = w->listWidget(col == 1   ? TwoAxisList::X_CMD
                                    : col == 6 ? TwoAxisList::Y_CMD
                                    : col == 3 || col == 8 ? TwoAxisList::Spd
                                                           : TwoAxisList::Tim);
    QVERIFY(list);
    QCOMPARE(list->isVisible(), byClick);
    QSignalSpy chosen(list, &PickerBox::Click);

    PressKeys(reach.last());
    QTRY_VERIFY(ListOpen(list));
    QVERIFY(list->isVisible());
    QCOMPARE(list->geometry().topLeft(), w->cellRect(RowOfRegister(reg), col).topLeft());
    QCOMPARE(CurrentListItem(list), current);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), col);

    PressKey(Qt::Key_Return);
    QTRY_VERIFY(!ListOpen(list));
    QCOMPARE(chosen.count(), 1);
    const QString stored = current == u"(NUL)" ? QString() : current;
    QCOMPARE(table.Record(reg)->at(col), stored);
    QCOMPARE(w->logic.model.Text(RowOfRegister(reg), col), stored);
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(reg));
    QCOMPARE(w->logic.grid.Col(), colAfter);
    QVERIFY(m_dialogs->shown().isEmpty());
}

void TestPrgEdit::clickWhileListOpen()
{
    // The X speed list of register 3 is open; a click on the Y command cell
    // of register 8 closes it and lays that cell's list, as a first click.
    frmPrgEdit *w = open();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cellCenter(w, 3, 3));
    // Alt with an arrow is no move.
    PressKeys(QStringLiteral("Alt+Up Alt+Right Alt+Left"));
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(3));
    QCOMPARE(w->logic.grid.Col(), 3);
    QVERIFY(w->Spd->isVisible());
    QVERIFY(!ListOpen(w->Spd));
    PressKey(Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(ListOpen(w->Spd));

    QWidget *viewport = w->MSFlexGrid1->viewport();
    const QPoint at = w->cellRect(RowOfRegister(8), 6).center();
    QVERIFY(viewport->rect().contains(at));
    QVERIFY(!w->Spd->view()->window()->geometry().contains(viewport->mapToGlobal(at)));
    ClickThroughWindow(viewport, at);
    QTRY_VERIFY(!ListOpen(w->Spd));
    QVERIFY(!w->Spd->isVisible());
    QCOMPARE(w->logic.grid.Row(), RowOfRegister(8));
    QCOMPARE(w->logic.grid.Col(), 6);
    QCOMPARE(w->Label6->text(), QStringLiteral(" 8"));
    QVERIFY(w->Y_CMD->isVisible());
    QCOMPARE(w->Y_CMD->geometry().topLeft(), w->cellRect(RowOfRegister(8), 6).topLeft());

    // Keys now work on the new cell; the one left keeps its value.
    PressKeys(QStringLiteral("2 F4 End Return"));
    QTRY_VERIFY(!ListOpen(w->Y_CMD));
    QCOMPARE(w->Data1.Record(8)->at(6), QStringLiteral("END"));
    QCOMPARE(w->Data1.Record(3)->at(3), QString());
    QVERIFY(m_dialogs->shown().isEmpty());
}

QTEST_MAIN(TestPrgEdit)
#include "test_prgedit.moc"
