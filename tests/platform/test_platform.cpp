// Our stand-ins for the platform's waits, timers and controls.

#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "Waits.h"
#include "platform/ControlEvents.h"
#include "platform/Controls.h"
#include "platform/Lamp.h"
#include "platform/RuntimeFolder.h"
#include "platform/EventPump.h"
#include "platform/Timer.h"
#include "platform/UpDown.h"
#include "platform/WindowFit.h"

#include <QElapsedTimer>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Waits until a timer switched on now has ticked three times: a timer that
// was to tick by then (or at every pass of events, as a plain QTimer of
// period 0 would) has had its chance.
bool otherTimerTicked()
{
    Timer marker;
    int ticks = 0;
    QObject::connect(&marker, &Timer::timeout, [&] { ++ticks; });
    marker.setInterval(5);
    marker.start();
    return WaitUntil([&] { return ticks >= 3; }, kEventWaitMs) == WaitResult::Done;
}

// A window that notes the keys that reach it.
class KeyWindow : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        keys << event->key();
        QWidget::keyPressEvent(event);
    }
};

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void waitReturnsWhenConditionHolds();
    void waitTimesOutWithoutEvents();
    void waitCancelled();
    void waitBesideAnotherWait_data();
    void waitBesideAnotherWait();
    void timerPeriodZeroGivesNoTicks();
    void timerTicks();
    void optionCanBeUnchosen();
    void upDownClamps();
    void lampsLightOnFirstStart();
    void boxTitles_data();
    void boxTitles();
    void qtInputBoxKeepsRefusedText_data();
    void qtInputBoxKeepsRefusedText();
    void filtersSkipUnusableControls_data();
    void filtersSkipUnusableControls();
    void scrollAreaLeavesKeysAlone_data();
    void scrollAreaLeavesKeysAlone();
    void runtimeFolderForQt_data();
    void runtimeFolderForQt();
};

void TestPlatform::waitReturnsWhenConditionHolds()
{
    bool flag = false;
    QTimer::singleShot(10, [&] { flag = true; });
    QCOMPARE(WaitUntil([&] { return flag; }, kEventWaitMs), WaitResult::Done);
    QCOMPARE(WaitUntil([] { return true; }, 0), WaitResult::Done);
}

void TestPlatform::waitTimesOutWithoutEvents()
{
    // Nothing else happens: the wait must still come back (a timer firing a
    // little early once left it blocked for good).
    for (int ms : {1, 5, 20, 50, 100, 200})
        QCOMPARE(WaitUntil([] { return false; }, ms), WaitResult::TimedOut);
}

void TestPlatform::waitCancelled()
{
    bool cancel = false;
    QTimer::singleShot(10, [&] { cancel = true; });
    QCOMPARE(WaitUntil([] { return false; }, -1, [&] { return cancel; }), WaitResult::Cancelled);
}

namespace {
// Longer than any test may run: a wait that ends only by it hangs the test.
constexpr int kHourMs = 3600 * 1000;
enum class Beside { AfterLonger, InsideLonger, AroundLonger };
} // namespace

void TestPlatform::waitBesideAnotherWait_data()
{
    QTest::addColumn<Beside>("beside");
    QTest::newRow("after a longer wait that ended") << Beside::AfterLonger;
    QTest::newRow("inside a longer wait") << Beside::InsideLonger;
    QTest::newRow("around a longer wait that ends") << Beside::AroundLonger;
}

// Every wait wakes at its own time-out, whatever time-outs other waits,
// before it or nested in it, asked for.
void TestPlatform::waitBesideAnotherWait()
{
    QFETCH(Beside, beside);
    bool flag = false;
    WaitResult inner = WaitResult::Done;
    switch (beside) {
    case Beside::AfterLonger:
        QTimer::singleShot(0, [&] { flag = true; });
        QCOMPARE(WaitUntil([&] { return flag; }, kHourMs), WaitResult::Done);
        QCOMPARE(WaitUntil([] { return false; }, 20), WaitResult::TimedOut);
        break;
    case Beside::InsideLonger:
        QTimer::singleShot(0, [&] {
            inner = WaitUntil([] { return false; }, 20);
            flag = true;
        });
        QCOMPARE(WaitUntil([&] { return flag; }, kHourMs), WaitResult::Done);
        QCOMPARE(inner, WaitResult::TimedOut);
        break;
    case Beside::AroundLonger:
        QTimer::singleShot(0, [&] {
            bool innerFlag = false;
            QTimer::singleShot(5, [&] { innerFlag = true; });
            inner = WaitUntil([&] { return innerFlag; }, kHourMs);
            flag = true;
        });
        QCOMPARE(WaitUntil([] { return false; }, 50), WaitResult::TimedOut);
        QVERIFY(flag);
        QCOMPARE(inner, WaitResult::Done);
        break;
    }
}

