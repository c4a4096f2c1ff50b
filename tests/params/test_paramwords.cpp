// The parameter words and values as they stand on the line: packing and
// unpacking of the mode and home words, the digits of the numeric
// parameters, the checks before a download and the reply readers.

#include "params/ParamTables.h"
#include "params/ParamWords.h"

#include <QtTest>

Q_DECLARE_METATYPE(ParamSendFault)

namespace {

using Ints = QList<int>;

ModeItems modeItems(const Ints &v)
{
    ModeItems m{};
    for (int i = 0; i < v.size() && i < kModeItems; ++i)
        m[size_t(i)] = int16_t(v[i]);
    return m;
}

HomeItems homeItems(const Ints &v)
{
    HomeItems h{};
    for (int i = 0; i < v.size() && i < kHomeItems; ++i)
        h[size_t(i)] = int16_t(v[i]);
    return h;
}

Ints ints(const ModeItems &m) { return Ints(m.begin(), m.end()); }
Ints ints(const HomeItems &h) { return Ints(h.begin(), h.end()); }

// The eight settings the home word carries, in the order 0, 4, 5, ..., 10.
const int kHomeWordItems[8] = {0, 4, 5, 6, 7, 8, 9, 10};

HomeItems homeWordItems(const Ints &v, int16_t others = 0)
{
    HomeItems h;
    h.fill(others);
    for (int i = 0; i < 8 && i < v.size(); ++i)
        h[size_t(kHomeWordItems[i])] = int16_t(v[i]);
    return h;
}

} // namespace

class TestParamWords : public QObject
{
    Q_OBJECT
private slots:
    void pickLists();

    void modePack_data();
    void modePack();
    void modeUnpack_data();
    void modeUnpack();

    void homePack_data();
    void homePack();
    void homeUnpack_data();
    void homeUnpack();
    void homeRoundTrip();

    void sendValue_data();
    void sendValue();
    void wireDigits_data();
    void wireDigits();
    void textFromWire_data();
    void textFromWire();

    void replyMatches_data();
    void replyMatches();
    void replyValue_data();
    void replyValue();
};

void TestParamWords::pickLists()
{
    QCOMPARE(PickListEntries(PickList::List1), QStringList({"Instant", "Slow"}));
    QCOMPARE(PickListEntries(PickList::List9), QStringList({"Disable", "-", "+"}));
    QCOMPARE(PickListEntries(PickList::List10), QStringList({"Disable", "+", "-"}));
    QCOMPARE(PickListEntries(PickList::List11), QStringList({"High", "Low"}));
    QCOMPARE(PickListEntries(PickList::None), QStringList());
    // Settings without a grid row have no list.
    QCOMPARE(kModeSettingItems[6].gridRow, -1);
    QCOMPARE(kModeSettingItems[9].gridRow, 6);
    QCOMPARE(kHomeSettingItems[11].list, PickList::List3);
    QVERIFY(ParamItemOf(13) == nullptr);
    QVERIFY(ParamItemOf(-1) == nullptr);
    QCOMPARE(QString(ParamItemOf(10)->mnemonic), QStringLiteral("OG1"));
    QCOMPARE(ParamItemOf(10)->reg, 56);
}

void TestParamWords::modePack_data()
{
    QTest::addColumn<Ints>("mode");
    QTest::addColumn<Ints>("home");
    QTest::addColumn<int>("word1");
    QTest::addColumn<int>("word2");
    QTest::newRow("worked example") << Ints{1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0}
                                    << Ints{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1} << 0x45 << 0x21;
    QTest::newRow("all clear") << Ints(11, 0) << Ints(16, 0) << 0x00 << 0x00;
    QTest::newRow("all set") << Ints(11, 1) << Ints(16, 1) << 0x7F << 0x6F;
    QTest::newRow("2 counts as 0") << Ints(11, 2) << Ints(16, 2) << 0x00 << 0x00;
    QTest::newRow("-1 counts as 0") << Ints(11, -1) << Ints(16, -1) << 0x00 << 0x00;
    // Mode items 6 and 10 and the home word's settings are not in the mode words.
    QTest::newRow("items not carried") << Ints{0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1}
                                       << Ints{1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1}
                                       << 0x00 << 0x00;
    QTest::newRow("word 2 bits") << Ints{0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0}
                                 << Ints{0, 0, 1, 1} << 0x00 << 0x4E;
}

