// The 2-axis editor's behaviour without a window, on a 2-axis program
// database of its own: activation and headers, the pick lists laid over
// CMD, SPD and TIM cells and what a choice stores, data and comments through
// the input box, drags recorded for the Edit menu, the right button, and
// the Edit menu with the table's end at register 53.

#include "ProgramFixture.h"
#include "program/TwoAxisEditor.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

#include <QtTest>

Q_DECLARE_METATYPE(TwoAxisList)
Q_DECLARE_METATYPE(std::optional<TwoAxisList>)
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(QList<std::optional<QString>>)
Q_DECLARE_METATYPE(MsgResult)

namespace {

enum { Cut = 0, Copy = 1, Paste = 2, Clear = 4 };

ClipRow rowFor(int reg, int axis)
{
    return {QStringLiteral("INC"), QString::number(reg * 10 + axis), QString::number(1 + reg % 4),
            QString::number(reg % 4), AxisLetter(axis) + QStringLiteral(" note %1").arg(reg)};
}

struct TwoAxisEditorRig {
    ProgramFixture fixture{UnitKind::TwoAxis};
    TwoAxisEditor ed{fixture.table};
    int blockCopyOpened = 0;

    TwoAxisEditorRig()
    {
        ed.OpenBlockCopy = [this] { ++blockCopyOpened; };
        ed.Form_Activate();
    }

    // Press (the cursor moves to the cell) and release of a button.
    void click(int reg, int col, int button = 1)
    {
        if (button == 1)
            ed.grid.setCursor(RowOfRegister(reg), col);
        ed.MSFlexGrid1_MouseUp(button);
    }
    void drag(int reg, int col, int toReg, int toCol)
    {
        ed.grid.setCursor(RowOfRegister(reg), col);
        ed.grid.setRowSel(RowOfRegister(toReg));
        ed.grid.setColSel(toCol);
        ed.MSFlexGrid1_MouseUp(1);
    }
    std::optional<TwoAxisList> shown() const
    {
        std::optional<TwoAxisList> found;
        for (int i = 0; i < kTwoAxisLists; ++i)
            if (ed.lists[std::size_t(i)].Visible) {
                if (found)
                    qFatal("two lists visible at once");
                found = TwoAxisList(i);
            }
        return found;
    }
    QString stored(int reg, int col) const
    {
        const auto rec = fixture.table.Record(reg);
        return rec && col >= 0 && col < rec->size() ? rec->at(col) : QStringLiteral("<unreadable>");
    }
    QString cell(int reg, int col) const { return ed.model.Text(RowOfRegister(reg), col); }
    void fill(int first, int count)
    {
        QVERIFY(fixture.table.InTransaction([&] {
            for (int reg = first; reg < first + count; ++reg)
                for (int axis = 0; axis < 4; ++axis)
                    if (!fixture.put(reg, axis, rowFor(reg, axis)))
                        return false;
            return true;
        }));
        QVERIFY(ed.Refresh());
    }
};

} // namespace

class TestTwoAxisEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void activation();
    void listPlacement_data();
    void listPlacement();
    void listGoesWhenCursorMoves();
    void listToOpen_data();
    void listToOpen();
    void commandChoice_data();
    void commandChoice();
    void numberChoice_data();
    void numberChoice();
    void inputBox_data();
    void inputBox();
    void refusedAnswerKept_data();
    void refusedAnswerKept();
    void dragRecorded_data();
    void dragRecorded();
    void rightButton_data();
    void rightButton();
    void refusedStore();

    void cutOneAxis();
    void pasteIntoCursorAxis_data();
    void pasteIntoCursorAxis();
    void pastePastTheEnd();
    void selectionPastTheEndRefused_data();
    void selectionPastTheEndRefused();
    void selectionOfTheOtherEditor();
    void allClear_data();
    void allClear();

private:
    TwoAxisEditorRig *r = nullptr;
};

void TestTwoAxisEditor::init()
{
    r = new TwoAxisEditorRig;
}

void TestTwoAxisEditor::cleanup()
{
    delete r;
    r = nullptr;
}

