// Layout against the font and a 1280 x 800 screen, at the default font and
// at one and a half times its size: every value box at least as wide as the
// widest text it can hold, the parameter grid's columns wide enough for
// their values, every window no larger than the screen and every control
// within reach, the editors' in-place pickers within their columns, and the
// windows placed control by control grown as one with the font.
//
// The widest texts and the widths they need are worked out here from the
// font and the style, as a line edit, a cell or a drop-down box draws them,
// not taken from the code that sizes the windows.

#include "ProgramState.h"
#include "ScaledFont.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "Waits.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmTitleEdit.h"
#include "params/ParamDatabase.h"
#include "params/frmDataGrid1.h"
#include "params/frmScaleSetup.h"
#include "platform/DataControl.h"
#include "platform/DataGrid.h"
#include "platform/PickerBox.h"
#include "program/ProgramLayout.h"
#include "program/ProgramTable.h"
#include "program/frmEditAct.h"
#include "program/frmEditActMain.h"
#include "program/frmPrgEdit.h"
#include "program/frmQuestion.h"
#include "program/frmPrgEdit2.h"
#include "shared/Shared.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTemporaryDir>
#include <QWidgetItem>
#include <QtTest>

#include <cmath>

namespace {

// The screen of the test and the largest a window may need: its width, and
// its height less 40 px for a title bar.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;
const QSize kLargestWindow(1280, 760);

const double kScales[] = {1.0, 1.5};

QString scaleName(double scale)
{
    return scale == 1.0 ? QStringLiteral("default font") : QStringLiteral("1.5 x font");
}

// Every digit in every place: the widest a number of that shape can look.
QStringList digits(const QStringList &shapes)
{
    QStringList out;
    for (const QString &shape : shapes)
        for (char c = '0'; c <= '9'; ++c) {
            QString t = shape;
            for (QChar &ch : t)
                if (ch.isDigit())
                    ch = QLatin1Char(c);
            out << t;
        }
    return out;
}

// Ten of each character an I/O title may hold.
QStringList titleTexts()
{
    QStringList out;
    for (char c = ' '; c <= '~'; ++c)
        if (c != '"')
            out << QString(10, QLatin1Char(c));
    return out;
}

// The narrowest a line edit can be and still draw `text` without scrolling
// it: the text and one pixel, two pixels inside the contents on either side,
// the text margins, and the frame the style puts around it for its size.
int lineEditNeeds(const QLineEdit *box, const QString &text)
{
    const QFontMetricsF fm(box->font());
    const QMargins tm = box->textMargins();
    const QMargins cm = box->contentsMargins();
    const int contents = int(std::ceil(fm.horizontalAdvance(text))) + 1 + 2 * 2 + tm.left() + tm.right();
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.state |= QStyle::State_Sunken;
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(contents, int(fm.height())), box).width()
           + cm.left() + cm.right();
}

// A table cell draws its text between two margins and its grid line.
int cellNeeds(const QTableView *view, const QString &text)
{
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
    return QFontMetrics(view->font()).horizontalAdvance(text) + margins;
}

// A closed drop-down box showing `text` beside its arrow.
int pickerNeeds(const QComboBox *box, const QString &text)
{
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = false;
    opt.frame = true;
    const QFontMetrics fm(box->font());
    const QSize contents(fm.horizontalAdvance(text), fm.height());
    return box->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, contents, box).width();
}

QSize smallestSize(const QWidget *w)
{
    return w->minimumSize().expandedTo(w->minimumSizeHint());
}

// What a layout can squeeze a box to.
int squeezedWidth(QWidget *w)
{
    return QWidgetItem(w).minimumSize().width();
}

enum class Win { Main, Io, Editor4, Editor2, ParamGrid, Scale, Download, Upload };

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void boxesHoldTheirWidestTexts_data();
    void boxesHoldTheirWidestTexts();
    void parameterColumnsHoldTheirValues_data();
    void parameterColumnsHoldTheirValues();
    void windowsFitTheScreen_data();
    void windowsFitTheScreen();
    void ioWindowNeedsNoScrolling_data();
    void ioWindowNeedsNoScrolling();
    void scrolledWindowsLeaveKeysAlone_data();
    void scrolledWindowsLeaveKeysAlone();
    void pickerStaysInItsColumn_data();
    void pickerStaysInItsColumn();
    void placedWindowsGrowWithTheFont_data();
    void placedWindowsGrowWithTheFont();
    void questionShowsItsCaptionsWhole_data();
    void questionShowsItsCaptionsWhole();

