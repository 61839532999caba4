#include "app/settings_file.h"
#include "app/settings_location.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace kol;
using namespace kol::print;
using kol::test::readBytes;
using kol::test::TempDir;
using kol::test::writeBytes;
using namespace std::string_literals;

const std::string kMainDefaults = "Vex_Kolumbra=-1,-1,-1,-1\r\n"
                                  "Path_EditFile=\r\nPath_ExcelFile=\r\nPath_SelectFile=\r\n"
                                  "Path_InsertFile=\r\nWinSta=0\r\n"
                                  "FixedCenter=1\r\nDataCenter=0\r\nTrimSpace=0\r\nDateEdit=0\r\n"
                                  "BreakColor=1\r\nKaraGyoColor=1\r\nKaraGyoBlack=0\r\n"
                                  "ConfPaste=1\r\nConfClear=1\r\nConfInsert=1\r\nConfCopy=1\r\n"
                                  "ConfMove=1\r\nConfDelete=1\r\nFixedRowSEQ=0\r\n"
                                  "Cmb_FixedKeta=16\r\nCmb_FixedCol=0\r\nCmb_FixedRows=1\r\n"
                                  "Cmb_KomRow=1\r\nCmb_LimColLen=10\r\nCmb_Fold=0\r\n"
                                  "Cmb_CrNext=4\r\nCmb_Bunri=1\r\nCmb_ZoneSign=0\r\n"
                                  "Cmb_VertKomKeta=24\r\n";

const std::string kGridPrintDefaults =
    "GP_CellScale=100\r\nGP_Cmb_LineKind=1\r\nGP_Cmb_MgnUp=3\r\nGP_Cmb_MgnLeft=2\r\n"
    "GP_Cmb_Gray=192\r\nGP_Cmb_Gray3=128\r\nGP_Cmb_Color=0\r\nGP_Cmb_CellWay=0\r\n"
    "GP_Cmb_Cal_Font=9\r\nGP_Cmb_Cal_RateH=9\r\nGP_Cmb_Cal_RateW=19\r\nGP_Cmb_Cal_Time=0\r\n"
    "GP_Cmb_Cal_DateOnly=0\r\nGP_Cmb_Scale=9\r\nGP_Cmb_ResetScl=15\r\nGP_PrinterIndex=-1\r\n"
    "GP_Prt_Orient=\r\nGP_Prt_Paper=\r\nGP_SavePath=\r\nGP_HtmlPath=\r\n"
    "GP_FixedCenter=1\r\nGP_DataCenter=0\r\nGP_TrimSpace=0\r\nGP_DateEdit=0\r\n"
    "GP_BreakColor=1\r\nGP_KaraGyoColor=0\r\nGP_KaraGyoBlack=0\r\nGP_PrintRowNo=1\r\n"
    "GP_PrintColNo=1\r\nGP_PrintFileName=0\r\nGP_PrintPathName=1\r\nGP_PrintDate=1\r\n"
    "GP_PrintPage=1\r\n";

// The same lines under another prefix.
std::string withPrefix(const std::string& gridLines, const std::string& prefix) {
    std::string out;
    for (std::size_t at = 0; at < gridLines.size();) {
        std::size_t end = gridLines.find('\n', at) + 1;
        out += prefix + gridLines.substr(at + 3, end - at - 3);
        at = end;
    }
    return out;
}

const std::string kPrintDefaults = kGridPrintDefaults + withPrefix(kGridPrintDefaults, "GPB_");
const std::string kDefaultFile = kMainDefaults + kPrintDefaults;

// The file a record writes: compares records field by field through the format itself.
std::string written(const SettingsRecord& rec, const std::vector<std::string>& extra = {}) {
    TempDir dir;
    EXPECT_TRUE(WriteSettings((dir / "s.Dat").string(), rec, extra));
    return readBytes(dir / "s.Dat");
}

SettingsRecord readText(const std::string& bytes, std::vector<std::string>* unmatched = nullptr) {
    TempDir dir;
    writeBytes(dir / "s.Dat", bytes);
    SettingsRecord rec;
    EXPECT_TRUE(ReadSettings((dir / "s.Dat").string(), rec, unmatched));
    return rec;
}

std::array<int, 4> bounds(const SettingsRecord& rec) {
    const WindowBoundsRec& b = rec.Vex_Kolumbra;
    return {b.Top, b.Left, b.Width, b.Height};
}

std::string withLine(std::string file, const std::string& from, const std::string& to) {
    return file.replace(file.find(from), from.size(), to);
}

