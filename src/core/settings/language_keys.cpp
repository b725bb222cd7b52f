// The key table with the German texts the windows are built with. Some German texts
// carry the program's long-standing spellings; they are kept as users know them.
#include "core/settings/language_keys.h"

using K = LangTextKind;

const LabelTextKey kLabelTextKeys[kLabelTextKeyCount] = {
    {"#Cnf_LabelHint", K::Label, 1, "'Nicht gefunden' Hinweis"},
    {"#Cnf_LabelLib", K::Label, 1, "Library-Pfad (Hauptordner über ButtonGadget, CalenderGadget,...):"},
    {"#Cnf_LabelTitle", K::Label, 1, "Fenstertitel-Inhalt"},
    {"#Cnf_SearchFailHint", K::ComboItems, 1, "Beide Effekte\tFenster-'shake'\tSuchfeld blinkt"},
    {"#Cnf_WinData2Pref", K::CheckBox, 1, "Fensterpos. u. größe mitspeichern"},
    {"#Cnf_DyeNews", K::CheckBox, 1, "Neue Themen m. farb. Schrift (index)"},
    {"#Cnf_LangLabel", K::Label, 1, "Sprache"},
    {"#Cnf_LabelDB", K::Label, 1, "Datenbank-Pfad (*.xml):"},
    {"#Cnf_Frame1", K::Frame, 1, "Pfade (Datenbank) temporär oder dauerhaft ändern ..."},
    {"#Cnf_Frame2", K::Frame, 1, "Programm-Einstellungen ..."},
    {"#DbA_LabelFile", K::Label, 2, "Datei (+ Unterordner):"},
    {"#DbA_LabelEnt", K::Label, 2, "Einträge:"},
    {"#Cnf_LangFont", K::Label, 1, "Zeichensatz für Dateianzeige"},
    {"#Cnf_LabelMark", K::Label, 1, "Editor Code-Hervorhebung"},
    {"#Cnf_Language", K::ComboItems, 1, "German\tEnglish\tFrench"},
    {"#Cnf_FontChoose", K::Button, 1, "Zeichensatz ändern"},
    {"#DbA_LabelDb", K::Label, 2, "Datenbank (xml):"},
    {"#DbA_LabelSrcForm", K::Label, 2, "Code-Format:"},
    {"#Cnf_SearchMode", K::ComboItems, 1,
     "Index + Beschreibung (akt. Sprache)\tNur Index (akt. Sprache)\tIndex + Beschreibung (alle Sprachen)"},
    {"#DbA_LabelTop", K::Label, 2, "Themen:"},
    {"#Cnf_CodeMarking", K::ComboItems, 1, "Reiner Text\tFett, graue Kommentare\tBlau+Fett, graue Kommentare"},
    {"#Cnf_Paths2Pref", K::CheckBox, 1, "Speichert Pfade mit 'Speichern'"},
    {"#DbA_LabelExeForm", K::Label, 2, "Executable-Format:"},
    {"#Cnf_FileNameLen", K::ComboItems, 1, "Nur Dateiname\tUnterordner & Dateiname\tVoller Pfad & Dateiname"},
    {"#DbA_LabelLib", K::Label, 2, "Library (Hauptordner):"},
    {"#DbA_LabelCont", K::Label, 2, "Inhalt:"},
    {"#Cnf_LabelSearch", K::Label, 1, "Suche in"},
    {"#DbA_Frame1", K::Frame, 2, "Datenbank & Library ..."},
    {"#DbA_Frame2", K::Frame, 2, "Gewählte Datei ..."},
    // The update labels end in a blank: the answer field follows right after them.
    {"#Upt_LabelAppGtk2", K::Label, 3, "App-Update gtk2 verfügbar? "},
    {"#Upt_LabelAppGtk3", K::Label, 3, "App-Update gtk3 verfügbar? "},
    {"#Upt_LabelXml", K::Label, 3, "API-Update (Codes & Datenbank) verfügbar? "},
};

