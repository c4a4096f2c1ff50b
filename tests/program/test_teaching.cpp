// Teaching positions: what a taught axis stores, the question window's
// outcomes, and the main window's "ABS.Position Set" button on both unit
// models against program databases of their own (no unit on the line).

#include "ProgramState.h"
#include "RawSql.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "mainwin/frmMain.h"
#include "platform/frmMessage.h"
#include "program/ProgramTable.h"
#include "program/Teaching.h"
#include "program/frmPrgEdit.h"
#include "program/frmPrgEdit2.h"
#include "program/frmQuestion.h"
#include "program/RegisterClipboard.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(UnitKind)

namespace {
enum class Press { Yes, No, CloseBox };

// Answers the question window as the operator would: tick or clear its
// box, then press a button or close the window.
void answerQuestion(ScriptedDialogs &dialogs, bool tick, Press press)
{
    dialogs.answerModal([tick, press](QDialog &d) {
        auto &q = static_cast<frmQuestion &>(d);
        q.Check1->setChecked(tick);
        if (press == Press::Yes)
            q.YesBotton->click();
        else if (press == Press::No)
            q.NoBotton->click();
        else
            q.close();
    });
}

QStringList axisFields(const ProgramTable &t, int reg, int axis)
{
    const auto row = t.Axis(reg, axis);
    return row ? QStringList(row->begin(), row->end()) : QStringList{QStringLiteral("<unreadable>")};
}
} // namespace

class TestTeaching : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void taughtSpeed();
    void taughtRegister_data();
    void taughtRegister();
    void taughtData_data();
    void taughtData();
    void teachingRefused_data();
    void teachingRefused();

    void questionWindow_data();
    void questionWindow();

    void teachAndAdvance_data();
    void teachAndAdvance();
    void unitOfMeasure_data();
    void unitOfMeasure();
    void nothingTicked_data();
    void nothingTicked();
    void askedUntilSwitchedOff();
    void badStartRegister();
    void refusedStoreKeepsRegister();
    void fourAxisEditorNotOpened();
    void twoAxisEditorShowsTaught();
    void nothingStartsInside();

private:
    void openMain(const QString &model);
    void tick(const char *letters);
    void teach() { m_main->AbsPoSet->click(); }

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestTeaching::init()
{
    ResetProgramState();
    SetStartValues();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
}

void TestTeaching::cleanup()
{
    delete m_main;   // takes the editors with it
    m_main = nullptr;
    UnloadMessageWindow();
    CloseProgramTables();
    delete m_dialogs;
    delete m_home;
}

void TestTeaching::openMain(const QString &model)
{
    g.UnitModel = model;
    m_main = new frmMain;
    m_main->Timer1->start();
    m_main->Option11->setChecked(true);
    // The question is switched off unless a test asks for it.
    g.SkipConfirm = 1;
}

void TestTeaching::tick(const char *letters)
{
    for (int a = 0; a < kAxes; ++a)
        m_main->prgAxisBox(a)->setChecked(QByteArray(letters).contains("XYZU"[a]));
}

void TestTeaching::taughtSpeed()
{
    const char *expected[] = {"1", "2", "3", "4", "4", "1", "1"};
    const int choices[] = {0, 1, 2, 3, 4, -1, 5};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(TaughtSpeed(choices[i]), QString::fromLatin1(expected[i]));
}

void TestTeaching::taughtRegister_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<std::optional<int>>("reg");
    QTest::newRow("leading zeros") << QStringLiteral("007") << UnitKind::TwoAxis << std::optional(7);
    QTest::newRow("blanks around") << QStringLiteral(" 12 ") << UnitKind::FourAxis << std::optional(12);
    QTest::newRow("2-axis last") << QStringLiteral("53") << UnitKind::TwoAxis << std::optional(53);
    QTest::newRow("2-axis past") << QStringLiteral("54") << UnitKind::TwoAxis << std::optional<int>();
    QTest::newRow("4-axis last") << QStringLiteral("1999") << UnitKind::FourAxis << std::optional(1999);
    QTest::newRow("4-axis past") << QStringLiteral("2000") << UnitKind::FourAxis << std::optional<int>();
    QTest::newRow("empty") << QString() << UnitKind::FourAxis << std::optional<int>();
    QTest::newRow("blank") << QStringLiteral("  ") << UnitKind::TwoAxis << std::optional<int>();
    QTest::newRow("not a number") << QStringLiteral("1x") << UnitKind::FourAxis << std::optional<int>();
    QTest::newRow("fraction") << QStringLiteral("1.5") << UnitKind::FourAxis << std::optional<int>();
}

