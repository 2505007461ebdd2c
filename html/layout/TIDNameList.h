#pragma once
// The IDs and anchor names of one document, looked up without regard to ASCII
// case. A character-position target registered by the reader is owned by the
// list; sections and controls registered by layout are only pointed at.
#include "html/layout/Forward.h"
#include "html/layout/TChPosObj.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TIDNameList {
public:
    explicit TIDNameList(TSectionList* document = nullptr) : FDocument(document) {}

    // Registers a character position under `name`, replacing any earlier entry.
    void AddChPosObject(const std::string& name, int32_t pos);
    // Registers a target owned elsewhere, replacing any earlier entry.
    void AddObject(const std::string& name, TIDObject* object);
    // Forgets every entry that points at `object` (a section being freed).
    void RemoveObject(const TIDObject* object);
    // The target of `name`, or null.
    TIDObject* Find(std::string_view name) const;
    // Forgets every entry, freeing the owned ones.
    void Clear()
    {
        FEntries.clear();
        FNamesOf.clear();
    }
    size_t Count() const { return FEntries.size(); }

private:
    struct NoCaseLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct Entry {
        std::unique_ptr<TIDObject> owned;
        TIDObject* object = nullptr;
    };

    // Frees the entry's owned target, if any, and what is known of its names.
    void ForgetOwned(Entry& entry);

    TSectionList* FDocument;
    std::map<std::string, Entry, NoCaseLess> FEntries;
    // The names each target was registered under (some may have been taken
    // over by another since): forgetting a section looks up its own names
    // instead of walking every entry of a long page.
    std::unordered_map<const TIDObject*, std::vector<std::string>> FNamesOf;
};
