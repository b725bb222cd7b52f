#include "tools/tool_options.h"

#include <gtest/gtest.h>

namespace {

bool parse(const std::vector<std::string>& args, ToolOptions* o, std::string* err) {
  return parseToolArguments(args, o, err);
}

TEST(ToolOptionsTest, ExportOptionsInAnyOrder) {
  ToolOptions o;
  std::string err;
  ASSERT_TRUE(parse({"export-posting", "--language", "fr", "--news", "--db", "x.xml", "--dyeing-news", "0", "--export",
                     "out", "--templates", "t/"},
                    &o, &err))
      << err;
  EXPECT_EQ(o.command, ToolCommand::ExportPosting);
  EXPECT_TRUE(o.newsOnly);
  EXPECT_EQ(o.topicLanguage, 2);
  EXPECT_EQ(o.dyeingNews, 0);
  EXPECT_EQ(o.databasePath, "x.xml");
  EXPECT_EQ(o.exportFolder, "out/");  // joined to file names, so the "/" is added
  EXPECT_EQ(o.templatesFolder, "t/");
  ASSERT_TRUE(parse({"check", "--db", "x.xml", "--lib", "/lib"}, &o, &err));
  EXPECT_EQ(o.command, ToolCommand::Check);
  EXPECT_EQ(o.libraryFolder, "/lib/");
  EXPECT_EQ(o.topicLanguage, 0);  // nothing carried over from the earlier parse
  ASSERT_TRUE(parse({"duplicates", "--db", "x.xml"}, &o, &err));
  EXPECT_EQ(o.exportFolder, "");
  EXPECT_EQ(o.dyeingNews, 1);
}

TEST(ToolOptionsTest, BadUsageIsRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"export"},
      {"export-html"},          // no --db
      {"export-html", "--db"},  // no value
      {"export-html", "--db", ""},
      {"export-html", "--db", "x", "--news"},      // --news only for the posting
      {"export-html", "--db", "x", "--lib", "l"},  // --lib only for check
      {"check", "--db", "x", "--export", "e"},
      {"check", "--db", "x", "--language", "de"},
      {"export-html", "--db", "x", "--language", "it"},
      {"export-html", "--db", "x", "--dyeing-news", "2"},
      {"export-html", "--db", "x", "stray"},
      {"--bogus"},
  };
  for (const auto& args : bad) {
    ToolOptions o;
    std::string err;
    EXPECT_FALSE(parse(args, &o, &err)) << (args.empty() ? "" : args.back());
    EXPECT_FALSE(err.empty());
  }
}

TEST(ToolOptionsTest, HelpAndVersionAnywhereAndUnknownOptionsNamed) {
  ToolOptions o;
  std::string err;
  ASSERT_TRUE(parse({"export-html", "--bogus", "--version"}, &o, &err));
  EXPECT_EQ(o.command, ToolCommand::Version);
  ASSERT_TRUE(parse({"check", "--help"}, &o, &err));
  EXPECT_EQ(o.command, ToolCommand::Help);
  EXPECT_FALSE(parse({"--bogus"}, &o, &err));
  EXPECT_EQ(err, "unknown option --bogus");
  EXPECT_FALSE(parse({"check", "--db", "x", "-q"}, &o, &err));
  EXPECT_EQ(err, "unknown option -q");
}

}  // namespace
