// The three interface languages: the language file, the switch on Save, the
// shortcuts that switch only the topic language, and the start-up language.
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "core/settings/language_keys.h"
#include "gui/accessible_names.h"
#include "gui/index_view.h"
#include "gui/language_switch.h"
#include "gui/match_list.h"
#include "gui_fixture.h"

namespace {

const char kDatabase[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<library name=\"Bibliothek\">Test Library 2026 3.0 - demo\n"
    " <theme name=\"Thema\">Theme text\n"
    "  <topic File=\"/a.vl\" theme_de=\"Fenster\" theme_en=\"Window\" theme_fr=\"Fen\xC3\xAAtre\""
    " descript_de=\"d\" descript_en=\"e\" descript_fr=\"f\"/>\n"
    " </theme>\n"
    "</library>\n";

class LanguageTest : public ViewerTest {
 protected:
  bool startHere(const std::string& extra = "", bool withLanguageFile = true) {
    if (withLanguageFile) {
      std::string copy = "cp '" + std::string(VL_SOURCE_DIR) + "/data/RoruvUR EZU-RedIzir.ari' '" + folder + "'";
      if (system(copy.c_str()) != 0) return false;
    }
    std::ofstream(folder + "t.xml") << kDatabase;
    std::ofstream(folder + "a.vl") << "; a\n";
    writeSettings("db-path=" + folder + "t.xml\nLib-path=" + folder + "\nabout=1\n" + extra);
    return start();
  }
  void saveWithLanguage(int language) {
    post(kEventGadget, kWinMain, Main_Setting, kTypeLeftClick);
    gtk_combo_box_set_active(GTK_COMBO_BOX(gadget(Cnf_Language)), language);
    post(kEventGadget, kWinSettings, Cnf_OkSave, kTypeLeftClick);
  }
  std::string tooltip(int no) {
    gchar* t = gtk_widget_get_tooltip_text(gadget(no));
    std::string s = t ? t : "";
    g_free(t);
    return s;
  }
  std::string comboItem(int no, int item) {
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(gadget(no)));
    GtkTreeIter iter;
    if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, item)) return "<none>";
    gchar* t = nullptr;
    gtk_tree_model_get(model, &iter, gtk_tree_model_get_n_columns(model) - 1, &t, -1);
    std::string s = t ? t : "";
    g_free(t);
    return s;
  }
  std::string comboItems(int no) {
    std::string all = comboItem(no, 0);
    int count = gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(gadget(no))), nullptr);
    for (int i = 1; i < count; ++i) all += "\t" + comboItem(no, i);
    return all;
  }
  std::string frameTitle(int no) {
    return gtk_label_get_text(GTK_LABEL(gtk_frame_get_label_widget(GTK_FRAME(gadget(no)))));
  }
  std::string menuText(int no) {
    return gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(mainMenuItem(viewer().main, no)))));
  }
  std::string topicRow() { return std::string(app().index.row(2).text); }
  // What the gadget of a table text shows, combo items joined by tabs.
  // What a screen reader reads for the first control the name text belongs to; a
  // label that shows a value carries it as its description.
  std::string accessibleText(std::string_view key) {
    for (int i = 0; i < kAccessNameCount; ++i) {
      if (!kAccessNames[i].key || kAccessNames[i].key != key) continue;
      GtkWidget* w = widgetNamed(viewer(), kAccessNames[i].gadget);
      if (!w) return "<no gadget>";
      AtkObject* acc = gtk_widget_get_accessible(w);
      const char* s = GTK_IS_LABEL(w) ? atk_object_get_description(acc) : atk_object_get_name(acc);
      return s ? s : "";
    }
    return "<no control>";
  }
  std::string shown(const UiText& t) {
    if (t.kind == UiTextKind::MenuItem) return menuText(t.menuItem);
    if (t.kind == UiTextKind::AccessName) return accessibleText(t.key);
    if (t.kind == UiTextKind::ListText) return matchListText(viewer(), t.key);
    int no = gadgetByName(t.key + 1);
    if (no < 0 || !gadget(no)) return "<no gadget>";
    if (t.kind == UiTextKind::Tooltip) return tooltip(no);
    if (t.kind == UiTextKind::Frame) return frameTitle(no);
    if (t.kind == UiTextKind::ComboItems) return comboItems(no);
    if (GTK_IS_BUTTON(gadget(no))) return gtk_button_get_label(GTK_BUTTON(gadget(no)));
    return text(no);
  }
};

}  // namespace