private:
    bool setScale(double scale);
    QWidget *openWindow(Win win);
    void chooseUnit(int axis, int unit, const QString &factor);

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
    QFont m_font;
};

void TestLayout::init()
{
    m_font = QApplication::font();
    ResetProgramState();
    SetStartValues();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
}

void TestLayout::cleanup()
{
    delete m_main;   // takes the windows it owns with it
    m_main = nullptr;
    CloseProgramTables();
    CloseDatabase(ParamDatabasePath());
    delete m_dialogs;
    delete m_home;
    QApplication::setFont(m_font);
}

// The application's font at `scale` times its size, once it has reached the
// main window (a font change reaches the windows by posted events).
bool TestLayout::setScale(double scale)
{
    const QFont font = ScaledFont(m_font, scale);
    QApplication::setFont(font);
    QCoreApplication::sendPostedEvents();
    return QTest::qWaitFor([this, font] { return m_main->Text1->font() == font; }, kEventWaitMs);
}

QWidget *TestLayout::openWindow(Win win)
{
    QWidget *w = nullptr;
    switch (win) {
    case Win::Main:
        m_main->show();
        w = m_main;
        break;
    case Win::Io:
        m_main->Command1->click();
        w = IoWindow();
        break;
    case Win::Editor4:
        g.UnitModel = QStringLiteral("4");
        m_main->Command4->click();
        w = PrgEdit2Window();
        break;
    case Win::Editor2:
        g.UnitModel = QStringLiteral("2");
        m_main->Command4->click();
        w = PrgEditWindow();
        break;
    case Win::ParamGrid:
        m_main->Command5->click();
        w = DataGridWindow();
        break;
    case Win::Scale: w = ShowScaleSetupWindow(); break;
    case Win::Download: w = ShowSendPrg(0); break;
    case Win::Upload: w = ShowRecvPrg(0); break;
    }
    if (w && !QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

// The unit of an axis chosen in the scale window, as the operator would.
void TestLayout::chooseUnit(int axis, int unit, const QString &factor)
{
    frmScaleSetup *s = ShowScaleSetupWindow();
    QVERIFY(s);
    (*s->options(axis))[size_t(unit)]->click();
    (*s->boxes(axis))[size_t(unit)]->setText(factor);
    s->OkButton->click();
    QTRY_VERIFY(!ScaleSetupWindow());
}

// ---- value boxes -----------------------------------------------------------

void TestLayout::boxesHoldTheirWidestTexts_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("unit");          // unit chosen for the box's axis first (0 Pulse)
    QTest::addColumn<QString>("factor");    // with this factor
    QTest::addColumn<QStringList>("texts");

    const QStringList position = digits({"-2147483648"});
    struct Row {
        const char *name;
        const char *box;
        int unit;
        const char *factor;
        QStringList texts;
    };
    const QList<Row> rows = {
        {"X position, Pulse", "Text1", 0, "", position},
        {"U position, Pulse", "Text4", 0, "", position},
        {"X position, 0.001 mm", "Text1", 1, "0.001", digits({"-2147483.648"})},
        {"Y position, factor 1000", "Text2", 2, "1000", digits({"-2147483648000"})},
        {"X speed", "Text5", 0, "", position},
        {"U speed", "Text8", 0, "", position},
        {"X preset amount, Pulse", "Text9", 0, "", digits({"9999999.999", "2147483647"})},
        {"Z preset amount, factor 1000", "Text11", 2, "1000", digits({"9999999.999", "2147483647000"})},
        {"Y manual speed", "Text14", 0, "", digits({"8000", " 8000"})},
        {"X running register", "Text17", 0, "", digits({"-32768"})},
        {"U running register", "Text20", 0, "", digits({"-32768"})},
        {"start register", "RegNo", 0, "", digits({"1999"})},
        {"scale window X mm factor", "scale:X:1", 0, "", digits({"0.0000001"})},
        {"scale window U inch factor", "scale:U:3", 0, "", digits({"0.0000001"})},
        {"scale window, a long stored factor", "scale:Y:2", 2, "0.0000393700787", {"0.0000393700787"}},
        {"I/O title entry", "title", 0, "", titleTexts()},
        {"download X From", "send:X:From", 0, "", digits({"20000"})},
        {"download U To", "send:U:To", 0, "", digits({"20000"})},
        {"upload Y From", "recv:Y:From", 0, "", digits({"20000"})},
        {"upload Z To", "recv:Z:To", 0, "", digits({"20000"})},
    };
    for (double scale : kScales)
        for (const Row &r : rows)
            QTest::addRow("%s, %s", r.name, qPrintable(scaleName(scale)))
                << scale << QString::fromLatin1(r.box) << r.unit << QString::fromLatin1(r.factor) << r.texts;
}

void TestLayout::boxesHoldTheirWidestTexts()
{
    QFETCH(double, scale);
    QFETCH(QString, box);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QStringList, texts);

    // The main window is laid out at the default font; a larger font
    // reaches it afterwards, as a change of the system's font would.
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    QVERIFY(setScale(scale));
    const QStringList parts = box.split(u':');
    const int axis = parts.size() > 1 ? int(QStringLiteral("XYZU").indexOf(parts[1])) : -1;
    if (unit > 0) {
        const int unitAxis = axis >= 0 ? axis : int((box.mid(4).toInt() - 1) % 4);
        chooseUnit(unitAxis, unit, factor);
    }

    QLineEdit *edit = nullptr;
    QWidget *window = m_main;
    if (parts[0] == u"scale") {
        frmScaleSetup *s = ShowScaleSetupWindow();
        QVERIFY(s);
        edit = (*s->boxes(axis))[size_t(parts[2].toInt())];
        window = s;
    } else if (parts[0] == u"title") {
        auto *t = new frmTitleEdit(m_main);   // the main window takes it with it
        t->show();
        edit = t->Text1;
        window = t;
    } else if (parts[0] == u"send" || parts[0] == u"recv") {
        TransferWindow *t = parts[0] == u"send" ? static_cast<TransferWindow *>(ShowSendPrg(0)) : ShowRecvPrg(0);
        QVERIFY(t);
        edit = parts[2] == u"From" ? t->Text1[size_t(axis)] : t->Text2[size_t(axis)];
        window = t;
    } else {
        edit = m_main->findChild<QLineEdit *>(box);
    }
    QVERIFY(edit);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(edit->font().pointSizeF(), QApplication::font().pointSizeF());

    // The window at its smallest: the box keeps its width.
    window->resize(smallestSize(window));
    QTRY_COMPARE(window->size(), smallestSize(window));
    const int squeezed = squeezedWidth(edit);
    for (const QString &text : texts) {
        const int needs = lineEditNeeds(edit, text);
        QVERIFY2(squeezed >= needs, qPrintable(QStringLiteral("%1 can be squeezed to %2 px; \"%3\" needs %4 px")
                                                   .arg(box).arg(squeezed).arg(text).arg(needs)));
        QVERIFY2(edit->width() >= needs, qPrintable(QStringLiteral("%1 is %2 px wide; \"%3\" needs %4 px")
                                                        .arg(box).arg(edit->width()).arg(text).arg(needs)));
    }
}

