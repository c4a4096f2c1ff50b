// Block copy without a window: the register box rules, the enabling rules of
// both windows' boxes, the checks at Start, and the run on a 4-axis program
// database of its own: copies, moves whose ranges overlap, one axis read
// after another has written it, and all or nothing when a store is refused.

#include "ProgramFixture.h"
#include "program/BlockCopy.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

#include <QtTest>

namespace {

ClipRow rowFor(int reg, int axis)
{
    return {QStringLiteral("ABS"), QString::number(reg * 100 + axis), QString::number(1 + reg % 4),
            QString::number(reg % 4), AxisLetter(axis) + QStringLiteral("-%1").arg(reg)};
}

std::array<bool, kAxes> axes(const char *letters)
{
    std::array<bool, kAxes> a{};
    for (const char *c = letters; *c; ++c)
        a[std::size_t(AxisIndex(QChar(*c)))] = true;
    return a;
}

} // namespace

class TestBlockCopy : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rangeBoxRules_data();
    void rangeBoxRules();
    void rangeKeys();
    void normalEnabling();
    void normalChecks_data();
    void normalChecks();
    void expandedEnabling();
    void expandedChecks();

    void copyToSeveralAxes();
    void overlappingMove_data();
    void overlappingMove();
    void laterAxisReadsEarlierWrite();
    void startAboveEndDoesNothing();
    void refusedStoreChangesNothing();
    void planOutsideTableRefused();

private:
    void fill(int first, int count);
    ProgramFixture *f = nullptr;
};

void TestBlockCopy::init()
{
    f = new ProgramFixture(UnitKind::FourAxis);
}

void TestBlockCopy::cleanup()
{
    delete f;
    f = nullptr;
}

void TestBlockCopy::fill(int first, int count)
{
    QVERIFY(f->table.InTransaction([&] {
        for (int reg = first; reg < first + count; ++reg)
            for (int axis = 0; axis < kAxes; ++axis)
                if (!f->put(reg, axis, rowFor(reg, axis)))
                    return false;
        return true;
    }));
}

void TestBlockCopy::rangeBoxRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("kept");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("0") << QStringLiteral("0") << true;
    QTest::newRow("2000") << QStringLiteral("2000") << true;
    QTest::newRow("2001") << QStringLiteral("2001") << false;
    QTest::newRow("pasted digits then letters") << QStringLiteral("12ab") << false;
    QTest::newRow("sign") << QStringLiteral("-5") << false;
    QTest::newRow("blank") << QStringLiteral(" 5") << false;
    QTest::newRow("long zeros") << QStringLiteral("000012") << false;
}

void TestBlockCopy::rangeBoxRules()
{
    QFETCH(QString, text);
    QFETCH(bool, kept);
    QCOMPARE(RangeTextAccepted(text), kept);
}

void TestBlockCopy::rangeKeys()
{
    for (char c : QByteArray("0123456789"))
        QVERIFY(RangeKeyAccepted(c));
    QVERIFY(RangeKeyAccepted(8));
    for (int key : {int('a'), int('-'), int(' '), int('.'), 13})
        QVERIFY(!RangeKeyAccepted(key));
}

void TestBlockCopy::normalEnabling()
{
    NormalCopyForm form;
    for (int a = 0; a < kAxes; ++a) {
        QVERIFY(form.source[std::size_t(a)].enabled && !form.source[std::size_t(a)].checked);
        QVERIFY(form.clear[std::size_t(a)].enabled && !form.clear[std::size_t(a)].checked);
        QVERIFY(!form.dest[std::size_t(a)].enabled && !form.dest[std::size_t(a)].checked);
    }
    QVERIFY(!form.range.enabled);
    QCOMPARE(form.range.text, (std::array<QString, 3>{"0", "0", "0"}));

    // A clear box ticked before a source is chosen greys out and loses its
    // tick, so it never erases.
    form.clear[1].checked = true;
    form.clear[0].checked = true;
    form.source[0].checked = true;
    form.SourceClick(0);
    QVERIFY(form.range.enabled);
    QVERIFY(form.dest[3].enabled);
    for (int a = 1; a < kAxes; ++a) {
        QVERIFY(!form.source[std::size_t(a)].enabled);
        QVERIFY(!form.clear[std::size_t(a)].enabled);
        QVERIFY(!form.clear[std::size_t(a)].checked);
    }
    QVERIFY(form.clear[0].enabled && form.clear[0].checked);

    form.dest[2].checked = true;
    form.range.text[1] = QStringLiteral("25");
    form.source[0].checked = false;
    form.SourceClick(0);
    QVERIFY(!form.range.enabled);
    QVERIFY(!form.dest[2].enabled);
    QVERIFY(form.dest[2].checked);
    QCOMPARE(form.range.text[1], QStringLiteral("25"));
    for (int a = 1; a < kAxes; ++a)
        QVERIFY(form.source[std::size_t(a)].enabled && form.clear[std::size_t(a)].enabled);
    // Without a source, Start is refused although a destination is ticked.
    QVERIFY(!form.Plan());
}

