// The 4-axis editor's grid behaviour without a window: which editor goes
// over which cell, selections widened to one axis and recorded for the Edit
// menu, typing on the grid, the text entry's store-and-move, and the
// pickers' choices, each on a program database of its own.

#include "EditorRig.h"
#include "program/PickerLists.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

#include <QtTest>

Q_DECLARE_METATYPE(InPlace)
Q_DECLARE_METATYPE(std::optional<InPlace>)

namespace {
const std::optional<InPlace> kNone;
const ClipRow kFullX{QStringLiteral("ABS"), QStringLiteral("1000"), QStringLiteral("2"), QStringLiteral("1"),
                     QStringLiteral("note")};
}

class TestEditorLogic : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void headersAndPages();
    void pickerItems_data();
    void pickerItems();
    void placementByColumn_data();
    void placementByColumn();
    void selectionWidened_data();
    void selectionWidened();
    void plainClickKeepsSelection();
    void releaseButtons();
    void dataTextRule_data();
    void dataTextRule();
    void typingOnNumberCells_data();
    void typingOnNumberCells();
    void typingStartsTextEntry_data();
    void typingStartsTextEntry();
    void textEntryStoreAndMove_data();
    void textEntryStoreAndMove();
    void textEntryRefusals();
    void pastedTextRefused_data();
    void pastedTextRefused();
    void changeRuleAndCaret_data();
    void changeRuleAndCaret();
    void pickerChoices_data();
    void pickerChoices();
    void refusedStoreShowsRecord();
    void pickerToOpen_data();
    void pickerToOpen();
    void currentItem_data();
    void currentItem();

private:
    EditorRig *r = nullptr;
};

void TestEditorLogic::init()
{
    r = new EditorRig;
}

void TestEditorLogic::cleanup()
{
    delete r;
    r = nullptr;
}

void TestEditorLogic::headersAndPages()
{
    r->ed.grid.setTopRow(RowOfRegister(1500));
    r->ed.grid.setCursor(RowOfRegister(1510), 7);
    r->ed.Form_Activate();
    const struct {
        int col;
        const char *top, *bottom;
    } headers[] = {{0, "", "REG"},           {1, "  X", "CMD"},           {2, "      X", "   DATA"},
                   {3, "  X", "SPD"},        {4, "  X", "TIM"},           {5, "             X", "       COMMENT"},
                   {11, "", "REG"},          {13, "      Z", "   DATA"}, {21, "             U", "       COMMENT"}};
    for (const auto &h : headers) {
        QCOMPARE(r->ed.model.TextArray(h.col), QString::fromLatin1(h.top));
        QCOMPARE(r->ed.model.TextArray(kProgramFields + h.col), QString::fromLatin1(h.bottom));
    }
    // The cursor goes back to register 0's X CMD cell; the page shown stays.
    QCOMPARE(r->ed.grid.Row(), 2);
    QCOMPARE(r->ed.grid.Col(), 1);
    QCOMPARE(r->ed.grid.TopRow(), RowOfRegister(1500));
    QCOMPARE(r->shown(), std::optional(InPlace::X_CMD));

    // The last page asks for more than a tall view can scroll.
    r->ed.SSTab1_Click(19);
    QCOMPARE(r->ed.grid.TopRow(), 1902);
    r->ed.grid.setMaxTopRow(RowOfRegister(1890));
    r->ed.SSTab1_Click(19);
    QCOMPARE(r->ed.grid.TopRow(), RowOfRegister(1890));
    r->ed.SSTab1_Click(3);
    QCOMPARE(r->ed.grid.TopRow(), 302);
    r->ed.SSTab1_Click(20);
    QCOMPARE(r->ed.grid.TopRow(), 302);
    QCOMPARE(r->ed.grid.Row(), 2);
    QCOMPARE(RegisterPageCaption(15), QStringLiteral("1500 -1599"));
    QCOMPARE(RegisterPageCaption(18), QStringLiteral("1800 - 1899"));
}

void TestEditorLogic::pickerItems_data()
{
    QTest::addColumn<PickerList>("list");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("has");
    QTest::addColumn<QStringList>("lacks");
    const QStringList ext{"MOV", "STO", "SPD"};
    const QStringList xOnly{"RNY", "RNZ", "RNU", "WTY", "WTZ", "WTU"};
    QTest::newRow("X basic") << PickerList::X4 << 25 << "END" << xOnly << ext;
    QTest::newRow("X extended") << PickerList::X4Ext << 28 << "END" << xOnly + ext << QStringList();
    QTest::newRow("Y basic") << PickerList::Y4 << 19 << "END" << QStringList{"HOM", "LN3"} << xOnly + ext;
    QTest::newRow("Y extended") << PickerList::Y4Ext << 22 << "END" << ext << xOnly;
    QTest::newRow("speed") << PickerList::Spd4 << 5 << "(NULL)" << QStringList{"1", "4"} << QStringList{"0"};
    QTest::newRow("timer") << PickerList::Tim4 << 5 << "(NULL)" << QStringList{"0", "3"} << QStringList{"4"};
    QTest::newRow("2-axis X") << PickerList::X2 << 20 << "END" << QStringList{"RNY", "WTY"}
                              << QStringList{"LN3", "RNZ", "WTU", "MOV"};
    QTest::newRow("2-axis Y") << PickerList::Y2 << 18 << "END" << QStringList{"HOM"} << QStringList{"LN3", "RNY"};
    QTest::newRow("2-axis speed") << PickerList::Spd2 << 4 << "4" << QStringList{"1"} << QStringList{"(NULL)"};
    QTest::newRow("2-axis timer") << PickerList::Tim2 << 4 << "3" << QStringList{"0"} << QStringList{"(NULL)"};
}