// ---- parameter grid ---------------------------------------------------------

void TestLayout::parameterColumnsHoldTheirValues_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("offsetFactor");   // mm factor of every axis, OFS shown in mm
    QTest::addColumn<QStringList>("texts");

    const QStringList modeTexts = {"Instant", "Slow", "Low", "High", "Disable", "Enable"};
    const QStringList homeTexts = {"1", "2", "3", "Low", "High", "Disable", "-", "+", "Enable"};
    const QStringList paramTexts = digits({"65535", "-8388608"});
    for (double scale : kScales) {
        const QString s = scaleName(scale);
        QTest::addRow("Mode, X-axis, %s", qPrintable(s)) << scale << int(GridTab::Mode) << 1 << QString() << modeTexts;
        QTest::addRow("Home Search, U-axis, %s", qPrintable(s))
            << scale << int(GridTab::HomeSearch) << 4 << QString() << homeTexts;
        QTest::addRow("Parameter, X-axis, Pulse, %s", qPrintable(s))
            << scale << int(GridTab::Parameter) << 1 << QString() << paramTexts;
        QTest::addRow("Parameter, Z-axis, 0.001 mm, %s", qPrintable(s))
            << scale << int(GridTab::Parameter) << 3 << QStringLiteral("0.001") << digits({"-8388.608", "65535"});
        QTest::addRow("Parameter, Y-axis, factor 0.0254, %s", qPrintable(s))
            << scale << int(GridTab::Parameter) << 2 << QStringLiteral("0.0254") << digits({"-213070.6432"});
    }
}

