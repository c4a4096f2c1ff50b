#include "shared/AxisFactor.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"
#include "transfer/InstructionCodec.h"

#include <QtTest>

namespace {

constexpr double kNoFactor = -1.0;   // table marker: the factor could not be looked up

std::optional<double> factorOf(double f)
{
    return f == kNoFactor ? std::nullopt : std::optional<double>(f);
}

QString failed() { return QStringLiteral("(failure)"); }

// Encoding rows: model "2" or "4", the four texts, the factor of the axis's
// unit, and the word text or "fail".
void enc(const char *name, const char *model, const char *cmd, const char *dat, const char *spd,
         const char *tim, double factor, const char *word)
{
    QTest::newRow(name) << QString::fromUtf8(model) << QString::fromUtf8(cmd)
                        << QString::fromUtf8(dat) << QString::fromUtf8(spd)
                        << QString::fromUtf8(tim) << factor << QString::fromUtf8(word);
}

// Decoding rows: model, word text, factor, and the four texts (CMD "fail"
// for a failure).
void dec(const char *name, const char *model, const char *word, double factor, const char *cmd,
         const char *dat, const char *spd, const char *tim)
{
    QTest::newRow(name) << QString::fromUtf8(model) << QString::fromUtf8(word) << factor
                        << QString::fromUtf8(cmd) << QString::fromUtf8(dat)
                        << QString::fromUtf8(spd) << QString::fromUtf8(tim);
}

// Round-trip rows: model, the four texts and the factor.
void trip(const char *name, const char *model, const char *cmd, const char *dat, const char *spd,
          const char *tim, double factor = 1)
{
    QTest::newRow(name) << QString::fromUtf8(model) << QString::fromUtf8(cmd)
                        << QString::fromUtf8(dat) << QString::fromUtf8(spd)
                        << QString::fromUtf8(tim) << factor;
}

QString shown(const std::optional<AxisInstruction> &i)
{
    if (!i)
        return failed();
    return QStringLiteral("[%1|%2|%3|%4]").arg(i->CMD, i->DAT, i->SPD, i->TIM);
}

} // namespace

class TestCodec : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void mnemonicCase_data();
    void mnemonicCase();
    void encode_data();
    void encode();
    void encodeForAxis_data();
    void encodeForAxis();
    void refusalNamesFieldAndCause_data();
    void refusalNamesFieldAndCause();

    void classify_data();
    void classify();
    void decode_data();
    void decode();
    void decodersKeepToTheirKind();
    void decodeForAxis_data();
    void decodeForAxis();
    void everyControlByte_data();
    void everyControlByte();

    void roundTrip_data();
    void roundTrip();
    void largestFactorRoundTrip_data();
    void largestFactorRoundTrip();
};

void TestCodec::init()
{
    ResetSharedState();
    SetStartValues();   // every axis in pulses, every factor 1
}

void TestCodec::mnemonicCase_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<int>("index");
    QTest::newRow("empty is case 0") << "4" << "" << 0;
    QTest::newRow("ABS") << "4" << "ABS" << 1;
    QTest::newRow("CW") << "2" << "CW" << 4;
    QTest::newRow("END") << "2" << "END" << 20;
    QTest::newRow("LN3 listed on 2-axis") << "2" << "LN3" << 21;
    QTest::newRow("RNU last of 2-axis list") << "2" << "RNU" << 23;
    QTest::newRow("WTZ not on 2-axis list") << "2" << "WTZ" << -1;
    QTest::newRow("SPD not on 2-axis list") << "2" << "SPD" << -1;
    QTest::newRow("WTZ") << "4" << "WTZ" << 24;
    QTest::newRow("SPD last of 4-axis list") << "4" << "SPD" << 28;
    QTest::newRow("lower case") << "4" << "inc" << -1;
    QTest::newRow("trailing blank not trimmed by lookup") << "4" << "CW " << -1;
    QTest::newRow("end mark") << "4" << "." << -1;
}

void TestCodec::mnemonicCase()
{
    QFETCH(QString, model);
    QFETCH(QString, cmd);
    QFETCH(int, index);
    QCOMPARE(MnemonicCase(cmd, UnitKindOf(model)), index);
}

