#pragma once
// Writes a new version of a file without ever leaving a damaged one behind, whatever kind of
// name the file has: a plain file, a link, one of several hard links, a long name.
#include <memory>
#include <string>

#include "platform/file_io.h"

// The file-system steps of a safe save, one call each, so that a test can make any of them
// fail. The system's own steps are the default.
class SaveSteps {
public:
    virtual ~SaveSteps() = default;
    virtual file_system::FileFacts inspect(const std::string& path);
    virtual std::unique_ptr<FileWriter> open(const std::string& path, FileWriter::Mode mode);
    // Puts everything written on the disk and closes the writer: None when all of it is there.
    virtual FileError finish(FileWriter& writer);
    // Appends the whole of the file at `from` to `to`.
    virtual bool copy(const std::string& from, FileWriter& to);
    virtual FileError replace(const std::string& replacement, const std::string& target);
    virtual bool remove(const std::string& path);
    // Another program holds the file: wait a moment before the next try.
    virtual void waitForBusyFile();

    static SaveSteps& system();
};

// The new text goes to a file beside the target (same folder, a short name no other file
// has), is put on the disk, and only then takes the target's place; the replaced file keeps
// its attributes. Without a successful commit the target stays byte for byte as it was and
// the new file is removed.
// - A link is written through: the file it leads to is replaced (or created, for a link to a
//   missing file) and the link stays.
// - A file with several names (hard links) keeps them all: its bytes are first copied to a
//   backup beside it, the file is written where it stands, and the backup is removed once
//   every byte is on the disk; a failure puts the earlier bytes back.
// - Where the folder refuses a new file but the target can be written, and for a device or
//   other special file, the target is written in place (wroteInPlace tells).
// - A read-only target is refused; a file that another program holds is tried again for a
//   moment before the save gives up.
class SafeFileWriter final : public ByteSink {
public:
    explicit SafeFileWriter(const std::string& utf8Target, SaveSteps& steps = SaveSteps::system());
    // Without a commit, as a failed commit: the target is put back, the side files go.
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool isOpen() const;
    int64_t write(const void* bytes, int64_t n) override;
    // Everything written reached the disk and the target now holds it.
    bool commit();
    // The target is written where it stands, with no copy of its earlier bytes.
    bool wroteInPlace() const { return way_ == Way::InPlace; }
    // Why the open or the commit failed; None after a success.
    FileError error() const { return error_; }
    // After a failed commit: the target could not be put back as it was, and may be
    // incomplete. Its earlier bytes are in keptCopy() when that is not empty.
    bool targetDamaged() const { return damaged_; }
    const std::string& keptCopy() const { return keptCopy_; }

private:
    enum class Way {
        None,     // nothing could be opened
        Replace,  // a new file beside the target takes its place
        Create,   // the target did not exist: it is written directly, and removed on failure
        Backup,   // the target's bytes are copied aside, then it is written in place
        InPlace,  // the target is written where it stands, without a copy
    };

    void open();
    void openReplacement();
    void openCreation(const file_system::FileFacts& facts);
    void openBackedUp();
    void openInPlace(const std::string& path);
    // Opens path, trying again for a moment while another program holds it.
    std::unique_ptr<FileWriter> openHeld(const std::string& path, FileWriter::Mode mode);
    // A new file beside `beside`, or null with the error noted (AccessDenied: the folder
    // takes no new file).
    std::unique_ptr<FileWriter> openBeside(const std::string& beside, const char* suffix, std::string& name);
    // After the target was written in place and failed: its earlier bytes go back from the
    // backup, or, where they cannot, the backup stays and is named to the user.
    void putBackOrKeepCopy();
    // Undoes whatever was begun: the target as it was, no side file.
    void abandon() noexcept;
    // Notes the first failure.
    void fail(FileError error);

    SaveSteps& steps_;
    std::string target_;
    std::string destination_;  // where the bytes go: the target, or the file its links lead to
    std::string sideFile_;     // the new text (Replace) or the earlier bytes (Backup)
    std::unique_ptr<FileWriter> writer_;
    Way way_ = Way::None;
    bool special_ = false;
    bool finished_ = false;
    bool damaged_ = false;
    FileError error_ = FileError::None;
    std::string keptCopy_;
};