void TestPlatform::timerPeriodZeroGivesNoTicks()
{
    Timer t;
    int ticks = 0;
    connect(&t, &Timer::timeout, [&] { ++ticks; });
    t.setInterval(0);
    t.start();
    QVERIFY(t.isActive());
    QVERIFY(otherTimerTicked());
    QCOMPARE(ticks, 0);
    t.setInterval(5);
    QCOMPARE(WaitUntil([&] { return ticks > 0; }, kEventWaitMs), WaitResult::Done);
}

void TestPlatform::timerTicks()
{
    Timer t;
    int ticks = 0;
    int switchOns = 0;
    connect(&t, &Timer::timeout, [&] { ++ticks; });
    connect(&t, &Timer::switchedOn, [&] { ++switchOns; });
    t.setInterval(5);
    QVERIFY(otherTimerTicked());
    QCOMPARE(ticks, 0);   // off
    QCOMPARE(switchOns, 0);
    t.start();
    QCOMPARE(switchOns, 1);
    QCOMPARE(WaitUntil([&] { return ticks >= 3; }, kEventWaitMs), WaitResult::Done);
    t.stop();
    QVERIFY(!t.isActive());
    t.setActive(true);   // every switch-on is told, not only the first
    QCOMPARE(switchOns, 2);
}

void TestPlatform::optionCanBeUnchosen()
{
    QWidget frame;
    auto *layout = new QVBoxLayout(&frame);
    auto *a = new QRadioButton(&frame);
    auto *b = new QRadioButton(&frame);
    layout->addWidget(a);
    layout->addWidget(b);
    SetOption(a, true);
    SetOption(b, true);
    QVERIFY(!a->isChecked() && b->isChecked());
    SetOption(b, false);
    QVERIFY(!a->isChecked() && !b->isChecked());
    SetOption(a, true);   // still exclusive afterwards
    SetOption(b, true);
    QVERIFY(!a->isChecked() && b->isChecked());
}

void TestPlatform::upDownClamps()
{
    UpDown u;
    u.setMax(2);
    int changes = 0, ups = 0;
    connect(&u, &UpDown::Change, [&] { ++changes; });
    connect(&u, &UpDown::UpClick, [&] { ++ups; });
    for (int i = 0; i < 4; ++i)
        u.upButton()->click();
    QCOMPARE(u.Value(), 2);
    QCOMPARE(ups, 4);       // every click is reported
    QCOMPARE(changes, 2);   // the value changed twice
    u.setValue(2);
    QCOMPARE(changes, 2);
    u.setMax(1);
    QCOMPARE(u.Value(), 1);
}

void TestPlatform::lampsLightOnFirstStart()
{
    // A fresh program folder: the pictures are drawn after the first lamps
    // were made, and those lamps must still light.
    TestHome home;
    Lamp early;
    early.setLit(true);
    QCOMPARE(early.state(), -1);   // no picture yet: the lamp is left as it was
    EnsureLampPictures();
    QVERIFY(QFile::exists(home.file("OnLamp.bmp")) && QFile::exists(home.file("OffLamp.bmp")));
    early.setLit(true);
    QCOMPARE(early.state(), 1);
    Lamp later;
    QVERIFY(!later.pixmap().isNull());   // shows the off picture until set
    QCOMPARE(later.state(), -1);
}

void TestPlatform::boxTitles_data()
{
    QTest::addColumn<bool>("input");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("message without a title") << false << "" << "ZT260A/ZT460A";
    QTest::newRow("message with its own") << false << "zt260" << "zt260";
    QTest::newRow("input without a title") << true << "" << "ZT260A/ZT460A";
    QTest::newRow("input with its own") << true << " ZT260A/ZT460A" << " ZT260A/ZT460A";
}

