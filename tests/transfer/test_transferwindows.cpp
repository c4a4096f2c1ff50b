// The download and upload windows of the 4-axis unit and the progress
// dialog, offscreen: how the menus, the editor and the start-up open them,
// the range boxes and block buttons, what Start refuses, the whole road
// against the simulated unit with its closing message, and every way of
// cancelling, each giving the line and the monitor back.

#include "ProgramState.h"
#include "RawSql.h"
#include "TransferRig.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "program/frmPrgEdit2.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"
#include "transfer/frmMsgPrgDoUp.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

const QString kRefused = QStringLiteral("Value can't configure it.");

// The open transfer window of one kind.
TransferWindow *openWindow(bool download)
{
    return download ? static_cast<TransferWindow *>(SendPrgWindow()) : RecvPrgWindow();
}

TransferWindow *show(bool download, int Index)
{
    return download ? static_cast<TransferWindow *>(ShowSendPrg(Index)) : ShowRecvPrg(Index);
}

QString range(TransferWindow *w, int axis)
{
    return w->Text1[axis]->text() + u'-' + w->Text2[axis]->text();
}

} // namespace

class TestTransferWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void progressDialogTag();
    void menusOpenWindows_data();
    void menusOpenWindows();
    void editorAndStartUpOpenWindows();
    void rangeBoxes();
    void blockButtons_data();
    void blockButtons();
    void startRefuses_data();
    void startRefuses();
    void portClosed_data();
    void portClosed();
    void downloadRoad();
    void uploadRoad_data();
    void uploadRoad();
    void cancelWays_data();
    void cancelWays();
    void failureStopsLaterAxes();
    void downloadRefusedWhole_data();
    void downloadRefusedWhole();

private:
    // The window closed, the line free, the monitor on, no dialog left.
    void checkClosed(bool download);
    TransferRig *m_rig = nullptr;
};

void TestTransferWindows::init()
{
    m_rig = new TransferRig;
}

void TestTransferWindows::cleanup()
{
    delete m_rig;
    m_rig = nullptr;
}

void TestTransferWindows::checkClosed(bool download)
{
    QVERIFY(!openWindow(download));
    QVERIFY(!LineHeld());
    QVERIFY(m_rig->main->Timer1->isActive());
    QVERIFY(!MsgPrgDoUpWindow());
}

void TestTransferWindows::progressDialogTag()
{
    frmMsgPrgDoUp *d = LoadMsgPrgDoUp(QStringLiteral("ZT260A/ZT460A DownLoad"));
    QCOMPARE(d->windowTitle(), QStringLiteral("ZT260A/ZT460A DownLoad"));
    QCOMPARE(d->Label->text(), QStringLiteral("Label1"));
    auto buttons = [d] {
        return QList<bool>{d->RestartBotton->isEnabled(), d->StopBotton->isEnabled(), d->CancelBotton->isEnabled()};
    };
    QCOMPARE(d->Tag, QStringLiteral("0"));
    QCOMPARE(buttons(), (QList<bool>{false, true, false}));
    QVERIFY(!d->PauseRequested() && !d->CancelRequested());
    d->StopBotton->click();
    QCOMPARE(d->Tag, QStringLiteral("1"));
    QCOMPARE(buttons(), (QList<bool>{true, false, true}));
    QVERIFY(d->PauseRequested() && !d->CancelRequested());
    d->RestartBotton->click();
    QCOMPARE(d->Tag, QStringLiteral("0"));
    QCOMPARE(buttons(), (QList<bool>{false, true, false}));
    d->StopBotton->click();
    d->CancelBotton->click();
    QCOMPARE(d->Tag, QStringLiteral("9"));
    QVERIFY(d->CancelRequested() && !d->PauseRequested());

    // A new transfer starts from a freshly loaded dialog; closing it cancels.
    d = LoadMsgPrgDoUp(QStringLiteral("ZT260A/ZT460A UpLoad"));
    QCOMPARE(d->Tag, QStringLiteral("0"));
    d->show();
    d->close();
    QCOMPARE(d->Tag, QStringLiteral("9"));
    QCOMPARE(MsgPrgDoUpWindow(), d);
    d->Reached(2, 12);
    QTRY_COMPARE(d->Label->text(), QStringLiteral("Z axis : Reg No. 12"));
}

