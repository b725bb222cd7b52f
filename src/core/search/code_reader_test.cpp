// The hand-over from the reading thread: everything arrives in order, a restart
// drops the old run, and files that vanish or are no plain files are skipped.
#include "core/search/code_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/settings/test_files.h"

namespace {

// Stands in for the viewer's main loop, which takes the chunks on its own thread.
struct Owner {
  std::atomic<int> wakeups{0};
  CodeReader reader;
  CodeBuffer code;
  bool refused = false;

  Owner() {
    reader.notify = [](void* self) { ++static_cast<Owner*>(self)->wakeups; };
    reader.userData = this;
  }
  bool waitUntilRead() {
    for (int i = 0; i < 6000; ++i, usleep(10000)) {
      std::vector<CodeChunk> chunks;
      CodeReadProgress progress;
      takeCodeChunks(&reader, &chunks, &progress);
      for (CodeChunk& chunk : chunks) refused |= !addCodeChunk(&code, std::move(chunk));
      if (progress.finished) return wakeups > 0;
    }
    return false;
  }
};

std::vector<std::string> writeFiles(const ScratchFolder& folder, const std::string& word, size_t count) {
  std::vector<std::string> paths;
  for (size_t i = 0; i < count; ++i) {
    paths.push_back(folder.file(word + std::to_string(i) + ".vl"));
    writeBytes(paths.back(), word + " " + std::to_string(i) + "\r\n; IDE Options = x\r\n");
  }
  return paths;
}

}  // namespace

TEST(CodeReader, HandsOverEveryItemInOrderAndSkipsWhatCannotBeRead) {
  ScratchFolder folder;
  // More items than one chunk takes, so the hand-over runs several times.
  std::vector<std::string> paths = writeFiles(folder, "alpha", kCodeChunkItems + 300);
  paths[3] = "";             // an entry without code file
  unlink(paths[4].c_str());  // vanished before the run
  unlink(paths[5].c_str());
  ASSERT_EQ(mkfifo(paths[5].c_str(), 0600), 0);  // would block a reader for good
  unlink(paths[6].c_str());
  ASSERT_EQ(mkdir(paths[6].c_str(), 0700), 0);
  Owner owner;
  startCodeReading(&owner.reader, paths);
  ASSERT_TRUE(owner.waitUntilRead());
  EXPECT_FALSE(owner.refused);
  EXPECT_GT(owner.code.chunks.size(), 1u);
  ASSERT_EQ(owner.code.itemsCovered, paths.size());
  EXPECT_EQ(codeSegment(owner.code, 0), ";alpha 0");
  for (size_t i : {3, 4, 5, 6}) EXPECT_EQ(codeSegment(owner.code, i), "") << i;
  EXPECT_EQ(findCodeItem(owner.code, makeSubstringFinder("alpha 1299"), 0, paths.size()), 1299);
}

TEST(CodeReader, RestartDropsTheOldRunAndFilesMayVanishMeanwhile) {
  ScratchFolder folder;
  std::vector<std::string> old = writeFiles(folder, "old", kCodeChunkItems + 200);
  std::vector<std::string> fresh = writeFiles(folder, "new", 300);
  Owner owner;
  startCodeReading(&owner.reader, old);
  for (int i = 0; i < 60000 && owner.wakeups == 0; ++i) usleep(1000);
  // A reload: the old run stops wherever it is, and the chunk it queued is dropped.
  startCodeReading(&owner.reader, fresh);
  for (size_t i = 0; i < fresh.size(); i += 2) unlink(fresh[i].c_str());
  ASSERT_TRUE(owner.waitUntilRead());
  EXPECT_FALSE(owner.refused);
  ASSERT_EQ(owner.code.itemsCovered, fresh.size());
  EXPECT_EQ(findCodeItem(owner.code, makeSubstringFinder("old"), 0, fresh.size()), -1);
  for (size_t i = 0; i < fresh.size(); ++i) {
    std::string_view segment = codeSegment(owner.code, i);
    ASSERT_TRUE(segment == ";new " + std::to_string(i) || (i % 2 == 0 && segment.empty())) << i;
  }
}
