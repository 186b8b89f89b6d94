#pragma once
// The font dialog of the design mode: family, style and size as a clerk knows them
// (sizes in points, style names in Spanish), over a font record whose height is stored
// in 0.1 mm. What the clerk leaves as it was comes back exactly as it was.
#include <optional>

#include "base/log_font.h"

class QWidget;

// 1 pt = 0.3528 mm: a record height in 0.1 mm as points (one decimal), and points as the
// nearest whole 0.1 mm.
double UnitsToPoints(int heightUnits);
int PointsToUnits(double points);

// The style names offered, in the list's order; bold and italic of each.
struct FontStyleChoice {
    const char* name;
    bool bold;
    bool italic;
};
inline constexpr FontStyleChoice kFontStyles[] = {
    {"Normal", false, false}, {"Cursiva", false, true}, {"Negrita", true, false}, {"Negrita cursiva", true, true}};

// Asks for a font starting from `record`; nothing when the clerk cancels.
std::optional<LogFont> AskFontInPoints(QWidget* parent, const LogFont& record);
