#include "core/database/duplicate_protocol.h"

#include <random>

#include <gtest/gtest.h>

#include "core/app/paths.h"
#include "core/exports/export_test_util.h"

namespace {

TopicNode node(const std::string& group, const std::string& file, const std::string& de = "",
               const std::string& en = "") {
  return entryNode(de, en, file, group);
}

std::string render(const std::vector<TopicNode>& topics) {
  OutputSink sink;
  renderDuplicateProtocol(indexOf(topics), "db.xml", &sink);
  return sink.buffer;
}

const std::string kHeader = "Doppelte xml-Eintr\xC3\xA4ge in db.xml:\n\n";

TEST(DuplicateProtocolTest, NoDuplicatesGivesHeaderAndPassSeparators) {
  std::vector<TopicNode> topics = {node("G", ""), node("G", "/a/x.vl", "X", "x"), node("G", "/b/y.vl", "Y", "y")};
  EXPECT_EQ(render(topics), kHeader + "\n\n\n\n");
  EXPECT_EQ(render({}), kHeader + "\n\n\n\n");
}

TEST(DuplicateProtocolTest, SamePathGivesPathAndNameLinesSameNameOnlyNameLine) {
  std::vector<TopicNode> topics = {node("G1", "/dir/a.vl"), node("G2", "/dir/a.vl"), node("G3", "/other/a.vl")};
  EXPECT_EQ(render(topics), kHeader +
                                "File: /dir/a.vl[G1] = /dir/a.vl[G2]\n"
                                "File: a.vl[G1] = a.vl[G2]\n"
                                "File: a.vl[G1] = a.vl[G3]\n"
                                "File: a.vl[G2] = a.vl[G3]\n"
                                "\n\n\n\n");
}

TEST(DuplicateProtocolTest, PassOrderAndEveryPairOnce) {
  std::vector<TopicNode> topics = {node("A", "/1.vl", "T", "E"), node("B", "/2.vl", "T", "E"),
                                   node("C", "/3.vl", "T", "")};
  topics[0].descriptDe = topics[2].descriptDe = "D";
  topics[1].descriptEn = topics[2].descriptEn = "d";
  EXPECT_EQ(render(topics), kHeader +
                                "\n"
                                "FunctionDe: T[A] = T[B]\nFunctionDe: T[A] = T[C]\n"
                                "FunctionDe: T[B] = T[C]\n\n"
                                "DescriptDe: D[A] = D[C]\n\n"
                                "FunctionEn: E[A] = E[B]\n\n"
                                "DescriptEn: d[B] = d[C]\n");
}

TEST(DuplicateProtocolTest, FolderPathHasEmptyNameMatchingElementsWithoutFile) {
  // Themes have no file; an entry whose file ends in "/" pairs with every later one,
  // but an element without file never starts a pair.
  std::vector<TopicNode> topics = {node("T0", ""), node("T1", "/dir/"), node("T2", ""), node("T3", "/x.vl"),
                                   node("T4", "")};
  EXPECT_EQ(render(topics), kHeader +
                                "File: [T1] = [T2]\n"
                                "File: [T1] = [T4]\n"
                                "\n\n\n\n");
}

// The rule as the viewer states it: every element against every later one.
std::string allPairs(const std::vector<TopicNode>& t) {
  std::string out = kHeader;
  const std::pair<const char*, std::string_view TopicNode::*> passes[] = {{"File: ", &TopicNode::file},
                                                                          {"FunctionDe: ", &TopicNode::themeDe},
                                                                          {"DescriptDe: ", &TopicNode::descriptDe},
                                                                          {"FunctionEn: ", &TopicNode::themeEn},
                                                                          {"DescriptEn: ", &TopicNode::descriptEn}};
  auto line = [&](const char* label, std::string_view a, const TopicNode& na, std::string_view b, const TopicNode& nb) {
    out.append(label).append(a).append("[").append(na.group).append("] = ");
    out.append(b).append("[").append(nb.group).append("]\n");
  };
  for (int p = 0; p < 5; ++p) {
    auto field = passes[p].second;
    for (size_t a = 0; a < t.size(); ++a) {
      if ((t[a].*field).empty()) continue;
      for (size_t b = a + 1; b < t.size(); ++b) {
        if (t[b].*field == t[a].*field) line(passes[p].first, t[a].*field, t[a], t[b].*field, t[b]);
        if (p == 0 && filePart(t[b].file) == filePart(t[a].file)) {
          line("File: ", filePart(t[a].file), t[a], filePart(t[b].file), t[b]);
        }
      }
    }
    if (p < 4) out += "\n";
  }
  return out;
}

TEST(DuplicateProtocolTest, GroupedEqualsAllPairsOnGeneratedDatabases) {
  std::mt19937 random(20260307);
  const std::vector<std::string> files = {"", "", "/a/x.vl", "/b/x.vl", "/a/y.vl", "y.vl", "/a/", "/b/", "/c/z.vli"};
  const std::vector<std::string> words = {"", "", "Lesen", "Schreiben", "lesen", "\xE2\x9C\xB0Neu"};
  auto pick = [&](const std::vector<std::string>& v) -> const std::string& { return v[random() % v.size()]; };
  for (int round = 0; round < 40; ++round) {
    std::vector<TopicNode> topics(1 + random() % 120);
    for (TopicNode& n : topics) {
      n = node("G" + std::to_string(random() % 4), pick(files), pick(words), pick(words));
      n.descriptDe = pick(words);
      n.descriptEn = pick(words);
    }
    ASSERT_EQ(render(topics), allPairs(topics)) << "round " << round;
  }
}

TEST(DuplicateProtocolFileTest, MessagesAndFile) {
  std::string folder = makeScratchFolder();
  ExportSettings settings;
  settings.exportFolder = folder;
  std::vector<TopicNode> topics = {node("A", "/a.vl"), node("B", "/a.vl")};
  ExportResult result = writeDuplicateProtocol(indexOf(topics), "db.xml", settings);
  EXPECT_TRUE(result.ok && result.shown);
  EXPECT_EQ(result.title, "Linux VL-ZEZ-Ovidozo-Vivara");
  EXPECT_EQ(result.message, "Protokoll with double terms done to ...\n" + folder + "Protocoll.txt");
  EXPECT_EQ(readTestFile(folder + "Protocoll.txt"), render(topics));
  settings.exportFolder = folder + "missing/";
  result = writeDuplicateProtocol(indexOf(topics), "db.xml", settings);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.shown);
  EXPECT_EQ(result.message, "Couldn't create Protokoll\n" + folder + "missing/Protocoll.txt");
  removeScratchFolder(folder);
}

}  // namespace
