// Builds the index from expat's callbacks while the file is read, giving element
// texts the line-break style of the file.
#include "core/database/database_loader.h"

// The library is built with DTD support, which carries the entity amplification
// limits, but its header declares them only when asked to.
#ifndef XML_DTD
#define XML_DTD 1
#endif
#include <expat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/app/regular_file.h"
#include "core/database/index_builder.h"

namespace {

constexpr int kChunkSize = 16384;
constexpr std::string_view kTrimmed = " \n\r\t";

// Rows are numbered by int in the tree and records by uint32_t.
constexpr size_t kMaxElements = std::numeric_limits<int32_t>::max();

// Room kept for the text of an open element after it was stored: a huge text
// must not stay held by the next element of the same depth.
constexpr size_t kKeptTextCapacity = size_t{64} * 1024;

enum class LineBreak { kUnknown, kLf, kCrLf, kCr };

// Finds the first line break in the raw bytes. expat hands every line break over as
// LF, so the style must be taken from the bytes before they reach it. Works for the
// 8-bit encodings and for UTF-16, whose code units may be split between chunks.
struct LineBreakSniffer {
  int unitBytes = 0;  // 0 until the first bytes were seen, then 1 or 2
  bool bigEndian = false;
  bool haveHalfUnit = false;
  unsigned char halfUnit = 0;
  bool pendingCr = false;
  LineBreak style = LineBreak::kUnknown;
};

void detectUnitWidth(LineBreakSniffer* s, const unsigned char* p, size_t n) {
  s->unitBytes = 1;
  if (n < 2) return;
  if ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == '<' && p[1] == 0)) {
    s->unitBytes = 2;
  } else if ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0 && p[1] == '<')) {
    s->unitBytes = 2;
    s->bigEndian = true;
  }
}

void sniffUnit(LineBreakSniffer* s, unsigned unit) {
  if (s->pendingCr) {
    s->style = unit == '\n' ? LineBreak::kCrLf : LineBreak::kCr;
  } else if (unit == '\r') {
    s->pendingCr = true;
  } else if (unit == '\n') {
    s->style = LineBreak::kLf;
  }
}

void sniffBytes(LineBreakSniffer* s, const char* data, size_t n) {
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  if (s->unitBytes == 0 && n > 0) detectUnitWidth(s, p, n);
  for (size_t i = 0; i < n && s->style == LineBreak::kUnknown; ++i) {
    if (s->unitBytes == 1) {
      sniffUnit(s, p[i]);
    } else if (!s->haveHalfUnit) {
      s->halfUnit = p[i];
      s->haveHalfUnit = true;
    } else {
      s->haveHalfUnit = false;
      sniffUnit(s, s->bigEndian ? (s->halfUnit << 8) | p[i] : (p[i] << 8) | s->halfUnit);
    }
  }
}

LineBreak finalStyle(const LineBreakSniffer& s) {
  if (s.style != LineBreak::kUnknown) return s.style;
  return s.pendingCr ? LineBreak::kCr : LineBreak::kLf;
}

void convertLineBreaks(std::string_view text, LineBreak style, std::string* out) {
  out->clear();
  out->reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c != '\n') {
      out->push_back(c);
    } else {
      out->append(style == LineBreak::kCrLf ? "\r\n" : "\r");
    }
  }
}

std::string_view trimmed(std::string_view text) {
  size_t first = text.find_first_not_of(kTrimmed);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kTrimmed) - first + 1);
}

// The record field an attribute fills; nullptr for the names that make group text.
// Looked at character by character: this runs for every attribute of the file.
std::string_view* fieldOf(const char* name, TopicNode* node) {
  if (name[0] == 'F') return strcmp(name, "File") == 0 ? &node->file : nullptr;
  const char* language = nullptr;
  bool title = false;
  if (strncmp(name, "theme_", 6) == 0) {
    language = name + 6;
    title = true;
  } else if (strncmp(name, "descript_", 9) == 0) {
    language = name + 9;
  } else {
    return nullptr;
  }
  if (language[0] == '\0' || language[1] == '\0' || language[2] != '\0') return nullptr;
  if (language[0] == 'd' && language[1] == 'e') return title ? &node->themeDe : &node->descriptDe;
  if (language[0] == 'e' && language[1] == 'n') return title ? &node->themeEn : &node->descriptEn;
  if (language[0] == 'f' && language[1] == 'r') return title ? &node->themeFr : &node->descriptFr;
  return nullptr;
}

