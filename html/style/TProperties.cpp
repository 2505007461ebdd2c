#include "html/style/TProperties.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/TCanvas.h"
#include "html/style/MonospaceSize.h"
#include "html/style/StyleSheetParser.h"
#include "html/style/TSelectorMatcher.h"
#include "html/style/TStyleList.h"

namespace {

bool IsBoxProperty(int index) { return index >= FirstBoxProp && index <= LastBoxProp; }

// Properties a child does not take from its parent.
bool IsNotInherited(int index)
{
    switch (index) {
    case piBorderStyle: case piBackgroundColor: case piBorderColor: case piBackgroundImage:
    case piBackgroundPosition: case piBackgroundRepeat: case piBackgroundAttachment: case piPosition:
    case piFloat: case piClear: case piPageBreakBefore: case piPageBreakAfter: case piPageBreakInside:
    case piDisplay:
    case piRight: case piBottom: case piMinWidth: case piMaxWidth: case piMinHeight: case piMaxHeight:
    case piBoxSizing: case piOverflow:
        return true;
    default:
        // ---- arrangement properties
        return index >= FirstArrangementProp && index <= LastArrangementProp;
    }
}

std::optional<std::string> LowerText(const TPropValue& value)
{
    if (const std::string* s = AsText(value))
        return LowerCase(Trim(*s));
    return std::nullopt;
}

bool WeightIsBold(const TPropValue& value)
{
    if (const int* i = AsInt(value))
        return *i >= 600;
    const std::string* s = AsText(value);
    if (!s)
        return false;
    std::string w = LowerCase(*s);
    if (Contains(w, "bold"))
        return true;
    int number = 0;
    for (char c : Trim(w)) {
        if (c < '0' || c > '9')
            return false;
        number = std::min(number * 10 + (c - '0'), 100000);
    }
    return !Trim(w).empty() && number >= 600;
}

TColor ColorOf(const TPropValue& value, TColor fallback)
{
    if (const int* i = AsInt(value))
        return TColor(*i);
    if (const std::string* s = AsText(value))
        return ParseColor(*s).value_or(fallback);
    return fallback;
}

TFontStyles StylesOf(const TPropValue& style, const TPropValue& weight, const TPropValue& decoration)
{
    TFontStyles styles = 0;
    if (WeightIsBold(weight))
        styles |= fsBold;
    if (auto s = LowerText(style); s && (*s == "italic" || *s == "oblique"))
        styles |= fsItalic;
    if (auto d = LowerText(decoration)) {
        if (Contains(*d, "underline"))
            styles |= fsUnderline;
        if (Contains(*d, "line-through"))
            styles |= fsStrikeOut;
    }
    return styles;
}

// Font size value in points: a real is already points, text is converted.
double PointsOf(const TPropValue& value, double parentPoints)
{
    if (const double* d = AsReal(value))
        return *d;
    if (const int* i = AsInt(value))
        return *i;
    if (const std::string* s = AsText(value))
        return FontSizeToPoints(*s, parentPoints);
    return parentPoints;
}

int BoxInteger(const TPropValue& value)
{
    if (const int* i = AsInt(value))
        return *i;
    if (const double* d = AsReal(value))
        return std::isfinite(*d) ? int(std::clamp(std::nearbyint(*d), -1.0e8, 1.0e8)) : 0;
    return NotSet;
}

} // namespace

TAlignment AlignmentFromText(std::string_view text)
{
    std::string t = LowerCase(Trim(text));
    if (t == "top") return TAlignment::Top;
    if (t == "middle" || t == "absmiddle" || t == "center") return TAlignment::Middle;
    if (t == "baseline") return TAlignment::Baseline;
    if (t == "bottom") return TAlignment::Bottom;
    if (t == "left") return TAlignment::Left;
    if (t == "right") return TAlignment::Right;
    if (t == "justify") return TAlignment::Justify;
    return TAlignment::None;
}

namespace {

std::string ResolveOnScreen(std::string_view families, TCanvas* screen)
{
    std::string first;
    while (!families.empty()) {
        size_t comma = families.find(',');
        std::string_view entry = Trim(families.substr(0, comma));
        families = comma == std::string_view::npos ? std::string_view() : families.substr(comma + 1);
        entry = Trim(Unquote(entry));
        if (entry.empty())
            continue;
        std::string lower = LowerCase(entry);
        std::string name(GenericFamilyFont(lower) != lower ? GenericFamilyFont(lower) : entry);
        if (!screen || screen->fontInstalled(name))
            return name;
        if (first.empty())
            first = name;
    }
    // Nothing installed: the platform will substitute for the first name.
    return first.empty() ? std::string("Times New Roman") : first;
}

} // namespace

std::string ResolveFontFamily(std::string_view families)
{
    TStyleModule& module = StyleModule();
    auto& known = module.resolvedFamilies;
    if (auto found = known.find(std::string(families)); found != known.end())
        return found->second;
    std::string resolved = ResolveOnScreen(families, module.screen);
    // Bounded: a document inventing a new list for every element starts afresh.
    if (known.size() >= 1024)
        known.clear();
    known.emplace(std::string(families), resolved);
    return resolved;
}

// ---------------------------------------------------------------- life cycle

