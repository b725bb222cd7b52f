// The UI text table with the German texts the windows are built with. Some German texts
// carry the program's long-standing spellings; they are kept as users know them.
#include "core/settings/language_keys.h"

using K = UiTextKind;

const UiText kUiTexts[kUiTextCount] = {
    {"#Cnf_LabelHint", K::Label, 1, 0, "'Nicht gefunden' Hinweis"},
    {"#Cnf_LabelLib", K::Label, 1, 0, "Library-Pfad (Hauptordner über ButtonGadget, CalenderGadget,...):"},
    {"#Cnf_LabelTitle", K::Label, 1, 0, "Fenstertitel-Inhalt"},
    {"#Cnf_SearchFailHint", K::ComboItems, 1, 0, "Beide Effekte\tFenster-'shake'\tSuchfeld blinkt"},
    {"#Cnf_WinData2Pref", K::CheckBox, 1, 0, "Fensterpos. u. größe mitspeichern"},
    {"#Cnf_DyeNews", K::CheckBox, 1, 0, "Neue Themen m. farb. Schrift (index)"},
    {"#Cnf_LangLabel", K::Label, 1, 0, "Sprache"},
    {"#Cnf_LabelDB", K::Label, 1, 0, "Datenbank-Pfad (*.xml):"},
    {"#Cnf_Frame1", K::Frame, 1, 0, "Pfade (Datenbank) temporär oder dauerhaft ändern ..."},
    {"#Cnf_Frame2", K::Frame, 1, 0, "Programm-Einstellungen ..."},
    {"#DbA_LabelFile", K::Label, 2, 0, "Datei (+ Unterordner):"},
    {"#DbA_LabelEnt", K::Label, 2, 0, "Einträge:"},
    {"#Cnf_LangFont", K::Label, 1, 0, "Zeichensatz für Dateianzeige"},
    {"#Cnf_LabelMark", K::Label, 1, 0, "Editor Code-Hervorhebung"},
    {"#Cnf_Language", K::ComboItems, 1, 0, "German\tEnglish\tFrench"},
    {"#Cnf_FontChoose", K::Button, 1, 0, "Zeichensatz ändern"},
    {"#DbA_LabelDb", K::Label, 2, 0, "Datenbank (xml):"},
    {"#DbA_LabelSrcForm", K::Label, 2, 0, "Code-Format:"},
    {"#Cnf_SearchMode", K::ComboItems, 1, 0,
     "Index + Beschreibung (akt. Sprache)\tNur Index (akt. Sprache)\tIndex + Beschreibung (alle "
     "Sprachen)\tIndex + Beschreibung + Code (alle Sprachen)"},
    {"#DbA_LabelTop", K::Label, 2, 0, "Themen:"},
    {"#Cnf_CodeMarking", K::ComboItems, 1, 0, "Reiner Text\tFett, graue Kommentare\tBlau+Fett, graue Kommentare"},
    {"#Cnf_Paths2Pref", K::CheckBox, 1, 0, "Speichert Pfade mit 'Speichern'"},
    {"#DbA_LabelExeForm", K::Label, 2, 0, "Executable-Format:"},
    {"#Cnf_FileNameLen", K::ComboItems, 1, 0, "Nur Dateiname\tUnterordner & Dateiname\tVoller Pfad & Dateiname"},
    {"#DbA_LabelLib", K::Label, 2, 0, "Library (Hauptordner):"},
    {"#DbA_LabelCont", K::Label, 2, 0, "Inhalt:"},
    {"#Cnf_LabelSearch", K::Label, 1, 0, "Suche in"},
    {"#DbA_Frame1", K::Frame, 2, 0, "Datenbank & Library ..."},
    {"#DbA_Frame2", K::Frame, 2, 0, "Gewählte Datei ..."},
    // The update labels end in a blank: the answer field follows right after them.
    {"#Upt_LabelAppGtk2", K::Label, 3, 0, "App-Update gtk2 verfügbar? "},
    {"#Upt_LabelAppGtk3", K::Label, 3, 0, "App-Update gtk3 verfügbar? "},
    {"#Upt_LabelXml", K::Label, 3, 0, "API-Update (Codes & Datenbank) verfügbar? "},
    {"#PuInf_OpnCode", K::MenuItem, 0, 12, "Mit Standard-App öffnen"},
    {"#PuInf_AboutApp", K::MenuItem, 0, 9, "Über Linux VL-ZEZ-Ovidozo-Vivara ..."},
    {"#PuInf_AboutDb", K::MenuItem, 0, 10, "Über Datenbank ..."},
    {"#PuInf_IsUpdate", K::MenuItem, 0, 11, "Auf Updates prüfen ..."},
    // The index entries' context menu.
    {"#PuIdx_Show", K::MenuItem, 0, 31, "Anzeigen"},
    {"#PuIdx_CopyCode", K::MenuItem, 0, 32, "Code kopieren"},
    {"#PuIdx_CopyPath", K::MenuItem, 0, 33, "Pfad der Code-Datei kopieren"},
    {"#PuIdx_Edit", K::MenuItem, 0, 34, "Im Editor öffnen"},
    {"#PuIdx_Open", K::MenuItem, 0, 35, "Mit Standard-App öffnen"},
    {"#PuIdx_Folder", K::MenuItem, 0, 36, "Im Dateimanager zeigen"},
    {"#Cnf_Apply", K::Tooltip, 1, 0, "Übernimmt (temporär) die Pfade und lädt die Datenbank neu."},
    {"#Cnf_FontChoose", K::Tooltip, 1, 0, "Öffnet die Zeichensatz-Auswahl."},
    {"#Main_Info", K::Tooltip, 0, 0, "Öffnet den Programm-Info-Dialog."},
    {"#Cnf_LibChoose", K::Tooltip, 1, 0,
     "Dateiauswahl für das Library-Hauptverzeichnis, falls nicht identisch mit Viewer-Verzeichnis."},
    {"#Main_NodeToggle", K::Tooltip, 0, 0, "Öffnet und schließt alle Knoten."},
    {"#Main_Find", K::Tooltip, 0, 0,
     "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings."},
    {"#Main_Quickcopy", K::Tooltip, 0, 0,
     "Kopiert den kompletten Code in die Zwischenablage. Auch Drag&Drop von Indexeinträgen nach VL möglich!"},
    {"#Main_FindNext", K::Tooltip, 0, 0, "[F3] Sucht nächsten Eintrag (auch [Return] bei Cursor im Eingabefeld."},
    {"#Cnf_SearchMode", K::Tooltip, 1, 0, "Wählt den Umfang des Suchmodus."},
    {"#DbA_ToDb", K::Tooltip, 2, 0, "Klick öffnet den Dateimanager mit dem Library-Pfad."},
    {"#Cnf_CodeMarking", K::Tooltip, 1, 0, "Wählt die Kennzeichnung für Schlüsselwörter. Reiner Text ist 'Aus'."},
    {"#Cnf_Paths2Pref", K::Tooltip, 1, 0,
     "Ausgewählt werden die Pfadeinstellungen bei 'Speichern' mitgesichert, anders kann temporät "
     "gearbeitet werden."},
    {"#Cnf_FileNameLen", K::Tooltip, 1, 0, "Wählt den Inhalt (Länge) der Fenster-Titelzeile."},
    {"#Main_EdDescript", K::Tooltip, 0, 0, "Zeigt eine kurze Beschreibung der Funktion."},
    {"#Cnf_LibShow", K::Tooltip, 1, 0,
     "Hauptpfad (Hautordner) der Library. Kann leer bleiben falls identisch mit dem "
     "Viewer-Verzeichnis."},
    {"#Main_CbHistory", K::Tooltip, 0, 0, "Liste aller zuletzt gewählten Code-Dateien."},
    {"#Main_Help", K::Tooltip, 0, 0, "Öffnet die Programm-Hilfe-Datei im Editor."},
    {"#Cnf_SearchFailHint", K::Tooltip, 1, 0,
     "Wählt den Typ für Hinweise bei nicht (weiter) gefundenen Suchbegriffen."},
    {"#Cnf_WinData2Pref", K::Tooltip, 1, 0,
     "Ausgewählt werden immer die letzte Fensterposition und -größe sowie die Splitterposition "
     "gespeichert."},
    {"#Cnf_DyeNews", K::Tooltip, 1, 0,
     "Blue Index-Schrift für neue Themen. Ausschalten falls bei dunklen Hintergründen nicht mehr "
     "lesbar."},
    {"#Cnf_DbChoose", K::Tooltip, 1, 0, "Dateiauswahl für die Datenbank-Datei (xml)"},
    {"#Cnf_OkSave", K::Tooltip, 1, 0, "Übernimmt und speichert die Einstellungen in der *.ini-Datei."},
    {"#Cnf_Cancel", K::Tooltip, 1, 0, "Schließt ohne Übernahme der Änderungen."},
    {"#Main_Setting", K::Tooltip, 0, 0,
     "Programmeinstellungen & Requester für die Datenbank (xml) und das Library-Oberverzeichnis."},
    {"#DbA_CopyFile", K::Tooltip, 2, 0, "Klick kopiert den Code-Pfad ins Clipboard."},
    {"#Cnf_DbShow", K::Tooltip, 1, 0, "Pfad der Datenbank-Datei (xml)."},
    {"#Cnf_Fontname", K::Tooltip, 1, 0,
     "Aktuell gewählter Zeichensatz für den Code. Änderung über die Schaltfläche rechts."},
    {"#Cnf_Language", K::Tooltip, 1, 0,
     "Wählt die Sprache für den Index und die Beschreibung. Fränzösich ist noch Englisch!"},
    {"#Main_ListMatches", K::ListText, 0, 0, "Treffer"},
    {"#Main_ListReading", K::ListText, 0, 0, "Code wird gelesen\xE2\x80\xA6"},
    {"#Acc_Main_NodeToggle", K::AccessName, 0, 0, "Alle Knoten öffnen/schließen"},
    {"#Acc_Main_FindNext", K::AccessName, 0, 0, "Nächsten suchen"},
    {"#Acc_Main_Find", K::AccessName, 0, 0, "Suchbegriff"},
    {"#Acc_AdminButton", K::AccessName, 0, 0, "Admin-Menü"},
    {"#Acc_Main_CbHistory", K::AccessName, 0, 0, "Zuletzt gewählte Code-Dateien"},
    {"#Acc_Main_Quickcopy", K::AccessName, 0, 0, "Code kopieren"},
    {"#Acc_Main_Setting", K::AccessName, 0, 0, "Einstellungen"},
    {"#Acc_Main_Help", K::AccessName, 0, 0, "Hilfe"},
    {"#Acc_Main_Info", K::AccessName, 0, 0, "Programm-Info"},
    {"#Acc_InfoMenu", K::AccessName, 0, 0, "Info-Menü"},
    {"#Acc_IndexTree", K::AccessName, 0, 0, "Themen-Index"},
    {"#Acc_MatchList", K::AccessName, 0, 0, "Treffer"},
    {"#Acc_Main_EdDescript", K::AccessName, 0, 0, "Beschreibung"},
    {"#Acc_CodeView", K::AccessName, 0, 0, "Code"},
    {"#Acc_Cnf_DbChoose", K::AccessName, 1, 0, "Datenbank wählen"},
    {"#Acc_Cnf_LibChoose", K::AccessName, 1, 0, "Library-Ordner wählen"},
    {"#Acc_Cnf_Apply", K::AccessName, 1, 0, "Pfade übernehmen"},
    {"#Acc_Cnf_FontSize", K::AccessName, 1, 0, "Schriftgröße"},
    {"#Acc_Cnf_Cancel", K::AccessName, 1, 0, "Abbrechen"},
    {"#Acc_Cnf_OkSave", K::AccessName, 1, 0, "Speichern"},
    {"#Acc_DbA_ToDb", K::AccessName, 2, 0, "Library-Ordner öffnen"},
    {"#Acc_DbA_CopyFile", K::AccessName, 2, 0, "Code-Pfad kopieren"},
    // Message boxes and window titles, with the program's English texts built in.
    {"#Msg_NoHelpFile", K::Message, 0, 0, "No help-file found."},
    {"#Msg_Sorry", K::Message, 0, 0, "Sorry"},
    {"#Msg_HelpFileMissing", K::Message, 0, 0, "seems the helpfile can't be found."},
    {"#Msg_NoDatabase", K::Message, 0, 0, "No database selected. Programm canceled!"},
    {"#Msg_DatabaseUnopenable", K::Message, 0, 0, "The database '%s' cannot be opened."},
    {"#Msg_XmlError", K::Message, 0, 0, "Error in the XML file:\rMessage: %s\rLine: %s   Character: %s"},
    {"#Msg_IniNotUpdated", K::Message, 0, 0, "*.ini-file couldn't be updatet!"},
    {"#Msg_NoMainWindow", K::Message, 0, 0, "Main-Window couldn't be created!"},
    {"#Msg_MissingFile", K::Message, 0, 0, "Missing file:\n%s\n\nCheck library-path in settings:\n%s"},
    {"#Msg_FileType", K::Message, 0, 0, "File type '%s' not supported!\nNot loaded!"},
    {"#Msg_ChooseDatabase", K::Message, 0, 0, "Choose database '%s' ..."},
    {"#Msg_ChooseLibrary", K::Message, 0, 0, "Choose Library-Main-Path ..."},
    {"#Msg_WinSettings", K::Message, 0, 0, "Linux VL-ZEZ-Ovidozo-Vivara - Settings"},
    {"#Msg_WinDbInfo", K::Message, 0, 0, "About: current Database & File"},
    {"#Msg_WinUpdate", K::Message, 0, 0, "Veldra-Linux-API-Viewer: Update check"},
};

