#include "html/layout/TSection.h"

#include <algorithm>

#include "gfx/TControls.h"
#include "html/layout/Borders.h"
#include "html/layout/IndentManager.h"
#include "html/layout/SelTextBuf.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TInlineBlockObj.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TextCase.h"

namespace {

bool IsIdeograph(char16_t c) { return c > 0x2FFF; }
bool IsPlaceholder(char16_t c) { return c == ControlChar || c == ImageChar || c == BreakChar; }
bool IsSpace(char16_t c) { return c == u' ' || c == 160; }

} // namespace

// ---------------------------------------------------------------- building

TSection::TSection(TSectionList& document, const TTextStyle& style, const TLinkInfo* link, TFirstLine firstLine)
    : TSectionBase(&document)
{
    Rare().build = std::make_unique<TBuildState>();
    TBuildState& build = *FRare->build;
    build.style = style;
    FBreakWords = style.breakWord;
    FWrapsPreformatted = style.wrapsPreformatted;
    if (link && !link->empty())
        build.link = *link;
    SetRunFont(style, nullptr);
    if (firstLine == TFirstLine::Indented) {
        FirstLineIndent = ClampPixels(style.textIndent);
        FLPercent = int8_t(style.textIndentPercent >= 0 ? std::min(90, style.textIndentPercent) : -1);
    }
    if (!style.id.empty()) {
        document.AddID(style.id, this);
        RegisteredID = true;
    }
    ClearAttr = style.clear;
    Justify = style.align;
    LineHeight = style.lineHeight < 0 ? -1 : ClampPixels(style.lineHeight);
}

TSection::TSection(const TSection& source, TSectionList& target)
    : TSectionBase(source, target), Justify(source.Justify), ClearAttr(source.ClearAttr),
      AnchorName(source.AnchorName), LineHeight(source.LineHeight), FirstLineIndent(source.FirstLineIndent),
      SeqNo(source.SeqNo), FLPercent(source.FLPercent), FUniformBrk(source.FUniformBrk), FClosed(true),
      FBreakWords(source.FBreakWords), FWrapsPreformatted(source.FWrapsPreformatted),
      Buff(source.Buff), SIndex(source.SIndex)
{
    FFonts.Reserve(source.FFonts.Count());
    for (size_t i = 0; i < source.FFonts.Count(); ++i)
        FFonts.Add(source.FFonts[i], *this);
    if (!source.FRare)
        return;
    if (source.FRare->breaks) {
        Rare().breaks = std::make_unique<char[]>(Buff.size());
        std::copy_n(source.FRare->breaks.get(), Buff.size(), FRare->breaks.get());
    }
    for (const auto& img : source.FRare->images)
        Rare().images.push_back(img->Clone(target));
    if (!source.FRare->controls.empty())
        Rare().controls = source.FRare->controls;
}

TSection::~TSection() = default;

TSection::TRare& TSection::Rare()
{
    if (!FRare)
        FRare = std::make_unique<TRare>();
    return *FRare;
}

void TSection::TrimRare()
{
    if (FRare && !FRare->build && !FRare->breaks && FRare->images.empty() && FRare->controls.empty() &&
        FRare->placedFloats.empty() && !FRare->lineBorders)
        FRare.reset();
}

const std::vector<std::unique_ptr<TFloatingObj>>& TSection::Images() const
{
    static const std::vector<std::unique_ptr<TFloatingObj>> none;
    return FRare ? FRare->images : none;
}

const std::vector<TFormControlObj*>& TSection::FormControls() const
{
    static const std::vector<TFormControlObj*> none;
    return FRare ? FRare->controls : none;
}

bool TSection::PlacedFloat(const TFloatingObj* obj) const
{
    return FRare && std::find(FRare->placedFloats.begin(), FRare->placedFloats.end(), obj) != FRare->placedFloats.end();
}

std::unique_ptr<TSectionBase> TSection::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TSection(*this, target));
}

void TSection::AddTabStop(TFontObj& run)
{
    TSectionList* doc = Owner();
    if (!doc || !doc->Controls || doc->ManyLinks || doc->IsCopy || run.Link().tabIndex <= 0)
        return;
    // One stop per link, on its first run.
    if (run.FirstOfLink() != &run && run.FirstOfLink()->TabStop())
        return;
    auto stop = doc->Controls->createTabStop();
    stop->setBounds({-4000, 0, -3999, 1});
    TFontObj* runPtr = &run;
    int linkId = run.Link().id;
    auto markFocused = [doc, linkId](bool focused) {
        for (TFontObj* r : doc->LinkList)
            if (r->Link().id == linkId)
                r->Focused = focused;
    };
    stop->events().onFocus = [doc, runPtr, markFocused] {
        markFocused(true);
        if (doc->Host.focusedAt)
            doc->Host.focusedAt(runPtr->YValue());
    };
    stop->events().onBlur = [doc, markFocused] {
        markFocused(false);
        if (doc->Host.invalidate)
            doc->Host.invalidate();
    };
    stop->events().onKey = [doc, runPtr](int key, TShiftState) {
        if (key != KeyReturn)
            return false;
        if (doc->Host.linkAction)
            doc->Host.linkAction(runPtr->Link());
        return true;
    };
    char key[32];
    std::snprintf(key, sizeof key, "%.5d%.3d", run.Link().tabIndex, int(doc->TabOrderList.size()));
    doc->TabOrderList.emplace(key, stop.get());
    run.SetTabStop(std::move(stop));
}

