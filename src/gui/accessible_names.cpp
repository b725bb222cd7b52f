// Accessible names through ATK: the same table serves the build and every
// language switch, so a name never lags behind the texts on screen.
#include "gui/accessible_names.h"

#include "core/settings/language_keys.h"
#include "gui/language_switch.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

GtkWidget* gadgetNamed(Viewer& v, const char* name) {
  int no = gadgetByName(name);
  return no < 0 ? nullptr : gadgetWidget(v, no);
}

// The caption's frame title or label text, whichever it shows.
std::string captionText(GtkWidget* caption) {
  if (GTK_IS_FRAME(caption)) caption = gtk_frame_get_label_widget(GTK_FRAME(caption));
  return GTK_IS_LABEL(caption) ? gtk_label_get_text(GTK_LABEL(caption)) : widgetText(caption);
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
std::string nameOf(Viewer& v, const AccessName& k, const std::string& code) {
  std::string text;
  if (!code.empty() && langText(v, k.key, false, code, &text) && !text.empty()) return text;
  return germanUiText(k.key, false);
}

void applyRow(Viewer& v, const AccessName& k, const std::string& code) {
  GtkWidget* w = gadgetNamed(v, k.gadget);
  if (!w) return;
  AtkObject* acc = gtk_widget_get_accessible(w);
  if (k.key) {
    atk_object_set_name(acc, nameOf(v, k, code).c_str());
  } else if (GtkWidget* caption = k.caption ? gadgetNamed(v, k.caption) : nullptr) {
    std::string text = captionText(caption);
    atk_object_set_name(acc, text.c_str());
    labelBy(acc, caption);
  }
  if (k.tooltipDescription) {
    gchar* tip = gtk_widget_get_tooltip_text(w);
    atk_object_set_description(acc, tip ? tip : "");
    g_free(tip);
  }
}

}  // namespace

void applyAccessibleNames(Viewer& v, const std::string& languageCode) {
  for (int i = 0; i < kAccessNameCount; ++i) applyRow(v, kAccessNames[i], languageCode);
}

void nameLinkLabel(GtkWidget* label, const std::string& target) {
  AtkObject* acc = gtk_widget_get_accessible(label);
  atk_object_set_role(acc, ATK_ROLE_LINK);
  atk_object_set_name(acc, target.c_str());
}
