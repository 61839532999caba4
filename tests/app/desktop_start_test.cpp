// The desktop's file association starts the program with a plain path as its argument.
#include "support/fakes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(DesktopStart, AFileWhoseNameHoldsCommasOpensWhole) {
    test::MainFixture f;
    test::TempDir dir;
    const std::string path = (dir / "sales,Key:FixedRows=0,q4.csv").string();
    test::writeBytes(path, "a,b\r\nc,d\r\n");
    f.model.MyTimerTimer({path});
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ(f.model.CsvFileInf.FileName, path);
    EXPECT_EQ(f.model.Cmb_FixedRows.ItemIndex, 1); // no start key was taken from the name
    EXPECT_EQ(f.model.Grid.rowCount(), 3);
}

TEST(DesktopStart, StartKeysAfterAFileStillApply) {
    test::MainFixture f;
    const std::string path = test::dataFile("titled.csv").string();
    f.model.MyTimerTimer({path + ",Key:FixedRows=0,Key:Caption=Kolumbra test"});
    EXPECT_EQ(f.model.CsvFileInf.FileName, path);
    EXPECT_EQ(f.model.Cmb_FixedRows.ItemIndex, 0);
    EXPECT_EQ(f.model.Caption, "Kolumbra test");
}

} // namespace
} // namespace kol
