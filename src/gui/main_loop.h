// The event loop: GTK iterations until an event is queued, then dispatch by window
// and kind to the handler tables the components registered.
#pragma once

#include "gui/events.h"

struct Viewer;

// Runs until quitRequested is set.
void runMainLoop(Viewer& v);

// Handles one event by the tables; an event without a handler is ignored.
void dispatchEvent(Viewer& v, const Event& e);

// For tests and effects: handle GTK's pending events and every queued event until
// both are done (or quit is requested).
void drainEvents(Viewer& v);