void TestBlockCopy::normalChecks_data()
{
    QTest::addColumn<int>("source");      // -1: none ticked
    QTest::addColumn<QString>("dests");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("copyTo");
    QTest::addColumn<QString>("refusal");   // the line under "Bad Setting."; empty: accepted
    QTest::newRow("no source") << -1 << "Y" << "0" << "9" << "0" << "No source axis is ticked.";
    QTest::newRow("no destination") << 0 << "" << "0" << "9" << "0" << "No axis to copy to is ticked.";
    QTest::newRow("empty start") << 0 << "Y" << "" << "9" << "0" << "The start box is empty.";
    QTest::newRow("empty copy-to") << 1 << "X" << "0" << "9" << "" << "The copy-to box is empty.";
    QTest::newRow("not digits") << 0 << "Y" << "0" << "9a" << "0"
                                << "The end box holds \"9a\", which is no register number.";
    QTest::newRow("whole table") << 2 << "XU" << "0" << "1999" << "0" << "";
    QTest::newRow("end 2000") << 0 << "Y" << "0" << "2000" << "0" << "The end box holds 2000: the largest it takes is 1999.";
    QTest::newRow("start 2000") << 0 << "Y" << "2000" << "2000" << "0"
                                << "The start box holds 2000: the largest it takes is 1999.";
    QTest::newRow("last write 1999") << 0 << "Y" << "10" << "19" << "1990" << "";
    QTest::newRow("last write 2000")
        << 0 << "Y" << "10" << "19" << "1991"
        << "The copy-to box holds 1991: with 10 registers to copy, the largest it takes is 1990.";
    QTest::newRow("copy-to 2000") << 0 << "Y" << "5" << "5" << "2000"
                                  << "The copy-to box holds 2000: the largest it takes is 1999.";
    QTest::newRow("one register past") << 0 << "Y" << "5" << "5" << "1999" << "";
    QTest::newRow("start above end") << 3 << "Z" << "9" << "3" << "1999" << "";
}

void TestBlockCopy::normalChecks()
{
    QFETCH(int, source);
    QFETCH(QString, dests);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, copyTo);
    QFETCH(QString, refusal);
    const bool accepted = refusal.isEmpty();
    NormalCopyForm form;
    if (source >= 0) {
        form.source[std::size_t(source)].checked = true;
        form.SourceClick(source);
        form.clear[std::size_t(source)].checked = true;
    }
    const auto d = axes(dests.toLatin1().constData());
    for (int a = 0; a < kAxes; ++a)
        form.dest[std::size_t(a)].checked = d[std::size_t(a)];
    form.range.text = {start, end, copyTo};
    QString why;
    const auto plan = form.Plan(&why);
    QCOMPARE(plan.has_value(), accepted);
    QCOMPARE(why, refusal);
    if (!plan)
        return;
    QCOMPARE(plan->copies.size(), std::size_t(1));
    const CopyStep &c = plan->copies.front();
    QCOMPARE(c.source, source);
    QCOMPARE(c.first, start.toInt());
    QCOMPARE(c.last, end.toInt());
    QCOMPARE(c.copyTo, copyTo.toInt());
    QVERIFY(c.dest == d);
    QCOMPARE(plan->clears.size(), std::size_t(1));
    QCOMPARE(plan->clears.front().axis, source);
}