void TestLayout::parameterColumnsHoldTheirValues()
{
    QFETCH(double, scale);
    QFETCH(int, tab);
    QFETCH(int, col);
    QFETCH(QString, offsetFactor);
    QFETCH(QStringList, texts);

    QVERIFY(setScale(scale));
    if (!offsetFactor.isEmpty())
        for (int a = 0; a < kAxes; ++a) {
            g.ScaleSel[size_t(a)] = 1;
            g.ScaleFactor[1][size_t(a)] = offsetFactor;
        }
    auto *w = qobject_cast<frmDataGrid1 *>(openWindow(Win::ParamGrid));
    QVERIFY(w);
    DataGrid *grid = w->grid(GridTab(tab));
    w->SSTab1->setCurrentIndex(tab);
    QTRY_VERIFY(grid->isVisible());

    for (const QString &text : texts) {
        const int needs = cellNeeds(grid, text);
        QVERIFY2(grid->columnWidth(col) >= needs, qPrintable(QStringLiteral("column %1 is %2 px; \"%3\" needs %4 px")
                                                                 .arg(col).arg(grid->columnWidth(col)).arg(text)
                                                                 .arg(needs)));
    }
    // Every row title shows whole, and every row is as high as its text.
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QString title = grid->CellText(r, 0);
        QVERIFY2(grid->columnWidth(0) >= cellNeeds(grid, title),
                 qPrintable(QStringLiteral("title \"%1\" needs %2 px of %3").arg(title)
                                .arg(cellNeeds(grid, title)).arg(grid->columnWidth(0))));
        QVERIFY2(grid->rowHeight(r) >= QFontMetrics(grid->font()).height() + 2,
                 qPrintable(QStringLiteral("row %1 is %2 px high").arg(r).arg(grid->rowHeight(r))));
    }
    // The whole grid lies within its page.
    QVERIFY(grid->parentWidget()->rect().contains(grid->geometry()));
    QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
}

// ---- windows ------------------------------------------------------------------

void TestLayout::windowsFitTheScreen_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("window");
    const QList<std::pair<const char *, Win>> windows = {
        {"main window", Win::Main},          {"I/O window", Win::Io},
        {"4-axis editor", Win::Editor4},     {"2-axis editor", Win::Editor2},
        {"parameter grid", Win::ParamGrid},  {"scale window", Win::Scale},
        {"download window", Win::Download},  {"upload window", Win::Upload},
    };
    for (double scale : kScales)
        for (const auto &[name, win] : windows)
            QTest::addRow("%s, %s", name, qPrintable(scaleName(scale))) << scale << int(win);
}

