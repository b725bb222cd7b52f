// Parsing of the vlapi-tool command line.
#include "tools/tool_options.h"

#include <utility>

namespace {

struct CommandName {
  const char* name;
  ToolCommand command;
};

constexpr CommandName kCommands[] = {
    {"export-html", ToolCommand::ExportHtml},
    {"export-posting", ToolCommand::ExportPosting},
    {"export-filelist", ToolCommand::ExportFileList},
    {"duplicates", ToolCommand::Duplicates},
    {"check", ToolCommand::Check},
    {"help", ToolCommand::Help},
    {"--help", ToolCommand::Help},
};

bool findCommand(const std::string& word, ToolCommand* command) {
  for (const CommandName& c : kCommands) {
    if (word == c.name) {
      *command = c.command;
      return true;
    }
  }
  return false;
}

// Folders are joined to file names without a separator, so each gets its "/".
std::string asFolder(std::string path) {
  if (path.back() != '/') path += '/';
  return path;
}

bool isExport(ToolCommand c) { return c != ToolCommand::Check && c != ToolCommand::Help; }

bool applyValueOption(const std::string& name, std::string value, ToolOptions* o, std::string* err) {
  if (value.empty()) {
    *err = "empty value for " + name;
    return false;
  }
  if (name == "--db") {
    o->databasePath = std::move(value);
  } else if (name == "--language" && isExport(o->command)) {
    if (value == "de")
      o->topicLanguage = 0;
    else if (value == "en")
      o->topicLanguage = 1;
    else if (value == "fr")
      o->topicLanguage = 2;
    else
      *err = "--language takes de, en or fr";
  } else if (name == "--dyeing-news" && isExport(o->command)) {
    if (value == "0" || value == "1")
      o->dyeingNews = value[0] - '0';
    else
      *err = "--dyeing-news takes 0 or 1";
  } else if (name == "--templates" && isExport(o->command)) {
    o->templatesFolder = asFolder(std::move(value));
  } else if (name == "--export" && isExport(o->command)) {
    o->exportFolder = asFolder(std::move(value));
  } else if (name == "--lib" && o->command == ToolCommand::Check) {
    o->libraryFolder = asFolder(std::move(value));
  } else {
    *err = "option " + name + " does not belong to this command";
  }
  return err->empty();
}

bool takesValue(const std::string& name) {
  return name == "--db" || name == "--language" || name == "--dyeing-news" || name == "--templates" ||
         name == "--export" || name == "--lib";
}

}  // namespace

std::string toolUsage() {
  return "usage: vlapi-tool export-html | export-posting [--news] | export-filelist | duplicates\n"
         "                  --db FILE [--language de|en|fr] [--dyeing-news 0|1]\n"
         "                  [--templates DIR] [--export DIR]\n"
         "       vlapi-tool check --db FILE [--lib DIR]\n"
         "Exports write the same files as the viewer's admin menu; the folders default to\n"
         "../../Templates/ and ../../Export/ beside the program. check lists problems of the\n"
         "database, one a line; the library folder defaults to the database's folder.\n"
         "Exit status: 0 done, 1 failed or findings, 2 bad usage.\n";
}

bool parseToolArguments(const std::vector<std::string>& args, ToolOptions* options, std::string* err) {
  ToolOptions o;
  err->clear();
  if (args.empty() || !findCommand(args[0], &o.command)) {
    *err = args.empty() ? "no command given" : "unknown command " + args[0];
    return false;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--news" && o.command == ToolCommand::ExportPosting) {
      o.newsOnly = true;
    } else if (!takesValue(name)) {
      *err = "unexpected argument " + name;
    } else if (i + 1 == args.size()) {
      *err = "missing value for " + name;
    } else {
      applyValueOption(name, args[++i], &o, err);
    }
    if (!err->empty()) return false;
  }
  if (o.command != ToolCommand::Help && o.databasePath.empty()) {
    *err = "--db FILE is required";
    return false;
  }
  *options = std::move(o);
  return true;
}