void TestEditorLogic::pickerItems()
{
    QFETCH(PickerList, list);
    QFETCH(int, count);
    QFETCH(QString, last);
    QFETCH(QStringList, has);
    QFETCH(QStringList, lacks);
    const QStringList &items = PickerItems(list);
    QCOMPARE(items.size(), count);
    QCOMPARE(items.last(), last);
    for (const QString &s : has)
        QVERIFY2(items.contains(s), qPrintable(s));
    for (const QString &s : lacks)
        QVERIFY2(!items.contains(s), qPrintable(s));
    // The no-value entries store the empty text; no index outside the list stores anything.
    for (int i = 0; i < count; ++i) {
        const auto stored = StoredChoice(list, i);
        QVERIFY(stored);
        QCOMPARE(*stored, items[i].startsWith(u'(') ? QString() : items[i]);
    }
    QVERIFY(!StoredChoice(list, -1));
    QVERIFY(!StoredChoice(list, count));
}

void TestEditorLogic::placementByColumn_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("extended");
    QTest::addColumn<QString>("cellText");
    QTest::addColumn<std::optional<InPlace>>("editor");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gridFocus");
    QTest::newRow("first REG") << 0 << 0 << "12" << kNone << 0 << "" << false;
    QTest::newRow("second REG") << 11 << 0 << "12" << kNone << 0 << "" << true;
    QTest::newRow("X CMD basic") << 1 << 0 << "ABS" << std::optional(InPlace::X_CMD) << 700 << "ABS" << true;
    QTest::newRow("X CMD extended") << 1 << 1 << "ABS" << std::optional(InPlace::EX_CMD) << 700 << "ABS" << true;
    QTest::newRow("U CMD basic") << 17 << 0 << "INC" << std::optional(InPlace::Y_CMD) << 700 << "INC" << true;
    QTest::newRow("Z CMD extended") << 12 << 1 << "" << std::optional(InPlace::EY_CMD) << 700 << "" << true;
    QTest::newRow("mnemonic the list lacks") << 1 << 0 << "MOV" << std::optional(InPlace::X_CMD) << 700 << "MOV"
                                             << true;
    QTest::newRow("DATA trimmed") << 2 << 0 << "  12,5 " << std::optional(InPlace::TextInput1) << 1000 << "12,5"
                                  << true;
    QTest::newRow("COMMENT trimmed") << 21 << 0 << " a b  " << std::optional(InPlace::TextInput1) << 2000 << "a b"
                                     << true;
    QTest::newRow("SPD") << 8 << 0 << "3" << std::optional(InPlace::Spd) << 520 << "3" << true;
    QTest::newRow("TIM") << 20 << 0 << "0" << std::optional(InPlace::Tim) << 520 << "0" << true;
}

void TestEditorLogic::placementByColumn()
{
    QFETCH(int, col);
    QFETCH(int, extended);
    QFETCH(QString, cellText);
    QFETCH(std::optional<InPlace>, editor);
    QFETCH(int, width);
    QFETCH(QString, text);
    QFETCH(bool, gridFocus);
    g.ExtendedCmdSet = int16_t(extended);
    const int row = RowOfRegister(40);
    r->ed.model.setText(row, col, cellText);
    r->ed.grid.setCursor(row, col);
    QCOMPARE(r->shown(), editor);
    QCOMPARE(r->ed.focus, gridFocus ? FourAxisEditor::Focus::Grid : FourAxisEditor::Focus::Unchanged);
    if (editor) {
        const InPlaceEditor &e = r->ed.editor(*editor);
        QCOMPARE(e.WidthTwips, width);
        QCOMPARE(e.Text, text);
        QCOMPARE(e.row, row);
        QCOMPARE(e.col, col);
    }
    // Nothing is written by laying an editor, and the selection stays unrecorded.
    QStringList seed(kProgramFields, QString());
    seed[0] = seed[11] = QStringLiteral("40");
    QCOMPARE(r->fixture.table.Record(40), std::optional(seed));
    QCOMPARE(clip.SelGrid, 0);
}

