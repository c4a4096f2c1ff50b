// The value checks and conversions behind the entry boxes and the title editor.

#include "shared/EntryChecks.h"
#include "shared/Shared.h"

#include <QtTest>

class TestEntryChecks : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void axisFactor_data();
    void axisFactor();
    void amountInPulses_data();
    void amountInPulses();
    void presetCount_data();
    void presetCount();
    void speedText_data();
    void speedText();
    void registerText_data();
    void registerText();
    void fitTitle_data();
    void fitTitle();
};

void TestEntryChecks::init()
{
    ResetSharedState();
    SetStartValues();
}

void TestEntryChecks::axisFactor_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("factor");   // -1: no usable factor
    QTest::newRow("pulse") << 0 << "1" << 1.0;
    QTest::newRow("mm thousandth") << 1 << "0.001" << 0.001;
    QTest::newRow("leading blank") << 2 << " .5" << 0.5;
    QTest::newRow("zero") << 1 << "0" << -1.0;
    QTest::newRow("negative") << 1 << "-2" << -1.0;
    QTest::newRow("not a number") << 3 << "abc" << -1.0;
    QTest::newRow("empty") << 3 << "" << -1.0;
    QTest::newRow("too large for a double") << 1 << "1e400" << -1.0;
    QTest::newRow("too small for a double") << 1 << "0." + QString(330, '0') + "1" << -1.0;
    QTest::newRow("number then letters") << 1 << "2abc" << -1.0;
    QTest::newRow("a 24-bit count times it overflows") << 1 << "1e302" << -1.0;
    QTest::newRow("large but finite for every count") << 1 << "1e300" << 1e300;
    QTest::newRow("thousandth") << 1 << "0.001" << 0.001;
    QTest::newRow("unit code past the table") << 7 << "1" << -1.0;
    QTest::newRow("negative unit code") << -1 << "1" << -1.0;
}

void TestEntryChecks::axisFactor()
{
    QFETCH(int, unit);
    QFETCH(QString, stored);
    QFETCH(double, factor);
    if (unit >= 0 && unit < kUnitCodes)
        g.ScaleFactor[unit][1] = stored;
    const auto f = AxisFactor(unit, 1);
    QCOMPARE(f.has_value(), factor > 0);
    if (f)
        QCOMPARE(*f, factor);
    QVERIFY(!AxisFactor(unit < 0 ? 0 : unit, 4));   // axis out of range
}

void TestEntryChecks::amountInPulses_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("pulses");   // empty: the stored amount stays
    QTest::newRow("1.5 mm at 0.001") << "1.5" << 0.001 << "1500";
    QTest::newRow("not rounded to whole pulses") << "0.0015" << 0.001 << "1.5";
    QTest::newRow("0.3 at 0.1") << "0.3" << 0.1 << "3";
    QTest::newRow("fifteen digits") << "1" << 3.0 << "0.333333333333333";
    QTest::newRow("leading zeros") << "007" << 1.0 << "7";
    QTest::newRow("zero") << "0" << 1.0 << "0";
    QTest::newRow("point alone") << "." << 1.0 << "";
    QTest::newRow("two points") << "1.2.3" << 1.0 << "";
    QTest::newRow("factor 0") << "5" << 0.0 << "";
    QTest::newRow("negative factor") << "5" << -1.0 << "";
    QTest::newRow("overflowing quotient") << "1e300" << 1e-300 << "";
}

void TestEntryChecks::amountInPulses()
{
    QFETCH(QString, amount);
    QFETCH(double, factor);
    QFETCH(QString, pulses);
    const auto got = AmountInPulses(amount, factor);
    QCOMPARE(got.value_or(QString()), pulses);
    QVERIFY(!AmountInPulses(amount, std::nullopt));
}

