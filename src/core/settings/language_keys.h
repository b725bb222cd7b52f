// Every translatable UI text: its language-file key, the gadget it belongs to and the
// built-in German text, in the order the texts are set on a language switch.
#pragma once

// How a label text is put on its gadget.
enum class LangTextKind {
  Label,
  CheckBox,    // the box's label
  Frame,       // the frame title
  Button,      // the button label
  ComboItems,  // three item texts separated by tabs
};

struct LabelTextKey {
  const char* key;  // "#Cnf_LabelHint"; the gadget name is the key without "#"
  LangTextKind kind;
  int window;  // 0 main, 1 settings, 2 database information, 3 update
  const char* german;
};

// Items of the main window's info menu.
struct MenuTextKey {
  const char* key;
  int menuItem;
  const char* german;
};

// Looked up in the language file with "TT" in front of the key.
struct TooltipTextKey {
  const char* key;
  int window;
  const char* german;
};

inline constexpr int kLabelTextKeyCount = 32;
inline constexpr int kMenuTextKeyCount = 4;
inline constexpr int kTooltipTextKeyCount = 28;

extern const LabelTextKey kLabelTextKeys[kLabelTextKeyCount];
extern const MenuTextKey kMenuTextKeys[kMenuTextKeyCount];
extern const TooltipTextKey kTooltipTextKeys[kTooltipTextKeyCount];