void TestEditorLogic::selectionWidened_data()
{
    QTest::addColumn<QList<int>>("from");   // row, col where the press went down
    QTest::addColumn<QList<int>>("to");     // row, col where the drag ended
    QTest::addColumn<bool>("byCursorMove"); // completed by a cursor move instead of the release
    QTest::addColumn<QList<int>>("sel");    // SelCol, SelTopRow, SelRowSel, SelCount
    QTest::addColumn<QList<int>>("cols");   // Col, ColSel after widening
    QTest::addColumn<std::optional<InPlace>>("editor");
    QTest::newRow("down across two axes") << QList{12, 2} << QList{16, 8} << false << QList{1, 12, 16, 5}
                                          << QList{1, 5} << std::optional(InPlace::X_CMD);
    QTest::newRow("upwards") << QList{16, 9} << QList{12, 3} << false << QList{6, 12, 12, 5} << QList{6, 10}
                             << std::optional(InPlace::Y_CMD);
    QTest::newRow("within one row") << QList{2, 2} << QList{2, 4} << false << QList{1, 2, 2, 1} << QList{1, 5}
                                    << std::optional(InPlace::X_CMD);
    QTest::newRow("from the CMD column") << QList{20, 1} << QList{25, 3} << false << QList{1, 20, 25, 6}
                                         << QList{1, 5} << kNone;
    // A press on the second REG column has already moved the cursor on to Z CMD.
    QTest::newRow("dragged from the second REG") << QList{30, 11} << QList{31, 14} << false << QList{12, 30, 31, 2}
                                                 << QList{12, 16} << kNone;
    QTest::newRow("cursor on the second REG") << QList{30, 11} << QList{31, 11} << true << QList{12, 30, 31, 2}
                                              << QList{12, 16} << std::optional(InPlace::Y_CMD);
    QTest::newRow("from the first REG") << QList{30, 0} << QList{33, 0} << false << QList{1, 30, 33, 4}
                                        << QList{1, 5} << std::optional(InPlace::X_CMD);
    QTest::newRow("cursor move over a range") << QList{30, 8} << QList{25, 3} << true << QList{6, 25, 25, 6}
                                              << QList{6, 10} << std::optional(InPlace::Y_CMD);
    QTest::newRow("last register") << QList{2001, 19} << QList{1999, 21} << false << QList{17, 1999, 1999, 3}
                                   << QList{17, 21} << std::optional(InPlace::Y_CMD);
}

void TestEditorLogic::selectionWidened()
{
    QFETCH(QList<int>, from);
    QFETCH(QList<int>, to);
    QFETCH(bool, byCursorMove);
    QFETCH(QList<int>, sel);
    QFETCH(QList<int>, cols);
    QFETCH(std::optional<InPlace>, editor);
    if (byCursorMove) {
        r->ed.grid.setCursor(from[0], from[1]);
        r->ed.grid.setRowSel(to[0]);
        r->ed.grid.setColSel(to[1]);
        r->ed.MSFlexGrid1_RowColChange();
    } else {
        r->drag(from[0], from[1], to[0], to[1]);
    }
    QCOMPARE((QList<int>{clip.SelCol, clip.SelTopRow, clip.SelRowSel, clip.SelCount}), sel);
    QCOMPARE(clip.SelGrid, 4);
    const FlexGrid &grid = r->ed.grid;
    QCOMPARE((QList<int>{grid.Col(), grid.ColSel()}), cols);
    // The cursor stays on the row where the drag began; the other corner on where it ended.
    QCOMPARE(grid.Row(), from[0]);
    QCOMPARE(grid.RowSel(), to[0]);
    QCOMPARE(r->shown(), editor);
    if (editor) {
        QCOMPARE(r->ed.editor(*editor).row, from[0]);
        QCOMPARE(r->ed.editor(*editor).col, cols[0]);
    }
}

void TestEditorLogic::plainClickKeepsSelection()
{
    r->drag(12, 2, 16, 3);
    r->click(40, 7);
    r->click(41, 11);
    QCOMPARE((QList<int>{clip.SelCol, clip.SelTopRow, clip.SelRowSel, clip.SelCount}), (QList<int>{1, 12, 16, 5}));
    // A selection recorded by the other editor's grid is not this one's.
    clip.SelGrid = 2;
    r->click(42, 7);
    QCOMPARE(clip.SelGrid, 2);
}

