#pragma once
// The bookmarks of the run: two parallel lists, descriptions and locations,
// read from the bookmark file at start, appended to on "Add Bookmark" and
// written back whole when the manager is left with "Done".
//
// A file line is the location, one space, the description. Locations are
// written with "%" as "%25" and spaces as "%20", so a path with spaces (common
// here) survives being read back; lines without those sequences, as older
// copies wrote them, read as before.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TBookmarkList {
public:
    struct TEntry {
        std::string Description;
        std::string Location;
    };

    static std::string EncodeLocation(std::string_view location);
    static std::string DecodeLocation(std::string_view location);
    // One file line (without its line end) as a bookmark.
    static TEntry ParseLine(std::string_view line);
    static std::string FormatLine(const TEntry& entry);

    // Replaces the lists with the file's bookmarks; a missing or unreadable
    // file leaves them empty. LF, CR LF and CR all end a line; blank lines are
    // not bookmarks.
    void Read(const std::string& fileName);
    // Appends one line to the file (created when missing), after a line end
    // when the file does not end with one. Raises EWriteError.
    static void AppendToFile(const std::string& fileName, const TEntry& entry);
    // Rewrites the file from the lists, all or nothing. Raises EWriteError.
    void Write(const std::string& fileName) const;

    size_t Count() const { return FEntries.size(); }
    const TEntry& At(size_t index) const { return FEntries[index]; }
    void Append(TEntry entry) { FEntries.push_back(std::move(entry)); }
    void Replace(size_t index, TEntry entry) { FEntries[index] = std::move(entry); }
    void Remove(size_t index);
    // Exchanges the entry with its neighbour; answers the entry's new index
    // (unchanged at either end).
    size_t MoveUp(size_t index);
    size_t MoveDown(size_t index);

private:
    std::vector<TEntry> FEntries;
};