TEST(SettingsWrite, DefaultFileBytes) {
    EXPECT_EQ(written(SettingsRecord()), kDefaultFile);
}

TEST(SettingsWrite, EverySearchHistoryTextIsKeptThenExtraLines) {
    SettingsRecord rec;
    rec.FindWord[0] = "alpha";
    rec.FindWord[1] = "\x95\x5C"; // 表
    rec.FindWord[2] = "a=b";
    rec.FindWord[3] = "  ";
    rec.FindWord[4] = "after a blank slot";
    EXPECT_EQ(written(rec, {"GP_Top=5", ""}),
              kMainDefaults + "FindWord0=alpha\r\nFindWord1=\x95\x5C\r\nFindWord2=a=b\r\n" +
                  "FindWord4=after a blank slot\r\n" + kPrintDefaults + "GP_Top=5\r\n\r\n");
    for (int n = 0; n <= 100; ++n) rec.FindWord[static_cast<std::size_t>(n)] = "w";
    EXPECT_NE(written(rec).find("FindWord100=w\r\n"), std::string::npos);

    // A file holding one history line in a later slot, its key in another case.
    SettingsRecord back = readText(written(readText("findWord5=ux_$kolu,\r\n")));
    EXPECT_EQ(back.FindWord[5], "ux_$kolu,");
    EXPECT_EQ(back.FindWord[0], "");
}

TEST(SettingsWrite, LineBreaksInValuesCannotForgeKeys) {
    SettingsRecord rec;
    rec.Path_EditFile = "/a\r\nWinSta=1";
    rec.FindWord[0] = "x\0y"s;
    rec.FixedCenter = 7;
    std::string file = written(rec, {"GP_A=1\nWinSta=1"});
    SettingsRecord back = readText(file);
    EXPECT_EQ(back.WinSta, 0);
    EXPECT_EQ(back.Path_EditFile, "/a  WinSta=1");
    EXPECT_EQ(back.FindWord[0], "x y");
    EXPECT_NE(file.find("\r\nFixedCenter=1\r\n"), std::string::npos);
}

TEST(SettingsRead, RoundTripKeepsEveryField) {
    // Every value moved off its default, so a key read into the wrong field shows.
    std::string file;
    for (std::size_t at = 0, end; (end = kMainDefaults.find('=', at)) != std::string::npos;) {
        std::string key = kMainDefaults.substr(at, end - at);
        at = kMainDefaults.find('\n', end) + 1;
        std::string old = kMainDefaults.substr(end + 1, at - 3 - end);
        file += key + "=" +
                (key == "Vex_Kolumbra"      ? "10,-20,800,600"
                 : key[0] == 'P'            ? "/home/" + key + "/\x95\x5C.csv"
                 : old == "0" || old == "1" ? std::to_string(1 - std::stoi(old))
                                            : std::to_string(std::stoi(old) + 7)) +
                "\r\n";
    }
    for (int n = 0; n <= 100; ++n)
        file += "FindWord" + std::to_string(n) + "=w" + std::to_string(n) + "\r\n";
    file += kPrintDefaults;
    SettingsRecord back = readText(file);
    EXPECT_EQ(written(back), file);
    EXPECT_EQ(back.Vex_Kolumbra.Left, -20);
    EXPECT_EQ(back.Cmb_VertKomKeta, 31);
}

// Every print key off its default, the two records apart, texts in Shift-JIS.
const std::string kGridPrintFile =
    "GP_CellScale=80\r\nGP_Cmb_LineKind=2\r\nGP_Cmb_MgnUp=4\r\nGP_Cmb_MgnLeft=20\r\n"
    "GP_Cmb_Gray=0\r\nGP_Cmb_Gray3=100\r\nGP_Cmb_Color=3\r\nGP_Cmb_CellWay=1\r\n"
    "GP_Cmb_Cal_Font=11\r\nGP_Cmb_Cal_RateH=12\r\nGP_Cmb_Cal_RateW=13\r\n"
    "GP_Cmb_Cal_Time=14\r\nGP_Cmb_Cal_DateOnly=15\r\nGP_Cmb_Scale=99\r\n"
    "GP_Cmb_ResetScl=5\r\nGP_PrinterIndex=6\r\n"
    "GP_Prt_Orient=\x89\xA1\r\nGP_Prt_Paper=B4\r\n"
    "GP_SavePath=/home/u/\x95\x5C=1.csv\r\nGP_HtmlPath=/tmp/a b.html\r\n"
    "GP_FixedCenter=0\r\nGP_DataCenter=1\r\nGP_TrimSpace=1\r\nGP_DateEdit=1\r\n"
    "GP_BreakColor=0\r\nGP_KaraGyoColor=1\r\nGP_KaraGyoBlack=1\r\nGP_PrintRowNo=0\r\n"
    "GP_PrintColNo=0\r\nGP_PrintFileName=1\r\nGP_PrintPathName=0\r\nGP_PrintDate=0\r\n"
    "GP_PrintPage=0\r\n";
