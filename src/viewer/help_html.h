// The HTML help page: every registered document on one page, an index of links at the top,
// and a jump to the document shown when the page was asked for. Lines are CP932.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kol {

struct HelpPage {
    std::string listText; // the entry's text in the viewer's list
    std::string text;     // the document as the viewer showed it
};

// `caption` is the viewer's caption when the page was asked for; `jumpPage` the page opened
// first (0: the index, no jump). Document text has "&", "<" and ">" escaped, since a browser
// would otherwise read it as markup; every other byte is kept.
std::vector<std::string> helpHtmlLines(std::string_view titleBase, std::string_view caption,
                                       int jumpPage, const std::vector<HelpPage>& pages);

// The lines each followed by CR LF, as the file is written.
std::string joinHtmlLines(const std::vector<std::string>& lines);

std::string escapeHtmlText(std::string_view text);

} // namespace kol
