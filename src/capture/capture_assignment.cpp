#include "capture/capture_assignment.h"

#include <charconv>

#include "capture/capture_session.h"
#include "model/fmt_grid.h"

namespace {

bool ParsePositive(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= 1;
}

}  // namespace

bool ParseCellName(const std::string& text, std::string& name, int& row, int& column)
{
    if (text.empty() || text.back() != ']')
        return false;
    const size_t open = text.rfind('[');
    const size_t comma = text.find(',', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || open == 0 || comma == std::string::npos)
        return false;
    name = text.substr(0, open);
    return ParsePositive(text.substr(open + 1, comma - open - 1), row) &&
           ParsePositive(text.substr(comma + 1, text.size() - comma - 2), column);
}

bool ParseCaptureAssignment(const std::string& text, CaptureAssignment& out)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    out = CaptureAssignment{};
    const std::string left = text.substr(0, eq);
    out.value = text.substr(eq + 1);
    if (left.back() == ']') {
        out.cell = true;
        return ParseCellName(left, out.name, out.row, out.column);
    }
    out.name = left;
    return true;
}

bool ApplyCaptureAssignment(CaptureSession& session, const CaptureAssignment& assignment, std::string& message)
{
    CControles* element = session.FindVariable(assignment.name);
    if (!element) {
        message = "El formato " + session.FormatFileName() + " no tiene ningún campo llamado \"" + assignment.name +
                  "\".";
        return false;
    }
    if (!assignment.cell)
        return session.TypeValue(*element, assignment.value, message);
    if (element->m_kind != kKindGrid) {
        message = "El campo \"" + element->m_text + "\" no es una tabla: escriba su valor como " + element->m_text +
                  "=VALOR.";
        return false;
    }
    return session.TypeCell(static_cast<CFmtGrid&>(*element), assignment.row, assignment.column, assignment.value,
                            message);
}
