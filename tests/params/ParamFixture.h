#pragma once
// Parameter tables of four axes for the transfer tests: what each axis holds,
// how its values stand on the line, and what an upload of them gives back.

#include "shared/Shared.h"

#include <QList>
#include <QString>
#include <QStringList>

using Ints = QList<int>;

namespace {

// The reply wait of a transfer that runs into a line left unanswered. Every
// line before it must get its reply in time, so it stands far above the
// slowest reply on a busy machine; the unanswered line waits it out once.
constexpr int kNoReplyWaitMs = 2000;

// One axis of the test tables: what it holds and how it stands on the line.
struct AxisCase {
    Ints mode;                // ModeSetTable items 0 to 10
    Ints home;                // HomeSetTable items 0 to 15
    QStringList params;       // ParamTable items 0 to 12
    QString mo1, mo2, hos;    // the packed words, 4 digits
    QStringList wire;         // items 0 to 12 on the 4-axis line (OFS 8 digits)
    QStringList readBack;     // items 0 to 12 as an upload of `wire` stores them
    Ints modeBack, homeBack;  // the settings after an upload, untouched items at 5
};

const AxisCase kAxis[4] = {
    // X: the worked examples of the mode and home words; rounding, blanks,
    // a 0 the grid would not take but the unit holds.
    {{1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0},
     {1, 1, 0, 0, 2, 0, 1, 1, 2, 0, 1, 1, 0, 0, 0, 0},
     {"500", "8000", "1", "1234.5", "1235.5", " 300", "0", "65535", "4096", "10", "2.5", "7999", "-1000"},
     "0045", "0021", "4155",
     {"01F4", "1F40", "0001", "04D2", "04D4", "012C", "0000", "FFFF", "1000", "000A", "0002", "1F3F", "FFFFFC18"},
     {"500", "8000", "1", "1234", "1236", "300", "0", "65535", "4096", "10", "2", "7999", "-1000"},
     {1, 0, 1, 0, 0, 0, 5, 0, 1, 0, 5},
     {1, 1, 0, 0, 2, 0, 1, 1, 2, 0, 1, 1, 5, 5, 5, 5}},
    // Y: every mode setting 1; the home word with bit 15; the highest offset.
    {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
     {2, 1, 1, 1, 1, 0, 2, 1, 1, 1, 0, 1, 0, 0, 0, 0},
     {"1", "2", "3", "8000", "100", "200", "400", "1", "65535", "256", "8000", "1", "8388607"},
     "007F", "006F", "9666",
     {"0001", "0002", "0003", "1F40", "0064", "00C8", "0190", "0001", "FFFF", "0100", "1F40", "0001", "007FFFFF"},
     {"1", "2", "3", "8000", "100", "200", "400", "1", "65535", "256", "8000", "1", "8388607"},
     {1, 1, 1, 1, 1, 1, 5, 1, 1, 1, 5},
     {2, 1, 1, 1, 1, 0, 2, 1, 1, 1, 0, 1, 5, 5, 5, 5}},
    // Z: every setting at its first entry; the lowest offset.
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {"250", "1000", "50", "60", "70", "80", "90", "1000", "2000", "3000", "15", "16", "-8388608"},
     "0000", "0000", "1004",
     {"00FA", "03E8", "0032", "003C", "0046", "0050", "005A", "03E8", "07D0", "0BB8", "000F", "0010", "FF800000"},
     {"250", "1000", "50", "60", "70", "80", "90", "1000", "2000", "3000", "15", "16", "-8388608"},
     {0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 5},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 5}},
    // U: settings that are no entry of their list add no bits; halves to even.
    {{2, -1, 2, -1, 2, -1, 0, 2, -1, 2, 0},
     {3, 2, -1, 2, 5, 2, -1, 2, 3, -1, 7, -1, 0, 0, 0, 0},
     {"7", "2.5", "3.5", "4.5", "5.5", "1e3", "8000", "65534.5", "30000", "40000", "99", "100", "0"},
     "0000", "0000", "0000",
     {"0007", "0002", "0004", "0004", "0006", "03E8", "1F40", "FFFE", "7530", "9C40", "0063", "0064", "00000000"},
     {"7", "2", "4", "4", "6", "1000", "8000", "65534", "30000", "40000", "99", "100", "0"},
     {0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 5},
     {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 5, 5, 5}},
};

