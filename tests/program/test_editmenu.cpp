// The 4-axis editor's Edit menu on a program database of its own: cut,
// copy and paste of one axis's registers through the shared copy buffer,
// clearing the program, the table's bounds, and commands that are all or
// nothing when the database refuses a store.

#include "EditorRig.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

#include <QtTest>

namespace {

enum { Cut = 0, Copy = 1, Paste = 2, Clear = 4 };

ClipRow rowFor(int reg, int axis)
{
    const QString a = AxisLetter(axis);
    return {QStringLiteral("INC"), QString::number(reg * 10), QString::number(1 + reg % 4), QString::number(reg % 4),
            a + QStringLiteral(" note %1").arg(reg)};
}

} // namespace

class TestEditMenu : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void copyIntoAnotherAxis();
    void pasteGoesToCursorAxis_data();
    void pasteGoesToCursorAxis();
    void pasteOverItsOwnRows();
    void cutEmptiesOnlyItsAxis();
    void pastePastTheEnd();
    void refusedStoreChangesNothing_data();
    void refusedStoreChangesNothing();
    void clearAsksFirst();
    void selectionOfTheOtherEditor();

private:
    // Fills registers first..first+count-1 of every axis with distinct values.
    void fill(int first, int count);
    EditorRig *r = nullptr;
};

void TestEditMenu::init()
{
    r = new EditorRig;
}

void TestEditMenu::cleanup()
{
    delete r;
    r = nullptr;
}

void TestEditMenu::fill(int first, int count)
{
    QVERIFY(r->fixture.table.InTransaction([&] {
        for (int reg = first; reg < first + count; ++reg)
            for (int axis = 0; axis < 4; ++axis)
                if (!r->fixture.put(reg, axis, rowFor(reg, axis)))
                    return false;
        return true;
    }));
    QVERIFY(r->ed.Refresh());
}

void TestEditMenu::copyIntoAnotherAxis()
{
    fill(10, 5);
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    r->ed.grid.setTopRow(90);
    r->drag(RowOfRegister(10), 2, RowOfRegister(14), 4);
    r->ed.EditItem_Click(Copy);
    QCOMPARE(clip.ClipCount, 5);
    QCOMPARE(clip.ClipBuf[0], rowFor(10, 0));
    QVERIFY(r->fixture.table.ReadAll() == before);

    r->click(RowOfRegister(100), 8);
    r->ed.EditItem_Click(Paste);
    std::vector<QStringList> after = r->fixture.table.ReadAll();
    for (int i = 0; i < 5; ++i) {
        const ClipRow x = rowFor(10 + i, 0);
        for (int part = 0; part < kAxisFields; ++part) {
            const int col = AxisFieldColumn(1, part);
            QCOMPARE(after[std::size_t(100 + i)][col], x[std::size_t(part)]);
            QCOMPARE(r->cell(100 + i, col), x[std::size_t(part)]);
            after[std::size_t(100 + i)][col] = before[std::size_t(100 + i)][col];
        }
    }
    QVERIFY(after == before);
    // The buffer stays for another paste; the view keeps its first row and
    // the cursor is back on register 0.
    QCOMPARE(clip.ClipCount, 5);
    QCOMPARE(r->ed.grid.TopRow(), 90);
    QCOMPARE(r->ed.grid.Row(), 2);
    QCOMPARE(r->ed.grid.Col(), 1);
    QVERIFY(r->fixture.dialogs.shown().isEmpty());
}

void TestEditMenu::pasteGoesToCursorAxis_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("axis");
    QTest::newRow("first REG to X") << 0 << 0;
    QTest::newRow("X COMMENT to X") << 5 << 0;
    QTest::newRow("second REG to Z") << 11 << 2;
    QTest::newRow("Z DATA to Z") << 13 << 2;
    QTest::newRow("U COMMENT to U") << 21 << 3;
}

