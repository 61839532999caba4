// Stands in for the preview window until it is built: returns at once, settings untouched.
#include "print/qt_print_preview_entry.h"

namespace kol::print {

void showPrintPreview(QWidget*, PrintRequest&) {}

} // namespace kol::print
