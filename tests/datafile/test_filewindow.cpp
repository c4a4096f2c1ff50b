// The data file window: what it shows at loading, its lists and patterns,
// the name rules of Save and the overwrite question, Open, a load refused
// while a transfer holds the line, the main window's File menu, and the main
// window and parameter grid following a load.

#include "ProgramState.h"
#include "RawSql.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "datafile/DataFileWriter.h"
#include "datafile/frmFile.h"
#include "link/LineOwner.h"
#include "mainwin/ManualRig.h"
#include "mainwin/frmMain.h"
#include "params/ParamGridCells.h"
#include "params/frmDataGrid1.h"
#include "platform/DataGrid.h"
#include "platform/FileLists.h"
#include "platform/ReplaceFile.h"
#include "program/ProgramTable.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

QStringList listed(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// A program folder with the model's program database and scripted dialogs;
// the window opened for a mode.
struct WindowRig {
    explicit WindowRig(int mode, UnitKind kind = UnitKind::FourAxis)
    {
        ResetProgramState();
        SetStartValues();
        g.UnitModel = ModelText(kind);
        g.FileMode = int16_t(mode);
        if (const auto refused = ProgramTableOf(kind).Open())
            qFatal("%s", qPrintable(*refused));
    }
    ~WindowRig()
    {
        delete FileWindow();
        CloseProgramTables();
    }
    frmFile *open() { return ShowFileWindow(); }
    QString file(const QString &name) const { return home.file(name); }
    TestHome home;
    ScriptedDialogs dialogs;
};


} // namespace

class TestFileWindow : public QObject
{
    Q_OBJECT
private slots:
    void atLoading_data();
    void atLoading();
    void patterns_data();
    void patterns();
    void folders();
    void saveName_data();
    void saveName();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void failedSaveKeepsWindow_data();
    void failedSaveKeepsWindow();
    void openTakesChosenFile_data();
    void openTakesChosenFile();
    void loadWaitsForTransfer();
    void fileMenu();
    void loadFollowsMainWindow_data();
    void loadFollowsMainWindow();
};

void TestFileWindow::atLoading_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::newRow("load") << 1 << "Open file";
    QTest::newRow("save") << 2 << "Save file";
    QTest::newRow("neither") << 0 << "File";
}

void TestFileWindow::atLoading()
{
    QFETCH(int, mode);
    QFETCH(QString, caption);
    WindowRig rig(mode);
    touch(rig.file("a.zqd"));
    frmFile *w = rig.open();
    QCOMPARE(w->windowTitle(), caption);
    QVERIFY(!w->Command1->isEnabled() && !w->Command2->isEnabled());
    QCOMPARE(w->Combo1->currentText(), QStringLiteral("*.zqd"));
    QCOMPARE(w->Text1->text(), QString());
    QCOMPARE(w->Dir1->Path(), QDir::cleanPath(rig.home.path()));
    QCOMPARE(listed(w->File1), QStringList{"a.zqd"});
    QCOMPARE(w->Drive1->itemText(0), QStringLiteral("/"));

    // Only the button of the mode follows the name box.
    QTest::keyClicks(w->Text1, "x");
    QCOMPARE(w->Command1->isEnabled(), mode == 1);
    QCOMPARE(w->Command2->isEnabled(), mode == 2);
    w->Text1->clear();
    QVERIFY(!w->Command1->isEnabled() && !w->Command2->isEnabled());
}

void TestFileWindow::patterns_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("*.zqd") << 0 << QStringList{"a.zqd", "B.ZQD"};
    QTest::newRow("*.txt") << 1 << QStringList{"c.txt"};
    QTest::newRow("*.*") << 2 << QStringList{"a.zqd", "B.ZQD", "c.txt", "no_dot"};
}

void TestFileWindow::patterns()
{
    QFETCH(int, choice);
    QFETCH(QStringList, files);
    WindowRig rig(1);
    for (const char *name : {"a.zqd", "B.ZQD", "c.txt", "no_dot"})
        touch(rig.file(name));
    QDir(rig.home.path()).mkdir("folder.zqd");
    frmFile *w = rig.open();
    w->Combo1->setCurrentIndex(choice);
    w->Combo1_Click();
    QCOMPARE(listed(w->File1), files);
}

