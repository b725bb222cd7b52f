// Builds the synthetic databases from small word tables, deterministically, so every
// run measures the same bytes.
#include "database_generator.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

constexpr int kEntriesPerTheme = 50;
constexpr const char* kOwnGroup = "ZEZ Ovidozo Vivara";
constexpr const char* kNewMarker = "\xE2\x9C\xB0";
constexpr const char* kRevisedMarker = "\xE2\x86\xBA";

struct Words {
  const char* de;
  const char* en;
  const char* fr;
};

constexpr Words kActions[] = {
    {"Fenster \xC3\xB6"
     "ffnen",
     "Open window", "Ouvrir fen\xC3\xAAtre"},
    {"Datei lesen", "Read file", "Lire fichier"},
    {"Prozess starten", "Start process", "D\xC3\xA9marrer processus"},
    {"Signal senden", "Send signal", "Envoyer signal"},
    {"Speicher holen", "Map memory", "Allouer m\xC3\xA9moire"},
    {"Zeit messen", "Measure time", "Mesurer temps"},
    {"Socket binden", "Bind socket", "Lier socket"},
    {"Ordner listen", "List folder", "Lister dossier"},
};

constexpr Words kObjects[] = {
    {"mit Puffer", "with buffer", "avec tampon"},
    {"ohne Blockieren", "without blocking", "sans blocage"},
    {"im Thread", "in a thread", "dans un thread"},
    {"mit Fehlerpr\xC3\xBC"
     "fung",
     "with error check", "avec contr\xC3\xB4le"},
    {"als Beispiel", "as an example", "comme exemple"},
};

const Words& action(uint32_t n) { return kActions[n % std::size(kActions)]; }
const Words& object(uint32_t n) { return kObjects[(n * 7 + 3) % std::size(kObjects)]; }

void appendEntry(int entry, int theme, std::string* out) {
  const Words& a = action(static_cast<uint32_t>(entry));
  const Words& o = object(static_cast<uint32_t>(entry));
  const char* marker = entry % 13 == 0 ? kNewMarker : entry % 29 == 0 ? kRevisedMarker : "";
  char line[768];
  snprintf(line, sizeof line,
           "  <entry File=\"/Theme%03d/Entry%06d.vl\" theme_de=\"%s%s %d\" theme_en=\"%s %d\" "
           "theme_fr=\"%s %d\" descript_de=\"%s %s\" descript_en=\"%s %s\" "
           "descript_fr=\"%s %s\"/>\n",
           theme, entry, marker, a.de, entry, a.en, entry, a.fr, entry, a.de, o.de, a.en, o.en, a.fr, o.fr);
  *out += line;
}

void appendThemeStart(int theme, std::string* out) {
  char line[256];
  snprintf(line, sizeof line, " <theme Name=\"Theme %d: %s\">\n  Examples of group %d.\n", theme,
           action(static_cast<uint32_t>(theme)).en, theme);
  *out += line;
}

void appendOwnGroup(std::string* out) {
  *out += " <theme Name=\"";
  *out += kOwnGroup;
  *out +=
      "\">\n  The viewer itself.\n"
      "  <entry File=\"/Help/ViewerHelp.txt\" theme_de=\"Hilfe\" theme_en=\"Help\" "
      "theme_fr=\"Aide\" descript_de=\"Hilfe\" descript_en=\"Help\" descript_fr=\"Aide\"/>\n"
      "  <entry File=\"/Help/Changes.txt\" theme_de=\"\xC3\x84nderungen\" theme_en=\"Changes\" "
      "theme_fr=\"Changements\" descript_de=\"Neu\" descript_en=\"New\" "
      "descript_fr=\"Nouveau\"/>\n"
      " </theme>\n";
}

}  // namespace

int generatedThemeCount(int entryCount) {
  return entryCount <= 0 ? 0 : (entryCount + kEntriesPerTheme - 1) / kEntriesPerTheme;
}

std::string generateDatabase(int entryCount) {
  std::string out;
  out.reserve(static_cast<size_t>(entryCount > 0 ? entryCount : 0) * 270 + 4096);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<library Name=\"VL Linux API Library\">\n";
  out += "VL Linux API 1." + std::to_string(entryCount) + " generated database\n";
  appendOwnGroup(&out);
  for (int entry = 0; entry < entryCount; ++entry) {
    int theme = entry / kEntriesPerTheme;
    if (entry % kEntriesPerTheme == 0) {
      if (entry > 0) out += " </theme>\n";
      appendThemeStart(theme, &out);
    }
    appendEntry(entry, theme, &out);
  }
  if (entryCount > 0) out += " </theme>\n";
  out += "</library>\n";
  return out;
}

bool writeGeneratedDatabase(const std::string& path, int entryCount, std::string* err) {
  std::string xml = generateDatabase(entryCount);
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *err = path + ": " + strerror(errno);
    return false;
  }
  bool written = fwrite(xml.data(), 1, xml.size(), file) == xml.size();
  bool closed = fclose(file) == 0;
  if (!written || !closed) {
    *err = path + ": write failed";
    return false;
  }
  return true;
}
