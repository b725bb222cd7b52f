// Reads the topic database file with expat straight into the index: one record
// and one row per element, built from the parser's callbacks, with all texts in
// one arena. No document is kept beside the index.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/database/topic_node.h"

struct XmlParseResult {
  int status = 0;         // 0 = success, else expat's error code
  std::string errorText;  // expat's text for the code; never empty when status is not 0
  long line = 0;
  long column = 0;  // counts from 1
};

// Larger files are treated like files that cannot be opened: the viewer's index of
// a real library is a small fraction of this.
constexpr size_t kMaxDatabaseBytes = size_t{256} << 20;

// Memory the index may take for a database of `inputBytes`: three times the file
// plus 128 MiB, room for entity-expanded text and for up to about 700,000 elements
// that are little more than a tag (each row and record takes 176 bytes). Past it,
// parsing stops with expat's "out of memory" error, and the part read so far is
// kept as after any XML error.
constexpr size_t indexMemoryBudget(size_t inputBytes) { return 3 * inputBytes + (size_t{128} << 20); }

// Entities may abbreviate text within expat's own limits: past 8 MiB of output a
// document may grow at most a hundredfold through entities (expat's defaults).
constexpr float kMaxEntityAmplification = 100.0f;
constexpr unsigned long long kAmplificationThreshold = 8ull << 20;

// Loads the file into *model and shows it with `options` (applyIndexLook).
// Returns false, leaving *model and *result untouched, when the file cannot be
// opened, is no regular file, is empty or larger than kMaxDatabaseBytes.
// Otherwise *model is replaced by what was parsed (the part before an error
// included) and *result tells how it ended. The model's currentGroup and
// helpEntryIndex carry over into the new index as into every build.
bool loadDatabaseFile(const std::string& path, const IndexBuildOptions& options, IndexModel* model,
                      XmlParseResult* result);

// loadDatabaseFile in two steps, for a read on another thread. The first opens the
// file and makes the parser on the calling thread: expat reads its debugging
// switches from the environment then, which must not happen while another thread
// (the toolkit starting up) may change it. The second parses, on any thread.
// beginDatabaseRead gives nullptr where loadDatabaseFile returns false at once.
struct DatabaseRead;
struct DatabaseReadDeleter {
  void operator()(DatabaseRead* read) const;
};
using DatabaseReadPtr = std::unique_ptr<DatabaseRead, DatabaseReadDeleter>;
// With a supply, the index takes its huge blocks from it while it is read.
DatabaseReadPtr beginDatabaseRead(const std::string& path, const IndexModel& previous, BlockSupply* supply = nullptr);
bool finishDatabaseRead(DatabaseRead* read, const IndexBuildOptions& options, IndexModel* model,
                        XmlParseResult* result);

// The same for bytes already in memory (an empty buffer counts as not openable).
bool loadDatabaseBuffer(std::string_view bytes, const IndexBuildOptions& options, IndexModel* model,
                        XmlParseResult* result);

// expat's text for an error code; codes it does not know get "XML error " and the number.
std::string xmlErrorText(int code);