void TSection::RegisterLinkRun(TFontObj& run)
{
    TSectionList* doc = Owner();
    TFontObj* first = &run;
    if (!doc->LinkList.empty() && doc->LinkList.back()->Link().id == run.Link().id)
        first = doc->LinkList.back()->FirstOfLink();
    run.EnterLinkList(*this, first);
    doc->LinkList.push_back(&run);
    AddTabStop(run);
}

void TSection::RegisterLinks()
{
    if (!Owner())
        return;
    for (size_t i = 0; i < FFonts.Count(); ++i)
        if (FFonts[i].IsLink())
            RegisterLinkRun(FFonts[i]);
}

void TSection::SetRunFont(const TTextStyle& style, const TTextFont* font)
{
    TTextStyle runStyle = style;
    if (font) {
        runStyle.font = *font;
        runStyle.hasLinkFonts = false;
    }
    int pos = int(Buff.size());
    const TLinkInfo& link = Build()->link;
    if (!FFonts.Empty() && FFonts.Last().Pos == pos) {
        TFontObj& run = FFonts.Last();
        run.SetLink(link);
        run.SetStyle(runStyle, Owner()->RunFonts());
        return;
    }
    FFonts.Add(*this, pos, runStyle, &link);
}

void TSection::ChangeFont(const TTextStyle& style)
{
    TBuildState* build = Build();
    if (!build)
        return;
    build->style = style;
    build->smallRun = false;
    SetRunFont(style, nullptr);
}

void TSection::ChangeLink(const TTextStyle& style, const TLinkInfo* link)
{
    TBuildState* build = Build();
    if (!build)
        return;
    build->link = link ? *link : TLinkInfo{};
    ChangeFont(style);
}

void TSection::AppendRaw(char16_t ch, int sourceIndex)
{
    TBuildState& build = *Build();
    Buff.push_back(ch);
    bool keepTogether = build.noBreak || build.style.noWrap || (Preformatted() && !FWrapsPreformatted);
    build.breaks.push_back(keepTogether ? 'n' : 'y');
    build.sourceIndexes.push_back(sourceIndex);
}

void TSection::AddText(std::u16string_view text, std::span<const int> sourceIndexes)
{
    TBuildState& build = *Build();
    const std::vector<int>& known = build.sourceIndexes;
    int src = sourceIndexes.empty() ? (known.empty() ? 0 : known.back() + 1) : sourceIndexes[0];
    Buff.reserve(Buff.size() + text.size());
    const TTextStyle& style = build.style;
    bool& smallRun = build.smallRun;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i < sourceIndexes.size())
            src = sourceIndexes[i];
        else if (i > 0)
            ++src;
        // Control characters in the input would pass for the placeholders
        // (and a stray break inside a line once stalled painting): they
        // show as spaces. Tabs are left to the pre-formatted text.
        char16_t c = text[i] < u' ' && text[i] != u'\t' ? u' ' : text[i];
        if (style.transform == TTextTransform::Upper)
            c = UpperChar(c);
        else if (style.transform == TTextTransform::Lower)
            c = LowerChar(c);
        if (style.smallCaps) {
            bool lower = IsLowerLetter(c);
            bool upper = !lower && LowerChar(c) != c;
            if ((lower && !smallRun) || (upper && smallRun)) {
                smallRun = lower;
                SetRunFont(style, lower ? &style.smallFont : nullptr);
            }
            c = UpperChar(c);
        }
        AppendRaw(c, src);
    }
}

void TSection::AddChar(char16_t ch, int sourceIndex) { AppendRaw(ch, sourceIndex); }

void TSection::AddImage(std::unique_ptr<TFloatingObj> image, int sourceIndex)
{
    if (!image)
        return;
    image->Pos = int(Buff.size());
    // Images are added while the section is being built, inside its current link.
    if (const TBuildState* build = Build(); build && !build->link.empty()) {
        const TTextStyle& style = build->style;
        image->SetLink(build->link, style.hasLinkFonts ? style.linkFonts[0].color : style.font.color);
    }
    AppendRaw(ImageChar, sourceIndex);
    Rare().images.push_back(std::move(image));
}

