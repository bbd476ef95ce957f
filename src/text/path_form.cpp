#include "text/path_form.h"

#include "text/utf8.h"

bool pathNeedsWideCall(std::string_view utf8Path) { return utf8Path.size() >= 256 || utf8_kind(utf8Path) == 1; }

std::u16string longPathForm(const std::u16string& widePath) {
    if (widePath.size() < 256) return widePath;
    std::u16string out;
    if (widePath[1] == u':') {
        out = u"\\\\?\\" + widePath;
    } else if (widePath[0] == u'\\' && widePath[1] == u'\\') {
        out = u"\\\\?\\UNC\\" + widePath.substr(2);
    } else {
        return widePath;
    }
    // The prefixed form turns off the system's own slash handling.
    for (char16_t& c : out)
        if (c == u'/') c = u'\\';
    return out;
}
