// Window 1, the settings window, built once and then only shown and hidden, and
// the handler table of its events.
#include "gui/settings_window.h"

#include <algorithm>
#include <string_view>

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/text_cut.h"
#include "core/settings/language_file.h"
#include "core/settings/settings_keys.h"
#include "gui/language_switch.h"
#include "gui/message_box.h"
#include "gui/present_entry.h"
#include "gui/reload_database.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

constexpr SecondaryWindowLayout kLayout = {
    "Linux VL-ZEZ-Ovidozo-Vivara - Settings", 540, 486, GTK_WIN_POS_CENTER, true, false};

struct Place {
  int no, x, y, w, h;
};

void onClicked(GtkWidget* button, gpointer data) {
  int no = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "vl-gadget"));
  static_cast<SettingsWindow*>(data)->frame.events->post(kEventGadget, kWinSettings, no, kTypeLeftClick);
}

// The topic language is read from the language box, so it follows every change of it.
void onLanguageBoxChanged(GtkComboBox* box, gpointer data) {
  *static_cast<SettingsWindow*>(data)->languageBox = gtk_combo_box_get_active(box);
}

void put(Viewer& v, const Place& p, GtkWidget* w) {
  v.settings.gadget[GadgetNo(p.no)] = w;
  place(v.settings.frame.fixed, w, p.x, p.y, p.w, p.h);
  if (const char* tip = builtInTooltip(p.no)) gtk_widget_set_tooltip_text(w, tip);
}

void addLabel(Viewer& v, const Place& p) {
  GtkWidget* label = gtk_label_new(builtInText(p.no));
  gtk_misc_set_alignment(GTK_MISC(label), 0, 0.5);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  put(v, p, label);
}

void addFrame(Viewer& v, const Place& p) {
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_label_widget(GTK_FRAME(frame), captionLabel(builtInText(p.no), v.app.boldFontName));
  put(v, p, frame);
}

void addButton(Viewer& v, const Place& p, GtkWidget* button, bool focusOnClick) {
  gtk_button_set_focus_on_click(GTK_BUTTON(button), focusOnClick);
  g_object_set_data(G_OBJECT(button), "vl-gadget", GINT_TO_POINTER(p.no));
  g_signal_connect(button, "clicked", G_CALLBACK(onClicked), &v.settings);
  put(v, p, button);
}

GtkWidget* stockButton(const char* stockId) {
  GtkWidget* button = gtk_button_new_with_label(stockId);
  gtk_button_set_use_stock(GTK_BUTTON(button), TRUE);
  return button;
}

void addCheck(Viewer& v, const Place& p, bool focusOnClick) {
  GtkWidget* check = gtk_check_button_new_with_label(builtInText(p.no));
  gtk_button_set_focus_on_click(GTK_BUTTON(check), focusOnClick);
  put(v, p, check);
}

void addReadOnlyField(Viewer& v, const Place& p) {
  GtkWidget* entry = gtk_entry_new();
  gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
  put(v, p, entry);
}

// A centred label with a sunken border; the gadget is the label.
void addSunkenLabel(Viewer& v, const Place& p) {
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
  GtkWidget* label = gtk_label_new("");
  gtk_misc_set_alignment(GTK_MISC(label), 0.5, 0.5);
  gtk_container_add(GTK_CONTAINER(frame), label);
  place(v.settings.frame.fixed, frame, p.x, p.y, p.w, p.h);
  v.settings.gadget[GadgetNo(p.no)] = label;
  if (const char* tip = builtInTooltip(p.no)) gtk_widget_set_tooltip_text(label, tip);
}

void addTextCombo(Viewer& v, const Place& p) {
  GtkWidget* combo = gtk_combo_box_new_text();
  // The built-in text names every item of the box.
  std::string_view items = builtInText(p.no);
  for (const std::string& item : comboItemTexts(items, std::count(items.begin(), items.end(), '\t') + 1))
    gtk_combo_box_append_text(GTK_COMBO_BOX(combo), item.c_str());
  gtk_combo_box_set_focus_on_click(GTK_COMBO_BOX(combo), FALSE);
  put(v, p, combo);
}