void TestTransferWindows::menusOpenWindows_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("Index");
    QTest::addColumn<QList<bool>>("offered");

    for (bool download : {true, false}) {
        const char *menu = download ? "download" : "upload";
        QTest::addRow("%s, All", menu) << download << 0 << QList<bool>{true, true, true, true};
        QTest::addRow("%s, X-axis", menu) << download << 1 << QList<bool>{true, false, false, false};
        QTest::addRow("%s, Y-axis", menu) << download << 2 << QList<bool>{false, true, false, false};
        QTest::addRow("%s, Z-Axis", menu) << download << 3 << QList<bool>{false, false, true, false};
        QTest::addRow("%s, U-Axis", menu) << download << 4 << QList<bool>{false, false, false, true};
    }
}

void TestTransferWindows::menusOpenWindows()
{
    QFETCH(bool, download);
    QFETCH(int, Index);
    QFETCH(QList<bool>, offered);

    frmMain &m = *m_rig->main;
    (download ? m.mnuZT260DoProgItem : m.mnuZT260UpProgitem)[size_t(Index)]->trigger();
    TransferWindow *w = openWindow(download);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), download ? QStringLiteral(" Download Program ") : QStringLiteral(" Upload Program "));
    for (int a = 0; a < kAxes; ++a) {
        QCOMPARE(w->Frame1[a]->isEnabled(), offered[a]);
        QCOMPARE(w->NoneOpt[a]->isChecked(), offered[a]);
        QVERIFY(!w->Text1[a]->isEnabled());
        QVERIFY(!w->Text2[a]->isEnabled());
        QVERIFY(!w->blockButton(a, 0)->isEnabled());
        QCOMPARE(w->Text1[a]->text(), QStringLiteral("0"));
        QCOMPARE(w->Label1[a]->text(), QStringLiteral("-"));
    }
    QCOMPARE(w->blockButton(3, 19)->text(), QStringLiteral("19"));
    // Nothing is sent yet; the window holds the line, the monitor runs.
    QVERIFY(w->HoldsLine());
    QCOMPARE(g.TransferBusy, 1);
    QVERIFY(m.Timer1->isActive());
    QVERIFY(!LoadedMessageWindow());
    QCOMPARE(m_rig->dialogs.texts(), QStringList());

    // Cancel gives everything back.
    w->Cancel_botton->click();
    checkClosed(download);
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
}

void TestTransferWindows::editorAndStartUpOpenWindows()
{
    QVERIFY(m_rig->connect());
    frmMain &m = *m_rig->main;
    m.Command4->click();
    frmPrgEdit2 *editor = PrgEdit2Window();
    QVERIFY(editor);
    editor->DownLoad->trigger();
    QVERIFY(SendPrgWindow());
    for (int a = 0; a < kAxes; ++a)
        QVERIFY(SendPrgWindow()->Frame1[a]->isEnabled());
    SendPrgWindow()->close();
    QVERIFY(!SendPrgWindow());
    editor->UpLoad->trigger();
    QVERIFY(RecvPrgWindow());
    RecvPrgWindow()->close();
    checkClosed(false);

    // "Upload PROGRAM?" answered Yes: the first activation opens the upload
    // window, once.
    MainWindow()->UploadProgramAtStart = true;
    m.Form_Activate();
    QVERIFY(!MainWindow()->UploadProgramAtStart);
    QVERIFY(RecvPrgWindow());
    QVERIFY(RecvPrgWindow()->Frame1[3]->isEnabled());
    RecvPrgWindow()->close();
    m.Form_Activate();
    QVERIFY(!RecvPrgWindow());
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
}

