// The program's version, written once: the about dialog, the update check and the
// --version answers read it here, and the build takes it from this line for the
// package metadata (CMakeLists.txt).
#pragma once

inline constexpr char kProgramVersion[] = "0.25.36";
