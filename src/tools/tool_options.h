// Command line of vlapi-tool: which command, which database, which settings.
#pragma once

#include <string>
#include <vector>

enum class ToolCommand { ExportHtml, ExportPosting, ExportFileList, Duplicates, Check, Help, Version };

struct ToolOptions {
  ToolCommand command = ToolCommand::Help;
  std::string databasePath;     // --db
  bool newsOnly = false;        // --news (export-posting)
  int topicLanguage = 0;        // --language de|en|fr
  int dyeingNews = 1;           // --dyeing-news 0|1
  std::string templatesFolder;  // --templates, "/" at the end; empty = the program's default
  std::string exportFolder;     // --export, "/" at the end; empty = the program's default
  std::string libraryFolder;    // --lib (check), "/" at the end; empty = the database's folder
};

// The usage text printed with exit status 2; --help adds the details to it.
std::string toolUsage();
// What --help prints: usage, options, exit status and the files read and written.
std::string toolHelp();

// Parses the arguments after the program name. --help and --version anywhere win.
// False with *err set on bad usage, naming the argument.
bool parseToolArguments(const std::vector<std::string>& args, ToolOptions* options, std::string* err);
