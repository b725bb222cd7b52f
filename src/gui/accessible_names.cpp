// Accessible names through ATK: the same table serves the build and every
// language switch, so a name never lags behind the texts on screen.
#include "gui/accessible_names.h"

#include <string_view>

#include "core/settings/language_keys.h"
#include "gui/language_switch.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

// Named controls that have no gadget number, by the name kAccessNames gives them.
struct NamedWidget {
  const char* name;
  GtkWidget* (*widget)(const Viewer& v);
};

const NamedWidget kNamedWidgets[] = {
    {"InfoMenu", [](const Viewer& v) { return v.main.infoMenu; }},
    {"AdminMenu", [](const Viewer& v) { return v.main.adminMenu; }},
    {"MatchList", [](const Viewer& v) { return v.matches.rows; }},
};

// The caption's frame title or label text, whichever it shows; the blank some
// captions end in, before the field that follows them, is no part of a name.
std::string captionText(GtkWidget* caption) {
  if (GTK_IS_FRAME(caption)) caption = gtk_frame_get_label_widget(GTK_FRAME(caption));
  std::string text = widgetText(caption);
  size_t end = text.find_last_not_of(' ');
  return text.substr(0, end == std::string::npos ? 0 : end + 1);
}

void labelBy(AtkObject* field, GtkWidget* caption) {
  AtkObject* label = gtk_widget_get_accessible(caption);
  AtkRelationSet* set = atk_object_ref_relation_set(field);
  bool known = atk_relation_set_contains_target(set, ATK_RELATION_LABELLED_BY, label);
  g_object_unref(set);
  if (known) return;
  atk_object_add_relationship(field, ATK_RELATION_LABELLED_BY, label);
  atk_object_add_relationship(label, ATK_RELATION_LABEL_FOR, field);
}

// A key the language file lacks, or leaves empty, keeps the German name: an empty
// name is what this table is there to prevent.
std::string keyText(Viewer& v, const char* key, const std::string& code) {
  std::string text;
  if (!code.empty() && langText(v, key, false, code, &text) && !text.empty()) return text;
  const char* german = germanUiText(key, false);
  return german ? german : "";
}

std::string tooltipOf(GtkWidget* w) {
  gchar* tip = gtk_widget_get_tooltip_text(w);
  std::string text = tip ? tip : "";
  g_free(tip);
  return text;
}

void applyRow(Viewer& v, const AccessName& k, const std::string& code) {
  GtkWidget* w = widgetNamed(v, k.gadget);
  if (!w) return;
  AtkObject* acc = gtk_widget_get_accessible(w);
  GtkWidget* caption = k.caption ? widgetNamed(v, k.caption) : nullptr;
  if (caption) labelBy(acc, caption);
  std::string name = k.key ? keyText(v, k.key, code) : caption ? captionText(caption) : std::string();
  if (GTK_IS_LABEL(w)) {
    // A label that shows a value (a font name, a size) is read by its text; what it
    // is goes into the description.
    atk_object_set_description(acc, name.c_str());
    return;
  }
  if (!name.empty()) atk_object_set_name(acc, name.c_str());
  if (k.tooltipDescription) atk_object_set_description(acc, tooltipOf(w).c_str());
}

}  // namespace

GtkWidget* widgetNamed(const Viewer& v, const char* name) {
  int no = gadgetByName(name);
  if (no >= 0) return gadgetWidget(v, no);
  for (const NamedWidget& n : kNamedWidgets)
    if (std::string_view(n.name) == name) return n.widget(v);
  return nullptr;
}

void applyAccessibleNames(Viewer& v, const std::string& languageCode) {
  for (int i = 0; i < kAccessNameCount; ++i) applyRow(v, kAccessNames[i], languageCode);
}

void nameLinkLabel(GtkWidget* label, const std::string& target) {
  AtkObject* acc = gtk_widget_get_accessible(label);
  atk_object_set_role(acc, ATK_ROLE_LINK);
  atk_object_set_name(acc, target.c_str());
}
