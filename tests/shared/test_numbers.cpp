#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QtTest>
#include <limits>

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void wholeNumber_data();
    void wholeNumber();
    void roundHalfEven_data();
    void roundHalfEven();
    void forms_data();
    void forms();
    void extremes_data();
    void extremes();
    void hexPadding_data();
    void hexPadding();
    void hexField_data();
    void hexField();
    void startValues();
};

void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blank then number") << " 95" << 95.0;
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("minus only") << "-" << 0.0;
    QTest::newRow("negative decimal") << "-2.5mm" << -2.5;
    QTest::newRow("point first") << " .001" << 0.001;
    QTest::newRow("exponent") << "1.5E+03x" << 1500.0;
    QTest::newRow("dangling exponent") << "7E" << 7.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("quoted") << "\"300\"" << 0.0;
    // Too large for a double: the largest one, so range checks refuse it.
    QTest::newRow("overflow") << "1e400" << std::numeric_limits<double>::max();
    QTest::newRow("negative overflow") << "-1e400x" << -std::numeric_limits<double>::max();
    QTest::newRow("many digits") << QString(400, '9') << std::numeric_limits<double>::max();
    QTest::newRow("underflow") << "1e-400" << 0.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LeadingNumber(text), value);
}

void TestNumbers::wholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "1000" << true << 1000.0;
    QTest::newRow("surrounding blanks") << "  -12.5 " << true << -12.5;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("minus only") << "-" << false << 0.0;
    QTest::newRow("trailing letters") << "12a" << false << 0.0;
    QTest::newRow("inner blank") << "1 2" << false << 0.0;
    QTest::newRow("comma") << "1,5" << false << 0.0;
    QTest::newRow("exponent") << "2e3" << true << 2000.0;
    QTest::newRow("huge overflows") << "1e999" << false << 0.0;
}

void TestNumbers::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto v = WholeNumber(text);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(*v, value);
}

void TestNumbers::roundHalfEven_data()
{
    QTest::addColumn<double>("in");
    QTest::addColumn<double>("out");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("250.6") << 250.6 << 251.0;
}

void TestNumbers::roundHalfEven()
{
    QFETCH(double, in);
    QFETCH(double, out);
    QCOMPARE(RoundHalfEven(in), out);
}

void TestNumbers::forms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("signedForm");
    QTest::newRow("zero") << 0.0 << "0" << " 0";
    QTest::newRow("300") << 300.0 << "300" << " 300";
    QTest::newRow("-5") << -5.0 << "-5" << "-5";
    QTest::newRow("thousandth") << 0.001 << "0.001" << " .001";
    QTest::newRow("negative half") << -0.5 << "-0.5" << "-.5";
    QTest::newRow("15 digits") << 0.1 + 0.2 << "0.3" << " .3";
    QTest::newRow("large") << 1e20 << "1E+20" << " 1E+20";
    QTest::newRow("tiny") << 2.5e-12 << "2.5E-12" << " 2.5E-12";
    QTest::newRow("decimal") << 1234.5 << "1234.5" << " 1234.5";
    QTest::newRow("whole, 15 digits") << 999999999999999.0 << "999999999999999" << " 999999999999999";
    QTest::newRow("whole, negative") << -8388608.0 << "-8388608" << "-8388608";
    QTest::newRow("10 to the 15th") << 1e15 << "1E+15" << " 1E+15";
    // Rounded to 15 digits the largest double would pass itself; it is cut.
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "1.79769313486231E+308"
                              << " 1.79769313486231E+308";
}

void TestNumbers::forms()
{
    QFETCH(double, value);
    QFETCH(QString, plain);
    QFETCH(QString, signedForm);
    QCOMPARE(PlainForm(value), plain);
    QCOMPARE(SignedForm(value), signedForm);
    // Both forms read back as the value they were made from.
    QCOMPARE(LeadingNumber(signedForm), LeadingNumber(plain));
}

