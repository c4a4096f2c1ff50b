// The scale window against the main window: what it loads, its key filter,
// OK with the main window's unit labels, amount boxes and position displays
// following, a refused factor, and Cancel.

#include "mainwin/ManualRig.h"
#include "mainwin/frmMain.h"
#include "params/frmScaleSetup.h"
#include "shared/Shared.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {


QLabel *nearLabel(frmMain *m, int a) { return std::array{m->scale0, m->scale1, m->scale2, m->scale3}[a]; }
QLabel *farLabel(frmMain *m, int a) { return std::array{m->scale10, m->scale11, m->scale12, m->scale13}[a]; }

} // namespace

class TestScaleWindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void loadShowsStored_data();
    void loadShowsStored();
    void okConvertsMain_data();
    void okConvertsMain();
    void refusedFactorStoresNothing();
    void keyFilter();
    void greyedBoxesTakeNothing();
    void cancelStoresNothing();
    void menuOpensOneWindow();

private:
    frmScaleSetup *open(const QString &model);
    ManualRig *m_rig = nullptr;
};

frmScaleSetup *TestScaleWindow::open(const QString &model)
{
    m_rig = new ManualRig(model);
    return ShowScaleSetupWindow();
}

void TestScaleWindow::cleanup()
{
    delete ScaleSetupWindow();
    delete m_rig;
    m_rig = nullptr;
}

void TestScaleWindow::loadShowsStored_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("4-axis unit") << "4";
    QTest::newRow("2-axis unit") << "2";
}

void TestScaleWindow::loadShowsStored()
{
    QFETCH(QString, model);
    m_rig = new ManualRig(model);
    g.ScaleSel = {1, 2, 3, 0};
    for (int a = 0; a < kAxes; ++a)
        g.ScaleFactor[1][a] = QStringLiteral("0.00%1").arg(a + 1);
    g.ScaleFactor[3][1] = QStringLiteral("007");
    frmScaleSetup *w = ShowScaleSetupWindow();
    QCOMPARE(w->windowTitle(), QStringLiteral("Axis Scale"));

    const bool four = model == u"4";
    for (int a = 0; a < kAxes; ++a) {
        const bool handled = a < 2 || four;
        QCOMPARE(w->frame(a)->isEnabled(), handled);
        QCOMPARE(w->frame(a)->title(), QStringLiteral(" %1-Axis ").arg(AxisLetter(a)));
        for (int u = 0; u < 4; ++u) {
            QCOMPARE((*w->options(a))[u]->isChecked(), handled && u == g.ScaleSel[a]);
            if (u > 0)
                QCOMPARE((*w->boxes(a))[u]->text(), handled ? g.ScaleFactor[u][a] : QStringLiteral("1"));
        }
        QCOMPARE(w->chosenUnit(a), handled ? int(g.ScaleSel[a]) : 0);
    }
    QVERIFY(!(*w->boxes(0))[0]->isVisibleTo(w));
}