const std::string kBrowsePrintFile =
    "GPB_CellScale=250\r\nGPB_Cmb_LineKind=0\r\nGPB_Cmb_MgnUp=7\r\nGPB_Cmb_MgnLeft=8\r\n"
    "GPB_Cmb_Gray=255\r\nGPB_Cmb_Gray3=0\r\nGPB_Cmb_Color=1\r\nGPB_Cmb_CellWay=1\r\n"
    "GPB_Cmb_Cal_Font=11\r\nGPB_Cmb_Cal_RateH=12\r\nGPB_Cmb_Cal_RateW=13\r\n"
    "GPB_Cmb_Cal_Time=1\r\nGPB_Cmb_Cal_DateOnly=1\r\nGPB_Cmb_Scale=0\r\n"
    "GPB_Cmb_ResetScl=100\r\nGPB_PrinterIndex=0\r\n"
    "GPB_Prt_Orient=\x8F\x63\r\nGPB_Prt_Paper=?\r\n"
    "GPB_SavePath=C:\\\x95\x5C\\b.csv\r\nGPB_HtmlPath=\r\n"
    "GPB_FixedCenter=0\r\nGPB_DataCenter=1\r\nGPB_TrimSpace=0\r\nGPB_DateEdit=1\r\n"
    "GPB_BreakColor=0\r\nGPB_KaraGyoColor=1\r\nGPB_KaraGyoBlack=0\r\nGPB_PrintRowNo=0\r\n"
    "GPB_PrintColNo=1\r\nGPB_PrintFileName=1\r\nGPB_PrintPathName=1\r\nGPB_PrintDate=0\r\n"
    "GPB_PrintPage=1\r\n";

TEST(SettingsPrint, EveryKeyReadsAndWritesBackByteForByte) {
    std::string file = kMainDefaults + kGridPrintFile + kBrowsePrintFile;
    std::vector<std::string> unmatched;
    SettingsRecord rec = readText(file, &unmatched);
    EXPECT_TRUE(unmatched.empty());
    EXPECT_EQ(written(rec), file);

    const PrintSettings grid{.CellScale = 80,
                             .Cmb_LineKind = 2,
                             .Cmb_MgnUp = 4,
                             .Cmb_MgnLeft = 20,
                             .Cmb_Gray = 0,
                             .Cmb_Gray3 = 100,
                             .Cmb_Color = 3,
                             .Cmb_CellWay = 1,
                             .Cmb_Cal_Font = 11,
                             .Cmb_Cal_RateH = 12,
                             .Cmb_Cal_RateW = 13,
                             .Cmb_Cal_Time = 14,
                             .Cmb_Cal_DateOnly = 15,
                             .Cmb_Scale = 99,
                             .Cmb_ResetScl = 5,
                             .PrinterIndex = 6,
                             .Prt_Orient = "\x89\xA1",
                             .Prt_Paper = "B4",
                             .SavePath = "/home/u/\x95\x5C=1.csv",
                             .HtmlPath = "/tmp/a b.html",
                             .FixedCenter = false,
                             .DataCenter = true,
                             .TrimSpace = true,
                             .DateEdit = true,
                             .BreakColor = false,
                             .KaraGyoColor = true,
                             .KaraGyoBlack = true,
                             .PrintRowNo = false,
                             .PrintColNo = false,
                             .PrintFileName = true,
                             .PrintPathName = false,
                             .PrintDate = false,
                             .PrintPage = false};
    EXPECT_EQ(rec.GridPrint, grid);
    const PrintSettings& b = rec.BrowsePrint;
    EXPECT_EQ(b.CellScale, 250);
    EXPECT_EQ(b.Cmb_Gray, 255);
    EXPECT_EQ(b.Prt_Orient, "\x8F\x63");
    EXPECT_EQ(b.SavePath, "C:\\\x95\x5C\\b.csv");
    EXPECT_FALSE(b.KaraGyoBlack);
    EXPECT_TRUE(b.PrintPage);
    // The main window's own switches of the same names are not touched.
    EXPECT_EQ(rec.FixedCenter, 1);
    EXPECT_EQ(rec.DataCenter, 0);

    // Keys in any order and case are written in the fixed order: GP_ after the search
    // history, GPB_ after GP_, the other readers' lines last as they came.
    std::string shuffled = "GPB_PrintPage=0\r\nOther=1\r\ngp_cellscale=80\r\nFindWord0=w\r\n"
                           "GP_PrintPage=0\r\nGPB_CellScale=7\r\nGP_Top=5\r\n";
    unmatched.clear();
    rec = readText(shuffled, &unmatched);
    EXPECT_EQ(written(rec, unmatched),
              kMainDefaults + "FindWord0=w\r\n" +
                  withLine(withLine(kGridPrintDefaults, "GP_CellScale=100", "GP_CellScale=80"),
                           "GP_PrintPage=1", "GP_PrintPage=0") +
                  withLine(withLine(withPrefix(kGridPrintDefaults, "GPB_"), "GPB_CellScale=100",
                                    "GPB_CellScale=7"),
                           "GPB_PrintPage=1", "GPB_PrintPage=0") +
                  "Other=1\r\nGP_Top=5\r\n");
}

