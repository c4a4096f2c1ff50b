// The parameter grid's logic without a window: value checks of typed
// parameters, range captions, the texts the grid shows for the tables,
// picker stores, the cursor rule, and the scale window's OK.

#include "params/ParamChecks.h"
#include "params/ParamGridCells.h"
#include "params/ScaleSetup.h"
#include "platform/AppInfo.h"
#include "shared/Shared.h"

#include <QtTest>

namespace {
const QString kRefused = QStringLiteral("<refused>");
}

class TestParamChecks : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void entryValue_data();
    void entryValue();
    void rangeCaption_data();
    void rangeCaption();
    void offsetShown_data();
    void offsetShown();
    void fillTexts_data();
    void fillTexts();
    void pickStores_data();
    void pickStores();
    void cursorRule_data();
    void cursorRule();
    void scaleStore_data();
    void scaleStore();
    void scaleTwoAxisLeavesZU();
    void scaledTexts_data();
    void scaledTexts();
};

void TestParamChecks::init()
{
    ResetSharedState();
    SetStartValues();
}

void TestParamChecks::cleanup()
{
    SetLocaleIdOverride(-1);
}

void TestParamChecks::entryValue_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("unit");        // ScaleSel of the axis
    QTest::addColumn<QString>("factor");  // ScaleFactor of that unit
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");  // the ParamTable text, or <refused>

    QTest::newRow("RAT lowest") << 0 << 0 << 0 << "1" << "1" << "1";
    QTest::newRow("RAT highest") << 0 << 1 << 0 << "1" << "500" << "500";
    QTest::newRow("RAT 0") << 0 << 0 << 0 << "1" << "0" << kRefused;
    QTest::newRow("RAT 501") << 0 << 0 << 0 << "1" << "501" << kRefused;
    QTest::newRow("RAT 500.5") << 0 << 0 << 0 << "1" << "500.5" << kRefused;
    QTest::newRow("RAT 12abc") << 0 << 0 << 0 << "1" << "12abc" << kRefused;
    QTest::newRow("RAT empty") << 0 << 0 << 0 << "1" << "" << kRefused;
    QTest::newRow("RAT comma") << 0 << 0 << 0 << "1" << "1,5" << kRefused;
    QTest::newRow("RAT line break") << 0 << 0 << 0 << "1" << "12\n" << kRefused;
    QTest::newRow("RAT blank kept") << 0 << 2 << 0 << "1" << " 12" << " 12";
    QTest::newRow("ACS 8000") << 1 << 0 << 0 << "1" << "8000" << "8000";
    QTest::newRow("ACS 8001") << 1 << 0 << 0 << "1" << "8001" << kRefused;
    QTest::newRow("DRS 1") << 2 << 0 << 0 << "1" << "1" << "1";
    QTest::newRow("DRS 0") << 2 << 0 << 0 << "1" << "0" << kRefused;
    QTest::newRow("DR1 8001") << 3 << 1 << 0 << "1" << "8001" << kRefused;
    QTest::newRow("DR2 8000") << 4 << 2 << 0 << "1" << "8000" << "8000";
    QTest::newRow("DR3 0") << 5 << 3 << 0 << "1" << "0" << kRefused;
    QTest::newRow("DR4 8001") << 6 << 3 << 0 << "1" << "8001" << kRefused;
    QTest::newRow("TM1 65535") << 7 << 0 << 0 << "1" << "65535" << "65535";
    QTest::newRow("TM2 0") << 8 << 1 << 0 << "1" << "0" << kRefused;
    QTest::newRow("TM2 65535") << 8 << 1 << 0 << "1" << "65535" << "65535";
    QTest::newRow("TM3 65536") << 9 << 0 << 0 << "1" << "65536" << kRefused;
    QTest::newRow("OG1 8001") << 10 << 0 << 0 << "1" << "8001" << kRefused;
    QTest::newRow("OG2 8000") << 11 << 0 << 0 << "1" << "8000" << "8000";
    QTest::newRow("OFS pulse lowest") << 12 << 0 << 0 << "1" << "-8388608" << "-8388608";
    QTest::newRow("OFS pulse highest") << 12 << 0 << 0 << "1" << "8388607" << "8388607";
    QTest::newRow("OFS pulse 8388608") << 12 << 0 << 0 << "1" << "8388608" << kRefused;
    QTest::newRow("OFS mm highest") << 12 << 1 << 1 << "0.001" << "8388.607" << "8388607";
    QTest::newRow("OFS mm lowest") << 12 << 1 << 1 << "0.001" << "-8388.608" << "-8388608";
    QTest::newRow("OFS mm beyond") << 12 << 1 << 1 << "0.001" << "8388.608" << kRefused;
    QTest::newRow("OFS mm fraction kept") << 12 << 0 << 1 << "0.001" << "1.2345" << "1234.5";
    QTest::newRow("OFS um") << 12 << 2 << 2 << "0.1" << "0.3" << "3";
    QTest::newRow("OFS inch factor typed as 007") << 12 << 3 << 3 << "007" << "14" << "2";
    QTest::newRow("OFS 12abc") << 12 << 0 << 0 << "1" << "12abc" << kRefused;
    QTest::newRow("OFS factor 0") << 12 << 0 << 1 << "0" << "5" << kRefused;
    QTest::newRow("OFS factor no number") << 12 << 0 << 1 << "abc" << "5" << kRefused;
    QTest::newRow("OFS unit code outside the table") << 12 << 0 << 9 << "1" << "5" << kRefused;
    QTest::newRow("row 13 has no check") << 13 << 0 << 0 << "1" << "5" << kRefused;
    QTest::newRow("row -1") << -1 << 0 << 0 << "1" << "5" << kRefused;
    QTest::newRow("axis 4") << 0 << 4 << 0 << "1" << "5" << kRefused;
}