void TestEditorLogic::releaseButtons()
{
    int blockCopies = 0;
    r->ed.OpenBlockCopy = [&] { ++blockCopies; };
    r->click(10, 2);
    QCOMPARE(r->shown(), std::optional(InPlace::TextInput1));
    r->click(10, 2, 2);
    QCOMPARE(r->shown(), kNone);
    QCOMPARE(blockCopies, 1);
    r->click(10, 3);
    QCOMPARE(r->shown(), std::optional(InPlace::Spd));
    r->click(10, 3, 4);
    QCOMPARE(r->shown(), kNone);
    QCOMPARE(blockCopies, 1);
    // A press on the second REG column moves on to Z CMD.
    r->click(10, 11);
    QCOMPARE(r->ed.grid.Col(), 12);
    QCOMPARE(r->shown(), std::optional(InPlace::Y_CMD));
    // After a scroll no editor stays; the next click lays it again.
    r->ed.MSFlexGrid1_Scroll();
    QCOMPARE(r->shown(), kNone);
    r->click(10, 12);
    QCOMPARE(r->shown(), std::optional(InPlace::Y_CMD));
    QCOMPARE(clip.SelGrid, 0);
}

void TestEditorLogic::dataTextRule_data()
{
    QTest::addColumn<int>("cmdCol");      // CMD column clicked last, holding `command`
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("col");         // DATA or COMMENT column clicked then
    QTest::addColumn<QString>("cellText");
    QTest::addColumn<QString>("text");    // the box's text after the click
    QTest::addColumn<int>("width");
    QTest::newRow("motion, empty cell") << 1 << "ABS" << 2 << "" << "typed before" << 1000;
    QTest::newRow("motion with a blank") << 1 << "CW " << 2 << "" << "typed before" << 1000;
    QTest::newRow("motion, filled cell") << 1 << "ABS" << 2 << "500 " << "500" << 1000;
    QTest::newRow("no motion") << 1 << "JMP" << 2 << "" << "" << 1000;
    QTest::newRow("blanks only are not empty") << 1 << "ABS" << 2 << "  " << "" << 1000;
    QTest::newRow("CW is no Z motion") << 6 << "CW" << 13 << "" << "" << 1000;
    QTest::newRow("LN3 is a Z motion") << 17 << "LN3" << 13 << "" << "typed before" << 1000;
    QTest::newRow("LN3 is no U motion") << 12 << "LN3" << 18 << "" << "" << 1000;
    QTest::newRow("comment keeps leading blanks") << 1 << "ABS" << 5 << "  abc   " << "  abc" << 2000;
}

void TestEditorLogic::dataTextRule()
{
    QFETCH(int, cmdCol);
    QFETCH(QString, command);
    QFETCH(int, col);
    QFETCH(QString, cellText);
    QFETCH(QString, text);
    QFETCH(int, width);
    // The picker holds the command last laid into it, from any row.
    r->ed.model.setText(RowOfRegister(3), cmdCol, command);
    r->click(RowOfRegister(3), cmdCol);
    // The cursor already stands on the cell and the box holds a typed text
    // when the cell is clicked again.
    r->ed.model.setText(RowOfRegister(9), col, cellText);
    r->ed.grid.setCursor(RowOfRegister(9), col);
    r->ed.editor(InPlace::TextInput1).Text = QStringLiteral("typed before");
    r->ed.MSFlexGrid1_MouseDown(1);
    r->ed.MSFlexGrid1_MouseUp(1);
    QCOMPARE(r->shown(), std::optional(InPlace::TextInput1));
    QCOMPARE(r->ed.editor(InPlace::TextInput1).Text, text);
    QCOMPARE(r->ed.editor(InPlace::TextInput1).WidthTwips, width);
    QCOMPARE(r->ed.focus, FourAxisEditor::Focus::Text);
}

void TestEditorLogic::typingOnNumberCells_data()
{
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<QString>("after");   // stored and shown
    QTest::addColumn<int>("colAfter");
    QTest::addColumn<std::optional<InPlace>>("editor");
    QTest::newRow("speed 3") << 7 << 3 << "" << QChar('3') << "3" << 4 << std::optional(InPlace::Tim);
    QTest::newRow("timer cleared on the last register") << 1999 << 20 << "2" << QChar('9') << "" << 21
                                                        << std::optional(InPlace::TextInput1);
    QTest::newRow("speed 5 refused") << 7 << 8 << "2" << QChar('5') << "2" << 8 << std::optional(InPlace::Spd);
    QTest::newRow("speed 0 refused") << 7 << 14 << "2" << QChar('0') << "2" << 14 << std::optional(InPlace::Spd);
    QTest::newRow("letter on speed") << 7 << 19 << "2" << QChar('a') << "2" << 19 << std::optional(InPlace::Spd);
    QTest::newRow("timer 4 refused") << 7 << 9 << "1" << QChar('4') << "1" << 9 << std::optional(InPlace::Tim);
    QTest::newRow("timer 0") << 7 << 15 << "" << QChar('0') << "0" << 16 << std::optional(InPlace::TextInput1);
    QTest::newRow("same speed again") << 7 << 3 << "2" << QChar('2') << "2" << 4 << std::optional(InPlace::Tim);
    QTest::newRow("digit on CMD") << 7 << 1 << "ABS" << QChar('1') << "ABS" << 1 << std::optional(InPlace::X_CMD);
    QTest::newRow("digit on REG") << 7 << 11 << "7" << QChar('1') << "7" << 11 << kNone;
}