TProperties::TProperties()
{
    for (int i = FirstBoxProp; i <= LastBoxProp; ++i)
        FValues[i] = NotSet;
    FValues[piZIndex] = 0;
    FSequence = StyleModule().nextSequence++;
    touch();
}

void TProperties::touch() const { FStamp = ++StyleModule().nextStamp; }

TAncestorFilter ChildAncestry(const TProperties& parent)
{
    TAncestorFilter filter = parent.ancestry();
    filter.add(TAncestorFilter::TKey::Tag, parent.tag());
    filter.addClasses(parent.cls());
    filter.add(TAncestorFilter::TKey::ID, parent.id());
    return filter;
}

void TProperties::takeAncestry(const TProperties& parent) { FAncestry = ChildAncestry(parent); }

void TProperties::placeCopy(const TProperties& parent, std::string_view id)
{
    FID = id;
    takeAncestry(parent);
}

void TProperties::copyCombinedFrom(const TProperties& source)
{
    FValues = source.FValues;
    FSetHere = source.FSetHere;
    FImportant = source.FImportant;
    FTag = source.FTag;
    FClass = source.FClass;
    FID = source.FID;
    FPseudo = source.FPseudo;
    FTitle = source.FTitle;
    FStyleAttribute = source.FStyleAttribute;
    copyDerived(source);
    FFont = source.FFont;
    FIsLink = source.FIsLink;
    FAncestry = source.FAncestry;
    FStamp = source.FStamp;
    FCustom = source.FCustom;
}

TProperties::~TProperties() = default;

void TProperties::setValue(int index, TPropValue value)
{
    FValues[index] = std::move(value);
    dropFont();
}

void TProperties::setBackground(TColor color)
{
    FBackground = color;
    dropFont();
}

void TProperties::copyValuesFrom(const TProperties& source)
{
    FValues = source.FValues;
    FImportant = source.FImportant;
    FDeferred = source.FDeferred ? std::make_unique<TDeclarationList>(*source.FDeferred) : nullptr;
    dropFont();
}

void TProperties::copyDefaultsFrom(const TProperties& defaults)
{
    copyValuesFrom(defaults);
    setCharacterSet(defaults.FCharset);
    FTag = "default";
}

void TProperties::inheritValue(int index, const TProperties& parent, bool spanParent)
{
    // A SPAN's box layout and arrangement values and its float place and
    // arrange the SPAN alone (every one of them is not inherited).
    if (spanParent && index != piFloat && !(index >= FirstLayoutProp && IsNotInherited(index)))
        FValues[index] = index == piBorderStyle ? TPropValue() : parent.FValues[index];
    else if (IsNotInherited(index))
        FValues[index] = TPropValue();
    else if (IsBoxProperty(index))
        FValues[index] = NotSet;
    else
        FValues[index] = parent.FValues[index];
}

void TProperties::copyDerived(const TProperties& source)
{
    FBackground = source.FBackground;
    FCharset = source.FCharset;
    FCodePage = source.FCodePage;
    FEmSize = source.FEmSize;
    FExSize = source.FExSize;
    FLinkFonts = source.FLinkFonts;
}

void TProperties::inheritDerived(const TProperties& parent)
{
    copyDerived(parent);
    dropFont();
}

void TProperties::inherit(const TProperties& parent)
{
    // A SPAN hands on its box properties, so inline elements inside it share them.
    const bool spanParent = parent.FTag == "span";
    for (int i = 0; i < PropCount; ++i)
        inheritValue(i, parent, spanParent);
    FTitle = parent.FTitle;
    FCustom = parent.FCustom;
    inheritDerived(parent);
}

void TProperties::reinherit(const TProperties& parent, const TStyleList& styles, TPropertySpan below)
{
    const bool spanParent = parent.FTag == "span";
    for (int i = 0; i < PropCount; ++i)
        if (!FSetHere[i])
            inheritValue(i, parent, spanParent);
    dropFont();
    if (parent.FLinkFonts)
        FLinkFonts = parent.FLinkFonts;
    else if (!FIsLink)
        FLinkFonts.reset();
    else
        buildLinkFonts(styles, below);
}

void TProperties::assign(int index, TPropValue value)
{
    if (FSetHere[index])
        return;
    if (FLinkFonts && (index == piFontFamily || index == piFontSize || index == piColor))
        writeIntoLinkFonts(index, value);
    FValues[index] = std::move(value);
    FSetHere[index] = true;
    dropFont();
}

void TProperties::setCharacterSet(int charset)
{
    if (charset == 31) {
        FCharset = 238;
        FCodePage = 28592;
    } else {
        int obtained = charset;
        TCanvas* screen = StyleModule().screen;
        if (screen && charset != 1) {
            TFontSpec spec;
            spec.name = "Arial";
            spec.charset = charset;
            obtained = screen->createFont(spec)->metrics().charset;
        }
        FCharset = obtained;
        if (auto page = CodePageOfCharset(obtained))
            FCodePage = *page;
    }
    if (FLinkFonts)
        for (ThtFontInfo& info : ownLinkFonts().Ary)
            info.charset = FCharset;
    dropFont();
}

