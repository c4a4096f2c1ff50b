// The columns of both program editors against the font: every column is
// at least as wide as the widest text it can show, as the grid's style
// draws it, and as its two header lines, at the default font and at a
// larger one.

#include "ProgramState.h"
#include "ScaledFont.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "Waits.h"
#include "mainwin/frmMain.h"
#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "program/RegisterClipboard.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "params/frmScaleSetup.h"
#include "shared/AxisFactor.h"
#include "shared/Shared.h"
#include "transfer/InstructionCodec.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QtTest>

namespace {

// What a column can show at its widest, written out here from the
// editors' lists rather than taken from the code that sizes them.
struct ColumnTexts {
    int col;
    const char *name;
    QStringList texts;
};

const QStringList kCommands4 = {"ABS", "INC", "LN2", "LN3", "CW",  "CCW", "CNT", "JMP", "REP", "INP",
                                "IJP", "OUT", "OTP", "TIM", "SUB", "RET", "RNY", "RNZ", "RNU", "WTY",
                                "WTZ", "WTU", "HOM", "MOV", "STO", "SPD", "END"};
const QStringList kCommands2 = {"ABS", "INC", "LN2", "CW",  "CCW", "CNT", "JMP", "REP", "INP", "IJP",
                                "OUT", "OTP", "TIM", "SUB", "RET", "RNY", "WTY", "HOM", "END"};

QList<ColumnTexts> columnsOf(UnitKind kind)
{
    const bool four = kind == UnitKind::FourAxis;
    const QStringList regs = four ? QStringList{"1999", "1888", "1000", "888"} : QStringList{"53", " 53", "48"};
    const QStringList commands = four ? kCommands4 : kCommands2;
    QList<ColumnTexts> columns = {{0, "REG", regs}, {11, "second REG", regs}};
    static const char *const names[4][5] = {{"X CMD", "X DATA", "X SPD", "X TIM", "X COMMENT"},
                                            {"Y CMD", "Y DATA", "Y SPD", "Y TIM", "Y COMMENT"},
                                            {"Z CMD", "Z DATA", "Z SPD", "Z TIM", "Z COMMENT"},
                                            {"U CMD", "U DATA", "U SPD", "U TIM", "U COMMENT"}};
    const int starts[4] = {1, 6, 12, 17};
    for (int a = 0; a < 4; ++a) {
        const QString letter(QChar("XYZU"[a]));
        columns << ColumnTexts{starts[a], names[a][0], commands}
                << ColumnTexts{starts[a] + 1, names[a][1], {letter + "-8388608", letter + "-88888888", letter + "1503"}}
                << ColumnTexts{starts[a] + 2, names[a][2], {"1", "2", "3", "4"}}
                << ColumnTexts{starts[a] + 3, names[a][3], {"0", "1", "2", "3"}}
                << ColumnTexts{starts[a] + 4, names[a][4], {}};
    }
    return columns;
}

} // namespace

class TestEditorColumns : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void columnsFitTheirTexts_data();
    void columnsFitTheirTexts();
    void dataColumnsHoldEveryText_data();
    void dataColumnsHoldEveryText();

private:
    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
    QFont m_font;
};

void TestEditorColumns::init()
{
    m_font = QApplication::font();
    ResetProgramState();
    SetStartValues();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
}

void TestEditorColumns::cleanup()
{
    delete m_main;   // takes the editor with it
    CloseProgramTables();
    delete m_dialogs;
    delete m_home;
    QApplication::setFont(m_font);
}

void TestEditorColumns::columnsFitTheirTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("scale");
    QTest::newRow("4-axis, default font") << int(UnitKind::FourAxis) << 1.0;
    QTest::newRow("4-axis, larger font") << int(UnitKind::FourAxis) << 1.8;
    QTest::newRow("2-axis, default font") << int(UnitKind::TwoAxis) << 1.0;
    QTest::newRow("2-axis, larger font") << int(UnitKind::TwoAxis) << 1.8;
}

void TestEditorColumns::columnsFitTheirTexts()
{
    QFETCH(int, kind);
    QFETCH(double, scale);
    const UnitKind unit = UnitKind(kind);

    const QFont font = ScaledFont(m_font, scale);
    QApplication::setFont(font);

    g.UnitModel = unit == UnitKind::FourAxis ? QStringLiteral("4") : QStringLiteral("2");
    m_main->Command4->click();
    QWidget *window = unit == UnitKind::FourAxis ? static_cast<QWidget *>(PrgEdit2Window()) : PrgEditWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *grid = window->findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
    QVERIFY(grid);
    // The headers are written by the first activation.
    QVERIFY(QTest::qWaitFor([grid] { return grid->model()->headerData(2, Qt::Horizontal).toString().contains("DATA"); },
                            kEventWaitMs));
    QCOMPARE(grid->font().pointSizeF(), font.pointSizeF());

    const QFontMetrics fm(grid->font());
    // A cell draws its text between two margins and its grid line.
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
    for (const ColumnTexts &c : columnsOf(unit)) {
        const int width = grid->columnWidth(c.col);
        for (const QString &text : c.texts)
            QVERIFY2(fm.horizontalAdvance(text) + margins <= width,
                     qPrintable(QStringLiteral("%1 (%2 px) cannot show \"%3\" (%4 px)")
                                    .arg(QLatin1String(c.name)).arg(width).arg(text)
                                    .arg(fm.horizontalAdvance(text) + margins)));
        const int header = grid->horizontalHeader()->sectionSizeHint(c.col);
        QVERIFY2(header <= width, qPrintable(QStringLiteral("%1 (%2 px): header needs %3 px")
                                                 .arg(QLatin1String(c.name)).arg(width).arg(header)));
    }
}

