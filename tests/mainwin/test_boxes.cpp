// The amount, speed and register boxes of the main window, the speed
// up-down controls and the start register spinner.

#include "ManualRig.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/MSComm.h"
#include "platform/UpDown.h"
#include "shared/Shared.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

class TestBoxes : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void amountConversion_data();
    void amountConversion();
    void amountBackFromUnitChange();
    void keyFilters_data();
    void keyFilters();
    void editingKeys_data();
    void editingKeys();
    void inputMethodCommitFiltered_data();
    void inputMethodCommitFiltered();
    void contextMenuPasteChecked();
    void speedRangeCheck_data();
    void speedRangeCheck();
    void speedEnter_data();
    void speedEnter();
    void registerDisplayClamp_data();
    void registerDisplayClamp();
    void focusHandOver();
    void tabOrderRowByRow();
    void speedUpDown_data();
    void speedUpDown();
    void startRegister_data();
    void startRegister();
    void startRegisterSpinner_data();
    void startRegisterSpinner();

private:
    ManualRig *m_rig = nullptr;
};

void TestBoxes::init()
{
    m_rig = new ManualRig(QStringLiteral("4"));
    QVERIFY(m_rig->portOpen());
}

void TestBoxes::cleanup()
{
    delete m_rig;
    m_rig = nullptr;
}

void TestBoxes::amountConversion_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entry");   // entry 0 afterwards ("42" was there before)
    QTest::addColumn<QString>("box");
    QTest::newRow("1.5 mm at 0.001") << "4" << 0 << 1 << "0.001" << "1.5" << "1500" << "1.5";
    QTest::newRow("not rounded") << "4" << 1 << 1 << "0.001" << "0.0015" << "1.5" << "0.0015";
    QTest::newRow("0.3 at 0.1") << "4" << 0 << 2 << "0.1" << "0.3" << "3" << "0.3";
    QTest::newRow("fifteen digits") << "4" << 2 << 3 << "3" << "1" << "0.333333333333333" << "1";
    QTest::newRow("pulse, leading zeros") << "4" << 3 << 0 << "1" << "007" << "7" << "007";
    QTest::newRow("emptied box shows 0") << "4" << 0 << 0 << "1" << "" << "0" << "0";
    QTest::newRow("factor 0 keeps the amount") << "4" << 0 << 1 << "0" << "5" << "42" << "5";
    QTest::newRow("point alone keeps the amount") << "4" << 1 << 0 << "1" << "." << "42" << ".";
    QTest::newRow("unit outside the table") << "4" << 0 << 8 << "1" << "5" << "42" << "5";
    QTest::newRow("2-axis unit: Z stores nothing") << "2" << 2 << 0 << "1" << "5" << "42" << "5";
    QTest::newRow("2-axis unit: U emptied stays empty") << "2" << 3 << 0 << "1" << "" << "42" << "";
    QTest::newRow("2-axis unit: Y converts") << "2" << 1 << 0 << "1" << "9" << "9" << "9";
}

void TestBoxes::amountConversion()
{
    QFETCH(QString, model);
    QFETCH(int, axis);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QString, text);
    QFETCH(QString, entry);
    QFETCH(QString, box);
    QLineEdit *b = m_rig->w->amountBox(axis);
    b->setText(QStringLiteral("42"));
    g.UnitModel = model;
    g.ScaleSel[axis] = int16_t(unit);
    if (unit < kUnitCodes)
        g.ScaleFactor[unit][axis] = factor;
    g.AxisEntryText[axis][0] = QStringLiteral("42");
    b->setText(text);
    QCOMPARE(g.AxisEntryText[axis][0], entry);
    QCOMPARE(b->text(), box);
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestBoxes::amountBackFromUnitChange()
{
    // The scale window rewrites the box with pulses times the new factor;
    // the box's change gives back the same pulse amount.
    QLineEdit *b = m_rig->w->amountBox(0);
    b->setText(QStringLiteral("1234"));
    QCOMPARE(g.AxisEntryText[0][0], QStringLiteral("1234"));
    g.ScaleSel[0] = 1;
    g.ScaleFactor[1][0] = QStringLiteral("0.001");
    b->setText(QStringLiteral("1.234"));
    QCOMPARE(g.AxisEntryText[0][0], QStringLiteral("1234"));
}

void TestBoxes::keyFilters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("amount keeps digits and points") << "Text10" << "1a.5-e." << "1.5.";
    QTest::newRow("speed keeps digits only") << "Text14" << "1a.2-e" << "12";
    QTest::newRow("register keeps digits only") << "RegNo" << "1a2.-" << "12";
}