void TestTwoAxisEditor::activation()
{
    QCOMPARE(r->ed.model.Registers(), 54);
    const struct {
        int col;
        const char *top, *bottom;
    } headers[] = {{0, "", "REG"}, {1, "X", "CMD"},  {2, "X", "DATA"},    {5, "X", "COMMENT"},
                   {6, "Y", "CMD"}, {11, "", "REG"}, {14, "Z", "SPD"},    {21, "U", "COMMENT"}};
    for (const auto &h : headers) {
        QCOMPARE(r->ed.model.Text(0, h.col), QString::fromLatin1(h.top));
        QCOMPARE(r->ed.model.Text(1, h.col), QString::fromLatin1(h.bottom));
    }
    QCOMPARE(r->cell(53, 0), QStringLiteral("53"));

    // The label follows the cursor; an activation re-reads the table and
    // goes back to register 0's X CMD cell at the top.
    r->ed.grid.setMaxTopRow(RowOfRegister(40));
    r->ed.grid.setTopRow(RowOfRegister(30));
    r->ed.grid.setCursor(RowOfRegister(35), 8);
    QCOMPARE(r->ed.Label6, QStringLiteral(" 35"));
    QVERIFY(r->fixture.put(35, 1, rowFor(35, 1)));
    QCOMPARE(r->cell(35, 6), QString());
    r->ed.Form_Activate();
    QCOMPARE(r->cell(35, 6), QStringLiteral("INC"));
    QCOMPARE(r->ed.grid.Row(), RowOfRegister(0));
    QCOMPARE(r->ed.grid.Col(), 1);
    QCOMPARE(r->ed.grid.TopRow(), RowOfRegister(0));
    QCOMPARE(r->ed.Label6, QStringLiteral(" 0"));
}

void TestTwoAxisEditor::listPlacement_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<std::optional<TwoAxisList>>("list");
    QTest::addColumn<int>("width");
    QTest::newRow("X CMD") << 1 << std::optional(TwoAxisList::X_CMD) << 700;
    QTest::newRow("Y CMD") << 6 << std::optional(TwoAxisList::Y_CMD) << 700;
    QTest::newRow("X SPD") << 3 << std::optional(TwoAxisList::Spd) << 520;
    QTest::newRow("Y SPD") << 8 << std::optional(TwoAxisList::Spd) << 520;
    QTest::newRow("X TIM") << 4 << std::optional(TwoAxisList::Tim) << 520;
    QTest::newRow("Y TIM") << 9 << std::optional(TwoAxisList::Tim) << 520;
    for (int col : {0, 2, 5, 7, 10, 11, 12, 14, 15, 17, 19, 21})
        QTest::addRow("column %d", col) << col << std::optional<TwoAxisList>() << 0;
}

void TestTwoAxisEditor::listPlacement()
{
    QFETCH(int, col);
    QFETCH(std::optional<TwoAxisList>, list);
    QFETCH(int, width);
    // A text that is none of the items is shown as it is.
    QVERIFY(r->fixture.table.WriteFields(12, {{col, QStringLiteral("odd ")}}));
    r->ed.Refresh();
    clip.SelCol = 17;
    clip.SelCount = 3;
    r->click(12, col);
    QCOMPARE(r->shown(), list);
    if (list) {
        const InPlaceEditor &l = r->ed.list(*list);
        QCOMPARE(l.row, RowOfRegister(12));
        QCOMPARE(l.col, col);
        QCOMPARE(l.WidthTwips, width);
        QCOMPARE(l.Text, QStringLiteral("odd "));
    }
    QCOMPARE(r->stored(12, col), QStringLiteral("odd "));
    QCOMPARE(clip.SelCol, 17);
    QCOMPARE(clip.SelCount, 3);
}

void TestTwoAxisEditor::listGoesWhenCursorMoves()
{
    // A list stays where it was laid only until the cursor moves: a choice
    // can never reach a cell it was not drawn over.
    r->click(4, 1);
    QCOMPARE(r->shown(), std::optional(TwoAxisList::X_CMD));
    r->ed.grid.setCursor(RowOfRegister(9), 1);
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());
    r->ed.X_CMD_Click(1);
    QCOMPARE(r->stored(9, 1), QString());
    QCOMPARE(r->stored(4, 1), QString());

    r->click(4, 9);
    r->ed.MSFlexGrid1_Scroll();
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());
    r->ed.Tim_Click(2);
    QCOMPARE(r->stored(4, 9), QString());
}