void TestCodec::encode_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<QString>("dat");
    QTest::addColumn<QString>("spd");
    QTest::addColumn<QString>("tim");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("word");

    // ---- 4-axis unit
    enc("4 empty ignores the rest", "4", "", "123", "3", "2", 1, "C0000000");
    enc("4 empty with junk data", "4", "", "abc", "", "", 0, "C0000000");
    enc("4 INC worked example", "4", "INC", "1000", "2", "1", 1, "120003E8");
    enc("4 ABS -1", "4", "ABS", "-1", "1", "0", 1, "01FFFFFF");
    enc("4 LN3 empty speed and timer", "4", "LN3", "10", "", "", 1, "4800000A");
    enc("4 LN2 most negative, speed 4 timer 3", "4", "LN2", "-8388608", "4", "3", 1, "76800000");
    enc("4 CW most positive, speed 3 timer 2", "4", "CW", "8388607", "3", "2", 1, "A47FFFFF");
    enc("4 CCW zero", "4", "CCW", "0", "1", "0", 1, "81000000");
    enc("4 speed 1", "4", "INC", "1", "1", "", 1, "00000001");
    enc("4 speed 2", "4", "INC", "1", "2", "", 1, "02000001");
    enc("4 speed 3", "4", "INC", "1", "3", "", 1, "04000001");
    enc("4 speed 4", "4", "INC", "1", "4", "", 1, "06000001");
    enc("4 empty speed is speed 1", "4", "INC", "1", "", "", 1, "00000001");
    enc("4 other speed text adds nothing", "4", "INC", "1", "5", "", 1, "00000001");
    enc("4 timer 0", "4", "ABS", "1", "", "0", 1, "01000001");
    enc("4 timer 1", "4", "ABS", "1", "", "1", 1, "11000001");
    enc("4 timer 2", "4", "ABS", "1", "", "2", 1, "21000001");
    enc("4 timer 3", "4", "ABS", "1", "", "3", 1, "31000001");
    enc("4 trailing blanks removed", "4", "INC ", "1000", "2 ", "1 ", 1, "120003E8");
    enc("4 CW with decoded blank", "4", "CW ", "100", "1", "0", 1, "80000064");
    enc("4 blanks around data", "4", "INC", " 1000 ", "", "", 1, "000003E8");
    enc("4 half to even down", "4", "INC", "2.5", "", "", 1, "00000002");
    enc("4 half to even up", "4", "INC", "3.5", "", "", 1, "00000004");
    enc("4 scaled 0.001", "4", "INC", "1.5", "", "", 0.001, "000005DC");
    enc("4 scaled 0.1, 15 digits", "4", "INC", "0.35", "", "", 0.1, "00000004");
    enc("4 scaled 0.1, half to even", "4", "INC", "0.45", "", "", 0.1, "00000004");
    enc("4 scaled 1.5", "4", "INC", "3", "", "", 1.5, "00000002");
    enc("4 scaled 1.5, 2.5 to 2", "4", "INC", "3.75", "", "", 1.5, "00000002");
    enc("4 scaled 1.5, 3.5 to 4", "4", "INC", "5.25", "", "", 1.5, "00000004");
    enc("4 scaled 1.5, -2.5 to -2", "4", "ABS", "-3.75", "", "", 1.5, "01FFFFFE");
    enc("4 scaled most positive", "4", "INC", "8388.607", "", "", 0.001, "007FFFFF");
    enc("4 scaled beyond 24 bits", "4", "INC", "8388.608", "", "", 0.001, "fail");
    enc("4 beyond 24 bits", "4", "INC", "8388608", "", "", 1, "fail");
    enc("4 below 24 bits", "4", "INC", "-8388609", "", "", 1, "fail");
    enc("4 far beyond 24 bits", "4", "INC", "16777316", "", "", 1, "fail");
    enc("4 beyond 32 bits", "4", "INC", "1e12", "", "", 1, "fail");
    enc("4 quotient overflows", "4", "INC", "1e300", "", "", 1e-300, "fail");
    enc("4 empty data", "4", "INC", "", "", "", 1, "fail");
    enc("4 data not a number", "4", "ABS", "abc", "", "", 1, "fail");
    enc("4 data with letters after", "4", "ABS", "12abc", "", "", 1, "fail");
    enc("4 factor 0", "4", "INC", "1", "", "", 0, "fail");
    enc("4 factor missing", "4", "LN2", "1", "", "", kNoFactor, "fail");
    // A negative factor would turn the move round.
    enc("4 factor negative", "4", "INC", "10", "", "", -2, "fail");
    enc("4 factor too large for a 24-bit count", "4", "CNT", "1", "", "", 1e302, "fail");
    enc("4 lower case", "4", "inc", "1", "", "", 1, "fail");
    enc("4 unknown command", "4", "XYZ", "1", "", "", 1, "fail");
    enc("4 CNT -5 ignores speed and timer", "4", "CNT", "-5", "3", "2", 1, "C9FFFFFB");
    enc("4 CNT most positive", "4", "CNT", "8388607", "", "", 1, "C97FFFFF");
    enc("4 CNT most negative", "4", "CNT", "-8388608", "", "", 1, "C9800000");
    enc("4 CNT scaled", "4", "CNT", "1.5", "", "", 0.5, "C9000003");
    enc("4 CNT empty", "4", "CNT", "", "", "", 1, "fail");
    enc("4 DCP", "4", "DCP", "-5", "", "", 1, "CAFFFFFB");
    enc("4 DCP beyond 24 bits", "4", "DCP", "8388608", "", "", 1, "fail");
    enc("4 JMP", "4", "JMP", "5", "2", "3", 1, "C1000005");
    enc("4 JMP empty reads 0", "4", "JMP", "", "", "", 1, "C1000000");
    enc("4 JMP leading number", "4", "JMP", "12abc", "", "", 1, "C100000C");
    enc("4 JMP half to even", "4", "JMP", "2.5", "", "", 1, "C1000002");
    enc("4 JMP needs no factor", "4", "JMP", "5", "", "", 0, "C1000005");
    enc("4 JMP most", "4", "JMP", "16777215", "", "", 1, "C1FFFFFF");
    enc("4 JMP beyond 24 bits", "4", "JMP", "16777216", "", "", 1, "fail");
    enc("4 JMP negative", "4", "JMP", "-1", "", "", 1, "fail");
    enc("4 JMP beyond 32 bits", "4", "JMP", "3e9", "", "", 1, "fail");
    enc("4 SUB", "4", "SUB", "7", "", "", 1, "C2000007");
    enc("4 TIM", "4", "TIM", "100", "", "", 1, "CB000064");
    enc("4 TIM most", "4", "TIM", "16777215", "", "", 1, "CBFFFFFF");
    enc("4 RET", "4", "RET", "", "", "", 1, "CD000000");
    enc("4 REP", "4", "REP", "3,10", "", "", 1, "C300030A");
    enc("4 REP most", "4", "REP", "65535,255", "", "", 1, "C3FFFFFF");
    enc("4 REP first too wide", "4", "REP", "65536,1", "", "", 1, "fail");
    enc("4 REP second too wide", "4", "REP", "3,256", "", "", 1, "fail");
    enc("4 REP negative", "4", "REP", "-1,1", "", "", 1, "fail");
    enc("4 REP no comma", "4", "REP", "3", "", "", 1, "fail");
    enc("4 REP empty first", "4", "REP", ",3", "", "", 1, "fail");
    enc("4 REP two commas", "4", "REP", "3,10,2", "", "", 1, "fail");
    enc("4 INP on", "4", "INP", "5,1", "", "", 1, "C5850000");
    enc("4 INP off", "4", "INP", "5,0", "", "", 1, "C5050000");
    enc("4 INP empty state is not 0", "4", "INP", "5,", "", "", 1, "C5850000");
    enc("4 INP most", "4", "INP", "127,0", "", "", 1, "C57F0000");
    enc("4 INP input over 127", "4", "INP", "128,0", "", "", 1, "fail");
    enc("4 INP no comma", "4", "INP", "5", "", "", 1, "fail");
    enc("4 IJP", "4", "IJP", "5,1,100", "", "", 1, "C6850064");
    enc("4 IJP most", "4", "IJP", "127,0,65535", "", "", 1, "C67FFFFF");
    enc("4 IJP one comma", "4", "IJP", "5,1", "", "", 1, "fail");
    enc("4 IJP register too wide", "4", "IJP", "5,1,65536", "", "", 1, "fail");
    enc("4 IJP input over 127", "4", "IJP", "128,1,1", "", "", 1, "fail");
    enc("4 OUT", "4", "OUT", "3,1", "", "", 1, "C7010003");
    enc("4 OUT most", "4", "OUT", "65535,255", "", "", 1, "C7FFFFFF");
    enc("4 OUT state too wide", "4", "OUT", "3,256", "", "", 1, "fail");
    enc("4 OUT no comma", "4", "OUT", "3", "", "", 1, "fail");
    enc("4 OTP", "4", "OTP", "3,1", "", "", 1, "C8030001");
    enc("4 OTP most", "4", "OTP", "255,65535", "", "", 1, "C8FFFFFF");
    enc("4 OTP first too wide", "4", "OTP", "256,0", "", "", 1, "fail");
    enc("4 RNY alone", "4", "RNY", "100", "", "", 1, "CE000064");
    enc("4 RNY with second", "4", "RNY", "100,2", "", "", 1, "CE020064");
    enc("4 RNY most", "4", "RNY", "65535,255", "", "", 1, "CEFFFFFF");
    enc("4 RNY register too wide", "4", "RNY", "65536", "", "", 1, "fail");
    enc("4 RNY second too wide", "4", "RNY", "1,256", "", "", 1, "fail");
    enc("4 RNY empty", "4", "RNY", "", "", "", 1, "fail");
    enc("4 RNZ", "4", "RNZ", "5,1", "", "", 1, "D1010005");
    enc("4 RNU", "4", "RNU", "5", "", "", 1, "D2000005");
    enc("4 WTY ignores data", "4", "WTY", "9", "2", "1", 1, "CF000000");
    enc("4 HOM", "4", "HOM", "", "", "", 1, "D0000000");
    enc("4 END", "4", "END", "", "", "", 1, "FF000000");
    enc("4 WTZ", "4", "WTZ", "", "", "", 1, "D3000000");
    enc("4 WTU", "4", "WTU", "", "", "", 1, "D4000000");
    enc("4 MOV speed 3", "4", "MOV", "1", "3", "", 1, "D5000401");
    enc("4 MOV speed 2", "4", "MOV", "1", "2", "", 1, "D5000201");
    enc("4 MOV speed 4", "4", "MOV", "1", "4", "", 1, "D5000601");
    enc("4 MOV empty", "4", "MOV", "", "", "", 1, "D5000000");
    enc("4 MOV over one bit", "4", "MOV", "2", "", "", 1, "fail");
    enc("4 MOV negative", "4", "MOV", "-1", "", "", 1, "fail");
    enc("4 STO timer 2", "4", "STO", "1", "", "2", 1, "D6002001");
    enc("4 STO timer 1", "4", "STO", "1", "", "1", 1, "D6001001");
    enc("4 STO timer 3 off", "4", "STO", "0", "4", "3", 1, "D6003000");
    enc("4 SPD", "4", "SPD", "500", "", "", 1, "D70001F4");
    enc("4 SPD most", "4", "SPD", "16777215", "", "", 1, "D7FFFFFF");
    enc("4 SPD negative", "4", "SPD", "-1", "", "", 1, "fail");
    enc("4 SPD beyond 24 bits", "4", "SPD", "16777216", "", "", 1, "fail");

    // ---- 2-axis unit: no scaling, lenient motion data, its own packings
    enc("2 empty", "2", "", "5", "2", "1", 1, "C0000000");
    enc("2 INC worked example", "2", "INC", "1000", "2", "1", 1, "120003E8");
    enc("2 ABS -1", "2", "ABS", "-1", "1", "0", 1, "01FFFFFF");
    enc("2 LN2 most negative, speed 4 timer 3", "2", "LN2", "-8388608", "4", "3", 1, "76800000");
    enc("2 CW most positive, speed 3 timer 2", "2", "CW", "8388607", "3", "2", 1, "A47FFFFF");
    enc("2 CCW speed 2 timer 1", "2", "CCW", "1", "2", "1", 1, "93000001");
    enc("2 half to even down", "2", "INC", "2.5", "", "", 1, "00000002");
    enc("2 half to even up", "2", "INC", "3.5", "", "", 1, "00000004");
    enc("2 empty data reads 0", "2", "INC", "", "", "", 1, "00000000");
    enc("2 leading number", "2", "INC", "12abc", "", "", 1, "0000000C");
    enc("2 no scaling", "2", "INC", "1.5", "", "", 0.001, "00000002");
    enc("2 factor unused", "2", "INC", "7", "", "", kNoFactor, "00000007");
    enc("2 beyond 24 bits", "2", "INC", "16777316", "", "", 1, "fail");
    enc("2 below 24 bits", "2", "ABS", "-8388609", "", "", 1, "fail");
    enc("2 LN3 not encoded", "2", "LN3", "10", "", "", 1, "fail");
    enc("2 RNZ not encoded", "2", "RNZ", "5", "", "", 1, "fail");
    enc("2 RNU not encoded", "2", "RNU", "5", "", "", 1, "fail");
    enc("2 WTZ not listed", "2", "WTZ", "", "", "", 1, "fail");
    enc("2 WTU not listed", "2", "WTU", "", "", "", 1, "fail");
    enc("2 MOV not listed", "2", "MOV", "1", "", "", 1, "fail");
    enc("2 STO not listed", "2", "STO", "1", "", "", 1, "fail");
    enc("2 SPD not listed", "2", "SPD", "500", "", "", 1, "fail");
    enc("2 unknown command", "2", "JMPX", "5", "", "", 1, "fail");
    enc("2 CNT", "2", "CNT", "-5", "", "", 1, "C9FFFFFB");
    enc("2 CNT empty reads 0", "2", "CNT", "", "", "", 1, "C9000000");
    enc("2 DCP", "2", "DCP", "7", "", "", 1, "CA000007");
    enc("2 JMP", "2", "JMP", "53", "", "", 1, "C1000035");
    enc("2 JMP negative", "2", "JMP", "-1", "", "", 1, "fail");
    enc("2 SUB", "2", "SUB", "3", "", "", 1, "C2000003");
    enc("2 TIM", "2", "TIM", "16777215", "", "", 1, "CBFFFFFF");
    enc("2 RET", "2", "RET", "", "", "", 1, "CD000000");
    enc("2 REP", "2", "REP", "3,10", "", "", 1, "C303000A");
    enc("2 REP most", "2", "REP", "255,65535", "", "", 1, "C3FFFFFF");
    enc("2 REP first too wide", "2", "REP", "256,1", "", "", 1, "fail");
    enc("2 REP no comma, no partial word", "2", "REP", "3", "", "", 1, "fail");
    enc("2 INP", "2", "INP", "5,1", "", "", 1, "C5010005");
    enc("2 INP most", "2", "INP", "65535,255", "", "", 1, "C5FFFFFF");
    enc("2 INP state too wide", "2", "INP", "5,256", "", "", 1, "fail");
    enc("2 INP empty state", "2", "INP", "5,", "", "", 1, "fail");
    enc("2 IJP", "2", "IJP", "5,1,20", "", "", 1, "C6011405");
    enc("2 IJP most", "2", "IJP", "255,255,255", "", "", 1, "C6FFFFFF");
    enc("2 IJP register too wide", "2", "IJP", "5,1,256", "", "", 1, "fail");
    enc("2 IJP one comma", "2", "IJP", "5,1", "", "", 1, "fail");
    enc("2 OUT", "2", "OUT", "3,1", "", "", 1, "C7010003");
    enc("2 OUT state too wide", "2", "OUT", "3,256", "", "", 1, "fail");
    enc("2 OTP", "2", "OTP", "3,1", "", "", 1, "C8030001");
    enc("2 RNY alone", "2", "RNY", "100", "", "", 1, "CE000064");
    enc("2 RNY with second", "2", "RNY", "100,2", "", "", 1, "CE020064");
    enc("2 WTY", "2", "WTY", "", "", "", 1, "CF000000");
    enc("2 HOM", "2", "HOM", "", "", "", 1, "D0000000");
    enc("2 END", "2", "END", "", "", "", 1, "FF000000");
}

