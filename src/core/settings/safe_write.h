// Replacing a file's whole content so that a crash, a full disk or a failed write
// never leaves a half-written file behind: the old file stays until the new one is complete.
#pragma once

#include <string>
#include <string_view>

// The file a write to `path` really changes: symbolic links are followed (relative
// targets against the link's folder, dangling ones too). False for a link loop.
bool resolveWriteTarget(const std::string& path, std::string* target);

// Writes `bytes` to a new file beside the target of `path`, flushes it to disk, gives
// it the old file's permission bits and owner, and renames it over the old file. A
// symbolic link stays a link. A missing file is created with the usual 0666 & ~umask.
// On failure the old file is untouched and `err` says why.
bool replaceFileContent(const std::string& path, std::string_view bytes, std::string* err);