double TProperties::fontSizePoints() const
{
    return PointsOf(FValues[piFontSize], StyleModule().defaultFontSize);
}

// ---------------------------------------------------------------- declarations

void TProperties::storeDeclaration(int index, std::string_view value, TBadColor badColor)
{
    // Resolved by the cascade, whatever the property.
    if (IsCascadeKeyword(value) || Contains(value, "var(")) {
        setValue(index, std::string(value));
        if (index >= piBorderTopStyle && index <= piBorderLeftStyle)
            setValue(piBorderStyle, std::string(value));
        return;
    }
    auto setSides = [this](int first, const TPropValue& v) {
        for (int side = 0; side < 4; ++side)
            setValue(first + side, v);
    };
    switch (index) {
    case piColor:
        if (auto c = ParseColor(value))
            setValue(index, int(*c));
        else if (badColor == TBadColor::Black)
            setValue(index, 0);
        break;
    case piBackgroundColor:
        setValue(index, int(ParseColor(value).value_or(ClNone)));
        break;
    case piBorderColor:
        if (auto c = ParseColor(value)) {
            setValue(index, int(*c));
            setSides(piBorderTopColor, int(*c));
        }
        break;
    case piBorderTopColor: case piBorderRightColor: case piBorderBottomColor: case piBorderLeftColor:
        if (auto c = ParseColor(value))
            setValue(index, int(*c));
        break;
    case piBorderStyle:
        setValue(index, std::string(value));
        setSides(piBorderTopStyle, std::string(value));
        break;
    case piBorderTopStyle: case piBorderRightStyle: case piBorderBottomStyle: case piBorderLeftStyle:
        setValue(index, std::string(value));
        if (LowerCase(Trim(value)) != "none")
            setValue(piBorderStyle, std::string(value));
        break;
    case piVisibility:
        if (value == "visible")
            setValue(index, VisibilityVisible);
        else if (value == "hidden")
            setValue(index, VisibilityHidden);
        break;
    case piTextTransform:
        setValue(index, value == "uppercase" ? TransformUpper : value == "lowercase" ? TransformLower : TransformNone);
        break;
    case piFontVariant:
        if (value == "small-caps" || value == "normal")
            setValue(index, std::string(value));
        break;
    default:
        setValue(index, std::string(value));
    }
}

void TProperties::setPropertyByName(std::string_view name, std::string_view value, TPriority priority)
{
    int index = PropertyIndex(name);
    if (index < 0 && (name.starts_with("--") || IsShorthandName(name)))
        addDeferred(name, value);
    if (index < 0 || !acceptsDeclaration(index, priority))
        return;
    storeDeclaration(index, value, TBadColor::Black);
    if (priority == TPriority::Important)
        markImportant(index);
}

void TProperties::markImportant(int index)
{
    FImportant[index] = true;
    if (index == piBorderColor)
        for (int side = 0; side < 4; ++side)
            FImportant[piBorderTopColor + side] = true;
    if (index == piBorderStyle)
        for (int side = 0; side < 4; ++side)
            FImportant[piBorderTopStyle + side] = true;
}

// ---------------------------------------------------------------- cascade

TFontInfoArray& TProperties::ownLinkFonts()
{
    if (!FLinkFonts || FLinkFonts.use_count() > 1)
        FLinkFonts = std::make_shared<TFontInfoArray>(FLinkFonts ? *FLinkFonts : TFontInfoArray());
    // Only this set holds it now.
    return const_cast<TFontInfoArray&>(*FLinkFonts);
}

void TProperties::writeIntoLinkFonts(int index, const TPropValue& value)
{
    for (ThtFontInfo& info : ownLinkFonts().Ary) {
        switch (index) {
        case piFontFamily:
            if (const std::string* s = AsText(value))
                info.family = ResolveFontFamily(*s);
            break;
        case piFontSize:
            info.size = PointsOf(value, info.size);
            break;
        case piFontStyle:
        case piFontWeight:
        case piTextDecoration: {
            const TFontStyles mask = index == piFontStyle    ? TFontStyles(fsItalic)
                                   : index == piFontWeight ? TFontStyles(fsBold)
                                                           : TFontStyles(fsUnderline | fsStrikeOut);
            TPropValue none;
            TFontStyles styles = StylesOf(index == piFontStyle ? value : none, index == piFontWeight ? value : none,
                                          index == piTextDecoration ? value : none);
            info.style = TFontStyles((info.style & ~mask) | (styles & mask));
            break;
        }
        case piLetterSpacing:
            info.letterSpacing = value;
            break;
        case piColor:
            info.color = ColorOf(value, info.color);
            break;
        case piBackgroundColor:
            info.background = ColorOf(value, info.background);
            break;
        default:
            break;
        }
    }
}

const std::bitset<PropCount>& TProperties::declared() const
{
    if (FDeclaredStamp != FStamp) {
        FDeclared.reset();
        for (int i = 0; i < PropCount; ++i) {
            const TPropValue& v = FValues[i];
            FDeclared[i] = !IsEmpty(v) && !(IsBoxProperty(i) && AsInt(v) && *AsInt(v) == NotSet);
        }
        FDeclaredStamp = FStamp;
    }
    return FDeclared;
}

