#pragma once
// The document collection a page belongs to: the folders whose programs its
// pages may start. This is the one place that says what a collection is.
//
// A collection is made of these folders (each taken as its real path, with
// ".." and symbolic links resolved):
//   - the program folder (where the settings and access files live);
//   - the folder of the document the reader was started on;
//   - the medium of either of those when it is a read-only file system
//     mounted somewhere other than "/" (a CD-ROM holds one collection);
//   - the folder of the home page;
//   - the server root of the asking page (the collection a form answer
//     came from).
// "/" and the folders of PATH are never part of a collection, and no program
// under a PATH folder ever counts as a collection's own.
#include <string>
#include <string_view>
#include <vector>

// Where the collection's folders come from; empty texts are left out.
struct TCollectionPlaces {
    std::string programFolder;
    std::string startDocument;
    std::string homePage; // as the settings hold it ("%exedir%" expanded here)
    std::string serverRoot;
};

class TCollection {
public:
    struct TFolder {
        std::string path; // real path, ending in "/"
        // Set up by whoever installed the reader (program folder and its
        // medium, home page) rather than by what the reader was started on.
        bool published = false;
    };

    static TCollection Of(const TCollectionPlaces& places);

    const std::vector<TFolder>& Folders() const { return FFolders; }
    // The innermost folder holding a real path; empty when none does.
    std::string FolderHolding(std::string_view realPath) const;
    bool Holds(std::string_view realPath) const { return !FolderHolding(realPath).empty(); }
    bool PublishedFolderHolds(std::string_view realPath) const;

    // Adds an existing folder (any form of it); "/" and PATH folders are skipped.
    void AddFolder(std::string_view folder, bool published);

private:
    std::vector<TFolder> FFolders;
};

// The real path of an existing file or folder ("." and ".." removed, symbolic
// links followed); empty when it does not exist. Folders end in "/".
std::string RealPath(std::string_view path);
// Whether a real path is the folder or lies under it (folder ending in "/").
bool PathWithin(std::string_view realPath, std::string_view folder);
// Whether a real path lies in or under one of the folders of PATH: the
// system's programs, which no page may name as its collection's own.
bool InSystemProgramFolder(std::string_view realPath);
