#include "core/app/font_setting.h"

#include <algorithm>
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

// The number at the start of a field, read the same in every locale: an optional
// sign, digits and a decimal fraction; anything else ends it ("12px" reads 12,
// "inf", "nan" and "0x10" read 0). Huge values are capped so the size stays an int.
double leadingNumber(const std::string& field) {
  bool negative = !field.empty() && field[0] == '-';
  size_t i = !field.empty() && (field[0] == '-' || field[0] == '+') ? 1 : 0;
  double value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
    value = std::min(value * 10 + (field[i] - '0'), 1e9);
  if (i < field.size() && field[i] == '.') {
    double scale = 0.1;
    for (++i; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i, scale /= 10)
      value += (field[i] - '0') * scale;
  }
  return negative ? -value : value;
}

double lastNumber(const std::vector<std::string>& f) { return f.empty() ? 0 : leadingNumber(f.back()); }

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
