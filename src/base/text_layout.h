#pragma once
// How text laid into a rectangle breaks into lines, shared by every drawing surface so
// that a paragraph breaks at the same words on the screen, on paper and in the tests.
#include <string>
#include <string_view>
#include <vector>

#include "base/function_ref.h"

// Width of a piece of text in logical units, as the surface measures it.
using MeasureText = FunctionRef<double(std::string_view)>;

// The lines of `text`: it breaks at CR LF (and at a lone CR or LF); with `wordWrap` a line
// also breaks at the last space before it would grow wider than `width`, and the spaces
// at such a break are dropped. A word wider than `width` stays whole on its own line.
std::vector<std::string> LayoutLines(std::string_view text, bool wordWrap, double width, const MeasureText& measure);

// The same lines, each handed to `onLine` as it is found (a view into `text`), for a
// surface that draws every line at once and needs no list of them.
using OnLaidLine = FunctionRef<void(std::string_view)>;
void ForEachLaidLine(std::string_view text, bool wordWrap, double width, const MeasureText& measure,
                     const OnLaidLine& onLine);

// The characters of a UTF-8 string, one string per code point (malformed bytes are
// taken one at a time).
std::vector<std::string> SplitCharacters(std::string_view utf8);
// How many characters SplitCharacters would give, without making them.
size_t CountCharacters(std::string_view utf8);