void TestCodec::encode()
{
    QFETCH(QString, model);
    QFETCH(QString, cmd);
    QFETCH(QString, dat);
    QFETCH(QString, spd);
    QFETCH(QString, tim);
    QFETCH(double, factor);
    QFETCH(QString, word);

    const auto w = EncodeInstruction(UnitKindOf(model), {cmd, dat, spd, tim}, factorOf(factor));
    QCOMPARE(w ? w->text : failed(), word == u"fail" ? failed() : word);
    if (w)
        QCOMPARE(w->value, word.toUInt(nullptr, 16));
}

void TestCodec::encodeForAxis_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("unitCode");
    QTest::addColumn<QString>("factorText");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<QString>("dat");
    QTest::addColumn<QString>("word");
    QTest::newRow("X in pulses") << 0 << 0 << "1" << "INC" << "1000" << "000003E8";
    QTest::newRow("Z in mm") << 2 << 1 << "0.001" << "INC" << "1.5" << "000005DC";
    QTest::newRow("U in inch") << 3 << 3 << "0.5" << "CNT" << "-1" << "C9FFFFFE";
    QTest::newRow("factor 0") << 1 << 1 << "0" << "INC" << "1" << "fail";
    QTest::newRow("factor not a number") << 1 << 2 << "abc" << "ABS" << "1" << "fail";
    QTest::newRow("factor negative") << 1 << 2 << "-2" << "INC" << "10" << "fail";
    QTest::newRow("unit code 7") << 0 << 7 << "1" << "INC" << "1" << "fail";
    QTest::newRow("unit code -1") << 0 << -1 << "1" << "INC" << "1" << "fail";
    QTest::newRow("bad unit code, unscaled command") << 0 << 7 << "1" << "JMP" << "5" << "C1000005";
    QTest::newRow("axis 4") << 4 << 0 << "1" << "JMP" << "5" << "fail";
    QTest::newRow("axis -1") << -1 << 0 << "1" << "END" << "" << "fail";
}

