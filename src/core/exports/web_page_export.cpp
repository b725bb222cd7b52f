// The web page export. Nothing inserted is escaped: the titles and paths are the
// maintainer's own and go into the page as the database holds them.
#include "core/exports/web_page_export.h"

#include <algorithm>
#include <string_view>

#include "core/exports/export_rows.h"
#include "core/exports/template_copy.h"

namespace {

constexpr std::string_view kButtonStart =
    "<input type=\"button\" name=\"theSubmitButton\" id=\"theSubmitButton\" "
    "value=\"Alle öffnen / schließen\" onclick=\"";
constexpr std::string_view kOutlineCallStart = "outline('";
constexpr std::string_view kOutlineCallEnd = "');";
constexpr std::string_view kButtonEnd = "return false;\"><br />\n<a></a>\n<a></a></p>\n";
constexpr std::string_view kCloseEntries = "</span>\n</p>\n";
constexpr std::string_view kOpenParagraph = "<p>\n";
constexpr std::string_view kThemeStart =
    "<img src=\"Icons/folder.png\" style=\"vertical-align: middle;\">"
    "<a style=\"margin-left: 5px;\" href=\"#\" onclick=\"outline('";
constexpr std::string_view kThemeMiddle = "'); return false;\"><b>";
constexpr std::string_view kBoldLinkEnd = "</b></a><br />";
constexpr std::string_view kEntriesStart = "<span id=\"";
constexpr std::string_view kEntriesStyle = "\" style=\"display:none; margin-left: 20px;\"> ";
constexpr std::string_view kEntryStart =
    "<img src=\"Icons/folder-documents.png\" style=\"vertical-align: middle;\">"
    "<a style=\"margin-left: 5px;\" href=\"";
constexpr std::string_view kNewEntryTarget = "\" target=\"_blank\"><b>";
constexpr std::string_view kEntryTarget = "\" target=\"_blank\">";
constexpr std::string_view kTitleSeparator = "&nbsp;&nbsp;&nbsp;\u2B0C&nbsp;&nbsp;&nbsp;";
constexpr std::string_view kLinkEnd = "</a><br />";
constexpr std::string_view kPageBodyEnd = "</span>\n</p>";

void appendButtonLine(const IndexModel& index, size_t first, size_t end, std::string* line) {
  line->append(kButtonStart);
  for (size_t i = first; i < end; ++i) {
    if (index.row(i).level != 1) continue;
    line->append(kOutlineCallStart).append(index.row(i).text).append(kOutlineCallEnd);
  }
  line->append(kButtonEnd);
}

void appendThemeLine(const std::string& theme, int previousLevel, std::string* line) {
  if (previousLevel == 2) line->append(kCloseEntries);
  line->append(kOpenParagraph).append(kThemeStart).append(theme);
  line->append(kThemeMiddle).append(theme).append(kBoldLinkEnd);
}

void appendEntryLine(const TopicNode& node, const std::string& theme, int previousLevel,
                     const std::string& platformWord, std::string* line) {
  if (previousLevel == 1) line->append(kEntriesStart).append(theme).append(kEntriesStyle);
  line->append(kEntryStart).append(platformWord).append(node.file);
  bool isNew = startsWithNewMarker(node.themeDe);
  line->append(isNew ? kNewEntryTarget : kEntryTarget).append(node.themeDe);
  line->append(kTitleSeparator).append(node.themeEn).append(isNew ? kBoldLinkEnd : kLinkEnd);
}

}  // namespace

void renderWebPageBody(const IndexModel& index, int firstEntryIndex, const std::string& platformWord,
                       OutputSink* sink) {
  const size_t end = walkedRowEnd(index);
  const size_t first = std::min(walkedRowStart(firstEntryIndex), end);
  std::string line;
  sinkLine(sink, "<br />");
  appendButtonLine(index, first, end, &line);
  sinkLine(sink, line);
  int previousLevel = 0;
  std::string theme;
  for (size_t i = first; i < end; ++i) {
    const int level = index.row(i).level;
    line.clear();
    if (level == 1) {
      theme = index.row(i).text;
      appendThemeLine(theme, previousLevel, &line);
      sinkLine(sink, line);
    } else if (level == 2 && (previousLevel == 1 || previousLevel == 2)) {
      appendEntryLine(index.topic(i), theme, previousLevel, platformWord, &line);
      sinkLine(sink, line);
    }
    previousLevel = level;
  }
  sinkLine(sink, kPageBodyEnd);
}

ExportResult exportWebPage(const IndexModel& index, const ExportSettings& settings) {
  const std::string shownPath = settings.exportFolder + kWebPageFileName;
  OutputSink sink;
  if (!openOutputFile(exportDiskFolder(settings) + kWebPageFileName, &sink)) {
    return shownResult(false, "Couldn't create\n" + shownPath);
  }
  std::string headNote, tailNote;
  copyTemplate(settings.templatesFolder + kHeadTemplateName, true, settings.dateText, &sink, &headNote);
  renderWebPageBody(index, settings.firstEntryIndex, settings.platformWord, &sink);
  copyTemplate(settings.templatesFolder + kTailTemplateName, false, "", &sink, &tailNote);
  if (!closeOutputFile(&sink)) return shownResult(false, "Couldn't create\n" + shownPath);
  std::string message = "html-Export done to ...\n" + shownPath;
  for (const std::string* note : {&headNote, &tailNote}) {
    if (!note->empty()) message += "\n\n" + *note;
  }
  return shownResult(true, message);
}
