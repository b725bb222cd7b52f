// Reading files whose paths come from outside: the database, a drop, the settings,
// the language file, the templates. Any of them may turn out to be a fifo, a folder,
// a device or a sparse giant; none of these may stall the program or exhaust its memory.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Files larger than this are not read: far beyond any code file or template, and a
// copy of it in memory still fits comfortably.
inline constexpr uint64_t kFileSizeLimit = uint64_t{256} << 20;

enum class FileStatus { Ok, Missing, NotRegular, TooLarge, Failed };

// Opens a regular file for reading without ever waiting: the type is checked before
// the open and again on the open descriptor, and the open itself cannot block on a
// fifo. -1 with *status telling why otherwise; *size is the file's size when known.
int openRegularFile(const std::string& path, FileStatus* status, uint64_t* size);

// Reads a regular file whole into *bytes, holding at most `limit` bytes in memory
// (TooLarge beyond that, also for a file that grows while it is read). *size, when
// given, is the file's size, for messages about a file that was too large.
FileStatus readRegularFile(const std::string& path, uint64_t limit, std::string* bytes, uint64_t* size = nullptr);

// Reads until `size` bytes came or the file ended, going on after a signal: the
// bytes read, or -1 on a read error.
ssize_t readFull(int fd, char* buffer, size_t size);

// A size for a message: "812 bytes", "3.4 MiB", "64.0 GiB".
std::string byteSizeText(uint64_t bytes);
