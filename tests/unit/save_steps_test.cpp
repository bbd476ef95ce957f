// Every step of a save can fail, and a second one can fail while the first is mended: in each
// case the file keeps its bytes and what it is (a link stays a link, hard links stay one
// file), no side file is left, and the writer says what happened.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <set>

#include "failing_steps.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A file as the user has it, and what must hold of it after any save.
struct Shape {
    const char* name;
    std::function<void(const TempDir&)> make;
    std::string target;       // the name the user saves to
    std::string bytesAt;      // where the text is read back
    bool existed = true;
    std::function<bool(const TempDir&)> keepsIdentity;
};

constexpr const char* kOld = "the earlier text, every byte of it\n";
constexpr const char* kNew = "new";

std::vector<Shape> shapes() {
    const std::string longName = std::string(246, 'n') + ".txt";
    return {
        {"plain file", [](const TempDir& d) { d.write("a/file.txt", kOld); }, "a/file.txt", "a/file.txt", true,
         [](const TempDir&) { return true; }},
        {"link to a file in another folder",
         [](const TempDir& d) {
             d.write("b/real.txt", kOld);
             fs::create_symlink("../b/real.txt", d.file("a/link.txt"));
         },
         "a/link.txt", "b/real.txt", true,
         [](const TempDir& d) { return fs::is_symlink(d.file("a/link.txt")); }},
        {"link to a missing file",
         [](const TempDir& d) { fs::create_symlink("../b/missing.txt", d.file("a/link.txt")); }, "a/link.txt",
         "b/missing.txt", false, [](const TempDir& d) { return fs::is_symlink(d.file("a/link.txt")); }},
        {"file with two hard links",
         [](const TempDir& d) {
             d.write("a/one.txt", kOld);
             fs::create_hard_link(d.file("a/one.txt"), d.file("b/two.txt"));
         },
         "a/one.txt", "b/two.txt", true,
         [](const TempDir& d) { return inodeOf(d.file("a/one.txt")) == inodeOf(d.file("b/two.txt")); }},
        {"250-character name, existing", [longName](const TempDir& d) { d.write("a/" + longName, kOld); },
         "a/" + longName, "a/" + longName, true, [](const TempDir&) { return true; }},
        {"250-character name, new", [](const TempDir&) {}, "a/" + longName, "a/" + longName, false,
         [](const TempDir&) { return true; }},
    };
}

struct SaveRun {
    bool committed;
    FileError error;
    bool damaged;
    std::string keptCopy;
    int calls;
    std::set<int> failedRemovals;
};

SaveRun saveWith(const TempDir& dir, const Shape& shape, FailingSteps& steps) {
    SafeFileWriter writer(dir.file(shape.target), steps);
    writer.write(kNew, 3);
    bool committed = writer.commit();
    return {committed, writer.error(), writer.targetDamaged(), writer.keptCopy(), steps.calls, steps.failedRemovals};
}