void TestTransferWindows::rangeBoxes()
{
    TransferWindow *w = show(true, 0);
    QVERIFY(w);
    w->SelectOpt[1]->click();
    QVERIFY(w->Text1[1]->isEnabled() && w->blockButton(1, 7)->isEnabled());
    QLineEdit *from = w->Text1[1];
    QLineEdit *to = w->Text2[1];

    // Only digits and Backspace; Enter sends nothing.
    from->selectAll();
    QTest::keyClicks(from, QStringLiteral("1a2-3"));
    QTest::keyClick(from, Qt::Key_Return);
    QCOMPARE(from->text(), QStringLiteral("123"));
    QTest::keyClick(from, Qt::Key_Backspace);
    QCOMPARE(from->text(), QStringLiteral("12"));
    QCOMPARE(TransferWindow::TransferFrom[1], int16_t(12));

    // 2000 is taken; 2001 is refused and the text at the last click comes back.
    QTest::mouseClick(to, Qt::LeftButton);
    QCOMPARE(TransferWindow::SavedToText[1], QStringLiteral("0"));
    to->setText(QStringLiteral("2000"));
    QCOMPARE(TransferWindow::TransferTo[1], int16_t(2000));
    QTest::mouseClick(to, Qt::LeftButton);
    to->setText(QStringLiteral("2001"));
    QCOMPARE(m_rig->dialogs.texts(), QStringList{kRefused + "\nA register box takes 0 to 2000, not \"2001\"."});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("zt260/460"));
    QCOMPARE(to->text(), QStringLiteral("2000"));
    QCOMPARE(TransferWindow::TransferTo[1], int16_t(2000));
    // Pasted text that is no number is refused the same way.
    to->setText(QStringLiteral("12a"));
    QCOMPARE(to->text(), QStringLiteral("2000"));
    // An emptied box stores nothing.
    to->clear();
    QCOMPARE(TransferWindow::TransferTo[1], int16_t(2000));

    // The other window shows the same ranges; a refused value there brings
    // back the text clicked in this one.
    to->setText(QStringLiteral("150"));
    w->Cancel_botton->click();
    TransferWindow *up = show(false, 2);
    QVERIFY(up);
    QCOMPARE(range(up, 1), QStringLiteral("12-150"));
    QCOMPARE(range(up, 0), QStringLiteral("0-0"));
    up->Text1[1]->setText(QStringLiteral("3000"));
    QCOMPARE(up->Text1[1]->text(), QString());   // never clicked into: the saved text is empty
    QCOMPARE(TransferWindow::TransferFrom[1], int16_t(12));
    up->Cancel_botton->click();

    // A new run of the program starts from 0 again.
    ResetProgramState();
    SetStartValues();
    up = show(false, 0);
    QCOMPARE(range(up, 1), QStringLiteral("0-0"));
    up->Cancel_botton->click();
}

void TestTransferWindows::blockButtons_data()
{
    QTest::addColumn<QList<int>>("clicks");   // axis * 100 + block
    QTest::addColumn<QStringList>("ranges");  // X and Y afterwards

    QTest::newRow("first click") << QList<int>{5} << QStringList{"500-599", "0-0"};
    QTest::newRow("second click lower") << QList<int>{5, 3} << QStringList{"300-599", "0-0"};
    QTest::newRow("second click higher") << QList<int>{5, 8} << QStringList{"500-899", "0-0"};
    QTest::newRow("second click on the same block") << QList<int>{5, 5} << QStringList{"500-599", "0-0"};
    QTest::newRow("third click starts anew") << QList<int>{5, 3, 7} << QStringList{"700-799", "0-0"};
    QTest::newRow("last block") << QList<int>{19} << QStringList{"1900-1999", "0-0"};
    QTest::newRow("another axis forgets the first click")
        << QList<int>{5, 102, 3} << QStringList{"300-399", "200-299"};
}

void TestTransferWindows::blockButtons()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, ranges);

    TransferWindow *w = show(true, 0);
    QVERIFY(w);
    w->SelectOpt[0]->click();
    w->SelectOpt[1]->click();
    for (int c : clicks)
        w->blockButton(c / 100, c % 100)->click();
    QCOMPARE(range(w, 0), ranges[0]);
    QCOMPARE(range(w, 1), ranges[1]);
    // The buttons act only while Select is chosen.
    w->AllOpt[0]->click();
    QVERIFY(!w->blockButton(0, 0)->isEnabled() && !w->Text1[0]->isEnabled());
    QCOMPARE(m_rig->dialogs.texts(), QStringList());
}

void TestTransferWindows::startRefuses_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("select");
    QTest::addColumn<QString>("line");   // the message's second line

    QTest::newRow("empty box of an axis on None") << "" << "5" << false << "The Z-Axis From box is empty.";
    QTest::newRow("From above To") << "20" << "10" << true << "Z-Axis: From 20 comes after To 10.";
    QTest::newRow("To 2000") << "1990" << "2000" << true << "Z-Axis: To 2000 is past the last register, 1999.";
}

