#pragma once
// Selection text sinks. Sections append the selected characters of their
// lines; SelTextCount only counts them (to size the buffer), SelTextBuf keeps
// them up to its size, ClipBuffer hands the result to the clipboard.
// The three form one small family and share this header.
#include <functional>
#include <string>
#include <string_view>

class SelTextCount {
public:
    virtual ~SelTextCount() = default;
    virtual void AddText(std::u16string_view text) { FLen += int(text.size()); }
    // The selection continues past a section end, a paragraph or a rule.
    void AddLineBreak() { AddText(u"\n"); }
    int Length() const { return FLen; }

protected:
    int FLen = 0;
};

class SelTextBuf : public SelTextCount {
public:
    explicit SelTextBuf(int size) : FSize(size < 0 ? 0 : size) {}
    void AddText(std::u16string_view text) override;
    const std::u16string& Text() const { return FText; }

private:
    int FSize;
    std::u16string FText;
};

class ClipBuffer : public SelTextBuf {
public:
    using SelTextBuf::SelTextBuf;
    // Sends the collected text to the clipboard callback, if any.
    void CopyToClipboard(const std::function<void(const std::u16string&)>& clipboard) const
    {
        if (clipboard)
            clipboard(Text());
    }
};
