// Helpers of the export tests: hand-made indexes and scratch folders.
#pragma once

#include <string>

#include "core/database/topic_node.h"

// Appends one row and its record; the row text is what the index shows.
void addRow(IndexModel* index, int level, const std::string& text, const TopicNode& node = {});

// An entry record with German and English title and a code path.
TopicNode entryNode(const std::string& themeDe, const std::string& themeEn, const std::string& file,
                    const std::string& group = "");

// A fresh folder below the temporary folder, "/" at the end.
std::string makeScratchFolder();
void removeScratchFolder(const std::string& folder);

std::string readTestFile(const std::string& path);
void writeTestFile(const std::string& path, const std::string& bytes);
bool testFileExists(const std::string& path);