bool hasNoTexts(const IndexModel::Record& r) {
  const TopicNode& n = r.node;
  return r.ownGroup.empty() && n.text.empty() && n.themeDe.empty() && n.descriptDe.empty() && n.themeEn.empty() &&
         n.descriptEn.empty() && n.themeFr.empty() && n.descriptFr.empty() && n.file.empty();
}

struct OpenElement {
  uint32_t element = 0;
  bool keepsText = false;
  std::string text;  // character data directly inside, joined
};

struct ParseSession {
  XML_Parser parser = nullptr;
  IndexModel model;
  size_t budget = 0;
  std::vector<OpenElement> open;  // slots are reused, so deep documents allocate once per depth
  size_t depth = 0;
  size_t pendingTextBytes = 0;
  bool inCdata = false;
  bool overBudget = false;
  bool groupSeen = false;
  std::string_view currentGroup;           // in the arena
  uint32_t blankRecord = UINT32_MAX;       // shared by the elements without texts
  std::string scratch;                     // group text being joined, converted text
  std::vector<uint32_t> textsBeforeStyle;  // texts with LF stored before the style was known
  LineBreakSniffer sniffer;
  XmlParseResult result;
};

bool withinBudget(ParseSession* s) {
  if (s->model.bytes() + s->pendingTextBytes <= s->budget && s->model.rowCount() < kMaxElements) return true;
  s->overBudget = true;
  XML_StopParser(s->parser, XML_FALSE);
  return false;
}

uint32_t blankRecordFor(ParseSession* s) {
  IndexModel& m = s->model;
  if (s->blankRecord == UINT32_MAX || m.records[s->blankRecord].node.group.data() != s->currentGroup.data()) {
    IndexModel::Record blank;
    blank.node.group = s->currentGroup;
    m.records.push_back(blank);
    s->blankRecord = static_cast<uint32_t>(m.records.size() - 1);
  }
  return s->blankRecord;
}

// Reads the attributes in document order: the known names fill their field, any
// other name adds its value to the element's own group text.
IndexModel::Record readAttributes(ParseSession* s, const XML_Char** atts, int specified) {
  IndexModel::Record record;
  s->scratch.clear();
  for (int i = 0; i + 1 < specified; i += 2) {
    if (std::string_view* field = fieldOf(atts[i], &record.node)) {
      *field = s->model.arena.store(atts[i + 1]);
    } else {
      s->scratch += atts[i + 1];
    }
  }
  record.ownGroup = s->model.arena.store(s->scratch);
  return record;
}

void XMLCALL onStartElement(void* data, const XML_Char* /*name*/, const XML_Char** atts) {
  auto* s = static_cast<ParseSession*>(data);
  if (!withinBudget(s)) return;
  IndexModel& m = s->model;
  const auto index = static_cast<uint32_t>(m.rowCount());
  // Attributes defaulted by a document type declaration are left out: the
  // declaration is skipped as a whole and must not change the index.
  const int specified = XML_GetSpecifiedAttributeCount(s->parser);
  uint32_t record = 0;
  if (specified == 0) {
    record = blankRecordFor(s);
  } else {
    IndexModel::Record r = readAttributes(s, atts, specified);
    if (!r.ownGroup.empty()) {
      s->currentGroup = r.ownGroup;
      if (!s->groupSeen) m.groupPrefix = index;
      s->groupSeen = true;
    }
    r.node.group = s->currentGroup;
    m.records.push_back(r);
    record = static_cast<uint32_t>(m.records.size() - 1);
  }
  m.elements.push_back({static_cast<int32_t>(s->depth), record});
  if (s->depth == s->open.size()) s->open.emplace_back();
  OpenElement& o = s->open[s->depth++];
  o.element = index;
  o.keepsText = specified > 0;
  o.text.clear();
}

// The element text, trimmed, in the file's line-break style when that is known.
void storeText(ParseSession* s, OpenElement* o) {
  IndexModel& m = s->model;
  const uint32_t record = m.elements[o->element].record;
  std::string_view text = trimmed(o->text);
  const bool hasLf = text.find('\n') != std::string_view::npos;
  const LineBreak style = s->sniffer.style;
  if (hasLf && style != LineBreak::kLf && style != LineBreak::kUnknown) {
    convertLineBreaks(text, style, &s->scratch);
    text = s->scratch;
  } else if (hasLf && style == LineBreak::kUnknown) {
    s->textsBeforeStyle.push_back(record);
  }
  m.records[record].node.text = m.arena.store(text);
  s->pendingTextBytes -= o->text.size();
  if (o->text.capacity() > kKeptTextCapacity) std::string().swap(o->text);
}