void TestScaleWindow::okConvertsMain_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("fromUnit");
    QTest::addColumn<QString>("fromFactor");
    QTest::addColumn<int>("toUnit");
    QTest::addColumn<QString>("toFactor");
    QTest::addColumn<QString>("amount");      // stored pulse amount
    QTest::addColumn<int>("pulses");          // last position reply, INT_MIN for none
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("amountBox");
    QTest::addColumn<QString>("amountAfter");
    QTest::addColumn<QString>("position");
    QTest::newRow("X Pulse to mm") << "4" << 0 << 0 << "1" << 1 << "0.001" << "5000" << 1234 << "mm" << "5"
                                   << "5000" << "1.234";
    QTest::newRow("X mm back to Pulse") << "4" << 0 << 1 << "0.001" << 0 << "1" << "5000" << 1234 << "Pulse"
                                        << "5000" << "5000" << "1234";
    // From the pulse count, not from "1.234" shown in mm (which would give 0.617).
    QTest::newRow("Y mm to um") << "4" << 1 << 1 << "0.001" << 2 << "0.5" << "3" << 1234 << "um" << "1.5"
                                << "3" << "617.0";
    QTest::newRow("U inch, negative") << "4" << 3 << 0 << "1" << 3 << "2" << "-7" << -7 << "inch" << "-14"
                                      << "-7" << "-14";
    QTest::newRow("Z no amount stored") << "4" << 2 << 0 << "1" << 1 << "0.01" << "" << 5 << "mm" << "0"
                                        << "0" << "0.05";
    QTest::newRow("2-axis Y") << "2" << 1 << 0 << "1" << 1 << "0.001" << "2500" << 2500 << "mm" << "2.5"
                              << "2500" << "2.500";
    QTest::newRow("no position reply yet") << "4" << 0 << 0 << "1" << 1 << "0.001" << "5000" << INT_MIN
                                           << "mm" << "5" << "5000" << "<as it was>";
}

void TestScaleWindow::okConvertsMain()
{
    QFETCH(QString, model);
    QFETCH(int, axis);
    QFETCH(int, fromUnit);
    QFETCH(QString, fromFactor);
    QFETCH(int, toUnit);
    QFETCH(QString, toFactor);
    QFETCH(QString, amount);
    QFETCH(int, pulses);
    QFETCH(QString, caption);
    QFETCH(QString, amountBox);
    QFETCH(QString, amountAfter);
    QFETCH(QString, position);
    m_rig = new ManualRig(model);
    frmMain *m = m_rig->w;
    g.ScaleSel[axis] = int16_t(fromUnit);
    g.ScaleFactor[fromUnit][axis] = fromFactor;
    g.AxisEntryText[axis][0] = amount;
    m->positionBox(axis)->setText(QStringLiteral("<as it was>"));
    if (pulses != INT_MIN) {
        std::array<int32_t, 4> counts{};
        counts[axis] = pulses;
        m->Link->AnalyzeReply(PositionReply(counts));
    }

    QPointer<frmScaleSetup> w = ShowScaleSetupWindow();
    (*w->options(axis))[toUnit]->click();
    if (toUnit > 0)
        (*w->boxes(axis))[toUnit]->setText(toFactor);
    QTest::mouseClick(w->OkButton, Qt::LeftButton);

    QVERIFY(m_rig->dialogs.shown().isEmpty());
    QVERIFY(w.isNull() || !w->isVisible());
    QTRY_VERIFY(w.isNull());
    QCOMPARE(g.ScaleSel[axis], int16_t(toUnit));
    QCOMPARE(nearLabel(m, axis)->text(), caption);
    QCOMPARE(farLabel(m, axis)->text(), caption);
    QCOMPARE(m->amountBox(axis)->text(), amountBox);
    QCOMPARE(g.AxisEntryText[axis][0], amountAfter);
    QCOMPARE(m->positionBox(axis)->text(), position);
    // The other axes keep their displays.
    for (int a = 0; a < kAxes; ++a)
        if (a != axis)
            QCOMPARE(nearLabel(m, a)->text(), QStringLiteral("Pulse"));
}

