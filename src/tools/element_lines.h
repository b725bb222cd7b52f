// Where each element of the database file starts, for the check's "file:line"
// findings: the loaded document keeps no positions, so the file is read once more.
#pragma once

#include <string>
#include <vector>

// The line of every element's start tag, in document order, which is also the order
// of the index rows. Parsing stops at the first XML error; the lines up to there are
// kept. False when the file cannot be read.
bool readElementLines(const std::string& path, std::vector<long>* lines);