void TProperties::applyRule(const TProperties& rule)
{
    // A rule's set holds few values among many empty ones, and is applied
    // to many elements (under big sheets hundreds of rules to each): which
    // ones it holds is found once, and only those are visited.
    const std::bitset<PropCount>& declared = rule.declared();
    for (size_t bit = declared._Find_first(); bit < PropCount; bit = declared._Find_next(bit)) {
        const int i = int(bit);
        const TPropValue& v = rule.FValues[i];
        if (FSetHere[i] && FImportant[i] && !rule.FImportant[i])
            continue;
        FImportant[i] = rule.FImportant[i];
        FSetHere[i] = true;
        const std::string* text = AsText(v);
        if (text && Contains(*text, "var(")) {
            applyVariableValue(i, *text);
            continue;
        }
        // The link fonts already hold the parent's values that "inherit" asks for.
        if (FLinkFonts && !(text && IsCascadeKeyword(*text)))
            writeIntoLinkFonts(i, v);
        FValues[i] = v;
    }
    if (rule.FDeferred)
        applyDeferredShorthands(rule);
    dropFont();
}

void TProperties::applyVariableValue(int index, const std::string& text)
{
    static const TCustomProperties None;
    auto substituted = SubstituteVariables(text, FCustom ? *FCustom : None);
    if (!substituted || !IsUsableDeclaration(index, *substituted)) {
        // Invalid at computed-value time: as if the property were unset.
        FValues[index] = std::string("unset");
        return;
    }
    storeDeclaration(index, *substituted, TBadColor::Keep);
    if (FLinkFonts)
        writeIntoLinkFonts(index, FValues[index]);
}

void TProperties::applyDeferredShorthands(const TProperties& rule)
{
    static const TCustomProperties None;
    for (const auto& [name, value] : *rule.FDeferred) {
        if (name.starts_with("--"))
            continue;
        auto substituted = SubstituteVariables(value, FCustom ? *FCustom : None);
        if (!substituted)
            continue;
        for (const auto& [property, text] : ExpandShorthand(name, *substituted)) {
            const int index = PropertyIndex(property);
            if (index < 0 || !IsUsableDeclaration(index, text) || (FImportant[index] && FSetHere[index]))
                continue;
            storeDeclaration(index, text, TBadColor::Keep);
            FSetHere[index] = true;
        }
    }
}

void TProperties::addDeferred(std::string_view name, std::string_view value)
{
    if (!FDeferred)
        FDeferred = std::make_unique<TDeclarationList>();
    FDeferred->emplace_back(std::string(name), std::string(value));
}

void TProperties::computeCustomProperties(const TProperties* parent, const std::vector<const TStyleRule*>& rules,
                                          const TProperties* styleAttribute)
{
    FCustom = parent ? parent->FCustom : nullptr;
    TDeclarationList declared;
    auto collect = [&declared](const TProperties& set) {
        if (set.FDeferred)
            for (const auto& entry : *set.FDeferred)
                if (entry.first.starts_with("--"))
                    declared.push_back(entry);
    };
    for (const TStyleRule* rule : rules)
        collect(*rule->props);
    if (styleAttribute)
        collect(*styleAttribute);
    if (!declared.empty())
        FCustom = std::make_shared<const TCustomProperties>(ResolveCustomProperties(FCustom.get(), declared));
}

namespace {

// The simple keys of the cascade, in the order they apply. An element with
// several classes tries each class in every step that names a class.
std::vector<std::string> CascadeKeys(std::string_view t, std::string_view classes, std::string_view i,
                                     std::string_view p)
{
    enum : uint8_t { T = 1, C = 2, I = 4, P = 8 };
    static constexpr uint8_t Steps[] = {T, P, C, T | C, T | P, C | P, T | C | P, I, T | I, C | I, I | P,
                                        T | I | P, T | C | I, C | I | P, T | C | I | P};
    const bool linkState = p == "hover" || p == "visited";
    const std::vector<std::string_view> classNames = ClassNames(classes);
    const uint8_t present = uint8_t((t.empty() ? 0 : T) | (classNames.empty() ? 0 : C) | (i.empty() ? 0 : I) |
                                    (p.empty() ? 0 : P));
    std::vector<std::string> keys;
    auto add = [&](uint8_t step, std::string_view c) {
        std::string k;
        if (step & T) k.append(t);
        if (step & C) k.append(".").append(c);
        if (step & I) k.append("#").append(i);
        if (step & P) k.append(":").append(p);
        keys.push_back(std::move(k));
    };
    for (uint8_t step : Steps) {
        if ((step & present) != step || (linkState && (step == T || step == C)))
            continue;
        if (step & C)
            for (std::string_view c : classNames)
                add(step, c);
        else
            add(step, {});
    }
    return keys;
}

// Each ancestor of the rule, nearest first, matches a set further down the
// stack. ancestry holds the keys of the whole stack: a rule naming one it
// lacks cannot match.
bool AncestorsMatch(const TStyleRule& rule, TPropertySpan below, const TAncestorFilter& ancestry)
{
    if (!ancestry.mayHold(rule.ancestorKeys))
        return false;
    size_t level = below.size();
    for (const TSimpleSelector& ancestor : rule.ancestorSelectors) {
        while (level > 0 && !ancestor.matches(*below[level - 1]))
            --level;
        if (level == 0)
            return false;
        --level;
    }
    return true;
}

} // namespace

