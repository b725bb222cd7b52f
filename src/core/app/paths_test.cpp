#include "core/app/paths.h"

#include <gtest/gtest.h>

#include <set>

#include "core/settings/test_files.h"

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

namespace {

// A file system made of a list of paths; folders named in `writable` can be written.
struct FakeDisk {
  std::set<std::string> paths;
  std::set<std::string> writable;
  FileProbe probe() {
    FileProbe p;
    p.exists = [](const std::string& path, void* c) { return static_cast<FakeDisk*>(c)->paths.count(path) > 0; };
    p.writable = [](const std::string& f, void* c) { return static_cast<FakeDisk*>(c)->writable.count(f) > 0; };
    p.context = this;
    return p;
  }
};

const FileLocations kWritten = writtenFileLocations("LinuxVL API-RuvUduviv.ini");
const LocationEnvironment kEnv{"", "", "/home/u"};

FileLocations locate(FakeDisk& disk, const std::string& folder, const LocationEnvironment& env = kEnv) {
  return findFileLocations(folder, kWritten, env, disk.probe());
}

}  // namespace

TEST(FileLocations, PortableFolderKeepsEverythingBeside) {
  FakeDisk disk;
  disk.writable = {"/opt/vl/bin/"};
  FileLocations f = locate(disk, "/opt/vl/bin/");
  EXPECT_EQ(f.settingsFile, "/opt/vl/bin/LinuxVL API-RuvUduviv.ini");
  EXPECT_EQ(f.languageFileName, "RoruvUR EZU-RedIzir.ari");
  EXPECT_EQ(f.templatesFolder, "../../Templates/");
  EXPECT_EQ(f.exportFolder, "../../Export/");
  EXPECT_FALSE(f.makeExportFolder);
  EXPECT_EQ(f.firstStartFolder, "");
  // A settings file there wins over a folder the user cannot write.
  disk.writable.clear();
  disk.paths = {"/opt/vl/bin/LinuxVL API-RuvUduviv.ini"};
  EXPECT_EQ(locate(disk, "/opt/vl/bin/").settingsFile, "/opt/vl/bin/LinuxVL API-RuvUduviv.ini");
}

TEST(FileLocations, InstalledProgramUsesSharedAndPerUserPlaces) {
  FakeDisk disk;
  const std::string bin = "/usr/bin/";
  disk.paths = {bin + "../share/vlapi-viewer/RoruvUR EZU-RedIzir.ari", bin + "../share/vlapi-viewer/Templates/",
                bin + "../share/vlapi-viewer/sample-library/"};
  disk.writable = {bin};  // root may write it; it still is the system's folder
  FileLocations f = locate(disk, bin);
  EXPECT_EQ(f.settingsFile, "/home/u/.config/vlapi-viewer/LinuxVL API-RuvUduviv.ini");
  EXPECT_EQ(f.languageFileName, "../share/vlapi-viewer/RoruvUR EZU-RedIzir.ari");
  EXPECT_EQ(f.templatesFolder, "../share/vlapi-viewer/Templates/");
  EXPECT_EQ(f.exportFolder, "/home/u/.local/share/vlapi-viewer/Export/");
  EXPECT_TRUE(f.makeExportFolder);
  EXPECT_EQ(f.firstStartFolder, "/usr/bin/../share/vlapi-viewer/sample-library/");

  // The XDG folders when set to absolute paths; relative values are ignored.
  disk.paths.insert("/x/data/vlapi-viewer/Templates/");
  f = locate(disk, bin, {"/x/config", "/x/data/", "/home/u"});
  EXPECT_EQ(f.settingsFile, "/x/config/vlapi-viewer/LinuxVL API-RuvUduviv.ini");
  EXPECT_EQ(f.templatesFolder, "/x/data/vlapi-viewer/Templates/");
  EXPECT_EQ(f.exportFolder, "/x/data/vlapi-viewer/Export/");
  EXPECT_EQ(locate(disk, bin, {"rel", "", "/home/u"}).settingsFile,
            "/home/u/.config/vlapi-viewer/LinuxVL API-RuvUduviv.ini");

  // Files beside the installed executable are still found first.
  disk.paths.insert(bin + "RoruvUR EZU-RedIzir.ari");
  disk.paths.insert(bin + "LinuxVL API-RuvUduviv.ini");
  f = locate(disk, bin);
  EXPECT_EQ(f.settingsFile, "/usr/bin/LinuxVL API-RuvUduviv.ini");
  EXPECT_EQ(f.languageFileName, "RoruvUR EZU-RedIzir.ari");
  EXPECT_EQ(f.firstStartFolder, "");
}

TEST(FileLocations, ReadOnlyCopyWithoutSharedDataUsesThePerUserSettings) {
  FakeDisk disk;
  disk.paths = {"/srv/vl/RoruvUR EZU-RedIzir.ari"};
  FileLocations f = locate(disk, "/srv/vl/");
  EXPECT_EQ(f.settingsFile, "/home/u/.config/vlapi-viewer/LinuxVL API-RuvUduviv.ini");
  EXPECT_EQ(f.languageFileName, "RoruvUR EZU-RedIzir.ari");
  EXPECT_EQ(f.firstStartFolder, "");
}

TEST(MakeFolders, MakesMissingParentsAndReportsThem) {
  ScratchFolder scratch;
  std::vector<std::string> made;
  ASSERT_TRUE(makeFolders(scratch.path() + "a/b/", &made));
  EXPECT_EQ(made, (std::vector<std::string>{scratch.path() + "a", scratch.path() + "a/b"}));
  made.clear();
  EXPECT_TRUE(makeFolders(scratch.path() + "a/b", &made));
  EXPECT_TRUE(made.empty());
  writeBytes(scratch.file("file"), "x");
  EXPECT_FALSE(makeFolders(scratch.path() + "file/sub/", &made));
}
