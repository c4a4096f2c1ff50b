// What the unit model decides, and the one answer for a model text the
// program never takes.

#include "shared/Shared.h"
#include "shared/UnitKind.h"

#include <QtTest>

class TestUnitKind : public QObject
{
    Q_OBJECT
private slots:
    void facts_data();
    void facts();
};

void TestUnitKind::facts_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("known");      // taken from a version reply or the choice window
    QTest::addColumn<int>("axes");
    QTest::addColumn<int>("lastRegister");
    QTest::addColumn<QString>("status");  // the status query and its reply threshold
    QTest::addColumn<QString>("version");
    QTest::newRow("2-axis unit") << "2" << true << 2 << 53 << "INR XY\r|18" << "VAR\r|24";
    QTest::newRow("4-axis unit") << "4" << true << 4 << 1999 << "INR XYZU\r|33" << "VER\r|24";
    // Any other text counts as the 4-axis unit, the model assumed at start.
    QTest::newRow("empty") << "" << false << 4 << 1999 << "INR XYZU\r|33" << "VER\r|24";
    QTest::newRow("another digit") << "3" << false << 4 << 1999 << "INR XYZU\r|33" << "VER\r|24";
    QTest::newRow("2 with a blank") << "2 " << false << 4 << 1999 << "INR XYZU\r|33" << "VER\r|24";
}

void TestUnitKind::facts()
{
    QFETCH(QString, model);
    QFETCH(bool, known);
    QFETCH(int, axes);
    QFETCH(int, lastRegister);
    QFETCH(QString, status);
    QFETCH(QString, version);
    ResetSharedState();
    g.UnitModel = model;
    const UnitKind kind = CurrentUnitKind();
    QCOMPARE(KnownModel(model).has_value(), known);
    if (known)
        QCOMPARE(ModelText(*KnownModel(model)), model);
    QCOMPARE(AxisCount(kind), axes);
    QCOMPARE(LastRegister(kind), lastRegister);
    QCOMPARE(RegisterCount(kind), lastRegister + 1);
    auto text = [](const UnitQuery &q) { return q.command + u'|' + QString::number(q.threshold); };
    QCOMPARE(text(StatusQuery(kind)), status);
    QCOMPARE(text(VersionQuery(kind)), version);
}

QTEST_GUILESS_MAIN(TestUnitKind)
#include "test_unitkind.moc"
