// One worksheet part, whole in memory, read into shown texts. A large part is read by two
// threads: the second starts at a row tag past the middle, the first reads up to it, and the
// second's cells are kept only when the first arrives there in the state the second assumed
// (same open elements, between cells, no row numbered from the one before); otherwise the
// first reads on alone. Either way the result is the one reading it straight through gives.
#pragma once

#include "workbook/cell_format.h"
#include "workbook/workbook.h"

#include <string>

namespace kol::workbook {

class SharedStringsHandler;
class StylesHandler;

struct WorksheetContext {
    const SharedStringsHandler& strings;
    const StylesHandler& styles;
    DateSystem dates;
    std::string part; // its name in the archive, for messages
};

// `xml` is changed while it is read and restored before this returns.
[[nodiscard]] WorkbookResult readWorksheet(char* xml, std::size_t size,
                                           const WorksheetContext& context, SheetText& out);
inline WorkbookResult readWorksheet(std::string& xml, const WorksheetContext& context,
                                    SheetText& out) {
    return readWorksheet(xml.data(), xml.size(), context, out);
}

// Parts of at least this many bytes are read on two threads (1 MB unless changed; tests and
// the fuzzer change it to compare the two ways).
void setWorksheetSplitFrom(std::size_t bytes);

} // namespace kol::workbook
