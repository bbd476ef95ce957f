#include "app/main_window/file_messages.h"

namespace {

std::string naming(const char* first, const std::string& path, const std::string& last) {
    return std::string(first) + ":\n" + path + "\n\n" + last;
}

constexpr const char* kUnchanged = "The text you had open is unchanged.";
constexpr const char* kUnsaved = "Your text is still open and unsaved.";
constexpr const char* kUseSaveAs = "Your text is still open and unsaved: use Save as to keep it in another file.";

// Why the system would not take the file, as a sentence before the rest; empty when it did
// not say.
std::string reasonFor(FileError error) {
    switch (error) {
    case FileError::NotFound: return "Its folder does not exist. ";
    case FileError::AccessDenied: return "Access to the file or its folder was refused. ";
    case FileError::ReadOnly: return "The file is marked read-only. ";
    case FileError::NameTooLong: return "Its name is too long: a file name can have at most 255 characters. ";
    case FileError::InvalidName:
        return "Its name holds characters that file names cannot have, such as \\ / : * ? \" < > |. ";
    case FileError::Busy: return "Another program is holding the file; try again in a moment. ";
    case FileError::DiskFull: return "The disk is full. ";
    case FileError::Exists:
    case FileError::Other:
    case FileError::None: break;
    }
    return {};
}

}  // namespace

std::string saveFailedMessage(const std::string& path, const SaveOutcome& outcome) {
    switch (outcome.result) {
    case SaveResult::Saved: return {};
    case SaveResult::RefusedNul:
        return naming("Orvane will not save over the file", path,
                      "It holds bytes that Orvane does not keep in its lines (NUL bytes, or UTF-16 text that is not "
                      "well formed), so saving would cut them out of the file. " +
                          std::string(kUseSaveAs));
    case SaveResult::FailedInPlace:
        if (!outcome.keptCopy.empty())
            return naming("Orvane could not save the file", path,
                          reasonFor(outcome.error) +
                              "The file was being written where it is and could not be put back as it was, so it may "
                              "now be incomplete. Its earlier text is kept in:\n" +
                              outcome.keptCopy + "\n\n" + kUnsaved +
                              " Save it again, or use Save as to put it somewhere else.");
        return naming("Orvane could not save the file", path,
                      reasonFor(outcome.error) +
                          "Its folder does not take new files, so the file was being written where it is and may now "
                          "be incomplete. Your text is still open and unsaved: save it again, or use Save as to put it "
                          "somewhere else.");
    case SaveResult::NotSaved: break;
    }
    return naming("Orvane could not save the file", path, reasonFor(outcome.error) + kUnsaved);
}

std::string openFailedMessage(const std::string& path) {
    return naming("Orvane could not open the file", path, kUnchanged);
}

std::string readFailedMessage(const std::string& path) {
    return naming("Orvane could not read the file", path,
                  std::string("Reading stopped part-way, so nothing of it was loaded. ") + kUnchanged);
}

std::string loadOutOfMemoryMessage(const std::string& path) {
    return naming("Orvane does not have the memory to open the file", path, kUnchanged);
}

std::string loadedWithBytesOutOfReachMessage(const std::string& path, const FileFormat& format) {
    if (format.malformedUtf16)
        return naming("The file starts like UTF-16 text but is not well formed", path,
                      "Orvane shows its bytes as they are, each line up to its first NUL byte, so it will not save "
                      "over this file. Use Save as to keep your text in another file.");
    if (format.holdsNul)
        return naming("The file holds NUL bytes", path,
                      "Orvane shows each line only up to its first NUL byte, so it will not save over this file. Use "
                      "Save as to keep your text in another file.");
    return {};
}