void TestLayout::windowsFitTheScreen()
{
    QFETCH(double, scale);
    QFETCH(int, window);

    QVERIFY(setScale(scale));
    QWidget *w = openWindow(Win(window));
    QVERIFY(w);
    const QRect available = w->screen()->availableGeometry();
    QCOMPARE(w->screen()->geometry().size(), QSize(kScreenWidth, kScreenHeight));

    const QSize smallest = smallestSize(w);
    QVERIFY2(smallest.width() <= kLargestWindow.width() && smallest.height() <= kLargestWindow.height(),
             qPrintable(QStringLiteral("needs at least %1 x %2").arg(smallest.width()).arg(smallest.height())));
    QVERIFY2(available.contains(w->frameGeometry()),
             qPrintable(QStringLiteral("opened at %1,%2 %3 x %4")
                            .arg(w->frameGeometry().x()).arg(w->frameGeometry().y())
                            .arg(w->frameGeometry().width()).arg(w->frameGeometry().height())));

    // Every control lies within the window, or in contents that scroll
    // (whose scroll area lies within the window).
    for (QWidget *c : w->findChildren<QWidget *>()) {
        if (!c->isVisibleTo(w) || !(qobject_cast<QAbstractButton *>(c) || qobject_cast<QLineEdit *>(c)
                                    || qobject_cast<QComboBox *>(c) || qobject_cast<QAbstractScrollArea *>(c)))
            continue;
        bool scrolls = false;
        for (QWidget *p = c->parentWidget(); p && p != w; p = p->parentWidget())
            if (auto *area = qobject_cast<QAbstractScrollArea *>(p->parentWidget()); area && area->viewport() == p)
                scrolls = true;
        if (scrolls)
            continue;
        const QRect at(c->mapTo(w, QPoint(0, 0)), c->size());
        QVERIFY2(w->rect().contains(at), qPrintable(QStringLiteral("%1 \"%2\" at %3,%4 %5 x %6 is out of reach")
                                                        .arg(QLatin1String(c->metaObject()->className()))
                                                        .arg(c->objectName()).arg(at.x()).arg(at.y())
                                                        .arg(at.width()).arg(at.height())));
    }

    // Shown again after it was left partly off the screen, it comes back.
    w->hide();
    w->move(available.right() - 50, available.bottom() - 50);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY2(available.contains(w->frameGeometry()),
             qPrintable(QStringLiteral("shown again at %1,%2").arg(w->frameGeometry().x()).arg(w->frameGeometry().y())));

    // Where the screen has room for the whole contents, nothing scrolls.
    for (QScrollArea *area : w->findChildren<QScrollArea *>()) {
        if (!area->widget() || area->window() != w)
            continue;
        const QSize chrome = w->size() - area->viewport()->size();
        const QSize needs = smallestSize(area->widget()) + chrome;
        if (needs.width() > available.width() || needs.height() > available.height())
            continue;
        QTRY_COMPARE(area->horizontalScrollBar()->maximum(), 0);
        QTRY_COMPARE(area->verticalScrollBar()->maximum(), 0);
    }
}

void TestLayout::ioWindowNeedsNoScrolling_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("4-axis unit") << "4";
    QTest::newRow("2-axis unit") << "2";
}

// At the default font the whole I/O window, every lamp and title, Name
// Change and Exit, fits the screen: nothing needs scrolling to.
void TestLayout::ioWindowNeedsNoScrolling()
{
    QFETCH(QString, model);
    g.UnitModel = model;
    QWidget *w = openWindow(Win::Io);
    QVERIFY(w);
    auto *area = w->findChild<QScrollArea *>();
    QVERIFY(area && area->widget());
    const QSize chrome = w->size() - area->viewport()->size();
    const QSize needs = smallestSize(area->widget()) + chrome;
    QVERIFY2(needs.width() <= kLargestWindow.width() && needs.height() <= kLargestWindow.height(),
             qPrintable(QStringLiteral("the contents need %1 x %2").arg(needs.width()).arg(needs.height())));
    QVERIFY(w->width() >= needs.width() && w->height() >= needs.height());
    QTRY_COMPARE(area->horizontalScrollBar()->maximum(), 0);
    QTRY_COMPARE(area->verticalScrollBar()->maximum(), 0);
    // Name Change and Exit in sight.
    for (QWidget *c : {static_cast<QWidget *>(IoWindow()->Check1), static_cast<QWidget *>(IoWindow()->Command1)})
        QVERIFY(w->rect().contains(QRect(c->mapTo(w, QPoint(0, 0)), c->size())));
}

void TestLayout::scrolledWindowsLeaveKeysAlone_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("key");
    QTest::newRow("main window, Down in X preset amount") << int(Win::Main) << int(Qt::Key_Down);
    QTest::newRow("main window, Page Down in X preset amount") << int(Win::Main) << int(Qt::Key_PageDown);
    QTest::newRow("scale window, Down in a factor box") << int(Win::Scale) << int(Qt::Key_Down);
}

