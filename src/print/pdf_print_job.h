// The built-in "PDF" printer's job: pages go into a PDF file the user names, in the printer's
// paper, orientation and resolution, measured in the print face as the command line does.
#pragma once

#include "platform/platform.h"
#include "print/printer.h"

#include <memory>
#include <string>

namespace kol::print {

// Asks for the file (a save dialog through `prompts`); none when cancelled (error empty) or when
// the face or the file cannot be had (error says why, CP932).
std::unique_ptr<PrintJob> startPdfJob(Prompts& prompts, const PrinterService& printer,
                                      std::string& error);

} // namespace kol::print
