// Forum posting and file list.
#include "core/exports/posting_export.h"

#include <algorithm>
#include <string>

#include "core/app/paths.h"
#include "core/exports/export_rows.h"

namespace {

void appendEntryLine(const std::string& themeHeader, const TopicNode& node, bool withFileName, std::string* line) {
  line->append(themeHeader).append(": \t").append(node.themeDe);
  if (withFileName) line->append("\t[b]File:[/b] \"").append(filePart(node.file)).append("\"");
}

ExportResult writePostingFile(const IndexModel& index, const ExportSettings& settings, const PostingOptions& options,
                              const char* fileName) {
  const std::string shownPath = settings.exportFolder + fileName;
  OutputSink sink;
  if (!openOutputFile(exportDiskFolder(settings) + fileName, &sink)) {
    return shownResult(false, "Couldn't create\n" + shownPath);
  }
  renderPosting(index, settings.firstEntryIndex, options, &sink);
  // A write that failed half-way leaves a broken file: say so rather than "done".
  if (!closeOutputFile(&sink)) return shownResult(false, "Couldn't create\n" + shownPath);
  return shownResult(true, "text-Export done to ...\n" + shownPath);
}

}  // namespace

void renderPosting(const IndexModel& index, int firstEntryIndex, const PostingOptions& options, OutputSink* sink) {
  const size_t end = walkedRowEnd(index);
  int previousLevel = 0;
  std::string themeHeader;
  std::string line;
  for (size_t i = std::min(walkedRowStart(firstEntryIndex), end); i < end; ++i) {
    const IndexRow row = index.row(i);
    if (row.level == 1) {
      themeHeader.assign("[b]").append(row.text).append("[/b]");
    } else if (row.level == 2 && (previousLevel == 1 || previousLevel == 2)) {
      if (previousLevel == 1) sinkLine(sink, "");
      // The news test looks at the title as the index shows it, in the topic language.
      if (!options.newsOnly || startsWithNewMarker(row.text)) {
        line.clear();
        appendEntryLine(themeHeader, index.topic(i), options.withFileName, &line);
        sinkLine(sink, line);
      }
    }
    previousLevel = row.level;
  }
}

ExportResult exportPosting(const IndexModel& index, const ExportSettings& settings, bool newsOnly) {
  PostingOptions options;
  options.newsOnly = newsOnly;
  return writePostingFile(index, settings, options, kPostingFileName);
}

ExportResult exportFileList(const IndexModel& index, const ExportSettings& settings) {
  PostingOptions options;
  options.withFileName = true;
  return writePostingFile(index, settings, options, kFileListFileName);
}