void TestCodec::encodeForAxis()
{
    QFETCH(int, axis);
    QFETCH(int, unitCode);
    QFETCH(QString, factorText);
    QFETCH(QString, cmd);
    QFETCH(QString, dat);
    QFETCH(QString, word);

    // Every other factor 1000, so a factor from the wrong slot shows.
    for (auto &row : g.ScaleFactor)
        row.fill(QStringLiteral("1000"));
    if (axis >= 0 && axis < kAxes) {
        g.ScaleSel[axis] = int16_t(unitCode);
        if (unitCode >= 0 && unitCode < kUnitCodes)
            g.ScaleFactor[unitCode][axis] = factorText;
    }
    const auto w = EncodeForAxis(UnitKind::FourAxis, {cmd, dat, "", ""}, axis);
    QCOMPARE(w ? w->text : failed(), word == u"fail" ? failed() : word);
}

void TestCodec::refusalNamesFieldAndCause_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<QString>("dat");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("why");
    QTest::newRow("2 REP without a comma")
        << "2" << "REP" << "X-8388608" << 1.0
        << "DATA \"X-8388608\" of REP cannot be sent: it needs two numbers separated by a comma.";
    QTest::newRow("2 IJP with one comma")
        << "2" << "IJP" << "5,1" << 1.0 << "DATA \"5,1\" of IJP cannot be sent: it needs three numbers separated by commas.";
    QTest::newRow("2 REP first beyond its field")
        << "2" << "REP" << "256,1" << 1.0
        << "DATA \"256,1\" of REP cannot be sent: its first number must be a whole number from 0 to 255.";
    QTest::newRow("4 IJP third beyond its field")
        << "4" << "IJP" << "5,1,65536" << 1.0
        << "DATA \"5,1,65536\" of IJP cannot be sent: its third number must be a whole number from 0 to 65535.";
    QTest::newRow("2 OUT second not a number")
        << "2" << "OUT" << "3,on" << 1.0
        << "DATA \"3,on\" of OUT cannot be sent: its second number must be a whole number from 0 to 255.";
    QTest::newRow("2 motion beyond 24 bits")
        << "2" << "ABS" << "-8388609" << 1.0
        << "DATA \"-8388609\" of ABS cannot be sent: it is beyond the -8388608 to 8388607 pulses the unit takes.";
    QTest::newRow("4 motion beyond 24 bits at its factor")
        << "4" << "INC" << "10000" << 0.001
        << "DATA \"10000\" of INC cannot be sent: divided by the factor 0.001 of the axis's unit it is beyond the "
           "-8388608 to 8388607 pulses the unit takes.";
    QTest::newRow("4 motion without a factor")
        << "4" << "CNT" << "5" << kNoFactor
        << "DATA \"5\" of CNT cannot be sent: the axis's unit of measure has no factor above 0 to turn it into pulses.";
    QTest::newRow("4 motion data empty") << "4" << "LN2" << "" << 1.0 << "DATA \"\" of LN2 cannot be sent: it is empty.";
    QTest::newRow("4 motion data no number")
        << "4" << "CW" << "12abc" << 1.0 << "DATA \"12abc\" of CW cannot be sent: it is no number.";
    QTest::newRow("2 JMP negative")
        << "2" << "JMP" << "-1" << 1.0 << "DATA \"-1\" of JMP cannot be sent: it must be a number from 0 to 16777215.";
    QTest::newRow("4 MOV over one bit")
        << "4" << "MOV" << "2" << 1.0 << "DATA \"2\" of MOV cannot be sent: it must be 0 or 1.";
    QTest::newRow("2 LN3 listed, not taken")
        << "2" << "LN3" << "10" << 1.0 << "CMD \"LN3\" cannot be sent: the unit does not take this command.";
    QTest::newRow("2 unknown command, trailing blanks removed")
        << "2" << "JMPX  " << "5" << 1.0 << "CMD \"JMPX\" cannot be sent: it is no command the unit knows.";
}

