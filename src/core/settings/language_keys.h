// Every translatable UI text once: its language-file key, the gadget it belongs to and
// the built-in German text the windows are built with, in the order the texts are set
// on a language switch (labels, then menu items, then tooltips).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// How a text is put on its gadget.
enum class UiTextKind {
  Label,
  CheckBox,    // the box's label
  Frame,       // the frame title
  Button,      // the button label
  ComboItems,  // the item texts separated by tabs
  MenuItem,    // an item of the main window's info menu or the index context menu
  Tooltip,     // looked up in the language file with "TT" in front of the key
  AccessName,  // read by screen readers, never shown; see kAccessNames
  // A message box text or title, or a window title: looked up when it is shown. Its
  // built-in text is the program's English one; "%s" marks a value filled in, and in
  // the language file the two characters "\n" stand for a line break.
  Message,
  ListText,  // in the header of the match list under the search field
};

struct UiText {
  const char* key;  // "#Cnf_LabelHint"; the gadget name is the key without "#"
  UiTextKind kind;
  int window;          // 0 main, 1 settings, 2 database information, 3 update
  int menuItem;        // menu items only: the item's number
  const char* german;  // for messages the built-in English text
};

inline constexpr int kUiTextCount = 109;
extern const UiText kUiTexts[kUiTextCount];

// The built-in German text of a key (a message's English one): its tooltip or its
// other text. Null for none.
const char* germanUiText(std::string_view key, bool tooltip);

// What a screen reader reads for a gadget. The name comes from its own key (an
// AccessName text of the table above), else from the caption gadget beside it,
// which also labels it; the description, where one helps, is the gadget's tooltip.
// A label that shows a value keeps its text as name and gets this as description.
struct AccessName {
  const char* gadget;   // gadget name, as in the language file without "#"
  const char* key;      // "#Acc_Main_Quickcopy", or nullptr when a caption or its own label names it
  const char* caption;  // gadget that labels this one, or nullptr
  bool tooltipDescription;
};

extern const AccessName kAccessNames[];
extern const int kAccessNameCount;
// A message text with each "%s" replaced by the next of `values` (in one pass, so a
// value is never read as a pattern; a "%s" without a value stays), after the
// language file's "\n" and "\r" became line breaks.
std::string fillMessage(std::string_view text, std::initializer_list<std::string_view> values);
