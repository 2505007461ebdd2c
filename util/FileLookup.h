#pragma once
#include <string>

class TFolderListings;

// A local file that is not found as written is looked up again ignoring letter
// case, component by component (collections authored on case-insensitive file
// systems link INDEX.HTM as index.htm). Answers the existing path, or the path
// unchanged when nothing matches. Look-ups made in one go may share the
// folders they read through listings.
std::string ResolveFileName(const std::string& path, TFolderListings* listings = nullptr);
// True when ResolveFileName finds an existing file or directory.
bool LocalFileExists(const std::string& path, TFolderListings* listings = nullptr);
