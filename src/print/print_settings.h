// The print preview's settings, kept between windows and between runs: one record for table
// prints (keys GP_…) and one for document prints (GPB_…). The record holds what the file holds;
// the helpers below bring a value into its control's range where the preview uses it, so a
// damaged file never reaches a combo or a font, and values the window only carries through
// (the second grey, the colour scheme, the calendar layout) are written back as they were read.
#pragma once

#include "print/print_types.h"
#include <span>
#include <string>
#include <string_view>

namespace kol::print {

struct PrintSettings {
    int CellScale = 100;
    int Cmb_LineKind = 1;
    int Cmb_MgnUp = 3;
    int Cmb_MgnLeft = 2;
    int Cmb_Gray = 192;
    int Cmb_Gray3 = 128;
    int Cmb_Color = 0;
    int Cmb_CellWay = 0;
    int Cmb_Cal_Font = 9;
    int Cmb_Cal_RateH = 9;
    int Cmb_Cal_RateW = 19;
    int Cmb_Cal_Time = 0;
    int Cmb_Cal_DateOnly = 0;
    int Cmb_Scale = 9;
    int Cmb_ResetScl = 15;
    int PrinterIndex = -1; // the default printer
    std::string Prt_Orient, Prt_Paper, SavePath, HtmlPath;
    bool FixedCenter = true;
    bool DataCenter = false;
    bool TrimSpace = false;
    bool DateEdit = false;
    bool BreakColor = true;
    bool KaraGyoColor = false;
    bool KaraGyoBlack = false;
    bool PrintRowNo = true;
    bool PrintColNo = true;
    bool PrintFileName = false;
    bool PrintPathName = true;
    bool PrintDate = true;
    bool PrintPage = true;

    bool operator==(const PrintSettings&) const = default;
};

inline constexpr std::string_view kGridPrintKeyPrefix = "GP_";
inline constexpr std::string_view kBrowsePrintKeyPrefix = "GPB_";

enum class PrintFieldKind { Number, Text, Flag };

// One persisted field: its key without the prefix and where it lives in the record.
struct PrintSettingsField {
    std::string_view suffix;
    PrintFieldKind kind;
    int PrintSettings::*number = nullptr;
    std::string PrintSettings::*text = nullptr;
    bool PrintSettings::*flag = nullptr;
};

// Every field, in the order its key is written to the settings file.
std::span<const PrintSettingsField> printSettingsFields();

// The controls' ranges.
inline constexpr int kMarginItemCount = 21; // 0, 5, … 100 mm
inline constexpr int kMarginStepMm = 5;
inline constexpr int kGreyLevelCount = 256;
inline constexpr int kScaleItemCount = 101; // 10 … 90 %, fit, 100 … 1000 %
inline constexpr int kScaleFitIndex = 9;
inline constexpr int kDefaultCellScale = 100;

// `index` moved into 0 … itemCount - 1.
[[nodiscard]] int clampItemIndex(int index, int itemCount);

// The cell scale in per cent; 0 or less (never a valid scale) is 100.
[[nodiscard]] int cellScaleOf(const PrintSettings& s);
[[nodiscard]] CellLineKind lineKindOf(const PrintSettings& s);
[[nodiscard]] CellSizeMode cellSizeModeOf(const PrintSettings& s);
// Item indexes of the margin, grey and scale combos; the grey item is the grey level itself.
[[nodiscard]] int topMarginIndexOf(const PrintSettings& s);
[[nodiscard]] int leftMarginIndexOf(const PrintSettings& s);
[[nodiscard]] int greyLevelOf(const PrintSettings& s);
[[nodiscard]] int scaleIndexOf(const PrintSettings& s);
[[nodiscard]] int resetScaleIndexOf(const PrintSettings& s);

} // namespace kol::print
