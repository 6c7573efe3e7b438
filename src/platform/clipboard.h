// The clipboard stand-in: the file clipboard.txt in the configuration folder (beside
// the registry file). The program puts a failing statement there for the user to copy.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

std::filesystem::path clipboard_file();

// Replaces the clipboard file's content with text, atomically. Returns false, with the
// reason on standard error, when it cannot be written; the program goes on either way.
bool set_clipboard(std::string_view text);

// Empties the clipboard: removes the file. Returns false, with the reason on standard
// error, when a file stays.
bool clear_clipboard();

}  // namespace platform