void TSection::AddFormControl(TFormControlObj* control, int sourceIndex)
{
    if (!control)
        return;
    control->Pos = int(Buff.size());
    AppendRaw(ControlChar, sourceIndex);
    Rare().controls.push_back(control);
}

void TSection::RemoveMarked(const std::vector<char>& remove)
{
    TBuildState& build = *Build();
    std::string& breaks = build.breaks;
    size_t n = Buff.size();
    std::vector<int> newIndex(n + 1);
    size_t out = 0;
    for (size_t i = 0; i < n; ++i) {
        newIndex[i] = int(out);
        if (remove[i])
            continue;
        Buff[out] = Buff[i];
        breaks[out] = breaks[i];
        if (i < build.sourceIndexes.size())
            build.sourceIndexes[out] = build.sourceIndexes[i];
        ++out;
    }
    newIndex[n] = int(out);
    Buff.truncate(out);
    breaks.resize(out);
    build.sourceIndexes.resize(std::min(build.sourceIndexes.size(), out));
    auto map = [&](int p) { return newIndex[size_t(std::clamp(p, 0, int(n)))]; };
    FFonts.Remap(map);
    for (auto& img : Images())
        img->Pos = map(img->Pos);
    for (TFormControlObj* c : FormControls())
        c->Pos = map(c->Pos);
}

void TSection::CloseText()
{
    auto pass = [this](auto&& decide) {
        std::vector<char> remove(Buff.size(), 0);
        bool any = false;
        decide(remove, any);
        if (any)
            RemoveMarked(remove);
    };
    // Leading spaces.
    pass([this](std::vector<char>& r, bool& any) {
        for (size_t i = 0; i < Buff.size() && Buff[i] == u' '; ++i)
            r[i] = any = true;
    });
    // Runs of spaces keep one: the second goes, or the first when it may not break.
    pass([this](std::vector<char>& r, bool& any) {
        size_t kept = std::string::npos;
        for (size_t i = 0; i < Buff.size(); ++i) {
            if (Buff[i] != u' ') {
                kept = std::string::npos;
                continue;
            }
            if (kept == std::string::npos) {
                kept = i;
                continue;
            }
            any = true;
            if (Build()->breaks[kept] == 'n') {
                r[kept] = true;
                kept = i;
            } else {
                r[i] = true;
            }
        }
    });
    // A space after a floating image.
    pass([this](std::vector<char>& r, bool& any) {
        for (size_t i = 1; i < Buff.size(); ++i)
            if (Buff[i] == u' ' && Buff[i - 1] == ImageChar) {
                TFloatingObj* img = ImageAt(int(i - 1));
                if (img && img->Floats())
                    r[i] = any = true;
            }
    });
    // Spaces around forced breaks.
    pass([this](std::vector<char>& r, bool& any) {
        for (size_t i = 0; i < Buff.size(); ++i)
            if (Buff[i] == BreakChar) {
                if (i > 0 && Buff[i - 1] == u' ')
                    r[i - 1] = any = true;
                if (i + 1 < Buff.size() && Buff[i + 1] == u' ')
                    r[i + 1] = any = true;
            }
    });
    // One trailing space, then a trailing break.
    pass([this](std::vector<char>& r, bool& any) {
        if (!Buff.empty() && Buff.back() == u' ')
            r.back() = any = true;
    });
    pass([this](std::vector<char>& r, bool& any) {
        if (Buff.size() > 1 && Buff.back() == BreakChar)
            r.back() = any = true;
    });
}

void TSection::CompressIndexes()
{
    const std::vector<int>& indexes = Build()->sourceIndexes;
    std::vector<TSourceRuns::Run> runs;
    for (size_t i = 0; i < indexes.size(); ++i)
        if (i == 0 || indexes[i] != indexes[i - 1] + 1)
            runs.emplace_back(int(i), indexes[i]);
    SIndex.Assign(runs);
}

void TSection::CompactBreakFlags()
{
    const std::string& breaks = Build()->breaks;
    if (breaks.empty() || breaks.find_first_not_of(breaks[0]) == std::string::npos) {
        FUniformBrk = breaks.empty() ? 'y' : breaks[0];
        FRare->breaks.reset();
    } else {
        FRare->breaks = std::make_unique<char[]>(breaks.size());
        std::copy(breaks.begin(), breaks.end(), FRare->breaks.get());
    }
}

void TSection::Finish()
{
    if (FClosed)
        return;
    FClosed = true;
    if (!Preformatted())
        CloseText();
    CompressIndexes();
    CompactBreakFlags();
    // Runs that cover no character go, except links (a keyboard stop even
    // when empty); pre-formatted text keeps its runs.
    FFonts.Close(int(Buff.size()), [this](const TFontObj& run) { return Preformatted() || run.IsLink(); });
    Buff.shrink_to_fit();
    FRare->build.reset();
    TrimRare();
    if (!Buff.empty() && Owner())
        SeqNo = Owner()->NextTextSequence();
    Len = int(Buff.size());
    // A section the cell drops puts nothing in the document's lists.
    if (!Droppable())
        RegisterLinks();
}

