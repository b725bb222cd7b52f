// The language switch and the UI texts of every window.
#include "gui/language_switch.h"

#include <string_view>

#include "core/app/error_report.h"
#include "core/app/text_cut.h"
#include "core/settings/language_file.h"
#include "core/settings/language_keys.h"
#include "gui/accessible_names.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/present_entry.h"
#include "gui/settings_window.h"
#include "gui/viewer.h"

namespace {

// Gadget names in number order; the language file names gadgets this way.
constexpr const char* kGadgetNames[kGadgetCount] = {
    "Main_NodeToggle", "AdminButton",      "LabelSrc",         "LabelExe",
    "LabelSub",        "Main_FindNext",    "Main_Find",        "Main_Setting",
    "Main_Help",       "Main_Info",        "MainSplitter",     "IndexTree",
    "RightPane",       "Main_EdDescript",  "CodeView",         "Main_Quickcopy",
    "Main_CbHistory",  "Cnf_LabelDB",      "Cnf_DbShow",       "Cnf_DbChoose",
    "Cnf_LabelLib",    "Cnf_LibShow",      "Cnf_LibChoose",    "Cnf_Paths2Pref",
    "Cnf_Apply",       "Cnf_Frame1",       "Cnf_LangLabel",    "Cnf_Language",
    "Cnf_LangFont",    "Cnf_Fontname",     "Cnf_FontSize",     "Cnf_FontChoose",
    "Cnf_LabelSearch", "Cnf_SearchMode",   "Cnf_LabelHint",    "Cnf_SearchFailHint",
    "Cnf_LabelTitle",  "Cnf_FileNameLen",  "Cnf_LabelMark",    "Cnf_CodeMarking",
    "Cnf_DyeNews",     "Cnf_WinData2Pref", "Cnf_Frame2",       "Cnf_Cancel",
    "Cnf_OkSave",      "DbA_LabelDb",      "DbA_Db",           "DbA_LabelCont",
    "DbA_Cont",        "DbA_LabelLib",     "DbA_Lib",          "DbA_LabelFile",
    "DbA_File",        "DbA_LabelSrcForm", "DbA_SrcForm",      "DbA_LabelExeForm",
    "DbA_ExeForm",     "DbA_LabelTop",     "DbA_Top",          "DbA_LabelEnt",
    "DbA_Ent",         "DbA_Frame1",       "DbA_Frame2",       "DbA_ToDb",
    "DbA_CopyFile",    "Upt_LabelAppGtk2", "Upt_LabelAppGtk3", "Upt_LabelXml",
    "Upt_AnswerGtk2",  "Upt_AnswerGtk3",   "Upt_AnswerXml"};

GtkWidget* gadgetOfKey(Viewer& v, const char* key) {
  int no = gadgetByName(std::string(key).substr(1));  // the key without "#"
  return no < 0 ? nullptr : gadgetWidget(v, no);
}

// Combo items keep their places; only their texts change. The text sits in the
// model's last column (the language box has its flag image before it).
void setComboItems(GtkWidget* combo, const std::string& text) {
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
  if (!GTK_IS_LIST_STORE(model)) return;
  int column = gtk_tree_model_get_n_columns(model) - 1;
  std::vector<std::string> items =
      comboItemTexts(text, static_cast<size_t>(gtk_tree_model_iter_n_children(model, nullptr)));
  GtkTreeIter iter;
  bool more = gtk_tree_model_get_iter_first(model, &iter);
  for (size_t i = 0; i < items.size() && more; ++i) {
    gtk_list_store_set(GTK_LIST_STORE(model), &iter, column, items[i].c_str(), -1);
    more = gtk_tree_model_iter_next(model, &iter);
  }
}

void setFrameTitle(GtkWidget* frame, const std::string& text) {
  GtkWidget* label = gtk_frame_get_label_widget(GTK_FRAME(frame));
  // The title label carries the bold caption font; keep it and change its text.
  if (GTK_IS_LABEL(label))
    gtk_label_set_text(GTK_LABEL(label), text.c_str());
  else
    gtk_frame_set_label(GTK_FRAME(frame), text.c_str());
}

void setGadgetText(GtkWidget* w, UiTextKind kind, const std::string& text) {
  if (kind == UiTextKind::Tooltip)
    gtk_widget_set_tooltip_text(w, text.c_str());
  else if (kind == UiTextKind::ComboItems && GTK_IS_COMBO_BOX(w))
    setComboItems(w, text);
  else if (kind == UiTextKind::Frame && GTK_IS_FRAME(w))
    setFrameTitle(w, text);
  else if (GTK_IS_BUTTON(w))
    gtk_button_set_label(GTK_BUTTON(w), text.c_str());
  else if (GTK_IS_LABEL(w))
    gtk_label_set_text(GTK_LABEL(w), text.c_str());
  else if (GTK_IS_ENTRY(w))
    gtk_entry_set_text(GTK_ENTRY(w), text.c_str());
}

void setMenuItemText(GtkWidget* item, const std::string& text) {
  GtkWidget* child = item ? gtk_bin_get_child(GTK_BIN(item)) : nullptr;
  if (GTK_IS_LABEL(child)) gtk_label_set_text(GTK_LABEL(child), text.c_str());
}

void setWindowTitles(Viewer& v) {
  static constexpr struct {
    WindowNo no;
    const char* key;
  } kTitles[] = {{kWinSettings, "#Msg_WinSettings"}, {kWinDbInfo, "#Msg_WinDbInfo"}, {kWinUpdate, "#Msg_WinUpdate"}};
  for (const auto& t : kTitles) gtk_window_set_title(GTK_WINDOW(windowWidget(v, t.no)), messageText(v, t.key).c_str());
}

// A text the language file lacks (or no file at all) gives the built-in German one.
void applyTexts(Viewer& v, const std::string& code) {
  VL_TRACE();
  std::string text;
  SuppressEvents quiet(v.events);  // new combo texts are no user choice
  for (const UiText& t : kUiTexts) {
    // applyAccessibleNames sets the access names; messages and the match list's
    // texts are looked up as they are shown.
    if (t.kind == UiTextKind::AccessName || t.kind == UiTextKind::Message || t.kind == UiTextKind::ListText) continue;
    if (!langText(v, t.key, t.kind == UiTextKind::Tooltip, code, &text)) text = t.german;
    text = cutShownText(text);  // a language file may hold a text no line can lay out
    if (t.kind == UiTextKind::MenuItem)
      setMenuItemText(mainMenuItem(v.main, t.menuItem), text);
    else if (GtkWidget* w = gadgetOfKey(v, t.key))
      setGadgetText(w, t.kind, text);
  }
  applyAccessibleNames(v, code);  // the descriptions are the tooltips just set
  setWindowTitles(v);
}

const char* germanTextOf(int gadget, bool tooltip) {
  if (gadget < 0 || gadget >= kGadgetCount) return nullptr;
  return germanUiText(std::string("#") + kGadgetNames[gadget], tooltip);
}

}  // namespace