void TestTwoAxisEditor::listToOpen_data()
{
    // The cursor put on a cell by a click (the list laid) or by a key (none
    // laid), then a key that opens a list: the list, laid over the cell.
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("clicked");
    QTest::addColumn<std::optional<TwoAxisList>>("list");
    for (bool clicked : {true, false}) {
        const char *how = clicked ? "clicked" : "reached by a key";
        QTest::addRow("X CMD %s", how) << 1 << clicked << std::optional(TwoAxisList::X_CMD);
        QTest::addRow("Y CMD %s", how) << 6 << clicked << std::optional(TwoAxisList::Y_CMD);
        QTest::addRow("X SPD %s", how) << 3 << clicked << std::optional(TwoAxisList::Spd);
        QTest::addRow("Y TIM %s", how) << 9 << clicked << std::optional(TwoAxisList::Tim);
        QTest::addRow("X DATA %s", how) << 2 << clicked << std::optional<TwoAxisList>();
        QTest::addRow("Z CMD %s", how) << 12 << clicked << std::optional<TwoAxisList>();
        QTest::addRow("U SPD %s", how) << 19 << clicked << std::optional<TwoAxisList>();
    }
}

void TestTwoAxisEditor::listToOpen()
{
    QFETCH(int, col);
    QFETCH(bool, clicked);
    QFETCH(std::optional<TwoAxisList>, list);
    QVERIFY(r->fixture.table.WriteFields(20, {{col, QStringLiteral("3")}}));
    r->ed.Refresh();
    if (clicked)
        r->click(20, col);
    else
        r->ed.grid.setCursor(RowOfRegister(20), col);
    QCOMPARE(r->ed.ListToOpen(), list);
    QCOMPARE(r->shown(), list);
    if (list) {
        const InPlaceEditor &l = r->ed.list(*list);
        QCOMPARE(l.row, RowOfRegister(20));
        QCOMPARE(l.col, col);
        QCOMPARE(l.Text, QStringLiteral("3"));
    }
    QCOMPARE(r->ed.grid.Row(), RowOfRegister(20));
    QCOMPARE(r->ed.grid.Col(), col);
    QCOMPARE(r->stored(20, col), QStringLiteral("3"));

    // Not over a selection of several cells.
    r->drag(20, col, 22, col);
    QCOMPARE(r->ed.ListToOpen(), std::optional<TwoAxisList>());
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());
}

void TestTwoAxisEditor::commandChoice_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("stored");
    QTest::newRow("X (NUL) empties") << 0 << QStringLiteral("(NUL)") << QString();
    QTest::newRow("X ABS") << 0 << QStringLiteral("ABS") << QStringLiteral("ABS");
    QTest::newRow("X RNY") << 0 << QStringLiteral("RNY") << QStringLiteral("RNY");
    QTest::newRow("Y END") << 1 << QStringLiteral("END") << QStringLiteral("END");
}

void TestTwoAxisEditor::commandChoice()
{
    QFETCH(int, axis);
    QFETCH(QString, item);
    QFETCH(QString, stored);
    const TwoAxisList list = axis == 0 ? TwoAxisList::X_CMD : TwoAxisList::Y_CMD;
    const int index = int(PickerItems(TwoAxisEditor::ListOf(list)).indexOf(item));
    QVERIFY(index >= 0);
    r->fill(7, 1);
    const int col = AxisStartColumn(axis);
    r->click(7, col);
    r->ed.ListClick(list, index);

    const ClipRow expected{stored, QString(), QString(), QString(), rowFor(7, axis)[4]};
    QCOMPARE(r->fixture.table.Axis(7, axis), std::optional(expected));
    for (int part = 0; part < kAxisFields; ++part)
        QCOMPARE(r->cell(7, col + part), expected[std::size_t(part)]);
    // The other axis is untouched, and the cursor ends on the TIM cell.
    QCOMPARE(r->fixture.table.Axis(7, 1 - axis), std::optional(rowFor(7, 1 - axis)));
    QCOMPARE(r->ed.grid.Col(), col + 3);
    QCOMPARE(r->ed.grid.Row(), RowOfRegister(7));
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());
}

void TestTwoAxisEditor::numberChoice_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Y SPD 3") << 8 << 2 << QStringLiteral("3");
    QTest::newRow("X SPD 1") << 3 << 0 << QStringLiteral("1");
    QTest::newRow("X TIM 0") << 4 << 0 << QStringLiteral("0");
    QTest::newRow("Y TIM 3") << 9 << 3 << QStringLiteral("3");
}

