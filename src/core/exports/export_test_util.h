// Helpers of the export tests: hand-made indexes and scratch folders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/database/topic_node.h"

// Appends one row and its record. `text` is the row text of levels 0 and 1 (their
// group text); deeper rows show the record's title in the topic language.
void addRow(IndexModel* index, int level, const std::string& text, const TopicNode& node = {});

// An entry record with German and English title and a code path. Its texts stay
// valid until the test program ends.
TopicNode entryNode(const std::string& themeDe, const std::string& themeEn, const std::string& file,
                    const std::string& group = "");

// A text kept until the test program ends, for records made by hand.
std::string_view keptText(const std::string& text);

// The records as level-2 rows of an index.
IndexModel indexOf(const std::vector<TopicNode>& topics);

// A fresh folder below the temporary folder, "/" at the end.
std::string makeScratchFolder();
void removeScratchFolder(const std::string& folder);

std::string readTestFile(const std::string& path);
void writeTestFile(const std::string& path, const std::string& bytes);
bool testFileExists(const std::string& path);
