// What a cell shows for a number under the General format and the usual number formats.
#include "workbook/cell_format.h"

#include <gtest/gtest.h>

namespace kol::workbook {
namespace {

std::string f(double v, const char* code, DateSystem s = DateSystem::From1900) {
    return formatNumber(v, code, s);
}

TEST(GeneralNumber, FitsElevenCharactersAsASheetShowsThem) {
    EXPECT_EQ(generalNumber(1), "1");
    EXPECT_EQ(generalNumber(0.5), "0.5");
    EXPECT_EQ(generalNumber(-1.5), "-1.5");
    EXPECT_EQ(generalNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalNumber(1234567.89012345), "1234567.89");
    EXPECT_EQ(generalNumber(12345678901), "12345678901");
    EXPECT_EQ(generalNumber(123456789012), "1.23457E+11");
    EXPECT_EQ(generalNumber(0.000123456789), "0.000123457");
    EXPECT_EQ(generalNumber(1.234e-10), "1.234E-10");
    EXPECT_EQ(generalNumber(44197), "44197");
}

TEST(NumberFormat, DigitsGroupingPercentAndScientific) {
    EXPECT_EQ(f(1.005, "0.00"), "1.01"); // rounded at 15 digits first, then half up
    EXPECT_EQ(f(1234567, "#,##0"), "1,234,567");
    EXPECT_EQ(f(-1234.5, "#,##0.00"), "-1,234.50");
    EXPECT_EQ(f(0.125, "0%"), "13%");
    EXPECT_EQ(f(12345, "0.00E+00"), "1.23E+04");
    EXPECT_EQ(f(1234567, "000-0000"), "123-4567");
    EXPECT_EQ(f(5, "000"), "005");
    EXPECT_EQ(f(1.5, "#.##"), "1.5");
    EXPECT_EQ(f(1234567, "#,##0,"), "1,235");
    EXPECT_EQ(f(-5, "#,##0;[Red]\\-#,##0"), "-5");
    EXPECT_EQ(f(-5, "0;(0)"), "(5)");
    EXPECT_EQ(f(0, "0;-0;\"zero\""), "zero");
    EXPECT_EQ(f(1234, "\"¥\"#,##0"), "¥1,234");
    EXPECT_EQ(f(1234, "[$¥-411]#,##0"), "¥1,234");
    EXPECT_EQ(f(1.5, "# ?/?"), "1 1/2");
    EXPECT_EQ(f(42, "@"), "42");
    EXPECT_EQ(formatText("abc", "0;0;0;\"<\"@\">\""), "<abc>");
}

TEST(DateFormat, DatesTimesAndBothDateSystems) {
    EXPECT_EQ(f(44197, "yyyy/m/d"), "2021/1/1");
    EXPECT_EQ(f(42735, "yyyy/m/d", DateSystem::From1904), "2021/1/1");
    EXPECT_EQ(f(44197, "yyyy\\-mm\\-dd"), "2021-01-01");
    EXPECT_EQ(f(60, "yyyy/m/d"), "1900/2/29"); // the 1900 system's leap day
    EXPECT_EQ(f(61, "yyyy/m/d"), "1900/3/1");
    EXPECT_EQ(f(1, "yyyy/m/d"), "1900/1/1");
    EXPECT_EQ(f(0.5208333333, "h:mm:ss"), "12:30:00");
    EXPECT_EQ(f(0.75, "h:mm AM/PM"), "6:00 PM");
    EXPECT_EQ(f(10.6320601851852, "[h]:mm:ss"), "255:10:10");
    EXPECT_EQ(f(44197.5, "yyyy/m/d h:mm"), "2021/1/1 12:00");
    EXPECT_EQ(f(44197, "mmmm\" \"yyyy"), "January 2021");
    EXPECT_EQ(f(44197, "ddd d mmm yy"), "Fri 1 Jan 21");
    EXPECT_EQ(f(-1, "yyyy/m/d"), "-1"); // not a date: the number itself
}

TEST(DateFormat, JapaneseEraAndKanjiForms) {
    EXPECT_EQ(f(44197, "[$-411]ggge\"年\"m\"月\"d\"日\";@"), "令和3年1月1日");
    EXPECT_EQ(f(44197, std::string(builtinFormat(31)).c_str()), "2021年1月1日");
    EXPECT_EQ(f(44197, std::string(builtinFormat(14)).c_str()), "2021/1/1");
    EXPECT_EQ(f(44197, std::string(builtinFormat(27)).c_str()), "R3.1.1");
    EXPECT_EQ(f(32516, "[$-411]ggge\"年\"m\"月\"d\"日\""), "平成1年1月8日"); // 1989-01-08
    EXPECT_EQ(f(32515, "[$-411]gge\"年\""), "昭64年");                       // 1989-01-07
    EXPECT_EQ(f(44197, "yyyy\"年\"m\"月\"d\"日\"(aaa)"), "2021年1月1日(金)");
    EXPECT_EQ(f(0.5, std::string(builtinFormat(33)).c_str()), "12時00分00秒");
    EXPECT_EQ(f(44197, "[$-F800]dddd, mmmm dd, yyyy"), "2021年1月1日");
}

TEST(NumberFormat, HostileCodesShowTheNumberInstead) {
    // Found by the fuzzer: scaling by 100 per percent sign overflowed to infinity.
    const std::string percents = "0" + std::string(200, '%');
    EXPECT_EQ(f(1e10, percents.c_str()), "10000000000");
    EXPECT_EQ(f(1e20, "# ?/?"), "1E+20");
    const std::string places = "0." + std::string(60, '0');
    EXPECT_EQ(f(0.5, places.c_str()), "0." + std::string("5") + std::string(29, '0'));
    EXPECT_EQ(f(1, "[$-F400"), "0:00:00"); // an unclosed bracket still reads as the time form
    EXPECT_EQ(f(1, "\\"), "1");            // a lone escape: nothing but General
}

} // namespace
} // namespace kol::workbook