void TestFileWindow::folders()
{
    WindowRig rig(1);
    const QDir home(QDir::cleanPath(rig.home.path()));
    home.mkpath("data/old");
    touch(home.filePath("data/one.zqd"));
    frmFile *w = rig.open();
    // The way down to the program folder, then what it holds.
    const QStringList lines = listed(w->Dir1);
    QCOMPARE(lines.first(), QStringLiteral("/"));
    QVERIFY(lines.contains(QStringLiteral("  ").repeated(home.absolutePath().count(u'/') + 1) + "data"));

    const auto items = w->Dir1->findItems(" data", Qt::MatchEndsWith | Qt::MatchCaseSensitive);
    QCOMPARE(items.size(), 1);
    emit w->Dir1->itemActivated(items.first());
    QCOMPARE(w->Dir1->Path(), home.filePath("data"));
    QCOMPARE(listed(w->File1), QStringList{"one.zqd"});
    QVERIFY(listed(w->Dir1).last().endsWith("old"));
    // A folder that does not exist is refused.
    QVERIFY(!w->Dir1->setPath(home.filePath("none")));
    QCOMPARE(w->Dir1->Path(), home.filePath("data"));
}

void TestFileWindow::saveName_data()
{
    QTest::addColumn<UnitKind>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("progress");
    QTest::newRow("no dot: .zqd added") << UnitKind::FourAxis << "setup" << "setup.zqd" << 2004;
    QTest::newRow("another extension") << UnitKind::TwoAxis << "setup.v2" << "setup.v2" << 58;
    QTest::newRow("dot inside the name") << UnitKind::TwoAxis << "my.data file" << "my.data file" << 58;
}

void TestFileWindow::saveName()
{
    QFETCH(UnitKind, kind);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(int, progress);
    WindowRig rig(2, kind);
    QPointer<frmFile> w = rig.open();
    QTest::keyClicks(w->Text1, typed);
    QTest::mouseClick(w->Command2, Qt::LeftButton);

    QCOMPARE(rig.dialogs.texts(), QStringList());
    QCOMPARE(w->Text1->text(), saved);
    QCOMPARE(w->ProgressBar1->value(), progress);
    QCOMPARE(w->ProgressBar1->maximum(), 2004);
    QTRY_VERIFY(w.isNull());
    const QByteArray bytes = FileBytes(rig.file(saved));
    QVERIFY(bytes.startsWith(kind == UnitKind::TwoAxis ? "# ZT260A Data file  " : "# ZT260A/ZT460A Data file  "));
    QVERIFY(!(QFile::permissions(rig.file(saved)) & QFileDevice::WriteOwner));
}

void TestFileWindow::overwriteQuestion_data()
{
    QTest::addColumn<MsgResult>("answer");
    QTest::newRow("Yes overwrites") << MsgResult::Yes;
    QTest::newRow("No keeps the file") << MsgResult::No;
}

void TestFileWindow::overwriteQuestion()
{
    QFETCH(MsgResult, answer);
    WindowRig rig(2);
    const QString path = rig.file("old.zqd");
    touch(path, "old");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QPointer<frmFile> w = rig.open();
    QVERIFY(w->File1->setFileName("old.zqd"));
    QCOMPARE(w->Text1->text(), QStringLiteral("old.zqd"));
    rig.dialogs.answer(answer);
    w->Command2_Click();

    QCOMPARE(rig.dialogs.shown().size(), 1);
    const ShownBox box = rig.dialogs.shown().first();
    QCOMPARE(box.text, QStringLiteral("Save File Name. Yes/No?"));
    QCOMPARE(box.title, QStringLiteral("File Save Message"));
    QCOMPARE(box.buttons, MsgButtons::YesNo);
    QTRY_VERIFY(w.isNull());
    if (answer == MsgResult::Yes)
        QVERIFY(FileBytes(path).startsWith("# ZT260A/ZT460A Data file  "));
    else
        QCOMPARE(FileBytes(path), QByteArray("old"));
    QVERIFY(!(QFile::permissions(path) & QFileDevice::WriteOwner));
}

