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
};

const char* germanUiText(std::string_view key, bool tooltip) {
  for (const UiText& t : kUiTexts) {
    if (key == t.key && (t.kind == UiTextKind::Tooltip) == tooltip) return t.german;
  }
  return nullptr;
}