void TestTeaching::taughtRegister()
{
    QFETCH(QString, text);
    QFETCH(UnitKind, kind);
    QFETCH(std::optional<int>, reg);
    QCOMPARE(TaughtRegister(text, kind), reg);
}

void TestTeaching::taughtData_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("factor");
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<std::optional<QString>>("data");
    QTest::newRow("4-axis as shown") << QStringLiteral("12.345") << 0.001 << UnitKind::FourAxis
                                     << std::optional(QStringLiteral("12.345"));
    QTest::newRow("4-axis not checked") << QStringLiteral(" x") << 1.0 << UnitKind::FourAxis
                                        << std::optional(QStringLiteral(" x"));
    QTest::newRow("2-axis pulses") << QStringLiteral("12.345") << 0.001 << UnitKind::TwoAxis
                                   << std::optional(QStringLiteral("12345"));
    QTest::newRow("2-axis negative") << QStringLiteral("-0.25") << 0.1 << UnitKind::TwoAxis
                                     << std::optional(QStringLiteral("-2"));
    QTest::newRow("2-axis rounded") << QStringLiteral("1.00") << 0.3 << UnitKind::TwoAxis
                                    << std::optional(QStringLiteral("3"));
    QTest::newRow("2-axis pulse unit") << QStringLiteral("-8000") << 1.0 << UnitKind::TwoAxis
                                       << std::optional(QStringLiteral("-8000"));
    QTest::newRow("2-axis empty") << QString() << 1.0 << UnitKind::TwoAxis << std::optional(QString());
    QTest::newRow("2-axis not a number") << QStringLiteral("--") << 1.0 << UnitKind::TwoAxis
                                         << std::optional<QString>();
    QTest::newRow("2-axis no factor") << QStringLiteral("5") << 0.0 << UnitKind::TwoAxis
                                      << std::optional<QString>();
}

void TestTeaching::taughtData()
{
    QFETCH(QString, shown);
    QFETCH(double, factor);
    QFETCH(UnitKind, kind);
    QFETCH(std::optional<QString>, data);
    QCOMPARE(TaughtData(shown, factor > 0 ? std::optional(factor) : std::nullopt, kind), data);
}

void TestTeaching::teachingRefused_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<QString>("regNo");
    QTest::addColumn<QString>("yShown");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("why");
    QTest::newRow("empty start register") << UnitKind::TwoAxis << "  " << "5" << 1.0
                                          << "The start register box is empty.";
    QTest::newRow("2-axis register past 53") << UnitKind::TwoAxis << "54" << "5" << 1.0
                                             << "The start register box holds \"54\": the registers are 0 to 53.";
    QTest::newRow("4-axis register of letters") << UnitKind::FourAxis << "1x" << "5" << 1.0
                                                << "The start register box holds \"1x\": the registers are 0 to 1999.";
    QTest::newRow("2-axis position not a number")
        << UnitKind::TwoAxis << "3" << "--" << 1.0
        << "The Y position \"--\" cannot be turned into pulses with its unit's factor.";
    QTest::newRow("2-axis position without a factor")
        << UnitKind::TwoAxis << "3" << "5" << 0.0
        << "The Y position \"5\" cannot be turned into pulses with its unit's factor.";
}

void TestTeaching::teachingRefused()
{
    QFETCH(UnitKind, kind);
    QFETCH(QString, regNo);
    QFETCH(QString, yShown);
    QFETCH(double, factor);
    QFETCH(QString, why);
    TeachRequest request;
    request.kind = kind;
    request.regNo = regNo;
    request.ticked = {true, true, false, false};
    request.shown = {QStringLiteral("1"), yShown, QString(), QString()};
    request.factor = {1.0, factor > 0 ? std::optional(factor) : std::nullopt, 1.0, 1.0};
    QString said;
    QVERIFY(!PlanTeaching(request, &said));
    QCOMPARE(said, why);
}