bool TSection::Droppable() const
{
    return !Preformatted() && Buff.empty() && ClearAttr == TClearKind::None && !AnchorName;
}

// ---------------------------------------------------------------- lookups

TFloatingObj* TSection::ImageAt(int index) const
{
    auto it = std::lower_bound(Images().begin(), Images().end(), index,
                               [](const std::unique_ptr<TFloatingObj>& o, int p) { return o->Pos < p; });
    return it != Images().end() && (*it)->Pos == index ? it->get() : nullptr;
}

TFormControlObj* TSection::ControlAt(int index) const
{
    auto it = std::lower_bound(FormControls().begin(), FormControls().end(), index,
                               [](const TFormControlObj* o, int p) { return o->Pos < p; });
    return it != FormControls().end() && (*it)->Pos == index ? *it : nullptr;
}

const LineRec* TSection::LineAtY(int y) const
{
    auto it = std::upper_bound(FLines.begin(), FLines.end(), y, [](int v, const LineRec& l) { return v < l.Y; });
    if (it == FLines.begin())
        return nullptr;
    const LineRec& line = *(it - 1);
    return y < line.Y + line.Height() ? &line : nullptr;
}

const LineRec* TSection::LineOfIndex(int index) const
{
    auto it = std::upper_bound(FLines.begin(), FLines.end(), index, [](int v, const LineRec& l) { return v < l.Start; });
    while (it != FLines.begin()) {
        const LineRec& line = *(it - 1);
        if (line.Ln > 0 || line.Start < index)
            return index <= line.Start + line.Ln ? &line : nullptr;
        --it;
    }
    return nullptr;
}

// ---------------------------------------------------------------- measuring

int TSection::StretchWidth(TCanvas& canvas, int start, int n, TTrailing trailing)
{
    int end = std::min(int(Buff.size()), start + n);
    if (trailing == TTrailing::Skip)
        while (end > start && (Buff[size_t(end - 1)] == u' ' || Buff[size_t(end - 1)] == BreakChar))
            --end;
    long long width = 0;
    int i = start;
    while (i < end) {
        char16_t c = Buff[size_t(i)];
        if (c == ImageChar) {
            if (TFloatingObj* img = ImageAt(i); img && !img->Floats())
                width += img->ObjWidth + img->HSpaceL + img->HSpaceR;
            ++i;
        } else if (c == ControlChar) {
            if (TFormControlObj* ctl = ControlAt(i))
                width += ctl->Width() + ctl->HSpaceL + ctl->HSpaceR;
            ++i;
        } else if (c == BreakChar) {
            ++i;
        } else {
            TFontObj* run = FFonts.GetFontObjAt(i);
            int pieceEnd = i + FFonts.GetFontCountAt(i, end);
            int j = i;
            while (j < pieceEnd && !IsPlaceholder(Buff[size_t(j)]))
                ++j;
            const TFontRef& font = run->FontOn(canvas);
            std::u16string_view piece(Buff.data() + i, size_t(j - i));
            width += font->textWidth(piece) + (long long)run->Font().letterSpacing * (j - i) + run->Overhang();
            i = j;
        }
    }
    return ClampDoc(width);
}

int TSection::JustifyBefore(const LineRec& line, int index) const
{
    if (line.Spaces <= 0 || line.Extra <= 0)
        return 0;
    int last = std::min(index, line.Start + line.Ln - 1);
    int spaces = 0;
    for (int i = line.Start; i < last; ++i)
        if (IsSpace(Buff[size_t(i)]))
            ++spaces;
    int each = line.Extra / line.Spaces, rest = line.Extra % line.Spaces;
    return each * spaces + std::min(spaces, rest);
}

int TSection::CharX(TCanvas& canvas, const LineRec& line, int index)
{
    return line.X + StretchWidth(canvas, line.Start, index - line.Start) + JustifyBefore(line, index);
}

