// External program starts against small shell scripts in a temporary folder.
#include "core/codeview/process.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& content, mode_t mode) {
  std::ofstream(path, std::ios::binary) << content;
  chmod(path.c_str(), mode);
}

// A program that writes each of its arguments on a line, then "END", into `output`.
void writeRecorder(const fs::path& path, const fs::path& output) {
  writeFile(
      path,
      "#!/bin/sh\n{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; printf 'END\\n'; } > '" + output.string() + "'\n",
      0755);
}

// The lines a recorder wrote, waiting up to ten seconds for it to finish.
bool readRecorded(const fs::path& output, std::vector<std::string>* lines) {
  for (int i = 0; i < 200; ++i) {
    std::ifstream in(output);
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    if (all.size() >= 4 && all.compare(all.size() - 4, 4, "END\n") == 0) {
      lines->clear();
      std::istringstream split(all.substr(0, all.size() - 4));
      for (std::string line; std::getline(split, line);) lines->push_back(line);
      return true;
    }
    usleep(50 * 1000);
  }
  return false;
}

class ExternalPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vl-process-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    const char* path = std::getenv("PATH");
    hadPath_ = path != nullptr;
    savedPath_ = hadPath_ ? path : "";
  }

  void TearDown() override {
    if (hadPath_)
      setenv("PATH", savedPath_.c_str(), 1);
    else
      unsetenv("PATH");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path makeFolder(const std::string& name) {
    fs::create_directories(folder_ / name);
    return folder_ / name;
  }

  fs::path folder_;
  bool hadPath_ = false;
  std::string savedPath_;
};

}  // namespace

TEST(SplitArguments, SeparatorsAndQuotedParts) {
  using V = std::vector<std::string>;
  EXPECT_EQ(splitArguments(""), V{});
  EXPECT_EQ(splitArguments(" \t\n "), V{});
  EXPECT_EQ(splitArguments("a  b\tc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(splitArguments("\"/my lib/a b.vl\" -x"), (V{"/my lib/a b.vl", "-x"}));
  EXPECT_EQ(splitArguments("\"open to the end"), (V{"open to the end"}));
  EXPECT_EQ(splitArguments("\"cut at\nline feed\""), (V{"cut at", "line", "feed\""}));
  EXPECT_EQ(splitArguments("\"\" x"), (V{"", "x"}));            // an empty quoted part is an argument
  EXPECT_EQ(splitArguments("ab\"c d\""), (V{"ab\"c", "d\""}));  // quotes inside a word are text
  EXPECT_EQ(splitArguments("\"a b\"c"), (V{"a b", "c"}));
}

TEST(SplitArguments, QuotedTextComesBackAsOneArgument) {
  for (std::string text : {"/home/u/my lib/Gadget/a b.vl", "/plain/path.vl", "", "tab\there", "in\"side"})
    EXPECT_EQ(splitArguments(quoteArgument(text)), std::vector<std::string>{text}) << text;
}

TEST_F(ExternalPrograms, FindsProgramsAlongPath) {
  fs::path first = makeFolder("first"), second = makeFolder("second");
  writeFile(second / "tool", "#!/bin/sh\n", 0755);
  writeFile(first / "other", "#!/bin/sh\n", 0644);  // not executable: skipped
  writeFile(second / "other", "#!/bin/sh\n", 0755);
  makeFolder("first/dir");  // folders are never programs
  writeFile(second / "dir", "#!/bin/sh\n", 0755);
  makeFolder("second/sub");
  writeFile(second / "sub" / "deep", "#!/bin/sh\n", 0755);
  // No "/" after the first folder, an empty entry, a "/" after the second.
  setenv("PATH", (first.string() + "::" + second.string() + "/").c_str(), 1);
  EXPECT_EQ(findProgram("tool"), second.string() + "/tool");
  EXPECT_EQ(findProgram("other"), second.string() + "/other");
  EXPECT_EQ(findProgram("dir"), second.string() + "/dir");
  EXPECT_EQ(findProgram("sub/deep"), second.string() + "/sub/deep");
  EXPECT_EQ(findProgram("missing"), "");
  EXPECT_EQ(findProgram(""), "");
  writeFile(first / "tool", "#!/bin/sh\n", 0700);
  EXPECT_EQ(findProgram("tool"), first.string() + "/tool");  // earlier folders win
  unsetenv("PATH");
  EXPECT_EQ(findProgram("tool"), "");
}

