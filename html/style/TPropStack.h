#pragma once
// The builder's property stack: the property sets of the open elements,
// index 0 the document's base set. Each entry remembers the tag it was
// pushed for and the inline box started for it.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "html/style/TElementFacts.h"
#include "html/style/TLaterSiblings.h"
#include "html/style/TProperties.h"
#include "html/style/TStyleList.h"

class TAttributeList;

class TPropStack {
public:
    // Opened elements beyond this many are not stacked (their styles are
    // not applied); absurd nesting must not make every push quadratic.
    static constexpr size_t MaxHeight = 1000;

    void Reset(const TProperties& defaults);
    void ResetEmpty();
    void Clear();
    // A new set for the tag, inheriting from the top, combined with the
    // style list; null when the stack is full. attributes (may be null) are
    // the element's, for the selectors that read them; sourcePos is where
    // its start tag stands (-1: an element the builder makes up).
    TProperties* Push(const TStyleList& styles, const std::string& tag, const std::string& cls, const std::string& id,
                      const TProperties* styleAttribute, const std::u16string& title, const std::string& pseudo,
                      const TAttributeList* attributes = nullptr, int32_t sourcePos = -1);
    // Removes the top entry, pushed only to look at its style, as if it had
    // never been pushed: it is no child of the entry below.
    void Unpush();
    // The top element is an inline one with display: none: nothing inside
    // it is drawn.
    void MarkHiddenInline()
    {
        if (!FEntries.back().hiddenInline)
            ++FHiddenInlines;
        FEntries.back().hiddenInline = true;
    }
    bool InsideHiddenInline() const { return FHiddenInlines > 0; }
    // Text or a line break went into the top element: it is not empty.
    void NoteContent() { FEntries.back().hadContent = true; }
    // Where the stack learns, and recalls, what comes after each element
    // (may be null: nothing is learned).
    void UseLaterSiblings(TLaterSiblings* later) { FLater = later; }
    // Removes the nearest entry pushed for the tag (never the base);
    // answers the inline box index it had, -1 for none or no entry.
    int Pop(const TStyleList& styles, const std::string& tag, bool* found = nullptr);
    // Removes entries from the top until height remain; calls endBox for
    // each inline box index of a removed entry.
    template <typename F> void PopTo(size_t height, F&& endBox)
    {
        while (FEntries.size() > std::max<size_t>(height, 1)) {
            if (FEntries.back().inlineBox >= 0)
                endBox(FEntries.back().inlineBox);
            Close(FEntries.back());
            FEntries.pop_back();
            FRaw.pop_back();
        }
    }
    void SetInlineBox(int index) { FEntries.back().inlineBox = index; }
    TProperties& Top() { return *FEntries.back().props; }
    const std::shared_ptr<TProperties>& TopRef() const { return FEntries.back().props; }
    size_t Height() const { return FEntries.size(); }
    bool Full() const { return FEntries.size() >= MaxHeight; }

private:
    struct Entry {
        std::shared_ptr<TProperties> props;
        std::string tag;
        int inlineBox = -1;
        // The children so far, kept while the sheets read places among siblings.
        std::unique_ptr<TChildRecord> children;
        std::shared_ptr<TElementFacts> facts;
        bool hadContent = false;
        bool hiddenInline = false;
    };
    // The entry's element ends: what comes after its children is known now.
    void Close(Entry& entry);
    std::shared_ptr<TProperties> Combined(const TStyleList& styles, const std::string& tag, const std::string& cls,
                                          const std::string& id, const TProperties* styleAttribute,
                                          const std::u16string& title, const std::string& pseudo,
                                          const std::shared_ptr<const TElementFacts>& facts);
    // The element's facts, recorded as the newest child of the top entry.
    std::shared_ptr<TElementFacts> RecordFacts(const std::string& tag, const std::string& cls, const std::string& id,
                                               const TAttributeList* attributes, int32_t sourcePos);

    std::vector<Entry> FEntries;
    TLaterSiblings* FLater = nullptr;
    int FHiddenInlines = 0;
    // Set once the sheets hold a test of later siblings.
    bool FLearnLater = false;
    std::vector<const TProperties*> FRaw;
    // Sets as the cascade made them, by everything it reads: the element's
    // tag, class, ID and pseudo-class, the parent's stamp (its values and
    // measured sizes, and through it the elements above) and the rules'
    // generation. Siblings in long lists and tables, and their children
    // alike, are combined once. A set is about 2.5 KB; the ones siblings
    // share at any point of a page are few, and more kept saves little
    // (all.html: 50,100 sets combined keeping 512, 52,000 keeping 128).
    static constexpr size_t MaxCombined = 128;
    std::unordered_map<std::string, std::unique_ptr<const TProperties>> FCombined;
    std::unordered_map<std::string, std::unique_ptr<const TProperties>> FOlderCombined;
};