void TestTeaching::questionWindow_data()
{
    QTest::addColumn<int>("skipBefore");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("skipAfter");
    QTest::newRow("yes, box clear") << 0 << false << int(Press::Yes) << 1 << 0;
    QTest::newRow("yes, box ticked") << 0 << true << int(Press::Yes) << 1 << 1;
    QTest::newRow("no, box ticked") << 0 << true << int(Press::No) << 0 << 1;
    QTest::newRow("no, box cleared") << 1 << false << int(Press::No) << 0 << 0;
    QTest::newRow("closed, box ticked") << 0 << true << int(Press::CloseBox) << 0 << 0;
    QTest::newRow("closed, box cleared") << 1 << false << int(Press::CloseBox) << 0 << 1;
}

void TestTeaching::questionWindow()
{
    QFETCH(int, skipBefore);
    QFETCH(bool, tick);
    QFETCH(int, press);
    QFETCH(int, answer);
    QFETCH(int, skipAfter);
    g.SkipConfirm = int16_t(skipBefore);
    g.QuestionAnswer = 1;
    bool boxStarted = !skipBefore;
    QString question, caption, title;
    m_dialogs->answerModal([&](QDialog &d) {
        auto &q = static_cast<frmQuestion &>(d);
        boxStarted = q.Check1->isChecked();
        question = q.Label1->text();
        caption = q.Check1->text();
        title = q.windowTitle();
        // Loading the window forgets an earlier answer.
        QCOMPARE(g.QuestionAnswer, int16_t(0));
    });
    answerQuestion(*m_dialogs, tick, Press(press));
    // The first act only looks; the second answers on a window of its own.
    AskQuestion(QStringLiteral("Look ?"), QStringLiteral("Box"));
    QCOMPARE(boxStarted, bool(skipBefore));
    QCOMPARE(question, QStringLiteral("Look ?"));
    QCOMPARE(caption, QStringLiteral("Box"));
    QCOMPARE(title, QStringLiteral("Question"));
    AskQuestion(QStringLiteral("Are you sure ?"), QStringLiteral("Box"));
    QCOMPARE(g.QuestionAnswer, int16_t(answer));
    QCOMPARE(g.SkipConfirm, int16_t(skipAfter));
}

void TestTeaching::teachAndAdvance_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("regNo");
    QTest::addColumn<QString>("axes");
    QTest::addColumn<int>("speed");   // 0..4: Option7..Option11
    QTest::addColumn<int>("reg");
    QTest::addColumn<QString>("spd");
    QTest::addColumn<QString>("next");
    QTest::newRow("2-axis, X, speed 2") << "2" << "52" << "X" << 1 << 52 << "2" << "53";
    QTest::newRow("2-axis, last register") << "2" << "53" << "XY" << 0 << 53 << "1" << "53";
    QTest::newRow("2-axis, Z and U not taught") << "2" << "10" << "YZU" << 2 << 10 << "3" << "11";
    QTest::newRow("4-axis, speed 5 taught as 4") << "4" << "007" << "XYU" << 4 << 7 << "4" << "8";
    QTest::newRow("4-axis, last register") << "4" << "1999" << "Z" << 3 << 1999 << "4" << "1999";
}

void TestTeaching::teachAndAdvance()
{
    QFETCH(QString, model);
    QFETCH(QString, regNo);
    QFETCH(QString, axes);
    QFETCH(int, speed);
    QFETCH(int, reg);
    QFETCH(QString, spd);
    QFETCH(QString, next);
    openMain(model);
    const UnitKind kind = UnitKindOf(model);
    ProgramTable &table = ProgramTableOf(kind);
    QVERIFY(!table.Open());
    for (int a = 0; a < kAxes; ++a) {
        QVERIFY(table.WriteAxis(reg, a, {QStringLiteral("INC"), QStringLiteral("1"), QStringLiteral("1"),
                                         QStringLiteral("1"), QStringLiteral("note")}));
        m_main->positionBox(a)->setText(QString::number(100 * (a + 1)));
    }
    m_main->RegNo->setText(regNo);
    const QRadioButton *options[] = {m_main->Option7, m_main->Option8, m_main->Option9, m_main->Option10,
                                     m_main->Option11};
    const_cast<QRadioButton *>(options[speed])->setChecked(true);
    tick(axes.toLatin1().constData());
    teach();

    for (int a = 0; a < kAxes; ++a) {
        const bool taught = axes.contains(QChar("XYZU"[a])) && a < AxisCount(kind);
        const QStringList expected = taught ? QStringList{QStringLiteral("ABS"), QString::number(100 * (a + 1)), spd,
                                                          QStringLiteral("0"), QStringLiteral("note")}
                                            : QStringList{QStringLiteral("INC"), QStringLiteral("1"),
                                                          QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("note")};
        QCOMPARE(axisFields(table, reg, a), expected);
    }
    QCOMPARE(m_main->RegNo->text(), next);
    const bool atLast = reg == LastRegister(kind);
    QCOMPARE(m_dialogs->saw(QStringLiteral("It can't be inputted.")), atLast);
    QVERIFY(m_main->Timer1->isActive());
    QVERIFY(m_main->AbsPoSet->isEnabled());
    QVERIFY(!LoadedMessageWindow());
}