void TestBoxes::keyFilters()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto *b = m_rig->w->findChild<QLineEdit *>(box);
    QVERIFY(b);
    b->clear();
    QTest::keyClicks(b, typed);
    QCOMPARE(b->text(), shown);
    // Backspace passes every filter.
    QTest::keyClick(b, Qt::Key_Backspace);
    QCOMPARE(b->text(), shown.chopped(1));
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestBoxes::editingKeys_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");   // after the paste over the selected text
    QTest::addColumn<QString>("cut");     // after all is cut again
    QTest::newRow("amount") << "Text10" << "1a.5\n-e" << "1.5" << "0";
    QTest::newRow("speed: a line break is no Enter") << "Text14" << "12x3\r\n" << "123" << "";
    QTest::newRow("register") << "RegNo" << " 4-2" << "42" << "";
    QTest::newRow("nothing the box takes") << "Text13" << "abc" << "77" << "";
}

void TestBoxes::editingKeys()
{
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(QString, cut);
    auto *b = m_rig->w->findChild<QLineEdit *>(box);
    QVERIFY(b);
    b->setText(QStringLiteral("77"));
    b->deselect();
    QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(b->selectedText(), QStringLiteral("77"));
    QTest::keyClick(b, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("77"));
    // What is pasted passes the box's key filter as typed text would.
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->text(), shown);
    QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(b, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), shown);
    QCOMPARE(b->text(), cut);
    QCOMPARE(m_rig->wire(), QString());   // nothing went to the unit
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestBoxes::inputMethodCommitFiltered_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("shown");
    // Full-width digits are what an input method for Japanese commits.
    QTest::newRow("amount") << "Text10" << QStringLiteral("1\uFF15.-5") << "1.5";
    QTest::newRow("speed") << "Text14" << QStringLiteral("5\uFF10.5") << "55";
    QTest::newRow("register") << "RegNo" << " 4-2" << "42";
}

// The entry boxes take keys straight, not composed by an input method; what
// an input method commits all the same passes the key filter as a paste.
void TestBoxes::inputMethodCommitFiltered()
{
    QFETCH(QString, box);
    QFETCH(QString, committed);
    QFETCH(QString, shown);
    auto *b = m_rig->w->findChild<QLineEdit *>(box);
    QVERIFY(b);
    QVERIFY(!b->testAttribute(Qt::WA_InputMethodEnabled));
    b->setText(QStringLiteral("7"));
    b->selectAll();
    QInputMethodEvent composing(QStringLiteral("\uFF15"), {});
    QCoreApplication::sendEvent(b, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QCoreApplication::sendEvent(b, &commit);
    QCOMPARE(b->text(), shown);
    QCOMPARE(m_rig->wire(), QString());
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestBoxes::contextMenuPasteChecked()
{
    QLineEdit *b = m_rig->w->Text9;
    m_rig->w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_rig->w));
    b->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("2x.5"));
    bool triggered = false;
    // The menu runs its own loop; its Paste is chosen once it shows. A menu
    // that never shows as expected is closed after a bound, and the test fails.
    QElapsedTimer since;
    since.start();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, b, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) {
            if (since.elapsed() > kEventWaitMs) {
                poll.stop();
                if (QWidget *popup = QApplication::activePopupWidget())
                    popup->close();
            }
            return;
        }
        poll.stop();
        for (QAction *a : menu->actions())
            if (a->text().startsWith(QStringLiteral("&Paste")) && a->isEnabled()) {
                a->trigger();
                triggered = true;
            }
        menu->close();
    });
    poll.start();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(2, 2), b->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(b, &e);
    QVERIFY(triggered);
    QCOMPARE(b->text(), QStringLiteral("2.5"));
}

void TestBoxes::speedRangeCheck_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("clicked");   // text when the box was clicked; "-" never
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("title");     // of the message; empty: none
    QTest::newRow("8000 accepted") << 0 << "100" << "8000" << "8000" << "8000" << "";
    QTest::newRow("8001 puts back the clicked text") << 1 << "100" << "8001" << "100" << "100" << "zt260";
    QTest::newRow("never clicked empties the box") << 2 << "-" << "9000" << "" << "" << "zt260/460";
    QTest::newRow("empty accepted and stored empty") << 3 << "100" << "" << "" << "" << "";
    QTest::newRow("stepped form kept") << 0 << "100" << " 90" << " 90" << " 90" << "";
    QTest::newRow("letters written by code") << 3 << "250" << "12abc" << "250" << "250" << "zt260/460";
    QTest::newRow("minus sign") << 0 << "250" << "-" << "250" << "250" << "zt260";
    QTest::newRow("fraction") << 2 << "250" << "12.5" << "250" << "250" << "zt260/460";
    QTest::newRow("negative") << 1 << "250" << "-5" << "250" << "250" << "zt260";
    QTest::newRow("huge") << 0 << "250" << "99999999999999999999" << "250" << "250" << "zt260";
}

