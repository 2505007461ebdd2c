#pragma once
// The bookmarks of the run: two parallel lists, descriptions and locations,
// read from the bookmark file at start, appended to on "Add Bookmark" and
// written back whole when the manager is left.
//
// The file may be shared: two program folders pointing at one file, or a user
// editing it while the program runs. The list remembers what the file held
// when it last read or wrote it, so a rewrite can tell the lines others added
// or removed meanwhile from its own changes and keep both (Save).
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
        bool operator==(const TEntry&) const = default;
    };

    static std::string EncodeLocation(std::string_view location);
    static std::string DecodeLocation(std::string_view location);
    // One file line (without its line end) as a bookmark.
    static TEntry ParseLine(std::string_view line);
    static std::string FormatLine(const TEntry& entry);
    // What a bookmark is shown as in the manager and the menu: its
    // description, or the file name of its location when the page had no
    // title.
    static std::string DisplayText(const TEntry& entry);
    // The location to open: a relative location names a file in the program
    // folder (programDir, with its trailing "/"), not one beside whatever
    // document is shown. Absolute paths, locations with a scheme or a drive
    // ("http:", "C:"), macros ("%exedir%") and command words (a bare word
    // such as "HOME") are opened as written.
    static std::string LocationToOpen(std::string_view location, std::string_view programDir);

    // The bookmarks of a file's text. LF, CR LF and CR all end a line; blank
    // lines are not bookmarks.
    static std::vector<TEntry> ParseText(std::string_view text);
    // The lists after a rewrite of a file that changed since it was read:
    // ours, without the bookmarks others removed from the file (unless we
    // changed them), followed by the bookmarks others added (unless we have
    // them already). Bookmarks are the same when their lines are.
    static std::vector<TEntry> Merge(const std::vector<TEntry>& base, const std::vector<TEntry>& theirs,
        const std::vector<TEntry>& ours);

    // Replaces the lists with the file's bookmarks; a missing or unreadable
    // file leaves them empty.
    void Read(const std::string& fileName);
    // Appends the bookmark to the lists and its line to the file (created
    // when missing), after a line end when the file does not end with one.
    // The file gains the whole line or nothing of it. Raises EWriteError after
    // the lists took the bookmark.
    void AppendAndSave(const std::string& fileName, TEntry entry);
    // Rewrites the file from the lists, all or nothing, keeping what others
    // changed in the file since it was read (Merge); the lists then hold what
    // the file holds. Answers whether others' changes came in. Raises
    // EWriteError, leaving file and lists as they were.
    bool Save(const std::string& fileName);

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
    // What the file held when it was last read or written by us.
    std::vector<TEntry> FBase;
};