TEST(SettingsPrint, OnlyTheWholeKeyMatches) {
    std::vector<std::string> unmatched;
    SettingsRecord rec = readText("GP_CellScale = 80\r\n"
                                  " GP_Cmb_Scale=3\r\n"
                                  "GP_Cmb_Gray3=100\r\n"
                                  "GPB_Cmb_Gray=10\r\n"
                                  "GP_Cmb_MgnUp=4\r\nGP_CMB_MGNUP=5\r\n"
                                  "GP_PrintDate=0\r\nGP_PrintFileName=-7\r\n"
                                  "GP_=1\r\nGP_Cmb_Gray3x=1\r\nGPBCellScale=1\r\nCellScale=1\r\n",
                                  &unmatched);
    const PrintSettings& g = rec.GridPrint;
    EXPECT_EQ(g.CellScale, 100);
    EXPECT_EQ(g.Cmb_Scale, 9);
    EXPECT_EQ(g.Cmb_Gray3, 100);
    EXPECT_EQ(g.Cmb_Gray, 192);
    EXPECT_EQ(rec.BrowsePrint.Cmb_Gray, 10);
    EXPECT_EQ(rec.BrowsePrint.Cmb_Gray3, 128);
    EXPECT_EQ(g.Cmb_MgnUp, 5);
    EXPECT_FALSE(g.PrintDate);
    EXPECT_TRUE(g.PrintFileName);
    EXPECT_EQ(unmatched,
              (std::vector<std::string>{"GP_CellScale = 80", " GP_Cmb_Scale=3", "GP_=1",
                                        "GP_Cmb_Gray3x=1", "GPBCellScale=1", "CellScale=1"}));
    // A flag is written as 1 whatever non-zero value it was read from.
    EXPECT_NE(written(rec).find("\r\nGP_PrintFileName=1\r\n"), std::string::npos);
}

TEST(SettingsPrint, DamagedValuesKeepDefaultsAndOutOfRangeOnesStay) {
    EXPECT_EQ(written(readText("GP_CellScale=abc\r\nGP_Cmb_Gray=99999999999\r\n"
                               "GP_PrintRowNo=\r\nGP_Cmb_MgnUp=1.5\r\nGPB_PrinterIndex=-1x\r\n"
                               "GPB_Cmb_Scale=0x10\r\nGPB_BreakColor=no\r\nGPB_CellScale=\r\n"
                               "GP_Cmb_LineKind=-2147483649\r\n")),
              kDefaultFile);

    // Values outside their controls' ranges are the preview's to bring into range; the file
    // keeps them, and the values only carried through keep every value.
    std::string odd = "GP_CellScale=-5\r\nGP_Cmb_LineKind=9\r\nGP_Cmb_MgnUp=25\r\n"
                      "GP_Cmb_Gray=300\r\nGP_Cmb_Gray3=-1\r\nGP_Cmb_Color=2147483647\r\n"
                      "GP_Cmb_Scale=-1\r\nGP_PrinterIndex=-9\r\nGP_Prt_Paper=Letter\r\n";
    SettingsRecord rec = readText(odd);
    EXPECT_EQ(rec.GridPrint.CellScale, -5);
    EXPECT_EQ(rec.GridPrint.Cmb_Color, 2147483647);
    std::string file = written(rec);
    for (std::size_t at = 0, end; (end = odd.find('\n', at)) != std::string::npos; at = end + 1)
        EXPECT_NE(file.find("\n" + odd.substr(at, end + 1 - at)), std::string::npos)
            << odd.substr(at, end - 1 - at);
}

