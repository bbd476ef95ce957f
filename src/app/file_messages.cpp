#include "app/file_messages.h"

namespace {

std::string naming(const char* first, const std::string& path, const char* last) {
    return std::string(first) + ":\n" + path + "\n\n" + last;
}

constexpr const char* kUnchanged = "The text you had open is unchanged.";

}  // namespace

std::string saveFailedMessage(const std::string& path) {
    return naming("Orvane could not save the file", path, "Your text is still open and unsaved.");
}

std::string saveFailedInPlaceMessage(const std::string& path) {
    return naming("Orvane could not save the file", path,
                  "Its folder does not take new files, so the file was being written where it is and may now be "
                  "incomplete. Your text is still open and unsaved: save it again, or use Save as to put it "
                  "somewhere else.");
}

std::string openFailedMessage(const std::string& path) {
    return naming("Orvane could not open the file", path, kUnchanged);
}

std::string readFailedMessage(const std::string& path) {
    return naming("Orvane could not read the file", path,
                  std::string("Reading stopped part-way, so nothing of it was loaded. ").append(kUnchanged).c_str());
}

std::string loadOutOfMemoryMessage(const std::string& path) {
    return naming("Orvane does not have the memory to open the file", path, kUnchanged);
}