void TestBoxes::speedRangeCheck()
{
    QFETCH(int, axis);
    QFETCH(QString, clicked);
    QFETCH(QString, written);
    QFETCH(QString, box);
    QFETCH(QString, entry);
    QFETCH(QString, title);
    QLineEdit *b = m_rig->w->manualSpeedBox(axis);
    if (clicked != u"-") {
        b->setText(clicked);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QCOMPARE(MainWindow()->SavedSpeedText[axis], clicked == u"-" ? QString() : clicked);
    b->setText(written);
    QCOMPARE(b->text(), box);
    QCOMPARE(g.AxisEntryText[axis][1], entry);
    if (title.isEmpty()) {
        QVERIFY(m_rig->dialogs.shown().isEmpty());
    } else {
        // The second line keeps what was refused, as the box no longer shows it.
        QCOMPARE(m_rig->dialogs.texts(), QStringList{QStringLiteral("Value can't configure it.\nThe %1 manual speed "
                                                                    "takes 0 to 8000, not \"%2\".")
                                                         .arg(QChar("XYZU"[axis]))
                                                         .arg(written)});
        QCOMPARE(m_rig->dialogs.shown().first().title, title);
    }
}

void TestBoxes::speedEnter_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("condition");   // 0 port open, 1 port closed, 2 line busy
    QTest::addColumn<QString>("bytes");
    QTest::newRow("X 1200") << 0 << "1200" << 0 << "SPD 1200|";
    QTest::newRow("Z 1200") << 2 << "1200" << 0 << "SPD ,,1200|";
    QTest::newRow("stepped text keeps its blank") << 1 << " 90" << 0 << "SPD , 90|";
    QTest::newRow("empty box") << 3 << "" << 0 << "SPD ,,,|";
    QTest::newRow("port closed") << 2 << "1200" << 1 << "";
    QTest::newRow("line busy") << 0 << "1200" << 2 << "";
}

void TestBoxes::speedEnter()
{
    QFETCH(int, axis);
    QFETCH(QString, text);
    QFETCH(int, condition);
    QFETCH(QString, bytes);
    frmMain *w = m_rig->w;
    w->manualSpeedBox(axis)->setText(text);
    SetOption(w->Option11, false);   // Enter sends whatever the speed choice
    if (condition == 1)
        m_rig->closePort();
    std::optional<LineHold> hold;
    if (condition == 2)
        hold.emplace(LineUser::Transfer);
    w->Timer1->stop();
    QTest::keyClick(w->manualSpeedBox(axis), Qt::Key_Return);
    QCOMPARE(m_rig->wire(), bytes);
    QCOMPARE(w->manualSpeedBox(axis)->text(), text);
    QVERIFY(!w->Timer1->isActive());
}

void TestBoxes::registerDisplayClamp_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("2500") << "2500" << "1999";
    QTest::newRow("-1") << "-1" << "0";
    QTest::newRow("12") << "12" << "12";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("1999") << "1999" << "1999";
}

void TestBoxes::registerDisplayClamp()
{
    QFETCH(QString, written);
    QFETCH(QString, shown);
    for (int a = 0; a < 4; ++a) {
        QLineEdit *b = m_rig->w->registerBox(a);
        b->setText(QStringLiteral("7"));
        b->setText(written);
        QCOMPARE(b->text(), shown);
    }
}

void TestBoxes::focusHandOver()
{
    frmMain *w = m_rig->w;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    for (int a = 0; a < 4; ++a) {
        w->positionBox(a)->setFocus();
        QCOMPARE(QApplication::focusWidget(), w->amountBox(a));
        w->speedBox(a)->setFocus();
        QCOMPARE(QApplication::focusWidget(), w->manualSpeedBox(a));
    }
    // A click on the Y speed display leaves the caret in the Y speed box,
    // and a focus handed over saves no text for the speed box.
    w->amountBox(0)->setFocus();
    QTest::mouseClick(w->Text6, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->Text14);
    QCOMPARE(MainWindow()->SavedSpeedText[1], QString());
}

