#include "core/database/database_prefetch.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string writeDatabase(const std::string& name, const std::string& xml) {
  std::string path = testing::TempDir() + "database_prefetch_test_" + std::to_string(getpid()) + "_" + name;
  FILE* file = fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  if (file == nullptr) return path;
  fwrite(xml.data(), 1, xml.size(), file);
  fclose(file);
  return path;
}

// Enough entries for the records and texts to fill several blocks of index memory.
std::string manyEntries(int count) {
  std::string xml = "<?xml version=\"1.0\"?>\n<r n=\"Root\">Root 1 2 v3\n <t n=\"Theme\">T\n";
  for (int i = 0; i < count; ++i) {
    std::string n = std::to_string(i);
    xml += "  <e File=\"/e" + n +
           ".vl\" theme_de=\"\xE2\x9C\xB0"
           "Eintrag " +
           n + "\" descript_en=\"" + std::string(static_cast<size_t>(i % 300), 'x') + "\"/>\n";
  }
  return xml + " </t>\n</r>\n";
}

TEST(DatabasePrefetch, HandsOverWhatLoadingTheFileGivesAndOnlyForItsPath) {
  const std::string path = writeDatabase("many.xml", manyEntries(30000));
  IndexBuildOptions options;
  options.dyeingNews = 0;  // the look is applied when the read is taken, not while reading
  IndexModel direct;
  XmlParseResult directResult;
  ASSERT_TRUE(loadDatabaseFile(path, options, &direct, &directResult));

  DatabasePrefetch prefetch;
  startDatabasePrefetch(&prefetch, path);
  IndexModel model;
  XmlParseResult result;
  bool loaded = false;
  EXPECT_FALSE(takePrefetchedDatabase(&prefetch, path + "x", options, &model, &result, &loaded));
  EXPECT_TRUE(model.empty());
  startDatabasePrefetch(&prefetch, path);
  ASSERT_TRUE(takePrefetchedDatabase(&prefetch, path, options, &model, &result, &loaded));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(result.status, directResult.status);
  EXPECT_EQ(model.databaseVersion, "v3");
  ASSERT_EQ(model.rowCount(), direct.rowCount());
  for (size_t i = 0; i < model.rowCount(); ++i) {
    ASSERT_EQ(model.row(i).text, direct.row(i).text) << i;
    ASSERT_EQ(model.topic(i).descriptEn, direct.topic(i).descriptEn) << i;
    ASSERT_EQ(model.topic(i).file, direct.topic(i).file) << i;
  }
  EXPECT_FALSE(takePrefetchedDatabase(&prefetch, path, options, &model, &result, &loaded));  // taken once
  unlink(path.c_str());

  startDatabasePrefetch(&prefetch, path);  // gone now: reported as loadDatabaseFile would
  loaded = true;
  EXPECT_TRUE(takePrefetchedDatabase(&prefetch, path, options, &model, &result, &loaded));
  EXPECT_FALSE(loaded);
  EXPECT_EQ(model.rowCount(), direct.rowCount());

  startDatabasePrefetch(&prefetch, "relative.xml");  // depends on a working folder not settled yet
  EXPECT_FALSE(takePrefetchedDatabase(&prefetch, "relative.xml", options, &model, &result, &loaded));
}

}  // namespace