// Nothing is sent and the window stays open for another try.
void TestTransferWindows::startRefuses()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, select);
    QFETCH(QString, line);

    QVERIFY(m_rig->connect());
    TransferWindow *w = show(true, 0);
    QVERIFY(w);
    w->AllOpt[0]->click();
    if (select)
        w->SelectOpt[2]->click();
    w->Text1[2]->setText(from);
    w->Text2[2]->setText(to);
    w->Start_botton->click();
    QCOMPARE(m_rig->dialogs.texts(), QStringList{kRefused + u'\n' + line});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("zt260/460"));
    QCOMPARE(openWindow(true), w);
    QVERIFY(w->Start_botton->isEnabled());
    QVERIFY(!MsgPrgDoUpWindow());
    QCOMPARE(m_rig->received(), QStringList());
    QVERIFY(w->HoldsLine());
}

void TestTransferWindows::portClosed_data()
{
    QTest::addColumn<bool>("download");
    QTest::newRow("download") << true;
    QTest::newRow("upload") << false;
}

void TestTransferWindows::portClosed()
{
    QFETCH(bool, download);
    TransferWindow *w = show(download, 0);
    QVERIFY(w);
    w->AllOpt[0]->click();
    QSignalSpy refresh(&m_rig->table, &ProgramTable::refreshRequested);
    w->Start_botton->click();
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"The port is not open."});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("ZT260A/ZT460A"));
    QCOMPARE(g.TransferResult, kResultPortClosed);
    QCOMPARE(refresh.count(), 0);
    checkClosed(download);
}

void TestTransferWindows::downloadRoad()
{
    QVERIFY(m_rig->connect());
    QVERIFY(m_rig->put(11, 0, {"JMP", "5", "", "", ""}));
    QVERIFY(m_rig->put(1999, 1, {"END", "", "", "", ""}));
    QVERIFY(m_rig->put(0, 2, {"INC", "1", "", "", ""}));
    TransferWindow *w = show(true, 0);
    QVERIFY(w);
    w->SelectOpt[0]->click();
    w->Text1[0]->setText(QStringLiteral("10"));
    w->Text2[0]->setText(QStringLiteral("12"));
    w->AllOpt[1]->click();
    // Z stays on None.
    bool lockedDuringTransfer = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (MsgPrgDoUpWindow())
            lockedDuringTransfer = !w->Start_botton->isEnabled() && !w->SelectOpt[0]->isEnabled()
                                   && !w->Text1[0]->isEnabled() && LineHeld();
    });
    probe.start(5);
    w->Start_botton->click();
    probe.stop();

    QVERIFY(lockedDuringTransfer);
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Download Complete!!"});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("Message"));
    QCOMPARE(g.TransferResult, 2000);
    const QStringList rx = m_rig->received();
    QCOMPARE(int(rx.size()), 3 + 2000);
    QCOMPARE(rx.mid(0, 3), (QStringList{"PRX 10,C0000000", "PRX 11,C1000005", "PRX 12,C0000000"}));
    QCOMPARE(rx.last(), QStringLiteral("PRY 1999,FF000000"));
    QCOMPARE(m_rig->sim->registerWord('Z', 0), std::optional<quint32>(0xC0000000));   // None: not sent
    checkClosed(true);
}

void TestTransferWindows::uploadRoad_data()
{
    QTest::addColumn<bool>("anyAxis");
    QTest::newRow("Y 3 to 5") << true;
    QTest::newRow("every axis on None") << false;
}

void TestTransferWindows::uploadRoad()
{
    QFETCH(bool, anyAxis);
    QVERIFY(m_rig->connect());
    m_rig->sim->control(QStringLiteral("reg Y 4 C10003E7"));
    QVERIFY(m_rig->sim->sync());
    QVERIFY(m_rig->put(4, 1, {"", "", "", "", "kept"}));
    TransferWindow *w = show(false, 0);
    QVERIFY(w);
    if (anyAxis) {
        w->SelectOpt[1]->click();
        w->Text1[1]->setText(QStringLiteral("3"));
        w->Text2[1]->setText(QStringLiteral("5"));
    }
    QSignalSpy refresh(&m_rig->table, &ProgramTable::refreshRequested);
    w->Start_botton->click();
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Upload Complete!!"});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("Message"));
    QCOMPARE(g.TransferResult, 0);
    QCOMPARE(refresh.count(), 1);
    const QStringList sent = anyAxis ? QStringList{"PRY 3", "PRY 4", "PRY 5"} : QStringList{};
    QCOMPARE(m_rig->received(), sent);
    const ClipRow y4 = anyAxis ? ClipRow{"JMP", "999", "", "", "kept"} : ClipRow{"", "", "", "", "kept"};
    QCOMPARE(m_rig->axis(4, 1), y4);
    checkClosed(false);
}

