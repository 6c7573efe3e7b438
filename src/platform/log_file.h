// Reading and appending a text file that another program may have made anything: a
// large file, a link to a device, a FIFO, a folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class tail_read : uint8_t { read, missing, refused };

// Reads the last `limit` bytes of path (all of it when it is smaller), in order, handing
// them to `piece` a part at a time; from_start tells whether the first byte handed is the
// file's first. Only a regular file is read: it is opened so that a FIFO cannot stall the
// open, and the descriptor read is checked. Anything else, or a file that cannot be opened
// or read, is refused, with problem saying why (what was handed before a read failed is
// then to be dropped). A missing file is missing.
tail_read read_file_tail(const std::string& path, uint64_t limit,
                         const std::function<void(std::string_view)>& piece, bool& from_start,
                         std::string& problem);

// Appends content to the regular file path (created when missing, as a stream creates it:
// 0666 less the umask) with one write, so that no other appender's text comes between its
// bytes and a write cut short leaves only its start. Content appended to a file that does
// not end with a line end (a write cut short) begins with one, CR LF (LF after a CR), so
// that it starts a line of its own. Returns "" when all of it reached the file, else why
// not (the file is no regular file, cannot be opened, or the write failed or was cut
// short).
std::string append_in_one_write(const std::string& path, std::string_view content);

}  // namespace platform
