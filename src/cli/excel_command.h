// kolumbra-cli excel: a workbook sheet imported as the Excel button imports it.
//   kolumbra-cli excel [--sheet N] FILE OUT   (N from 1) saves it as the save command would
//   kolumbra-cli excel --list FILE            prints the chooser's items, one a line
#pragma once

namespace kol {

int excelCommand(int argc, char** argv); // argv[1] is "excel"

} // namespace kol
