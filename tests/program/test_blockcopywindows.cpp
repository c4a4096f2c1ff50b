// The block copy windows offscreen, on the 4-axis program: opened from the
// 4-axis editor, their boxes' rules, Start's results and refusals, a move
// whose ranges overlap, the expanded window's questions, and the editor
// showing the result from the same first row.

#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "mainwin/frmMain.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "program/ProgramTable.h"
#include "program/frmEditAct.h"
#include "program/frmEditActMain.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "shared/Language.h"
#include "program/RegisterClipboard.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

Q_DECLARE_METATYPE(MsgResult)

namespace {
ClipRow rowFor(int reg, int axis)
{
    return {QStringLiteral("INC"), QString::number(reg * 10 + axis), QStringLiteral("2"), QStringLiteral("1"),
            AxisLetter(axis) + QString::number(reg)};
}

void type(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}
} // namespace

class TestBlockCopyWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openedFromTheEditor();
    void registerBoxes();
    void normalCopy();
    void normalRefusals_data();
    void normalRefusals();
    void greyedClearNeverErases();
    void overlappingMove();
    void expandedCopyIntoOtherAxes_data();
    void expandedCopyIntoOtherAxes();
    void expandedRefusesSourceWithoutDestination();
    void nothingStartsInside();
    void noEditorOpened();

private:
    frmEditActMain *openNormal();
    frmEditAct *openExpanded();
    void fill(int first, int count);
    ProgramTable &table() { return ProgramTableOf(UnitKind::FourAxis); }

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
    frmPrgEdit2 *m_editor = nullptr;
};

void TestBlockCopyWindows::init()
{
    ResetProgramState();
    SetStartValues();
    g.UnitModel = QStringLiteral("4");
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
    m_editor = ShowPrgEdit2();
    QVERIFY(m_editor);
}

void TestBlockCopyWindows::cleanup()
{
    delete m_main;   // takes the editor and the block copy windows with it
    UnloadMessageWindow();
    CloseProgramTables();
    delete m_dialogs;
    delete m_home;
}

void TestBlockCopyWindows::fill(int first, int count)
{
    QVERIFY(table().InTransaction([&] {
        for (int reg = first; reg < first + count; ++reg)
            for (int axis = 0; axis < kAxes; ++axis)
                if (!table().WriteAxis(reg, axis, rowFor(reg, axis)))
                    return false;
        return true;
    }));
    table().RequestRefresh();
}

frmEditActMain *TestBlockCopyWindows::openNormal()
{
    // The right button on the 4-axis grid.
    QTableView *grid = m_editor->MSFlexGrid1;
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, m_editor->cellRect(RowOfRegister(0), 3).center());
    return EditActMainWindow();
}

frmEditAct *TestBlockCopyWindows::openExpanded()
{
    m_editor->BlockCopyExpandItem->trigger();
    return EditActWindow();
}

void TestBlockCopyWindows::openedFromTheEditor()
{
    frmEditActMain *w = openNormal();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Edit Control"));
    QCOMPARE(w->Label2->text(), GetRangeMark());
    for (QLineEdit *box : w->rangeBoxes()) {
        QCOMPARE(box->text(), QStringLiteral("0"));
        QVERIFY(!box->isEnabled());
    }
    for (int a = 0; a < kAxes; ++a) {
        QVERIFY(w->sourceBoxes()[std::size_t(a)]->isEnabled());
        QVERIFY(w->clearBoxes()[std::size_t(a)]->isEnabled());
        QVERIFY(!w->destBoxes()[std::size_t(a)]->isEnabled());
    }
    // Expand switches to the other window, which starts reset, and back.
    QTest::mouseClick(w->Expand_Botton, Qt::LeftButton);
    QTRY_VERIFY(!EditActMainWindow());
    frmEditAct *x = EditActWindow();
    QVERIFY(x);
    QCOMPARE(x->windowTitle(), QStringLiteral("Edit Control Expand"));
    QCOMPARE(x->Label8->text(), GetRangeMark());
    QVERIFY(!x->U_REG_C->isEnabled());
    QTest::mouseClick(x->Normal_Button, Qt::LeftButton);
    QTRY_VERIFY(!EditActWindow());
    QVERIFY(EditActMainWindow());
    // The editor's Edit menu opens both windows too.
    QTest::mouseClick(EditActMainWindow()->Exit_Botton, Qt::LeftButton);
    QTRY_VERIFY(!EditActMainWindow());
    m_editor->BlockCopyItem->trigger();
    QVERIFY(EditActMainWindow());
    QVERIFY(openExpanded());
}

