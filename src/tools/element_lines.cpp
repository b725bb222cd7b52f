// Element start lines through a small expat pass of its own.
#include "tools/element_lines.h"

#include <expat.h>
#include <unistd.h>

#include <cstdio>

#include "core/app/regular_file.h"

namespace {

struct LineSession {
  XML_Parser parser;
  std::vector<long>* lines;
};

void XMLCALL onStart(void* data, const XML_Char* /*name*/, const XML_Char** /*atts*/) {
  auto* s = static_cast<LineSession*>(data);
  s->lines->push_back(static_cast<long>(XML_GetCurrentLineNumber(s->parser)));
}

bool feed(std::FILE* file, LineSession* s) {
  char chunk[16384];
  for (;;) {
    size_t n = std::fread(chunk, 1, sizeof chunk, file);
    bool last = n < sizeof chunk;
    if (XML_Parse(s->parser, chunk, static_cast<int>(n), last) == XML_STATUS_ERROR) return true;
    if (last) return !std::ferror(file);
  }
}

}  // namespace

bool readElementLines(const std::string& path, std::vector<long>* lines) {
  lines->clear();
  FileStatus status;
  uint64_t size = 0;
  int fd = openRegularFile(path, &status, &size);  // a fifo must not stall the check
  std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "rb");
  if (file == nullptr) {
    if (fd >= 0) close(fd);
    return false;
  }
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (parser == nullptr) {
    std::fclose(file);
    return false;
  }
  LineSession session{parser, lines};
  XML_SetUserData(parser, &session);
  XML_SetStartElementHandler(parser, onStart);
  bool ok = feed(file, &session);
  XML_ParserFree(parser);
  std::fclose(file);
  return ok;
}
