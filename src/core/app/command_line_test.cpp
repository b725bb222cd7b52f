#include "core/app/command_line.h"

#include <gtest/gtest.h>

#include "core/app/version.h"

TEST(ViewerCommandLine, InformationOptionsWinAndAnythingElseIsAUsageError) {
  EXPECT_EQ(parseViewerArguments({}).action, CommandAction::Run);
  EXPECT_EQ(parseViewerArguments({"--help"}).action, CommandAction::Help);
  EXPECT_EQ(parseViewerArguments({"--bogus", "--version"}).action, CommandAction::Version);
  CommandLine c = parseViewerArguments({"--bogus", "file.xml"});
  EXPECT_EQ(c.action, CommandAction::UsageError);
  EXPECT_EQ(c.error, "unknown option --bogus");
  EXPECT_EQ(parseViewerArguments({"file.xml"}).error, "unexpected argument file.xml");
  // The report of a program error is shown by a start with one argument of its own.
  EXPECT_EQ(parseViewerArguments({"--vl-program-error=6,30"}).action, CommandAction::Run);
  EXPECT_EQ(parseViewerArguments({"--vl-program-error=6"}).action, CommandAction::UsageError);
  EXPECT_EQ(versionText("vlapi-tool"), std::string("vlapi-tool ") + kProgramVersion + "\n");
}