void TestBlockCopyWindows::registerBoxes()
{
    frmEditActMain *w = openNormal();
    QVERIFY(w);
    QTest::mouseClick(w->XCheck, Qt::LeftButton);
    QVERIFY(w->X_REG_E->isEnabled());
    type(w->X_REG_E, QStringLiteral("a1 -2."));
    QCOMPARE(w->X_REG_E->text(), QStringLiteral("12"));
    QVERIFY(m_dialogs->shown().isEmpty());
    type(w->X_REG_E, QStringLiteral("2000"));
    QCOMPARE(w->X_REG_E->text(), QStringLiteral("2000"));
    type(w->X_REG_E, QStringLiteral("2001"));
    QCOMPARE(w->X_REG_E->text(), QStringLiteral("0"));
    QCOMPARE(m_dialogs->texts(),
             QStringList{QStringLiteral("Value can't configure it.\nA register box takes 0 to 2000, not \"2001\".")});
    QCOMPARE(m_dialogs->shown().first().title, QStringLiteral("zt260/460"));
    // Pasted text is held to digits as typed text is.
    w->X_REG_S->clear();
    w->X_REG_S->insert(QStringLiteral("12ab"));
    QCOMPARE(w->X_REG_S->text(), QStringLiteral("0"));
    QCOMPARE(m_dialogs->shown().size(), 2);

    // The expanded window's Y band has the same rules.
    frmEditAct *x = openExpanded();
    QVERIFY(x);
    QTest::mouseClick(x->YCheck, Qt::LeftButton);
    type(x->Y_REG_C, QStringLiteral("x9y"));
    QCOMPARE(x->Y_REG_C->text(), QStringLiteral("9"));
    x->U_REG_S->insert(QStringLiteral("5000"));
    QCOMPARE(x->U_REG_S->text(), QStringLiteral("0"));
    QCOMPARE(m_dialogs->shown().size(), 3);
}

void TestBlockCopyWindows::normalCopy()
{
    fill(0, 12);
    fill(100, 12);
    // The editor shows register 500 at the top.
    m_editor->MSFlexGrid1->verticalScrollBar()->setValue(500);
    QCOMPARE(m_editor->viewTopRow(), RowOfRegister(500));

    frmEditActMain *w = openNormal();
    QVERIFY(w);
    QTest::mouseClick(w->XCheck, Qt::LeftButton);
    type(w->X_REG_E, QStringLiteral("9"));
    type(w->X_REG_C, QStringLiteral("100"));
    QTest::mouseClick(w->XCheckX, Qt::LeftButton);
    QTest::mouseClick(w->XCheckU, Qt::LeftButton);
    QTest::mouseClick(w->Start_botton, Qt::LeftButton);

    QVERIFY(m_dialogs->shown().isEmpty());
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(table().Axis(100 + k, 0), std::optional(rowFor(k, 0)));
        QCOMPARE(table().Axis(100 + k, 3), std::optional(rowFor(k, 0)));
        QCOMPARE(table().Axis(100 + k, 1), std::optional(rowFor(100 + k, 1)));
        QCOMPARE(table().Axis(k, 0), std::optional(rowFor(k, 0)));
    }
    QCOMPARE(table().Axis(110, 0), std::optional(rowFor(110, 0)));
    // The editor shows the result from the same first row.
    QCOMPARE(m_editor->logic.model.Text(RowOfRegister(105), 17), QStringLiteral("INC"));
    QCOMPARE(m_editor->logic.model.Text(RowOfRegister(105), 18), QStringLiteral("50"));
    QCOMPARE(m_editor->viewTopRow(), RowOfRegister(500));
    QTRY_VERIFY(!EditActMainWindow());
    QVERIFY(!LoadedMessageWindow());
}

void TestBlockCopyWindows::normalRefusals_data()
{
    QTest::addColumn<bool>("source");
    QTest::addColumn<bool>("dest");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("copyTo");
    QTest::addColumn<QString>("line");   // the message's second line
    QTest::newRow("no source") << false << false << "0" << "0" << "0" << "No source axis is ticked.";
    QTest::newRow("no destination") << true << false << "0" << "9" << "5" << "No axis to copy to is ticked.";
    QTest::newRow("empty end") << true << true << "0" << "" << "5" << "The end box is empty.";
    QTest::newRow("end past the program") << true << true << "1990" << "2000" << "0"
                                          << "The end box holds 2000: the largest it takes is 1999.";
    QTest::newRow("copy past the program")
        << true << true << "0" << "9" << "1995"
        << "The copy-to box holds 1995: with 10 registers to copy, the largest it takes is 1990.";
}