void TestTeaching::unitOfMeasure_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("data");
    // The 2-axis download sends DAT without a factor: pulses are stored.
    QTest::newRow("2-axis") << "2" << "12345";
    QTest::newRow("4-axis") << "4" << "12.345";
}

void TestTeaching::unitOfMeasure()
{
    QFETCH(QString, model);
    QFETCH(QString, data);
    openMain(model);
    g.ScaleSel[1] = 1;
    g.ScaleFactor[1][1] = QStringLiteral("0.001");
    m_main->positionBox(1)->setText(QStringLiteral("12.345"));
    m_main->RegNo->setText(QStringLiteral("3"));
    tick("Y");
    teach();
    QCOMPARE(ProgramTableOf(UnitKindOf(model)).Axis(3, 1)->at(1), data);
}

void TestTeaching::nothingTicked_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("axes");
    QTest::newRow("2-axis, none") << "2" << "";
    QTest::newRow("2-axis, only the hidden Z and U") << "2" << "ZU";
    QTest::newRow("4-axis, none") << "4" << "";
}

void TestTeaching::nothingTicked()
{
    QFETCH(QString, model);
    QFETCH(QString, axes);
    openMain(model);
    ProgramTable &table = ProgramTableOf(UnitKindOf(model));
    QVERIFY(!table.Open());
    const std::vector<QStringList> before = table.ReadAll();
    m_main->RegNo->setText(QStringLiteral("5"));
    tick(axes.toLatin1().constData());
    teach();
    QVERIFY(table.ReadAll() == before);
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("5"));
    QVERIFY(m_dialogs->shown().isEmpty());
    QVERIFY(m_main->Timer1->isActive());
}

void TestTeaching::askedUntilSwitchedOff()
{
    openMain(QStringLiteral("4"));
    g.SkipConfirm = 0;
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    QVERIFY(!table.Open());
    m_main->positionBox(0)->setText(QStringLiteral("500"));
    m_main->RegNo->setText(QStringLiteral("20"));
    tick("X");

    // No, with the box ticked: nothing now, and no question from now on.
    answerQuestion(*m_dialogs, true, Press::No);
    teach();
    QCOMPARE(m_dialogs->shown().size(), 1);
    QCOMPARE(m_dialogs->shown().first().kind, ShownBox::Modal);
    QCOMPARE(table.Axis(20, 0), std::optional(ClipRow{}));
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("20"));
    QVERIFY(m_main->Timer1->isActive());
    teach();
    QCOMPARE(m_dialogs->shown().size(), 1);
    QCOMPARE(table.Axis(20, 0)->at(1), QStringLiteral("500"));
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("21"));

    // Closed with the box ticked: the tick is lost, nothing written.
    g.SkipConfirm = 0;
    answerQuestion(*m_dialogs, true, Press::CloseBox);
    teach();
    QCOMPARE(g.SkipConfirm, int16_t(0));
    QCOMPARE(table.Axis(21, 0), std::optional(ClipRow{}));
    // Yes with the box clear: written, and asked again next time.
    answerQuestion(*m_dialogs, false, Press::Yes);
    teach();
    QCOMPARE(table.Axis(21, 0)->at(1), QStringLiteral("500"));
    answerQuestion(*m_dialogs, false, Press::No);
    teach();
    QCOMPARE(m_dialogs->shown().size(), 4);
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("22"));
}

