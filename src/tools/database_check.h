// The check a maintainer runs before publishing a database: XML errors, entries
// whose code file is missing or whose titles are incomplete, a second help entry,
// and code files of the library that no entry names.
#pragma once

#include <string>
#include <vector>

#include "core/database/database_loader.h"
#include "core/database/topic_node.h"

struct CheckInput {
  std::string databasePath;   // as named in the findings
  std::string libraryFolder;  // "/" at the end
  XmlParseResult parseResult;
  const IndexModel* index = nullptr;  // built in German with the new-topic markers kept
  std::vector<long> elementLines;     // start line of row i's element; may be shorter
};

// One finding a line, "path:line: message" where the line is known.
std::vector<std::string> checkDatabase(const CheckInput& input);

// Code files below the folder, by the viewer's own test of the extension (letter case
// counts), as code paths beginning with "/", sorted. Folders that cannot be read are
// passed over and named, with the reason, in *errors. Linked folders are not walked.
std::vector<std::string> listCodeFiles(const std::string& libraryFolder, std::vector<std::string>* errors);
