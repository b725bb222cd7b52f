// Starting the desktop's programs detached (the user's editor, the default
// application, the file manager) and the file tests they depend on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Full path of the program to run, "" when not found. A name holding "/" that names
// an executable file is used as it is; one beginning with "/" or "./" is not looked
// up further. Other names are tried in each PATH folder in order.
std::string findProgram(const std::string& name);

// Blanks, tabs and LFs separate arguments; a part beginning with a double quote runs
// to the next double quote (or LF, or the end) and is one argument without the quotes.
std::vector<std::string> splitArguments(std::string_view text);

// The text as one argument for splitArguments: in double quotes when it holds a
// separator. A text that begins with a double quote, holds an LF, or holds a double
// quote and a blank or tab cannot be written this way; startProgramWithArguments
// takes any text as it is.
std::string quoteArgument(const std::string& text);

// Starts the program detached (the program keeps running when the viewer ends and is
// never waited for) in `workingFolder`, or in the viewer's own when that is empty.
// Non-zero when started, 0 when the program was not found or no process could be made.
int startProgram(const std::string& program, const std::string& arguments, const std::string& workingFolder);
int startProgramWithArguments(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& workingFolder);

// 1 when the path names an existing file that is not a folder (empty files count).
int fileExists(const std::string& path);
// 1 when the path names an existing folder.
int isDirectory(const std::string& path);

// Owner execute bit of the path itself; a symbolic link always passes.
bool isOwnerExecutable(const std::string& path);

// A path as an argument for another program: absolute, or with "./" in front, so
// that it never begins with "-" or "+" and is never taken for an option or a command.
std::string pathArgument(const std::string& path);
// False when the code path, taken below the library folder, climbs above it through "..".
bool staysInsideLibrary(std::string_view codePath);
// The full path of a database code path for another program: the library folder
// joined with it as the code view does, or "" when it climbs out of the library.
std::string externalCodePath(std::string_view libraryFolder, std::string_view codePath);

// Hands an existing file to "xdg-open", or to "gnome-open" when that cannot be
// started. 0 when the file does not exist or no opener started.
int openWithDefaultApplication(const std::string& file);

// Opens the shown code file (`fullPath`): in the editor when `editorPath` is set and
// executable, with the default application when no editor is set, not at all when
// the editor is set but not executable or the path is empty. Non-zero when something
// was started. Every path reaches the programs through pathArgument.
int openCodeFile(const std::string& editorPath, const std::string& fullPath);

// Opens the library folder in the file manager: the folder field's text, or the
// program folder when the field is empty, without trailing "/". Nothing happens when
// it is not a folder. Non-zero when an opener was started.
int openLibraryFolder(const std::string& folderFieldText, const std::string& programFolder);
