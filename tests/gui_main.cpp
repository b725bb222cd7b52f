// Entry of the GUI test program: GTK must be initialised against the (virtual)
// display before any test builds a window.
#include <clocale>

#include <gtest/gtest.h>
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  if (!gtk_init_check(&argc, &argv)) {
    fprintf(stderr, "gui_tests: no display (run under xvfb-run)\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