void TestFileWindow::failedSaveKeepsWindow_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("told");
    QTest::newRow("a parameter holds a comma") << "comma" << "The parameter DR2 of the Z axis holds a comma";
    // The whole file was made (the count at its end) before the write failed.
    QTest::newRow("the write fails at its end") << "write" << "setup.zqd cannot be written";
}

void TestFileWindow::failedSaveKeepsWindow()
{
    QFETCH(QString, failure);
    QFETCH(QString, told);
    WindowRig rig(2);
    if (failure == u"comma")
        g.ParamTable[2][4] = "1,5";
    else
        SetReplaceHook([](const QString &) { return false; });
    QPointer<frmFile> w = rig.open();
    QTest::keyClicks(w->Text1, "setup");
    w->Command2_Click();
    SetReplaceHook({});
    QCOMPARE(rig.dialogs.shown().size(), 1);
    QCOMPARE(rig.dialogs.shown().first().title, QStringLiteral("File Save Message"));
    QVERIFY2(rig.dialogs.texts().first().contains(told), qPrintable(rig.dialogs.texts().first()));
    QVERIFY(!QFile::exists(rig.file("setup.zqd")));
    // Open still, so that the operator can mend the value or choose again;
    // the bar does not stand as after a save.
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->ProgressBar1->value(), 0);
}

void TestFileWindow::openTakesChosenFile_data()
{
    QTest::addColumn<bool>("choose");
    QTest::newRow("chosen, name edited afterwards") << true;
    QTest::newRow("name typed, nothing chosen") << false;
}

void TestFileWindow::openTakesChosenFile()
{
    QFETCH(bool, choose);
    WindowRig rig(1);
    g.ParamTable[0][0] = "321";
    QVERIFY(!SaveDataFile(rig.file("one.zqd")));
    g.ParamTable[0][0] = "0";
    QPointer<frmFile> w = rig.open();
    if (choose)
        QVERIFY(w->File1->setFileName("one.zqd"));
    w->Text1->setText("other.zqd");
    QVERIFY(w->Command1->isEnabled());
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    QCOMPARE(g.ParamTable[0][0], choose ? QStringLiteral("321") : QStringLiteral("0"));
    // The bar ends where the load ended: four axis blocks and 2000 registers.
    QCOMPARE(w->ProgressBar1->value(), choose ? 2004 : 0);
    QCOMPARE(rig.dialogs.texts(), QStringList());
    QTRY_VERIFY(w.isNull());
}

void TestFileWindow::loadWaitsForTransfer()
{
    WindowRig rig(1);
    g.ParamTable[0][0] = "321";
    QVERIFY(!SaveDataFile(rig.file("one.zqd")));
    g.ParamTable[0][0] = "0";
    QPointer<frmFile> w = rig.open();
    QVERIFY(w->File1->setFileName("one.zqd"));
    {
        LineHold transfer(LineUser::Transfer);
        QVERIFY(transfer.owns());
        w->Command1_Click();
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{"A transfer with the unit is running. Load the data file when it has ended."});
        QCOMPARE(g.ParamTable[0][0], QStringLiteral("0"));
        QVERIFY(w && w->isVisible());
    }
    w->Command1_Click();
    QCOMPARE(g.ParamTable[0][0], QStringLiteral("321"));
}

