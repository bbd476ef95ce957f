#include <gtest/gtest.h>

#include "app/shell/app_context.h"
#include "app/settings/folders.h"
#include "app/settings/ini_file.h"
#include "app/settings/placement.h"
#include "win32_temp_dir.h"

namespace {

struct PlacementWin32 : ::testing::Test {
    PlacementWin32() : saved(AppContext::instance().iniPath) {}
    ~PlacementWin32() override { AppContext::instance().iniPath = saved; }
    Win32TempDir dir;
    std::string saved;
};

}  // namespace

TEST_F(PlacementWin32, RoundTripThroughAUtf8Path) {
    std::string folder = dir.file("donn\xC3\xA9" "es");
    ASSERT_TRUE(CreateDirectoryW(widen(folder).c_str(), nullptr));
    AppContext::instance().iniPath = folder + "\\orvane.ini";
    EXPECT_EQ(placement_get_int("main_wnd_w", 1120), 1120);
    placement_set_string("main_wnd_x", "-8");
    placementSetInt("main_wnd_w", 1300);
    placementSetInt("main_wnd_x", 12);
    EXPECT_EQ(placement_get_int("main_wnd_x", 50), 12);
    EXPECT_EQ(placement_get_int("main_wnd_w", 1120), 1300);
    EXPECT_EQ(placement_get_int("main_wnd_h", 900), 900);
}

// The native reader must agree with the platform on a file edited by hand.
TEST_F(PlacementWin32, NativeReaderAgreesWithThePlatform) {
    const std::string text =
        "; notes\r\n"
        "[other]\r\n"
        "about_wnd_x=1\r\n"
        "[ORVANE]\r\n"
        "  about_wnd_x =  -15 \r\n"
        "About_Wnd_Y=+30\r\n"
        "switch_wnd_w=400px\r\n"
        "switch_wnd_h=oops\r\n"
        "switch_wnd_x=\r\n";
    AppContext::instance().iniPath = dir.file("orvane.ini");
    ASSERT_TRUE(Win32TempDir::writeBytes(AppContext::instance().iniPath, text));
    for (const char* key : {"about_wnd_x", "about_wnd_y", "switch_wnd_w", "switch_wnd_h", "switch_wnd_x", "missing_key"}) {
        auto value = iniFindValue(text, kPlacementSection, key);
        int expected = value ? iniParseInt(*value, 77) : 77;
        EXPECT_EQ(placement_get_int(key, 77), expected) << key;
    }
}

TEST(FoldersWin32, SystemPlatformAnswers) {
    std::unique_ptr<FolderPlatform> platform = makeSystemFolderPlatform();
    std::string path;
    ASSERT_TRUE(platform->executablePath(path));
    EXPECT_NE(path.find("win32_tests"), std::string::npos);
    std::string roaming;
    ASSERT_TRUE(platform->roamingFolder(roaming));
    EXPECT_FALSE(roaming.empty());
    std::vector<DirectoryEntry> entries;
    std::string folder = path.substr(0, path.find_last_of("\\/"));
    ASSERT_TRUE(platform->listDirectory(folder + "\\*", entries));
    EXPECT_FALSE(entries.empty());
}