std::string fillMessage(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  const std::string_view* value = values.begin();
  for (size_t i = 0; i < text.size(); ++i) {
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '\\' && (next == 'n' || next == 'r')) {
      out += next == 'n' ? '\n' : '\r';
      ++i;
    } else if (text[i] == '%' && next == 's' && value != values.end()) {
      out += *value++;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

const char* germanUiText(std::string_view key, bool tooltip) {
  for (const UiText& t : kUiTexts) {
    if (key == t.key && (t.kind == UiTextKind::Tooltip) == tooltip) return t.german;
  }
  return nullptr;
}

// Icon buttons get a short name of their own and their tooltip as description;
// fields beside a caption are named and labelled by it. Menu items, check boxes and
// labelled buttons are named by their own labels, the about dialog by GTK. A new
// control gets its row here (a widget without a gadget number also needs its entry
// in kNamedWidgets of gui/accessible_names.cpp) and its "#Acc_" text above.
const AccessName kAccessNames[] = {
    {"Main_NodeToggle", "#Acc_Main_NodeToggle", nullptr, true},
    {"Main_FindNext", "#Acc_Main_FindNext", nullptr, true},
    {"Main_Find", "#Acc_Main_Find", nullptr, true},
    {"AdminButton", "#Acc_AdminButton", nullptr, true},
    {"Main_CbHistory", "#Acc_Main_CbHistory", nullptr, true},
    {"Main_Quickcopy", "#Acc_Main_Quickcopy", nullptr, true},
    {"Main_Setting", "#Acc_Main_Setting", nullptr, true},
    {"Main_Help", "#Acc_Main_Help", nullptr, true},
    {"Main_Info", "#Acc_Main_Info", nullptr, true},
    {"InfoMenu", "#Acc_InfoMenu", nullptr, false},
    {"AdminMenu", "#Acc_AdminButton", nullptr, false},
    {"IndexTree", "#Acc_IndexTree", nullptr, false},
    {"MatchList", "#Acc_MatchList", nullptr, false},
    {"Main_EdDescript", "#Acc_Main_EdDescript", nullptr, true},
    {"CodeView", "#Acc_CodeView", nullptr, false},
    {"Cnf_DbShow", nullptr, "Cnf_LabelDB", true},
    {"Cnf_DbChoose", "#Acc_Cnf_DbChoose", nullptr, true},
    {"Cnf_LibShow", nullptr, "Cnf_LabelLib", true},
    {"Cnf_LibChoose", "#Acc_Cnf_LibChoose", nullptr, true},
    {"Cnf_Apply", "#Acc_Cnf_Apply", nullptr, true},
    {"Cnf_Language", nullptr, "Cnf_LangLabel", true},
    {"Cnf_Fontname", nullptr, "Cnf_LangFont", false},
    {"Cnf_FontSize", "#Acc_Cnf_FontSize", "Cnf_LangFont", false},
    {"Cnf_FontChoose", nullptr, nullptr, true},
    {"Cnf_SearchMode", nullptr, "Cnf_LabelSearch", true},
    {"Cnf_SearchFailHint", nullptr, "Cnf_LabelHint", true},
    {"Cnf_FileNameLen", nullptr, "Cnf_LabelTitle", true},
    {"Cnf_CodeMarking", nullptr, "Cnf_LabelMark", true},
    {"Cnf_Paths2Pref", nullptr, nullptr, true},
    {"Cnf_DyeNews", nullptr, nullptr, true},
    {"Cnf_WinData2Pref", nullptr, nullptr, true},
    {"Cnf_Cancel", "#Acc_Cnf_Cancel", nullptr, true},
    {"Cnf_OkSave", "#Acc_Cnf_OkSave", nullptr, true},
    {"DbA_Db", nullptr, "DbA_LabelDb", false},
    {"DbA_Cont", nullptr, "DbA_LabelCont", false},
    {"DbA_Lib", nullptr, "DbA_LabelLib", false},
    {"DbA_File", nullptr, "DbA_LabelFile", false},
    {"DbA_SrcForm", nullptr, "DbA_LabelSrcForm", false},
    {"DbA_ExeForm", nullptr, "DbA_LabelExeForm", false},
    {"DbA_Top", nullptr, "DbA_LabelTop", false},
    {"DbA_Ent", nullptr, "DbA_LabelEnt", false},
    {"DbA_ToDb", "#Acc_DbA_ToDb", nullptr, true},
    {"DbA_CopyFile", "#Acc_DbA_CopyFile", nullptr, true},
    {"Upt_AnswerGtk2", nullptr, "Upt_LabelAppGtk2", false},
    {"Upt_AnswerGtk3", nullptr, "Upt_LabelAppGtk3", false},
    {"Upt_AnswerXml", nullptr, "Upt_LabelXml", false},
};
const int kAccessNameCount = sizeof(kAccessNames) / sizeof(kAccessNames[0]);