void TestParamWords::modePack()
{
    QFETCH(Ints, mode);
    QFETCH(Ints, home);
    QFETCH(int, word1);
    QFETCH(int, word2);
    const ModeWords w = PackModeWords(modeItems(mode), homeItems(home));
    QCOMPARE(int(w.word1), word1);
    QCOMPARE(int(w.word2), word2);
}

void TestParamWords::modeUnpack_data()
{
    QTest::addColumn<QString>("word1");
    QTest::addColumn<QString>("word2");
    QTest::addColumn<Ints>("mode");
    QTest::addColumn<Ints>("home");
    // Every item starts at 7, so an item the words do not carry shows as 7.
    QTest::newRow("0041 and 0068") << "0041" << "0068"
                                   << Ints{1, 0, 0, 0, 0, 0, 7, 1, 1, 1, 7}
                                   << Ints{7, 0, 0, 0, 7, 7, 7, 7, 7, 7, 7, 1, 7, 7, 7, 7};
    QTest::newRow("only bit 4 of word 2") << "0000" << "0010"
                                          << Ints{0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 7}
                                          << Ints{7, 0, 0, 0, 7, 7, 7, 7, 7, 7, 7, 0, 7, 7, 7, 7};
    QTest::newRow("FFFF") << "FFFF" << "FFFF"
                          << Ints{1, 1, 1, 1, 1, 1, 7, 1, 1, 1, 7}
                          << Ints{7, 1, 1, 1, 7, 7, 7, 7, 7, 7, 7, 1, 7, 7, 7, 7};
}

void TestParamWords::modeUnpack()
{
    QFETCH(QString, word1);
    QFETCH(QString, word2);
    QFETCH(Ints, mode);
    QFETCH(Ints, home);
    ModeItems m;
    HomeItems h;
    m.fill(7);
    h.fill(7);
    UnpackModeWord(1, word1.toUInt(nullptr, 16), m, h);
    UnpackModeWord(2, word2.toUInt(nullptr, 16), m, h);
    QCOMPARE(ints(m), mode);
    QCOMPARE(ints(h), home);
}

void TestParamWords::homePack_data()
{
    QTest::addColumn<Ints>("items");   // items 0, 4, 5, 6, 7, 8, 9, 10
    QTest::addColumn<int>("word");
    QTest::newRow("worked example") << Ints{1, 2, 0, 1, 1, 2, 0, 1} << 0x4155;
    QTest::newRow("all first entries") << Ints{0, 0, 0, 0, 0, 0, 0, 0} << 0x1004;
    QTest::newRow("bit 15 set") << Ints{2, 1, 0, 2, 1, 1, 1, 0} << 0x9666;
    QTest::newRow("item 0 = 3") << Ints{3, 0, 0, 0, 0, 0, 0, 0} << 0x1004;
    QTest::newRow("item 4 = 5") << Ints{0, 5, 0, 0, 0, 0, 0, 0} << 0x1004;
    QTest::newRow("two-way item = 2") << Ints{0, 0, 2, 0, 2, 0, 2, 2} << 0x0000;
    QTest::newRow("negative") << Ints{-1, -1, -1, -1, -1, -1, -1, -1} << 0x0000;
    QTest::newRow("minus sides") << Ints{0, 1, 1, 2, 0, 1, 0, 1} << 0x0222;
}

void TestParamWords::homePack()
{
    QFETCH(Ints, items);
    QFETCH(int, word);
    // The other settings of the table do not reach the word.
    QCOMPARE(int(PackHomeWord(homeWordItems(items, 1))), word);
}

void TestParamWords::homeUnpack_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<Ints>("items");   // items 0, 4, 5, ..., 10 after; every item was 7
    QTest::newRow("4155") << "4155" << Ints{1, 2, 0, 1, 1, 2, 0, 1};
    QTest::newRow("000C") << "000C" << Ints{0, 0, 7, 0, 0, 0, 0, 1};
    QTest::newRow("FFFF") << "FFFF" << Ints{7, 7, 7, 7, 7, 7, 7, 7};
    QTest::newRow("2888") << "2888" << Ints{0, 0, 7, 0, 7, 0, 7, 7};
    QTest::newRow("9666") << "9666" << Ints{2, 1, 0, 2, 1, 1, 1, 0};
}

