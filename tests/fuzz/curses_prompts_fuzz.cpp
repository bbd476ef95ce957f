// The curses editor's prompts: find, replace and go-to take any key stream.
#include "curses_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte chooses the prompt the stream starts in.
    switch (data[0] % 3) {
    case 0: fuzz::runSession(data + 1, size - 1, {{curses_key::ctrl('F'), 2}}); break;
    case 1: fuzz::runSession(data + 1, size - 1, {{curses_key::ctrl('F'), 2}, {'a', 0}, {curses_key::ctrl('R'), 2}}); break;
    default: fuzz::runSession(data + 1, size - 1, {{curses_key::ctrl('J'), 2}}); break;
    }
    return 0;
}