// A refused register says which field cannot be sent and why; a word
// built leaves the reason untouched.
void TestCodec::refusalNamesFieldAndCause()
{
    QFETCH(QString, model);
    QFETCH(QString, cmd);
    QFETCH(QString, dat);
    QFETCH(double, factor);
    QFETCH(QString, why);
    QString told;
    QVERIFY(!EncodeInstruction(UnitKindOf(model), {cmd, dat, "", ""}, factorOf(factor), &told));
    QCOMPARE(told, why);

    QString untouched = QStringLiteral("kept");
    QVERIFY(EncodeInstruction(UnitKindOf(model), {"JMP", "5", "", ""}, 1.0, &untouched));
    QCOMPARE(untouched, QStringLiteral("kept"));
}

void TestCodec::classify_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("wordText");
    QTest::addColumn<int>("cls");   // -1: failure
    QTest::newRow("linear") << "4" << "PRX 12,120003E8\r" << "120003E8\r" << 0;
    QTest::newRow("ABS is linear") << "4" << "PRX 0,01FFFFFF\r" << "01FFFFFF\r" << 0;
    QTest::newRow("LN2") << "4" << "PRY 1,40000010\r" << "40000010\r" << 1;
    QTest::newRow("LN3 on 4-axis") << "4" << "PRY 1,4800000A\r" << "4800000A\r" << 3;
    QTest::newRow("LN3 on 2-axis is LN2") << "2" << "IXR X1, 4800000A\r" << "4800000A\r" << 1;
    QTest::newRow("circular") << "4" << "PRX 5,81000064\r" << "81000064\r" << 2;
    QTest::newRow("circular 2-axis") << "2" << "IXR Y5, 96FFFF9C\r" << "96FFFF9C\r" << 2;
    QTest::newRow("empty instruction") << "4" << "PRX 5,C0000000\r" << "C0000000\r" << 256;
    QTest::newRow("JMP") << "2" << "IXR X12, C1000005\r" << "C1000005\r" << 257;
    QTest::newRow("SPD") << "4" << "PRU 7,D7001F40\r" << "D7001F40\r" << 279;
    QTest::newRow("END") << "4" << "PRX 7,FF000000\r" << "FF000000\r" << 319;
    QTest::newRow("lower-case digits") << "4" << "PRX 7,c10003e7" << "c10003e7" << 257;
    QTest::newRow("several blanks after comma") << "4" << "PRZ 3,    81000064\r" << "81000064\r" << 2;
    QTest::newRow("no comma") << "2" << "  C1000005\r" << "C1000005\r" << 257;
    QTest::newRow("no comma, whole reply not a word") << "4" << "PRX 12 120003E8\r" << "" << -1;
    QTest::newRow("nothing after comma") << "4" << "PRX 12,\r" << "" << -1;
    QTest::newRow("short word") << "4" << "PRX 12,1200\r" << "" << -1;
    QTest::newRow("not hexadecimal") << "4" << "PRX 12,ZZ000000\r" << "" << -1;
    QTest::newRow("nine digits") << "2" << "IXR X1, 120003E80\r" << "" << -1;
    QTest::newRow("empty reply") << "4" << "" << "" << -1;
}

void TestCodec::classify()
{
    QFETCH(QString, model);
    QFETCH(QString, reply);
    QFETCH(QString, wordText);
    QFETCH(int, cls);

    const auto c = ChkACT(reply, UnitKindOf(model));
    QCOMPARE(c.has_value(), cls >= 0);
    if (c) {
        QCOMPARE(c->wordText, wordText);
        QCOMPARE(c->instructionClass, cls);
    }
}

