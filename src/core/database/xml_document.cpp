// Reads the topic database with expat into the flat element arena of XmlDocument,
// giving element texts back the line-break style of the file.
#include "core/database/xml_document.h"

// The library is built with DTD support, which carries the entity amplification
// limits, but its header declares them only when asked to.
#ifndef XML_DTD
#define XML_DTD 1
#endif
#include <expat.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kChunkSize = 16384;

// Entities may abbreviate text, but a small file must not swell into gigabytes in
// memory. Expat's own limit lets a document grow a hundredfold once 8 MiB have been
// produced; a real database never needs more than a few times its size.
constexpr float kMaxAmplification = 10.0f;
constexpr unsigned long long kAmplificationThreshold = 4ull << 20;

// Children are linked by int32_t, so the arena cannot hold more elements than this.
constexpr size_t kMaxElements = std::numeric_limits<int32_t>::max();

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

struct OpenElement {
  int32_t index;
  int32_t lastChild;  // -1 until the first child arrived
};

struct ParseSession {
  XML_Parser parser = nullptr;
  XmlDocument doc;
  std::vector<OpenElement> open;  // the element path from the root to the current element
  bool inCdata = false;
  bool arenaFull = false;
  LineBreakSniffer sniffer;
  XmlParseResult result;
};

void linkToParent(ParseSession* s, int32_t index) {
  if (s->open.empty()) return;
  OpenElement& parent = s->open.back();
  if (parent.lastChild < 0) {
    s->doc.elements[parent.index].firstChild = index;
  } else {
    s->doc.elements[parent.lastChild].nextSibling = index;
  }
  parent.lastChild = index;
}

void XMLCALL onStartElement(void* data, const XML_Char* /*name*/, const XML_Char** atts) {
  auto* s = static_cast<ParseSession*>(data);
  if (s->doc.elements.size() >= kMaxElements) {
    s->arenaFull = true;
    XML_StopParser(s->parser, XML_FALSE);
    return;
  }
  auto index = static_cast<int32_t>(s->doc.elements.size());
  XmlElement& element = s->doc.elements.emplace_back();
  // Attributes defaulted by a document type declaration are left out: the
  // declaration is skipped as a whole and must not change the index.
  int specified = XML_GetSpecifiedAttributeCount(s->parser);
  element.attributes.reserve(static_cast<size_t>(specified / 2));
  for (int i = 0; i + 1 < specified; i += 2) element.attributes.push_back({atts[i], atts[i + 1]});
  linkToParent(s, index);
  s->open.push_back({index, -1});
}

void XMLCALL onEndElement(void* data, const XML_Char* /*name*/) {
  auto* s = static_cast<ParseSession*>(data);
  if (!s->open.empty()) s->open.pop_back();
}

void XMLCALL onCharacterData(void* data, const XML_Char* text, int length) {
  auto* s = static_cast<ParseSession*>(data);
  if (s->inCdata || s->open.empty()) return;
  s->doc.elements[s->open.back().index].text.append(text, static_cast<size_t>(length));
}

void XMLCALL onCdataStart(void* data) { static_cast<ParseSession*>(data)->inCdata = true; }
void XMLCALL onCdataEnd(void* data) { static_cast<ParseSession*>(data)->inCdata = false; }

void recordError(ParseSession* s, XML_Error code) {
  s->result.status = static_cast<int>(code);
  s->result.errorText = code >= 1 && code <= 40 ? XML_ErrorString(code) : "";
  if (s->parser == nullptr) return;
  s->result.line = static_cast<long>(XML_GetCurrentLineNumber(s->parser));
  s->result.column = static_cast<long>(XML_GetCurrentColumnNumber(s->parser)) + 1;
}

bool startSession(ParseSession* s) {
  s->parser = XML_ParserCreate(nullptr);
  if (s->parser == nullptr) {
    recordError(s, XML_ERROR_NO_MEMORY);
    return false;
  }
  XML_SetUserData(s->parser, s);
  XML_SetElementHandler(s->parser, onStartElement, onEndElement);
  XML_SetCharacterDataHandler(s->parser, onCharacterData);
  XML_SetCdataSectionHandler(s->parser, onCdataStart, onCdataEnd);
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(s->parser, kMaxAmplification);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(s->parser, kAmplificationThreshold);
  return true;
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
  recordError(s, s->arenaFull ? XML_ERROR_NO_MEMORY : XML_GetErrorCode(s->parser));
  return false;
}

void applyLineBreakStyle(LineBreak style, XmlDocument* doc) {
  if (style == LineBreak::kLf) return;
  for (XmlElement& element : doc->elements) {
    if (element.text.find('\n') == std::string::npos) continue;
    std::string converted;
    converted.reserve(element.text.size() + element.text.size() / 8);
    for (char c : element.text) {
      if (c != '\n') {
        converted += c;
      } else {
        converted += style == LineBreak::kCrLf ? "\r\n" : "\r";
      }
    }
    element.text = std::move(converted);
  }
}

void finishSession(ParseSession* s, XmlDocument* doc, XmlParseResult* result) {
  if (s->parser != nullptr) XML_ParserFree(s->parser);
  applyLineBreakStyle(finalStyle(s->sniffer), &s->doc);
  *doc = std::move(s->doc);
  *result = std::move(s->result);
}

// Feeds the whole file; false when it could not be read to its end.
bool feedFile(FILE* file, ParseSession* s) {
  for (;;) {
    char* buffer = chunkBuffer(s);
    if (buffer == nullptr) return true;
    size_t length = fread(buffer, 1, kChunkSize, file);
    if (ferror(file)) return false;
    bool isFinal = length < static_cast<size_t>(kChunkSize);
    if (!parseChunk(s, buffer, length, isFinal) || isFinal) return true;
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

}  // namespace

bool parseDatabaseFile(const std::string& path, XmlDocument* doc, XmlParseResult* result) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
    fclose(file);
    return false;
  }
  ParseSession session;
  bool complete = !startSession(&session) || feedFile(file, &session);
  fclose(file);
  if (!complete) {  // a read failure is no parse result: keep what was held before
    if (session.parser != nullptr) XML_ParserFree(session.parser);
    return false;
  }
  finishSession(&session, doc, result);
  return true;
}

bool parseDatabaseBuffer(std::string_view bytes, XmlDocument* doc, XmlParseResult* result) {
  if (bytes.empty()) return false;
  ParseSession session;
  if (startSession(&session)) feedBuffer(bytes, &session);
  finishSession(&session, doc, result);
  return true;
}