TEST_F(LanguageTest, SaveSwitchesEveryKindOfText) {
  ASSERT_TRUE(startHere());
  struct Expected {
    int language;
    const char* langLabel;
    const char* hintItem;
    const char* frame;
    const char* findTip;
    const char* menu;
    const char* topic;
  };
  const Expected all[] = {
      {1, "Language", "Window 'shake'", "Program settings ...",
       "Search for an expression in the index (& description) in the current language (or all). See Settings.",
       "Open with default app", "Window"},
      {2, "Langue",
       "Fen\xC3\xAAtre secou\xC3\xA9"
       "e",
       "Param\xC3\xA8tres du programme ...",
       "Recherche une expression dans l'index (& la description) dans la langue actuelle (ou toutes). Voir "
       "Param\xC3\xA8tres.",
       "Ouvrir avec l'application par d\xC3\xA9"
       "faut",
       "Fen\xC3\xAAtre"},
      {0, "Sprache", "Fenster-'shake'", "Programm-Einstellungen ...",
       "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings.",
       "Mit Standard-App \xC3\xB6"
       "ffnen",
       "Fenster"},
  };
  for (const Expected& e : all) {
    saveWithLanguage(e.language);
    EXPECT_EQ(app().settings.language, e.language);
    EXPECT_EQ(text(Cnf_LangLabel), e.langLabel);
    EXPECT_EQ(comboItem(Cnf_SearchFailHint, 1), e.hintItem);
    EXPECT_EQ(frameTitle(Cnf_Frame2), e.frame);
    EXPECT_EQ(tooltip(Main_Find), e.findTip);
    EXPECT_EQ(menuText(kMenuOpenCode), e.menu);
    EXPECT_EQ(topicRow(), e.topic);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(LanguageTest, ChangedItemTextsKeepTheChoices) {
  ASSERT_TRUE(startHere("SearchMode=2\n"));
  saveWithLanguage(1);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(gadget(Cnf_SearchMode))), 2);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(gadget(Cnf_Language))), 1);
  EXPECT_EQ(comboItem(Cnf_Language, 2), "French");
  EXPECT_EQ(app().settings.searchMode, 2);
}

TEST_F(LanguageTest, StoredLanguageIsAppliedAtStart) {
  ASSERT_TRUE(startHere("Language=2\n"));
  EXPECT_EQ(app().settings.language, 2);
  EXPECT_EQ(app().languageBox, 2);
  EXPECT_EQ(text(Cnf_LangLabel), "Langue");
  EXPECT_EQ(topicRow(), "Fen\xC3\xAAtre");
  EXPECT_TRUE(messages.empty());
}

TEST_F(LanguageTest, ShortcutsSwitchOnlyTheTopicLanguage) {
  ASSERT_TRUE(startHere());
  post(kEventMenu, kWinMain, kKeyF6);
  EXPECT_EQ(app().settings.language, 1);
  EXPECT_EQ(topicRow(), "Window");
  EXPECT_EQ(text(Cnf_LangLabel), "Sprache");
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(gadget(Cnf_Language))), 1);
  post(kEventMenu, kWinMain, kKeyF6);
  EXPECT_EQ(app().settings.language, 0);
  post(kEventMenu, kWinMain, kKeyAltF);  // English, like Alt+E
  EXPECT_EQ(app().settings.language, 1);
  post(kEventMenu, kWinMain, kKeyAltD);
  EXPECT_EQ(topicRow(), "Fenster");
  post(kEventMenu, kWinMain, kKeyAltE);
  post(kEventMenu, kWinMain, kKeyAltG);
  EXPECT_EQ(app().settings.language, 0);
  EXPECT_EQ(app().languageBox, 0);
  // The language file is not even read by the shortcuts.
  EXPECT_FALSE(app().languageTable.loaded);
}

