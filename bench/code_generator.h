// Generated Veldra code files of a given length, plausible enough to exercise every
// rule of the highlighter: procedures and their calls, strings holding ";", comments
// holding quotes, constants, topic link lines and an IDE-options footer.
#pragma once

#include <cstdint>
#include <string>

// `lineCount` code lines joined by "\n", then a footer of a few more lines. The
// same seed gives the same text.
std::string generateCodeFile(int lineCount, uint32_t seed);

// The same file as it lies on disk: UTF-8 byte-order mark and CR LF line ends.
std::string generateCodeFileBytes(int lineCount, uint32_t seed);
