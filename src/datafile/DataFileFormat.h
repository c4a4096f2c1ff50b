#pragma once
// What the writer and the reader of a data file share: the marker lines,
// the character set and the progress count.
//
// A data file is 8-bit text (Latin-1, byte for byte), every line ended by
// CR LF: three header lines, an axis block for each of X, Y, Z and U (MODE,
// HOME SEARCH and PARAMETER values lines), "# PROGRAM" with one quoted
// record line per register of the unit's model, and "# SCALE" with the unit
// code of each axis and the factors of unit codes 0 to 5 of each axis.

#include "shared/UnitKind.h"

#include <QLatin1StringView>
#include <QString>
#include <functional>

// Both models count to the same maximum: four axis blocks and 2000 registers.
constexpr int kDataFileProgressMax = 4 + RegisterCount(UnitKind::FourAxis);
// Unit codes whose factors a data file carries (0 to 5; 6 is not kept).
constexpr int kFileUnitCodes = 6;
// Lines of the scale section: a unit code per axis, then the factors.
constexpr int kScaleLines = 4 + 4 * kFileUnitCodes;

// Told the progress count as a save or load advances (0 .. kDataFileProgressMax).
using DataFileProgress = std::function<void(int)>;

inline const QString kProgramMarker = QStringLiteral("# PROGRAM");
inline const QString kScaleMarker = QStringLiteral("# SCALE");

// "# X axis" .. "# U axis"; empty outside 0..3.
QString AxisHeading(int axis);
// The axis a heading names (exactly as written), -1 for any other line.
int AxisOfHeading(QLatin1StringView line);
// A line that ends whatever section is being read: an axis heading,
// "# PROGRAM" or "# SCALE".
bool IsBlockMarker(QLatin1StringView line);

// The sections of an axis block, in the order the writer writes them.
enum class BlockSection { Mode, HomeSearch, Parameter };
constexpr int kBlockSections = 3;
QString SectionHeading(BlockSection s);   // "# MODE", "# HOME SEARCH", "# PARAMETER"
QString SectionName(BlockSection s);      // "MODE", "HOME SEARCH", "PARAMETER"
int SectionItems(BlockSection s);         // 11, 16, 14

// "X axis" .. "U axis", as the operator is told.
QString AxisName(int axis);
