// The viewer's text rules: list texts from menu captions, numbered document lines, the widths
// the width button cycles through and the parameter rule of a program launch.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kol {

// " " + the caption; a caption holding "&" is cut before the character preceding it and
// trimmed, so "Open (&O)" lists as " Open".
std::string browseListText(std::string_view caption);

// The lines of a document: breaks at CR LF, CR or LF; a final break adds no empty line. NUL
// bytes read as blanks, so a damaged file still shows whole.
std::vector<std::string_view> documentLines(std::string_view bytes);

// The pane's text: every line followed by CR LF, with "00001 " before it when numbered (the
// number keeps its last five digits). NUL bytes become blanks.
std::string documentPaneText(std::string_view bytes, bool numberLines);

// The width for the n-th click of the width button: 1 keeps the list and half the button,
// 2 is 0.7 of the list, 0 gives back the width at creation.
struct WideGeometry {
    int listRight = 0; // right edge of the list in the window
    int listWidth = 0;
    int buttonWidth = 0;
    int startWidth = 0;
};
int wideWidth(int clicks, const WideGeometry& geometry);

// Whether a launch parameter names anything once its quotes are gone.
bool launchParameterGiven(std::string_view parameter);

} // namespace kol
