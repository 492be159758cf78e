#pragma once

#include <string>

inline constexpr const char* kServerNameFile = "sname.ini";
inline constexpr std::size_t kServerNameFileLimit = 259;

// The last server name typed, from sname.ini in the current directory. The
// file is created empty when missing; at most 259 characters are read.
std::string LoadServerName();

// Replaces the file's contents with the name; a file that cannot be
// written, or is marked read-only, is left alone.
void SaveServerName(const std::string& name);