void TestTwoAxisEditor::numberChoice()
{
    QFETCH(int, col);
    QFETCH(int, index);
    QFETCH(QString, stored);
    r->fill(0, 1);
    const QStringList before = *r->fixture.table.Record(0);
    r->click(0, col);
    r->ed.ListClick(KindOfColumn(col) == CellKind::Spd ? TwoAxisList::Spd : TwoAxisList::Tim, index);
    QStringList after = before;
    after[col] = stored;
    QCOMPARE(*r->fixture.table.Record(0), after);
    QCOMPARE(r->cell(0, col), stored);
    QCOMPARE(r->ed.grid.Col(), col);
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());
}

void TestTwoAxisEditor::inputBox_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<std::optional<QString>>("answer");   // nothing: Cancel
    QTest::addColumn<QString>("prompt");                  // "": no box
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("stored");
    const QString old = QStringLiteral("1500  ");
    QTest::newRow("X data") << 2 << std::optional(QStringLiteral("2500")) << QStringLiteral("Input Data")
                            << QStringLiteral("X Data") << QStringLiteral("2500");
    // Unanswered, the box gives back what it was filled with: the cell's
    // text without its trailing blanks.
    QTest::newRow("pre-filled") << 2 << std::optional<QString>(QString()) << QStringLiteral("Input Data")
                                << QStringLiteral("X Data") << QStringLiteral("1500");
    QTest::newRow("X comment kept as typed")
        << 5 << std::optional(QStringLiteral("  two  words ")) << QStringLiteral("Input Comment")
        << QStringLiteral("X Data") << QStringLiteral("  two  words ");
    QTest::newRow("Y data") << 7 << std::optional(QStringLiteral("-300,20")) << QStringLiteral("Input Data")
                            << QStringLiteral("Y Data") << QStringLiteral("-300,20");
    QTest::newRow("Y comment cancelled") << 10 << std::optional<QString>() << QStringLiteral("Input Comment")
                                         << QStringLiteral("Y Data") << old;
    QTest::newRow("Y comment emptied") << 10 << std::optional(QString("")) << QStringLiteral("Input Comment")
                                       << QStringLiteral("Y Data") << old;
    QTest::newRow("double quote refused") << 5 << std::optional(QStringLiteral("say \"hi\""))
                                          << QStringLiteral("Input Comment") << QStringLiteral("X Data") << old;
    for (int col : {0, 1, 3, 4, 6, 8, 11, 13, 15, 20})
        QTest::addRow("column %d", col) << col << std::optional(QStringLiteral("9")) << QString() << QString() << old;
}

void TestTwoAxisEditor::inputBox()
{
    QFETCH(int, col);
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QFETCH(QString, stored);
    QVERIFY(r->fixture.table.WriteFields(5, {{col, QStringLiteral("1500  ")}}));
    r->ed.Refresh();
    if (!answer || !answer->isNull())
        r->fixture.dialogs.answerInput(answer);
    r->ed.grid.setCursor(RowOfRegister(5), col);
    r->ed.MSFlexGrid1_DblClick();

    const auto &boxes = r->fixture.dialogs.shown();
    if (prompt.isEmpty()) {
        QVERIFY(boxes.isEmpty());
    } else {
        QVERIFY(!boxes.isEmpty());
        QCOMPARE(boxes.first().kind, ShownBox::Input);
        QCOMPARE(boxes.first().text, prompt);
        QCOMPARE(boxes.first().title, title);
    }
    if (answer && answer->contains(u'"'))
        QCOMPARE(r->fixture.dialogs.texts().value(1),
                 QStringLiteral("Bad Setting.\nThe double quote (\") cannot go into this text."));
    QCOMPARE(r->stored(5, col), stored);
    QCOMPARE(r->cell(5, col), stored);
    QStringList others = *r->fixture.table.Record(5);
    others.removeAt(col);
    for (const QString &f : others.mid(1))
        if (f != QStringLiteral("5"))
            QCOMPARE(f, QString());
}

