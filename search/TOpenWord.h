#pragma once
// The end of a word the text left open before tags that sit inside words
// ("<b>c</b>at" reads "cat"): a search string may begin there and run on
// into the next text without being spelled out anywhere in the bytes. Only
// as much of the word is kept as could begin a string.
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TOpenWord {
public:
    // The strings are in the form the bytes compare in (upper-cased ASCII
    // unless the case counts) and are borrowed.
    TOpenWord(const std::vector<std::string>& strings, bool caseSense);

    bool IsOpen() const { return !FTail.empty(); }
    size_t Size() const { return FTail.size(); }
    void Close() { FTail.clear(); }
    // The next text, after nothing but tags inside words.
    void Extend(std::string_view text)
    {
        // Most words end in a character no string begins with: nothing is kept.
        if (text.empty() || !FBeginnings.test(static_cast<unsigned char>(Compared(text.back()))))
            FTail.clear();
        else
            Keep(text);
    }
    // Whether a string begins in the open word and goes on into the text.
    bool RunsInto(std::string_view text) const { return !FTail.empty() && JoinMakesString(text); }

private:
    char Compared(char c) const { return FCaseSense || c < 'a' || c > 'z' ? c : char(c - 'a' + 'A'); }
    void Keep(std::string_view text);
    bool JoinMakesString(std::string_view text) const;
    size_t LongestStringStart() const;

    const std::vector<std::string>& FStrings;
    bool FCaseSense;
    size_t FKeep = 0;                // longest string's length less one
    std::bitset<256> FBeginnings;    // characters of the strings but their last
    std::string FTail;               // in comparison form; always a string's beginning
};
