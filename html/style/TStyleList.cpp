#include "html/style/TStyleList.h"

#include <algorithm>

#include "html/style/StyleSheetParser.h"
#include "html/style/TElementFacts.h"
#include "html/style/TSelectorMatcher.h"
#include "html/parse/TAttributeList.h"

TColor PaletteRelative(TColor color)
{
    if (color == ClNone || IsSystemColor(color))
        return color;
    return color | ClPaletteFlag;
}

// ---------------------------------------------------------------- selectors

TSimpleSelector TSimpleSelector::parse(std::string_view text)
{
    TSimpleSelector result;
    std::string_view* part = &result.tag;
    size_t begin = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '.';
        if (c != '.' && c != '#' && c != ':')
            continue;
        if (i > begin)
            *part = text.substr(begin, i - begin);
        part = c == '.' ? &result.cls : c == '#' ? &result.id : &result.pseudo;
        begin = i + 1;
    }
    return result;
}

namespace {
bool IsClassSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
} // namespace

std::vector<std::string_view> ClassNames(std::string_view classes)
{
    std::vector<std::string_view> names;
    size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && IsClassSeparator(classes[i]))
            ++i;
        size_t start = i;
        while (i < classes.size() && !IsClassSeparator(classes[i]))
            ++i;
        std::string_view name = classes.substr(start, i - start);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

bool ClassListHas(std::string_view classes, std::string_view cls)
{
    for (size_t at = classes.find(cls); at != std::string_view::npos; at = classes.find(cls, at + 1)) {
        const size_t end = at + cls.size();
        if ((at == 0 || IsClassSeparator(classes[at - 1])) && (end == classes.size() || IsClassSeparator(classes[end])))
            return true;
    }
    return false;
}

bool TSimpleSelector::matches(const TProperties& props) const
{
    return (tag.empty() || tag == props.tag()) && (cls.empty() || ClassListHas(props.cls(), cls)) &&
           (id.empty() || id == props.id()) && (pseudo.empty() || pseudo == props.pseudo());
}