void TestTwoAxisEditor::refusedAnswerKept_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QList<std::optional<QString>>>("answers");   // nothing: Cancel
    QTest::addColumn<QStringList>("refusals");                    // one per refused answer
    QTest::addColumn<QString>("stored");
    const QString lineBreak = QStringLiteral("Bad Setting.\nA line break cannot go into this text.");
    const QString quote = QStringLiteral("Bad Setting.\nThe double quote (\") cannot go into this text.");
    QTest::newRow("pasted line break mended")
        << 2 << QList<std::optional<QString>>{QStringLiteral("2500\n"), QStringLiteral("2500")}
        << QStringList{lineBreak} << QStringLiteral("2500");
    QTest::newRow("refused twice, then mended")
        << 10 << QList<std::optional<QString>>{QStringLiteral("a\r\nb"), QStringLiteral("a \"b\""), QStringLiteral("a b")}
        << QStringList{lineBreak, quote} << QStringLiteral("a b");
    QTest::newRow("refused, then cancelled")
        << 5 << QList<std::optional<QString>>{QStringLiteral("say \"hi\""), std::nullopt} << QStringList{quote}
        << QStringLiteral("1500  ");
}

// A refused answer leaves the box open with that text: the refusal, then the
// box again holding what was typed, until a mended answer is stored or the
// operator cancels.
void TestTwoAxisEditor::refusedAnswerKept()
{
    QFETCH(int, col);
    QFETCH(QList<std::optional<QString>>, answers);
    QFETCH(QStringList, refusals);
    QFETCH(QString, stored);
    QVERIFY(r->fixture.table.WriteFields(5, {{col, QStringLiteral("1500  ")}}));
    r->ed.Refresh();
    for (const auto &a : answers)
        r->fixture.dialogs.answerInput(a);
    r->ed.grid.setCursor(RowOfRegister(5), col);
    r->ed.MSFlexGrid1_DblClick();

    const auto &boxes = r->fixture.dialogs.shown();
    QCOMPARE(boxes.size(), 2 * refusals.size() + 1);
    QString held = QStringLiteral("1500");
    for (qsizetype i = 0; i < boxes.size(); i += 2) {
        QCOMPARE(boxes[i].kind, ShownBox::Input);
        QCOMPARE(boxes[i].value, held);
        if (i + 1 < boxes.size()) {
            QCOMPARE(boxes[i + 1].kind, ShownBox::Message);
            QCOMPARE(boxes[i + 1].text, refusals[i / 2]);
            QCOMPARE(boxes[i + 1].title, QStringLiteral("ZT260A/ZT460A"));
            held = *answers[i / 2];
        }
    }
    QCOMPARE(r->stored(5, col), stored);
    QCOMPARE(r->cell(5, col), stored);
}

void TestTwoAxisEditor::dragRecorded_data()
{
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("toReg");
    QTest::addColumn<int>("toCol");
    QTest::addColumn<int>("selCol");
    QTest::addColumn<int>("topReg");
    QTest::addColumn<int>("count");
    QTest::newRow("upward from X SPD into Y") << 9 << 3 << 4 << 9 << 1 << 4 << 6;
    QTest::newRow("one row of Z") << 20 << 12 << 20 << 14 << 12 << 20 << 1;
    QTest::newRow("REG column counts with X") << 0 << 0 << 2 << 0 << 1 << 0 << 3;
    QTest::newRow("second REG column with Z") << 50 << 11 << 53 << 13 << 12 << 50 << 4;
    QTest::newRow("U backwards") << 3 << 21 << 1 << 17 << 17 << 1 << 3;
    QTest::newRow("Y whole table") << 0 << 7 << 53 << 8 << 6 << 0 << 54;
}

void TestTwoAxisEditor::dragRecorded()
{
    QFETCH(int, reg);
    QFETCH(int, col);
    QFETCH(int, toReg);
    QFETCH(int, toCol);
    QFETCH(int, selCol);
    QFETCH(int, topReg);
    QFETCH(int, count);
    r->drag(reg, col, toReg, toCol);
    QCOMPARE(clip.SelCol, selCol);
    QCOMPARE(clip.SelTopRow, RowOfRegister(topReg));
    QCOMPARE(clip.SelCount, count);
    QCOMPARE(clip.SelGrid, 2);
    // The grid shows the whole axis group, and no list.
    QCOMPARE(std::min(r->ed.grid.Col(), r->ed.grid.ColSel()), selCol);
    QCOMPARE(std::max(r->ed.grid.Col(), r->ed.grid.ColSel()), selCol + 4);
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());

    // A single click afterwards records nothing.
    r->click(30, 2);
    QCOMPARE(clip.SelCol, selCol);
    QCOMPARE(clip.SelTopRow, RowOfRegister(topReg));
    QCOMPARE(clip.SelCount, count);
}