void TestNumbers::extremes_data()
{
    using L = std::numeric_limits<double>;
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");      // what the leading read gives
    QTest::addColumn<bool>("whole");        // whether the whole-text read gives it too
    QTest::addColumn<QString>("written");   // the plain form of that value
    const QString tiny = "0." + QString(323, '0') + "1";
    const QString huge = "1" + QString(309, '0') + "E-0";
    QTest::newRow("too small, no exponent") << tiny << 0.0 << true << "0";
    QTest::newRow("too small, negative") << "-" + tiny << -0.0 << true << "0";
    QTest::newRow("too large, with E-") << huge << L::max() << false << "1.79769313486231E+308";
    QTest::newRow("too large, negative, with E-") << "-" + huge << -L::max() << false
                                                  << "-1.79769313486231E+308";
    QTest::newRow("15 digits of the largest, rounded up") << "1.79769313486232E+308" << L::max() << false
                                                          << "1.79769313486231E+308";
    QTest::newRow("largest") << "1.7976931348623157E+308" << L::max() << true << "1.79769313486231E+308";
    QTest::newRow("largest, negative") << "-1.7976931348623157E+308" << -L::max() << true
                                       << "-1.79769313486231E+308";
    QTest::newRow("just below the largest") << "1.79769313486231E+308" << 1.79769313486231e308 << true
                                            << "1.79769313486231E+308";
    QTest::newRow("smallest") << "4.9406564584124654E-324" << L::denorm_min() << true
                              << "4.94065645841247E-324";
    QTest::newRow("smallest, negative") << "-4.9406564584124654E-324" << -L::denorm_min() << true
                                        << "-4.94065645841247E-324";
    QTest::newRow("smallest normal") << "2.2250738585072014E-308" << L::min() << true << "2.2250738585072E-308";
    QTest::newRow("1e-400") << "1e-400" << 0.0 << true << "0";
    QTest::newRow("1e400") << "1e400" << L::max() << false << "1.79769313486231E+308";
    QTest::newRow("-1e400") << "-1e400" << -L::max() << false << "-1.79769313486231E+308";
    QTest::newRow("-0") << "-0" << -0.0 << true << "0";
    QTest::newRow("+42") << "+42" << 42.0 << true << "42";
    QTest::newRow("15 digits") << "-000000000012345" << -12345.0 << true << "-12345";
    QTest::newRow("16 digits") << "1234567890123456" << 1234567890123456.0 << true << "1.23456789012346E+15";
    QTest::newRow("exponent beyond any count") << "1e99999999999999999999" << L::max() << false
                                               << "1.79769313486231E+308";
    QTest::newRow("tiny exponent beyond any count") << "5e-99999999999999999999" << 0.0 << true << "0";
}

void TestNumbers::extremes()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, whole);
    QFETCH(QString, written);
    const double read = LeadingNumber(text);
    QCOMPARE(read, value);
    QCOMPARE(std::signbit(read), std::signbit(value));
    const auto w = WholeNumber(text);
    QCOMPARE(w.has_value(), whole);
    if (w)
        QCOMPARE(*w, value);
    QCOMPARE(PlainForm(read), written);
    // Every written form reads back as a number, and writes the same again.
    for (const QString &form : {PlainForm(read), SignedForm(read)}) {
        const auto back = WholeNumber(form);
        QVERIFY2(back.has_value(), qPrintable(form));
        QVERIFY(std::isfinite(*back));
        QCOMPARE(PlainForm(*back), written);
    }
}

void TestNumbers::hexPadding_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("eight");
    QTest::addColumn<QString>("four");
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("1A") << "1A" << "0000001A" << "001A";
    QTest::newRow("7") << "7" << "00000007" << "0007";
    QTest::newRow("four digits") << "ABCD" << "0000ABCD" << "ABCD";
    QTest::newRow("five digits") << "12345" << "00012345" << "2345";
    QTest::newRow("eight digits") << "120003E8" << "120003E8" << "03E8";
    QTest::newRow("nine digits") << "123456789" << "" << "6789";
}

void TestNumbers::hexPadding()
{
    QFETCH(QString, in);
    QFETCH(QString, eight);
    QFETCH(QString, four);
    QCOMPARE(dStrSet(in), eight);
    QCOMPARE(dStrSet2(in), four);
}

void TestNumbers::hexField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<uint>("value");
    QTest::newRow("upper") << "000005DC" << true << 1500u;
    QTest::newRow("lower") << "fffffa24" << true << 0xFFFFFA24u;
    QTest::newRow("empty") << "" << false << 0u;
    QTest::newRow("stray") << "00G1" << false << 0u;
    QTest::newRow("blank") << " 12" << false << 0u;
    QTest::newRow("too long") << "123456789" << false << 0u;
}

void TestNumbers::hexField()
{
    QFETCH(QString, field);
    QFETCH(bool, ok);
    QFETCH(uint, value);
    const auto v = HexField(field);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(*v, value);
}

void TestNumbers::startValues()
{
    ResetSharedState();
    SetStartValues();
    QCOMPARE(g.UnitModel, QStringLiteral("4"));
    QCOMPARE(g.UnitVersion, QStringLiteral("--.--.--"));
    QCOMPARE(g.UnitVersionText, QStringLiteral("--.--.--\r      ( ZT260A/ZT460A Non Active)"));
    for (int a = 0; a < kAxes; ++a) {
        QCOMPARE(g.ScaleSel[a], int16_t(0));
        for (int u = 0; u < kUnitCodes; ++u)
            QCOMPARE(g.ScaleFactor[u][a], QStringLiteral("1"));
    }
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