int gadgetByName(const std::string& name) {
  for (int i = 0; i < kGadgetCount; ++i)
    if (name == kGadgetNames[i]) return i;
  return -1;
}

const char* builtInText(int gadget) {
  const char* text = germanTextOf(gadget, false);
  return text ? text : "";
}

const char* builtInTooltip(int gadget) { return germanTextOf(gadget, true); }

const char* builtInMenuText(int menuItem) {
  for (const UiText& t : kUiTexts)
    if (t.kind == UiTextKind::MenuItem && t.menuItem == menuItem) return t.german;
  return "";
}

bool langText(Viewer& v, const std::string& key, bool tooltip, const std::string& languageCode, std::string* out) {
  LanguageTable& table = v.app.languageTable;
  if (!table.loaded && !loadLanguageFile(v.app.programFolder + v.app.languageFileName, &table) &&
      !table.notFoundShown) {
    table.notFoundShown = true;
    messageBox("", "Language-File not found!");
  }
  if (!table.loaded) return false;
  return findLangText(table, key, tooltip, languageCode, out);
}

std::string messageText(Viewer& v, const char* key, std::initializer_list<std::string_view> values) {
  const LanguageTable& table = v.app.languageTable;
  std::string text;
  std::string_view code = languageCodeOf(v.app.settings.language);
  if (!table.loaded || !findLangText(table, key, false, code, &text)) text = germanUiText(key, false);
  return fillMessage(text, values);
}

void applyLanguage(Viewer& v, bool withTexts) {
  VL_TRACE();
  AppState& app = v.app;
  if (app.languageBox == app.settings.language) return;
  app.settings.language = app.languageBox;
  rebuildIndexInPlace(v);
  if (withTexts) applyTexts(v, std::string(languageCodeOf(app.settings.language)));
}

namespace {

void onLanguageKey(Viewer& v, const Event& e) {
  switch (e.object) {
    case kKeyF6:
      setLanguageBox(v, v.app.languageBox != 0 ? 0 : 1);
      break;
    case kKeyAltG:
    case kKeyAltD:
      setLanguageBox(v, 0);
      break;
    default:
      setLanguageBox(v, 1);
      break;  // Alt+E and Alt+F: English
  }
  applyLanguage(v, false);
}

const HandlerEntry kLanguageKeyHandlers[] = {
    {kWinMain, kEventMenu, kKeyF6, onLanguageKey},   {kWinMain, kEventMenu, kKeyAltG, onLanguageKey},
    {kWinMain, kEventMenu, kKeyAltE, onLanguageKey}, {kWinMain, kEventMenu, kKeyAltD, onLanguageKey},
    {kWinMain, kEventMenu, kKeyAltF, onLanguageKey},
};

}  // namespace

HandlerTable languageKeyHandlers() { return handlerTable(kLanguageKeyHandlers); }