void TestScaleWindow::refusedFactorStoresNothing()
{
    frmScaleSetup *w = open(QStringLiteral("4"));
    frmMain *m = m_rig->w;
    g.AxisEntryText[1][0] = QStringLiteral("5000");
    m->amountBox(1)->setText(QStringLiteral("5000"));
    const auto factorsBefore = g.ScaleFactor;

    (*w->options(0))[1]->click();
    (*w->boxes(0))[1]->setText(QStringLiteral("0.001"));
    (*w->options(1))[1]->click();
    (*w->boxes(1))[1]->setText(QStringLiteral("0.001"));
    (*w->boxes(1))[3]->clear();
    m_rig->dialogs.answer(MsgResult::Ok);
    w->OkButton_Click();

    QCOMPARE(m_rig->dialogs.texts(), QStringList{"It can't be inputted. (Axis-Y)"});
    QCOMPARE(ScaleSetupWindow(), w);
    QVERIFY(g.ScaleSel == (std::array<int16_t, 4>{0, 0, 0, 0}));
    QVERIFY(g.ScaleFactor == factorsBefore);
    QCOMPARE(m->scale1->text(), QStringLiteral("Pulse"));
    QCOMPARE(m->amountBox(1)->text(), QStringLiteral("5000"));
    QCOMPARE(g.AxisEntryText[1][0], QStringLiteral("5000"));

    // Corrected, the same OK goes through.
    (*w->boxes(1))[3]->setText(QStringLiteral("0.00004"));
    w->OkButton_Click();
    QCOMPARE(m_rig->dialogs.texts().size(), 1);
    QCOMPARE(m->scale11->text(), QStringLiteral("mm"));
    QCOMPARE(m->amountBox(1)->text(), QStringLiteral("5"));
    QCOMPARE(g.AxisEntryText[1][0], QStringLiteral("5000"));
    QCOMPARE(g.ScaleFactor[3][1], QStringLiteral("0.00004"));
}

void TestScaleWindow::keyFilter()
{
    frmScaleSetup *w = open(QStringLiteral("4"));
    QLineEdit *box = (*w->boxes(2))[2];
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1-a,.5e"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("1.5"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1."));
    // Enter is dropped before it could press a default button.
    QCOMPARE(ScaleSetupWindow(), w);

    // The editing keys pass the filter; what is pasted passes it as typed.
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->selectedText(), QStringLiteral("1."));
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1."));
    QGuiApplication::clipboard()->setText(QStringLiteral("-0.0x01\n"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("0.001"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0.001"));
}

// On the 2-axis unit the Z and U factor boxes stay greyed: neither a paste
// nor a key that reaches one all the same puts anything into it.
void TestScaleWindow::greyedBoxesTakeNothing()
{
    frmScaleSetup *w = open(QStringLiteral("2"));
    for (int a : {2, 3}) {
        QLineEdit *box = (*w->boxes(a))[1];
        QVERIFY(!box->isEnabled());
        const QString before = box->text();
        QGuiApplication::clipboard()->setText(QStringLiteral("0.5"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("7"));
        QCOMPARE(box->text(), before);
    }
}

void TestScaleWindow::cancelStoresNothing()
{
    frmScaleSetup *w = open(QStringLiteral("4"));
    g.AxisEntryText[0][0] = QStringLiteral("100");
    const auto selBefore = g.ScaleSel;
    const auto factorsBefore = g.ScaleFactor;
    (*w->options(0))[2]->click();
    (*w->boxes(0))[2]->setText(QStringLiteral("0.5"));
    QTest::mouseClick(w->CancelButton, Qt::LeftButton);
    QTRY_VERIFY(ScaleSetupWindow() == nullptr);
    QVERIFY(g.ScaleSel == selBefore);
    QVERIFY(g.ScaleFactor == factorsBefore);
    QCOMPARE(m_rig->w->scale0->text(), QStringLiteral("Pulse"));
}

void TestScaleWindow::menuOpensOneWindow()
{
    m_rig = new ManualRig(QStringLiteral("4"));
    m_rig->w->mnuOptionItem[1]->trigger();
    QPointer<frmScaleSetup> first = ScaleSetupWindow();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    (*first->boxes(0))[1]->setText(QStringLiteral("typed"));
    m_rig->w->mnuOptionItem_Click(1);
    // Brought forward, not loaded again.
    QCOMPARE(ScaleSetupWindow(), first.data());
    QCOMPARE((*first->boxes(0))[1]->text(), QStringLiteral("typed"));
}

QTEST_MAIN(TestScaleWindow)
#include "test_scalewindow.moc"