void TestCodec::decode_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<QString>("dat");
    QTest::addColumn<QString>("spd");
    QTest::addColumn<QString>("tim");

    // ---- 4-axis motion
    dec("4 INC worked example", "4", "120003E8", 1, "INC", "1000", "2", "1");
    dec("4 ABS -1", "4", "01FFFFFF", 1, "ABS", "-1", "1", "0");
    dec("4 most positive", "4", "007FFFFF", 1, "INC", "8388607", "1", "0");
    dec("4 most negative", "4", "00800000", 1, "INC", "-8388608", "1", "0");
    dec("4 LN3", "4", "4800000A", 1, "LN3", "10", "1", "0");
    dec("4 LN3 speed 2", "4", "4A000010", 1, "LN3", "16", "2", "0");
    dec("4 LN2 speed 4 timer 3", "4", "76800000", 1, "LN2", "-8388608", "4", "3");
    dec("4 CW keeps its blank", "4", "80000064", 1, "CW ", "100", "1", "0");
    dec("4 CCW", "4", "81000064", 1, "CCW", "100", "1", "0");
    dec("4 speed 3 timer 2", "4", "A47FFFFF", 1, "CW ", "8388607", "3", "2");
    dec("4 mm 1.234", "4", "000004D2", 0.001, "INC", "1.234", "1", "0");
    dec("4 mm -0.001", "4", "00FFFFFF", 0.001, "INC", "-0.001", "1", "0");
    dec("4 factor 0.1 no float noise", "4", "00000003", 0.1, "INC", "0.3", "1", "0");
    dec("4 factor 1.5", "4", "01000003", 1.5, "ABS", "4.5", "1", "0");
    dec("4 lower-case digits", "4", "120003e8", 1, "INC", "1000", "2", "1");
    dec("4 line end after word", "4", "120003E8\r", 1, "INC", "1000", "2", "1");
    dec("4 motion with factor 0", "4", "120003E8", 0, "fail", "", "", "");
    dec("4 motion without factor", "4", "120003E8", kNoFactor, "fail", "", "", "");
    dec("4 motion with factor negative", "4", "120003E8", -2, "fail", "", "", "");
    dec("4 CNT with factor too large", "4", "C9F90131", 1e302, "fail", "", "", "");
    dec("4 seven digits", "4", "120003E", 1, "fail", "", "", "");
    dec("4 nine digits", "4", "120003E80", 1, "fail", "", "", "");
    dec("4 not hexadecimal", "4", "12000ZE8", 1, "fail", "", "", "");
    dec("4 text after word", "4", "120003E8 X", 1, "fail", "", "", "");
    dec("4 empty", "4", "", 1, "fail", "", "", "");

    // ---- 4-axis control
    dec("4 empty instruction", "4", "C0000000", 1, "", "", "", "");
    dec("4 JMP", "4", "C10003E7", 1, "JMP", "999", "", "");
    dec("4 JMP 1999", "4", "C10007CF", 1, "JMP", "1999", "", "");
    dec("4 JMP 11 bits", "4", "C1FFFFFF", 1, "JMP", "2047", "", "");
    dec("4 JMP bit 11 dropped", "4", "C1000800", 1, "JMP", "0", "", "");
    dec("4 JMP needs no factor", "4", "C1000005", 0, "JMP", "5", "", "");
    dec("4 SUB", "4", "C2000005", 1, "SUB", "5", "", "");
    dec("4 REP", "4", "C300030A", 1, "REP", "3,10", "", "");
    dec("4 REP masks", "4", "C3FFFFFF", 1, "REP", "2047,255", "", "");
    dec("4 INP on", "4", "C5850000", 1, "INP", "5,1", "", "");
    dec("4 INP off", "4", "C5050000", 1, "INP", "5,0", "", "");
    dec("4 INP low bits unread", "4", "C5851234", 1, "INP", "5,1", "", "");
    dec("4 IJP", "4", "C6850064", 1, "IJP", "5,1,100", "", "");
    dec("4 IJP off", "4", "C6050064", 1, "IJP", "5,0,100", "", "");
    dec("4 OUT", "4", "C7010007", 1, "OUT", "7,1", "", "");
    dec("4 OTP", "4", "C8011234", 1, "OTP", "1,4660", "", "");
    dec("4 CNT -5", "4", "C9FFFFFB", 1, "CNT", "-5", "", "");
    dec("4 CNT most negative", "4", "C9800000", 1, "CNT", "-8388608", "", "");
    dec("4 CNT most positive", "4", "C97FFFFF", 1, "CNT", "8388607", "", "");
    dec("4 CNT scaled", "4", "C9000003", 0.5, "CNT", "1.5", "", "");
    dec("4 CNT factor 0", "4", "C9000003", 0, "fail", "", "", "");
    dec("4 DCP like CNT", "4", "CAFFFFFB", 1, "DCP", "-5", "", "");
    dec("4 DCP scaled", "4", "CA000003", 0.5, "DCP", "1.5", "", "");
    dec("4 TIM unmasked", "4", "CBFFFFFF", 1, "TIM", "16777215", "", "");
    dec("4 RET operand unread", "4", "CD000005", 1, "RET", "", "", "");
    dec("4 RNY with 1", "4", "CE010005", 1, "RNY", "5,1", "", "");
    dec("4 RNY alone", "4", "CE000005", 1, "RNY", "5", "", "");
    dec("4 RNY other second dropped", "4", "CE020005", 1, "RNY", "5", "", "");
    dec("4 RNY 11 bits", "4", "CE0007CF", 1, "RNY", "1999", "", "");
    dec("4 WTY", "4", "CF000000", 1, "WTY", "", "", "");
    dec("4 HOM", "4", "D0000000", 1, "HOM", "", "", "");
    dec("4 RNZ", "4", "D1010005", 1, "RNZ", "5,1", "", "");
    dec("4 RNU", "4", "D2000007", 1, "RNU", "7", "", "");
    dec("4 WTZ", "4", "D3000000", 1, "WTZ", "", "", "");
    dec("4 WTU", "4", "D4000000", 1, "WTU", "", "", "");
    dec("4 MOV speed 3", "4", "D5000401", 1, "MOV", "1", "3", "");
    dec("4 MOV speed 1", "4", "D5000000", 1, "MOV", "0", "1", "");
    dec("4 MOV speed 4", "4", "D5000601", 1, "MOV", "1", "4", "");
    dec("4 STO timer unread", "4", "D6002001", 1, "STO", "1", "", "");
    dec("4 SPD", "4", "D7001F40", 1, "SPD", "8000", "", "");
    dec("4 SPD 20 bits", "4", "D7F00010", 1, "SPD", "16", "", "");
    dec("4 END", "4", "FF000000", 1, "END", "", "", "");
    dec("4 C4 unknown", "4", "C4000000", 1, "", "", "", "");
    dec("4 CC unknown", "4", "CC123456", 1, "", "", "", "");
    dec("4 D8 unknown", "4", "D8000000", 1, "", "", "", "");
    dec("4 FE unknown", "4", "FEFFFFFF", 1, "", "", "", "");
    dec("4 control not hexadecimal", "4", "C100000G", 1, "fail", "", "", "");

    // ---- 2-axis motion: pulses, never LN3
    dec("2 ABS", "2", "0100C350", 1, "ABS", "50000", "1", "0");
    dec("2 CW", "2", "96FFFF9C", 1, "CW ", "-100", "4", "1");
    dec("2 LN3 flag read as LN2", "2", "4A000010", 1, "LN2", "16", "2", "0");
    dec("2 CCW bit 27 ignored", "2", "BF000001", 1, "CCW", "1", "4", "3");
    dec("2 most negative", "2", "00800000", 1, "INC", "-8388608", "1", "0");
    dec("2 most positive", "2", "007FFFFF", 1, "INC", "8388607", "1", "0");
    dec("2 -1", "2", "00FFFFFF", 1, "INC", "-1", "1", "0");
    dec("2 zero", "2", "00000000", 1, "INC", "0", "1", "0");
    dec("2 unscaled", "2", "00000003", 0.1, "INC", "3", "1", "0");
    dec("2 no factor needed", "2", "120003E8", kNoFactor, "INC", "1000", "2", "1");
    dec("2 short word", "2", "0100C35", 1, "fail", "", "", "");
    dec("2 text after word", "2", "0100C350AB", 1, "fail", "", "", "");

    // ---- 2-axis control
    dec("2 empty instruction", "2", "C0000000", 1, "", "", "", "");
    dec("2 JMP", "2", "C1000035", 1, "JMP", "53", "", "");
    dec("2 JMP 6 bits", "2", "C1000040", 1, "JMP", "0", "", "");
    dec("2 SUB", "2", "C2000005", 1, "SUB", "5", "", "");
    dec("2 REP", "2", "C3050010", 1, "REP", "5,16", "", "");
    dec("2 REP masks", "2", "C3050123", 1, "REP", "5,35", "", "");
    dec("2 INP on", "2", "C5010007", 1, "INP", "7,1", "", "");
    dec("2 INP off", "2", "C5000007", 1, "INP", "7,0", "", "");
    dec("2 IJP", "2", "C6010A07", 1, "IJP", "7,1,10", "", "");
    dec("2 OUT", "2", "C7010007", 1, "OUT", "7,1", "", "");
    dec("2 OTP", "2", "C8011234", 1, "OTP", "1,4660", "", "");
    dec("2 CNT -5", "2", "C9FFFFFB", 1, "CNT", "-5", "", "");
    dec("2 CNT most negative", "2", "C9800000", 1, "CNT", "-8388608", "", "");
    dec("2 CNT most positive", "2", "C97FFFFF", 0.5, "CNT", "8388607", "", "");
    dec("2 DCP like CNT", "2", "CAFFFFFB", 1, "DCP", "-5", "", "");
    dec("2 TIM", "2", "CBFFFFFF", 1, "TIM", "16777215", "", "");
    dec("2 RET", "2", "CD000005", 1, "RET", "", "", "");
    dec("2 RNY with 1", "2", "CE010005", 1, "RNY", "5,1", "", "");
    dec("2 RNY alone", "2", "CE000005", 1, "RNY", "5", "", "");
    dec("2 RNY other second dropped", "2", "CE020005", 1, "RNY", "5", "", "");
    dec("2 RNY 6 bits", "2", "CE000064", 1, "RNY", "36", "", "");
    dec("2 WTY", "2", "CF000000", 1, "WTY", "", "", "");
    dec("2 HOM", "2", "D0000000", 1, "HOM", "", "", "");
    dec("2 END", "2", "FF000000", 1, "END", "", "", "");
    dec("2 C4 unknown", "2", "C4000000", 1, "", "", "", "");
    dec("2 CC unknown", "2", "CC123456", 1, "", "", "", "");
    dec("2 D1 unknown", "2", "D1000000", 1, "", "", "", "");
    dec("2 MOV opcode unknown", "2", "D5000401", 1, "", "", "", "");
    dec("2 SPD opcode unknown", "2", "D7001F40", 1, "", "", "", "");
    dec("2 FE unknown", "2", "FEFFFFFF", 1, "", "", "", "");
}