void addLanguageCombo(Viewer& v, const Place& p) {
  GtkListStore* store = gtk_list_store_new(2, GDK_TYPE_PIXBUF, G_TYPE_STRING);
  const char* flags[3] = {"flag-de.png", "flag-gb.png", "flag-fr.png"};
  std::vector<std::string> names = comboItemTexts(builtInText(p.no));
  for (int i = 0; i < 3; ++i) {
    GdkPixbuf* flag = loadIcon(flags[i]);
    GtkTreeIter iter;
    gtk_list_store_append(store, &iter);
    gtk_list_store_set(store, &iter, 0, flag, 1, names[i].c_str(), -1);
    if (flag) g_object_unref(flag);
  }
  GtkWidget* combo = gtk_combo_box_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  GtkCellRenderer* image = gtk_cell_renderer_pixbuf_new();
  gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(combo), image, FALSE);
  gtk_cell_layout_set_attributes(GTK_CELL_LAYOUT(combo), image, "pixbuf", 0, nullptr);
  GtkCellRenderer* text = gtk_cell_renderer_text_new();
  gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(combo), text, TRUE);
  gtk_cell_layout_set_attributes(GTK_CELL_LAYOUT(combo), text, "text", 1, nullptr);
  gtk_combo_box_set_focus_on_click(GTK_COMBO_BOX(combo), FALSE);
  g_signal_connect(combo, "changed", G_CALLBACK(onLanguageBoxChanged), &v.settings);
  put(v, p, combo);
}

void createPathFrame(Viewer& v) {
  addFrame(v, {Cnf_Frame1, 5, 5, 530, 152});
  addLabel(v, {Cnf_LabelDB, 15, 22, 400, 26});
  addReadOnlyField(v, {Cnf_DbShow, 20, 40, 475, 25});
  addButton(v, {Cnf_DbChoose, 500, 40, 30, 25}, gtk_button_new_with_label("..."), false);
  addLabel(v, {Cnf_LabelLib, 15, 67, 500, 26});
  addReadOnlyField(v, {Cnf_LibShow, 20, 85, 475, 25});
  addButton(v, {Cnf_LibChoose, 500, 85, 30, 25}, gtk_button_new_with_label("..."), false);
  addCheck(v, {Cnf_Paths2Pref, 15, 115, 300, 24}, false);
  addButton(v, {Cnf_Apply, 395, 115, 135, 36}, stockButton("gtk-apply"), true);
}

void createProgramFrame(Viewer& v) {
  addFrame(v, {Cnf_Frame2, 5, 170, 530, 262});
  addLabel(v, {Cnf_LangLabel, 20, 197, 155, 26});
  addLanguageCombo(v, {Cnf_Language, 180, 190, 210, 30});
  addLabel(v, {Cnf_LangFont, 20, 227, 160, 32});
  addSunkenLabel(v, {Cnf_Fontname, 180, 224, 175, 22});
  addSunkenLabel(v, {Cnf_FontSize, 360, 224, 30, 22});
  addButton(v, {Cnf_FontChoose, 395, 222, 135, 26}, gtk_button_new_with_label(builtInText(Cnf_FontChoose)), false);
  addLabel(v, {Cnf_LabelSearch, 20, 257, 155, 26});
  addTextCombo(v, {Cnf_SearchMode, 180, 250, 210, 30});
  addLabel(v, {Cnf_LabelHint, 20, 287, 155, 26});
  addTextCombo(v, {Cnf_SearchFailHint, 180, 280, 210, 30});
  addLabel(v, {Cnf_LabelTitle, 20, 317, 155, 26});
  addTextCombo(v, {Cnf_FileNameLen, 180, 310, 210, 30});
  addLabel(v, {Cnf_LabelMark, 20, 347, 155, 32});
  addTextCombo(v, {Cnf_CodeMarking, 180, 340, 210, 30});
  addCheck(v, {Cnf_DyeNews, 15, 377, 300, 24}, true);
  addCheck(v, {Cnf_WinData2Pref, 15, 404, 300, 24}, false);
}