void TestParamChecks::entryValue()
{
    QFETCH(int, row);
    QFETCH(int, axis);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    if (axis >= 0 && axis < kAxes) {
        g.ScaleSel[axis] = int16_t(unit);
        if (unit < kUnitCodes)
            g.ScaleFactor[unit][axis] = factor;
    }
    const auto value = ParamEntryValue(row, axis, typed);
    QCOMPARE(value.value_or(kRefused), stored);
}

void TestParamChecks::rangeCaption_data()
{
    QTest::addColumn<int>("locale");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("caption");
    const QString tilde = QString(QChar(0xFF5E));
    QTest::newRow("RAT, English") << 1033 << 0 << 0 << "1" << " 1  -  500 ";
    QTest::newRow("RAT, Japanese") << 1041 << 0 << 0 << "1" << " 1  " + tilde + "  500 ";
    QTest::newRow("DRS") << 1033 << 2 << 0 << "1" << " 1  -  8000 ";
    QTest::newRow("TM2") << 1033 << 8 << 0 << "1" << " 1  -  65535 ";
    QTest::newRow("OG1") << 1033 << 10 << 0 << "1" << " 1  -  8000 ";
    QTest::newRow("OFS pulse") << 1033 << 12 << 0 << "1" << "-8388608 - 8388607 ";
    QTest::newRow("OFS mm") << 1033 << 12 << 1 << "0.001" << "-8388.608 - 8388.607 mm";
    QTest::newRow("OFS inch, Japanese") << 1041 << 12 << 3 << "0.5"
                                        << "-4194304 " + tilde + " 4194303.5 inch";
    QTest::newRow("OFS unusable factor") << 1033 << 12 << 2 << "x" << "";
    QTest::newRow("no such row") << 1033 << 13 << 0 << "1" << "";
}

void TestParamChecks::rangeCaption()
{
    QFETCH(int, locale);
    QFETCH(int, row);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QString, caption);
    SetLocaleIdOverride(locale);
    g.ScaleSel[1] = int16_t(unit);
    g.ScaleFactor[unit][1] = factor;
    QCOMPARE(RangeCaption(row, 1), caption);
}