// An element whose attributes all were empty and which has no text shares the
// blank record, so floods of such elements stay small.
void foldIntoBlank(ParseSession* s, const OpenElement& o) {
  IndexModel& m = s->model;
  const uint32_t record = m.elements[o.element].record;
  if (record + 1 != m.records.size() || record == s->blankRecord || !hasNoTexts(m.records[record])) return;
  m.records.pop_back();
  m.elements[o.element].record = blankRecordFor(s);
}

void closeElement(ParseSession* s) {
  OpenElement& o = s->open[--s->depth];
  if (!o.keepsText) return;
  storeText(s, &o);
  foldIntoBlank(s, o);
}

void XMLCALL onEndElement(void* data, const XML_Char* /*name*/) {
  auto* s = static_cast<ParseSession*>(data);
  if (s->depth > 0) closeElement(s);
}

void XMLCALL onCharacterData(void* data, const XML_Char* text, int length) {
  auto* s = static_cast<ParseSession*>(data);
  if (s->inCdata || s->depth == 0) return;
  OpenElement& o = s->open[s->depth - 1];
  if (!o.keepsText) return;
  o.text.append(text, static_cast<size_t>(length));
  s->pendingTextBytes += static_cast<size_t>(length);
  withinBudget(s);
}

void XMLCALL onCdataStart(void* data) { static_cast<ParseSession*>(data)->inCdata = true; }
void XMLCALL onCdataEnd(void* data) { static_cast<ParseSession*>(data)->inCdata = false; }

void recordError(ParseSession* s, XML_Error code) {
  s->result.status = static_cast<int>(code);
  s->result.errorText = xmlErrorText(static_cast<int>(code));
  if (s->parser == nullptr) return;
  s->result.line = static_cast<long>(XML_GetCurrentLineNumber(s->parser));
  s->result.column = static_cast<long>(XML_GetCurrentColumnNumber(s->parser)) + 1;
}

// A salt of our own for expat's hash tables: expat would otherwise make one at
// the first parse and look into the environment then.
unsigned long hashSalt() {
  unsigned long salt = 0;
  try {
    std::random_device random;
    salt = (static_cast<unsigned long>(random()) << 31) ^ random();
  } catch (...) {  // no entropy source: the clock still differs from run to run
    salt = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
  }
  return salt == 0 ? 1 : salt;
}

void startSession(ParseSession* s, const IndexModel& previous, size_t inputBytes, BlockSupply* supply = nullptr) {
  s->budget = indexMemoryBudget(inputBytes);
  s->model.useBlockSupply(supply);
  s->model.currentGroup = previous.currentGroup;
  s->model.helpEntryIndex = previous.helpEntryIndex;
  s->model.generation = previous.generation + 1;
  s->currentGroup = s->model.arena.store(previous.currentGroup);
  s->parser = XML_ParserCreate(nullptr);
  if (s->parser == nullptr) {
    recordError(s, XML_ERROR_NO_MEMORY);
    return;
  }
  XML_SetHashSalt(s->parser, hashSalt());
  XML_SetUserData(s->parser, s);
  XML_SetElementHandler(s->parser, onStartElement, onEndElement);
  XML_SetCharacterDataHandler(s->parser, onCharacterData);
  XML_SetCdataSectionHandler(s->parser, onCdataStart, onCdataEnd);
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(s->parser, kMaxEntityAmplification);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(s->parser, kAmplificationThreshold);
}

// expat wants each chunk in a buffer of its own; nullptr (recorded as "out of
// memory") when it has none to give.
char* chunkBuffer(ParseSession* s) {
  void* buffer = XML_GetBuffer(s->parser, kChunkSize);
  if (buffer == nullptr) recordError(s, XML_ERROR_NO_MEMORY);
  return static_cast<char*>(buffer);
}

// Parses the chunk just written into chunkBuffer(); false once parsing has ended
// with an error.
bool parseChunk(ParseSession* s, const char* chunk, size_t length, bool isFinal) {
  sniffBytes(&s->sniffer, chunk, length);
  if (XML_ParseBuffer(s->parser, static_cast<int>(length), isFinal) == XML_STATUS_OK) return true;
  recordError(s, s->overBudget ? XML_ERROR_NO_MEMORY : XML_GetErrorCode(s->parser));
  return false;
}