// --- the settings the gadgets show: loops over the settings key table ------------

GtkWidget* gadget(Viewer& v, int no) { return v.settings.gadget.find(no); }
std::string text(Viewer& v, int no) { return widgetText(gadget(v, no)); }

void setText(GtkWidget* w, const std::string& t) {
  if (GTK_IS_ENTRY(w))
    gtk_entry_set_text(GTK_ENTRY(w), t.c_str());
  else
    gtk_label_set_text(GTK_LABEL(w), cutShownText(t).c_str());
}

void setText(Viewer& v, int no, const std::string& t) { setText(gadget(v, no), t); }

GtkWidget* settingGadget(Viewer& v, const SettingKey& k) {
  return k.gadget ? gadget(v, gadgetByName(k.gadget)) : nullptr;
}

// Set once when the window is built: between showings the boxes keep what the user
// left in them, and Save takes that.
void setChoiceGadgets(Viewer& v) {
  const SettingsStore& s = v.app.settings;
  for (const SettingKey& k : kSettingKeys) {
    GtkWidget* w = settingGadget(v, k);
    if (k.gadgetKind == SettingGadget::CheckBox)
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), s.*k.number != 0);
    else if (k.gadgetKind == SettingGadget::ComboBox || k.gadgetKind == SettingGadget::LanguageBox)
      gtk_combo_box_set_active(GTK_COMBO_BOX(w), s.*k.number);
  }
}

void fillTextFields(Viewer& v) {
  for (const SettingKey& k : kSettingKeys)
    if (k.gadgetKind == SettingGadget::TextField) setText(settingGadget(v, k), settingText(v.app.settings, k));
}

// The language box is left to the language switch, which compares it with "Language".
void readSettingGadgets(Viewer& v, SettingsStore* s) {
  for (const SettingKey& k : kSettingKeys) {
    GtkWidget* w = settingGadget(v, k);
    if (k.gadgetKind == SettingGadget::CheckBox)
      s->*k.number = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w)) ? 1 : 0;
    else if (k.gadgetKind == SettingGadget::ComboBox)
      s->*k.number = gtk_combo_box_get_active(GTK_COMBO_BOX(w));
    else if (k.gadgetKind == SettingGadget::TextField)
      takeSettingText(s, k, widgetText(w));
  }
}

// --- handlers -------------------------------------------------------------------

void onHide(Viewer& v, const Event&) { gtk_widget_hide(v.settings.frame.window); }

void onShow(Viewer& v, const Event&) { showSettingsWindow(v); }

void onDbChoose(Viewer& v, const Event&) {
  VL_TRACE();
  const std::string& name = v.app.settings.databaseFileName;
  std::string chosen = fileRequester(messageText(v, "#Msg_ChooseDatabase", {name}),
                                     folderPart(text(v, Cnf_DbShow)) + name, "XML files (*.xml)|*.xml");
  if (!chosen.empty()) setText(v, Cnf_DbShow, chosen);
}

void onLibChoose(Viewer& v, const Event&) {
  VL_TRACE();
  std::string chosen = folderRequester(messageText(v, "#Msg_ChooseLibrary"), v.app.settings.libPath);
  // A cancelled requester leaves the field as it was rather than emptying it.
  if (chosen.empty()) return;
  setText(v, Cnf_LibShow, chosen == v.app.programFolder ? std::string() : chosen);
}

void onFontChoose(Viewer& v, const Event&) {
  VL_TRACE();
  const SettingsStore& s = v.app.settings;
  std::string chosen = fontRequester(s.fontName + " " + std::to_string(s.fontSize));
  if (chosen.empty()) return;
  PangoFontDescription* font = pango_font_description_from_string(chosen.c_str());
  const char* family = pango_font_description_get_family(font);
  if (family) setText(v, Cnf_Fontname, family);
  int size = pango_font_description_get_size(font) / PANGO_SCALE;
  if (size > 0) setText(v, Cnf_FontSize, std::to_string(size));
  pango_font_description_free(font);
}