namespace {

// The DATA texts the upload writes for `axis` at its factor now, decoded
// by the upload's own decoder: counts over the whole 24-bit range, every
// small count (whose products have the most places after the point), and
// the control instructions with the widest operands.
QStringList uploadTexts(UnitKind kind, int axis)
{
    QStringList words;
    auto motion = [&](int32_t count) { words << WordText(uint32_t(count) & 0xFFFFFF); };
    for (int32_t count = -8388608; count <= 8388607; count += 4099)
        motion(count);
    for (int32_t count = 1; count <= 3000; ++count) {
        motion(count);
        motion(-count);
    }
    for (int32_t count : {-8388608, -8388607, 8388607, 8388606, 1000, -1000})
        motion(count);
    words << QStringLiteral("C6FF07FF") << QStringLiteral("C3FFFFFF") << QStringLiteral("C8FFFFFF")
          << QStringLiteral("CBFFFFFF") << QStringLiteral("C9800000") << QStringLiteral("C6FFFFFF");
    QStringList texts;
    for (const QString &word : words)
        if (const auto decoded = DecodeForAxis(kind, word, axis))
            texts << decoded->DAT;
    return texts;
}

} // namespace

void TestEditorColumns::dataColumnsHoldEveryText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<bool>("unitWhileOpen");   // chosen in the scale window while the editor is open
    QTest::addColumn<QString>("upload");       // one text the upload writes, as a check of the decoding
    const int four = int(UnitKind::FourAxis);
    QTest::newRow("4-axis X, inch") << four << 1.0 << 0 << 3 << "0.0000393700787" << false << "-330.260117773371";
    QTest::newRow("4-axis U, inch, chosen while open")
        << four << 1.0 << 3 << 3 << "0.0000393700787" << true << "0.0393700787";
    QTest::newRow("4-axis Y, inch, larger font") << four << 1.5 << 1 << 3 << "0.0000393700787" << false
                                                 << "-0.0000393700787";
    QTest::newRow("4-axis Z, factor 1000, chosen while open") << four << 1.0 << 2 << 2 << "1000" << true
                                                              << "-8388608000";
    QTest::newRow("4-axis X, Pulse") << four << 1.0 << 0 << 0 << "1" << false << "127,1,2047";
    QTest::newRow("2-axis Y") << int(UnitKind::TwoAxis) << 1.0 << 1 << 0 << "1" << false << "-8388608";
}

// Every text a DATA column holds, typed or uploaded, shows whole: the
// widest a register holds when the editor opens and after one is typed,
// and the widest the upload can write at the axis's unit and factor.
void TestEditorColumns::dataColumnsHoldEveryText()
{
    QFETCH(int, kind);
    QFETCH(double, scale);
    QFETCH(int, axis);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(bool, unitWhileOpen);
    QFETCH(QString, upload);
    const UnitKind unitKind = UnitKind(kind);
    const bool four = unitKind == UnitKind::FourAxis;
    QApplication::setFont(ScaledFont(m_font, scale));

    const int col = AxisFieldColumn(axis, 1);   // the axis's DATA column
    // A full 32-bit value typed into a register on a later page.
    ProgramTable &table = ProgramTableOf(unitKind);
    QVERIFY(!table.Open());
    const int held = four ? 1500 : 40;
    QVERIFY(table.WriteFields(held, {{col, QStringLiteral("-2147483648")}}));

    auto chooseUnit = [&] {
        frmScaleSetup *s = ShowScaleSetupWindow();
        QVERIFY(s);
        (*s->options(axis))[size_t(unit)]->click();
        if (unit > 0)
            (*s->boxes(axis))[size_t(unit)]->setText(factor);
        s->OkButton->click();
        QTRY_VERIFY(!ScaleSetupWindow());
    };
    if (!unitWhileOpen)
        chooseUnit();
    g.UnitModel = four ? QStringLiteral("4") : QStringLiteral("2");
    m_main->Command4->click();
    QWidget *window = four ? static_cast<QWidget *>(PrgEdit2Window()) : PrgEditWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *grid = window->findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
    QVERIFY(grid);
    if (unitWhileOpen)
        chooseUnit();
    QCOMPARE(int(g.ScaleSel[size_t(axis)]), unit);

    // Typed in the editor: a value wider than any before.
    QString typed;
    if (auto *w4 = qobject_cast<frmPrgEdit2 *>(window)) {
        typed = QStringLiteral("-2147483648,-2147483648");
        w4->MSFlexGrid1->scrollTo(w4->logic.model.index(5, col));
        QTest::mouseClick(w4->MSFlexGrid1->viewport(), Qt::LeftButton, {},
                          w4->cellRect(RowOfRegister(5), col).center());
        QTRY_VERIFY(w4->TextInput1->isVisible());
        QTest::keyClicks(w4->TextInput1, typed);
        QTest::keyClick(w4->TextInput1, Qt::Key_Return);
        QCOMPARE(w4->Data1.Record(5)->at(col), typed);
    }

    QStringList texts = uploadTexts(unitKind, axis);
    QVERIFY2(texts.contains(upload), qPrintable(upload));
    texts << QStringLiteral("-2147483648");
    if (!typed.isEmpty())
        texts << typed;
    const QFontMetrics fm(grid->font());
    QCOMPARE(grid->font().pointSizeF(), QApplication::font().pointSizeF());
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
    const int width = grid->columnWidth(col);
    for (const QString &text : texts)
        QVERIFY2(fm.horizontalAdvance(text) + margins <= width,
                 qPrintable(QStringLiteral("column %1 (%2 px) cannot show \"%3\" (%4 px)")
                                .arg(col).arg(width).arg(text).arg(fm.horizontalAdvance(text) + margins)));
}

QTEST_MAIN(TestEditorColumns)
#include "test_editorcolumns.moc"