TEST_F(ExternalPrograms, NamesWithSlashesAreUsedAsTheyAre) {
  fs::path bin = makeFolder("bin");
  writeFile(bin / "run", "#!/bin/sh\n", 0755);
  writeFile(bin / "plain", "#!/bin/sh\n", 0644);
  setenv("PATH", bin.c_str(), 1);
  EXPECT_EQ(findProgram((bin / "run").string()), (bin / "run").string());
  EXPECT_EQ(findProgram((bin / "plain").string()), "");  // "/..." is not searched
  EXPECT_EQ(findProgram("./plain"), "");
  EXPECT_EQ(findProgram((folder_ / "nowhere" / "run").string()), "");
}

TEST_F(ExternalPrograms, DetachedStartPassesArgumentsAndFolder) {
  fs::path out = folder_ / "args.txt";
  writeRecorder(folder_ / "rec", out);
  ASSERT_NE(startProgram((folder_ / "rec").string(), "one \"two three\"\tfour", ""), 0);
  // The short-lived child is collected at once: no ended child is left waiting.
  int status = 0;
  EXPECT_LE(waitpid(-1, &status, WNOHANG), 0);
  std::vector<std::string> lines;
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two three", "four"}));

  fs::path here = folder_ / "here.txt";
  writeFile(folder_ / "where", "#!/bin/sh\n{ pwd; printf 'END\\n'; } > '" + here.string() + "'\n", 0755);
  fs::path work = makeFolder("work folder");
  ASSERT_NE(startProgram((folder_ / "where").string(), "", work.string()), 0);
  ASSERT_TRUE(readRecorded(here, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{work.string()});

  EXPECT_EQ(startProgram((folder_ / "absent").string(), "x", ""), 0);
}

TEST_F(ExternalPrograms, CodePathWithBlanksReachesTheEditorWhole) {
  fs::path out = folder_ / "editor.txt";
  writeRecorder(folder_ / "editor", out);
  fs::path code = makeFolder("my lib") / "a \"b\" c.vl";
  writeFile(code, "Procedure x()\n", 0644);
  ASSERT_NE(openCodeFile((folder_ / "editor").string(), code.string()), 0);
  std::vector<std::string> lines;
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{code.string()});

  fs::remove(out);
  fs::path spaced = folder_ / "my lib" / "two words.vl";
  ASSERT_NE(startProgram((folder_ / "editor").string(), quoteArgument(spaced.string()), ""), 0);
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{spaced.string()});
}

TEST_F(ExternalPrograms, EditorWithoutExecuteBitStartsNothing) {
  fs::path out = folder_ / "opened.txt";
  fs::path bin = makeFolder("bin");
  writeRecorder(bin / "xdg-open", out);
  setenv("PATH", bin.c_str(), 1);
  fs::path code = folder_ / "code.vl";
  writeFile(code, "", 0644);
  writeFile(folder_ / "editor", "#!/bin/sh\n", 0644);
  EXPECT_EQ(openCodeFile((folder_ / "editor").string(), code.string()), 0);
  EXPECT_EQ(openCodeFile("", (folder_ / "missing.vl").string()), 0);
  usleep(300 * 1000);
  EXPECT_FALSE(fs::exists(out));  // not even the default application
  std::vector<std::string> lines;
  ASSERT_NE(openCodeFile("", code.string()), 0);  // no editor: the default application
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{code.string()});
}

TEST_F(ExternalPrograms, OwnerExecuteBitDecidesAndLinksPass) {
  writeFile(folder_ / "plain", "", 0644);
  writeFile(folder_ / "mine", "", 0744);
  writeFile(folder_ / "others", "", 0611);
  fs::create_symlink(folder_ / "plain", folder_ / "link");
  fs::create_symlink(folder_ / "gone", folder_ / "dangling");
  EXPECT_FALSE(isOwnerExecutable((folder_ / "plain").string()));
  EXPECT_TRUE(isOwnerExecutable((folder_ / "mine").string()));
  EXPECT_FALSE(isOwnerExecutable((folder_ / "others").string()));
  EXPECT_TRUE(isOwnerExecutable((folder_ / "link").string()));
  EXPECT_TRUE(isOwnerExecutable((folder_ / "dangling").string()));
  EXPECT_FALSE(isOwnerExecutable((folder_ / "missing").string()));
}

TEST_F(ExternalPrograms, FilesAndFolders) {
  writeFile(folder_ / "empty.vl", "", 0644);
  EXPECT_EQ(fileExists((folder_ / "empty.vl").string()), 1);
  EXPECT_EQ(fileExists(folder_.string()), 0);
  EXPECT_EQ(fileExists((folder_ / "missing.vl").string()), 0);
  EXPECT_EQ(isDirectory(folder_.string()), 1);
  EXPECT_EQ(isDirectory(folder_.string() + "/"), 1);
  EXPECT_EQ(isDirectory((folder_ / "empty.vl").string()), 0);
  EXPECT_EQ(isDirectory(""), 0);
}