void onApply(Viewer& v, const Event&) { reloadDatabase(v, text(v, Cnf_DbShow), text(v, Cnf_LibShow)); }

void onSave(Viewer& v, const Event&) { saveFromSettingsWindow(v); }

const HandlerEntry kSettingsHandlers[] = {
    {kWinMain, kEventGadget, Main_Setting, onShow},
    {kWinSettings, kEventCloseWindow, kAnyObject, onHide},
    {kWinSettings, kEventMenu, kKeyEscape, onHide},
    {kWinSettings, kEventGadget, Cnf_Cancel, onHide},
    {kWinSettings, kEventGadget, Cnf_DbChoose, onDbChoose},
    {kWinSettings, kEventGadget, Cnf_LibChoose, onLibChoose},
    {kWinSettings, kEventGadget, Cnf_FontChoose, onFontChoose},
    {kWinSettings, kEventGadget, Cnf_Apply, onApply},
    {kWinSettings, kEventGadget, Cnf_OkSave, onSave},
};

}  // namespace

void createSettingsWindow(Viewer& v) {
  VL_TRACE();
  SettingsWindow& w = v.settings;
  w.frame.no = kWinSettings;
  w.frame.events = &v.events;
  w.languageBox = &v.app.languageBox;
  openSecondaryWindow(w.frame, kLayout);
  if (GtkWidget* main = windowWidget(v, kWinMain))
    gtk_window_set_transient_for(GTK_WINDOW(w.frame.window), GTK_WINDOW(main));
  createPathFrame(v);
  createProgramFrame(v);
  setChoiceGadgets(v);
  addButton(v, {Cnf_Cancel, 5, 440, 260, 36}, stockButton("gtk-cancel"), true);
  addButton(v, {Cnf_OkSave, 274, 440, 260, 36}, stockButton("gtk-save"), true);
  finishSecondaryWindow(w.frame, kLayout);
  gtk_widget_grab_focus(w.gadget[Cnf_Cancel]);
}

void showSettingsWindow(Viewer& v) {
  VL_TRACE();
  fillTextFields(v);
  gtk_window_present(GTK_WINDOW(v.settings.frame.window));
}

void saveFromSettingsWindow(Viewer& v) {
  VL_TRACE();
  AppState& app = v.app;
  SettingsStore& s = app.settings;
  const SettingsStore before = s;
  readSettingGadgets(v, &s);
  syncCodeReading(v, s.libPath != before.libPath);
  EntryRequest shown{EntryCause::SettingsChange};
  shown.marksChanged = s.codeMarks != before.codeMarks;
  shown.titleChanged = s.sourceInTitle != before.sourceInTitle;
  presentEntry(v, shown);
  // The new font comes at its own size; the zoom step counts from it at the next wheel step.
  if (s.fontName != before.fontName || s.fontSize != before.fontSize) setCodeFont(v.code, s.fontName, s.fontSize);
  applyLanguage(v, true);
  if (s.dyeingNews != before.dyeingNews) rebuildIndexInPlace(v);
  app.missingFileWarningArmed = 1;
  gtk_widget_hide(v.settings.frame.window);
  saveViewerSettings(v);
}

void setLanguageBox(Viewer& v, int state) {
  GtkWidget* box = v.settings.gadget[Cnf_Language];
  if (box) {
    SuppressEvents quiet(v.events);
    gtk_combo_box_set_active(GTK_COMBO_BOX(box), state);
    state = gtk_combo_box_get_active(GTK_COMBO_BOX(box));
  }
  v.app.languageBox = state;
}

void applyStoredLanguage(Viewer& v) {
  if (v.app.settings.language == 0) return;
  v.app.settings.language = 0;
  applyLanguage(v, true);
}

GtkWidget* settingsWindowGadget(const SettingsWindow& w, int no) { return w.gadget.find(no); }

HandlerTable settingsWindowHandlers() { return handlerTable(kSettingsHandlers); }