void TestParamChecks::offsetShown_data()
{
    QTest::addColumn<QString>("pulses");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mm") << "1234" << "0.001" << "1.234";
    QTest::newRow("pulse") << "-8388608" << "1" << "-8388608";
    QTest::newRow("fraction rounds down to even") << "1234.5" << "1" << "1234";
    QTest::newRow("fraction rounds up to even") << "1235.5" << "1" << "1236";
    QTest::newRow("empty stays empty") << "" << "0.001" << "";
    QTest::newRow("no number shown as it is") << "abc" << "0.001" << "abc";
    QTest::newRow("beyond 32 bits shown as it is") << "5e20" << "0.001" << "5e20";
    QTest::newRow("unusable factor") << "1234" << "0" << "";
}

void TestParamChecks::offsetShown()
{
    QFETCH(QString, pulses);
    QFETCH(QString, factor);
    QFETCH(QString, shown);
    g.ScaleSel[2] = 2;
    g.ScaleFactor[2][2] = factor;
    g.ParamTable[2][12] = pulses;
    QCOMPARE(ParamCellText(12, 2), shown);
}

void TestParamChecks::fillTexts_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("text");
    // The tables (set in fillTexts): Mode item r = r % 2 except item 6 = 1,
    // item 9 = 0 on every axis; Home item r = (r + axis) % 3; ParamTable item r = "p<r>".
    QTest::newRow("Mode row 0, index 0") << 0 << 0 << 0 << "4" << "Instant";
    QTest::newRow("Mode row 1, index 1") << 0 << 1 << 0 << "4" << "High";
    QTest::newRow("Mode row 6 shows item 9") << 0 << 6 << 1 << "4" << "Disable";
    QTest::newRow("Mode row 7 does not exist") << 0 << 7 << 0 << "4" << "";
    QTest::newRow("Home row 0, List8") << 1 << 0 << 2 << "4" << "3";
    QTest::newRow("Home row 4, List9 index 2") << 1 << 4 << 1 << "4" << "+";
    QTest::newRow("Home row 6, List10 index 1") << 1 << 6 << 1 << "4" << "+";
    QTest::newRow("Home row 5, List11 index 2 is no entry") << 1 << 5 << 0 << "4" << "";
    QTest::newRow("Z on the 4-axis unit") << 1 << 4 << 2 << "4" << "Disable";
    QTest::newRow("Z on the 2-axis unit blank") << 1 << 4 << 2 << "2" << "";
    QTest::newRow("U parameter on the 2-axis unit blank") << 2 << 3 << 3 << "2" << "";
    QTest::newRow("parameter text unchanged") << 2 << 3 << 1 << "2" << "p3";
    QTest::newRow("axis out of range") << 2 << 3 << 4 << "4" << "";
}

void TestParamChecks::fillTexts()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(int, axis);
    QFETCH(QString, model);
    QFETCH(QString, text);
    for (int a = 0; a < kParamAxes; ++a) {
        for (int i = 0; i < kModeItems; ++i)
            g.ModeSetTable[a][i] = int16_t(i % 2);
        g.ModeSetTable[a][6] = 1;
        g.ModeSetTable[a][9] = 0;
        for (int i = 0; i < kHomeItems; ++i)
            g.HomeSetTable[a][i] = int16_t((i + a) % 3);
        for (int i = 0; i < kParamItems; ++i)
            g.ParamTable[a][i] = QStringLiteral("p%1").arg(i);
    }
    QCOMPARE(GridFillText(GridTab(tab), row, axis, model), text);
}

void TestParamChecks::pickStores_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("list");       // PickList
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("item");       // item expected to change, -1 for none
    QTest::addColumn<int>("value");
    const int L1 = int(PickList::List1), L2 = int(PickList::List2), L3 = int(PickList::List3),
              L9 = int(PickList::List9), L10 = int(PickList::List10);
    QTest::newRow("Mode row 0 Slow") << 0 << 0 << 1 << L1 << 1 << 0 << 1;
    QTest::newRow("Mode row 6 stores item 9") << 0 << 6 << 2 << L3 << 1 << 9 << 1;
    QTest::newRow("Home row 6 + of List10") << 1 << 6 << 4 << L10 << 1 << 6 << 1;
    QTest::newRow("Home row 8 + of List9") << 1 << 8 << 3 << L9 << 2 << 8 << 2;
    QTest::newRow("title column") << 0 << 1 << 0 << L2 << 1 << -1 << 0;
    QTest::newRow("column past U") << 0 << 1 << 5 << L2 << 1 << -1 << 0;
    QTest::newRow("Mode row 7") << 0 << 7 << 1 << L2 << 1 << -1 << 0;
    QTest::newRow("list of another row") << 0 << 1 << 1 << L3 << 1 << -1 << 0;
    QTest::newRow("index past the list") << 0 << 1 << 1 << L2 << 2 << -1 << 0;
    QTest::newRow("no index chosen") << 1 << 4 << 1 << L9 << -1 << -1 << 0;
    QTest::newRow("Parameter grid") << 2 << 0 << 1 << L2 << 1 << -1 << 0;
}

