// The admin menu's exports (items 1 to 5), shared with the maintainer's tool.
#pragma once

#include "gui/events.h"

HandlerTable adminMenuHandlers();
