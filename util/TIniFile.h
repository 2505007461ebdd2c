#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/Colors.h"

// An INI-style settings file: "[Section]" headers followed by "Key=Value" lines.
// Section and key names match without regard to letter case. Reading never
// fails; a missing or malformed value yields the caller's default.
//
// The file is read and indexed once and read again only when it changed on
// disk (another window or an editor wrote it), so a start-up that reads a
// hundred keys of a large file parses it once.
//
// Each write rewrites the whole file through a temporary file and a rename,
// keeping every other line in its order, so a crash or full disk never leaves
// half a file. A write holds the file's lock (TFileLock) from reading the file
// afresh to the rename, so two windows writing at once lose none of each
// other's keys. A file reached through a symbolic link is written where the
// link points; the link stays.
class TIniFile {
public:
    explicit TIniFile(std::string fileName);
    ~TIniFile();
    TIniFile(TIniFile&&) noexcept;
    TIniFile& operator=(TIniFile&&) noexcept;

    // Names of the temporary files a rewrite makes beside the file.
    static constexpr std::string_view TemporaryPrefix = ".quillon-ini-";
    // Removes the temporaries that killed rewrites left beside this file.
    void RemoveStaleTemporaries() const;
    // Raises EWriteError saying why, when a key (a name the user typed) would
    // read back as something else: one with "=" or a line break in it, one
    // that starts with ";" (a comment) or "[" (a section), or no name at all.
    static void CheckKey(std::string_view key);

    const std::string& fileName() const { return FFileName; }
    bool exists() const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // An empty or unreadable value leaves the colour as given.
    TColor ReadColor(std::string_view section, std::string_view key, TColor def) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;

    // Each raises EWriteError "Unable to write to <file>" when the platform refuses.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteColor(std::string_view section, std::string_view key, TColor value);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    // Key names of a section in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // "Key=Value" lines of a section in file order.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;
    std::vector<std::string> ReadSections() const;

    // Runs writes as one save: the file is locked and read once, changed in
    // memory by every write of writes, and saved once at the end (so a save
    // of many keys does not rewrite a large file many times). When a write
    // fails, nothing of the batch is saved. Reads during the batch see the
    // file as it was before it. Raises what the writes raise.
    template <typename Writes>
    void Batch(Writes&& writes)
    {
        beginBatch();
        try {
            writes();
        } catch (...) {
            abandonBatch();
            throw;
        }
        endBatch();
    }

private:
    struct TContent;
    struct TBatchState;

    const TContent& content() const;
    std::vector<std::string>& linesForWrite();
    void written();
    void saveLines(const std::vector<std::string>& lines) const;
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    void beginBatch();
    void endBatch();
    void abandonBatch();

    std::string FFileName;
    mutable std::unique_ptr<TContent> FContent;
    std::unique_ptr<TBatchState> FBatch;
};

// Parses a whole decimal integer (optionally signed) or "$" + hex; nullopt otherwise.
std::optional<long long> ParseIntegerText(std::string_view text);