TEST(SettingsPrint, DefaultsWhenAbsentAndLineBreaksInTexts) {
    SettingsRecord rec = readText("WinSta=1\r\n");
    EXPECT_EQ(rec.GridPrint, PrintSettings());
    EXPECT_EQ(rec.BrowsePrint, PrintSettings());
    EXPECT_EQ(rec.GridPrint.Cmb_MgnUp, 3);
    EXPECT_EQ(rec.GridPrint.Cmb_ResetScl, 15);
    EXPECT_EQ(rec.GridPrint.PrinterIndex, -1);

    rec.GridPrint.HtmlPath = "/a\r\nGPB_CellScale=5";
    SettingsRecord back = readText(written(rec));
    EXPECT_EQ(back.GridPrint.HtmlPath, "/a  GPB_CellScale=5");
    EXPECT_EQ(back.BrowsePrint.CellScale, 100);
}

TEST(SettingsRead, LinesOverDefaults) {
    EXPECT_EQ(written(readText("WinSta=1")), withLine(kDefaultFile, "WinSta=0", "WinSta=1"));

    std::vector<std::string> unmatched;
    SettingsRecord rec = readText("fixedcenter=0\r\n"
                                  "DataCenter =1\r\n"
                                  " TrimSpace=1\r\n"
                                  "Cmb_FixedRowsX=5\r\n"
                                  "XCmb_FixedRows=6\r\n"
                                  "GP_FixedCenter=0\r\n"
                                  "Vex_Kolumbra=10,20,800,600\r\n"
                                  "Cmb_Bunri=3\r\nCMB_BUNRI=4\r\n"
                                  "DateEdit=-5\r\n"
                                  "Path_EditFile=  /a b.csv  \r\n"
                                  "FindWord100= last \r\n"
                                  "FindWord05=x\r\nFindWord101=y\r\n",
                                  &unmatched);
    EXPECT_EQ(rec.FixedCenter, 0);
    EXPECT_EQ(rec.DataCenter, 0);
    EXPECT_EQ(rec.TrimSpace, 0);
    EXPECT_EQ(rec.Cmb_FixedRows, 1);
    EXPECT_EQ(bounds(rec), (std::array{10, 20, 800, 600}));
    EXPECT_EQ(rec.Cmb_Bunri, 4);
    EXPECT_EQ(rec.DateEdit, 1);
    EXPECT_EQ(rec.Path_EditFile, "/a b.csv");
    EXPECT_EQ(rec.FindWord[100], "last");
    EXPECT_FALSE(rec.GridPrint.FixedCenter);
    EXPECT_EQ(unmatched,
              (std::vector<std::string>{"DataCenter =1", " TrimSpace=1", "Cmb_FixedRowsX=5",
                                        "XCmb_FixedRows=6", "FindWord05=x", "FindWord101=y"}));
}

TEST(SettingsRead, WindowBoundsPieces) {
    EXPECT_EQ(bounds(readText("Vex_Kolumbra=10,20")), (std::array{10, 20, 0, 0}));
    EXPECT_EQ(bounds(readText("Vex_Kolumbra= 1 , 2 ,3,4,junk")), (std::array{1, 2, 3, 4}));
    // A piece that is no number keeps all four as they were.
    EXPECT_EQ(bounds(readText("Vex_Kolumbra=10,x,3,4")), (std::array{-1, -1, -1, -1}));
    EXPECT_EQ(bounds(readText("Vex_Kolumbra=10,,3,4")), (std::array{-1, -1, -1, -1}));
    EXPECT_EQ(bounds(readText("Vex_Kolumbra=")), (std::array{-1, -1, -1, -1}));
}