void TestBlockCopyWindows::normalRefusals()
{
    QFETCH(bool, source);
    QFETCH(bool, dest);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, copyTo);
    QFETCH(QString, line);
    fill(0, 10);
    fill(1990, 10);
    const std::vector<QStringList> before = table().ReadAll();
    frmEditActMain *w = openNormal();
    QVERIFY(w);
    if (source)
        QTest::mouseClick(w->YCheck, Qt::LeftButton);
    if (dest)
        QTest::mouseClick(w->XCheckZ, Qt::LeftButton);
    QTest::mouseClick(w->Y_CLR, Qt::LeftButton);
    type(w->X_REG_S, start);
    type(w->X_REG_E, end);
    type(w->X_REG_C, copyTo);
    QTest::mouseClick(w->Start_botton, Qt::LeftButton);
    QCOMPARE(m_dialogs->texts(), QStringList{"Bad Setting.\n" + line});
    QCOMPARE(m_dialogs->shown().first().title, QStringLiteral("ZT260A/ZT460A"));
    QVERIFY(table().ReadAll() == before);
    QCOMPARE(EditActMainWindow(), w);
    QVERIFY(w->isEnabled());
}

void TestBlockCopyWindows::greyedClearNeverErases()
{
    fill(0, 10);
    frmEditActMain *w = openNormal();
    QVERIFY(w);
    QTest::mouseClick(w->Y_CLR, Qt::LeftButton);
    QVERIFY(w->Y_CLR->isChecked());
    QTest::mouseClick(w->XCheck, Qt::LeftButton);
    QVERIFY(!w->Y_CLR->isEnabled());
    QVERIFY(!w->Y_CLR->isChecked());
    type(w->X_REG_E, QStringLiteral("9"));
    type(w->X_REG_C, QStringLiteral("20"));
    QTest::mouseClick(w->XCheckY, Qt::LeftButton);
    QTest::mouseClick(w->Start_botton, Qt::LeftButton);
    for (int reg = 0; reg < 10; ++reg) {
        QCOMPARE(table().Axis(20 + reg, 1), std::optional(rowFor(reg, 0)));
        QCOMPARE(table().Axis(reg, 1), std::optional(rowFor(reg, 1)));
        QCOMPARE(table().Axis(reg, 0), std::optional(rowFor(reg, 0)));
    }
}

void TestBlockCopyWindows::overlappingMove()
{
    fill(0, 30);
    frmEditActMain *w = openNormal();
    QVERIFY(w);
    QTest::mouseClick(w->XCheck, Qt::LeftButton);
    QTest::mouseClick(w->X_CLR, Qt::LeftButton);
    type(w->X_REG_S, QStringLiteral("10"));
    type(w->X_REG_E, QStringLiteral("19"));
    type(w->X_REG_C, QStringLiteral("15"));
    QTest::mouseClick(w->XCheckX, Qt::LeftButton);
    QTest::mouseClick(w->Start_botton, Qt::LeftButton);
    for (int reg = 0; reg < 30; ++reg) {
        std::optional<ClipRow> expected = rowFor(reg, 0);
        if (reg >= 15 && reg <= 24)
            expected = rowFor(reg - 5, 0);
        else if (reg >= 10 && reg <= 14)
            expected = ClipRow{};
        QCOMPARE(table().Axis(reg, 0), expected);
    }
}

void TestBlockCopyWindows::expandedCopyIntoOtherAxes_data()
{
    QTest::addColumn<MsgResult>("keep");      // first question
    QTest::addColumn<MsgResult>("confirm");   // second
    QTest::addColumn<bool>("copied");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("keep the original") << MsgResult::Yes << MsgResult::Ok << true << false;
    QTest::newRow("move") << MsgResult::No << MsgResult::Ok << true << true;
    QTest::newRow("cancel the question") << MsgResult::Cancel << MsgResult::Ok << false << false;
    QTest::newRow("cancel the confirmation") << MsgResult::No << MsgResult::Cancel << false << false;
}

void TestBlockCopyWindows::expandedCopyIntoOtherAxes()
{
    QFETCH(MsgResult, keep);
    QFETCH(MsgResult, confirm);
    QFETCH(bool, copied);
    QFETCH(bool, cleared);
    fill(0, 10);
    fill(100, 10);
    frmEditAct *x = openExpanded();
    QVERIFY(x);
    QTest::mouseClick(x->YCheck, Qt::LeftButton);
    type(x->Y_REG_S, QStringLiteral("100"));
    type(x->Y_REG_E, QStringLiteral("109"));
    QTest::mouseClick(x->YCheckX, Qt::LeftButton);
    QTest::mouseClick(x->YCheckZ, Qt::LeftButton);
    m_dialogs->answer(keep);
    m_dialogs->answer(confirm);
    QTest::mouseClick(x->Start_Button, Qt::LeftButton);

    QCOMPARE(m_dialogs->texts().first(), QStringLiteral("Does it leave the Original data ?"));
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(table().Axis(k, 0), std::optional(copied ? rowFor(100 + k, 1) : rowFor(k, 0)));
        QCOMPARE(table().Axis(k, 2), std::optional(copied ? rowFor(100 + k, 1) : rowFor(k, 2)));
        QCOMPARE(table().Axis(k, 1), std::optional(rowFor(k, 1)));
        QCOMPARE(table().Axis(100 + k, 1), std::optional(cleared ? ClipRow{} : rowFor(100 + k, 1)));
        QCOMPARE(table().Axis(100 + k, 3), std::optional(rowFor(100 + k, 3)));
    }
    // Every Start that passed its checks closes the window.
    QTRY_VERIFY(!EditActWindow());
    QVERIFY(!LoadedMessageWindow());
}