void TestEditorLogic::typingOnNumberCells()
{
    QFETCH(int, reg);
    QFETCH(int, col);
    QFETCH(QString, before);
    QFETCH(QChar, key);
    QFETCH(QString, after);
    QFETCH(int, colAfter);
    QFETCH(std::optional<InPlace>, editor);
    QVERIFY(r->fixture.table.WriteFields(reg, {{col, before}}));
    QVERIFY(r->ed.Refresh());
    r->ed.grid.setCursor(RowOfRegister(reg), col);
    r->ed.MSFlexGrid1_KeyPress(key.unicode());
    QCOMPARE(r->stored(reg, col), after);
    QCOMPARE(r->cell(reg, col), after);
    QCOMPARE(r->ed.grid.Row(), RowOfRegister(reg));
    QCOMPARE(r->ed.grid.Col(), colAfter);
    QCOMPARE(r->shown(), editor);
}

void TestEditorLogic::typingStartsTextEntry_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("scrolled");   // the grid scrolled after the editor was laid
    QTest::addColumn<QString>("text");
    QTest::newRow("letter on Y COMMENT") << 10 << int('A') << false << "A";
    QTest::newRow("Enter on DATA") << 2 << 13 << false << "";
    QTest::newRow("Backspace on DATA") << 18 << 8 << false << "";
    QTest::newRow("double quote dropped") << 2 << int('"') << false << "old";
    QTest::newRow("after a scroll") << 13 << int('7') << true << "7";
}

void TestEditorLogic::typingStartsTextEntry()
{
    QFETCH(int, col);
    QFETCH(int, key);
    QFETCH(bool, scrolled);
    QFETCH(QString, text);
    const int row = RowOfRegister(4);
    r->ed.model.setText(row, col, QStringLiteral("old"));
    r->ed.grid.setCursor(row, col);
    if (scrolled)
        r->ed.MSFlexGrid1_Scroll();
    r->ed.MSFlexGrid1_KeyPress(key);
    QCOMPARE(r->shown(), std::optional(InPlace::TextInput1));
    QCOMPARE(r->ed.editor(InPlace::TextInput1).Text, text);
    QCOMPARE(r->ed.TextCaret, text.size());
    QCOMPARE(r->ed.focus, FourAxisEditor::Focus::Text);
    QCOMPARE(r->stored(4, col), QString());
    QCOMPARE(r->ed.grid.Col(), col);
}

void TestEditorLogic::textEntryStoreAndMove_data()
{
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("cursor");   // row, col after
    QTest::addColumn<std::optional<InPlace>>("editor");
    const auto box = std::optional(InPlace::TextInput1);
    QTest::newRow("Enter on DATA") << 5 << 2 << "  100  " << 13 << "100" << QList{7, 3} << std::optional(InPlace::Spd);
    QTest::newRow("empty text") << 5 << 7 << "" << 13 << "" << QList{7, 8} << std::optional(InPlace::Spd);
    QTest::newRow("Down on the last register") << 1999 << 13 << "9" << 40 << "9" << QList{2001, 13} << kNone;
    QTest::newRow("Up on register 0") << 0 << 16 << "z" << 38 << "z" << QList{2, 16} << kNone;
    QTest::newRow("Up on register 1") << 1 << 16 << "z" << 38 << "z" << QList{2, 16} << box;
    QTest::newRow("Down keeps the column") << 5 << 18 << "-40" << 40 << "-40" << QList{8, 18} << box;
    QTest::newRow("Enter on U COMMENT") << 5 << 21 << "end" << 13 << "end" << QList{7, 21} << kNone;
    QTest::newRow("Right on U COMMENT") << 5 << 21 << "end" << 39 << "end" << QList{7, 21} << kNone;
    QTest::newRow("Left from DATA to CMD") << 5 << 2 << "1" << 37 << "1" << QList{7, 1} << std::optional(InPlace::X_CMD);
    QTest::newRow("Left from COMMENT to TIM") << 5 << 10 << "c" << 37 << "c" << QList{7, 9} << std::optional(InPlace::Tim);
    QTest::newRow("Enter from Y COMMENT to REG") << 5 << 10 << "c" << 13 << "c" << QList{7, 11} << kNone;
    QTest::newRow("Enter from X COMMENT to Y CMD") << 5 << 5 << "c" << 13 << "c" << QList{7, 6}
                                                   << std::optional(InPlace::Y_CMD);
}

void TestEditorLogic::textEntryStoreAndMove()
{
    QFETCH(int, reg);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, stored);
    QFETCH(QList<int>, cursor);
    QFETCH(std::optional<InPlace>, editor);
    QVERIFY(r->fixture.table.WriteFields(reg, {{col, QStringLiteral("was")}}));
    QVERIFY(r->ed.Refresh());
    r->ed.grid.setCursor(RowOfRegister(reg), col);
    QCOMPARE(r->enter(text, key), 0);
    QCOMPARE(r->stored(reg, col), stored);
    QCOMPARE(r->cell(reg, col), stored);
    QCOMPARE((QList<int>{r->ed.grid.Row(), r->ed.grid.Col()}), cursor);
    QCOMPARE(r->shown(), editor);
    QCOMPARE(r->ed.focus, FourAxisEditor::Focus::Grid);
}

