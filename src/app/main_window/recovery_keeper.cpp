#include "app/main_window/recovery_keeper.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace {

// A pause this long after a change writes it; a change older than this is written even while
// typing goes on. Both keep a change on the disk within a second.
constexpr int64_t kPauseMs = 250;
constexpr int64_t kLongestWaitMs = 600;
constexpr const char* kRecordExtension = ".orvrec";
constexpr const char* kKeptExtension = ".kept";

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const std::string& dataFolder, FolderPlatform& platform)
    : folder_(dataFolder + kRecoveryFolder + platform.separator()), platform_(platform) {}

RecoveryKeeper::Seen RecoveryKeeper::seen(const Document& doc) {
    return {doc.history.state(), doc.history.savedState(), doc.disk.stamp, CaretState::of(doc), doc.crlf, doc.space, doc.path};
}

void RecoveryKeeper::tick(const Document& doc, int64_t nowMs) {
    Seen now = seen(doc);
    if (!(now == last_)) {
        last_ = std::move(now);
        if (!pending_) pendingSince_ = nowMs;
        pending_ = true;
        changedAt_ = nowMs;
    }
    if (pending_ && (nowMs - changedAt_ >= kPauseMs || nowMs - pendingSince_ >= kLongestWaitMs)) write(doc);
}

void RecoveryKeeper::finish(const Document& doc) {
    last_ = seen(doc);
    write(doc);
    if (file_) file_->wait();
}

bool RecoveryKeeper::openFile() {
    platform_.createDirectory(folder_.substr(0, folder_.size() - 1));
    std::random_device random;
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto stamp = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        std::string name = "orvane-" + std::to_string(stamp) + "-" + std::to_string(random() % 1000000) + kRecordExtension;
        file_ = RecordFile::create(folder_ + name);
    }
    return file_ != nullptr;
}

void RecoveryKeeper::write(const Document& doc) {
    pending_ = false;
    if (file_ && file_->failed()) {
        // The disk refused a write: a new record, from the start, in a new file.
        file_.reset();
        journal_.forget();
    }
    recovery::Update update = journal_.update(doc);
    switch (update.action) {
    case recovery::Update::Action::None: return;
    case recovery::Update::Action::Remove:
        if (file_) file_->remove();
        file_.reset();
        return;
    case recovery::Update::Action::Append:
        // The journal keeps a record only while the file holds it.
        file_->append(std::move(update.bytes));
        return;
    case recovery::Update::Action::Rewrite:
        if (!file_ && !openFile()) {
            journal_.forget();
            return;
        }
        file_->rewrite(std::move(update.bytes));
        return;
    }
}

RecoveryKeeper::Restored RecoveryKeeper::restoreNewest(Document& doc) {
    Restored restored;
    std::vector<DirectoryEntry> entries;
    if (!platform_.listDirectory(folder_ + "*", entries)) return restored;
    std::vector<std::pair<int64_t, std::string>> records;
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory || !endsWith(entry.name, kRecordExtension)) continue;
        std::string path = folder_ + entry.name;
        records.emplace_back(fileStamp(path).lastWrite, path);
    }
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [written, path] : records) {
        std::string bytes;
        std::unique_ptr<RecordFile> claimed = RecordFile::claim(path, bytes);
        if (!claimed) continue;  // its instance still runs
        restored.found = true;
        restored.rebuilt = recovery::rebuild(doc, bytes);
        if (restored.rebuilt.outcome == recovery::Rebuilt::Outcome::Whole) {
            // The record is this instance's now, written anew for the document it rebuilt.
            file_ = std::move(claimed);
            journal_.forget();
            write(doc);
            if (file_) file_->wait();
        } else {
            // Not all of it could come back: the record stays, out of the way of later starts.
            claimed.reset();
            restored.recordKeptAs = path + kKeptExtension;
            if (!RecordFile::setAside(path, restored.recordKeptAs)) restored.recordKeptAs = path;
            if (restored.rebuilt.outcome == recovery::Rebuilt::Outcome::Unnamed) write(doc);
        }
        last_ = seen(doc);
        return restored;
    }
    return restored;
}