void TestBlockCopyWindows::expandedRefusesSourceWithoutDestination()
{
    fill(0, 10);
    const std::vector<QStringList> before = table().ReadAll();
    frmEditAct *x = openExpanded();
    QVERIFY(x);
    QTest::mouseClick(x->XCheck, Qt::LeftButton);
    type(x->X_REG_E, QStringLiteral("9"));
    QTest::mouseClick(x->YCheck, Qt::LeftButton);
    type(x->Y_REG_E, QStringLiteral("9"));
    QTest::mouseClick(x->YCheckZ, Qt::LeftButton);
    m_dialogs->setDefault(MsgResult::No);
    QTest::mouseClick(x->Start_Button, Qt::LeftButton);
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("Bad Setting.\nSource X has no axis to copy to ticked.")});
    QVERIFY(table().ReadAll() == before);
    QCOMPARE(EditActWindow(), x);
}

void TestBlockCopyWindows::nothingStartsInside()
{
    fill(0, 10);
    frmEditActMain *w = openNormal();
    QVERIFY(w);
    QTest::mouseClick(w->XCheck, Qt::LeftButton);
    QTest::mouseClick(w->X_CLR, Qt::LeftButton);
    type(w->X_REG_E, QStringLiteral("9"));
    type(w->X_REG_C, QStringLiteral("5"));
    QTest::mouseClick(w->XCheckX, Qt::LeftButton);
    // Queued now, these arrive while the run shows its wait window.
    bool arrived = false, startEnabled = true, menuEnabled = true, expandOpened = true;
    QMetaObject::invokeMethod(
        m_main,
        [&] {
            arrived = true;
            startEnabled = w->Start_botton->isEnabled();
            w->Start_botton_Click();
            emit m_editor->Edit->aboutToShow();
            menuEnabled = m_editor->BlockCopyItem->isEnabled() || m_editor->BlockCopyExpandItem->isEnabled();
            m_editor->logic.MSFlexGrid1_MouseUp(2);
            expandOpened = ShowEditAct() != nullptr;
        },
        Qt::QueuedConnection);
    QTest::mouseClick(w->Start_botton, Qt::LeftButton);
    QVERIFY(arrived);
    QVERIFY(!startEnabled);
    QVERIFY(!menuEnabled);
    QVERIFY(!expandOpened);
    QVERIFY(!EditActWindow());
    // One move: X 5..14 hold the old 0..9, X 0..4 are empty.
    for (int reg = 0; reg < 15; ++reg)
        QCOMPARE(table().Axis(reg, 0), std::optional(reg < 5 ? ClipRow{} : rowFor(reg - 5, 0)));
    QVERIFY(m_dialogs->shown().isEmpty());
    emit m_editor->Edit->aboutToShow();
    QVERIFY(m_editor->BlockCopyItem->isEnabled());
}

// With the editor closed, a block copy writes the table and nothing else: no
// editor is loaded to show it, and the monitor keeps running.
void TestBlockCopyWindows::noEditorOpened()
{
    fill(0, 3);
    m_editor->close();
    QTRY_VERIFY(!PrgEdit2Window());
    m_editor = nullptr;
    m_main->Timer1->start();
    frmEditActMain *w = ShowEditActMain();
    QVERIFY(w);
    QTest::mouseClick(w->XCheck, Qt::LeftButton);
    type(w->X_REG_E, QStringLiteral("2"));
    type(w->X_REG_C, QStringLiteral("50"));
    QTest::mouseClick(w->XCheckY, Qt::LeftButton);
    QTest::mouseClick(w->Start_botton, Qt::LeftButton);

    QVERIFY(m_dialogs->shown().isEmpty());
    for (int k = 0; k < 3; ++k)
        QCOMPARE(table().Axis(50 + k, 1), std::optional(rowFor(k, 0)));
    QTRY_VERIFY(!EditActMainWindow());
    QVERIFY(!PrgEdit2Window());
    QVERIFY(!PrgEditWindow());
    QVERIFY(m_main->Timer1->isActive());
}

QTEST_MAIN(TestBlockCopyWindows)
#include "test_blockcopywindows.moc"