void TestEditorLogic::textEntryRefusals()
{
    const int row = RowOfRegister(6);
    r->ed.grid.setCursor(row, 5);
    // A double quote and a control character are dropped as they are typed.
    int key = '"';
    r->ed.TextInput1_KeyPress(key);
    QCOMPARE(key, 0);
    key = 27;
    r->ed.TextInput1_KeyPress(key);
    QCOMPARE(key, 0);
    // The characters whose codes are the arrows' key codes are plain text.
    key = '(';
    r->ed.TextInput1_KeyPress(key);
    QCOMPARE(key, int('('));
    QCOMPARE(r->shown(), std::optional(InPlace::TextInput1));

    // Moving away with the mouse stores nothing.
    r->ed.editor(InPlace::TextInput1).Text = QStringLiteral("unsaved");
    r->click(RowOfRegister(8), 5);
    QCOMPARE(r->stored(6, 5), QString());
}

void TestEditorLogic::pastedTextRefused_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString first = QStringLiteral("Bad Setting.\n");
    QTest::newRow("double quote in a comment")
        << 5 << "say \"hi\"" << first + "The double quote (\") cannot go into this text.";
    QTest::newRow("line feed in a comment") << 5 << "two\nlines" << first + "A line break cannot go into this text.";
    QTest::newRow("carriage return in data") << 2 << "12\r5" << first + "A line break cannot go into this text.";
    QTest::newRow("line separator in data")
        << 2 << QString("12") + QChar(0x2028) + "5" << first + "A line break cannot go into this text.";
    QTest::newRow("tab in a comment") << 21 << "a\tb" << first + "A tab cannot go into this text.";
    QTest::newRow("escape in data") << 18 << "1\x1b" << first + "The control character U+001B cannot go into this text.";
    // The first character refused is the one named.
    QTest::newRow("quote before a line break")
        << 5 << "\"a\nb" << first + "The double quote (\") cannot go into this text.";
}

// A pasted text with a character the field does not take is not stored,
// and the message says which character it is.
void TestEditorLogic::pastedTextRefused()
{
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(QString, message);
    r->ed.grid.setCursor(RowOfRegister(6), col);
    QCOMPARE(r->enter(text, 13), 0);
    QCOMPARE(r->fixture.dialogs.texts(), QStringList{message});
    QCOMPARE(r->fixture.dialogs.shown().first().title, QStringLiteral("ZT260A/ZT460A"));
    QCOMPARE(r->stored(6, col), QString());
    QCOMPARE(r->shown(), std::optional(InPlace::TextInput1));
    QCOMPARE(r->ed.grid.Col(), col);
}

void TestEditorLogic::changeRuleAndCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("label");   // caret label at the next key
    QTest::newRow("plain") << "abc" << "abc" << "1 3";
    QTest::newRow("Backspace first") << "\babc" << "" << "1 0";
    QTest::newRow("Tab first") << "\tx" << "" << "1 0";
    QTest::newRow("CR first") << "\rx" << "" << "1 0";
    QTest::newRow("code 14 stays") << "\x0e" "x" << "\x0e" "x" << "1 2";
    QTest::newRow("two lines") << "ab\ncd" << "ab\ncd" << "2 2";
}

void TestEditorLogic::changeRuleAndCaret()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(QString, label);
    r->ed.grid.setCursor(RowOfRegister(1), 2);
    r->ed.editor(InPlace::TextInput1).Text = text;
    r->ed.TextInput1_Change();
    QCOMPARE(r->ed.editor(InPlace::TextInput1).Text, kept);
    QCOMPARE(r->ed.TextCaret, kept.size());
    r->ed.TextInput1_KeyDown(65);
    QCOMPARE(r->ed.Label1, label);
    QCOMPARE(CaretLabelText(QStringLiteral("ab\ncd"), 1), QStringLiteral("1 1"));
}