void TestPlatform::boxTitles()
{
    QFETCH(bool, input);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    ScriptedDialogs dialogs;
    if (input)
        InputBox(QStringLiteral("Value?"), title);
    else
        MsgBox(QStringLiteral("Hello"), MsgButtons::Ok, title);
    QCOMPARE(dialogs.shown().size(), 1);
    QCOMPARE(dialogs.shown()[0].title, shown);
}

void TestPlatform::qtInputBoxKeepsRefusedText_data()
{
    QTest::addColumn<bool>("mended");   // else cancelled after the refusal
    QTest::newRow("mended") << true;
    QTest::newRow("cancelled") << false;
}

// The Qt input box's OK does not close it while the check refuses the text:
// the refusal is shown over it, and it stays open holding what was typed,
// so the operator can mend it or cancel.
void TestPlatform::qtInputBoxKeepsRefusedText()
{
    QFETCH(bool, mended);
    // The operator, as a script of steps: each acts on the modal window it
    // expects on top, queued so that the window's own loop runs it.
    QStringList seen;
    int step = 0;
    QElapsedTimer since;
    since.start();
    QTimer operatorHand;
    operatorHand.setInterval(10);
    QObject::connect(&operatorHand, &QTimer::timeout, [&] {
        QWidget *top = QApplication::activeModalWidget();
        if (!top)
            return;
        if (since.hasExpired(kEventWaitMs)) {
            // Never left open: a failing step must not hang the test.
            QMetaObject::invokeMethod(top, [top] { static_cast<QDialog *>(top)->reject(); }, Qt::QueuedConnection);
            return;
        }
        auto *box = qobject_cast<QInputDialog *>(top);
        auto *refusal = qobject_cast<QMessageBox *>(top);
        if (box && (step == 0 || step == 2)) {
            seen << QStringLiteral("input: ") + box->textValue();
            if (step == 0)
                box->setTextValue(QStringLiteral("12\n34"));
            else if (mended)
                box->setTextValue(QStringLiteral("1234"));
            const bool ok = step == 0 || mended;
            QMetaObject::invokeMethod(box, [box, ok] { ok ? box->accept() : box->reject(); }, Qt::QueuedConnection);
            ++step;
        } else if (refusal && step == 1) {
            seen << QStringLiteral("refusal: ") + refusal->windowTitle() + u' ' + refusal->text();
            QMetaObject::invokeMethod(refusal, [refusal] { refusal->accept(); }, Qt::QueuedConnection);
            ++step;
        }
    });
    operatorHand.start();

    const QString answer = InputBox(QStringLiteral("Value?"), {}, QStringLiteral("old"), [](const QString &text) {
        return text.contains(u'\n') ? QStringLiteral("No line break.") : QString();
    });

    QCOMPARE(seen, (QStringList{"input: old", "refusal: ZT260A/ZT460A No line break.", "input: 12\n34"}));
    QCOMPARE(answer, mended ? QStringLiteral("1234") : QString());
}

void TestPlatform::filtersSkipUnusableControls_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("usable");
    QTest::newRow("in use") << "in use" << true;
    QTest::newRow("its window not shown yet") << "window not shown" << true;
    QTest::newRow("greyed") << "greyed" << false;
    QTest::newRow("in a greyed frame") << "greyed frame" << false;
    QTest::newRow("hidden") << "hidden" << false;
    QTest::newRow("in a hidden frame") << "hidden frame" << false;
}