// Elements still open after an error keep the text read up to it; texts stored
// before the first line break of the file was seen get its style now.
void finishSession(ParseSession* s, const IndexBuildOptions& options, IndexModel* model, XmlParseResult* result) {
  if (s->parser != nullptr) XML_ParserFree(s->parser);
  s->parser = nullptr;
  while (s->depth > 0) closeElement(s);
  IndexModel& m = s->model;
  const LineBreak style = finalStyle(s->sniffer);
  if (style != LineBreak::kLf) {
    for (uint32_t record : s->textsBeforeStyle) {
      convertLineBreaks(m.records[record].node.text, style, &s->scratch);
      m.records[record].node.text = m.arena.store(s->scratch);
    }
  }
  if (s->groupSeen) {
    m.currentGroup = std::string(s->currentGroup);
  } else {
    m.groupPrefix = m.rowCount();
  }
  applyIndexLook(options, &m);
  m.useBlockSupply(nullptr);
  *model = std::move(m);
  *result = std::move(s->result);
}

// Feeds the whole file; false when it could not be read to its end.
bool feedFile(int fd, ParseSession* s) {
  for (;;) {
    char* buffer = chunkBuffer(s);
    if (buffer == nullptr) return true;
    ssize_t length = readFull(fd, buffer, kChunkSize);
    if (length < 0) return false;
    bool isFinal = length < kChunkSize;
    if (!parseChunk(s, buffer, static_cast<size_t>(length), isFinal) || isFinal) return true;
  }
}

void feedBuffer(std::string_view bytes, ParseSession* s) {
  size_t offset = 0;
  for (;;) {
    char* buffer = chunkBuffer(s);
    if (buffer == nullptr) return;
    size_t length = std::min(bytes.size() - offset, static_cast<size_t>(kChunkSize));
    memcpy(buffer, bytes.data() + offset, length);
    offset += length;
    bool isFinal = offset == bytes.size();
    if (!parseChunk(s, buffer, length, isFinal) || isFinal) return;
  }
}

// The shared opener refuses FIFOs and devices without waiting; an empty file or one
// past the database limit is no database either.
int openDatabaseFile(const std::string& path, size_t* size) {
  FileStatus status = FileStatus::Failed;
  uint64_t bytes = 0;
  int fd = openRegularFile(path, &status, &bytes);
  if (fd < 0) return -1;
  if (bytes == 0 || bytes > kMaxDatabaseBytes) {
    close(fd);
    return -1;
  }
  *size = static_cast<size_t>(bytes);
  return fd;
}

}  // namespace

std::string xmlErrorText(int code) {
  const XML_LChar* text = XML_ErrorString(static_cast<XML_Error>(code));
  if (text != nullptr && *text != '\0') return text;
  return "XML error " + std::to_string(code);
}

struct DatabaseRead {
  int fd = -1;
  ParseSession session;
};

void DatabaseReadDeleter::operator()(DatabaseRead* read) const {
  if (read->fd >= 0) close(read->fd);
  if (read->session.parser != nullptr) XML_ParserFree(read->session.parser);
  std::default_delete<DatabaseRead>()(read);
}

DatabaseReadPtr beginDatabaseRead(const std::string& path, const IndexModel& previous, BlockSupply* supply) {
  size_t size = 0;
  int fd = openDatabaseFile(path, &size);
  if (fd < 0) return nullptr;
  DatabaseReadPtr read(new DatabaseRead);
  read->fd = fd;
  startSession(&read->session, previous, size, supply);
  return read;
}

bool finishDatabaseRead(DatabaseRead* read, const IndexBuildOptions& options, IndexModel* model,
                        XmlParseResult* result) {
  ParseSession& session = read->session;
  bool complete = session.parser == nullptr || feedFile(read->fd, &session);
  close(read->fd);
  read->fd = -1;
  if (!complete) return false;  // a read failure is no parse result: keep what was held before
  finishSession(&session, options, model, result);
  return true;
}

bool loadDatabaseFile(const std::string& path, const IndexBuildOptions& options, IndexModel* model,
                      XmlParseResult* result) {
  DatabaseReadPtr read = beginDatabaseRead(path, *model);
  return read && finishDatabaseRead(read.get(), options, model, result);
}

bool loadDatabaseBuffer(std::string_view bytes, const IndexBuildOptions& options, IndexModel* model,
                        XmlParseResult* result) {
  if (bytes.empty() || bytes.size() > kMaxDatabaseBytes) return false;
  ParseSession session;
  startSession(&session, *model, bytes.size());
  if (session.parser != nullptr) feedBuffer(bytes, &session);
  finishSession(&session, options, model, result);
  return true;
}