void TestParamChecks::pickStores()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, list);
    QFETCH(int, index);
    QFETCH(int, item);
    QFETCH(int, value);
    const auto modeBefore = g.ModeSetTable;
    const auto homeBefore = g.HomeSetTable;
    QCOMPARE(StorePick(GridTab(tab), row, column, PickList(list), index), item >= 0);
    auto modeAfter = modeBefore;
    auto homeAfter = homeBefore;
    if (item >= 0)
        (tab == 0 ? modeAfter[column - 1][item] : homeAfter[column - 1][item]) = int16_t(value);
    QVERIFY(g.ModeSetTable == modeAfter);
    QVERIFY(g.HomeSetTable == homeAfter);
}

void TestParamChecks::cursorRule_data()
{
    QTest::addColumn<int>("lastCol");
    QTest::addColumn<int>("newCol");
    QTest::addColumn<int>("movedTo");   // -1: stays
    QTest::newRow("first cell on the titles") << -1 << 0 << 1;
    QTest::newRow("first cell on Z") << -1 << 3 << 1;
    QTest::newRow("from Y onto the titles") << 2 << 0 << 1;
    QTest::newRow("from X onto the titles") << 1 << 0 << 1;
    QTest::newRow("titles to titles") << 0 << 0 << -1;
    QTest::newRow("past U") << 1 << 5 << 1;
    QTest::newRow("Y to U") << 2 << 4 << -1;
    QTest::newRow("no cell any more") << 3 << -1 << -1;
}

void TestParamChecks::cursorRule()
{
    QFETCH(int, lastCol);
    QFETCH(int, newCol);
    QFETCH(int, movedTo);
    QCOMPARE(CursorColumn(lastCol, newCol).value_or(-1), movedTo);
}

void TestParamChecks::scaleStore_data()
{
    QTest::addColumn<QStringList>("boxes");    // axis by axis, mm um inch
    QTest::addColumn<int>("refusedAxis");      // -1: stored
    const QStringList good = {"0.001", "1", "0.0010", "0.5", "2", "3", "007", "4", "5", "6", "7", "8"};
    auto with = [&](int i, const QString &t) {
        QStringList b = good;
        b[i] = t;
        return b;
    };
    QTest::newRow("all accepted") << good << -1;
    QTest::newRow("Y inch empty") << with(5, "") << 1;
    QTest::newRow("X um 0") << with(1, "0") << 0;
    QTest::newRow("U mm 0.000") << with(9, "0.000") << 3;
    QTest::newRow("Z um lone point") << with(7, ".") << 2;
    QTest::newRow("X inch 1.2.3") << with(2, "1.2.3") << 0;
    QTest::newRow("Y mm 5abc") << with(3, "5abc") << 1;
    QTest::newRow("U inch pasted -0.001") << with(11, "-0.001") << 3;
    // Unit by unit: a bad "mm" box of U is met before a bad "um" box of X.
    QStringList order = with(9, "");
    order[1] = "0";
    QTest::newRow("mm of U before um of X") << order << 3;
}