TEST_F(ExternalPrograms, DefaultApplicationFallsBackToTheSecondOpener) {
  fs::path bin = makeFolder("bin");
  fs::path gnomeOut = folder_ / "gnome.txt", xdgOut = folder_ / "xdg.txt";
  writeRecorder(bin / "gnome-open", gnomeOut);
  setenv("PATH", bin.c_str(), 1);
  fs::path file = folder_ / "a b.vl";
  writeFile(file, "x", 0644);
  EXPECT_EQ(openWithDefaultApplication((folder_ / "missing.vl").string()), 0);
  ASSERT_NE(openWithDefaultApplication(file.string()), 0);
  std::vector<std::string> lines;
  ASSERT_TRUE(readRecorded(gnomeOut, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{file.string()});

  writeRecorder(bin / "xdg-open", xdgOut);  // with both, the first one is used
  fs::remove(gnomeOut);
  ASSERT_NE(openWithDefaultApplication(file.string()), 0);
  ASSERT_TRUE(readRecorded(xdgOut, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{file.string()});
  EXPECT_FALSE(fs::exists(gnomeOut));

  fs::remove(bin / "xdg-open");
  fs::remove(bin / "gnome-open");
  EXPECT_EQ(openWithDefaultApplication(file.string()), 0);
}

TEST_F(ExternalPrograms, LibraryFolderLosesTrailingSlashes) {
  fs::path bin = makeFolder("bin");
  fs::path out = folder_ / "folder.txt";
  writeRecorder(bin / "xdg-open", out);
  setenv("PATH", bin.c_str(), 1);
  fs::path lib = makeFolder("lib");
  std::vector<std::string> lines;
  ASSERT_NE(openLibraryFolder(lib.string() + "///", "/unused/"), 0);
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{lib.string()});

  fs::remove(out);
  ASSERT_NE(openLibraryFolder("", folder_.string() + "/"), 0);  // empty field: program folder
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{folder_.string()});

  fs::remove(out);
  ASSERT_NE(openLibraryFolder("///", ""), 0);  // the root folder stays "/"
  ASSERT_TRUE(readRecorded(out, &lines));
  EXPECT_EQ(lines, std::vector<std::string>{"/"});

  writeFile(folder_ / "file.vl", "", 0644);
  EXPECT_EQ(openLibraryFolder((folder_ / "file.vl").string(), ""), 0);
  EXPECT_EQ(openLibraryFolder((folder_ / "missing").string() + "/", ""), 0);
}

// A database can name any path: none may reach a program as an option or a command
// ("+!cmd" runs the command in vi-like editors), and none may leave the library.
TEST_F(ExternalPrograms, PathsFromTheDatabaseNeverBecomeOptions) {
  fs::path out = folder_ / "args.txt";
  fs::path bin = makeFolder("bin");
  writeRecorder(bin / "xdg-open", out);
  writeRecorder(folder_ / "editor", out);
  setenv("PATH", bin.c_str(), 1);
  fs::path lib = makeFolder("lib");
  writeFile(lib / "-dash.vl", "", 0644);
  fs::create_directory(lib / "--version");
  const fs::path previous = fs::current_path();
  fs::current_path(lib);  // an empty "Lib-path" leaves code paths relative
  std::vector<std::vector<std::string>> received;
  auto record = [&](int started) {
    std::vector<std::string> lines;
    if (started != 0 && readRecorded(out, &lines)) received.push_back(lines);
    fs::remove(out);
  };
  record(openCodeFile((folder_ / "editor").string(), externalCodePath("", "/+!touch x")));
  record(openCodeFile("", externalCodePath("", "/-dash.vl")));
  record(openLibraryFolder("--version", ""));
  EXPECT_EQ(openCodeFile((folder_ / "editor").string(), externalCodePath("", "/a/../../etc/passwd")), 0);
  fs::current_path(previous);
  EXPECT_EQ(received, (std::vector<std::vector<std::string>>{{"./+!touch x"}, {"./-dash.vl"}, {"./--version"}}));
  EXPECT_EQ(externalCodePath("/lib/", "/a/./../b/x.vl"), "/lib/a/./../b/x.vl");
  EXPECT_EQ(externalCodePath("/lib/", "/../lib2/x.vl"), "");
  EXPECT_EQ(pathArgument("/abs"), "/abs");
}
