#pragma once
#include <string>

// A local file that is not found as written is looked up again ignoring letter
// case, component by component (collections authored on case-insensitive file
// systems link INDEX.HTM as index.htm). Answers the existing path, or the path
// unchanged when nothing matches.
std::string ResolveFileName(const std::string& path);
// True when ResolveFileName finds an existing file or directory.
bool LocalFileExists(const std::string& path);