void TestParamWords::homeUnpack()
{
    QFETCH(QString, word);
    QFETCH(Ints, items);
    HomeItems h;
    h.fill(7);
    UnpackHomeWord(word.toUInt(nullptr, 16), h);
    Ints got;
    for (int item : kHomeWordItems)
        got << h[size_t(item)];
    QCOMPARE(got, items);
    // Settings outside the home word stay as they were.
    for (int item : {1, 2, 3, 11, 12, 13, 14, 15})
        QCOMPARE(int(h[size_t(item)]), 7);
}

void TestParamWords::homeRoundTrip()
{
    // Every combination of list entries comes back as it went out.
    const int sizes[8] = {3, 3, 2, 3, 2, 3, 2, 2};
    int combos = 1;
    for (int s : sizes)
        combos *= s;
    for (int c = 0; c < combos; ++c) {
        Ints v;
        int rest = c;
        for (int s : sizes) {
            v << rest % s;
            rest /= s;
        }
        const HomeItems sent = homeWordItems(v);
        HomeItems back;
        back.fill(9);
        UnpackHomeWord(PackHomeWord(sent), back);
        for (int item : kHomeWordItems)
            QCOMPARE(back[size_t(item)], sent[size_t(item)]);
    }
}

// What a download sends of a ParamTable text: the whole text as one
// number, rounded half to even, whatever the grid's entry range; refused
// only when it is empty, not one number, or beyond what the unit holds
// (16 bits for RAT to OG2, 32 bits for OFS). Rows that the earlier check
// refused for lying outside the grid's range now go out as held.
void TestParamWords::sendValue_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<ParamSendFault>("fault");
    QTest::addColumn<int>("value");
    const auto sent = ParamSendFault::None;
    const auto empty = ParamSendFault::Empty;
    const auto notOne = ParamSendFault::NotOneNumber;
    const auto beyond = ParamSendFault::BeyondField;
    QTest::newRow("RAT 500") << 0 << "500" << sent << 500;
    QTest::newRow("RAT 1") << 0 << "1" << sent << 1;
    QTest::newRow("RAT 0, below the grid's range") << 0 << "0" << sent << 0;
    QTest::newRow("RAT 501, above the grid's range") << 0 << "501" << sent << 501;
    QTest::newRow("RAT 500.5 to even") << 0 << "500.5" << sent << 500;
    QTest::newRow("RAT empty") << 0 << "" << empty << 0;
    QTest::newRow("RAT blanks only") << 0 << "  " << empty << 0;
    QTest::newRow("RAT letters") << 0 << "abc" << notOne << 0;
    QTest::newRow("RAT leading blank") << 0 << " 12" << sent << 12;
    QTest::newRow("RAT blanks around") << 0 << "\t12 " << sent << 12;
    QTest::newRow("RAT number then letters") << 0 << "12abc" << notOne << 0;
    QTest::newRow("RAT two numbers") << 0 << "1 2" << notOne << 0;
    QTest::newRow("RAT comma") << 0 << "1,5" << notOne << 0;
    QTest::newRow("ACS negative") << 1 << "-5" << beyond << 0;
    QTest::newRow("ACS -1") << 1 << "-1" << beyond << 0;
    QTest::newRow("ACS -0.5 rounds to 0") << 1 << "-0.5" << sent << 0;
    QTest::newRow("DR1 8000") << 3 << "8000" << sent << 8000;
    QTest::newRow("DR1 8001") << 3 << "8001" << sent << 8001;
    QTest::newRow("DR1 half to even down") << 3 << "1234.5" << sent << 1234;
    QTest::newRow("DR1 half to even up") << 3 << "1235.5" << sent << 1236;
    QTest::newRow("OG1 point first") << 10 << ".9" << sent << 1;
    QTest::newRow("OG1 2.5") << 10 << "2.5" << sent << 2;
    QTest::newRow("OG2 65535") << 11 << "65535" << sent << 65535;
    QTest::newRow("TM1 65535") << 7 << "65535" << sent << 65535;
    QTest::newRow("TM1 65536") << 7 << "65536" << beyond << 0;
    QTest::newRow("TM1 65535.5 rounds past 16 bits") << 7 << "65535.5" << beyond << 0;
    QTest::newRow("TM3 70000") << 9 << "70000" << beyond << 0;
    QTest::newRow("TM2 exponent") << 8 << "1E3" << sent << 1000;
    QTest::newRow("TM2 too large for any number") << 8 << "1e400" << beyond << 0;
    QTest::newRow("OFS grid's lowest") << 12 << "-8388608" << sent << -8388608;
    QTest::newRow("OFS grid's highest") << 12 << "8388607" << sent << 8388607;
    QTest::newRow("OFS above the grid's range") << 12 << "8388608" << sent << 8388608;
    QTest::newRow("OFS below the grid's range") << 12 << "-8388609" << sent << -8388609;
    QTest::newRow("OFS 32-bit highest") << 12 << "2147483647" << sent << 2147483647;
    QTest::newRow("OFS 32-bit lowest") << 12 << "-2147483648" << sent << int(-2147483648LL);
    QTest::newRow("OFS beyond 32 bits") << 12 << "2147483648" << beyond << 0;
    QTest::newRow("OFS below 32 bits") << 12 << "-2147483649" << beyond << 0;
    QTest::newRow("OFS too large for any number") << 12 << "1e400" << beyond << 0;
    QTest::newRow("OFS zero") << 12 << "0" << sent << 0;
    QTest::newRow("OFS empty") << 12 << "" << empty << 0;
    QTest::newRow("OFS letters") << 12 << "abc" << notOne << 0;
    QTest::newRow("OFS sign only") << 12 << "-" << notOne << 0;
    QTest::newRow("OFS fraction") << 12 << "1234.5" << sent << 1234;
    QTest::newRow("OFS negative half") << 12 << "-2.5" << sent << -2;
    QTest::newRow("OFS -1000") << 12 << "-1000" << sent << -1000;
    QTest::newRow("item 13") << 13 << "5" << ParamSendFault::NotSent << 0;
    QTest::newRow("item -1") << -1 << "5" << ParamSendFault::NotSent << 0;
}