// A window made smaller than its contents scrolls; a key that the box with
// the focus has no use for leaves the view where it is.
void TestLayout::scrolledWindowsLeaveKeysAlone()
{
    QFETCH(int, window);
    QFETCH(int, key);
    QWidget *w = openWindow(Win(window));
    QVERIFY(w);
    QWidget *control = nullptr;
    switch (Win(window)) {
    case Win::Main: control = m_main->findChild<QLineEdit *>(QStringLiteral("Text9")); break;
    default: control = (*ScaleSetupWindow()->boxes(0))[1]; break;
    }
    QVERIFY(control);
    w->resize(240, 160);
    auto *area = w->findChild<QScrollArea *>();
    QVERIFY(area);
    QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
    area->ensureWidgetVisible(control);
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());
    const QPoint at(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    QVERIFY(at.y() < area->verticalScrollBar()->maximum());   // there is room to scroll down
    QTest::keyClick(control, Qt::Key(key));
    QCOMPARE(QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()), at);
}

// ---- in-place pickers ---------------------------------------------------------

void TestLayout::pickerStaysInItsColumn_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("axes");
    QTest::addColumn<int>("col");
    const QList<std::pair<const char *, int>> cols4 = {{"X CMD", 1}, {"X SPD", 3}, {"X TIM", 4}, {"Y CMD", 6},
                                                       {"Z CMD", 12}, {"U CMD", 17}, {"U TIM", 20}};
    const QList<std::pair<const char *, int>> cols2 = {{"X CMD", 1}, {"X SPD", 3}, {"Y CMD", 6}, {"Y TIM", 9}};
    for (double scale : kScales) {
        for (const auto &[name, col] : cols4)
            QTest::addRow("4-axis %s, %s", name, qPrintable(scaleName(scale))) << scale << 4 << col;
        for (const auto &[name, col] : cols2)
            QTest::addRow("2-axis %s, %s", name, qPrintable(scaleName(scale))) << scale << 2 << col;
    }
}

void TestLayout::pickerStaysInItsColumn()
{
    QFETCH(double, scale);
    QFETCH(int, axes);
    QFETCH(int, col);

    QVERIFY(setScale(scale));
    QWidget *w = openWindow(axes == 4 ? Win::Editor4 : Win::Editor2);
    QVERIFY(w);
    auto *grid = w->findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
    QVERIFY(grid);
    auto *editor = static_cast<ProgramEditorWindow *>(w);
    // The first activation writes the headers.
    QVERIFY(QTest::qWaitFor([grid] { return grid->model()->headerData(2, Qt::Horizontal).toString().contains("DATA"); },
                            kEventWaitMs));

    constexpr int reg = 5;
    const int row = RowOfRegister(reg);
    grid->scrollTo(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, editor->cellRect(row, col).center());

    PickerBox *shown = nullptr;
    QTRY_VERIFY([&] {
        for (PickerBox *p : grid->viewport()->findChildren<PickerBox *>())
            if (p->isVisible())
                shown = p;
        return shown != nullptr;
    }());
    const QRect cell = editor->cellRect(row, col);
    const QRect at = shown->geometry();
    QVERIFY2(at.left() >= cell.left() && at.right() <= cell.right(),
             qPrintable(QStringLiteral("the picker spans %1..%2, its column %3..%4")
                            .arg(at.left()).arg(at.right()).arg(cell.left()).arg(cell.right())));
    // Within its column it still shows whole each item it can store; the
    // empty choice stores an empty cell, which the closed box then shows.
    for (int i = 0; i < shown->ListCount(); ++i) {
        if (shown->List(i) == u"(NULL)" || shown->List(i) == u"(NUL)")
            continue;
        const int needs = pickerNeeds(shown, shown->List(i));
        QVERIFY2(at.width() >= needs, qPrintable(QStringLiteral("\"%1\" needs %2 px of %3")
                                                      .arg(shown->List(i)).arg(needs).arg(at.width())));
    }
}

// ---- windows placed control by control -----------------------------------------

void TestLayout::placedWindowsGrowWithTheFont_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<bool>("fontFirst");   // the font is set before the window opens
    for (double scale : kScales)
        for (bool expanded : {false, true})
            for (bool fontFirst : {true, false})
                QTest::addRow("%s block copy, %s, %s", expanded ? "expanded" : "normal", qPrintable(scaleName(scale)),
                              fontFirst ? "font set before opening" : "font changed while open")
                    << scale << expanded << fontFirst;
}

