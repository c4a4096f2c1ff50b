// Keys in the boxes whose typed keys pass a filter: a chord with Alt that
// carries a character, Ctrl with a letter or a keypad key, and Delete never
// put a character into a box past its filter nor raise a refusal; a paste
// is as filtered as ever; the editing shortcuts the boxes keep still work.

#include "ManualRig.h"
#include "Waits.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmTitleEdit.h"
#include "params/ParamDatabase.h"
#include "params/frmDataGrid1.h"
#include "params/frmScaleSetup.h"
#include "platform/DataControl.h"
#include "platform/DataGrid.h"
#include "platform/PickerBox.h"
#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "program/frmEditActMain.h"
#include "program/frmPrgEdit2.h"
#include "shared/Shared.h"
#include "transfer/frmSendPrg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A box under test, its text before the keys, and what the program keeps of
// it (empty when the box keeps nothing apart from its text).
struct Box {
    QLineEdit *box = nullptr;
    QString text;
    std::function<QString()> kept;
};

// A key as the keyboard delivers it, text included (Ctrl with a letter
// types a control character; Alt types the letter itself).
struct Chord {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

const char *const kKeypadChords[] = {"Ctrl+KP_Decimal", "Ctrl+KP_Subtract", "Ctrl+KP_Add", "Ctrl+KP_Multiply",
                                     "Ctrl+KP_Divide", "Ctrl+Shift+KP_Decimal", "Meta+KP_Subtract"};

const QStringList kBoxes{"preset amount",        "manual speed",       "start register",
                         "scale factor",         "transfer range",     "title editor",
                         "parameter grid entry", "4-axis text entry",  "block copy range"};

Chord chordNamed(const QString &name)
{
    if (name == u"Alt+Q")
        return {Qt::Key_Q, Qt::AltModifier, QStringLiteral("q")};
    if (name == u"Alt+5")
        return {Qt::Key_5, Qt::AltModifier, QStringLiteral("5")};
    if (name == u"Alt+Shift+'")
        return {Qt::Key_QuoteDbl, Qt::AltModifier | Qt::ShiftModifier, QStringLiteral("\"")};
    if (name == u"Ctrl+Q")
        return {Qt::Key_Q, Qt::ControlModifier, QString(QChar(0x11))};
    // The keypad's keys keep their character under Ctrl, and a text box
    // types it: Ctrl comes with the keypad modifier there.
    const Qt::KeyboardModifiers ctrlKeypad = Qt::ControlModifier | Qt::KeypadModifier;
    if (name == u"Ctrl+KP_Decimal")
        return {Qt::Key_Period, ctrlKeypad, QStringLiteral(".")};
    if (name == u"Ctrl+KP_Subtract")
        return {Qt::Key_Minus, ctrlKeypad, QStringLiteral("-")};
    if (name == u"Ctrl+KP_Add")
        return {Qt::Key_Plus, ctrlKeypad, QStringLiteral("+")};
    if (name == u"Ctrl+KP_Multiply")
        return {Qt::Key_Asterisk, ctrlKeypad, QStringLiteral("*")};
    if (name == u"Ctrl+KP_Divide")
        return {Qt::Key_Slash, ctrlKeypad, QStringLiteral("/")};
    if (name == u"Ctrl+Shift+KP_Decimal")
        return {Qt::Key_Period, ctrlKeypad | Qt::ShiftModifier, QStringLiteral(".")};
    if (name == u"Meta+KP_Subtract")
        return {Qt::Key_Minus, Qt::MetaModifier | Qt::KeypadModifier, QStringLiteral("-")};
    return {Qt::Key_Delete, Qt::NoModifier, QString()};
}

} // namespace

class TestKeyChords : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void chordsTypeNothing_data();
    void chordsTypeNothing();
    void keypadChordsAndPastes_data();
    void keypadChordsAndPastes();
    void editingShortcutsStillWork_data();
    void editingShortcutsStillWork();

private:
    // Opens the window of the named box and gives the box its start text,
    // the caret at its end.
    Box open(const QString &name);
    frmPrgEdit2 *openEditorAt(int reg, int col);
    static void boxes_data();

    ManualRig *m_rig = nullptr;
    std::unique_ptr<frmTitleEdit> m_titleEdit;
};

void TestKeyChords::init()
{
    m_rig = new ManualRig;
}