void TestCodec::decode()
{
    QFETCH(QString, model);
    QFETCH(QString, word);
    QFETCH(double, factor);
    QFETCH(QString, cmd);
    QFETCH(QString, dat);
    QFETCH(QString, spd);
    QFETCH(QString, tim);

    const auto got = DecodeWord(UnitKindOf(model), word, factorOf(factor));
    const QString want = cmd == u"fail" ? failed() : shown(AxisInstruction{cmd, dat, spd, tim});
    QCOMPARE(shown(got), want);
}

void TestCodec::decodersKeepToTheirKind()
{
    // Each decoding takes only its own kind of word, so a caller that picked
    // the wrong one gets a failure instead of made-up texts.
    QVERIFY(!DecodeMotion4(QStringLiteral("C1000005"), 1.0));
    QVERIFY(!DecodeMotion2(QStringLiteral("FF000000")));
    QVERIFY(!DecodeControl4(QStringLiteral("120003E8"), 1.0));
    QVERIFY(!DecodeControl2(QStringLiteral("4800000A")));
    QCOMPARE(shown(DecodeMotion4(QStringLiteral("4800000A"), 1.0)), QStringLiteral("[LN3|10|1|0]"));
    QCOMPARE(shown(DecodeMotion2(QStringLiteral("4800000A"))), QStringLiteral("[LN2|10|1|0]"));
    QCOMPARE(shown(DecodeControl4(QStringLiteral("D5000401"), 1.0)), QStringLiteral("[MOV|1|3|]"));
    QCOMPARE(shown(DecodeControl2(QStringLiteral("D5000401"))), QStringLiteral("[|||]"));
}

void TestCodec::decodeForAxis_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("texts");
    // Words the 4-axis decoding once left alone on some axes decode alike on all.
    QTest::newRow("LN2 on U") << "4" << 3 << "40000064" << "[LN2|100|1|0]";
    QTest::newRow("LN3 on U") << "4" << 3 << "4800000A" << "[LN3|10|1|0]";
    QTest::newRow("CW on Z") << "4" << 2 << "80000064" << "[CW |100|1|0]";
    QTest::newRow("CCW on U") << "4" << 3 << "81000064" << "[CCW|100|1|0]";
    QTest::newRow("RNY on Y") << "4" << 1 << "CE010005" << "[RNY|5,1||]";
    QTest::newRow("WTY on Z") << "4" << 2 << "CF000000" << "[WTY|||]";
    QTest::newRow("RNZ on U") << "4" << 3 << "D1000005" << "[RNZ|5||]";
    QTest::newRow("WTU on Y") << "4" << 1 << "D4000000" << "[WTU|||]";
    QTest::newRow("2-axis RNY on Y") << "2" << 1 << "CE010005" << "[RNY|5,1||]";
    QTest::newRow("2-axis WTY on Y") << "2" << 1 << "CF000000" << "[WTY|||]";
    QTest::newRow("2-axis CW on Y") << "2" << 1 << "80000064" << "[CW |100|1|0]";
    QTest::newRow("axis 4") << "4" << 4 << "C1000005" << "(failure)";
    QTest::newRow("axis -1") << "2" << -1 << "C1000005" << "(failure)";
}

void TestCodec::decodeForAxis()
{
    QFETCH(QString, model);
    QFETCH(int, axis);
    QFETCH(QString, word);
    QFETCH(QString, texts);
    QCOMPARE(shown(DecodeForAxis(UnitKindOf(model), word, axis)), texts);
}

void TestCodec::everyControlByte_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("4-axis") << "4";
    QTest::newRow("2-axis") << "2";
}

void TestCodec::everyControlByte()
{
    QFETCH(QString, model);
    const UnitKind unit = UnitKindOf(model);
    const bool four = unit == UnitKind::FourAxis;
    int named = 0;
    for (uint32_t byte = 0xC0; byte <= 0xFF; ++byte) {
        const uint32_t word = byte << 24;
        const auto got = DecodeWord(unit, WordText(word), 1.0);
        QVERIFY2(got, qPrintable(WordText(word)));
        QVERIFY2(got->TIM.isEmpty(), qPrintable(WordText(word)));
        QVERIFY2(got->SPD.isEmpty() || (four && got->CMD == u"MOV"), qPrintable(WordText(word)));
        if (got->CMD.isEmpty()) {
            QVERIFY2(got->DAT.isEmpty() && got->SPD.isEmpty(), qPrintable(WordText(word)));
            continue;
        }
        // What comes back of a word with zero operands encodes to that word.
        ++named;
        const auto again = EncodeInstruction(unit, *got, 1.0);
        QVERIFY2(again, qPrintable(WordText(word)));
        QCOMPARE(again->text, WordText(word));
    }
    // Named opcodes: C1-C3, C5-CB, CD-D0 and FF; the 4-axis unit adds D1-D7.
    QCOMPARE(named, four ? 22 : 15);
}

