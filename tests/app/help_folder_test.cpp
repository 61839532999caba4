// The help documents are found beside the program in a build tree and in share/kolumbra of an
// installed tree.
#include "app/settings_location.h"
#include "support/fakes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(HelpFolder, BuildTreeOrInstalledTree) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "bin");
    std::string bin = (dir / "bin").string();
    EXPECT_EQ(HelpFolder(bin), bin); // nothing anywhere: the missing file is named beside it

    std::filesystem::create_directories(dir / "share" / "kolumbra");
    EXPECT_EQ(HelpFolder(bin), (dir / "share" / "kolumbra").string());
    EXPECT_EQ(HelpFolder(bin + "/"), (dir / "share" / "kolumbra").string());

    test::writeBytes(dir / "bin" / "Doc_Kolumbra_Begin.Txt", "");
    EXPECT_EQ(HelpFolder(bin), bin); // a build tree: the documents are copied beside it
}

TEST(HelpFolder, TheHelpMenuShowsTheInstalledDocuments) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "bin");
    std::filesystem::create_directories(dir / "share" / "kolumbra");
    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    test::FakeHost host;
    test::FakeClock clock;
    TFm_Kolumbra01 model(prompts, clipboard, host, clock, (dir / "bin").string());
    model.FormCreate(ScreenInfo{});
    model.FormShow();
    model.Mn_Help_Guide2Click();
    ASSERT_EQ(host.documents.size(), 1u);
    EXPECT_EQ(host.documents[0], (dir / "share" / "kolumbra" / "Doc_Kolumbra_Guide2.Txt").string());
}

} // namespace
} // namespace kol