void TestEntryChecks::presetCount_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<double>("factor");
    QTest::addColumn<qint64>("count");   // -1: no preset move
    QTest::newRow("1.5 mm at 0.001") << "1.5" << 0.001 << qint64(1500);
    QTest::newRow("half to even down") << "12.5" << 1.0 << qint64(12);
    QTest::newRow("half to even up") << "13.5" << 1.0 << qint64(14);
    QTest::newRow("2.5 gives 2") << "2.5" << 1.0 << qint64(2);
    QTest::newRow("third of a pulse") << "1" << 3.0 << qint64(0);
    QTest::newRow("zero") << "0" << 1.0 << qint64(0);
    QTest::newRow("largest count") << "2147483647" << 1.0 << qint64(2147483647);
    QTest::newRow("past 32 bits") << "2147483648" << 1.0 << qint64(-1);
    QTest::newRow("huge") << "99999999999999999999" << 1.0 << qint64(-1);
    QTest::newRow("negative amount") << "-5" << 1.0 << qint64(-1);
    QTest::newRow("point alone") << "." << 1.0 << qint64(-1);
    QTest::newRow("empty") << "" << 1.0 << qint64(-1);
    QTest::newRow("letters") << "12abc" << 1.0 << qint64(-1);
    QTest::newRow("factor 0") << "5" << 0.0 << qint64(-1);
}

void TestEntryChecks::presetCount()
{
    QFETCH(QString, amount);
    QFETCH(double, factor);
    QFETCH(qint64, count);
    const auto got = PresetCount(amount, factor);
    QCOMPARE(got ? qint64(*got) : qint64(-1), count);
}

void TestEntryChecks::speedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blank") << " " << true;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("8000") << "8000" << true;
    QTest::newRow("stepped form") << " 90" << true;
    // What the box holds goes out as the speed: digits only.
    QTest::newRow("fraction") << " 13.5" << false;
    QTest::newRow("point alone") << "." << false;
    QTest::newRow("8001") << "8001" << false;
    QTest::newRow("80000") << "80000" << false;
    QTest::newRow("huge") << "99999999999999999999" << false;
    QTest::newRow("minus") << "-" << false;
    QTest::newRow("negative") << "-5" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("trailing letters") << "12abc" << false;
    QTest::newRow("exponent") << "1E3" << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("blank inside") << "1 2" << false;
    QTest::newRow("tab inside") << "1\t2" << false;
}

void TestEntryChecks::speedText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(SpeedTextAccepted(text), accepted);
}

void TestEntryChecks::registerText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("number");
    QTest::newRow("53 on the 2-axis unit") << "53" << "2" << true << 53;
    QTest::newRow("54 on the 2-axis unit") << "54" << "2" << false << 54;
    QTest::newRow("1999 on the 4-axis unit") << "1999" << "4" << true << 1999;
    QTest::newRow("2000 on the 4-axis unit") << "2000" << "4" << false << 2000;
    QTest::newRow("other model text counts as the 4-axis unit") << "2000" << "" << false << 2000;
    QTest::newRow("empty counts as 0") << "" << "2" << true << 0;
    QTest::newRow("blanks around") << " 12 " << "4" << true << 12;
    QTest::newRow("leading zeros") << "007" << "2" << true << 7;
    QTest::newRow("letters") << "1a" << "4" << false << 1;
    QTest::newRow("point") << "1.5" << "4" << false << 2;
    QTest::newRow("minus") << "-1" << "4" << false << 0;
}

void TestEntryChecks::registerText()
{
    QFETCH(QString, text);
    QFETCH(QString, model);
    QFETCH(bool, accepted);
    QFETCH(int, number);
    QCOMPARE(RegisterTextAccepted(text, UnitKindOf(model)), accepted);
    QCOMPARE(RegisterNumber(text), number);
}

void TestEntryChecks::fitTitle_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("stored");   // "refused": nothing stored
    QTest::newRow("short, padded") << "Pump" << "Pump      ";
    QTest::newRow("exactly ten") << "0123456789" << "0123456789";
    QTest::newRow("twelve cut after ten") << "ABCDEFGHIJKL" << "ABCDEFGHIJ";
    QTest::newRow("empty is ten blanks") << "" << "          ";
    QTest::newRow("blanks kept") << " a b" << " a b      ";
    QTest::newRow("double quote") << "a\"b" << "refused";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Ventil\u00e9") << "refused";
    QTest::newRow("Japanese") << QString::fromUtf8("\u30dd\u30f3\u30d7") << "refused";
    QTest::newRow("control character") << "a\tb" << "refused";
}

void TestEntryChecks::fitTitle()
{
    QFETCH(QString, entry);
    QFETCH(QString, stored);
    QCOMPARE(TitleFromEntry(entry).value_or(QStringLiteral("refused")), stored);
}

QTEST_MAIN(TestEntryChecks)
#include "test_entrychecks.moc"