void TestTransferWindows::cancelWays_data()
{
    QTest::addColumn<bool>("download");
    QTest::addColumn<QString>("way");

    for (const char *way : {"Stop then Cancel", "the dialog's close box", "the window's close box", "Cancel button"})
        QTest::addRow("download, %s", way) << true << QString::fromLatin1(way);
    QTest::addRow("upload, Stop then Cancel") << false << QStringLiteral("Stop then Cancel");
}

// A cancel during axis Y: X stays transferred, Y stops, Z is not touched;
// "Cancel!" and the window gives everything back.
void TestTransferWindows::cancelWays()
{
    QFETCH(bool, download);
    QFETCH(QString, way);

    QVERIFY(m_rig->connect({"--delay", "10"}));
    TransferWindow *w = show(download, 0);
    QVERIFY(w);
    for (int a : {0, 1, 2}) {
        w->SelectOpt[a]->click();
        w->Text1[a]->setText(QStringLiteral("0"));
        w->Text2[a]->setText(a == 1 ? QStringLiteral("299") : QStringLiteral("2"));
    }
    QSignalSpy refresh(&m_rig->table, &ProgramTable::refreshRequested);
    bool acted = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (acted || m_rig->sim->rxLines().filter(QRegularExpression(QStringLiteral("^PRY"))).isEmpty())
            return;
        acted = true;
        frmMsgPrgDoUp *d = MsgPrgDoUpWindow();
        QVERIFY(d);
        if (way == u"Stop then Cancel" || way == u"the dialog's close box") {
            CancelInDialog(d, way == u"the dialog's close box");
        } else if (way == u"the window's close box") {
            w->close();
        } else {
            w->Cancel_botton->click();
        }
    });
    watch.start(1);
    w->Start_botton->click();
    watch.stop();

    QVERIFY(acted);
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Cancel!"});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("ZT260A/ZT460A"));
    QCOMPARE(g.TransferResult, kResultCancelled);
    const QStringList rx = m_rig->received();
    QCOMPARE(int(rx.filter(QRegularExpression(QStringLiteral("^PRX"))).size()), 3);
    const qsizetype y = rx.filter(QRegularExpression(QStringLiteral("^PRY"))).size();
    QVERIFY2(y >= 1 && y < 300, qPrintable(QString::number(y)));
    QVERIFY(rx.filter(QRegularExpression(QStringLiteral("^PR[ZU]"))).isEmpty());
    // The upload's stores are shown in an open editor even after a cancel.
    QCOMPARE(refresh.count(), download ? 0 : 1);
    checkClosed(download);
}

// A failure on Y register 1 of an upload of X, Y and Z 0 to 2: X is done,
// Y stops there, Z is never asked; the failure is named, and no completion
// is claimed. (A download refuses a register it cannot send before it sends
// anything: downloadRefusedWhole.)
void TestTransferWindows::failureStopsLaterAxes()
{
    QVERIFY(m_rig->connect());
    for (int reg = 0; reg <= 2; ++reg)
        m_rig->sim->control(QStringLiteral("reg Y %1 C1000001").arg(reg));
    QVERIFY(m_rig->sim->sync());
    RawSql(m_rig->table.FilePath(),
           {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Zt460Prg WHEN NEW.Pos = 1 "
                           "BEGIN SELECT RAISE(ABORT, 'register locked'); END")});
    TransferWindow *w = show(false, 0);
    QVERIFY(w);
    for (int a : {0, 1, 2}) {
        w->SelectOpt[a]->click();
        w->Text1[a]->setText(QStringLiteral("0"));
        w->Text2[a]->setText(QStringLiteral("2"));
    }
    w->Start_botton->click();

    QCOMPARE(m_rig->dialogs.texts(), QStringList{"ERROR :: Y axis / Reg No. 1"});
    QCOMPARE(g.TransferResult, 2002);
    const QStringList rx = m_rig->received();
    QCOMPARE(int(rx.filter(QRegularExpression(QStringLiteral("^PRX"))).size()), 3);
    QVERIFY(rx.filter(QRegularExpression(QStringLiteral("^PR[ZU]"))).isEmpty());
    QCOMPARE(m_rig->axis(0, 1), (ClipRow{"JMP", "1", "", "", ""}));
    QCOMPARE(m_rig->axis(1, 1), ClipRow{});
    checkClosed(false);
}

