// Duplicate protocol by grouping equal values: for each element the later elements
// with the same value are found in its group instead of by scanning the whole list.
#include "core/database/duplicate_protocol.h"

#include <cstdint>
#include <iterator>
#include <string_view>
#include <unordered_map>

#include "core/app/paths.h"

namespace {

struct Pass {
  const char* label;
  std::string_view TopicNode::*field;
};

constexpr Pass kPasses[] = {
    {"File: ", &TopicNode::file},
    {"FunctionDe: ", &TopicNode::themeDe},
    {"DescriptDe: ", &TopicNode::descriptDe},
    {"FunctionEn: ", &TopicNode::themeEn},
    {"DescriptEn: ", &TopicNode::descriptEn},
};

// Elements with equal values, each group in list order; position[i] is element i's
// place in its group. Elements left out (empty values) keep group -1.
struct Groups {
  std::vector<std::vector<uint32_t>> members;
  std::vector<int32_t> group;
  std::vector<uint32_t> position;
};

Groups groupValues(const std::vector<std::string_view>& values, bool skipEmpty) {
  Groups g;
  g.group.assign(values.size(), -1);
  g.position.assign(values.size(), 0);
  std::unordered_map<std::string_view, int32_t> byValue;
  byValue.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    if (skipEmpty && values[i].empty()) continue;
    auto [it, added] = byValue.try_emplace(values[i], static_cast<int32_t>(g.members.size()));
    if (added) g.members.emplace_back();
    g.group[i] = it->second;
    g.position[i] = static_cast<uint32_t>(g.members[it->second].size());
    g.members[it->second].push_back(static_cast<uint32_t>(i));
  }
  return g;
}

void writePair(const char* label, std::string_view a, std::string_view groupA, std::string_view b,
               std::string_view groupB, std::string* line, OutputSink* sink) {
  line->assign(label).append(a).append("[").append(groupA).append("] = ");
  line->append(b).append("[").append(groupB).append("]");
  sinkLine(sink, *line);
}

// An equal path means an equal file name, so the later elements with A's file name
// are all the candidates of both tests, already in list order.
void writeFilePass(const IndexModel& topics, OutputSink* sink) {
  std::vector<std::string_view> names(topics.rowCount());
  for (size_t i = 0; i < topics.rowCount(); ++i) {
    std::string_view file = topics.topic(i).file;
    size_t slash = file.rfind('/');
    names[i] = slash == std::string_view::npos ? file : file.substr(slash + 1);
  }
  // Empty names stay in: "dir/" has an empty name, equal to that of every element
  // without a file.
  Groups g = groupValues(names, false);
  std::string line;
  for (size_t a = 0; a < topics.rowCount(); ++a) {
    if (topics.topic(a).file.empty()) continue;
    const std::vector<uint32_t>& same = g.members[g.group[a]];
    for (size_t k = g.position[a] + 1; k < same.size(); ++k) {
      const TopicNode& b = topics.topic(same[k]);
      if (b.file == topics.topic(a).file) {
        writePair("File: ", topics.topic(a).file, topics.topic(a).group, b.file, b.group, &line, sink);
      }
      writePair("File: ", names[a], topics.topic(a).group, names[same[k]], b.group, &line, sink);
    }
  }
}

void writeFieldPass(const IndexModel& topics, const Pass& pass, OutputSink* sink) {
  std::vector<std::string_view> values(topics.rowCount());
  for (size_t i = 0; i < topics.rowCount(); ++i) values[i] = topics.topic(i).*pass.field;
  Groups g = groupValues(values, true);
  std::string line;
  for (size_t a = 0; a < topics.rowCount(); ++a) {
    if (g.group[a] < 0) continue;
    const std::vector<uint32_t>& same = g.members[g.group[a]];
    for (size_t k = g.position[a] + 1; k < same.size(); ++k) {
      writePair(pass.label, values[a], topics.topic(a).group, values[same[k]], topics.topic(same[k]).group, &line,
                sink);
    }
  }
}

}  // namespace

void renderDuplicateProtocol(const IndexModel& topics, const std::string& databaseFileName, OutputSink* sink) {
  sinkLine(sink, "Doppelte xml-Eintr\xC3\xA4ge in " + databaseFileName + ":");
  sinkLine(sink, "");
  writeFilePass(topics, sink);
  sinkLine(sink, "");
  for (size_t p = 1; p < std::size(kPasses); ++p) {
    writeFieldPass(topics, kPasses[p], sink);
    if (p + 1 < std::size(kPasses)) sinkLine(sink, "");
  }
}

ExportResult writeDuplicateProtocol(const IndexModel& topics, const std::string& databaseFileName,
                                    const ExportSettings& settings) {
  const std::string shownPath = settings.exportFolder + kProtocolFileName;
  OutputSink sink;
  if (!openOutputFile(exportDiskFolder(settings) + kProtocolFileName, &sink)) {
    return shownResult(false, "Couldn't create Protokoll\n" + shownPath);
  }
  renderDuplicateProtocol(topics, databaseFileName, &sink);
  // A protocol cut short by a full disk must not be reported as done.
  if (!closeOutputFile(&sink)) return shownResult(false, "Couldn't create Protokoll\n" + shownPath);
  return shownResult(true, "Protokoll with double terms done to ...\n" + shownPath);
}