void TestParamWords::sendValue()
{
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(ParamSendFault, fault);
    QFETCH(int, value);
    // Starts at a value the row does not expect, so the call must set it.
    ParamSendFault why = fault == ParamSendFault::None ? ParamSendFault::NotSent : ParamSendFault::None;
    const auto v = ParamSendValue(item, text, &why);
    QCOMPARE(why, fault);
    QCOMPARE(v.has_value(), fault == ParamSendFault::None);
    if (v)
        QCOMPARE(*v, value);
    // The same without asking why.
    QCOMPARE(ParamSendValue(item, text), v);
}

void TestParamWords::wireDigits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("digits");
    QTest::newRow("500 in 8") << 500 << 8 << "000001F4";
    QTest::newRow("-1000 in 8") << -1000 << 8 << "FFFFFC18";
    QTest::newRow("-1 in 8") << -1 << 8 << "FFFFFFFF";
    QTest::newRow("8000 in 4") << 8000 << 4 << "1F40";
    QTest::newRow("65535 in 4") << 65535 << 4 << "FFFF";
    QTest::newRow("0 in 4") << 0 << 4 << "0000";
    // Never cut to 4 digits or wrapped.
    QTest::newRow("70000 in 4") << 70000 << 4 << "";
    QTest::newRow("-1 in 4") << -1 << 4 << "";
    QTest::newRow("other width") << 5 << 6 << "";
}

void TestParamWords::wireDigits()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, digits);
    QCOMPARE(WireDigits(value, width), digits);
}

void TestParamWords::textFromWire_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("text");
    QTest::newRow("FFFFFF9C") << "FFFFFF9C" << "-100";
    QTest::newRow("FFFFFC18") << "FFFFFC18" << "-1000";
    QTest::newRow("7FFFFFFF") << "7FFFFFFF" << "2147483647";
    QTest::newRow("FFFF") << "FFFF" << "65535";
    QTest::newRow("01F4") << "01F4" << "500";
    QTest::newRow("0000") << "0000" << "0";
}

void TestParamWords::textFromWire()
{
    QFETCH(QString, digits);
    QFETCH(QString, text);
    QCOMPARE(ParamTextFromWire(digits.toUInt(nullptr, 16), int(digits.size())), text);
}