void TestKeyChords::cleanup()
{
    m_titleEdit.reset();
    delete ScaleSetupWindow();
    delete DataGridWindow();
    delete SendPrgWindow();
    delete m_rig->w;   // takes the program editor and its block copy window with it
    m_rig->w = nullptr;
    // The databases close while their folder is still there.
    CloseProgramTables();
    CloseDatabase(ParamDatabasePath());
    delete m_rig;
    m_rig = nullptr;
}

frmPrgEdit2 *TestKeyChords::openEditorAt(int reg, int col)
{
    m_rig->w->Command4->click();
    frmPrgEdit2 *w = PrgEdit2Window();
    if (!w || !QTest::qWaitForWindowExposed(w))
        return nullptr;
    if (!QTest::qWaitFor([w] { return w->X_CMD->isVisible(); }, kEventWaitMs))
        return nullptr;
    w->MSFlexGrid1->scrollTo(w->logic.model.index(RowOfRegister(reg), col));
    QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, w->cellRect(RowOfRegister(reg), col).center());
    return w;
}

Box TestKeyChords::open(const QString &name)
{
    frmMain *m = m_rig->w;
    Box b;
    if (name == u"preset amount") {
        b = {m->Text9, QStringLiteral("250"), [] { return g.AxisEntryText[0][0]; }};
    } else if (name == u"manual speed") {
        b = {m->Text13, QStringLiteral("100"), [] { return g.AxisEntryText[0][1]; }};
    } else if (name == u"start register") {
        b = {m->RegNo, QStringLiteral("12"), {}};
    } else if (name == u"scale factor") {
        frmScaleSetup *w = ShowScaleSetupWindow();
        b = {w ? w->Text1[1] : nullptr, QStringLiteral("1"), {}};
    } else if (name == u"transfer range") {
        frmSendPrg *w = ShowSendPrg(0);
        if (w)
            w->SelectOpt[0]->click();
        b = {w ? w->Text1[0] : nullptr, QStringLiteral("0"), {}};
    } else if (name == u"title editor") {
        m_titleEdit = std::make_unique<frmTitleEdit>(nullptr);
        m_titleEdit->show();
        b = {m_titleEdit->Text1, QStringLiteral("Axis 1"), {}};
    } else if (name == u"parameter grid entry") {
        m->Command5->click();
        frmDataGrid1 *w = DataGridWindow();
        if (w) {
            // The grid of the tab shown: no key reaches a grid out of sight.
            w->SSTab1->setCurrentIndex(2);
            DataGrid *grid = w->DBGrid2;
            grid->setCurrentCell(0, 0);
            grid->setCurrentCell(0, 1);
            grid->editItem(grid->item(0, 1));
            b = {grid->viewport()->findChild<QLineEdit *>(), QStringLiteral("12"), {}};
        }
    } else if (name == u"4-axis text entry") {
        frmPrgEdit2 *w = openEditorAt(10, 2);
        b = {w ? w->TextInput1 : nullptr, QStringLiteral("X1503"), {}};
    } else if (name == u"block copy range") {
        frmPrgEdit2 *w = openEditorAt(0, 1);
        if (w)
            QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::RightButton, {},
                              w->cellRect(RowOfRegister(0), 3).center());
        frmEditActMain *copy = EditActMainWindow();
        if (copy)
            QTest::mouseClick(copy->XCheck, Qt::LeftButton);
        b = {copy ? copy->X_REG_E : nullptr, QStringLiteral("7"), {}};
    }
    if (!b.box || !b.box->isEnabled())
        return {};
    // Typed as the operator types it, through the box's own filter.
    b.box->selectAll();
    QTest::keyClick(b.box, Qt::Key_Backspace);
    QTest::keyClicks(b.box, b.text);
    b.box->setCursorPosition(int(b.box->text().size()));
    return b;
}

void TestKeyChords::boxes_data()
{
    QTest::addColumn<QString>("box");
}

void TestKeyChords::chordsTypeNothing_data()
{
    boxes_data();
    QTest::addColumn<QString>("chord");
    for (const QString &box : kBoxes)
        for (const char *chord : {"Alt+Q", "Alt+5", "Alt+Shift+'", "Ctrl+Q", "Delete"})
            QTest::addRow("%s, %s", qPrintable(box), chord) << box << QString::fromLatin1(chord);
}

