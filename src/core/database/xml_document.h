// The parsed topic database document, held in memory for the whole run so the
// index can be rebuilt in another language without reading the file again.
// Elements live in one flat array; children are linked by index, so walking a
// deeply nested document needs no recursion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct XmlAttribute {
  std::string name;
  std::string value;  // UTF-8
};

struct XmlElement {
  std::vector<XmlAttribute> attributes;  // in document order
  std::string text;                      // all character data directly inside, joined; line breaks in the file's style
  int32_t firstChild = -1;               // first child element, -1 = none
  int32_t nextSibling = -1;              // next sibling element, -1 = none
};

struct XmlDocument {
  std::vector<XmlElement> elements;  // elements[0] is the root when there is one
  bool hasRoot() const { return !elements.empty(); }
};

struct XmlParseResult {
  int status = 0;         // 0 = success, else expat's error code
  std::string errorText;  // expat's text for codes 1..40, else empty
  long line = 0;
  long column = 0;  // counts from 1
};

// Parses the file into *doc. Returns false, leaving *doc and *result untouched, when
// the file cannot be opened or is empty. Otherwise *doc is replaced by what was
// parsed (the part before an error included) and *result tells how it ended.
bool parseDatabaseFile(const std::string& path, XmlDocument* doc, XmlParseResult* result);

// The same for bytes already in memory (an empty buffer counts as not openable).
bool parseDatabaseBuffer(std::string_view bytes, XmlDocument* doc, XmlParseResult* result);