void TestFileWindow::fileMenu()
{
    ManualRig rig(QStringLiteral("4"));
    rig.w->mnufileitem[1]->trigger();
    QPointer<frmFile> w = FileWindow();
    QVERIFY(w && w->isVisible());
    QCOMPARE(g.FileMode, int16_t(1));
    QCOMPARE(w->windowTitle(), QStringLiteral("Open file"));
    // Save while it is open brings the same window forward; from the next
    // change of the name box on, Save follows it.
    rig.w->mnufileitem[2]->trigger();
    QCOMPARE(FileWindow(), w.data());
    QCOMPARE(g.FileMode, int16_t(2));
    QCOMPARE(w->windowTitle(), QStringLiteral("Open file"));
    QTest::keyClicks(w->Text1, "s");
    QVERIFY(w->Command2->isEnabled());
    QVERIFY(!w->Command1->isEnabled());
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    QTRY_VERIFY(w.isNull());
    delete DataGridWindow();
    CloseProgramTables();
}

void TestFileWindow::loadFollowsMainWindow_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("amountBox");
    QTest::addColumn<QString>("position");
    QTest::newRow("mm, 4-axis unit") << "4" << 1 << "mm" << "5" << "1.234";
    QTest::newRow("mm, 2-axis unit") << "2" << 1 << "mm" << "5" << "1.234";
    QTest::newRow("Pulse") << "4" << 0 << "Pulse" << "5000" << "1234";
}

void TestFileWindow::loadFollowsMainWindow()
{
    QFETCH(QString, model);
    QFETCH(int, unit);
    QFETCH(QString, caption);
    QFETCH(QString, amountBox);
    QFETCH(QString, position);
    ManualRig rig(model);
    frmMain *m = rig.w;
    const UnitKind kind = CurrentUnitKind();
    QVERIFY(!ProgramTableOf(kind).Open());
    frmDataGrid1 *grid = ShowDataGridWindow();
    QTRY_VERIFY(grid->filled());

    // The file: X in `unit` with 0.001, Z in mm with 0.5, a parameter, a register.
    g.ScaleSel = {int16_t(unit), 0, 1, 0};
    g.ScaleFactor[1][0] = "0.001";
    g.ScaleFactor[1][2] = "0.5";
    g.ParamTable[0][0] = "777";
    QStringList rec = *ProgramTableOf(kind).Record(3);
    rec[5] = "loaded";
    QVERIFY(ProgramTableOf(kind).WriteRecord(3, rec));
    const QString path = rig.home.file("follow.zqd");
    QVERIFY(!SaveDataFile(path));

    // Everything back as it was before the load.
    rec[5].clear();
    QVERIFY(ProgramTableOf(kind).WriteRecord(3, rec));
    g.ScaleSel = {0, 0, 0, 0};
    g.ParamTable[0][0] = "1";
    g.AxisEntryText[0][0] = "5000";
    m->Text9->setText("5000");
    m->Link->AnalyzeReply(PositionReply({1234, 0, 10, 0}));
    QCOMPARE(m->Text1->text(), QStringLiteral("1234"));
    QSignalSpy refreshed(&ProgramTableOf(kind), &ProgramTable::refreshRequested);

    g.FileMode = 1;
    QPointer<frmFile> w = ShowFileWindow();
    QVERIFY(w->File1->setFileName("follow.zqd"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);

    QCOMPARE(rig.dialogs.texts(), QStringList());
    QCOMPARE(m->scale0->text(), caption);
    QCOMPARE(m->scale10->text(), caption);
    QCOMPARE(m->Text9->text(), amountBox);
    QCOMPARE(m->Text1->text(), position);
    QCOMPARE(g.AxisEntryText[0][0], QStringLiteral("5000"));
    // Z follows on the 4-axis unit only.
    QCOMPARE(m->scale2->text(), model == u"4" ? QStringLiteral("mm") : QStringLiteral("Pulse"));
    QCOMPARE(g.ScaleSel[2], int16_t(1));
    // The open views show what was loaded.
    QCOMPARE(grid->grid(GridTab::Parameter)->CellText(0, AxisColumn(0)), QStringLiteral("777"));
    QCOMPARE(refreshed.count(), 1);
    QCOMPARE(ProgramTableOf(kind).Record(3)->at(5), QStringLiteral("loaded"));
    QTRY_VERIFY(w.isNull());
    delete grid;
    CloseProgramTables();
}

QTEST_MAIN(TestFileWindow)
#include "test_filewindow.moc"
