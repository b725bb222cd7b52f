// The floor of the start-up: a GTK 2 window with nothing in it. Prints the wall
// clock (CLOCK_REALTIME, ns) of its first expose and ends soon after, so a script that noted the
// time before starting it gets the time from exec to the first picture.
#include <gtk/gtk.h>

#include <cstdio>
#include <ctime>

namespace {

gboolean onExpose(GtkWidget*, GdkEventExpose*, gpointer) {
  static bool seen = false;
  if (seen) return FALSE;
  seen = true;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  fflush(stdout);
  // A watcher told of the map asks for the title next: the window stays a moment.
  g_timeout_add(
      300,
      [](gpointer) -> gboolean {
        gtk_main_quit();
        return FALSE;
      },
      nullptr);
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Linux VL-ZEZ-Ovidozo-Vivara");
  gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
  g_signal_connect(window, "expose-event", G_CALLBACK(onExpose), nullptr);
  gtk_widget_show(window);
  gtk_main();
  return 0;
}