void TestEditMenu::pasteGoesToCursorAxis()
{
    QFETCH(int, col);
    QFETCH(int, axis);
    clip.ClipBuf[0] = rowFor(1, 1);
    clip.ClipBuf[1] = rowFor(2, 1);
    clip.ClipBuf[2] = rowFor(3, 1);   // beyond ClipCount: not pasted
    clip.ClipCount = 2;
    r->ed.grid.setCursor(RowOfRegister(50), col);
    r->ed.EditItem_Click(Paste);
    QCOMPARE(r->fixture.table.Axis(50, axis), std::optional(rowFor(1, 1)));
    QCOMPARE(r->fixture.table.Axis(51, axis), std::optional(rowFor(2, 1)));
    QCOMPARE(r->fixture.table.Axis(52, axis), std::optional(ClipRow{}));
    for (int other = 0; other < 4; ++other)
        if (other != axis)
            QCOMPARE(r->fixture.table.Axis(50, other), std::optional(ClipRow{}));
}

void TestEditMenu::pasteOverItsOwnRows()
{
    fill(10, 5);
    r->drag(RowOfRegister(10), 18, RowOfRegister(14), 18);
    r->ed.EditItem_Click(Copy);
    r->ed.grid.setCursor(RowOfRegister(12), 17);
    r->ed.EditItem_Click(Paste);
    // The buffer was complete before the first row was written.
    for (int i = 0; i < 5; ++i)
        QCOMPARE(r->fixture.table.Axis(12 + i, 3), std::optional(rowFor(10 + i, 3)));
    QCOMPARE(r->fixture.table.Axis(10, 3), std::optional(rowFor(10, 3)));
}

void TestEditMenu::cutEmptiesOnlyItsAxis()
{
    fill(10, 5);
    r->drag(RowOfRegister(14), 16, RowOfRegister(10), 12);
    r->click(RowOfRegister(300), 3);   // a plain click elsewhere keeps the selection
    r->ed.EditItem_Click(Cut);
    QCOMPARE(clip.ClipCount, 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(clip.ClipBuf[std::size_t(i)], rowFor(10 + i, 2));
        QCOMPARE(r->fixture.table.Axis(10 + i, 2), std::optional(ClipRow{}));
        QCOMPARE(r->cell(10 + i, 12), QString());
        for (int axis : {0, 1, 3})
            QCOMPARE(r->fixture.table.Axis(10 + i, axis), std::optional(rowFor(10 + i, axis)));
        QCOMPARE(r->stored(10 + i, 11), QString::number(10 + i));
    }
    // Pasted back wherever the cursor stands.
    r->ed.grid.setCursor(RowOfRegister(10), 14);
    r->ed.EditItem_Click(Paste);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(r->fixture.table.Axis(10 + i, 2), std::optional(rowFor(10 + i, 2)));
}

void TestEditMenu::pastePastTheEnd()
{
    for (int i = 0; i < 5; ++i)
        clip.ClipBuf[std::size_t(i)] = rowFor(i, 0);
    clip.ClipCount = 5;
    r->ed.grid.setCursor(RowOfRegister(1997), 1);
    r->ed.EditItem_Click(Paste);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(r->fixture.table.Axis(1997 + i, 0), std::optional(rowFor(i, 0)));
    QCOMPARE(r->fixture.dialogs.shown().size(), 1);
    QCOMPARE(r->fixture.dialogs.texts().first(),
             QStringLiteral("2 row(s) fell outside registers 0 to 1999 and were left out."));
    // Register 0 did not take the rows that did not fit.
    QCOMPARE(r->fixture.table.Axis(0, 0), std::optional(ClipRow{}));
    QCOMPARE(clip.ClipCount, 5);
}

void TestEditMenu::refusedStoreChangesNothing_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("cut") << int(Cut);
    QTest::newRow("paste") << int(Paste);
    QTest::newRow("clear") << int(Clear);
}

