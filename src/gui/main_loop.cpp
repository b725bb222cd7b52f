#include "gui/main_loop.h"

#include <gtk/gtk.h>

#include "core/app/error_report.h"
#include "gui/viewer.h"

void dispatchEvent(Viewer& v, const Event& e) {
  VL_TRACE();
  for (const HandlerTable& table : v.handlers) {
    for (size_t i = 0; i < table.count; ++i) {
      const HandlerEntry& h = table.entries[i];
      if (h.window == e.window && h.kind == e.kind && (h.object == kAnyObject || h.object == e.object)) {
        VL_TRACE();
        h.handler(v, e);
        return;
      }
    }
  }
}

static void handleQueued(Viewer& v) {
  Event e;
  while (!v.app.quitRequested && v.events.queue.take(&e)) dispatchEvent(v, e);
}

void runMainLoop(Viewer& v) {
  while (!v.app.quitRequested) {
    while (v.events.queue.empty() && !v.app.quitRequested) {
      VL_TRACE();
      gtk_main_iteration_do(TRUE);
    }
    handleQueued(v);
  }
}

void drainEvents(Viewer& v) {
  for (int round = 0; round < 1000 && !v.app.quitRequested; ++round) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    if (v.events.queue.empty()) return;
    handleQueued(v);
  }
}
