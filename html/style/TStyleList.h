#pragma once
// The document's style rules: selector key -> property set, duplicate
// keys accepted (entries of one key keep the order they were added in).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "html/style/MediaQueries.h"
#include "html/style/TAncestorFilter.h"
#include "html/style/TProperties.h"
#include "html/style/TSelector.h"

class TSelectorMatcher;

// One simple selector: tag, class, ID and pseudo-class, each may be empty.
// The parts point into the selector text.
struct TSimpleSelector {
    std::string_view tag;
    std::string_view cls;
    std::string_view id;
    std::string_view pseudo;
    static TSimpleSelector parse(std::string_view text);
    // Every part the selector names equals the set's (the class is one of
    // the set's space-separated classes).
    bool matches(const TProperties& props) const;
};

struct TStyleRule {
    std::unique_ptr<TProperties> props;
    // For descendant keys: the ancestors' simple selectors, nearest first
    // (views into the key).
    std::vector<std::string_view> ancestors;
    // The same, parsed once, and the keys they name for the quick test.
    std::vector<TSimpleSelector> ancestorSelectors;
    TAncestorFilter ancestorKeys;
    long order = 0; // when the rule was added
    uint32_t specificity = 0;
    // For the newer selector kinds (child and sibling combinators, "*",
    // attributes, structural pseudo-classes): the parsed selector.
    std::shared_ptr<const TSelector> selector;
};

// What the viewer's settings give the default style sheet.
struct TStyleDefaults {
    std::string fontName = "Times New Roman";
    std::string preFontName = "Courier New";
    int marginWidth = 10;
    int marginHeight = 5;
    int charset = 1;
    bool underlineLinks = true;
    TColor hoverColor = 0xFF0000;
    TColor visitedColor = 0x800080;
    TColor linkColor = 0xFF0000;
    TColor textColor = 0;
    double defaultFontSize = 12;
    int zoom = 100; // percent: every font is made this much larger
    // What @media rules and MEDIA attributes are evaluated against.
    int viewportWidth = 800;
    int viewportHeight = 600;
    bool print = false;
};

class TStyleList {
public:
    TStyleList() = default;
    TStyleList(const TStyleList&) = delete;
    TStyleList& operator=(const TStyleList&) = delete;

    void clear();
    void initializeDefaults(const TStyleDefaults& defaults);
    void addProperty(std::string_view selector, std::string_view name, std::string_view value,
                     TPriority priority = TPriority::Normal);
    void addCopy(std::string_view selector, const TProperties& props);
    void setLinkColor(std::string_view pseudo, TColor color);
    std::string nextOrdinal();

    // Every set stored under exactly this key, in the order added.
    void forEachUnder(std::string_view key, const std::function<void(const TProperties&)>& apply) const;
    // The same with the rules themselves.
    void forEachRuleUnder(std::string_view key, const std::function<void(const TStyleRule&)>& apply) const;
    // Descendant rules whose element part is exactly this key.
    void forEachDescendantRule(std::string_view elementKey, const std::function<void(const TStyleRule&)>& apply) const;
    // The rules of the newer selector kinds that match an element.
    // ancestry: the filter of the element's ancestors.
    void matchSelectors(const TSelectorMatcher& matcher, const TAncestorFilter& ancestry, std::string_view tag,
                        std::string_view cls, std::string_view id, std::vector<const TStyleRule*>& out) const;
    bool hasSelectors() const { return FSelectorCount > 0; }
    // Some selector of the newer kinds tests the link states (:link,
    // :visited, :hover): a link's states may then match other rules than
    // the link itself.
    bool selectorsReadLinkState() const { return FReadsLinkState; }
    // Some selector reads attributes or places among siblings: the builder
    // records them for every element.
    bool needsFacts() const { return FNeedsFacts; }
    // Some selector reads later siblings or content (:last-child, :empty).
    bool needsLaterSiblings() const { return FNeedsLater; }
    // Some rule is for the document's root element (html, :root): the
    // property stack then holds one under the body.
    bool stylesRoot() const { return FStylesRoot; }
    // The key a selector of the newer kinds is stored under (each one its
    // own), or nothing when it cannot be matched.
    std::optional<std::string> selectorKey(std::string_view selector);
    // A rule of the default sheet, which every rule of the document's
    // sheets wins over.
    bool isDefaultRule(const TStyleRule& rule) const { return rule.order < FAuthorStart; }
    // The order rules apply in: the default sheet's first, then by
    // specificity, then as written (a total order: no two rules share one).
    bool appliesBefore(const TStyleRule& a, const TStyleRule& b) const
    {
        const bool aDefault = isDefaultRule(a), bDefault = isDefaultRule(b);
        if (aDefault != bDefault)
            return aDefault;
        if (a.specificity != b.specificity)
            return a.specificity < b.specificity;
        return a.order < b.order;
    }
    // The default sheet's fixed-pitch font.
    const std::string& preFontName() const { return FPreFontName; }

