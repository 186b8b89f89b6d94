#pragma once
// The data template of a barcode: constant text with {NAME} placeholders, each replaced by
// the text of the variable element NAME as the clerk sees it. A "{" with no "}" after it
// is plain text.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A template is at most this many characters.
inline constexpr size_t kMaxTemplateChars = 4000;

// More than kMaxTemplateChars characters (UTF-8 code points): the reader and the
// properties panel refuse such a template.
bool TemplateTooLong(std::string_view tpl);

// The names the template's placeholders give, in order, each once.
std::vector<std::string> TemplateNames(const std::string& tpl);

// The template with every placeholder replaced by what `valueOf` gives for its name (an
// empty text when it gives none).
std::string FillTemplate(const std::string& tpl,
                         const std::function<std::optional<std::string>(const std::string&)>& valueOf);
