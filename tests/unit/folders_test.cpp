#include <gtest/gtest.h>

#include <map>

#include "app/shell/app_context.h"
#include "app/settings/folders.h"

namespace {

// A Windows-like machine: one executable folder with chosen entries, a roaming folder.
class FakeFolders : public FolderPlatform {
public:
    char separator() const override { return '\\'; }
    bool executablePath(std::string& path) override {
        path = exe;
        return true;
    }
    bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& out) override {
        patterns.push_back(pattern);
        if (!listable) return false;
        out = entries;
        return true;
    }
    bool roamingFolder(std::string& folder) override {
        ++roamingAsked;
        if (!roaming) return false;
        folder = "C:\\Users\\me\\AppData\\Roaming";
        return true;
    }
    bool createDirectory(const std::string& path) override {
        created.push_back(path);
        return false;  // already there
    }

    std::string exe = "C:\\Tools\\Orvane\\orvane.exe";
    std::vector<DirectoryEntry> entries;
    bool listable = true;
    bool roaming = true;
    std::vector<std::string> patterns;
    std::vector<std::string> created;
    int roamingAsked = 0;
};

struct Folders : ::testing::Test {
    Folders() : saved{ctx().executableFolder, ctx().dataFolder, ctx().iniPath} {}
    ~Folders() override {
        ctx().executableFolder = saved[0];
        ctx().dataFolder = saved[1];
        ctx().iniPath = saved[2];
    }
    static AppContext& ctx() { return AppContext::instance(); }
    FakeFolders platform;
    std::string saved[3];
};

}  // namespace

TEST_F(Folders, PortableFolderNextToTheExecutableIsTheDataFolder) {
    platform.entries = {{".", true}, {"..", true}, {"skin", true}, {"portable", true}};
    ASSERT_TRUE(resolve_folders(ctx(), platform));
    EXPECT_EQ(ctx().executableFolder, "C:\\Tools\\Orvane\\");
    EXPECT_EQ(ctx().dataFolder, "C:\\Tools\\Orvane\\portable\\");
    EXPECT_EQ(ctx().iniPath, "C:\\Tools\\Orvane\\portable\\orvane.ini");
    EXPECT_EQ(platform.patterns, (std::vector<std::string>{"C:\\Tools\\Orvane\\*"}));
    EXPECT_TRUE(platform.created.empty());
    EXPECT_EQ(platform.roamingAsked, 0);
}

TEST_F(Folders, OnlyADirectoryNamedExactlyPortableCounts) {
    platform.entries = {{"Portable", true}, {"PORTABLE", true}, {"portable", false}, {"portable.txt", false}};
    ASSERT_TRUE(resolve_folders(ctx(), platform));
    EXPECT_EQ(ctx().dataFolder, "C:\\Users\\me\\AppData\\Roaming\\Orvane\\");
    EXPECT_EQ(ctx().iniPath, "C:\\Users\\me\\AppData\\Roaming\\Orvane\\orvane.ini");
    EXPECT_EQ(platform.created, (std::vector<std::string>{"C:\\Users\\me\\AppData\\Roaming\\Orvane"}));
}

TEST_F(Folders, ExecutableFolderKeepsWhicheverSeparatorEndedIt) {
    platform.exe = "D:\\apps/orvane.exe";
    ASSERT_TRUE(resolve_folders(ctx(), platform));
    EXPECT_EQ(ctx().executableFolder, "D:\\apps/");
    EXPECT_EQ(platform.patterns, (std::vector<std::string>{"D:\\apps\\*"}));
}

TEST_F(Folders, UnlistableFolderMeansRoaming) {
    platform.listable = false;
    ASSERT_TRUE(resolve_folders(ctx(), platform));
    EXPECT_EQ(ctx().dataFolder, "C:\\Users\\me\\AppData\\Roaming\\Orvane\\");
}

TEST_F(Folders, NoRoamingFolderFailsWithoutFallingBack) {
    platform.roaming = false;
    EXPECT_FALSE(resolve_folders(ctx(), platform));
    EXPECT_TRUE(platform.created.empty());
    platform.entries = {{"portable", true}};
    EXPECT_TRUE(resolve_folders(ctx(), platform));  // portable mode never asks
    EXPECT_EQ(platform.roamingAsked, 1);
}

TEST_F(Folders, SystemPlatformFindsThisExecutable) {
    std::unique_ptr<FolderPlatform> system = makeSystemFolderPlatform();
    std::string path;
    ASSERT_TRUE(system->executablePath(path));
    EXPECT_NE(path.find("unit_tests"), std::string::npos);
    std::vector<DirectoryEntry> entries;
    std::string folder = path.substr(0, path.find_last_of('/'));
    ASSERT_TRUE(system->listDirectory(folder + "/*", entries));
    bool foundSelf = false;
    for (const DirectoryEntry& entry : entries) foundSelf |= entry.name == "unit_tests" && !entry.isDirectory;
    EXPECT_TRUE(foundSelf);
}
