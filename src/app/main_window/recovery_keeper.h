#pragma once
// Keeps the open document's recovery record in the data folder's "recovery" folder while its
// text is unsaved, and brings a leftover record back at the next start. Records are written
// from the timer once the typing pauses, and put on the disk by a thread of their own, so no
// key ever waits for the disk.
#include <cstdint>
#include <memory>
#include <string>

#include "app/settings/folders.h"
#include "editor/document.h"
#include "editor/recovery_journal.h"
#include "editor/recovery_rebuild.h"
#include "platform/record_file.h"

inline constexpr const char* kRecoveryFolder = "recovery";

class RecoveryKeeper {
public:
    // dataFolder ends with the platform's separator.
    RecoveryKeeper(const std::string& dataFolder, FolderPlatform& platform);

    // From the timer, every tick: writes what changed once the user has paused (or has typed
    // for a while without a pause).
    void tick(const Document& doc, int64_t nowMs);
    // Exit, or the end of the session: everything now, and on the disk before it returns.
    void finish(const Document& doc);

    // At a start without a file: the newest record of an instance that no longer runs comes
    // back into doc, and is this instance's record from then on. A record that could not be
    // brought back whole is kept beside, under recordKeptAs.
    struct Restored {
        bool found = false;
        recovery::Rebuilt rebuilt;
        std::string recordKeptAs;
    };
    Restored restoreNewest(Document& doc);

    // The record being kept now, if any.
    std::string recordPath() const { return file_ ? file_->path() : std::string(); }

private:
    struct Seen {
        uint64_t state = 0;
        uint64_t savedState = 0;
        FileStamp saved;
        CaretState caret;
        bool crlf = false, space = false;
        std::string path;
        bool operator==(const Seen&) const = default;
    };
    static Seen seen(const Document& doc);
    void write(const Document& doc);
    bool openFile();

    std::string folder_;  // the recovery folder, with its separator
    FolderPlatform& platform_;
    recovery::Journal journal_;
    std::unique_ptr<RecordFile> file_;
    Seen last_;
    bool pending_ = false;
    int64_t changedAt_ = 0;
    int64_t pendingSince_ = 0;
};
