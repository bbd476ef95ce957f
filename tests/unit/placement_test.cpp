#include <gtest/gtest.h>

#include "app/shell/app_context.h"
#include "app/settings/placement.h"
#include "temp_dir.h"

namespace {

// Points the placement store at an INI file in a scratch folder for one test.
struct Placement : ::testing::Test {
    Placement() : saved(AppContext::instance().iniPath) { AppContext::instance().iniPath = dir.file("orvane.ini"); }
    ~Placement() override { AppContext::instance().iniPath = saved; }
    TempDir dir;
    std::string saved;
};

}  // namespace

TEST_F(Placement, MissingFileOrSectionGivesDefaults) {
    EXPECT_EQ(placement_get_int("main_wnd_w", 1120), 1120);
    dir.write("orvane.ini", "[elsewhere]\r\nmain_wnd_w=5\r\n");
    EXPECT_EQ(placement_get_int("main_wnd_w", 1120), 1120);
    EXPECT_EQ(placement_get_int("find_wnd_y", 50), 50);
}

TEST_F(Placement, RoundTripCreatesTheFileAndUpdatesKeys) {
    placement_set_string("main_wnd_x", "-8");
    placementSetInt("main_wnd_y", 120);
    placement_set_string("main_wnd_x", "30");
    EXPECT_EQ(placement_get_int("main_wnd_x", 50), 30);
    EXPECT_EQ(placement_get_int("main_wnd_y", 50), 120);
    EXPECT_EQ(dir.read("orvane.ini"), "[orvane]\r\nmain_wnd_x=30\r\nmain_wnd_y=120\r\n");
}

TEST_F(Placement, ReadsAndKeepsAFileEditedByHand) {
    dir.write("orvane.ini",
              "# notes\n"
              "[ORVANE]\n"
              "  about_wnd_x =  -15 \n"
              "about_wnd_y=oops\n"
              "switch_wnd_h=\n"
              "[mine]\n"
              "about_wnd_x=1\n");
    EXPECT_EQ(placement_get_int("about_wnd_x", 0), -15);
    EXPECT_EQ(placement_get_int("about_wnd_y", 50), 0);
    EXPECT_EQ(placement_get_int("switch_wnd_h", 900), 900);
    placementSetInt("about_wnd_y", 7);
    EXPECT_EQ(dir.read("orvane.ini"),
              "# notes\n"
              "[ORVANE]\n"
              "  about_wnd_x =  -15 \n"
              "about_wnd_y=7\n"
              "switch_wnd_h=\n"
              "[mine]\n"
              "about_wnd_x=1\n");
}

TEST_F(Placement, AnUnwritableFolderLosesWritesQuietly) {
    AppContext::instance().iniPath = dir.file("missing/orvane.ini");
    placementSetInt("main_wnd_x", 3);
    EXPECT_EQ(placement_get_int("main_wnd_x", 50), 50);
}
