#include "print/print_settings.h"

#include <algorithm>
#include <array>

namespace kol::print {

namespace {

using P = PrintSettings;

constexpr PrintSettingsField number(std::string_view suffix, int P::*member) {
    return {suffix, PrintFieldKind::Number, member, nullptr, nullptr};
}
constexpr PrintSettingsField text(std::string_view suffix, std::string P::*member) {
    return {suffix, PrintFieldKind::Text, nullptr, member, nullptr};
}
constexpr PrintSettingsField flag(std::string_view suffix, bool P::*member) {
    return {suffix, PrintFieldKind::Flag, nullptr, nullptr, member};
}

constexpr std::array kFields = {
    number("CellScale", &P::CellScale),
    number("Cmb_LineKind", &P::Cmb_LineKind),
    number("Cmb_MgnUp", &P::Cmb_MgnUp),
    number("Cmb_MgnLeft", &P::Cmb_MgnLeft),
    number("Cmb_Gray", &P::Cmb_Gray),
    number("Cmb_Gray3", &P::Cmb_Gray3),
    number("Cmb_Color", &P::Cmb_Color),
    number("Cmb_CellWay", &P::Cmb_CellWay),
    number("Cmb_Cal_Font", &P::Cmb_Cal_Font),
    number("Cmb_Cal_RateH", &P::Cmb_Cal_RateH),
    number("Cmb_Cal_RateW", &P::Cmb_Cal_RateW),
    number("Cmb_Cal_Time", &P::Cmb_Cal_Time),
    number("Cmb_Cal_DateOnly", &P::Cmb_Cal_DateOnly),
    number("Cmb_Scale", &P::Cmb_Scale),
    number("Cmb_ResetScl", &P::Cmb_ResetScl),
    number("PrinterIndex", &P::PrinterIndex),
    text("Prt_Orient", &P::Prt_Orient),
    text("Prt_Paper", &P::Prt_Paper),
    text("SavePath", &P::SavePath),
    text("HtmlPath", &P::HtmlPath),
    flag("FixedCenter", &P::FixedCenter),
    flag("DataCenter", &P::DataCenter),
    flag("TrimSpace", &P::TrimSpace),
    flag("DateEdit", &P::DateEdit),
    flag("BreakColor", &P::BreakColor),
    flag("KaraGyoColor", &P::KaraGyoColor),
    flag("KaraGyoBlack", &P::KaraGyoBlack),
    flag("PrintRowNo", &P::PrintRowNo),
    flag("PrintColNo", &P::PrintColNo),
    flag("PrintFileName", &P::PrintFileName),
    flag("PrintPathName", &P::PrintPathName),
    flag("PrintDate", &P::PrintDate),
    flag("PrintPage", &P::PrintPage),
};

} // namespace

std::span<const PrintSettingsField> printSettingsFields() {
    return kFields;
}

int clampItemIndex(int index, int itemCount) {
    return std::clamp(index, 0, std::max(itemCount - 1, 0));
}

int cellScaleOf(const PrintSettings& s) {
    return s.CellScale > 0 ? s.CellScale : kDefaultCellScale;
}

CellLineKind lineKindOf(const PrintSettings& s) {
    return static_cast<CellLineKind>(clampItemIndex(s.Cmb_LineKind, 3));
}

CellSizeMode cellSizeModeOf(const PrintSettings& s) {
    return static_cast<CellSizeMode>(clampItemIndex(s.Cmb_CellWay, 2));
}

int topMarginIndexOf(const PrintSettings& s) {
    return clampItemIndex(s.Cmb_MgnUp, kMarginItemCount);
}

int leftMarginIndexOf(const PrintSettings& s) {
    return clampItemIndex(s.Cmb_MgnLeft, kMarginItemCount);
}

int greyLevelOf(const PrintSettings& s) {
    return clampItemIndex(s.Cmb_Gray, kGreyLevelCount);
}

int scaleIndexOf(const PrintSettings& s) {
    return clampItemIndex(s.Cmb_Scale, kScaleItemCount);
}

int resetScaleIndexOf(const PrintSettings& s) {
    return clampItemIndex(s.Cmb_ResetScl, kScaleItemCount);
}

} // namespace kol::print
