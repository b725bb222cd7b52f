// The dispatch tables of the four windows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gui/main_loop.h"

struct HandlerTable {
  const HandlerEntry* entries;
  size_t count;
};

// The main window's handlers come first; each window adds its own table.
const std::vector<HandlerTable>& allHandlerTables();
HandlerTable mainWindowHandlers();
HandlerTable codeViewHandlers();

struct Viewer;
// The file URI a drag of the selected index entry hands out: empty for rows without
// a code file and for files that do not exist.
std::string entryDragUri(Viewer& v);
