// Message boxes and requesters go through here, so tests can answer them without a
// modal loop. Without a hook the real GTK dialogs run.
#pragma once

#include <functional>
#include <string>

struct DialogHooks {
  // A message box with an OK button.
  std::function<void(const std::string& title, const std::string& text)> message;
  // A file requester; returns the chosen path or "" when cancelled.
  std::function<std::string(const std::string& title, const std::string& defaultFile, const std::string& pattern)>
      openFile;
  // A folder requester; returns the chosen folder with a trailing "/" or "".
  std::function<std::string(const std::string& title, const std::string& startFolder)> chooseFolder;
  // A font requester; returns the Pango font description text or "".
  std::function<std::string(const std::string& fontDescription)> chooseFont;
  // The about dialog; gets the version and comments text.
  std::function<void(const std::string& version)> about;
};

DialogHooks& dialogHooks();

void messageBox(const std::string& title, const std::string& text);
std::string fileRequester(const std::string& title, const std::string& defaultFile, const std::string& pattern);
std::string folderRequester(const std::string& title, const std::string& startFolder);
std::string fontRequester(const std::string& fontDescription);