int TSection::IndexAtX(TCanvas& canvas, const LineRec& line, int x, bool middle)
{
    // Binary search for the last character whose left edge (or middle) lies at or left of x.
    int lo = line.Start, hi = line.Start + line.Ln; // answer in [lo, hi]
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        int left = CharX(canvas, line, mid);
        int right = CharX(canvas, line, mid + 1);
        int edge = middle ? left + (right - left) / 2 : right;
        if (x >= edge && (middle ? x > edge : true))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int TSection::FitCount(TCanvas& canvas, int start, int remaining, int nextBreak, int y, bool firstLine,
                       IndentManager& im, std::vector<TFloatingObj*>& deferred)
{
    int limit = remaining;
    bool breakFollows = false;
    if (nextBreak < start + remaining) {
        if (nextBreak == start)
            return 1;
        limit = nextBreak - start;
        breakFollows = true;
    }
    int indent = firstLine ? FirstLineIndent : 0;
    long long room = (long long)im.RightSide(y) - im.LeftIndent(y) - indent;
    if (firstLine && Images().empty() && FormControls().empty()) {
        TFontObj& first = FFonts[0];
        first.FontOn(canvas);
        if (room >= (long long)limit * std::max(1, first.MaxCharWidth()))
            return limit + (breakFollows ? 1 : 0);
    }
    std::vector<int> ownExtents;
    std::vector<int>& extents = Owner() ? Owner()->FitExtents() : ownExtents;
    int count = 0;
    int i = start;
    int end = start + limit;
    while (i < end) {
        char16_t c = Buff[size_t(i)];
        if (c == ImageChar || c == ControlChar) {
            TFloatingObj* img = c == ImageChar ? ImageAt(i) : nullptr;
            if (img && img->Floats()) {
                bool placed = PlacedFloat(img);
                if (!placed && count > 0) {
                    if (std::find(deferred.begin(), deferred.end(), img) == deferred.end())
                        deferred.push_back(img);
                } else if (!placed) {
                    // First on the line: it floats right away, unless other
                    // floats still occupy this height; then the line waits.
                    if (im.NextFloatBottom(y) > y)
                        return count;
                    PlaceFloat(*img, y, im);
                    room = (long long)im.RightSide(y) - im.LeftIndent(y) - indent;
                }
                ++count;
                ++i;
                continue;
            }
            int w = 0;
            if (img)
                w = img->ObjWidth + img->HSpaceL + img->HSpaceR;
            else if (TFormControlObj* ctl = c == ControlChar ? ControlAt(i) : nullptr)
                w = ctl->Width() + ctl->HSpaceL + ctl->HSpaceR;
            if (w > room)
                return count;
            room -= w;
            ++count;
            ++i;
            continue;
        }
        TFontObj* run = FFonts.GetFontObjAt(i);
        // No more than room + 1 characters can fit, so neither the scan for
        // the next object nor the measuring looks further: a line costs what
        // fits on it, not what is left of the paragraph.
        int pieceEnd = i + FFonts.GetFontCountAt(i, int(std::min<long long>(end, i + std::max<long long>(room, 0) + 1)));
        int j = i;
        while (j < pieceEnd && Buff[size_t(j)] != ImageChar && Buff[size_t(j)] != ControlChar)
            ++j;
        int segment = j - i;
        const TFontRef& font = run->FontOn(canvas);
        int avail = int(std::clamp<long long>(room - run->Overhang(), -1, DocumentLimit));
        int fit = avail < 0 ? 0
                            : font->fitCountWithExtra(std::u16string_view(Buff.data() + i, size_t(segment)), avail, &extents,
                                             run->Font().letterSpacing);
        if (fit < segment) {
            count += fit;
            return count;
        }
        room -= (fit > 0 ? extents[size_t(fit - 1)] : 0) + run->Overhang();
        count += fit;
        i += segment;
    }
    return count + (breakFollows ? 1 : 0);
}

void TSection::PlaceFloat(TFloatingObj& obj, int y, IndentManager& im)
{
    Rare().placedFloats.push_back(&obj);
    int w = obj.ObjWidth + obj.HSpaceL + obj.HSpaceR;
    int h = obj.ObjHeight + obj.VSpaceT + obj.VSpaceB;
    obj.FloatY = y;
    if (obj.FloatKind == TFloatKind::Left) {
        int x = im.LeftIndent(y);
        obj.FloatX = x + obj.HSpaceL;
        im.AddLeftFloat(x + w, y, y + h);
    } else {
        int x = im.RightSide(y) - w;
        obj.FloatX = x + obj.HSpaceL;
        im.AddRightFloat(x, y, y + h);
    }
}

// Chooses how many characters of a line starting at start the line takes,
// given that fit of them fit. skipToFloat is set when the line cannot be
// broken here but floats end further down.
int TSection::BreakLine(int start, int fit, int y, IndentManager& im, bool& skipToFloat)
{
    int total = int(Buff.size());
    int last = start + fit - 1;
    int next = start + fit;
    auto swallowSpaces = [&](int n) {
        while (start + n < total && Buff[size_t(start + n)] == u' ')
            ++n;
        return n;
    };
    auto mayBreak = [&](int i) { return MayBreakAt(size_t(i)); };
    char16_t lc = Buff[size_t(last)];
    if ((lc == u' ' || lc == ControlChar || lc == ImageChar) && mayBreak(last))
        return fit;
    if (lc == BreakChar || IsIdeograph(lc))
        return fit;
    char16_t nc = Buff[size_t(next)];
    if (nc == u' ' && mayBreak(next))
        return swallowSpaces(fit);
    if ((nc == ControlChar || nc == ImageChar) && mayBreak(next))
        return fit;
    for (int k = last; k >= start; --k) {
        char16_t c = Buff[size_t(k)];
        bool candidate = c == u' ' || c == ControlChar || c == ImageChar || c == u'-' || c == u'?' || IsIdeograph(c) ||
                         (k + 1 < total && IsIdeograph(Buff[size_t(k + 1)]));
        if (candidate && mayBreak(k))
            return swallowSpaces(k - start + 1);
    }
    if (im.NextFloatBottom(y) > y) {
        skipToFloat = true;
        return 0;
    }
    if (FBreakWords)
        return std::max(1, fit); // the word is cut where the line ends
    // The word overflows the line: it runs to the next break opportunity.
    int p = next;
    for (; p < total; ++p) {
        if (!mayBreak(p))
            continue;
        char16_t prev = Buff[size_t(p - 1)];
        char16_t c = Buff[size_t(p)];
        if (prev == u'-' || prev == u'?' || c == ControlChar || c == ImageChar || c == BreakChar || c == u' ' ||
            IsIdeograph(c))
            break;
    }
    int n = swallowSpaces(p - start);
    if (start + n < total && Buff[size_t(start + n)] == BreakChar)
        ++n;
    return n;
}

void TSection::AddEmptyLine(std::vector<LineRec>& lines, int& y, int height)
{
    LineRec line;
    line.Start = lines.empty() ? 0 : lines.back().Start + lines.back().Ln;
    line.Y = y;
    line.LineHt = 0;
    line.SpaceBefore = height;
    line.LineImgHt = height;
    lines.push_back(line);
    SectionHeight = AddDoc(SectionHeight, height);
    y = AddDoc(y, height);
}

void TSection::FinishLine(TCanvas& canvas, int start, int n, int& y, bool firstLine, bool lastLine,
                          IndentManager& im, std::vector<TFloatingObj*>& deferred, std::vector<LineRec>& lines)
{
    TSectionList* doc = Owner();
    LineRec line;
    line.Start = start;
    line.Ln = n;
    line.Y = y;
    int end = start + n;
    bool onlyPlaceholders = true;
    for (int i = start; i < end && onlyPlaceholders; ++i)
        onlyPlaceholders = IsPlaceholder(Buff[size_t(i)]);
    int t = 0, d = 0;
    if (!onlyPlaceholders) {
        for (size_t r = FFonts.IndexAt(start); r < FFonts.Count() && FFonts[r].Pos < end; ++r) {
            TFontObj& run = FFonts[r];
            run.FontOn(canvas);
            t = std::max(t, run.TextHeight());
            d = std::max(d, run.Descent());
        }
    }
    int above = 0, below = 0;
    if (LineHeight >= 0) {
        above = (LineHeight - t) / 2;
        below = LineHeight - t - above;
    }
    auto fontAtStart = [&]() {
        TFontObj* run = FFonts.GetFontObjAt(start);
        run->FontOn(canvas);
        t = run->TextHeight();
        d = run->Descent();
    };
    auto alignObject = [&](TVAlign align, int g, bool control) {
        switch (align) {
        case TVAlign::Top:
            below = std::max(below, g - t);
            break;
        case TVAlign::Middle: {
            if (t == 0)
                fontAtStart();
            int half = (g - t) / 2;
            below = std::max(below, half);
            above = std::max(above, g - t - half);
            break;
        }
        case TVAlign::Baseline:
            above = std::max(above, g - t + d);
            break;
        default:
            above = std::max(above, control ? g - t : g + d - t);
            break;
        }
    };
    for (auto it = std::lower_bound(Images().begin(), Images().end(), start,
                                    [](const std::unique_ptr<TFloatingObj>& o, int p) { return o->Pos < p; });
         it != Images().end() && (*it)->Pos < end; ++it) {
        TFloatingObj& img = **it;
        img.DrawYY = y;
        if (!img.Floats()) {
            alignObject(img.VertAlign == TVAlign::Baseline ? TVAlign::Bottom : img.VertAlign,
                        img.ObjHeight + img.VSpaceT + img.VSpaceB - img.BelowBaseline, false);
            if (img.BelowBaseline > 0)
                below = std::max(below, img.BelowBaseline - d);
        }
    }
    for (auto it = std::lower_bound(FormControls().begin(), FormControls().end(), start,
                                    [](const TFormControlObj* o, int p) { return o->Pos < p; });
         it != FormControls().end() && (*it)->Pos < end; ++it) {
        if (doc && !doc->IsCopy)
            (*it)->YValue = y;
        alignObject((*it)->VertAlign, (*it)->Height(), true);
    }
    if (doc && !doc->IsCopy)
        for (size_t r = FFonts.IndexAt(start); r < FFonts.Count() && FFonts[r].Pos < end; ++r) {
            TFontObj& run = FFonts[r];
            if (run.IsLink())
                run.PlaceLink(y, doc->LayoutCounter);
        }
    int le = im.LeftIndent(y) + (firstLine ? FirstLineIndent : 0);
    int re = im.RightSide(y);
    line.TextWidth = StretchWidth(canvas, start, n, TTrailing::Skip);
    switch (Justify) {
    case TTextAlignKind::Center:
        line.X = (re + le - line.TextWidth) / 2;
        break;
    case TTextAlignKind::Right:
        line.X = re - line.TextWidth;
        break;
    case TTextAlignKind::Justify:
        line.X = le;
        if (!lastLine) {
            line.Extra = std::max(0, re - le - line.TextWidth);
            for (int i = start; i < end - 1; ++i)
                if (IsSpace(Buff[size_t(i)]))
                    ++line.Spaces;
        }
        break;
    default:
        line.X = le;
        break;
    }
    line.DrawWidth = re - le;
    line.LineHt = t;
    line.Descent = d;
    line.SpaceBefore = above;
    line.SpaceAfter = below;
    int height = t + below + above;
    if (doc && doc->ListItemMarkerY && *doc->ListItemMarkerY < 0) {
        *doc->ListItemMarkerY = y + above + t - d;
        doc->ListItemMarkerY = nullptr;
    }
    SectionHeight = AddDoc(SectionHeight, height);
    y = AddDoc(y, height);
    line.LineImgHt = height;
    for (TFloatingObj* img : deferred) {
        if (PlacedFloat(img))
            continue;
        PlaceFloat(*img, y, im);
        line.LineImgHt = std::max(line.LineImgHt, img->FloatY + img->ObjHeight + img->VSpaceT + img->VSpaceB - line.Y);
    }
    deferred.clear();
    lines.push_back(line);
}

// ---------------------------------------------------------------- layout

int TSection::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    TSectionList* doc = Owner();
    LayoutY = YValue = DrawTop = area.y;
    ContentLeft = area.x;
    StartCurs = cursor;
    Len = int(Buff.size());
    SectionHeight = 0;
    FLines.clear();
    if (FRare)
        FRare->placedFloats.clear();
    int y = area.y;
    auto clearOffset = [&]() {
        int bottom = y;
        if (ClearAttr == TClearKind::Left)
            bottom = im.LeftFloatBottom(y);
        else if (ClearAttr == TClearKind::Right)
            bottom = im.RightFloatBottom(y);
        else if (ClearAttr == TClearKind::Both)
            bottom = im.LowestFloatBottom(y);
        return std::max(0, bottom - y);
    };
    if (Buff.empty()) {
        SectionHeight = clearOffset();
        if (Preformatted() && !FFonts.Empty()) {
            FFonts[0].FontOn(canvas);
            SectionHeight = FFonts[0].TextHeight();
        }
        maxWidth = 0;
        DrawHeight = SectionHeight;
        ContentBot = DrawBot = AddDoc(area.y, SectionHeight);
        FTextEnd = StartCurs;
        cursor += Len;
        return SectionHeight;
    }
    if (FLPercent >= 0)
        FirstLineIndent = ClampPixels((long long)area.width * FLPercent / 100);
    int lineWidth = std::min(im.RightSide(y) - im.LeftIndent(y), area.width);
    maxWidth = lineWidth;
    int availHeight = area.height > 0 ? area.height : area.containingHeight;
    FTextEnd = StartCurs + Len;
    for (auto& img : Images()) {
        auto* box = dynamic_cast<TInlineBlockObj*>(img.get());
        if (box)
            box->SetFirstTextPosition(FTextEnd);
        img->SizeFor(canvas, lineWidth, availHeight);
        if (box)
            FTextEnd += box->TextLength();
        maxWidth = std::max(maxWidth, img->ObjWidth + img->HSpaceL + img->HSpaceR);
    }
    for (TFormControlObj* ctl : FormControls())
        if (ctl->PercentWidth >= 0) {
            int w = std::max(10, std::min(int((long long)ctl->PercentWidth * lineWidth / 100),
                                          lineWidth - ctl->HSpaceL - ctl->HSpaceR));
            ctl->SetWidth(w);
            maxWidth = std::max(maxWidth, w + ctl->HSpaceL + ctl->HSpaceR);
        }
    std::vector<TFloatingObj*> deferred;
    // The lines are made in a buffer that one layout after another reuses,
    // then kept at their exact count.
    static thread_local std::vector<LineRec> spare;
    std::vector<LineRec> lines = std::move(spare);
    lines.clear();
    int total = int(Buff.size());
    int start = 0;
    bool first = true;
    if (ClearAttr != TClearKind::None) {
        int offset = clearOffset();
        if (offset > 0)
            AddEmptyLine(lines, y, offset);
    }
    // Forced breaks are found once per paragraph: the next one ahead of the
    // line start is remembered until a line passes it.
    int nextBreak = -1;
    while (start < total) {
        int remaining = total - start;
        int n = remaining;
        if (!Preformatted() || FWrapsPreformatted) {
            if (nextBreak < start) {
                size_t at = Buff.find(BreakChar, size_t(start));
                nextBreak = at == std::u16string_view::npos ? total : int(at);
            }
            int fit = FitCount(canvas, start, remaining, nextBreak, y, first, im, deferred);
            int nextFloat = im.NextFloatBottom(y);
            if (fit == 0 && nextFloat > y) {
                deferred.clear();
                AddEmptyLine(lines, y, nextFloat - y);
                continue;
            }
            n = std::max(1, fit);
            if (n < remaining) {
                bool skip = false;
                n = BreakLine(start, n, y, im, skip);
                if (skip) {
                    deferred.clear();
                    AddEmptyLine(lines, y, im.NextFloatBottom(y) - y);
                    continue;
                }
                n = std::clamp(n, 1, remaining);
            }
        }
        bool last = start + n >= total;
        FinishLine(canvas, start, n, y, first, last, im, deferred, lines);
        const LineRec& line = lines.back();
        maxWidth = std::max(maxWidth, line.X - area.x + line.TextWidth);
        first = false;
        start += n;
    }
    FLines.Assign(lines);
    spare = std::move(lines);
    cursor = TextEnd();
    int lowest = area.y;
    for (const LineRec& line : FLines)
        lowest = std::max(lowest, line.Y + line.LineImgHt);
    // A floating picture hangs below its line: the section is painted while
    // any of it is in view, even when its lines have no height of their own.
    for (const auto& img : Images())
        if (img->Floats())
            lowest = std::max(lowest, img->FloatY + img->ObjHeight + img->VSpaceT + img->VSpaceB);
    DrawHeight = std::max(SectionHeight, lowest - area.y);
    ContentBot = AddDoc(area.y, SectionHeight);
    DrawBot = AddDoc(area.y, DrawHeight);
    if (doc && !doc->IsCopy && SeqNo > 0 && SeqNo % 50 == 0 && doc->Host.progress && doc->TextSectionCount() > 0 &&
        doc->TakeProgressStep(SeqNo)) {
        doc->Host.progress(doc->ProgressBase + SeqNo * (100 - doc->ProgressBase) / doc->TextSectionCount());
    }
    return SectionHeight;
}

