// Writes a generated topic database: make_database N out.xml (N entries).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "database_generator.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: make_database N out.xml\n");
    return 2;
  }
  char* end = nullptr;
  long entries = strtol(argv[1], &end, 10);
  if (end == argv[1] || *end != '\0' || entries < 0 || entries > 10000000) {
    fprintf(stderr, "make_database: N must be a number from 0 to 10000000\n");
    return 2;
  }
  std::string err;
  if (!writeGeneratedDatabase(argv[2], static_cast<int>(entries), &err)) {
    fprintf(stderr, "make_database: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
