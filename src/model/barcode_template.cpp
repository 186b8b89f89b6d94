#include "model/barcode_template.h"

#include <algorithm>

#include "base/text_layout.h"

namespace {

// Calls `onText` for each run of plain text and `onName` for each placeholder.
template <typename Text, typename Name>
void WalkTemplate(const std::string& tpl, Text onText, Name onName)
{
    size_t pos = 0;
    while (pos < tpl.size()) {
        const size_t open = tpl.find('{', pos);
        const size_t close = open == std::string::npos ? std::string::npos : tpl.find('}', open + 1);
        if (close == std::string::npos) {
            onText(tpl.substr(pos));
            return;
        }
        onText(tpl.substr(pos, open - pos));
        onName(tpl.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
}

}  // namespace

std::vector<std::string> TemplateNames(const std::string& tpl)
{
    std::vector<std::string> names;
    WalkTemplate(
        tpl, [](const std::string&) {},
        [&](const std::string& name) {
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        });
    return names;
}

std::string FillTemplate(const std::string& tpl,
                         const std::function<std::optional<std::string>(const std::string&)>& valueOf)
{
    std::string out;
    WalkTemplate(
        tpl, [&](const std::string& text) { out += text; },
        [&](const std::string& name) { out += valueOf(name).value_or(std::string()); });
    return out;
}

bool TemplateTooLong(std::string_view tpl)
{
    return CountCharacters(tpl) > kMaxTemplateChars;
}