void TestBlockCopy::expandedEnabling()
{
    ExpandedCopyForm form;
    for (int a = 0; a < kAxes; ++a) {
        QVERIFY(!form.range[std::size_t(a)].enabled);
        for (const CopyBox &d : form.dest[std::size_t(a)])
            QVERIFY(!d.enabled && !d.checked);
    }
    // Every click puts the band's registers back to 0; destination ticks stay.
    form.source[0].checked = true;
    form.SourceClick(0);
    QVERIFY(form.range[0].enabled && form.dest[0][2].enabled);
    QVERIFY(!form.range[1].enabled);
    form.range[0].text[1] = QStringLiteral("25");
    form.dest[0][1].checked = true;
    form.source[0].checked = false;
    form.SourceClick(0);
    form.source[0].checked = true;
    form.SourceClick(0);
    QCOMPARE(form.range[0].text, (std::array<QString, 3>{"0", "0", "0"}));
    QVERIFY(form.dest[0][1].checked);
    // Bands are independent.
    form.source[2].checked = true;
    form.SourceClick(2);
    QVERIFY(form.range[0].enabled && form.range[2].enabled);
}

void TestBlockCopy::expandedChecks()
{
    ExpandedCopyForm form;
    auto band = [&form](int a, const char *dests, const QString &s, const QString &e, const QString &c) {
        form.source[std::size_t(a)].checked = true;
        form.SourceClick(a);
        const auto d = axes(dests);
        for (int x = 0; x < kAxes; ++x)
            form.dest[std::size_t(a)][std::size_t(x)].checked = d[std::size_t(x)];
        form.range[std::size_t(a)].text = {s, e, c};
    };
    QString none;
    QVERIFY(!form.Plan(&none));
    QCOMPARE(none, QStringLiteral("No source axis is ticked."));

    band(1, "XZ", "100", "199", "0");
    auto plan = form.Plan();
    QVERIFY(plan);
    QCOMPARE(plan->copies.size(), std::size_t(1));
    QVERIFY(plan->clears.empty());

    // A ticked source with nothing to copy to is refused, even beside a
    // band that is complete.
    band(0, "", "0", "9", "0");
    QString why;
    QVERIFY(!form.Plan(&why));
    QCOMPARE(why, QStringLiteral("Source X has no axis to copy to ticked."));
    band(0, "Y", "0", "9", "0");
    QCOMPARE(form.Plan()->copies.size(), std::size_t(2));

    // The Y, Z and U bands are held to the same bounds as X.
    form.range[1].text = {QStringLiteral("100"), QStringLiteral("199"), QStringLiteral("1901")};
    QVERIFY(!form.Plan(&why));
    QCOMPARE(why, QStringLiteral("The Y copy-to box holds 1901: with 100 registers to copy, the largest it takes is 1900."));
    form.range[1].text = {QStringLiteral("1x"), QStringLiteral("199"), QStringLiteral("0")};
    QVERIFY(!form.Plan(&why));
    QCOMPARE(why, QStringLiteral("The Y start box holds \"1x\", which is no register number."));
    form.range[1].text = {QStringLiteral("100"), QStringLiteral("199"), QStringLiteral("1900")};
    plan = form.Plan();
    QVERIFY(plan);
    AddSourceClears(*plan);
    QCOMPARE(plan->clears.size(), std::size_t(2));
    QCOMPARE(plan->clears[1].axis, 1);
    QCOMPARE(plan->clears[1].first, 100);
    QCOMPARE(plan->clears[1].last, 199);

    // An unticked band's disabled destination ticks count for nothing.
    form.source[0].checked = false;
    form.SourceClick(0);
    plan = form.Plan();
    QVERIFY(plan);
    QCOMPARE(plan->copies.size(), std::size_t(1));
    QCOMPARE(plan->copies.front().source, 1);
}

void TestBlockCopy::copyToSeveralAxes()
{
    fill(0, 12);
    fill(100, 12);
    clip.ClipCount = 7;
    const std::vector<QStringList> before = f->table.ReadAll();
    BlockCopyPlan plan;
    plan.copies.push_back({0, 0, 9, 100, axes("XU")});
    QVERIFY(RunBlockCopy(f->table, plan));
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(f->table.Axis(100 + k, 0), std::optional(rowFor(k, 0)));
        QCOMPARE(f->table.Axis(100 + k, 3), std::optional(rowFor(k, 0)));
        QCOMPARE(f->table.Axis(100 + k, 1), std::optional(rowFor(100 + k, 1)));
        // The range was staged in the copy buffer, whose count stays.
        QCOMPARE(clip.ClipBuf[std::size_t(k)], rowFor(k, 0));
    }
    QCOMPARE(clip.ClipCount, 7);
    QCOMPARE(f->table.Axis(110, 0), std::optional(rowFor(110, 0)));
    QVERIFY(f->table.ReadAll()[5] == before[5]);
}