    // Media lists: evaluated for the medium the document is laid out for;
    // the ones that read the width are kept to tell whether another width
    // gives other rules.
    const TMediaContext& media() const { return FMedia; }
    bool mediaApplies(std::string_view list);
    bool mediaChangesAt(int width) const;
    bool widthDependent() const { return !FWidthQueries.empty(); }
    // Some media list gives another verdict on the other medium (screen or
    // print), or reads the width: printing must build the document again.
    bool mediumChangesRules() const { return FMediumDependent || widthDependent(); }
    // The set the latest rules under the key went into, or null.
    const TProperties* find(std::string_view key) const;
    const TProperties* defaultProperties() const { return find("default"); }

    // A rule used ":hover": links change colour under the mouse.
    bool hoverUsed() const { return FHoverUsed; }
    void setHoverUsed() { FHoverUsed = true; }
    size_t size() const { return FRuleCount; }
    // Changes whenever a rule is added or changed (unique among all lists),
    // so that sets combined under one state of the rules are not reused
    // under another.
    uint64_t generation() const { return FGeneration; }
    // Whether any rule names the ID, for the element or an ancestor. An ID
    // no rule names changes nothing in the cascade.
    bool namesId(std::string_view id) const { return FNamedIds.find(id) != FNamedIds.end(); }

private:
    TProperties& add(std::string_view key, std::unique_ptr<TProperties> props);
    TProperties& findOrAdd(std::string_view selector);
    // The first set under the key, for the members that change it (and
    // tell changed()).
    TProperties* firstUnder(std::string_view key) const;
    // The rules stored under exactly this key, in the order added.
    const std::vector<std::unique_ptr<TStyleRule>>& rulesUnder(std::string_view key) const;
    void changed();
    void indexSelectorRule(std::string_view key, TStyleRule& rule);

    struct TNameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    // The rules by key, each key's in the order added. The cascade looks up
    // a dozen keys for every element: hashed, not compared along a tree. The
    // nodes stay put, so rules may point into their keys.
    std::unordered_map<std::string, std::vector<std::unique_ptr<TStyleRule>>, TNameHash, std::equal_to<>> FRules;
    size_t FRuleCount = 0;
    // Descendant rules by their element part.
    std::unordered_map<std::string, std::vector<const TStyleRule*>, TNameHash, std::equal_to<>> FDescendants;
    // Rules of the newer selector kinds with the same selector text share one
    // group: the selector is matched once for all of them.
    struct TSelectorGroup {
        std::shared_ptr<const TSelector> selector;
        std::vector<const TStyleRule*> rules;
    };
    using TGroupList = std::vector<const TSelectorGroup*>;
    // Tries the groups of one bucket on the element.
    void matchBucket(std::string_view bucket, const TSelectorMatcher& matcher, const TAncestorFilter& ancestry,
                     std::vector<const TStyleRule*>& out) const;
    std::vector<std::unique_ptr<TSelectorGroup>> FSelectorGroups;
    std::unordered_map<std::string, TSelectorGroup*, TNameHash, std::equal_to<>> FGroupOfSelector;
    // The groups by the ID, a class or the tag of their element part, or an
    // attribute it must have ("*" when it names none of them).
    std::unordered_map<std::string, TGroupList, TNameHash, std::equal_to<>> FSelectorRules;
    size_t FSelectorCount = 0;
    bool FReadsLinkState = false;
    bool FNeedsFacts = false;
    bool FNeedsLater = false;
    bool FStylesRoot = false;
    long FAuthorStart = 0;
    bool FDefaultsDone = false;
    std::string FPreFontName = "Courier New";
    TMediaContext FMedia;
    std::vector<std::pair<std::string, bool>> FWidthQueries; // list, verdict
    bool FMediumDependent = false;
    int FCounter = 10;
    long FAdded = 0;
    bool FHoverUsed = false;
    uint64_t FGeneration = 0;
    std::unordered_set<std::string, TNameHash, std::equal_to<>> FNamedIds;
};

// The names of a CLASS value (a list separated by white space), each once.
std::vector<std::string_view> ClassNames(std::string_view classes);
// Whether a class list holds the class.
bool ClassListHas(std::string_view classes, std::string_view cls);

// A colour as the default sheet stores it: RGB values palette-relative.
TColor PaletteRelative(TColor color);
