// Replacing a file's whole content so that a crash, a full disk or a failed write
// never leaves a half-written file behind: the old file stays until the new one is complete.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

// The file a write to `path` really changes: symbolic links are followed (relative
// targets against the link's folder, dangling ones too). False for a link loop.
bool resolveWriteTarget(const std::string& path, std::string* target);

// Writes `bytes` to a new file beside the target of `path`, flushes it to disk, gives
// it the old file's permission bits and owner, and renames it over the old file. A
// symbolic link stays a link. A missing file is created with the usual 0666 & ~umask.
// Where no file can be made beside it (a folder we may not write in), an existing
// file is rewritten in place instead, with its growth reserved first. Only regular
// files are written: a device or fifo in the target's place is refused. On failure
// the old content is untouched and `err` says why. Temporaries of ours left by an
// earlier process that ended mid-write are removed first.
bool replaceFileContent(const std::string& path, std::string_view bytes, std::string* err);

// A new, empty file beside `target` under a hidden name of ours (holding the process
// id), created exclusively with `mode`. The descriptor, or -1.
int createTemporaryBeside(const std::string& target, mode_t mode, std::string* tmpPath);
// Flushes the completed temporary, gives it the old file's mode and owner when `old`
// is given, closes it and renames it over `target` (a link there is replaced, not
// followed). False, with the temporary removed and `err` set, on any failure.
bool commitTemporary(int fd, const std::string& tmpPath, const std::string& target, const struct stat* old,
                     std::string* err);
// Closes and removes a temporary that will not be completed.
void discardTemporary(int fd, const std::string& tmpPath);
// Removes the temporaries beside `target` whose process no longer runs.
void removeStaleTemporaries(const std::string& target);
