// Command-line companion for library maintainers (exports and checks without a display).
#include <cstdio>

int main(int argc, char** argv) {
  std::fprintf(stderr, "usage: vlapi-tool COMMAND --db FILE [options]\n");
  return 2;
}