void TestTwoAxisEditor::rightButton_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("opened");
    QTest::newRow("2-axis unit") << QStringLiteral("2") << 0;
    QTest::newRow("4-axis unit") << QStringLiteral("4") << 1;
}

void TestTwoAxisEditor::rightButton()
{
    QFETCH(QString, model);
    QFETCH(int, opened);
    g.UnitModel = model;
    r->click(3, 1);
    QVERIFY(r->shown());
    r->click(3, 1, 2);
    QCOMPARE(r->shown(), std::optional<TwoAxisList>());
    QCOMPARE(r->blockCopyOpened, opened);
}

void TestTwoAxisEditor::refusedStore()
{
    r->fill(3, 1);
    r->fixture.refuseStoresTo(3);
    r->click(3, 6);
    r->ed.Y_CMD_Click(1);
    QCOMPARE(r->fixture.dialogs.shown().size(), 1);
    QVERIFY(r->fixture.dialogs.texts().first().startsWith(QStringLiteral("Register 3 could not be stored.")));
    QCOMPARE(r->fixture.table.Axis(3, 1), std::optional(rowFor(3, 1)));
    QCOMPARE(r->cell(3, 6), rowFor(3, 1)[0]);
    QCOMPARE(r->ed.grid.Col(), 6);
}

// ---- Edit menu ------------------------------------------------------------------

void TestTwoAxisEditor::cutOneAxis()
{
    r->fill(0, 12);
    r->drag(5, 7, 9, 7);
    r->ed.EditItem_Click(Cut);
    QCOMPARE(clip.ClipCount, 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(clip.ClipBuf[std::size_t(i)], rowFor(5 + i, 1));
        QCOMPARE(r->fixture.table.Axis(5 + i, 1), std::optional(ClipRow{}));
        QCOMPARE(r->cell(5 + i, 6), QString());
        for (int axis : {0, 2, 3})
            QCOMPARE(r->fixture.table.Axis(5 + i, axis), std::optional(rowFor(5 + i, axis)));
    }
    QCOMPARE(r->fixture.table.Axis(4, 1), std::optional(rowFor(4, 1)));
    QCOMPARE(r->fixture.table.Axis(10, 1), std::optional(rowFor(10, 1)));
    // The header set-up puts the cursor back on register 0.
    QCOMPARE(r->ed.grid.Row(), RowOfRegister(0));
    QCOMPARE(r->ed.grid.Col(), 1);
}

void TestTwoAxisEditor::pasteIntoCursorAxis_data()
{
    QTest::addColumn<int>("cursorCol");
    QTest::addColumn<int>("axis");
    QTest::newRow("REG column into X") << 0 << 0;
    QTest::newRow("Y comment into Y") << 10 << 1;
    QTest::newRow("second REG column into Z") << 11 << 2;
    QTest::newRow("Z data into Z") << 13 << 2;
    QTest::newRow("U timer into U") << 20 << 3;
}

void TestTwoAxisEditor::pasteIntoCursorAxis()
{
    QFETCH(int, cursorCol);
    QFETCH(int, axis);
    r->fill(10, 3);
    r->drag(10, 17, 12, 21);
    r->ed.EditItem_Click(Copy);
    QCOMPARE(clip.ClipCount, 3);
    r->ed.grid.setCursor(RowOfRegister(40), cursorCol);
    r->ed.EditItem_Click(Paste);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(r->fixture.table.Axis(40 + i, axis), std::optional(rowFor(10 + i, 3)));
        QCOMPARE(r->cell(40 + i, AxisStartColumn(axis) + 1), rowFor(10 + i, 3)[1]);
        for (int other = 0; other < 4; ++other)
            if (other != axis)
                QCOMPARE(r->fixture.table.Axis(40 + i, other), std::optional(ClipRow{}));
    }
    QCOMPARE(r->fixture.table.Axis(43, axis), std::optional(ClipRow{}));
    QCOMPARE(clip.ClipCount, 3);
}