void TestKeyChords::chordsTypeNothing()
{
    QFETCH(QString, box);
    QFETCH(QString, chord);
    const Box b = open(box);
    QVERIFY2(b.box, "the box is not open");
    QCOMPARE(b.box->text(), b.text);
    const QString keptBefore = b.kept ? b.kept() : QString();
    m_rig->dialogs.clear();

    const Chord c = chordNamed(chord);
    QTest::sendKeyEvent(QTest::Press, b.box, c.key, c.text, c.modifiers);
    QTest::sendKeyEvent(QTest::Release, b.box, c.key, c.text, c.modifiers);

    QCOMPARE(b.box->text(), b.text);
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
    if (b.kept)
        QCOMPARE(b.kept(), keptBefore);
}

void TestKeyChords::keypadChordsAndPastes_data()
{
    boxes_data();
    QTest::addColumn<QString>("keys");    // a chord, or "paste" of `pasted` over the whole text
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");   // the box's text afterwards
    QTest::addColumn<QString>("sent");    // what Return then puts on the line
    struct Paste {
        const char *box, *pasted, *after, *sent;
    };
    // Each box's paste of a text holding refused characters: the boxes with
    // a key filter keep what it lets through, the others judge the text as
    // they always have (a register box puts back its text with a message).
    const Paste pastes[] = {
        {"preset amount", "-1.5*", "1.5", ""},
        {"manual speed", "50.5", "505", "SPD 505|"},
        {"start register", "+1.5", "15", ""},
        {"scale factor", "-0.5/", "0.5", ""},
        {"transfer range", "1.5", "", ""},
        {"title editor", "A\"B", "AB", ""},
        {"parameter grid entry", "1.5", "1.5", ""},
        {"4-axis text entry", "X1\"5", "X1\"5", ""},
        {"block copy range", "1.5", "0", ""},
    };
    for (const Paste &p : pastes) {
        const QString box = QString::fromLatin1(p.box);
        for (const char *chord : kKeypadChords)
            QTest::addRow("%s, %s", p.box, chord)
                << box << QString::fromLatin1(chord) << QString() << QStringLiteral("<as before>")
                << (box == u"manual speed" ? QStringLiteral("SPD 100|") : QString());
        QTest::addRow("%s, paste", p.box) << box << QStringLiteral("paste") << QString::fromLatin1(p.pasted)
                                          << QString::fromLatin1(p.after) << QString::fromLatin1(p.sent);
    }
}

// Ctrl with a keypad key types nothing into a box with a filter, as an Alt
// chord does not; a paste keeps out what the filter refuses, as before. The
// manual speed box sends digits only.
void TestKeyChords::keypadChordsAndPastes()
{
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QFETCH(QString, sent);
    const Box b = open(box);
    QVERIFY2(b.box, "the box is not open");
    m_rig->dialogs.clear();
    m_rig->wire();

    if (keys == u"paste") {
        QApplication::clipboard()->setText(pasted);
        b.box->selectAll();
        QTest::keySequence(b.box, QKeySequence::Paste);
    } else {
        const Chord c = chordNamed(keys);
        QTest::sendKeyEvent(QTest::Press, b.box, c.key, c.text, c.modifiers);
        QTest::sendKeyEvent(QTest::Release, b.box, c.key, c.text, c.modifiers);
        QCOMPARE(m_rig->dialogs.texts(), QStringList());
    }
    const QString expected = after == u"<as before>" ? b.text : after;
    QCOMPARE(b.box->text(), expected);

    // The title editor takes Return as OK and closes; the others stay.
    QPointer<QLineEdit> alive = b.box;
    QTest::keyClick(b.box, Qt::Key_Return);
    QCOMPARE(m_rig->wire(), sent);
    if (alive && box != u"4-axis text entry" && box != u"parameter grid entry")
        QCOMPARE(alive->text(), expected);
}

void TestKeyChords::editingShortcutsStillWork_data()
{
    boxes_data();
    for (const QString &box : kBoxes)
        QTest::newRow(qPrintable(box)) << box;
}

// Select all and copy, typing over the selection, undo: the box's own
// shortcuts pass the filters.
void TestKeyChords::editingShortcutsStillWork()
{
    QFETCH(QString, box);
    const Box b = open(box);
    QVERIFY2(b.box, "the box is not open");
    QApplication::clipboard()->clear();
    m_rig->dialogs.clear();

    QTest::keySequence(b.box, QKeySequence::SelectAll);
    QTest::keySequence(b.box, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), b.text);
    QTest::keyClicks(b.box, QStringLiteral("3"));
    QCOMPARE(b.box->text(), QStringLiteral("3"));
    QTest::keySequence(b.box, QKeySequence::Undo);
    QCOMPARE(b.box->text(), b.text);
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
}

QTEST_MAIN(TestKeyChords)
#include "test_keychords.moc"
