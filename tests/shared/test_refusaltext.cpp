// The line under a refusal that names a character an entry does not take:
// line breaks of every kind, the tab, the double quote, other control
// characters by their code, and any other character as it looks.

#include "shared/RefusalText.h"

#include <QtTest>

class TestRefusalText : public QObject
{
    Q_OBJECT
private slots:
    void refusedChar_data();
    void refusedChar();
    void withReason();
};

void TestRefusalText::refusedChar_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<QString>("line");
    const QString tail = QStringLiteral(" cannot go into this text.");
    QTest::newRow("line feed") << QChar(u'\n') << "A line break" + tail;
    QTest::newRow("carriage return") << QChar(u'\r') << "A line break" + tail;
    QTest::newRow("line separator") << QChar(0x2028) << "A line break" + tail;
    QTest::newRow("next line") << QChar(0x85) << "A line break" + tail;
    QTest::newRow("tab") << QChar(u'\t') << "A tab" + tail;
    QTest::newRow("double quote") << QChar(u'"') << "The double quote (\")" + tail;
    QTest::newRow("escape") << QChar(0x1b) << "The control character U+001B" + tail;
    QTest::newRow("delete") << QChar(0x7f) << "The control character U+007F" + tail;
    QTest::newRow("accented letter") << QChar(0xe9) << QString("The character \"") + QChar(0xe9) + "\" (U+00E9)" + tail;
}

void TestRefusalText::refusedChar()
{
    QFETCH(QChar, c);
    QFETCH(QString, line);
    QCOMPARE(RefusedCharLine(c), line);
}

void TestRefusalText::withReason()
{
    QCOMPARE(WithReason(QStringLiteral("Bad Setting."), QStringLiteral("No source axis is ticked.")),
             QStringLiteral("Bad Setting.\nNo source axis is ticked."));
    // Without a reason the first line stands alone, as it always did.
    QCOMPARE(WithReason(QStringLiteral("Bad Setting."), QString()), QStringLiteral("Bad Setting."));
}

QTEST_MAIN(TestRefusalText)
#include "test_refusaltext.moc"