void TestTwoAxisEditor::pastePastTheEnd()
{
    for (int i = 0; i < 5; ++i)
        clip.ClipBuf[std::size_t(i)] = rowFor(i, 0);
    clip.ClipCount = 5;
    r->ed.grid.setCursor(RowOfRegister(51), 6);
    r->ed.EditItem_Click(Paste);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(r->fixture.table.Axis(51 + i, 1), std::optional(rowFor(i, 0)));
    QCOMPARE(r->fixture.dialogs.texts(),
             QStringList{QStringLiteral("2 row(s) fell outside registers 0 to 53 and were left out.")});
    QCOMPARE(r->fixture.table.Axis(0, 1), std::optional(ClipRow{}));
    QCOMPARE(clip.ClipCount, 5);
}

void TestTwoAxisEditor::selectionPastTheEndRefused_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("cut") << int(Cut) << QStringLiteral("The selection reaches past register 53: nothing was cut.");
    QTest::newRow("copy") << int(Copy) << QStringLiteral("The selection reaches past register 53: nothing was copied.");
}

void TestTwoAxisEditor::selectionPastTheEndRefused()
{
    QFETCH(int, command);
    QFETCH(QString, message);
    r->fill(48, 6);
    clip.ClipBuf[0] = rowFor(99, 2);
    clip.ClipCount = 1;
    clip.SelGrid = 2;
    clip.SelCol = 6;
    clip.SelTopRow = RowOfRegister(50);
    clip.SelCount = 6;
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    r->ed.EditItem_Click(command);
    QCOMPARE(r->fixture.dialogs.texts(), QStringList{message});
    QVERIFY(r->fixture.table.ReadAll() == before);
    QCOMPARE(clip.ClipCount, 1);
    QCOMPARE(clip.ClipBuf[0], rowFor(99, 2));
}

void TestTwoAxisEditor::selectionOfTheOtherEditor()
{
    r->fill(0, 5);
    // The 4-axis grid's selection does nothing here; its buffer pastes.
    clip.SelGrid = 4;
    clip.SelCol = 1;
    clip.SelTopRow = RowOfRegister(0);
    clip.SelCount = 3;
    clip.ClipBuf[0] = rowFor(1500, 2);
    clip.ClipCount = 1;
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    r->ed.EditItem_Click(Cut);
    r->ed.EditItem_Click(Copy);
    QVERIFY(r->fixture.table.ReadAll() == before);
    QCOMPARE(clip.ClipCount, 1);
    r->ed.grid.setCursor(RowOfRegister(2), 2);
    r->ed.EditItem_Click(Paste);
    QCOMPARE(r->fixture.table.Axis(2, 0), std::optional(rowFor(1500, 2)));
    QVERIFY(r->fixture.dialogs.shown().isEmpty());
}

void TestTwoAxisEditor::allClear_data()
{
    QTest::addColumn<MsgResult>("answer");
    QTest::newRow("OK") << MsgResult::Ok;
    QTest::newRow("Cancel") << MsgResult::Cancel;
}

void TestTwoAxisEditor::allClear()
{
    QFETCH(MsgResult, answer);
    r->fill(0, 54);
    clip.ClipBuf[0] = rowFor(7, 3);
    clip.ClipCount = 1;
    const std::vector<QStringList> before = r->fixture.table.ReadAll();
    r->fixture.dialogs.answer(answer);
    r->ed.EditItem_Click(Clear);
    QCOMPARE(r->fixture.dialogs.shown().size(), 1);
    QCOMPARE(r->fixture.dialogs.shown().first().text, QStringLiteral("All Crear is program code! OK?"));
    QCOMPARE(r->fixture.dialogs.shown().first().title, QStringLiteral("Message"));
    QCOMPARE(r->fixture.dialogs.shown().first().buttons, MsgButtons::OkCancel);
    const std::vector<QStringList> after = r->fixture.table.ReadAll();
    if (answer == MsgResult::Cancel) {
        QVERIFY(after == before);
    } else {
        QCOMPARE(int(after.size()), 54);
        for (int reg = 0; reg < 54; ++reg) {
            QStringList empty(kProgramFields);
            empty[0] = empty[11] = QString::number(reg);
            QCOMPARE(after[std::size_t(reg)], empty);
        }
        QCOMPARE(r->cell(20, 2), QString());
    }
    QCOMPARE(clip.ClipCount, 1);
    QCOMPARE(clip.ClipBuf[0], rowFor(7, 3));
}

QTEST_MAIN(TestTwoAxisEditor)
#include "test_twoaxiseditor.moc"
