// Any text given to the parser yields a tree or a jet::Error, never a crash, a hang
// or another exception.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "jet/error.h"
#include "jet/sql/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)jet::sql::parse(text);
    } catch (const jet::Error&) {
    }
    return 0;
}