void TestEditMenu::refusedStoreChangesNothing()
{
    QFETCH(int, command);
    fill(20, 10);
    r->drag(RowOfRegister(20), 7, RowOfRegister(29), 7);
    clip.ClipBuf[0] = rowFor(900, 1);
    clip.ClipCount = 10;
    r->fixture.refuseStoresTo(25);
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    const auto buffer = clip.ClipBuf;

    r->ed.grid.setCursor(RowOfRegister(22), 6);
    r->ed.EditItem_Click(command);
    QVERIFY(r->fixture.table.ReadAll() == before);
    QCOMPARE(r->cell(22, 6), before[22][6]);
    QVERIFY(clip.ClipBuf == buffer);
    QCOMPARE(clip.ClipCount, 10);
    // One question for Clear, and one message saying nothing was changed.
    const QStringList texts = r->fixture.dialogs.texts();
    QCOMPARE(texts.size(), command == Clear ? 2 : 1);
    QVERIFY2(texts.last().contains(QStringLiteral("unchanged")), qPrintable(texts.last()));
    QVERIFY2(texts.last().contains(QStringLiteral("register locked")), qPrintable(texts.last()));
}

void TestEditMenu::clearAsksFirst()
{
    fill(0, 3);
    fill(1997, 3);
    clip.ClipBuf[0] = rowFor(5, 0);
    clip.ClipCount = 1;
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    r->fixture.dialogs.answer(MsgResult::Cancel);
    r->ed.EditItem_Click(Clear);
    QCOMPARE(r->fixture.dialogs.shown().size(), 1);
    const ShownBox &box = r->fixture.dialogs.shown().first();
    QCOMPARE(box.text, QStringLiteral("All of program will be delete! OK?"));
    QCOMPARE(box.title, QStringLiteral("Message"));
    QCOMPARE(box.buttons, MsgButtons::OkCancel);
    QVERIFY(r->fixture.table.ReadAll() == before);

    r->fixture.dialogs.answer(MsgResult::Ok);
    r->ed.EditItem_Click(Clear);
    const std::vector<QStringList> after = r->fixture.table.ReadAll();
    for (int reg : {0, 2, 1000, 1999}) {
        QStringList seed(kProgramFields, QString());
        seed[0] = seed[11] = QString::number(reg);
        QCOMPARE(after[std::size_t(reg)], seed);
        QCOMPARE(r->cell(reg, 1), QString());
        QCOMPARE(r->cell(reg, 11), QString::number(reg));
    }
    // The buffer outlives the clear.
    r->ed.grid.setCursor(RowOfRegister(7), 1);
    r->ed.EditItem_Click(Paste);
    QCOMPARE(r->fixture.table.Axis(7, 0), std::optional(rowFor(5, 0)));
}

void TestEditMenu::selectionOfTheOtherEditor()
{
    fill(0, 5);
    // Before any selection Cut and Copy take nothing.
    r->ed.EditItem_Click(Copy);
    r->ed.EditItem_Click(Cut);
    QCOMPARE(clip.ClipCount, 0);
    r->ed.EditItem_Click(Paste);
    QCOMPARE(r->fixture.table.Axis(0, 0), std::optional(rowFor(0, 0)));

    // Rows the 2-axis editor copied: its selection does nothing here, its
    // buffer pastes.
    clip.SelGrid = 2;
    clip.SelCol = 1;
    clip.SelTopRow = 2;
    clip.SelRowSel = 4;
    clip.SelCount = 3;
    clip.ClipBuf[0] = rowFor(40, 1);
    clip.ClipCount = 1;
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    r->ed.EditItem_Click(Cut);
    r->ed.EditItem_Click(Copy);
    QVERIFY(r->fixture.table.ReadAll() == before);
    QCOMPARE(clip.ClipCount, 1);
    QCOMPARE(clip.ClipBuf[0], rowFor(40, 1));
    r->ed.grid.setCursor(RowOfRegister(3), 17);
    r->ed.EditItem_Click(Paste);
    QCOMPARE(r->fixture.table.Axis(3, 3), std::optional(rowFor(40, 1)));
}

QTEST_MAIN(TestEditMenu)
#include "test_editmenu.moc"
