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
  };
  for (const auto& args : bad) {
    ToolOptions o;
    std::string err;
    EXPECT_FALSE(parse(args, &o, &err)) << (args.empty() ? "" : args.back());
    EXPECT_FALSE(err.empty());
  }
}

}  // namespace
