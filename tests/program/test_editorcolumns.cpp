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
#include "program/ProgramTable.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "program/RegisterClipboard.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
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

QTEST_MAIN(TestEditorColumns)
#include "test_editorcolumns.moc"
