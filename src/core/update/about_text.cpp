// The about dialog's version text.
#include "core/update/about_text.h"

namespace {
constexpr int kGtkMajorVersion = 2;  // this program is the GTK 2 variant
}

std::string aboutVersionText() {
  return std::string("\n") + kProgramVersion + " gtk" + std::to_string(kGtkMajorVersion);
}