void TestParamWords::replyMatches_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("head");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("reg");
    QTest::addColumn<bool>("match");
    QTest::newRow("2: write echo") << 2 << "IXS X60,000001F4\r" << "IXS" << 0 << 60 << true;
    QTest::newRow("2: other axis") << 2 << "IXS Y60,000001F4\r" << "IXS" << 0 << 60 << false;
    QTest::newRow("2: other register") << 2 << "IXS X61,000001F4\r" << "IXS" << 0 << 60 << false;
    QTest::newRow("2: shorter register") << 2 << "IXS X6,000001F4\r" << "IXS" << 0 << 60 << false;
    QTest::newRow("2: longer register") << 2 << "IXS X600,000001F4\r" << "IXS" << 0 << 60 << false;
    QTest::newRow("2: read reply") << 2 << "IXR Y67, 4155\r" << "IXR" << 1 << 67 << true;
    QTest::newRow("2: read reply, other head") << 2 << "IXR X60, 01F4\r" << "IXS" << 0 << 60 << false;
    QTest::newRow("2: no comma still answers") << 2 << "IXR X60 01F4\r" << "IXR" << 0 << 60 << true;
    QTest::newRow("2: no register") << 2 << "IXR X\r" << "IXR" << 0 << 60 << false;
    QTest::newRow("2: axis out of range") << 2 << "IXR X60, 01F4\r" << "IXR" << 4 << 60 << false;
    QTest::newRow("4: reply") << 4 << "RAT X01F4\r" << "RAT" << 0 << 0 << true;
    QTest::newRow("4: other axis") << 4 << "RAT Y01F4\r" << "RAT" << 0 << 0 << false;
    QTest::newRow("4: other head") << 4 << "ACS X01F4\r" << "RAT" << 0 << 0 << false;
    QTest::newRow("4: MO2 for MO1") << 4 << "MO2 U0001\r" << "MO1" << 3 << 0 << false;
    QTest::newRow("4: U") << 4 << "OFS UFFFFFF9C\r" << "OFS" << 3 << 0 << true;
    QTest::newRow("4: short") << 4 << "RAT\r" << "RAT" << 0 << 0 << false;
}

void TestParamWords::replyMatches()
{
    QFETCH(int, model);
    QFETCH(QString, line);
    QFETCH(QString, head);
    QFETCH(int, axis);
    QFETCH(int, reg);
    QFETCH(bool, match);
    QCOMPARE(model == 2 ? ReplyMatches2(line, head, axis, reg) : ReplyMatches4(line, head, axis), match);
}

void TestParamWords::replyValue_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<uint>("value");
    QTest::newRow("2: blank after comma") << 2 << "IXR X60, 01F4\r" << 4 << true << 0x1F4u;
    QTest::newRow("2: any character after comma") << 2 << "IXR X67,:4155\r" << 4 << true << 0x4155u;
    QTest::newRow("2: offset") << 2 << "IXR X68, FFFFFC18\r" << 8 << true << 0xFFFFFC18u;
    QTest::newRow("2: no character after comma") << 2 << "IXR X60,01F4\r" << 4 << false << 0u;
    QTest::newRow("2: no comma") << 2 << "IXR X60 01F4\r" << 4 << false << 0u;
    QTest::newRow("2: not hexadecimal") << 2 << "IXR X60, 01G4\r" << 4 << false << 0u;
    QTest::newRow("2: too short") << 2 << "IXR X60, 1F\r" << 4 << false << 0u;
    QTest::newRow("4: offset") << 4 << "OFS UFFFFFF9C\r" << 8 << true << 0xFFFFFF9Cu;
    QTest::newRow("4: timer") << 4 << "TM2 XFFFF\r" << 4 << true << 0xFFFFu;
    QTest::newRow("4: lower case") << 4 << "HOS Xab12\r" << 4 << true << 0xAB12u;
    QTest::newRow("4: too short") << 4 << "RAT X01\r" << 4 << false << 0u;
    QTest::newRow("4: blank in field") << 4 << "RAT X 1F4\r" << 4 << false << 0u;
    QTest::newRow("4: short offset") << 4 << "OFS X0000FFF\r" << 8 << false << 0u;
}

void TestParamWords::replyValue()
{
    QFETCH(int, model);
    QFETCH(QString, line);
    QFETCH(int, digits);
    QFETCH(bool, ok);
    QFETCH(uint, value);
    const auto v = model == 2 ? ReplyValue2(line, digits) : ReplyValue4(line, digits);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(uint(*v), value);
}

QTEST_MAIN(TestParamWords)
#include "test_paramwords.moc"