void TestTransferWindows::downloadRefusedWhole_data()
{
    QTest::addColumn<bool>("xAll");         // X on All, else X, Y, Z on Select 0 to 4
    QTest::addColumn<QList<int>>("bad");    // axis * 10000 + register of each register the codec refuses
    QTest::addColumn<QString>("text");
    const QString beyond = QStringLiteral("DATA \"99999999\" of INC cannot be sent: divided by the factor 1 of the "
                                          "axis's unit it is beyond the -8388608 to 8388607 pulses the unit takes.");
    QTest::newRow("in the middle of Y's range")
        << false << QList<int>{10002} << "ERROR :: Y axis / Reg No. 2\n" + beyond + "\nNothing was sent.";
    // U is not chosen and Y 7 lies past Y's range: neither is counted.
    QTest::newRow("more on Z, and some that are not sent")
        << false << QList<int>{10002, 20000, 20004, 30001, 10007}
        << "ERROR :: Y axis / Reg No. 2\n" + beyond + "\n2 more registers cannot be sent either; nothing was sent.";
    QTest::newRow("in the middle of X on All")
        << true << QList<int>{1500} << "ERROR :: X axis / Reg No. 1500\n" + beyond + "\nNothing was sent.";
}

// A register the codec refuses, anywhere in what Start would send: the
// download is refused before its first register, naming it and how many
// more; the unit keeps its whole old program. Mended, it all goes out.
void TestTransferWindows::downloadRefusedWhole()
{
    QFETCH(bool, xAll);
    QFETCH(QList<int>, bad);
    QFETCH(QString, text);
    QVERIFY(m_rig->connect());
    // What the unit holds before: a word of its own in every register sent.
    const QList<int> axes = xAll ? QList<int>{0} : QList<int>{0, 1, 2};
    const int last = xAll ? 1999 : 4;
    // Looked at: every register of a small range, around the refused one
    // and at the ends of a whole axis.
    const QList<int> looked = xAll ? QList<int>{0, 1, 2, 1499, 1500, 1501, 1998, 1999} : QList<int>{0, 1, 2, 3, 4};
    auto old = [](int axis, int reg) { return quint32(0xC1000000u + quint32(axis * 10000 + reg)); };
    for (int a : axes)
        for (int reg : looked)
            m_rig->sim->control(QStringLiteral("reg %1 %2 %3").arg(QChar("XYZU"[a])).arg(reg).arg(old(a, reg), 8, 16));
    QVERIFY(m_rig->sim->sync());
    QVERIFY(m_rig->put(1, 0, {"JMP", "5", "", "", ""}));
    for (int where : bad)
        QVERIFY(m_rig->put(where % 10000, where / 10000, {"INC", "99999999", "", "", ""}));
    auto start = [&] {
        m_rig->sim->clearLog();
        m_rig->dialogs.clear();
        TransferWindow *w = show(true, 0);
        QVERIFY(w);
        for (int a : axes) {
            if (xAll) {
                w->AllOpt[a]->click();
                continue;
            }
            w->SelectOpt[a]->click();
            w->Text1[a]->setText(QStringLiteral("0"));
            w->Text2[a]->setText(QString::number(last));
        }
        w->Start_botton->click();
    };

    start();
    QCOMPARE(m_rig->dialogs.texts(), (QStringList{text, "Download Error!!"}));
    QCOMPARE(m_rig->dialogs.shown().last().title, QStringLiteral("Error"));
    QCOMPARE(g.TransferResult, 2001 + (bad.first() % 10000));
    QCOMPARE(m_rig->received(), QStringList());
    for (int a : axes)
        for (int reg : looked)
            QCOMPARE(m_rig->sim->registerWord(QChar("XYZU"[a]), reg), std::optional<quint32>(old(a, reg)));
    checkClosed(true);

    for (int where : bad)
        QVERIFY(m_rig->put(where % 10000, where / 10000, {"INC", "1000", "", "", ""}));
    start();
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Download Complete!!"});
    QCOMPARE(int(m_rig->received().size()), int(axes.size()) * (last + 1));
    for (int a : axes)
        for (int reg : looked) {
            const quint32 word = a == 0 && reg == 1 ? 0xC1000005u : bad.contains(a * 10000 + reg) ? 0x3E8u : 0xC0000000u;
            QCOMPARE(m_rig->sim->registerWord(QChar("XYZU"[a]), reg), std::optional<quint32>(word));
        }
    checkClosed(true);
}

QTEST_MAIN(TestTransferWindows)
#include "test_transferwindows.moc"
