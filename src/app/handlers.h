// The dispatch tables of the four windows.
#pragma once

#include <cstddef>
#include <vector>

#include "app/main_loop.h"

struct HandlerTable {
  const HandlerEntry* entries;
  size_t count;
};

// The main window's handlers come first; each window adds its own table.
const std::vector<HandlerTable>& allHandlerTables();
HandlerTable mainWindowHandlers();
HandlerTable codeViewHandlers();