TEST(SettingsRead, LineEndsAndNul) {
    SettingsRecord rec = readText("WinSta=1\rCmb_Fold=2\nCmb_CrNext=3\r\n\r\nCmb_KomRow=4");
    EXPECT_EQ(rec.WinSta, 1);
    EXPECT_EQ(rec.Cmb_Fold, 2);
    EXPECT_EQ(rec.Cmb_CrNext, 3);
    EXPECT_EQ(rec.Cmb_KomRow, 4);
    // A NUL damages only its own line: the lines after it still count (they used to be lost,
    // and the next close wrote the file back without them).
    std::vector<std::string> kept;
    rec = readText("Cmb_Fold=2\r\nCmb_Cr\0Next=3\r\nWinSta=1\r\nGP_Later=5\r\n"s, &kept);
    EXPECT_EQ(rec.Cmb_Fold, 2);
    EXPECT_EQ(rec.Cmb_CrNext, 4);
    EXPECT_EQ(rec.WinSta, 1);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1], "GP_Later=5");
    EXPECT_NE(written(rec, kept).find("\r\nCmb_Cr Next=3\r\nGP_Later=5\r\n"), std::string::npos);
}

TEST(SettingsRead, MissingFileChangesNothing) {
    TempDir dir;
    SettingsRecord rec;
    rec.WinSta = 1;
    std::vector<std::string> unmatched;
    EXPECT_FALSE(ReadSettings((dir / "none.Dat").string(), rec, &unmatched));
    EXPECT_FALSE(ReadSettings(dir.path().string(), rec, &unmatched));
    EXPECT_EQ(rec.WinSta, 1);
    EXPECT_TRUE(unmatched.empty());
}

TEST(SettingsRead, DamagedFilesKeepDefaults) {
    EXPECT_EQ(
        written(readText("Cmb_Bunri=abc\r\nCmb_FixedKeta=99999999999\r\nFixedCenter=\r\n"
                         "Cmb_KomRow=1.5\r\nCmb_Fold=0x3\r\nWinSta=+-1\r\nno equals\r\n=\r\n")),
        kDefaultFile);
    EXPECT_EQ(readText("Cmb_Fold=+2\r\n").Cmb_Fold, 2);

    std::mt19937 random(7);
    std::string garbage = "WinSta=1\r\n";
    for (int i = 0; i < 1 << 16; ++i) garbage += static_cast<char>(random() % 255 + 1);
    EXPECT_EQ(readText(garbage).WinSta, 1);

    std::string big(5 << 20, 'x');
    std::vector<std::string> unmatched;
    SettingsRecord rec =
        readText(big + "\r\nFindWord0=" + big + "\r\nWinSta=" + big + "\r\nCmb_Fold=3", &unmatched);
    ASSERT_EQ(unmatched.size(), 1u);
    EXPECT_EQ(unmatched[0].size(), big.size());
    EXPECT_EQ(rec.FindWord[0].size(), big.size());
    EXPECT_EQ(rec.WinSta, 0);
    EXPECT_EQ(rec.Cmb_Fold, 3);
}

TEST(SettingsWrite, FailedWriteLeavesOldFile) {
    TempDir dir;
    writeBytes(dir / "plain", "old");
    EXPECT_FALSE(WriteSettings((dir / "missing" / "s.Dat").string(), SettingsRecord()));
    EXPECT_FALSE(WriteSettings((dir / "plain" / "s.Dat").string(), SettingsRecord()));
    EXPECT_EQ(readBytes(dir / "plain"), "old");

    // A write that fails halfway (file size limit; permissions do not stop root).
    writeBytes(dir / "s.Dat", kDefaultFile);
    SettingsRecord rec;
    rec.FindWord[0] = std::string(1 << 20, 'x');
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 << 10;
    setrlimit(RLIMIT_FSIZE, &small);
    bool ok = WriteSettings((dir / "s.Dat").string(), rec).ok();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(readBytes(dir / "s.Dat"), kDefaultFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsLocation, BesideProgramOrConfigFolder) {
    TempDir dir;
    std::filesystem::create_directory(dir / "bin");
    std::string bin = (dir / "bin").string();
    std::string config = (dir / "cfg" / "deep").string();
    ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    ScopedEnv home("HOME", dir.path().c_str());

    EXPECT_EQ(SettingsFilePath(bin), config + "/kolumbra/KolumbraOpt2.Dat");
    EXPECT_TRUE(std::filesystem::is_directory(config + "/kolumbra"));

    writeBytes(dir / "bin" / "KolumbraOpt2.Dat", "");
    EXPECT_EQ(SettingsFilePath(bin), bin + "/KolumbraOpt2.Dat");
    EXPECT_EQ(SettingsFilePath(bin + "/"), bin + "/KolumbraOpt2.Dat");

    ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(SettingsFilePath((dir / "other").string()),
              (dir / ".config" / "kolumbra" / "KolumbraOpt2.Dat").string());
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".config" / "kolumbra"));
}

} // namespace
