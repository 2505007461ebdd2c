#pragma once
// The search page's configuration that the search engine preferences dialog
// edits: section "KOVRA" of the settings file, less the option keys that Save
// Options keeps.
#include <string>

class TIniFile;

struct TSearchSettings {
    std::string Heading = "KOVRA HyperText Information Retrieval System";
    std::string SubHeading = "You may change the default headings by goto OPTIONS | Search Engine Preferences.";
    std::string StartCpt = "Start";
    std::string FileType = "*.htm";
    std::string Directory = DefaultDirectory();   // the user's home directory
    std::string ResultFile = DefaultResultFile(); // "Result_File" as written
    int LocalRF = 1;
    std::string Banner = DefaultBanner();
    bool IncludeSub = true;
    bool HideDir = false;
    bool HideFT = false;
    bool HideAdv = false;
    bool DirRO = false;

    static std::string DefaultDirectory();
    static std::string DefaultResultFile();
    static std::string DefaultBanner();

    // Every key from the file; missing keys keep the defaults above.
    static TSearchSettings Read(const TIniFile& ini);
    // The keys the preferences dialog writes; raises EWriteError when refused.
    void Write(TIniFile& ini) const;
    // Where the results page goes by "Result_File" and "LocalRF".
    std::string ResultPath() const;
};
