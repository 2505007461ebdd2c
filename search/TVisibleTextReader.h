#pragma once
// Reads what a reader sees of a page's (or text file's) bytes a piece at a
// time, so a caller that needs only the start of the text stops early: with
// markup, the text between tags without comments, scripts, styles and the
// title; references decoded; every run of white space one space. The pieces
// put together are the visible text of the whole bytes.
#include <cstddef>
#include <string>
#include <string_view>

class TVisibleTextReader {
public:
    // The bytes are borrowed and must outlive the reader.
    TVisibleTextReader(std::string_view raw, int codePage, bool markup);

    // Appends the visible code points of at least `rawBytes` more bytes (or
    // of all that are left) to text.
    void ReadInto(std::u32string& text, size_t rawBytes);
    bool AtEnd() const { return FPos >= FRaw.size() && FPending.empty(); }
    // Where in the bytes reading goes on (never inside markup), and whether
    // all text read so far has been given out.
    size_t Position() const { return FPos; }
    bool GaveAllRead() const { return FPending.empty(); }
    // Goes on at pos (a place in the text between tags after Position()),
    // leaving the bytes before it unread; the text read next starts a new
    // word. Only when all text read so far has been given out.
    void SkipTo(size_t pos);
    // The whole visible text as UTF-8.
    static std::string AllOf(std::string_view raw, int codePage, bool markup);

private:
    size_t CutPoint(bool atEnd) const;
    void CopyTextUntil(size_t rawEnd);
    void AppendCollapsed(std::string_view decoded, std::u32string& text);

    std::string_view FRaw;
    int FCodePage;
    bool FMarkup;
    size_t FPos = 0;        // the next byte of FRaw to look at, never inside a tag
    std::string FPending;   // text between tags not yet decoded
    bool FSpaceDue = false; // white space seen after the last character given out
};
