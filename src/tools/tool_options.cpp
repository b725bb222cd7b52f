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
    {"version", ToolCommand::Version},
    {"--version", ToolCommand::Version},
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

bool isExport(ToolCommand c) { return c != ToolCommand::Check && c != ToolCommand::Help && c != ToolCommand::Version; }

bool isOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// "--help" or "--version" anywhere answers at once, whatever else is there.
bool findInformationOption(const std::vector<std::string>& args, ToolCommand* command) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "--version") return findCommand(a, command);
  }
  return false;
}

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
         "       vlapi-tool --help | --version\n";
}

std::string toolHelp() {
  return toolUsage() +
         "\n"
         "Exports write the same files as the viewer's admin menu. check lists problems of\n"
         "the database, one a line.\n"
         "\n"
         "Options:\n"
         "  --db FILE            the topic database (VL-LinuxAPI-Toc.xml) to read\n"
         "  --language de|en|fr  topic language of the exports (default de)\n"
         "  --dyeing-news 0|1    mark new topics as the viewer's index does (default 1)\n"
         "  --news               export-posting: only the new topics\n"
         "  --templates DIR      folder of VL-LinuxAPI-Head.html and VL-LinuxAPI-Tail.html\n"
         "  --export DIR         folder the exports are written into\n"
         "  --lib DIR            check: the library folder (default: the database's folder)\n"
         "  --help, --version    print this help or the version and exit\n"
         "\n"
         "Files: without --templates and --export the folders are those of the viewer:\n"
         "../../Templates/ and ../../Export/ beside the program; for an installed program\n"
         "the templates are looked for in $XDG_DATA_HOME/vlapi-viewer/Templates/\n"
         "(~/.local/share/vlapi-viewer/Templates/), then in ../share/vlapi-viewer/Templates/,\n"
         "and the exports go into $XDG_DATA_HOME/vlapi-viewer/Export/, made when missing.\n"
         "Written: VL-LinuxAPI-Lib.html, ForumPosting.txt, FileList.txt, Protocoll.txt.\n"
         "\n"
         "Exit status: 0 done, 1 failed or findings, 2 bad usage.\n";
}

bool parseToolArguments(const std::vector<std::string>& args, ToolOptions* options, std::string* err) {
  ToolOptions o;
  err->clear();
  if (findInformationOption(args, &o.command)) {
    *options = std::move(o);
    return true;
  }
  if (args.empty() || !findCommand(args[0], &o.command)) {
    *err = args.empty()        ? "no command given"
           : isOption(args[0]) ? "unknown option " + args[0]
                               : "unknown command " + args[0];
    return false;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--news") {
      o.newsOnly = true;
      if (o.command != ToolCommand::ExportPosting) *err = "option --news does not belong to this command";
    } else if (!takesValue(name)) {
      *err = (isOption(name) ? "unknown option " : "unexpected argument ") + name;
    } else if (i + 1 == args.size()) {
      *err = "missing value for " + name;
    } else {
      applyValueOption(name, args[++i], &o, err);
    }
    if (!err->empty()) return false;
  }
  if (o.command != ToolCommand::Help && o.command != ToolCommand::Version && o.databasePath.empty()) {
    *err = "--db FILE is required";
    return false;
  }
  *options = std::move(o);
  return true;
}
