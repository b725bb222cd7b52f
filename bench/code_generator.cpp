// Generated Veldra code files of a given length, plausible enough to exercise every
// rule of the highlighter.
#include "code_generator.h"

#include <random>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kFooter =
    "; IDE Options = Veldra 6.10 (Linux - x64)\n"
    "; CursorPosition = 12\n"
    "; EnableUnicode\n"
    "; SubSystem = gtk2\n"
    "; Executable = demo";

struct Generator {
  std::mt19937 random;
  std::vector<std::string> procedures;
  int depth = 0;  // inside a procedure

  int pick(int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); }
  std::string var() { return std::string(1, static_cast<char>('a' + pick(6))) + (pick(2) ? ".i" : ""); }
  std::string callee() {
    if (procedures.empty() || pick(5) == 0) return "Later_" + std::to_string(pick(50));
    return procedures[static_cast<size_t>(pick(static_cast<int>(procedures.size())))];
  }
  std::string line();
};

std::string Generator::line() {
  std::string indent(static_cast<size_t>(depth) * 2, ' ');
  int kind = pick(14);
  if (depth == 0 && kind < 3) {
    std::string name = "Proc_" + std::to_string(procedures.size());
    procedures.push_back(name);
    depth = 1;
    static const char* const kKinds[] = {"Procedure", "Procedure.i ", "ProcedureC", "ProcedureDLL.s"};
    std::string keyword = kKinds[pick(4)];
    return keyword + (keyword.back() == ' ' ? " " : "  ") + name + "(a.i, b.s)";
  }
  if (depth > 0 && kind == 0) {
    depth = 0;
    return "EndProcedure";
  }
  switch (kind % 9) {
    case 0:
      return indent + "Protected " + var() + " = " + callee() + "(1, #VL_Size_" + std::to_string(pick(9)) + ")";
    case 1:
      return indent + "text$ = \"a;b " + std::to_string(pick(99)) + "\" + Str(x) ; note \"quoted\"";
    case 2:
      return indent + "If x > #VL_Limit And y <> 0 : Debug \"x#1\" : EndIf";
    case 3:
      return "; Link to topic:   Gadgets Overview " + std::to_string(pick(40));
    case 4:
      return indent + "For i = 0 To 10 Step 2 : " + callee() + "(i) : Next";
    case 5:
      return indent + "; Größe ändern, \"" + var() + " bleibt";
    case 6:
      return indent + "ProcedureReturn " + callee() + "(a, b) + Len(\"é;\")";
    case 7:
      return "";
    default:
      return indent + "Global NewList items.s() : endif_flag = #True";
  }
}

}  // namespace

std::string generateCodeFile(int lineCount, uint32_t seed) {
  Generator g;
  g.random.seed(seed);
  std::string text;
  for (int i = 0; i < lineCount; ++i) {
    text += g.line();
    text += '\n';
  }
  text += kFooter;
  return text;
}

std::string generateCodeFileBytes(int lineCount, uint32_t seed) {
  std::string text = generateCodeFile(lineCount, seed);
  std::string bytes = "\xEF\xBB\xBF";
  bytes.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}