void TestEditorLogic::pickerChoices_data()
{
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("col");
    QTest::addColumn<InPlace>("picker");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("fields");   // the axis's CMD .. CMT after the choice
    QTest::addColumn<int>("colAfter");
    QTest::addColumn<std::optional<InPlace>>("editor");
    const auto box = std::optional(InPlace::TextInput1);
    QTest::newRow("(NUL) on X") << 12 << 1 << InPlace::X_CMD << 0 << QStringList{"", "", "", "", "note"} << 2 << box;
    QTest::newRow("same command again") << 12 << 1 << InPlace::X_CMD << 1 << QStringList{"ABS", "", "", "", "note"}
                                        << 2 << box;
    QTest::newRow("extended MOV on X") << 12 << 1 << InPlace::EX_CMD << 24
                                       << QStringList{"MOV", "", "", "", "note"} << 2 << box;
    QTest::newRow("U command") << 12 << 17 << InPlace::Y_CMD << 2 << QStringList{"INC", "", "", "", "note"} << 18
                               << box;
    QTest::newRow("speed (NULL)") << 12 << 3 << InPlace::Spd << 4 << QStringList{"ABS", "1000", "", "1", "note"} << 4
                                  << std::optional(InPlace::Tim);
    QTest::newRow("speed on the last register") << 1999 << 3 << InPlace::Spd << 3
                                                << QStringList{"ABS", "1000", "4", "1", "note"} << 4
                                                << std::optional(InPlace::Tim);
    QTest::newRow("timer 3") << 12 << 20 << InPlace::Tim << 3 << QStringList{"ABS", "1000", "2", "3", "note"} << 21
                             << box;
    QTest::newRow("index outside the list") << 12 << 1 << InPlace::X_CMD << 25
                                            << QStringList{"ABS", "1000", "2", "1", "note"} << 1
                                            << std::optional(InPlace::X_CMD);
    QTest::newRow("X picker over a Y cell") << 12 << 6 << InPlace::X_CMD << 1
                                            << QStringList{"ABS", "1000", "2", "1", "note"} << 6
                                            << std::optional(InPlace::Y_CMD);
}

void TestEditorLogic::pickerChoices()
{
    QFETCH(int, reg);
    QFETCH(int, col);
    QFETCH(InPlace, picker);
    QFETCH(int, index);
    QFETCH(QStringList, fields);
    QFETCH(int, colAfter);
    QFETCH(std::optional<InPlace>, editor);
    const int axis = AxisOfColumn(col);
    QVERIFY(r->fixture.put(reg, axis, kFullX));
    QVERIFY(r->ed.Refresh());
    g.ExtendedCmdSet = picker == InPlace::EX_CMD || picker == InPlace::EY_CMD;
    r->click(RowOfRegister(reg), col);
    r->ed.PickerClick(picker, index);
    for (int part = 0; part < kAxisFields; ++part) {
        const int c = AxisFieldColumn(axis, part);
        QCOMPARE(r->stored(reg, c), fields[part]);
        QCOMPARE(r->cell(reg, c), fields[part]);
    }
    QCOMPARE(r->ed.grid.Row(), RowOfRegister(reg));
    QCOMPARE(r->ed.grid.Col(), colAfter);
    QCOMPARE(r->shown(), editor);
    QVERIFY(r->fixture.dialogs.shown().isEmpty());
}

void TestEditorLogic::refusedStoreShowsRecord()
{
    QVERIFY(r->fixture.put(7, 0, kFullX));
    QVERIFY(r->ed.Refresh());
    r->fixture.refuseStoresTo(7);
    const int row = RowOfRegister(7);

    // Picker: one message, the cells show the record, the cursor stays.
    r->click(row, 1);
    r->ed.X_CMD_Click(2);
    QCOMPARE(r->fixture.dialogs.shown().size(), 1);
    QVERIFY(r->fixture.dialogs.texts().first().contains(QStringLiteral("Register 7")));
    QCOMPARE(r->stored(7, 1), QStringLiteral("ABS"));
    QCOMPARE(r->cell(7, 1), QStringLiteral("ABS"));
    QCOMPARE(r->cell(7, 2), QStringLiteral("1000"));
    QCOMPARE(r->ed.grid.Col(), 1);

    // Typing on a speed cell: the same.
    r->ed.grid.setCol(3);
    r->ed.MSFlexGrid1_KeyPress('4');
    QCOMPARE(r->fixture.dialogs.shown().size(), 2);
    QCOMPARE(r->cell(7, 3), QStringLiteral("2"));
    QCOMPARE(r->ed.grid.Col(), 3);

    // Text entry: the box stays open with the text and nothing moves.
    r->ed.grid.setCol(2);
    QCOMPARE(r->enter(QStringLiteral("77"), 13), 0);
    QCOMPARE(r->fixture.dialogs.shown().size(), 3);
    QCOMPARE(r->stored(7, 2), QStringLiteral("1000"));
    QCOMPARE(r->cell(7, 2), QStringLiteral("1000"));
    QCOMPARE(r->shown(), std::optional(InPlace::TextInput1));
    QCOMPARE(r->ed.editor(InPlace::TextInput1).Text, QStringLiteral("77"));
    QCOMPARE(r->ed.grid.Col(), 2);

    // Other registers are still written.
    r->ed.grid.setRow(RowOfRegister(8));
    QCOMPARE(r->enter(QStringLiteral("5"), 13), 0);
    QCOMPARE(r->stored(8, 2), QStringLiteral("5"));
}

