// Every persisted setting with its default. Combo choices are item indexes, switches 0 or 1.
#pragma once

#include "print/print_settings.h"

#include <array>
#include <string>

namespace kol {

struct WindowBoundsRec {
    int Top = -1, Left = -1, Width = -1, Height = -1;
};

struct SettingsRecord {
    WindowBoundsRec Vex_Kolumbra;
    std::string Path_EditFile, Path_ExcelFile, Path_SelectFile, Path_InsertFile;
    int WinSta = 0;
    int FixedCenter = 1, DataCenter = 0, TrimSpace = 0, DateEdit = 0, BreakColor = 1;
    int KaraGyoColor = 1, KaraGyoBlack = 0;
    int ConfPaste = 1, ConfClear = 1, ConfInsert = 1, ConfCopy = 1, ConfMove = 1, ConfDelete = 1;
    int FixedRowSEQ = 0;
    int Cmb_FixedKeta = 16, Cmb_FixedCol = 0, Cmb_FixedRows = 1, Cmb_KomRow = 1;
    int Cmb_LimColLen = 10, Cmb_Fold = 0, Cmb_CrNext = 4, Cmb_Bunri = 1, Cmb_ZoneSign = 0;
    int Cmb_VertKomKeta = 24;
    std::array<std::string, 101> FindWord;
    // The print preview's settings for table prints (GP_ keys) and for the document viewer's
    // prints (GPB_ keys); both start from the same defaults.
    print::PrintSettings GridPrint, BrowsePrint;

    void SetDefaults() { *this = SettingsRecord(); }
};

} // namespace kol
