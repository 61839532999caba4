// Where the windows open the print preview: modal, returning once it has closed with
// request.settings written back.
#pragma once

#include "print/print_request.h"

class QWidget;

namespace kol::print {

void showPrintPreview(QWidget* parent, PrintRequest& request);

} // namespace kol::print
