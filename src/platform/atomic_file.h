// Replacing a small file so that a reader sees either the old or the new content.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// Writes content to target atomically: a temporary file in the target's folder is
// written, flushed to disk and renamed over the target, and the folder is flushed.
// Creates the folder when it is missing. A symbolic link is followed, so the file it
// points to is replaced. An existing file keeps its permission bits; a new one gets
// 0644. Throws std::system_error (with the path in its message) on any failure; the
// target is then left as it was and no temporary file stays behind.
void write_file_atomically(const std::filesystem::path& target, std::string_view content);

}  // namespace platform