void TestBlockCopy::overlappingMove_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("copyTo");
    QTest::newRow("down") << 10 << 15;
    QTest::newRow("up") << 15 << 10;
    QTest::newRow("onto itself") << 10 << 10;
}

void TestBlockCopy::overlappingMove()
{
    QFETCH(int, first);
    QFETCH(int, copyTo);
    fill(0, 40);
    BlockCopyPlan plan;
    plan.copies.push_back({0, first, first + 9, copyTo, axes("X")});
    AddSourceClears(plan);
    QVERIFY(RunBlockCopy(f->table, plan));
    // The moved rows stand at their new place; of the old place only what
    // the copy did not write is emptied.
    for (int reg = 0; reg < 40; ++reg) {
        std::optional<ClipRow> expected = rowFor(reg, 0);
        if (reg >= copyTo && reg < copyTo + 10)
            expected = rowFor(first + reg - copyTo, 0);
        else if (reg >= first && reg < first + 10)
            expected = ClipRow{};
        QCOMPARE(f->table.Axis(reg, 0), expected);
        QCOMPARE(f->table.Axis(reg, 1), std::optional(rowFor(reg, 1)));
    }
}

void TestBlockCopy::laterAxisReadsEarlierWrite()
{
    fill(0, 10);
    // X 0..9 into Y, then Y 0..9 into X: Y is read after X wrote it, so
    // both end with X's rows; as a move nothing is emptied, since every
    // source register was written by the other copy.
    BlockCopyPlan plan;
    plan.copies.push_back({0, 0, 9, 0, axes("Y")});
    plan.copies.push_back({1, 0, 9, 0, axes("X")});
    AddSourceClears(plan);
    QVERIFY(RunBlockCopy(f->table, plan));
    for (int reg = 0; reg < 10; ++reg) {
        QCOMPARE(f->table.Axis(reg, 0), std::optional(rowFor(reg, 0)));
        QCOMPARE(f->table.Axis(reg, 1), std::optional(rowFor(reg, 0)));
    }
}

void TestBlockCopy::startAboveEndDoesNothing()
{
    fill(0, 10);
    clip.ClipBuf[0] = rowFor(77, 3);
    const std::vector<QStringList> before = f->table.ReadAll();
    BlockCopyPlan plan;
    plan.copies.push_back({0, 9, 3, 0, axes("Y")});
    AddSourceClears(plan);
    QVERIFY(RunBlockCopy(f->table, plan));
    QVERIFY(f->table.ReadAll() == before);
    QCOMPARE(clip.ClipBuf[0], rowFor(77, 3));
}

void TestBlockCopy::refusedStoreChangesNothing()
{
    fill(0, 30);
    clip.ClipBuf[0] = rowFor(77, 3);
    const std::vector<QStringList> before = f->table.ReadAll();
    f->refuseStoresTo(25);
    BlockCopyPlan plan;
    plan.copies.push_back({0, 0, 9, 20, axes("XZ")});
    AddSourceClears(plan);
    QVERIFY(!RunBlockCopy(f->table, plan));
    QVERIFY(f->table.ReadAll() == before);
    QCOMPARE(clip.ClipBuf[0], rowFor(77, 3));
}

void TestBlockCopy::planOutsideTableRefused()
{
    fill(1990, 10);
    const std::vector<QStringList> before = f->table.ReadAll();
    BlockCopyPlan plan;
    plan.copies.push_back({0, 1990, 1999, 1995, axes("Y")});
    QVERIFY(!RunBlockCopy(f->table, plan));
    BlockCopyPlan clear;
    clear.clears.push_back({4, 0, 5});
    QVERIFY(!RunBlockCopy(f->table, clear));
    QVERIFY(f->table.ReadAll() == before);
}

QTEST_MAIN(TestBlockCopy)
#include "test_blockcopy.moc"
