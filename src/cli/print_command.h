// kolumbra-cli print and html: a table printed as the main window prints it, through the same
// preview model, to a PDF file, to an HTML document, or as the pagination in plain text.
//   kolumbra-cli print --pdf OUT.pdf [options] FILE
//   kolumbra-cli print --layout [options] FILE
//   kolumbra-cli html [options] FILE OUT.html
// options: [--pages A-B] [--paper A4|A3|A5|B4|B5] [--landscape] [--scale N|--fit-width]
//          [--separator NAME] [--fixed-rows N]
#pragma once

namespace kol {

int printCommand(int argc, char** argv); // argv[1] is "print" or "html"

} // namespace kol