const MenuTextKey kMenuTextKeys[kMenuTextKeyCount] = {
    {"#PuInf_OpnCode", 12, "Mit Standard-App öffnen"},
    {"#PuInf_AboutApp", 9, "Über Linux VL-ZEZ-Ovidozo-Vivara ..."},
    {"#PuInf_AboutDb", 10, "Über Datenbank ..."},
    {"#PuInf_IsUpdate", 11, "Auf Updates prüfen ..."},
};

const TooltipTextKey kTooltipTextKeys[kTooltipTextKeyCount] = {
    {"#Cnf_Apply", 1, "Übernimmt (temporär) die Pfade und lädt die Datenbank neu."},
    {"#Cnf_FontChoose", 1, "Öffnet die Zeichensatz-Auswahl."},
    {"#Main_Info", 0, "Öffnet den Programm-Info-Dialog."},
    {"#Cnf_LibChoose", 1,
     "Dateiauswahl für das Library-Hauptverzeichnis, falls nicht identisch mit Viewer-Verzeichnis."},
    {"#Main_NodeToggle", 0, "Öffnet und schließt alle Knoten."},
    {"#Main_Find", 0, "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings."},
    {"#Main_Quickcopy", 0,
     "Kopiert den kompletten Code in die Zwischenablage. Auch Drag&Drop von Indexeinträgen nach VL möglich!"},
    {"#Main_FindNext", 0, "[F3] Sucht nächsten Eintrag (auch [Return] bei Cursor im Eingabefeld."},
    {"#Cnf_SearchMode", 1, "Wählt den Umfang des Suchmodus."},
    {"#DbA_ToDb", 2, "Klick öffnet den Dateimanager mit dem Library-Pfad."},
    {"#Cnf_CodeMarking", 1, "Wählt die Kennzeichnung für Schlüsselwörter. Reiner Text ist 'Aus'."},
    {"#Cnf_Paths2Pref", 1,
     "Ausgewählt werden die Pfadeinstellungen bei 'Speichern' mitgesichert, anders kann temporät "
     "gearbeitet werden."},
    {"#Cnf_FileNameLen", 1, "Wählt den Inhalt (Länge) der Fenster-Titelzeile."},
    {"#Main_EdDescript", 0, "Zeigt eine kurze Beschreibung der Funktion."},
    {"#Cnf_LibShow", 1,
     "Hauptpfad (Hautordner) der Library. Kann leer bleiben falls identisch mit dem "
     "Viewer-Verzeichnis."},
    {"#Main_CbHistory", 0, "Liste aller zuletzt gewählten Code-Dateien."},
    {"#Main_Help", 0, "Öffnet die Programm-Hilfe-Datei im Editor."},
    {"#Cnf_SearchFailHint", 1, "Wählt den Typ für Hinweise bei nicht (weiter) gefundenen Suchbegriffen."},
    {"#Cnf_WinData2Pref", 1,
     "Ausgewählt werden immer die letzte Fensterposition und -größe sowie die Splitterposition "
     "gespeichert."},
    {"#Cnf_DyeNews", 1,
     "Blue Index-Schrift für neue Themen. Ausschalten falls bei dunklen Hintergründen nicht mehr "
     "lesbar."},
    {"#Cnf_DbChoose", 1, "Dateiauswahl für die Datenbank-Datei (xml)"},
    {"#Cnf_OkSave", 1, "Übernimmt und speichert die Einstellungen in der *.ini-Datei."},
    {"#Cnf_Cancel", 1, "Schließt ohne Übernahme der Änderungen."},
    {"#Main_Setting", 0, "Programmeinstellungen & Requester für die Datenbank (xml) und das Library-Oberverzeichnis."},
    {"#DbA_CopyFile", 2, "Klick kopiert den Code-Pfad ins Clipboard."},
    {"#Cnf_DbShow", 1, "Pfad der Datenbank-Datei (xml)."},
    {"#Cnf_Fontname", 1, "Aktuell gewählter Zeichensatz für den Code. Änderung über die Schaltfläche rechts."},
    {"#Cnf_Language", 1, "Wählt die Sprache für den Index und die Beschreibung. Fränzösich ist noch Englisch!"},
};