void TestTeaching::badStartRegister()
{
    openMain(QStringLiteral("2"));
    ProgramTable &table = ProgramTableOf(UnitKind::TwoAxis);
    QVERIFY(!table.Open());
    const std::vector<QStringList> before = table.ReadAll();
    m_main->RegNo->setText(QString());
    tick("XY");
    teach();
    QCOMPARE(m_dialogs->texts(),
             QStringList{QStringLiteral("Value can't configure it.\nThe start register box is empty.")});
    QVERIFY(table.ReadAll() == before);
    QCOMPARE(m_main->RegNo->text(), QString());
}

// A register the database refuses is named, keeps what it held, and the
// start register does not move on past it.
void TestTeaching::refusedStoreKeepsRegister()
{
    openMain(QStringLiteral("4"));
    ProgramTable &table = ProgramTableOf(UnitKind::FourAxis);
    QVERIFY(!table.Open());
    RawSql(table.FilePath(), {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Zt460Prg WHEN NEW.Pos = 100 "
                                             "BEGIN SELECT RAISE(ABORT, 'register locked'); END")});
    const std::vector<QStringList> before = table.ReadAll();
    m_main->positionBox(0)->setText(QStringLiteral("250"));
    m_main->RegNo->setText(QStringLiteral("100"));
    tick("X");
    teach();
    QCOMPARE(m_dialogs->texts().size(), 1);
    QVERIFY2(m_dialogs->texts().first().startsWith(QStringLiteral("Register 100 could not be taught.\n")),
             qPrintable(m_dialogs->texts().first()));
    QVERIFY(table.ReadAll() == before);
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("100"));
    QVERIFY(m_main->Timer1->isActive());
    QVERIFY(m_main->AbsPoSet->isEnabled());
    QVERIFY(!LoadedMessageWindow());
}

void TestTeaching::fourAxisEditorNotOpened()
{
    openMain(QStringLiteral("4"));
    m_main->positionBox(3)->setText(QStringLiteral("-42"));
    m_main->RegNo->setText(QStringLiteral("100"));
    tick("U");
    teach();
    QVERIFY(!PrgEdit2Window());
    QVERIFY(!PrgEditWindow());
    QVERIFY(!LoadedMessageWindow());
    QCOMPARE(ProgramTableOf(UnitKind::FourAxis).Axis(100, 3)->at(1), QStringLiteral("-42"));
    QVERIFY(m_main->Timer1->isActive());
}

void TestTeaching::twoAxisEditorShowsTaught()
{
    openMain(QStringLiteral("2"));
    m_main->positionBox(0)->setText(QStringLiteral("250"));
    m_main->RegNo->setText(QStringLiteral("4"));
    tick("X");
    teach();
    // The 2-axis editor opens to show the taught program; the monitor runs.
    frmPrgEdit *editor = PrgEditWindow();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->logic.model.Text(RowOfRegister(4), 2), QStringLiteral("250"));
    QVERIFY(m_main->Timer1->isActive());

    // Taught again while it is open, it shows the new register too.
    m_main->positionBox(0)->setText(QStringLiteral("260"));
    teach();
    QCOMPARE(editor->logic.model.Text(RowOfRegister(5), 2), QStringLiteral("260"));
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("6"));
}

void TestTeaching::nothingStartsInside()
{
    openMain(QStringLiteral("4"));
    m_main->positionBox(0)->setText(QStringLiteral("1"));
    m_main->RegNo->setText(QStringLiteral("30"));
    tick("X");
    // A second press queued now arrives while the first teaching shows its
    // wait window; the button is greyed then, so it starts nothing.
    bool secondPressArrived = false;
    bool buttonWasEnabled = true;
    QMetaObject::invokeMethod(
        m_main,
        [&] {
            secondPressArrived = true;
            buttonWasEnabled = m_main->AbsPoSet->isEnabled();
            m_main->AbsPoSet->click();
        },
        Qt::QueuedConnection);
    m_main->AbsPoSet_Click();
    QVERIFY(secondPressArrived);
    QVERIFY(!buttonWasEnabled);
    QCOMPARE(m_main->RegNo->text(), QStringLiteral("31"));
    QCOMPARE(ProgramTableOf(UnitKind::FourAxis).Axis(31, 0), std::optional(ClipRow{}));
    QVERIFY(m_main->AbsPoSet->isEnabled());
}

QTEST_MAIN(TestTeaching)
#include "test_teaching.moc"
