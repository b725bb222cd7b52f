// The floor of reading the database: expat parses the file with no handlers, in
// the chunks the viewer uses. Prints the milliseconds from opening the file to the
// end of the parse.
#include <expat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: floor_expat_parse FILE\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  int fd = open(argv[1], O_RDONLY);
  if (fd < 0) {
    perror(argv[1]);
    return 1;
  }
  XML_Parser parser = XML_ParserCreate(nullptr);
  constexpr int kChunk = 16384;
  bool ok = true;
  for (;;) {
    void* buffer = XML_GetBuffer(parser, kChunk);
    ssize_t n = buffer ? read(fd, buffer, kChunk) : -1;
    if (n < 0) {
      ok = false;
      break;
    }
    if (XML_ParseBuffer(parser, static_cast<int>(n), n == 0) != XML_STATUS_OK) {
      ok = false;
      break;
    }
    if (n == 0) break;
  }
  XML_ParserFree(parser);
  close(fd);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!ok) {
    fprintf(stderr, "floor_expat_parse: %s did not parse\n", argv[1]);
    return 1;
  }
  printf("%.1f\n", ms);
  return 0;
}