void TestCodec::roundTrip_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<QString>("dat");
    QTest::addColumn<QString>("spd");
    QTest::addColumn<QString>("tim");
    QTest::addColumn<double>("factor");

    trip("4 empty", "4", "", "", "", "");
    trip("4 INC", "4", "INC", "1000", "2", "1");
    trip("4 ABS most negative", "4", "ABS", "-8388608", "4", "3");
    trip("4 LN2 most positive", "4", "LN2", "8388607", "3", "2");
    trip("4 LN3", "4", "LN3", "10", "1", "0");
    trip("4 CCW", "4", "CCW", "-1", "2", "0");
    trip("4 INC in mm", "4", "INC", "1.5", "1", "0", 0.001);
    trip("4 ABS in mm", "4", "ABS", "-12.345", "2", "3", 0.001);
    trip("4 CNT", "4", "CNT", "-5", "", "");
    trip("4 CNT scaled", "4", "CNT", "-0.25", "", "", 0.05);
    trip("4 DCP", "4", "DCP", "12", "", "");
    trip("4 JMP", "4", "JMP", "1999", "", "");
    trip("4 SUB", "4", "SUB", "0", "", "");
    trip("4 REP", "4", "REP", "3,10", "", "");
    trip("4 REP widest", "4", "REP", "2047,255", "", "");
    trip("4 INP on", "4", "INP", "127,1", "", "");
    trip("4 INP off", "4", "INP", "5,0", "", "");
    trip("4 IJP", "4", "IJP", "5,1,100", "", "");
    trip("4 IJP widest", "4", "IJP", "0,0,2047", "", "");
    trip("4 OUT", "4", "OUT", "255,1", "", "");
    trip("4 OTP", "4", "OTP", "255,65535", "", "");
    trip("4 TIM", "4", "TIM", "16777215", "", "");
    trip("4 RET", "4", "RET", "", "", "");
    trip("4 RNY", "4", "RNY", "100", "", "");
    trip("4 RNY with 1", "4", "RNY", "1999,1", "", "");
    trip("4 RNZ", "4", "RNZ", "5,1", "", "");
    trip("4 RNU", "4", "RNU", "7", "", "");
    trip("4 WTY", "4", "WTY", "", "", "");
    trip("4 HOM", "4", "HOM", "", "", "");
    trip("4 END", "4", "END", "", "", "");
    trip("4 WTZ", "4", "WTZ", "", "", "");
    trip("4 WTU", "4", "WTU", "", "", "");
    trip("4 MOV", "4", "MOV", "1", "4", "");
    trip("4 MOV off", "4", "MOV", "0", "1", "");
    trip("4 STO", "4", "STO", "1", "", "");
    trip("4 SPD", "4", "SPD", "1048575", "", "");

    trip("2 empty", "2", "", "", "", "");
    trip("2 INC", "2", "INC", "1000", "2", "1");
    trip("2 ABS most negative", "2", "ABS", "-8388608", "4", "3");
    trip("2 LN2", "2", "LN2", "8388607", "3", "2");
    trip("2 CCW", "2", "CCW", "-1", "1", "0");
    trip("2 CNT", "2", "CNT", "-5", "", "");
    trip("2 DCP", "2", "DCP", "12", "", "");
    trip("2 JMP", "2", "JMP", "53", "", "");
    trip("2 SUB", "2", "SUB", "0", "", "");
    trip("2 REP", "2", "REP", "63,255", "", "");
    trip("2 INP", "2", "INP", "255,1", "", "");
    trip("2 IJP", "2", "IJP", "255,1,63", "", "");
    trip("2 OUT", "2", "OUT", "3,0", "", "");
    trip("2 OTP", "2", "OTP", "3,1", "", "");
    trip("2 TIM", "2", "TIM", "16777215", "", "");
    trip("2 RET", "2", "RET", "", "", "");
    trip("2 RNY", "2", "RNY", "53", "", "");
    trip("2 RNY with 1", "2", "RNY", "53,1", "", "");
    trip("2 WTY", "2", "WTY", "", "", "");
    trip("2 HOM", "2", "HOM", "", "", "");
    trip("2 END", "2", "END", "", "", "");
}

void TestCodec::roundTrip()
{
    QFETCH(QString, model);
    QFETCH(QString, cmd);
    QFETCH(QString, dat);
    QFETCH(QString, spd);
    QFETCH(QString, tim);
    QFETCH(double, factor);

    const UnitKind unit = UnitKindOf(model);
    const AxisInstruction texts{cmd, dat, spd, tim};
    const auto word = EncodeInstruction(unit, texts, factor);
    QVERIFY(word);
    // Through the reply, as an upload meets it.
    const auto classified = ChkACT(QStringLiteral("PRX 12, ") + word->text + u'\r', unit);
    QVERIFY(classified);
    QCOMPARE(shown(DecodeWord(unit, classified->wordText, factor)), shown(texts));
}

void TestCodec::largestFactorRoundTrip_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("CNT") << "C9F90131";
    QTest::newRow("CNT most negative") << "C9800000";
    QTest::newRow("DCP most positive") << "CA7FFFFF";
    QTest::newRow("INC most negative") << "00800000";
    QTest::newRow("ABS most positive, speed 4 timer 3") << "377FFFFF";
    QTest::newRow("CCW") << "81000001";
}

// An uploaded word with the largest factor the reader takes decodes to a text
// that encodes to the same word again, so an upload can be downloaded.
void TestCodec::largestFactorRoundTrip()
{
    QFETCH(QString, word);
    const double largest = std::numeric_limits<double>::max() / 8388608.0;
    QVERIFY(FactorAccepted(largest));
    QVERIFY(!FactorAccepted(std::nextafter(largest, std::numeric_limits<double>::infinity())));
    // Once as the number itself, once as its written form read back from the
    // store, the way the settings file hands it over.
    g.ScaleSel[1] = 1;
    g.ScaleFactor[1][1] = PlainForm(largest);
    for (const std::optional<double> factor : {std::optional<double>(largest), CurrentAxisFactor(1)}) {
        QVERIFY(factor);
        const auto texts = DecodeWord(UnitKind::FourAxis, word, factor);
        QVERIFY(texts);
        const auto back = EncodeInstruction(UnitKind::FourAxis, *texts, factor);
        QVERIFY2(back, qPrintable(texts->CMD + u' ' + texts->DAT));
        QCOMPARE(back->text, word);
    }
    const auto viaAxis = DecodeForAxis(UnitKind::FourAxis, word, 1);
    QVERIFY(viaAxis);
    QCOMPARE(EncodeForAxis(UnitKind::FourAxis, *viaAxis, 1)->text, word);
}

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