namespace {

// A descendant key: the element part, a space, the ancestor count and the
// ordinal as digits, then the ancestors nearest first, each ended by a space.
void SplitDescendantKey(std::string_view key, std::string_view& element, std::vector<std::string_view>& ancestors)
{
    size_t space = key.find(' ');
    element = key.substr(0, space);
    std::string_view rest = key.substr(space + 1);
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
        ++digits;
    rest.remove_prefix(digits);
    while (!rest.empty()) {
        size_t end = rest.find(' ');
        std::string_view word = rest.substr(0, end);
        if (!word.empty())
            ancestors.push_back(word);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
}

} // namespace

// ---------------------------------------------------------------- the list

void TStyleList::changed() { FGeneration = ++StyleModule().nextStamp; }

void TStyleList::clear()
{
    changed();
    FDescendants.clear();
    FRules.clear();
    FRuleCount = 0;
    FNamedIds.clear();
    FSelectorRules.clear();
    FGroupOfSelector.clear();
    FSelectorGroups.clear();
    FSelectorCount = 0;
    FReadsLinkState = false;
    FNeedsFacts = false;
    FNeedsLater = false;
    FStylesRoot = false;
    FAuthorStart = 0;
    FDefaultsDone = false;
    FWidthQueries.clear();
    FMediumDependent = false;
    FCounter = 10;
    FHoverUsed = false;
}

std::string TStyleList::nextOrdinal() { return std::to_string(FCounter++); }

namespace {
// Keys of the newer selector kinds start with this byte, which no selector
// text holds, then an ordinal that keeps them apart, a space and the selector.
constexpr char SelectorKeyMark = '\x01';
} // namespace

std::optional<std::string> TStyleList::selectorKey(std::string_view selector)
{
    if (!TSelector::parse(selector))
        return std::nullopt;
    std::string key(1, SelectorKeyMark);
    key += nextOrdinal();
    key += ' ';
    key += selector;
    return key;
}

namespace {

bool ReadsLinkState(const TCompoundSelector& compound)
{
    for (const TPseudoTest& test : compound.pseudos) {
        if (test.kind == TPseudoClass::Link || test.kind == TPseudoClass::Visited || test.kind == TPseudoClass::Hover)
            return true;
        if (test.negated && ReadsLinkState(*test.negated))
            return true;
    }
    return false;
}

// The most telling part of the element part: its ID, a class, its tag, or
// an attribute it must have; "*" when it names none of them.
std::string BucketOf(const TCompoundSelector& subject)
{
    return !subject.id.empty()           ? "#" + subject.id
           : !subject.classes.empty()    ? "." + subject.classes[0]
           : !subject.attributes.empty() ? subject.tag + "[" + subject.attributes[0].name
           : !subject.tag.empty()        ? subject.tag
                                         : "*";
}

} // namespace

void TStyleList::indexSelectorRule(std::string_view key, TStyleRule& rule)
{
    const std::string_view text = key.substr(key.find(' ') + 1);
    if (auto known = FGroupOfSelector.find(text); known != FGroupOfSelector.end()) {
        rule.selector = known->second->selector;
        rule.specificity = rule.selector->specificity();
        known->second->rules.push_back(&rule);
        ++FSelectorCount;
        return;
    }
    auto selector = TSelector::parse(text);
    if (!selector)
        return;
    rule.selector = std::make_shared<const TSelector>(std::move(*selector));
    rule.specificity = rule.selector->specificity();
    FStylesRoot = FStylesRoot || Contains(key, "html") || Contains(key, ":root");
    FNeedsFacts = FNeedsFacts || rule.selector->needsFacts();
    FNeedsLater = FNeedsLater || rule.selector->needsLaterSiblings();
    for (const TCompoundSelector& compound : rule.selector->compounds()) {
        if (!compound.id.empty())
            FNamedIds.emplace(compound.id);
        FReadsLinkState = FReadsLinkState || ReadsLinkState(compound);
    }
    auto group = std::make_unique<TSelectorGroup>();
    group->selector = rule.selector;
    group->rules.push_back(&rule);
    FSelectorRules[BucketOf(rule.selector->subject())].push_back(group.get());
    FGroupOfSelector.emplace(std::string(text), group.get());
    FSelectorGroups.push_back(std::move(group));
    ++FSelectorCount;
}

void TStyleList::matchBucket(std::string_view bucket, const TSelectorMatcher& matcher, const TAncestorFilter& ancestry,
                             std::vector<const TStyleRule*>& out) const
{
    auto found = FSelectorRules.find(bucket);
    if (found == FSelectorRules.end())
        return;
    for (const TSelectorGroup* group : found->second)
        if (ancestry.mayHold(group->selector->ancestorKeys()) && matcher.matches(*group->selector))
            out.insert(out.end(), group->rules.begin(), group->rules.end());
}

void TStyleList::matchSelectors(const TSelectorMatcher& matcher, const TAncestorFilter& ancestry, std::string_view tag,
                                std::string_view cls, std::string_view id, std::vector<const TStyleRule*>& out) const
{
    if (FSelectorRules.empty())
        return;
    // One buffer for the bucket names: an element tries several.
    std::string bucket;
    auto tryBucket = [&](char mark, std::string_view name) {
        bucket.assign(1, mark);
        bucket += name;
        matchBucket(bucket, matcher, ancestry, out);
    };
    matchBucket("*", matcher, ancestry, out);
    if (!tag.empty())
        matchBucket(tag, matcher, ancestry, out);
    if (!id.empty())
        tryBucket('#', id);
    for (std::string_view name : ClassNames(cls))
        tryBucket('.', name);
    const TElementFacts* facts = matcher.facts();
    if (!facts)
        return;
    for (size_t i = 0; i < facts->attributes.size(); ++i) {
        const std::string& name = facts->attributes[i].first;
        // An attribute written twice is one attribute to the selectors.
        bool seen = false;
        for (size_t k = 0; k < i && !seen; ++k)
            seen = facts->attributes[k].first == name;
        if (seen)
            continue;
        tryBucket('[', name);
        if (!tag.empty()) {
            bucket.assign(tag);
            (bucket += '[') += name;
            matchBucket(bucket, matcher, ancestry, out);
        }
    }
}

bool TStyleList::mediaApplies(std::string_view list)
{
    TMediaVerdict verdict = EvaluateMediaList(list, FMedia);
    if (!FMediumDependent) {
        TMediaContext other = FMedia;
        other.print = !other.print;
        FMediumDependent = EvaluateMediaList(list, other).applies != verdict.applies;
    }
    if (verdict.widthDependent) {
        bool known = false;
        for (const auto& [text, applied] : FWidthQueries)
            known = known || text == list;
        if (!known)
            FWidthQueries.emplace_back(std::string(list), verdict.applies);
    }
    return verdict.applies;
}

bool TStyleList::mediaChangesAt(int width) const
{
    TMediaContext other = FMedia;
    other.width = width;
    for (const auto& [text, applied] : FWidthQueries)
        if (EvaluateMediaList(text, other).applies != applied)
            return true;
    return false;
}

TProperties& TStyleList::add(std::string_view key, std::unique_ptr<TProperties> props)
{
    auto owned = std::make_unique<TStyleRule>();
    TStyleRule& added = *owned;
    added.props = std::move(props);
    added.order = FAdded++;
    changed();
    auto it = FRules.find(key);
    if (it == FRules.end())
        it = FRules.emplace(std::string(key), std::vector<std::unique_ptr<TStyleRule>>()).first;
    it->second.push_back(std::move(owned));
    ++FRuleCount;
    if (key.starts_with(SelectorKeyMark)) {
        indexSelectorRule(it->first, added);
        return *added.props;
    }
    added.specificity = SpecificityOfKey(key);
    FStylesRoot = FStylesRoot || Contains(key, "html");
    auto nameId = [this](std::string_view id) {
        if (!id.empty())
            FNamedIds.emplace(id);
    };
    nameId(TSimpleSelector::parse(it->first.substr(0, it->first.find(' '))).id);
    if (it->first.find(' ') != std::string::npos) {
        std::string_view element;
        SplitDescendantKey(it->first, element, added.ancestors);
        for (std::string_view text : added.ancestors) {
            added.ancestorSelectors.push_back(TSimpleSelector::parse(text));
            const TSimpleSelector& a = added.ancestorSelectors.back();
            nameId(a.id);
            added.ancestorKeys.add(TAncestorFilter::TKey::Tag, a.tag);
            added.ancestorKeys.add(TAncestorFilter::TKey::Class, a.cls);
            added.ancestorKeys.add(TAncestorFilter::TKey::ID, a.id);
        }
        if (!added.ancestors.empty())
            FDescendants[std::string(element)].push_back(&added);
    }
    return *added.props;
}

const std::vector<std::unique_ptr<TStyleRule>>& TStyleList::rulesUnder(std::string_view key) const
{
    static const std::vector<std::unique_ptr<TStyleRule>> None;
    auto it = FRules.find(key);
    return it == FRules.end() ? None : it->second;
}

TProperties* TStyleList::firstUnder(std::string_view key) const
{
    const auto& rules = rulesUnder(key);
    return rules.empty() ? nullptr : rules.front()->props.get();
}

TProperties& TStyleList::findOrAdd(std::string_view selector)
{
    changed(); // the caller changes what it finds
    // The document's rules get sets of their own beside the default sheet's,
    // which every one of them wins over.
    if (const auto& rules = rulesUnder(selector); !rules.empty()) {
        TStyleRule& latest = *rules.back();
        if (!FDefaultsDone || !isDefaultRule(latest))
            return *latest.props;
    }
    return add(selector, std::make_unique<TProperties>());
}

const TProperties* TStyleList::find(std::string_view key) const
{
    const auto& rules = rulesUnder(key);
    return rules.empty() ? nullptr : rules.back()->props.get();
}

void TStyleList::forEachUnder(std::string_view key, const std::function<void(const TProperties&)>& apply) const
{
    for (const auto& rule : rulesUnder(key))
        apply(*rule->props);
}

void TStyleList::forEachRuleUnder(std::string_view key, const std::function<void(const TStyleRule&)>& apply) const
{
    for (const auto& rule : rulesUnder(key))
        apply(*rule);
}

void TStyleList::forEachDescendantRule(std::string_view elementKey,
                                       const std::function<void(const TStyleRule&)>& apply) const
{
    auto found = FDescendants.find(elementKey);
    if (found != FDescendants.end())
        for (const TStyleRule* rule : found->second)
            apply(*rule);
}

void TStyleList::addCopy(std::string_view selector, const TProperties& props)
{
    auto copy = std::make_unique<TProperties>();
    copy->copyValuesFrom(props);
    add(selector, std::move(copy));
}

void TStyleList::setLinkColor(std::string_view pseudo, TColor color)
{
    if (TProperties* set = firstUnder("::" + std::string(pseudo))) {
        set->setValue(piColor, int(color));
        changed();
    }
}

void TStyleList::addProperty(std::string_view selector, std::string_view name, std::string_view value,
                             TPriority priority)
{
    const int index = PropertyIndex(name);
    if (index < 0) {
        if (name.starts_with("--") || IsShorthandName(name))
            findOrAdd(selector).addDeferred(name, value);
        return;
    }
    TProperties& set = findOrAdd(selector);
    if (!set.acceptsDeclaration(index, priority))
        return;
    if (priority == TPriority::Important)
        set.markImportant(index);
    if (index == piColor && !IsCascadeKeyword(value) && !Contains(value, "var(")) {
        auto color = ParseColor(value);
        if (!color)
            return;
        set.setValue(piColor, int(*color));
        // A link colour also colours the visited and hover states unless they say otherwise later.
        if (selector == ":link") {
            setLinkColor("hover", *color);
            setLinkColor("visited", *color);
        } else if (selector == ":visited") {
            setLinkColor("hover", *color);
        }
    } else {
        set.storeDeclaration(index, value, TBadColor::Keep);
    }
    if (selector.find(":hover") != std::string_view::npos)
        FHoverUsed = true;
    if (selector == "a")
        addProperty("::link", name, value, priority);
}

// ---------------------------------------------------------------- default sheet

void TStyleList::initializeDefaults(const TStyleDefaults& d)
{
    clear();
    FMedia.width = d.viewportWidth;
    FMedia.height = d.viewportHeight;
    FMedia.print = d.print;
    FMedia.emPixels = d.defaultFontSize * 96 / 72;
    // Every document load passes here before its tags are read: the attribute
    // list's STYLE attributes are parsed by us.
    TAttributeList::SetInlineStyleParser(NewInlineStyleProperties);
    // The screen's fonts may have changed since the last document.
    StyleModule().resolvedFamilies.clear();
    StyleModule().defaultFontSize = d.defaultFontSize;
    StyleModule().rootFontSize = d.defaultFontSize;
    StyleModule().zoom = std::clamp(d.zoom, 10, 1000);
    const double D = d.defaultFontSize;
    auto set = [this](std::string_view key) -> TProperties& { return findOrAdd(key); };
    auto text = [](TProperties& p, int index, std::string_view v) { p.setValue(index, std::string(v)); };

    TProperties& def = set("default");
    text(def, piFontFamily, d.fontName);
    def.setValue(piFontSize, D);
    text(def, piFontStyle, "none");
    text(def, piFontWeight, "normal");
    text(def, piTextAlign, "left");
    text(def, piTextDecoration, "none");
    def.setValue(piTextTransform, TransformNone);
    text(def, piFontVariant, "normal");
    def.setValue(piColor, int(d.textColor));
    def.setValue(piMarginTop, d.marginHeight);
    def.setValue(piMarginBottom, d.marginHeight);
    def.setValue(piMarginLeft, d.marginWidth);
    def.setValue(piMarginRight, d.marginWidth);
    def.setValue(piVisibility, VisibilityVisible);
    def.setValue(piLetterSpacing, 0);
    def.setCharacterSet(d.charset);

    TProperties& link = set("::link");
    link.setValue(piColor, int(PaletteRelative(d.linkColor)));
    text(link, piTextDecoration, d.underlineLinks ? "underline" : "none");
    set("::visited").setValue(piColor, int(PaletteRelative(d.visitedColor)));
    set("::hover").setValue(piColor, int(PaletteRelative(d.hoverColor)));
    set("null");

    // The fixed-pitch elements get their smaller size in the cascade, only
    // while their family stays the default one.
    FPreFontName = d.preFontName;
    TProperties& pre = set("pre");
    text(pre, piFontFamily, d.preFontName);
    text(pre, piFontStyle, "none");
    text(pre, piFontWeight, "normal");
    text(pre, piTextDecoration, "none");

    TProperties& p = set("p");
    p.setValue(piMarginTop, DefaultParagraphMargin);
    p.setValue(piMarginBottom, DefaultParagraphMargin);
    set("p 11pre").setValue(piMarginTop, 0);

    for (std::string_view list : {"ul", "ol", "menu", "dir"}) {
        TProperties& l = set(list);
        l.setValue(piMarginLeft, 35);
        text(l, piListStyleType, "blank");
        l.setValue(piMarginTop, DefaultParagraphMargin);
        l.setValue(piMarginBottom, DefaultParagraphMargin);
    }
    TProperties& dl = set("dl");
    dl.setValue(piMarginLeft, 0);
    text(dl, piListStyleType, "none");
    dl.setValue(piMarginTop, 0);
    dl.setValue(piMarginBottom, 0);
    TProperties& dd = set("dd");
    dd.setValue(piMarginLeft, 40);
    dd.setValue(piMarginTop, 0);
    dd.setValue(piMarginBottom, 0);
    TProperties& quote = set("blockquote");
    quote.setValue(piMarginLeft, 35);
    quote.setValue(piMarginTop, DefaultParagraphMargin);
    quote.setValue(piMarginBottom, 14);

    for (std::string_view code : {"code", "tt", "kbd", "samp"})
        text(set(code), piFontFamily, d.preFontName);
    for (std::string_view bold : {"b", "strong", "th"})
        text(set(bold), piFontWeight, "bold");
    text(set("sup"), piFontSize, "75%");
    text(set("sup"), piVerticalAlign, "super");
    text(set("sub"), piFontSize, "75%");
    text(set("sub"), piVerticalAlign, "sub");
    text(set("big"), piFontSize, "1.25em");
    text(set("small"), piFontSize, "0.75em");
    text(set("table"), piTextAlign, "none");
    for (std::string_view italic : {"i", "em", "cite", "var", "address"})
        text(set(italic), piFontStyle, "italic");
    text(set("u"), piTextDecoration, "underline");
    text(set("s"), piTextDecoration, "line-through");
    text(set("strike"), piTextDecoration, "line-through");
    text(set("center"), piTextAlign, "center");
    text(set("caption"), piTextAlign, "center");

    // Our form controls show Unicode text, so text areas use the Unicode font too.
    auto controlFont = [&](TProperties& c) {
        text(c, piFontFamily, "Arial Unicode MS, Arial");
        text(c, piFontSize, "10pt");
        text(c, piFontStyle, "none");
        text(c, piFontWeight, "normal");
        text(c, piTextDecoration, "none");
        c.setValue(piColor, int(d.textColor));
    };
    for (std::string_view control : {"input", "select", "textarea"}) {
        TProperties& c = set(control);
        controlFont(c);
        text(c, piTextAlign, "left");
    }

    // A push button: the controls' font, drawn raised around its content.
    TProperties& button = set("button");
    controlFont(button);
    for (int side : {piBorderStyle, piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle, piBorderLeftStyle})
        text(button, side, "outset");
    for (int side : {piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth})
        button.setValue(side, 2);
    // A mid grey frame, as browsers draw buttons, rather than the text colour.
    if (auto frame = ParseColor("#767676"))
        for (int side : {piBorderColor, piBorderTopColor, piBorderRightColor, piBorderBottomColor, piBorderLeftColor})
            button.setValue(side, int(*frame));
    button.setValue(piPaddingTop, 1);
    button.setValue(piPaddingBottom, 1);
    button.setValue(piPaddingLeft, 6);
    button.setValue(piPaddingRight, 6);
    if (auto face = ParseColor("buttonface"))
        button.setValue(piBackgroundColor, int(*face));

    // Figures are set off like quotations; the other sectioning elements are plain blocks.
    TProperties& figure = set("figure");
    figure.setValue(piMarginLeft, 40);
    figure.setValue(piMarginRight, 40);
    figure.setValue(piMarginTop, DefaultParagraphMargin);
    figure.setValue(piMarginBottom, DefaultParagraphMargin);

    TProperties& hr = set("hr");
    hr.setValue(piMarginLeft, 0);
    hr.setValue(piMarginRight, 0);
    hr.setValue(piMarginTop, 10);
    hr.setValue(piMarginBottom, 10);

    static constexpr double HeadingPoints[6] = {24, 18, 14, 12, 10, 8};
    for (int level = 1; level <= 6; ++level) {
        TProperties& h = set("h" + std::to_string(level));
        h.setValue(piFontSize, D / 12 * HeadingPoints[level - 1]);
        h.setValue(piMarginTop, 19);
        h.setValue(piMarginBottom, 19);
        text(h, piFontWeight, "bold");
    }
    FAuthorStart = FAdded;
    FDefaultsDone = true;
}
