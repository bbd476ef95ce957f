// The curses editor loads any bytes as a file and takes any key stream.
#include "curses_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::runSession(data, size, {});
    return 0;
}