void TProperties::cascade(const TStyleList& styles, std::string_view tag, std::string_view cls, std::string_view id,
                          const std::shared_ptr<const TProperties>& styleAttribute, std::u16string_view title,
                          std::string_view pseudo, TPropertySpan below,
                          const std::vector<const TStyleRule*>* complexMatches, size_t statesAbove)
{
    const TProperties* parent = below.empty() ? nullptr : below.back();
    FAncestry = TAncestorFilter();
    if (parent) {
        inherit(*parent);
        takeAncestry(*parent);
    }
    FImportant.reset();
    auto apply = [this](const TProperties& rule) { applyRule(rule); };
    if (!pseudo.empty() && tag == "a")
        styles.forEachUnder("::" + std::string(pseudo), apply);

    // Every rule that matches, applied by origin (the default sheet first),
    // then specificity, then the order the rules were written in.
    std::vector<const TStyleRule*> matched;
    auto take = [&matched](const TStyleRule& rule) { matched.push_back(&rule); };
    const std::vector<std::string> keys = CascadeKeys(tag, cls, id, pseudo);
    for (const std::string& key : keys)
        styles.forEachRuleUnder(key, take);
    for (const std::string& key : keys)
        styles.forEachDescendantRule(key, [&](const TStyleRule& rule) {
            if (AncestorsMatch(rule, below, FAncestry))
                take(rule);
        });
    auto before = [&styles](const TStyleRule* a, const TStyleRule* b) { return styles.appliesBefore(*a, *b); };
    std::sort(matched.begin(), matched.end(), before);
    if (complexMatches && std::is_sorted(complexMatches->begin(), complexMatches->end(), before)) {
        // Sorted once for the element and its link states: merged, not sorted again.
        std::vector<const TStyleRule*> simple = std::move(matched);
        matched.resize(simple.size() + complexMatches->size());
        std::merge(simple.begin(), simple.end(), complexMatches->begin(), complexMatches->end(), matched.begin(),
                   before);
    } else if (complexMatches || styles.hasSelectors()) {
        if (complexMatches) {
            matched.insert(matched.end(), complexMatches->begin(), complexMatches->end());
        } else {
            const TPropertySpan ancestors = below.first(below.size() - std::min(statesAbove, below.size()));
            TSelectorMatcher matcher(ancestors, FFacts.get(), tag, cls, id, pseudo);
            styles.matchSelectors(matcher, FAncestry, tag, cls, id, matched);
        }
        std::sort(matched.begin(), matched.end(), before);
    }
    computeCustomProperties(parent, matched, styleAttribute.get());
    for (const TStyleRule* rule : matched)
        applyRule(*rule->props);

    if (styleAttribute)
        applyRule(*styleAttribute);
    resolveInherit(parent, below.empty() ? nullptr : below.front());
    const TMonospaceContext monospace{tag, FValues[piFontFamily], parent ? &parent->FValues[piFontFamily] : nullptr,
                                      bool(FSetHere[piFontSize]), styles.preFontName()};
    if (auto size = MonospaceDefaultSize(monospace, StyleModule().defaultFontSize))
        FValues[piFontSize] = std::move(*size);
    if (AsText(FValues[piFontSize])) {
        double parentPoints = parent && AsReal(parent->FValues[piFontSize]) ? *AsReal(parent->FValues[piFontSize])
                                                                            : StyleModule().defaultFontSize;
        FValues[piFontSize] = FontSizeToPoints(*AsText(FValues[piFontSize]), parentPoints);
    }
    if (tag == "html" && below.size() == 1)
        StyleModule().rootFontSize = fontSizePoints(); // what "rem" stands for
    FTag = tag;
    FClass = cls;
    FID = id;
    FPseudo = pseudo;
    FStyleAttribute = styleAttribute;
    if (!title.empty())
        FTitle = title;
    dropFont();
}

// "inherit" takes the parent's value, also for properties that are not
// inherited by default; "initial" the document's base value for inherited
// properties and none for the others; "unset" the one or the other as the
// property is inherited or not.
void TProperties::resolveInherit(const TProperties* parent, const TProperties* base)
{
    for (int i = 0; i < PropCount; ++i) {
        const std::string* s = AsText(FValues[i]);
        if (!s || !IsCascadeKeyword(*s))
            continue;
        const bool inherited = !IsNotInherited(i) && !IsBoxProperty(i);
        const TProperties* from = *s == "inherit" || (*s == "unset" && inherited) ? parent
                                  : inherited                                   ? base
                                                                                : nullptr;
        if (from && from != this)
            FValues[i] = from->FValues[i];
        else
            FValues[i] = IsBoxProperty(i) ? TPropValue(NotSet) : TPropValue();
    }
}