void TestBoxes::tabOrderRowByRow()
{
    frmMain *w = m_rig->w;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QWidget *first = w->jogButton(1);   // XM_SW, the first control of the X row
    first->setFocus();
    QCOMPARE(QApplication::focusWidget(), first);
    QList<QWidget *> visited{first};
    for (;;) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        QVERIFY(now);
        if (now == first || visited.contains(now))
            break;
        visited << now;
        QVERIFY(visited.size() < 200);
    }
    // The displays are never a tab stop; every entry box is one.
    for (int a = 0; a < 4; ++a) {
        QVERIFY(!visited.contains(w->positionBox(a)) && !visited.contains(w->speedBox(a)));
        QVERIFY(visited.contains(w->amountBox(a)) && visited.contains(w->manualSpeedBox(a)));
    }
    QVERIFY(visited.contains(w->RegNo));
    QCOMPARE(visited.last(), static_cast<QWidget *>(w->Command5));
    // Through the four axis rows (eight stops each, the up-down control's
    // two arrows one place) the focus goes left to right, then to the next row.
    auto at = [w](QWidget *x) {
        if (qobject_cast<UpDown *>(x->parentWidget()))
            x = x->parentWidget();
        return x->mapTo(w, QPoint(x->width() / 2, x->height() / 2));
    };
    for (int i = 1; i < 32; ++i) {
        const QPoint p = at(visited[i - 1]), q = at(visited[i]);
        if (p == q)
            continue;
        const bool sameRow = std::abs(q.y() - p.y()) < 4 && q.x() > p.x();
        const bool nextRow = q.y() > p.y() + 4 && q.x() < p.x();
        QVERIFY2(sameRow || nextRow, qPrintable(QStringLiteral("stop %1").arg(i)));
    }
    QCOMPARE(visited[31]->parentWidget(), static_cast<QWidget *>(w->UpDown4));
    // Backwards from an amount box reaches its row's clear button.
    w->Text9->setFocus();
    QTest::keyClick(w->Text9, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->X_CLEAR_SW));
}

void TestBoxes::speedUpDown_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("rate");      // 0 none, else 1, 10, 100
    QTest::addColumn<bool>("choice5");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("5 down 10 floors at 0") << 0 << 10 << true << "5" << false << "0" << "SPD 0|";
    QTest::newRow("10 down 10") << 0 << 10 << true << "10" << false << " 0" << "SPD  0|";
    QTest::newRow("100 down 10") << 0 << 10 << true << "100" << false << " 90" << "SPD  90|";
    QTest::newRow("7950 up 100 ceils at 8000") << 0 << 100 << true << "7950" << true << "8000" << "SPD 8000|";
    QTest::newRow("7900 up 100") << 0 << 100 << true << "7900" << true << " 8000" << "SPD  8000|";
    QTest::newRow("7990 up 10") << 1 << 10 << true << "7990" << true << " 8000" << "SPD , 8000|";
    QTest::newRow("7995 up 10") << 1 << 10 << true << "7995" << true << "8000" << "SPD ,8000|";
    QTest::newRow("empty up 1") << 2 << 1 << true << "" << true << " 1" << "SPD ,, 1|";
    QTest::newRow("U 50 down 100") << 3 << 100 << true << "50" << false << "0" << "SPD ,,,0|";
    QTest::newRow("no rate chosen") << 0 << 0 << true << "100" << true << " 100" << "SPD  100|";
    QTest::newRow("other speed choice sends nothing") << 1 << 10 << false << "100" << true << " 110" << "";
}