// The block copy windows stand control by control where their design put
// them: at a larger font every register box still shows four digits whole,
// every caption shows whole, nothing overlaps, and the window fits the
// screen; at the default font the design's size stays.
void TestLayout::placedWindowsGrowWithTheFont()
{
    QFETCH(double, scale);
    QFETCH(bool, expanded);
    QFETCH(bool, fontFirst);

    if (fontFirst)
        QVERIFY(setScale(scale));
    QWidget *w = expanded ? static_cast<QWidget *>(ShowEditAct()) : ShowEditActMain();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QSize design = expanded ? QSize(334, 340) : QSize(378, 190);
    if (!fontFirst) {
        QCOMPARE(w->size(), design);
        QVERIFY(setScale(scale));
    }

    const QList<QLineEdit *> boxes = w->findChildren<QLineEdit *>();
    QCOMPARE(boxes.size(), expanded ? 12 : 3);
    const QStringList registers = digits({"0000"});
    auto boxesFit = [&] {
        for (QLineEdit *box : boxes)
            for (const QString &text : registers)
                if (box->font() != QApplication::font() || box->width() < lineEditNeeds(box, text)
                    || box->height() < QFontMetrics(box->font()).height() + 2)
                    return false;
        return true;
    };
    QTRY_VERIFY2(boxesFit(), "a register box cannot show four digits whole");
    for (QLabel *label : w->findChildren<QLabel *>()) {
        const QString caption = label->text().trimmed();
        QVERIFY2(label->width() >= QFontMetrics(label->font()).horizontalAdvance(caption)
                     && label->height() >= QFontMetrics(label->font()).height(),
                 qPrintable(QStringLiteral("\"%1\" is cut").arg(caption)));
    }
    for (QPushButton *button : w->findChildren<QPushButton *>())
        QVERIFY2(button->width() > QFontMetrics(button->font()).horizontalAdvance(button->text()),
                 qPrintable(button->text()));

    // Controls side by side, none over another.
    const QList<QWidget *> placed = w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < placed.size(); ++i)
        for (qsizetype j = i + 1; j < placed.size(); ++j)
            QVERIFY2(!placed[i]->geometry().intersects(placed[j]->geometry()),
                     qPrintable(QStringLiteral("%1 over %2").arg(placed[i]->objectName(), placed[j]->objectName())));

    QVERIFY(w->width() >= design.width() && w->height() >= design.height());
    QVERIFY(w->width() <= kLargestWindow.width() && w->height() <= kLargestWindow.height());
    if (scale == 1.0)
        QCOMPARE(w->size(), design);
    w->close();
}

void TestLayout::questionShowsItsCaptionsWhole_data()
{
    QTest::addColumn<double>("scale");
    for (double scale : kScales)
        QTest::newRow(qPrintable(scaleName(scale))) << scale;
}

void TestLayout::questionShowsItsCaptionsWhole()
{
    QFETCH(double, scale);
    QVERIFY(setScale(scale));
    QStringList cut;
    bool shown = false;
    m_dialogs->answerModal([&](QDialog &d) {
        auto *q = qobject_cast<frmQuestion *>(&d);
        if (!q)
            return;
        shown = true;
        const QList<std::pair<QWidget *, QString>> captions{{static_cast<QWidget *>(q->Label1), QStringLiteral("Label1")},
                                                            {static_cast<QWidget *>(q->Check1), QStringLiteral("Check1")}};
        for (const auto &[w, name] : captions) {
            const QSize hint = w->sizeHint();
            if (w->width() < hint.width() || w->height() < hint.height()
                || !q->rect().contains(w->geometry()))
                cut << name + QStringLiteral(" %1 x %2, needs %3 x %4")
                                             .arg(w->width()).arg(w->height()).arg(hint.width()).arg(hint.height());
        }
        q->NoBotton->click();
    });
    AskQuestion(QStringLiteral("Are you sure ?"), QStringLiteral("Not appear this confirmation since next time."));
    QVERIFY(shown);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

int main(int argc, char *argv[])
{
    // A 1280 x 800 screen for the offscreen platform, set before the
    // application exists.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write(QStringLiteral(R"({"screens":[{"name":"S","x":0,"y":0,"width":%1,"height":%2,)"
                           R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                .arg(kScreenWidth)
                .arg(kScreenHeight)
                .toUtf8());
    f.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestLayout test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_layout.moc"
