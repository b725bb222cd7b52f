#include "app/viewer.h"

#include <gtk/gtk.h>

int runViewer(int argc, char** argv) {
  gtk_init(&argc, &argv);
  return 0;
}