TEST_F(LanguageTest, MissingFileKeepsTheGermanTextsAndSaysSoOnce) {
  ASSERT_TRUE(startHere("", false));
  saveWithLanguage(1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "");
  EXPECT_EQ(messages[0].second, "Language-File not found!");
  EXPECT_EQ(text(Cnf_LangLabel), "Sprache");
  EXPECT_EQ(comboItem(Cnf_CodeMarking, 0), "Reiner Text");
  EXPECT_EQ(tooltip(Cnf_Cancel), "Schließt ohne Übernahme der Änderungen.");
  // The topic language switches all the same.
  EXPECT_EQ(topicRow(), "Window");
  saveWithLanguage(2);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(topicRow(), "Fen\xC3\xAAtre");
}

TEST_F(LanguageTest, KeyMissingFromTheFileGivesGermanAndAnEmptyLineAnEmptyText) {
  std::ofstream(folder + "RoruvUR EZU-RedIzir.ari")
      << "[LanguageItems]\nKey = #Cnf_LangLabel\nde = Sprache\nen = Language\nfr = Langue\n"
         "Key = #Cnf_LabelHint\nde = Hinweis\nen = Hint\n; no French line\n"
         "Key = #Cnf_LabelMark\nde = Marken\nen =\nfr = Marques\n"
         "Key = #Cnf_SearchMode\nde = a\tb\tc\nen = One\tTwo\nfr = x\n[Tooltips]\n";
  ASSERT_TRUE(startHere("", false));
  saveWithLanguage(1);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(text(Cnf_LangLabel), "Language");
  EXPECT_EQ(text(Cnf_LabelMark), "");
  EXPECT_EQ(tooltip(Main_Find),
            "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings.");
  // A missing combo field gives an empty item.
  EXPECT_EQ(comboItem(Cnf_SearchMode, 1), "Two");
  EXPECT_EQ(comboItem(Cnf_SearchMode, 2), "");
  // A block without a French line gives German, not the English text shown before.
  saveWithLanguage(2);
  EXPECT_EQ(text(Cnf_LabelHint), "'Nicht gefunden' Hinweis");
  EXPECT_EQ(text(Cnf_LabelMark), "Marques");
}

// Every text of the table: the windows are built with its German text, and a language
// switch puts the file's text on the same gadget.
TEST_F(LanguageTest, EveryTableTextReachesItsGadget) {
  ASSERT_TRUE(startHere());
  for (const UiText& t : kUiTexts) {
    if (t.kind != UiTextKind::Message) {  // messages: below
      EXPECT_EQ(shown(t), t.german) << t.key;
    }
  }
  saveWithLanguage(1);
  std::string english;
  for (const UiText& t : kUiTexts) {
    if (t.kind == UiTextKind::Message) continue;
    ASSERT_TRUE(langText(viewer(), t.key, t.kind == UiTextKind::Tooltip, "en", &english)) << t.key;
    EXPECT_EQ(shown(t), english) << t.key;
  }
}

namespace {

// Messages, titles and the index menu speak the language of the file once it is in use.
TEST_F(LanguageTest, MessagesTitlesAndTheIndexMenuFollowTheLanguage) {
  ASSERT_TRUE(startHere());  // German from the start: the file is not read, the texts are as built
  post(kEventGadget, kWinMain, Main_Help, kTypeLeftClick);  // the test library has no help entry
  saveWithLanguage(2);
  EXPECT_EQ(menuText(kMenuEntryShowFolder), "Afficher dans le gestionnaire de fichiers");
  EXPECT_EQ(title(kWinSettings), "Linux VL-ZEZ-Ovidozo-Vivara - R\xC3\xA9glages");
  saveWithLanguage(0);
  post(kEventGadget, kWinMain, Main_Help, kTypeLeftClick);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].second, "No help-file found.");
  EXPECT_EQ(messages[1].second, "Keine Hilfe-Datei gefunden.");
}

}  // namespace