void TProperties::combine(const TStyleList& styles, std::string_view tag, std::string_view cls, std::string_view id,
                          const TProperties* styleAttribute, std::u16string_view title, std::string_view pseudo,
                          TPropertySpan below, const std::vector<const TStyleRule*>* complexMatches)
{
    // The attribute list replaces its STYLE set with every tag: keep our own copy.
    std::shared_ptr<TProperties> kept;
    if (styleAttribute) {
        kept = std::make_shared<TProperties>();
        kept->copyValuesFrom(*styleAttribute);
    }
    cascade(styles, tag, cls, id, kept, title, pseudo, below, complexMatches);
    // While no selector tests the link states, the link's other states match
    // the rules the link matched.
    if (pseudo == "link")
        buildLinkFonts(styles, below, styles.selectorsReadLinkState() ? nullptr : complexMatches);
}

void TProperties::buildLinkFonts(const TStyleList& styles, TPropertySpan below,
                                 const std::vector<const TStyleRule*>* complexMatches)
{
    auto fonts = std::make_shared<TFontInfoArray>();
    FIsLink = true;
    (*fonts)[lsNormal] = fontInfo();

    // The other states come from sets stacked above the link's own one, as if
    // the link had the other pseudo-classes.
    std::vector<const TProperties*> stack(below.begin(), below.end());
    stack.push_back(this);
    auto stateFont = [&](std::string_view pseudo) {
        auto state = std::make_unique<TProperties>();
        state->FFacts = FFacts;
        state->cascade(styles, FTag, FClass, FID, FStyleAttribute, {}, pseudo, stack, complexMatches,
                       stack.size() - below.size());
        return state;
    };
    auto visited = stateFont("visited");
    (*fonts)[lsVisited] = visited->fontInfo();
    stack.push_back(visited.get());
    (*fonts)[lsHoverVisited] = stateFont("hover")->fontInfo();
    stack.pop_back();
    (*fonts)[lsHover] = stateFont("hover")->fontInfo();
    FLinkFonts = std::move(fonts);
}

// ---------------------------------------------------------------- fonts

ThtFontInfo TProperties::fontInfo() const
{
    ThtFontInfo info;
    const std::string* family = text(piFontFamily);
    info.family = ResolveFontFamily(family ? std::string_view(*family) : std::string_view());
    info.size = fontSizePoints();
    info.style = StylesOf(FValues[piFontStyle], FValues[piFontWeight], FValues[piTextDecoration]);
    info.color = ColorOf(FValues[piColor], 0);
    info.background = FBackground;
    info.charset = FCharset;
    info.letterSpacing = FValues[piLetterSpacing];
    return info;
}

namespace {

TFontMetrics MetricsWithoutScreen(int height)
{
    // No screen to measure on: a plain font without internal leading.
    TFontMetrics m;
    m.descent = height / 5;
    m.ascent = height - m.descent;
    m.height = height;
    m.maxCharWidth = height;
    m.aveCharWidth = height / 2;
    return m;
}

} // namespace

TMyFont TProperties::makeFont() const
{
    const ThtFontInfo info = fontInfo();
    TMyFont font;
    font.name = info.family;
    font.height = FontPixelsOf(info.size);
    font.style = info.style;
    font.color = info.color;
    font.bgColor = info.background;
    font.charset = info.charset;

    TFontMetrics metrics = MetricsWithoutScreen(font.height);
    if (TCanvas* screen = StyleModule().screen) {
        // Asked for by character height, which the canvas takes as a negative height.
        TFontSpec spec{font.name, -font.height, font.style, 1};
        font.font = screen->createFont(spec);
        metrics = font.font->metrics();
        if (metrics.charset == 2) {
            font.charset = 2; // a symbol font keeps its own glyphs
        } else if (info.charset != 1) {
            spec.charset = info.charset;
            font.font = screen->createFont(spec);
            metrics = font.font->metrics();
        }
    } else {
        metrics.charset = info.charset;
    }
    // Children inherit the sizes as measured: a change is a change of the set.
    if (FEmSize != metrics.height - metrics.internalLeading)
        touch();
    FEmSize = metrics.height - metrics.internalLeading;
    FExSize = FEmSize / 2;
    font.fontHeight = metrics.height;
    font.descent = metrics.descent;
    font.externalLeading = metrics.externalLeading;
    font.maxCharWidth = metrics.maxCharWidth;
    font.obtainedCharset = metrics.charset;

    const TPropValue& spacing = info.letterSpacing;
    if (const int* pixels = AsInt(spacing))
        font.charExtra = *pixels;
    else if (const std::string* s = AsText(spacing); s && LowerCase(Trim(*s)) != "normal")
        font.charExtra = LengthToPixels(*s, 0, 0, FEmSize, FExSize);
    return font;
}

TMyFont TProperties::font() const
{
    if (!FFont)
        FFont = std::make_shared<const TMyFont>(makeFont());
    return *FFont;
}

// ---------------------------------------------------------------- box values