const char *const kMnemonics[13] = {"RAT", "ACS", "DRS", "DR1", "DR2", "DR3", "DR4",
                                    "TM1", "TM2", "TM3", "OG1", "OG2", "OFS"};
const int kRegisters[13] = {60, 61, 62, 63, 64, 65, 66, 69, 70, 71, 56, 57, 68};

QString letter(int axis) { return QString(QChar("XYZU"[axis])); }
QString eight(const QString &digits) { return QString(8 - digits.size(), u'0') + digits; }

// Every line a transfer of these axes sends, each with the receive threshold
// in force while its reply is awaited ("SET" lines without).
QStringList expectedLines(int model, bool download, const Ints &axes)
{
    QStringList out;
    auto add = [&](const QString &line, int threshold) { out << line + u'|' + QString::number(threshold); };
    for (int a : axes) {
        const QString L = letter(a);
        const AxisCase &c = kAxis[a];
        if (model == 2) {
            add(download ? "IXS " + L + "58," + eight(c.mo1) : "IXR " + L + "58", 13);
            add(download ? "IXS " + L + "59," + eight(c.mo2) : "IXR " + L + "59", 13);
        } else {
            add(download ? "MO1 " + L + c.mo1 : "MO1 " + L, 10);
            add(download ? "MO2 " + L + c.mo2 : "MO2 " + L, 10);
        }
    }
    for (int a : axes) {
        const QString L = letter(a);
        if (model == 2)
            add(download ? "IXS " + L + "67," + eight(kAxis[a].hos) : "IXR " + L + "67", 13);
        else
            add(download ? "HOS " + L + kAxis[a].hos : "HOS " + L, 10);
    }
    for (int a : axes) {
        const QString L = letter(a);
        for (int i = 0; i < 13; ++i) {
            const bool ofs = i == 12;
            const QString reg = QString::number(kRegisters[i]);
            const QString mn = QLatin1String(kMnemonics[i]);
            if (model == 2)
                add(download ? "IXS " + L + reg + ',' + eight(kAxis[a].wire[i]) : "IXR " + L + reg,
                    ofs ? 17 : 13);
            else if (download)
                add(mn + ' ' + L + kAxis[a].wire[i], ofs ? 14 : 10);
            else
                add(mn + ' ' + L, ofs ? 13 : 9);
        }
    }
    if (download)
        for (int a : axes)
            out << "SET " + letter(a);
    return out;
}

Ints ints(const auto &arr) { return Ints(arr.begin(), arr.end()); }

// The test tables of the first `axes` axes into the shared tables.
void FillTables(int axes)
{
    for (int a = 0; a < axes; ++a) {
        for (int i = 0; i < kModeItems; ++i)
            g.ModeSetTable[a][i] = int16_t(kAxis[a].mode[i]);
        for (int i = 0; i < kHomeItems; ++i)
            g.HomeSetTable[a][i] = int16_t(kAxis[a].home[i]);
        for (int i = 0; i < 13; ++i)
            g.ParamTable[a][i] = kAxis[a].params[i];
        g.ParamTable[a][13] = "kept";
    }
}

// Every item of every axis at 5 or "kept", to show what an upload wrote.
void FillSentinels()
{
    for (int a = 0; a < kParamAxes; ++a) {
        g.ModeSetTable[a].fill(5);
        g.HomeSetTable[a].fill(5);
        g.ParamTable[a].fill("kept");
    }
}

} // namespace
