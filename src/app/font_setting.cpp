#include "app/font_setting.h"

#include <cstdlib>
#include <vector>

namespace {

std::vector<std::string> fields(std::string_view s) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ') ++i;
    if (i > start) out.emplace_back(s.substr(start, i - start));
  }
  return out;
}

double lastNumber(const std::vector<std::string>& f) {
  if (f.empty()) return 0;
  return std::strtod(f.back().c_str(), nullptr);
}

}  // namespace

std::string fontSettingFamily(std::string_view setting) {
  std::vector<std::string> f = fields(setting);
  if (lastNumber(f) == 0) return std::string(setting);
  std::string family;
  for (size_t i = 0; i + 1 < f.size(); ++i) {
    if (!family.empty()) family += ' ';
    family += f[i];
  }
  return family;
}

int fontSettingSize(std::string_view setting) {
  double size = lastNumber(fields(setting));
  return size == 0 ? 10 : static_cast<int>(size);
}