void TSection::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    if (FWidthsKnown && Images().empty()) {
        minWidth = FMinWidth;
        maxWidth = FMaxWidth;
        return;
    }
    int minW = 0;
    long long floatWidths = 0;
    for (auto& img : Images()) {
        img->SizeFor(canvas, 0, 0);
        int w = img->ObjWidth + img->HSpaceL + img->HSpaceR;
        if (img->Floats())
            floatWidths += w;
        else
            minW = std::max(minW, img->PreferredMinimumWidth());
    }
    for (TFormControlObj* ctl : FormControls())
        if (ctl->PercentWidth < 0)
            minW = std::max(minW, ctl->Width() + ctl->HSpaceL + ctl->HSpaceR);
    // Widest stretch between forced breaks.
    long long maxW = 0;
    int total = int(Buff.size());
    for (int s = 0; s <= total;) {
        int e = s;
        while (e < total && Buff[size_t(e)] != BreakChar)
            ++e;
        long long w = StretchWidth(canvas, s, e - s);
        if (s == 0) {
            if (FLPercent > 0 && FLPercent < 100)
                w = w * 100 / (100 - FLPercent);
            else
                w += FirstLineIndent;
        }
        maxW = std::max(maxW, w);
        s = e + 1;
    }
    // Widest unbreakable word.
    auto breakable = [&](int i) {
        char16_t c = Buff[size_t(i)];
        if (c == ImageChar) {
            TFloatingObj* img = ImageAt(i);
            if (img && img->Floats())
                return true;
        }
        return (c == u' ' || c == BreakChar) && MayBreakAt(size_t(i));
    };
    for (int s = 0; s < total;) {
        while (s < total && breakable(s))
            ++s;
        if (s >= total)
            break;
        int e = s;
        if (IsIdeograph(Buff[size_t(s)]) && MayBreakAt(size_t(s))) {
            e = s + 1;
        } else {
            while (e < total && !breakable(e) && !(IsIdeograph(Buff[size_t(e)]) && MayBreakAt(size_t(e)))) {
                ++e;
                if ((Buff[size_t(e - 1)] == u'-' || Buff[size_t(e - 1)] == u'?') && MayBreakAt(size_t(e - 1)))
                    break;
            }
        }
        minW = std::max(minW, StretchWidth(canvas, s, e - s));
        s = e;
    }
    FMinWidth = minW;
    FMaxWidth = ClampDoc(std::max<long long>(maxW + floatWidths, minW));
    FWidthsKnown = true;
    minWidth = FMinWidth;
    maxWidth = FMaxWidth;
}
