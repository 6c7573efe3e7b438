#include "platform/clipboard.h"

#include <iostream>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace platform {

std::filesystem::path clipboard_file() {
    return config_folder() / "clipboard.txt";
}

bool set_clipboard(std::string_view text) {
    try {
        // The clipboard does not outlive the session: replaced without a disk flush.
        write_file_atomically(clipboard_file(), text, false);
        return true;
    } catch (const std::exception& e) {
        std::cerr << "clipboard: " << e.what() << '\n';
        return false;
    }
}

bool clear_clipboard() {
    std::error_code ec;
    std::filesystem::remove(clipboard_file(), ec);
    if (!ec) return true;
    std::cerr << "clipboard: cannot remove " << clipboard_file().string() << ": " << ec.message()
              << '\n';
    return false;
}

}  // namespace platform