TBoxValues TProperties::boxValues(int widthBase, int heightBase, int emSize, int exSize) const
{
    TBoxValues box;
    auto length = [&](const std::string& s, int base, int fallback) {
        return LengthToPixels(s, base, fallback, emSize, exSize);
    };
    auto sideHasStyle = [this](int side) {
        const std::string* style = text(piBorderTopStyle + side);
        auto code = style ? BorderStyleOf(LowerCase(Trim(*style))) : std::nullopt;
        return code && *code != TBorderStyle::None;
    };
    auto& out = box.values;
    for (int i = FirstBoxValue; i <= LastBoxProp; ++i) {
        const TPropValue& v = FValues[i];
        const std::string* s = text(i);
        const int n = s ? 0 : BoxInteger(v);
        int& result = out[i - FirstBoxValue];
        switch (i) {
        case piBackgroundColor:
        case piBorderColor:
            result = s ? int(ParseColor(*s).value_or(ClNone)) : IsEmpty(v) ? int(ClNone) : n;
            break;
        case piMarginTop:
        case piMarginBottom:
            if (s)
                result = length(*s, widthBase, 0);
            else if (n == DefaultParagraphMargin) {
                result = DefaultParagraphMarginPixels;
                (i == piMarginTop ? box.defaultTopMargin : box.defaultBottomMargin) = true;
            } else
                result = n == NotSet ? 0 : n;
            break;
        case piMarginRight:
        case piMarginLeft:
            if (s && LowerCase(Trim(*s)) == "auto") {
                result = AutoValue;
                ++box.autoCount;
            } else
                result = s ? length(*s, widthBase, 0) : n == NotSet ? 0 : n;
            break;
        case piBorderTopWidth: case piBorderRightWidth: case piBorderBottomWidth: case piBorderLeftWidth: {
            const int side = i - piBorderTopWidth;
            if (!sideHasStyle(side))
                result = 0;
            else if (s) {
                std::string w = LowerCase(Trim(*s));
                result = w == "thin" ? 2 : w == "medium" ? 4 : w == "thick" ? 6 : length(*s, widthBase, 0);
            } else
                result = n == NotSet ? 4 : n;
            break;
        }
        case piWidth:
        case piTop:
        case piLeft:
            result = s ? length(*s, widthBase, AutoValue) : n == NotSet ? AutoValue : n;
            if (i == piWidth && result == AutoValue)
                ++box.autoCount;
            break;
        case piHeight:
            if (s) {
                result = length(*s, heightBase, 0);
                if (Contains(*s, "%"))
                    result -= box[piPaddingTop] + box[piPaddingBottom] + box[piBorderTopWidth] + box[piBorderBottomWidth];
            } else
                result = n == NotSet ? 0 : n;
            break;
        default: // paddings, side colours and styles
            result = s ? length(*s, widthBase, 0) : n == NotSet ? 0 : n;
        }
    }
    return box;
}

// ---------------------------------------------------------------- keyword readers

std::optional<TAlignment> TProperties::verticalAlign() const
{
    auto v = LowerText(FValues[piVerticalAlign]);
    if (!v) return std::nullopt;
    if (*v == "top" || *v == "text-top") return TAlignment::Top;
    if (*v == "middle") return TAlignment::Middle;
    if (*v == "baseline") return TAlignment::Baseline;
    if (*v == "bottom") return TAlignment::Bottom;
    if (*v == "sub") return TAlignment::Sub;
    if (*v == "super") return TAlignment::Super;
    return std::nullopt;
}

std::optional<TAlignment> TProperties::floatValue() const
{
    auto v = LowerText(FValues[piFloat]);
    if (!v) return std::nullopt;
    if (*v == "left") return TAlignment::Left;
    if (*v == "right") return TAlignment::Right;
    if (*v == "none") return TAlignment::None;
    return std::nullopt;
}

std::optional<TClear> TProperties::clear() const
{
    auto v = LowerText(FValues[piClear]);
    if (!v) return std::nullopt;
    if (*v == "left") return TClear::Left;
    if (*v == "right") return TClear::Right;
    if (*v == "both") return TClear::Both;
    if (*v == "none") return TClear::None;
    return std::nullopt;
}

std::optional<TAlignment> TProperties::textAlign() const
{
    if (auto v = LowerText(FValues[piTextAlign]))
        return AlignmentFromText(*v);
    return std::nullopt;
}

std::optional<TListStyle> TProperties::listStyleType() const
{
    auto v = LowerText(FValues[piListStyleType]);
    if (!v) return std::nullopt;
    for (size_t i = 0; i < ListStyleNames.size(); ++i)
        if (ListStyleNames[i] == *v)
            return TListStyle(i);
    return std::nullopt;
}

namespace {

std::optional<std::string> UrlOf(const TPropValue& value)
{
    const std::string* s = AsText(value);
    if (!s)
        return std::nullopt;
    std::string_view v = Trim(*s);
    if (LowerCase(v) == "none")
        return std::nullopt;
    size_t open = LowerCase(v).find("url(");
    if (open == std::string_view::npos)
        return std::nullopt;
    v.remove_prefix(open + 4);
    size_t close = v.rfind(')');
    v = Unquote(Trim(v.substr(0, close)));
    if (v.empty())
        return std::nullopt;
    return std::string(v);
}

} // namespace

std::optional<std::string> TProperties::listStyleImage() const { return UrlOf(FValues[piListStyleImage]); }
std::optional<std::string> TProperties::backgroundImage() const { return UrlOf(FValues[piBackgroundImage]); }

