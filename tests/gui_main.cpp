// Entry of the GUI test program: GTK must be initialised against the (virtual)
// display before any test builds a window.
#include <clocale>

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "core/app/error_report.h"
#include "gui_fixture.h"

namespace {

int complaints = 0;

// Warnings and criticals of the toolkit mean a call was wrong, even when nothing
// visible went amiss: they are printed as usual and counted.
void countComplaint(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
  if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) ++complaints;
  g_log_default_handler(domain, level, message, nullptr);
}

}  // namespace

int toolkitComplaints() { return complaints; }

int main(int argc, char** argv) {
  // A test that started the viewer and then faulted comes back here as the viewer's
  // report; it must fail the run, not run every test again.
  ProgramError error;
  if (argc == 2 && parseReportArgument(argv[1], &error)) {
    fprintf(stderr, "gui_tests: %s", programErrorText(error).c_str());
    return 1;
  }
  setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  // ctest lists the cases while building, where there is no display.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  if (!gtk_init_check(&argc, &argv)) {
    fprintf(stderr, "gui_tests: no display (run under xvfb-run)\n");
    return 1;
  }
  g_log_set_default_handler(countComplaint, nullptr);
  return RUN_ALL_TESTS();
}