void TestParamChecks::scaleStore()
{
    QFETCH(QStringList, boxes);
    QFETCH(int, refusedAxis);
    ScaleChoice c;
    c.unit = {1, 2, 3, 0};
    for (int a = 0; a < kAxes; ++a) {
        c.factor[a][0] = QStringLiteral("ignored");
        for (int u = 1; u < kScaleUnits; ++u)
            c.factor[a][u] = boxes[a * 3 + u - 1];
    }
    g.ScaleSel = {3, 3, 1, 2};
    g.ScaleFactor[0][1] = QStringLiteral("9");
    const auto selBefore = g.ScaleSel;
    const auto factorsBefore = g.ScaleFactor;

    const auto refused = StoreScale(c, 4);
    QCOMPARE(refused.value_or(-1), refusedAxis);
    if (refused) {
        QCOMPARE(ScaleRefusedMessage(*refused),
                 QStringLiteral("It can't be inputted. (Axis-%1)").arg(AxisLetter(*refused)));
        QVERIFY(g.ScaleSel == selBefore);
        QVERIFY(g.ScaleFactor == factorsBefore);
        return;
    }
    QVERIFY(g.ScaleSel == (std::array<int16_t, kAxes>{1, 2, 3, 0}));
    for (int a = 0; a < kAxes; ++a) {
        QCOMPARE(g.ScaleFactor[0][a], QStringLiteral("1"));
        for (int u = 1; u < kScaleUnits; ++u)
            QCOMPARE(g.ScaleFactor[u][a], boxes[a * 3 + u - 1]);
        for (int u = kScaleUnits; u < kUnitCodes; ++u)
            QCOMPARE(g.ScaleFactor[u][a], factorsBefore[u][a]);
    }
}

void TestParamChecks::scaleTwoAxisLeavesZU()
{
    ScaleChoice c;
    c.unit = {2, 1, 3, 3};
    for (int a = 0; a < kAxes; ++a)
        for (int u = 1; u < kScaleUnits; ++u)
            c.factor[a][u] = a < 2 ? QStringLiteral("0.25") : QString();
    QVERIFY(!StoreScale(c, AxisCount(UnitKind::TwoAxis)));
    QVERIFY(g.ScaleSel == (std::array<int16_t, kAxes>{2, 1, 0, 0}));
    QCOMPARE(g.ScaleFactor[1][1], QStringLiteral("0.25"));
    QCOMPARE(g.ScaleFactor[1][2], QStringLiteral("1"));
}

void TestParamChecks::scaledTexts_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("amount");     // stored pulse amount
    QTest::addColumn<int>("pulses");         // last reported position, INT_MIN for none
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shownAmount");    // <none>: box left alone
    QTest::addColumn<QString>("shownPosition");  // <none>: display left alone
    const QString none = QStringLiteral("<none>");
    QTest::newRow("mm") << 1 << "0.001" << "5000" << 1234 << "mm" << "5" << "1.234";
    QTest::newRow("um, negative position") << 2 << "0.5" << "3" << -7 << "um" << "1.5" << "-3.5";
    QTest::newRow("inch, no amount yet") << 3 << "2" << "" << 10 << "inch" << "0" << "20";
    QTest::newRow("Pulse keeps the amount text") << 0 << "1" << "007" << 42 << "Pulse" << "007" << "42";
    QTest::newRow("no position yet") << 1 << "0.001" << "5000" << INT_MIN << "mm" << "5" << none;
    QTest::newRow("amount no number") << 1 << "0.001" << "5x" << 0 << "mm" << none << "0.000";
}

void TestParamChecks::scaledTexts()
{
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QString, amount);
    QFETCH(int, pulses);
    QFETCH(QString, caption);
    QFETCH(QString, shownAmount);
    QFETCH(QString, shownPosition);
    g.ScaleSel[3] = int16_t(unit);
    g.ScaleFactor[unit][3] = factor;
    g.AxisEntryText[3][0] = amount;
    if (pulses != INT_MIN)
        g.LastPulseCount[3] = pulses;
    const auto t = ScaledAxisTexts(3);
    QVERIFY(t);
    QCOMPARE(t->unit, caption);
    QCOMPARE(t->amount.value_or(QStringLiteral("<none>")), shownAmount);
    QCOMPARE(t->position.value_or(QStringLiteral("<none>")), shownPosition);

    g.ScaleSel[3] = 4;
    QVERIFY(!ScaledAxisTexts(3));
    QVERIFY(!ScaledAxisTexts(4));
}

QTEST_GUILESS_MAIN(TestParamChecks)
#include "test_paramchecks.moc"
