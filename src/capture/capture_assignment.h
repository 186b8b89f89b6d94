#pragma once
// A value typed from a script: "NAME=VALUE" for a field, "NAME[ROW,COL]=VALUE" for a cell
// of a table (1-based). ordexa-cli takes its assignments in this form.
#include <string>

class CaptureSession;

struct CaptureAssignment {
    std::string name;
    bool cell = false;  // NAME[ROW,COL]
    int row = 0;
    int column = 0;
    std::string value;
};

// Splits at the first "=": the name part may end in "[ROW,COL]" with two positive whole
// numbers. False when there is no "=" or the name part is empty or malformed.
bool ParseCaptureAssignment(const std::string& text, CaptureAssignment& out);

// The name part of a cell ("NAME[ROW,COL]"), for headers and messages.
bool ParseCellName(const std::string& text, std::string& name, int& row, int& column);

// Types the value as a user would (CaptureSession::TypeValue / TypeCell) into the
// variable element named without regard to case. False with a Spanish message for an
// unknown name, a field of the wrong kind, a cell outside the table or a value that does
// not parse.
bool ApplyCaptureAssignment(CaptureSession& session, const CaptureAssignment& assignment, std::string& message);