// The operator's input at a control he cannot use reaches no filter on it,
// and the control takes none of it itself; what happens to the control
// (greyed, hidden) still reaches the filter, which may have to end
// something begun.
void TestPlatform::filtersSkipUnusableControls()
{
    QFETCH(QString, state);
    QFETCH(bool, usable);
    QList<QEvent::Type> seen;   // outlives the window, whose end the filter sees
    QWidget window;
    auto *frame = new QWidget(&window);
    auto *layout = new QVBoxLayout(frame);
    auto *box = new QLineEdit(frame);
    layout->addWidget(box);
    new QVBoxLayout(&window);
    window.layout()->addWidget(frame);
    WatchControl(box, [&](QEvent *event) {
        seen << event->type();
        return event->type() == QEvent::ContextMenu;   // no menu to wait on
    });
    if (state != u"window not shown") {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    if (state == u"greyed")
        box->setEnabled(false);
    else if (state == u"greyed frame")
        frame->setEnabled(false);
    else if (state == u"hidden")
        box->hide();
    else if (state == u"hidden frame")
        frame->hide();
    seen.clear();

    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseDClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_5, Qt::NoModifier);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(1, 1), box->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(box, &menu);
    for (QEvent::Type input : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                               QEvent::KeyPress, QEvent::KeyRelease, QEvent::ContextMenu})
        QVERIFY2(seen.contains(input) == usable, qPrintable(QString::number(int(input))));
    QCOMPARE(box->text(), usable ? QStringLiteral("5") : QString());

    seen.clear();
    QWidget *greyed = state == u"greyed frame" ? frame : box;
    greyed->setEnabled(!greyed->isEnabled());
    QVERIFY(seen.contains(QEvent::EnabledChange));
}

void TestPlatform::scrollAreaLeavesKeysAlone_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Up") << int(Qt::Key_Up);
    QTest::newRow("Page Down") << int(Qt::Key_PageDown);
    QTest::newRow("Page Up") << int(Qt::Key_PageUp);
}

// A window smaller than its contents scrolls by its scroll bars and the
// wheel; a key the text box with the focus leaves goes on to the window,
// and the view stays.
void TestPlatform::scrollAreaLeavesKeysAlone()
{
    QFETCH(int, key);
    KeyWindow w;
    auto *box = new QVBoxLayout;
    QList<QLineEdit *> boxes;
    for (int i = 0; i < 40; ++i) {
        boxes << new QLineEdit(QStringLiteral("Box %1").arg(i));
        box->addWidget(boxes.last());
    }
    QScrollArea *area = FitToScreen(&w, box);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(300, 200);
    QScrollBar *bar = area->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QLineEdit *focused = boxes[20];
    focused->setFocus();
    area->ensureWidgetVisible(focused);
    QTRY_VERIFY(focused->hasFocus());
    const int at = bar->value();
    QVERIFY(at > 0 && at < bar->maximum());

    QTest::keyClick(focused, Qt::Key(key));
    QCOMPARE(bar->value(), at);
    QCOMPARE(w.keys, QList<int>{key});

    // The wheel still scrolls.
    const QPoint middle = area->viewport()->rect().center();
    QWheelEvent wheel(middle, area->viewport()->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(area->viewport(), &wheel);
    QVERIFY(bar->value() > at);
}

void TestPlatform::runtimeFolderForQt_data()
{
    QTest::addColumn<QString>("named");   // what XDG_RUNTIME_DIR holds: a name in the temporary folder
    QTest::addColumn<int>("mode");        // the folder made there first; -1 none, -2 a file
    QTest::addColumn<bool>("kept");
    QTest::newRow("unset") << QString() << -1 << false;
    QTest::newRow("no such folder") << "missing" << -1 << false;
    QTest::newRow("a file") << "file" << -2 << false;
    QTest::newRow("open to others") << "open" << 0755 << false;
    QTest::newRow("the user's own") << "own" << 0700 << true;
}

// Before Qt starts, XDG_RUNTIME_DIR names a folder Qt takes as it is: Qt
// then says nothing about it.
void TestPlatform::runtimeFolderForQt()
{
    QFETCH(QString, named);
    QFETCH(int, mode);
    QFETCH(bool, kept);
    const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = named.isEmpty() ? QString() : dir.filePath(named);
    if (mode == -2) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (mode >= 0) {
        QVERIFY(QDir().mkdir(path));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
    }
    if (path.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path));

    const QString folder = EnsureRuntimeFolder();
    QCOMPARE(qEnvironmentVariable("XDG_RUNTIME_DIR"), folder);
    QCOMPARE(folder == path, kept);
    QVERIFY(RuntimeFolderUsable(folder));

    // What Qt says while it looks the folder up.
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &m) { warnings << m; });
    const QString location = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    qInstallMessageHandler(previous);
    QCOMPARE(warnings, QStringList());
    QCOMPARE(location, folder);

    if (wasSet)
        qputenv("XDG_RUNTIME_DIR", before);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
