#include "core/app/paths.h"

#include <gtest/gtest.h>

TEST(Paths, FolderAndFileParts) {
  EXPECT_EQ(folderPart("/home/u/lib/VL-LinuxAPI-Toc.xml"), "/home/u/lib/");
  EXPECT_EQ(filePart("/home/u/lib/VL-LinuxAPI-Toc.xml"), "VL-LinuxAPI-Toc.xml");
  EXPECT_EQ(folderPart("noslash.xml"), "");
  EXPECT_EQ(filePart("noslash.xml"), "noslash.xml");
  EXPECT_EQ(filePart("/Gadgets/"), "");  // a path ending in "/" has an empty file name part
}

TEST(Paths, JoinAddsNoSeparator) {
  EXPECT_EQ(joinLibraryPath("/home/u/lib/", "/Gadget/Button.vl"), "/home/u/lib/Gadget/Button.vl");
  EXPECT_EQ(joinLibraryPath("/home/u/lib", "//Gadget/Button.vl"), "/home/u/libGadget/Button.vl");
  EXPECT_EQ(joinLibraryPath("", "/a.vl"), "a.vl");
}