TBackgroundPosition TProperties::backgroundPosition() const
{
    TBackgroundPosition pos;
    auto v = LowerText(FValues[piBackgroundPosition]);
    if (!v)
        return pos;
    std::vector<std::string_view> words;
    std::string_view rest = *v;
    while (words.size() < 2) {
        rest = Trim(rest);
        if (rest.empty())
            break;
        size_t space = rest.find(' ');
        words.push_back(rest.substr(0, space));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space);
    }
    if (words.empty())
        return pos;
    const TLengthOrPercent centre{50, true};
    bool xSet = false, ySet = false;
    std::vector<std::string_view> others;
    for (std::string_view w : words) {
        if (w == "left" || w == "right") {
            pos.x = {w == "left" ? 0 : 100, true};
            xSet = true;
        } else if (w == "top" || w == "bottom") {
            pos.y = {w == "top" ? 0 : 100, true};
            ySet = true;
        } else
            others.push_back(w);
    }
    for (std::string_view w : others) {
        TLengthOrPercent part = w == "center" ? centre
                                              : TLengthOrPercent{LengthToPixels(w, 100, 0, FEmSize, FExSize),
                                                                 Contains(w, "%")};
        if (!xSet) {
            pos.x = part;
            xSet = true;
        } else if (!ySet) {
            pos.y = part;
            ySet = true;
        }
    }
    // A single word names the horizontal part (or the vertical one); the other is centred.
    if (words.size() == 1) {
        if (!xSet) pos.x = centre;
        if (!ySet) pos.y = centre;
    }
    return pos;
}

TBackgroundRepeat TProperties::backgroundRepeat() const
{
    auto v = LowerText(FValues[piBackgroundRepeat]);
    if (!v) return TBackgroundRepeat::Both;
    if (*v == "no-repeat") return TBackgroundRepeat::None;
    if (*v == "repeat-x") return TBackgroundRepeat::Horizontal;
    if (*v == "repeat-y") return TBackgroundRepeat::Vertical;
    return TBackgroundRepeat::Both;
}

bool TProperties::backgroundFixed() const { return LowerText(FValues[piBackgroundAttachment]) == "fixed"; }

bool TProperties::isBold() const { return WeightIsBold(FValues[piFontWeight]); }

TPositionType TProperties::position() const
{
    auto v = LowerText(FValues[piPosition]);
    if (v == "absolute") return TPositionType::Absolute;
    if (v == "relative") return TPositionType::Relative;
    return TPositionType::Static;
}

bool TProperties::displayNone() const { return LowerText(FValues[piDisplay]) == "none"; }

int TProperties::visibility() const
{
    const int* v = AsInt(FValues[piVisibility]);
    return v ? *v : VisibilityVisible;
}

int TProperties::zIndex() const
{
    if (const int* v = AsInt(FValues[piZIndex]))
        return *v;
    if (const std::string* s = text(piZIndex))
        return LengthToPixels(*s, 0, 0, FEmSize, FExSize);
    return 0;
}

int TProperties::lineHeight(int fontHeight) const
{
    const TPropValue& v = FValues[piLineHeight];
    if (const int* i = AsInt(v))
        return *i;
    const std::string* s = text(piLineHeight);
    if (!s || LowerCase(Trim(*s)) == "normal")
        return -1;
    // A plain number multiplies the font height; other lengths go against the em size.
    std::string_view t = Trim(*s);
    bool plainNumber = !t.empty() && t.find_first_not_of("0123456789.") == std::string_view::npos;
    if (plainNumber)
        return LengthToPixels(t, fontHeight, -1, FEmSize, FExSize, TUnitless::Multiple);
    return LengthToPixels(t, FEmSize, -1, FEmSize, FExSize, TUnitless::Multiple);
}

std::optional<TLengthOrPercent> TProperties::textIndent() const
{
    if (const int* i = AsInt(FValues[piTextIndent]))
        return TLengthOrPercent{*i, false};
    const std::string* s = text(piTextIndent);
    if (!s)
        return std::nullopt;
    if (Contains(*s, "%"))
        return TLengthOrPercent{LengthToPixels(*s, 100, 0, FEmSize, FExSize), true};
    return TLengthOrPercent{LengthToPixels(*s, FEmSize, 0, FEmSize, FExSize), false};
}

bool TProperties::pageBreakBefore() const { return LowerText(FValues[piPageBreakBefore]) == "always"; }
bool TProperties::pageBreakAfter() const { return LowerText(FValues[piPageBreakAfter]) == "always"; }
bool TProperties::pageBreakInside() const { return LowerText(FValues[piPageBreakInside]) == "avoid"; }

std::string TProperties::fontVariant() const
{
    auto v = LowerText(FValues[piFontVariant]);
    return v ? *v : "normal";
}

bool TProperties::hasVisibleBorder() const
{
    auto v = LowerText(FValues[piBorderStyle]);
    auto code = v ? BorderStyleOf(*v) : std::nullopt;
    return code && *code != TBorderStyle::None;
}

TColor TProperties::ownColor() const
{
    return FSetHere[piColor] ? ColorOf(FValues[piColor], ClNone) : ClNone;
}

TColor TProperties::ownBackgroundColor() const
{
    return FSetHere[piBackgroundColor] ? ColorOf(FValues[piBackgroundColor], ClNone) : ClNone;
}