void TestEditorLogic::pickerToOpen_data()
{
    // The grid as a click, a scroll or a drag left it; then a key that opens
    // a list: the picker whose list opens, and the editor shown afterwards.
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("toCol");   // a drag's other end in register 6, -1 a click
    QTest::addColumn<bool>("scrolled");
    QTest::addColumn<int>("extended");
    QTest::addColumn<std::optional<InPlace>>("picker");
    QTest::addColumn<std::optional<InPlace>>("shown");
    const auto spd = std::optional(InPlace::Spd);
    QTest::newRow("speed") << 8 << -1 << false << 0 << spd << spd;
    QTest::newRow("timer after a scroll") << 9 << -1 << true << 0 << std::optional(InPlace::Tim)
                                          << std::optional(InPlace::Tim);
    QTest::newRow("U command after a scroll, extended") << 17 << -1 << true << 1 << std::optional(InPlace::EY_CMD)
                                                        << std::optional(InPlace::EY_CMD);
    QTest::newRow("X command") << 1 << -1 << false << 0 << std::optional(InPlace::X_CMD)
                               << std::optional(InPlace::X_CMD);
    QTest::newRow("data") << 7 << -1 << false << 0 << kNone << std::optional(InPlace::TextInput1);
    QTest::newRow("comment after a scroll") << 21 << -1 << true << 0 << kNone << kNone;
    QTest::newRow("REG") << 0 << -1 << false << 0 << kNone << kNone;
    QTest::newRow("drag begun on a data cell") << 2 << 3 << false << 0 << std::optional(InPlace::X_CMD)
                                               << std::optional(InPlace::X_CMD);
    QTest::newRow("drag begun on a command cell") << 6 << 9 << false << 0 << kNone << kNone;
}

void TestEditorLogic::pickerToOpen()
{
    QFETCH(int, col);
    QFETCH(int, toCol);
    QFETCH(bool, scrolled);
    QFETCH(int, extended);
    QFETCH(std::optional<InPlace>, picker);
    QFETCH(std::optional<InPlace>, shown);
    g.ExtendedCmdSet = extended;
    const int row = RowOfRegister(4);
    if (toCol < 0)
        r->click(row, col);
    else
        r->drag(row, col, RowOfRegister(6), toCol);
    if (scrolled)
        r->ed.MSFlexGrid1_Scroll();
    const int cursorCol = r->ed.grid.Col();
    const bool single = r->ed.grid.SingleCell();
    r->ed.focus = FourAxisEditor::Focus::Unchanged;

    QCOMPARE(r->ed.PickerToOpen(), picker);
    QCOMPARE(r->shown(), shown);
    if (shown) {
        QCOMPARE(r->ed.editor(*shown).row, row);
        QCOMPARE(r->ed.editor(*shown).col, cursorCol);
    }
    // The cursor and the selection stay as they were.
    QCOMPARE(r->ed.grid.Row(), row);
    QCOMPARE(r->ed.grid.Col(), cursorCol);
    QCOMPARE(r->ed.grid.SingleCell(), single);
    QCOMPARE(r->ed.focus, picker && scrolled ? FourAxisEditor::Focus::Grid : FourAxisEditor::Focus::Unchanged);
    for (int c = 0; c < kProgramFields; ++c)
        QCOMPARE(r->stored(4, c), c == 0 || c == 11 ? QStringLiteral("4") : QString());
    g.ExtendedCmdSet = 0;
}

void TestEditorLogic::currentItem_data()
{
    QTest::addColumn<PickerList>("list");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("item");
    QTest::newRow("command") << PickerList::Y4 << "INC" << "INC";
    QTest::newRow("upload's trailing blank") << PickerList::X4 << "CW " << "CW";
    QTest::newRow("empty command") << PickerList::X4Ext << "" << "(NUL)";
    QTest::newRow("extended command in the basic list") << PickerList::Y4 << "MOV" << "(NUL)";
    QTest::newRow("speed") << PickerList::Spd4 << "3" << "3";
    QTest::newRow("empty speed") << PickerList::Spd4 << "" << "(NULL)";
    QTest::newRow("empty timer") << PickerList::Tim4 << "" << "(NULL)";
    QTest::newRow("odd timer") << PickerList::Tim4 << "7" << "0";
    QTest::newRow("the NULL item's own text") << PickerList::Spd4 << "(NULL)" << "1";
    QTest::newRow("2-axis empty speed") << PickerList::Spd2 << "" << "1";
    QTest::newRow("2-axis laid-out text") << PickerList::Tim2 << "Time" << "0";
    QTest::newRow("2-axis timer") << PickerList::Tim2 << "3" << "3";
}

void TestEditorLogic::currentItem()
{
    QFETCH(PickerList, list);
    QFETCH(QString, cell);
    QFETCH(QString, item);
    QCOMPARE(PickerItems(list).value(CurrentItem(list, cell)), item);
}

QTEST_MAIN(TestEditorLogic)
#include "test_editorlogic.moc"
