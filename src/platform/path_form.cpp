#include "platform/path_form.h"

#include "curses/utf8_text.h"

bool pathNeedsWideCall(const std::string& utf8Path) {
    return utf8Path.size() >= 256 || utf8_kind(utf8Path.c_str()) == 1;
}

std::u16string platformLongPath(const std::u16string& widePath) {
    if (widePath.size() < 256) return widePath;
    std::u16string out;
    if (widePath[1] == u':') {
        out = u"\\\\?\\" + widePath;
    } else if (widePath[0] == u'\\' && widePath[1] == u'\\') {
        out = u"\\\\?\\UNC\\" + widePath.substr(2);
    } else {
        return widePath;
    }
    for (char16_t& c : out)
        if (c == u'/') c = u'\\';
    return out;
}
