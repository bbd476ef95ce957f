// The recovery folder: records written once typing pauses, held by their instance, brought
// back by a later start and removed once the text is saved.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window/recovery_keeper.h"
#include "editor/commands.h"
#include "editor/document_file.h"
#include "small_document.h"
#include "temp_dir.h"

namespace {

using Editor = SmallDocument;

struct Keeper : ::testing::Test {
    std::vector<std::string> records() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir.file("recovery"), ec))
            names.push_back(entry.path().filename().string());
        return names;
    }
    TempDir dir;
    std::unique_ptr<FolderPlatform> folders = makeSystemFolderPlatform();
};

TEST_F(Keeper, AChangeIsWrittenOnceTypingPausesAndAHeldRecordIsLeftToItsInstance) {
    Editor first;
    auto keeper = std::make_unique<RecoveryKeeper>(dir.folder(), *folders);
    insertText(first.doc, "unsaved");
    keeper->tick(first.doc, 1000);
    keeper->tick(first.doc, 1100);
    EXPECT_TRUE(records().empty()) << "written while the typing goes on";
    keeper->tick(first.doc, 1300);
    ASSERT_EQ(records().size(), 1u);

    // A second instance starting now finds the record held and leaves it.
    Editor second;
    RecoveryKeeper other(dir.folder(), *folders);
    EXPECT_FALSE(other.restoreNewest(second.doc).found);
    EXPECT_EQ(records().size(), 1u);

    // Once the first has gone, a start brings the text back and keeps the record as its own.
    keeper->finish(first.doc);
    keeper.reset();
    RecoveryKeeper::Restored restored = other.restoreNewest(second.doc);
    ASSERT_TRUE(restored.found);
    EXPECT_EQ(restored.rebuilt.outcome, recovery::Rebuilt::Outcome::Whole);
    EXPECT_STREQ(second.doc.line(0), "unsaved");
    EXPECT_TRUE(second.doc.modified);
    EXPECT_EQ(second.host.titles.back(), "Orvane - *");
    EXPECT_EQ(records().size(), 1u);

    // Saved: the record goes.
    second.doc.path = dir.file("saved.txt");
    ASSERT_EQ(saveDocument(second.doc).result, SaveResult::Saved);
    other.tick(second.doc, 5000);
    other.tick(second.doc, 5300);
    EXPECT_TRUE(records().empty());
}

TEST_F(Keeper, ARecordThatCannotComeBackWholeIsKeptAsideAndSaid) {
    dir.write("file.txt", "original\n");
    Editor first;
    ASSERT_EQ(loadDocument(first.doc, dir.file("file.txt")), LoadResult::Loaded);
    first.doc.history.clear();
    {
        RecoveryKeeper keeper(dir.folder(), *folders);
        insertText(first.doc, "typed ");
        keeper.finish(first.doc);
    }
    dir.write("file.txt", "changed by another program\n");
    Editor second;
    RecoveryKeeper keeper(dir.folder(), *folders);
    RecoveryKeeper::Restored restored = keeper.restoreNewest(second.doc);
    ASSERT_TRUE(restored.found);
    EXPECT_EQ(restored.rebuilt.outcome, recovery::Rebuilt::Outcome::Nothing);
    EXPECT_TRUE(std::filesystem::exists(restored.recordKeptAs));
    EXPECT_EQ(dir.read("file.txt"), "changed by another program\n");
    // Not offered again at the next start.
    Editor third;
    EXPECT_FALSE(RecoveryKeeper(dir.folder(), *folders).restoreNewest(third.doc).found);
}

}  // namespace