// Checks one save of a shape whose steps fail at the given calls; counts the case.
void checkCase(const Shape& shape, const std::set<int>& failing, int& cases, int& lost) {
    TempDir dir;
    fs::create_directories(dir.file("a"));
    fs::create_directories(dir.file("b"));
    shape.make(dir);
    const std::set<std::string> beforeA = namesIn(dir.file("a")), beforeB = namesIn(dir.file("b"));
    FailingSteps steps;
    steps.failing = failing;
    SaveRun run = saveWith(dir, shape, steps);
    SCOPED_TRACE(std::string(shape.name) + ", failing call " + std::to_string(*failing.begin()) +
                 (failing.size() > 1 ? " and " + std::to_string(*failing.rbegin()) : ""));
    ++cases;
    const std::string now = fs::exists(dir.file(shape.bytesAt)) ? dir.read(shape.bytesAt) : "<missing>";
    const std::string before = shape.existed ? kOld : "<missing>";
    EXPECT_TRUE(shape.keepsIdentity(dir));
    bool keptOld = now == before;
    if (run.committed) {
        EXPECT_EQ(now, kNew);
        EXPECT_EQ(run.error, FileError::None);
    } else {
        // The user is told, and the earlier bytes are in the file or in the copy named.
        EXPECT_NE(run.error, FileError::None);
        if (!run.keptCopy.empty()) {
            EXPECT_TRUE(run.damaged);
            keptOld = dir.read(run.keptCopy.substr(dir.folder().size())) == before;
        } else if (!run.damaged && (shape.existed || run.failedRemovals.empty())) {
            EXPECT_EQ(now, before);
        }
        if (!shape.existed) keptOld = true;  // there was nothing earlier to lose
        if (!keptOld) ++lost;
        EXPECT_TRUE(keptOld) << "the earlier text is gone: " << now;
    }
    // No side file stays, unless its removal was what failed, or it is the copy named.
    std::set<std::string> afterA = namesIn(dir.file("a")), afterB = namesIn(dir.file("b"));
    size_t allowed = run.failedRemovals.size() + (run.keptCopy.empty() ? 0 : 1);
    size_t created = (run.committed && !shape.existed) ? 1 : 0;
    size_t extra = afterA.size() + afterB.size() - beforeA.size() - beforeB.size() - created;
    EXPECT_LE(extra, allowed);
    if (run.failedRemovals.empty() && run.keptCopy.empty()) {
        EXPECT_EQ(extra, 0u);
    }
}

}  // namespace

TEST(SaveSteps, EveryFailureAtEveryStepKeepsTheFileWhatItIsAndTellsTheUser) {
    int cases = 0, lost = 0;
    for (const Shape& shape : shapes()) {
        // A save where nothing fails shows how many steps there are.
        TempDir dir;
        fs::create_directories(dir.file("a"));
        fs::create_directories(dir.file("b"));
        shape.make(dir);
        FailingSteps clean;
        SaveRun run = saveWith(dir, shape, clean);
        ASSERT_TRUE(run.committed) << shape.name;
        ASSERT_EQ(dir.read(shape.bytesAt), kNew) << shape.name;
        ASSERT_TRUE(shape.keepsIdentity(dir)) << shape.name;
        const int steps = run.calls;
        const int casesBefore = cases, lostBefore = lost;
        for (int first = 1; first <= steps + 2; ++first) {
            checkCase(shape, {first}, cases, lost);
            // A second failure while the first is being mended.
            for (int second = first + 1; second <= steps + 6; ++second) checkCase(shape, {first, second}, cases, lost);
        }
        std::printf("[ fault matrix ] %s: %d steps, %d cases, %d with data lost\n", shape.name, steps,
                    cases - casesBefore, lost - lostBefore);
    }
    EXPECT_EQ(lost, 0);
    std::printf("[ fault matrix ] %d cases, %d with data lost\n", cases, lost);
}

TEST(SaveSteps, ABusyFileIsTriedAgainForAMomentThenReported) {
    TempDir dir;
    dir.write("held.txt", kOld);
    FailingSteps steps;
    steps.busyReplaces = 3;  // let go after three tries
    {
        SafeFileWriter writer(dir.file("held.txt"), steps);
        writer.write(kNew, 3);
        EXPECT_TRUE(writer.commit());
    }
    EXPECT_EQ(dir.read("held.txt"), kNew);
    EXPECT_EQ(steps.waits, 3);

    steps.busyReplaces = 1000;  // never lets go
    steps.waits = 0;
    {
        SafeFileWriter writer(dir.file("held.txt"), steps);
        writer.write("other", 5);
        EXPECT_FALSE(writer.commit());
        EXPECT_EQ(writer.error(), FileError::Busy);
    }
    EXPECT_EQ(dir.read("held.txt"), kNew);
    EXPECT_EQ(steps.waits, 9);  // ten tries in all, about a second
    EXPECT_EQ(namesIn(dir.folder()), std::set<std::string>{"held.txt"});
}