void TestBoxes::speedUpDown()
{
    QFETCH(int, axis);
    QFETCH(int, rate);
    QFETCH(bool, choice5);
    QFETCH(QString, before);
    QFETCH(bool, up);
    QFETCH(QString, after);
    QFETCH(QString, bytes);
    frmMain *w = m_rig->w;
    SetOption(w->Option4, rate == 1);
    SetOption(w->Option5, rate == 10);
    SetOption(w->Option6, rate == 100);
    {
        LineHold hold(LineUser::Transfer);   // choose without sending the choice's lines
        choice5 ? w->Option11->setChecked(true) : w->Option9->setChecked(true);
    }
    w->manualSpeedBox(axis)->setText(before);
    m_rig->wire();
    const std::array<UpDown *, 4> controls{w->UpDown1, w->UpDown2, w->UpDown3, w->UpDown4};
    (up ? controls[axis]->upButton() : controls[axis]->downButton())->click();
    QCOMPARE(w->manualSpeedBox(axis)->text(), after);
    QCOMPARE(g.AxisEntryText[axis][1], after);
    QCOMPARE(m_rig->wire(), bytes);

    // The same step with the line busy or the port closed: stepped, not sent.
    {
        LineHold hold(LineUser::Transfer);
        (up ? controls[axis]->upButton() : controls[axis]->downButton())->click();
    }
    m_rig->closePort();
    (up ? controls[axis]->upButton() : controls[axis]->downButton())->click();
    QCOMPARE(m_rig->wire(), QString());
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestBoxes::startRegister_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("clicked");   // "-": never clicked
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("title");     // empty: no message
    QTest::newRow("53 on the 2-axis unit") << "2" << "5" << "53" << "53" << "";
    QTest::newRow("54 on the 2-axis unit") << "2" << "5" << "54" << "5" << "zt260a";
    QTest::newRow("1999 on the 4-axis unit") << "4" << "5" << "1999" << "1999" << "";
    QTest::newRow("2000 on the 4-axis unit") << "4" << "5" << "2000" << "5" << "zt460a";
    QTest::newRow("never clicked") << "4" << "-" << "2000" << "" << "zt460a";
    QTest::newRow("letters by code") << "4" << "7" << "1x" << "7" << "zt460a";
    QTest::newRow("empty accepted") << "2" << "7" << "" << "" << "";
}

void TestBoxes::startRegister()
{
    QFETCH(QString, model);
    QFETCH(QString, clicked);
    QFETCH(QString, typed);
    QFETCH(QString, box);
    QFETCH(QString, title);
    frmMain *w = m_rig->w;
    g.UnitModel = model;
    w->CommState = 0;   // the spinner follows the box only once the start-up asked the unit
    w->UpDown5->setValue(30);
    if (clicked != u"-") {
        w->RegNo->setText(clicked);
        QTest::mouseClick(w->RegNo, Qt::LeftButton);
    }
    w->RegNo->setText(typed);
    QCOMPARE(w->RegNo->text(), box);
    QCOMPARE(w->UpDown5->Value(), 30);
    if (title.isEmpty()) {
        QVERIFY(m_rig->dialogs.shown().isEmpty());
    } else {
        QCOMPARE(m_rig->dialogs.texts(),
                 QStringList{QStringLiteral("Value can't configure it.\nThe start register box takes 0 to %1, not \"%2\".")
                                 .arg(model == u"2" ? 53 : 1999)
                                 .arg(typed)});
        QCOMPARE(m_rig->dialogs.shown().first().title, title);
    }
}

void TestBoxes::startRegisterSpinner_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("max");
    QTest::newRow("2-axis unit") << "2" << 53;
    QTest::newRow("4-axis unit") << "4" << 1999;
}

void TestBoxes::startRegisterSpinner()
{
    QFETCH(QString, model);
    QFETCH(int, max);
    frmMain *w = m_rig->w;
    g.UnitModel = model;
    w->UpDown5->setMax(max);   // as the start-up sets it for the model
    w->CommState = 1;
    w->RegNo->setText(QStringLiteral("12"));
    QCOMPARE(w->UpDown5->Value(), 12);
    w->UpDown5->downButton()->click();
    QCOMPARE(w->RegNo->text(), QStringLiteral("11"));
    // Typing moves the spinner; the top register is reachable, not beyond.
    w->RegNo->setText(QString::number(max));
    QCOMPARE(w->UpDown5->Value(), max);
    w->UpDown5->upButton()->click();
    QCOMPARE(w->RegNo->text(), QString::number(max));
    QTest::mouseClick(w->RegNo, Qt::LeftButton);
    w->RegNo->setText(QString::number(max + 1));
    QCOMPARE(w->RegNo->text(), QString::number(max));
    QCOMPARE(m_rig->dialogs.texts().size(), 1);
    // A refused entry with nothing saved counts as register 0: the spinner
    // goes to 0 and writes it back into the box.
    MainWindow()->SavedRegNoText.clear();
    m_rig->dialogs.clear();
    w->RegNo->setText(QStringLiteral("99999"));
    QCOMPARE(w->UpDown5->Value(), 0);
    QCOMPARE(w->RegNo->text(), QStringLiteral("0"));
    QCOMPARE(m_rig->dialogs.texts().size(), 1);
}

QTEST_MAIN(TestBoxes)
#include "test_boxes.moc"
