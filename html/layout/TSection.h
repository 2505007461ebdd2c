#pragma once
// One run of inline content: text in one or more fonts with images, panels
// and form controls standing in it as placeholder characters (4 objects,
// 2 controls, 8 forced line breaks). It breaks itself into lines between the
// float edges of its cell, aligns them, paints them, and answers the
// position queries.
//
// Construction API (the builder): TSection(document, style, link, first
// line flag); then AddText / AddChar / AddImage / AddFormControl in reading
// order, ChangeFont and ChangeLink when the style or link changes; then
// hand it to its cell with AddSection, which calls Finish (CloseText) and
// drops it when it stays empty. SetNoBreak brackets NOBR regions. Finish
// enters the link runs in the document's link list: from then on the runs
// stay where they are.
#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "html/layout/TFontList.h"
#include "html/layout/TInlineList.h"
#include "html/layout/TLineList.h"
#include "html/layout/TSectionBase.h"
#include "html/layout/TSectionText.h"
#include "html/layout/TSourceRuns.h"
#include "html/layout/TTextStyle.h"

class TFloatingObj;
class TFormControlObj;
class TInlineBlockObj;

// Placeholder characters.
constexpr char16_t ControlChar = 2;
constexpr char16_t ImageChar = 4;
constexpr char16_t BreakChar = 8;

enum class TFirstLine : uint8_t { Normal, Indented };
// How a piece of text is set off: selected, or marked as a searched word.
enum class TTextMark : uint8_t { None, Selected, Highlighted, CurrentHighlight };

class TSection : public TSectionBase {
public:
    TSection(TSectionList& document, const TTextStyle& style, const TLinkInfo* link = nullptr,
             TFirstLine firstLine = TFirstLine::Normal);
    ~TSection() override;

    // Builder operations.
    void AddText(std::u16string_view text, std::span<const int> sourceIndexes);
    void AddChar(char16_t ch, int sourceIndex);
    void ChangeFont(const TTextStyle& style);
    void ChangeLink(const TTextStyle& style, const TLinkInfo* link);
    void AddImage(std::unique_ptr<TFloatingObj> image, int sourceIndex);
    void AddFormControl(TFormControlObj* control, int sourceIndex);
    void SetNoBreak(bool on)
    {
        if (TBuildState* build = Build())
            build->noBreak = on;
    }
    void SetClear(TClearKind clear) { ClearAttr = clear; }
    void MarkAnchor() { AnchorName = true; }
    // CloseText once; called by the cell.
    void Finish();
    bool Droppable() const;

    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    void CopySelection() override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef) override;
    int LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit) override;
    bool ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj) override;
    int PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit) override;
    int FindText(int from, const std::u16string& text, bool matchCase) override;
    int FindTextBack(int from, const std::u16string& text, bool matchCase) override;
    // Its own text, then the text of the inline blocks standing in it.
    void VisitText(const TTextVisitor& visit) override;
    int SourcePosOf(int pos) const override;
    int DocPosOf(int sourcePos, bool previous) const override;
    bool CaretXY(TCanvas& canvas, int pos, int& x, int& y) override;
    bool CharAt(int pos, char16_t& ch, TIDObject*& obj) override;
    void MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth) override;
    void Dump(std::string& out, int depth) const override;
    const char* KindName() const override { return "section"; }

    std::u16string_view Text() const { return Buff; }
    // Where the section's document positions end: the text of the inline
    // blocks standing in it takes the positions after its own characters.
    int TextEnd() const { return std::max(FTextEnd, StartCurs + Len); }
    const TLineList& Lines() const { return FLines; }
    // The bordered inline-box pieces of a line as last painted, if any.
    const std::vector<BorderRec>* BorderPieces(size_t line) const
    {
        const TLineBorders* borders = LineBorders();
        return borders && line < borders->lines.size() ? &borders->lines[line] : nullptr;
    }
    TFontList& Fonts() { return FFonts; }
    TTextAlignKind Justify = TTextAlignKind::Left;
    TClearKind ClearAttr = TClearKind::None;
    bool AnchorName = false;
    bool RegisteredID = false; // entered in the document's ID list
    int LineHeight = -1;
    int FirstLineIndent = 0;
    int SeqNo = 0;
    int8_t FLPercent = -1; // first-line indent in percent (0..90), or -1

protected:
    // The small fields first, beside the ones above, so that a section packs
    // without holes.
    char FUniformBrk = 'y';
    bool FClosed = false;
    bool FWidthsKnown = false;
    bool FBreakWords = false;   // overflow-wrap: break-word
    bool FWrapsPreformatted = false;

    TSection(const TSection& source, TSectionList& target);
    virtual bool Preformatted() const { return false; }
    void CloseText();
    // Whether a line may break at (after) character i.
    bool MayBreakAt(size_t i) const { return (FRare && FRare->breaks ? FRare->breaks[i] : FUniformBrk) != 'n'; }
    // Images and controls standing in the text (none in most sections).
    const std::vector<std::unique_ptr<TFloatingObj>>& Images() const;
    int LineReach(const LineRec& line) const;
    const std::vector<TFormControlObj*>& FormControls() const;
    bool PlacedFloat(const TFloatingObj* obj) const;
    // Deletes the marked characters with their flags and source indexes and
    // moves font runs, images and controls left accordingly.
    void RemoveMarked(const std::vector<char>& remove);
    void CompressIndexes();
    void CompactBreakFlags();
    // Width of [start, start + n): pieces of one font, objects and controls.
    enum class TTrailing : uint8_t { Measure, Skip };
    int StretchWidth(TCanvas& canvas, int start, int n, TTrailing trailing = TTrailing::Measure);
    // Characters of [start, start + remaining) that fit on the line at y;
    // nextBreak is the first forced break at or after start (or the end).
    int FitCount(TCanvas& canvas, int start, int remaining, int nextBreak, int y, bool firstLine,
                 IndentManager& im, std::vector<TFloatingObj*>& deferred);
    int BreakLine(int start, int fit, int y, IndentManager& im, bool& skipToFloat);
    // Appends the line [start, start + n) to lines (the lines a layout
    // makes before they are kept in FLines).
    void FinishLine(TCanvas& canvas, int start, int n, int& y, bool firstLine, bool lastLine, IndentManager& im,
                    std::vector<TFloatingObj*>& deferred, std::vector<LineRec>& lines);
    void PlaceFloat(TFloatingObj& obj, int y, IndentManager& im);
    void AddEmptyLine(std::vector<LineRec>& lines, int& y, int height);
    // X of a character of a line, justification included.
    int CharX(TCanvas& canvas, const LineRec& line, int index);
    // The character index under x in a line (middle rule: a character is
    // taken when x lies beyond its middle).
    int IndexAtX(TCanvas& canvas, const LineRec& line, int x, bool middle);
    const LineRec* LineAtY(int y) const;
    const LineRec* LineOfIndex(int index) const;
    int JustifyBefore(const LineRec& line, int index) const;
    TFloatingObj* ImageAt(int index) const;
    // The inline blocks holding text, in placeholder order (none in most
    // sections), and the one whose text holds a document position.
    std::vector<TInlineBlockObj*> InlineBlocks() const;
    TInlineBlockObj* BoxHolding(int pos) const;
    // A document position as an index of the section's own text in reading
    // order: one in an inline block's text maps beside its placeholder
    // (after it for the start of a range, before it for the end).
    int ReadingIndex(int pos, bool end) const;
    TFormControlObj* ControlAt(int index) const;
    void PaintLine(TPaintContext& pc, LineRec& line, int selStart, int selEnd);
    void PaintText(TPaintContext& pc, TFontObj& run, const LineRec& line, int start, int end, int x, TTextMark mark);
    void BuildBorders(TCanvas& canvas);
    void BuildLineBorders(TCanvas& canvas, const LineRec& line, std::vector<BorderRec>& pieces);
    void PaintBorders(TPaintContext& pc, size_t lineIndex);
    void AppendRaw(char16_t ch, int sourceIndex);
    void SetRunFont(const TTextStyle& style, const TTextFont* font);
    void AddTabStop(TFontObj& run);
    void RegisterLinkRun(TFontObj& run);
    // Enters the link runs in the document's link list (when finished:
    // runs stay where they are from then on).
    void RegisterLinks();

    // What only the builder needs; released when the section is finished.
    struct TBuildState {
        TTextStyle style;       // the style in effect
        TLinkInfo link;
        std::vector<int> sourceIndexes; // one per character
        std::string breaks;             // one flag per character, 'n': no break
        bool noBreak = false;
        bool smallRun = false;
    };
    // Pieces of bordered inline boxes per line, made when the section is
    // first painted after a layout (only documents with such boxes have them).
    struct TLineBorders {
        int madeFor = -1; // the document's layout counter
        std::vector<std::vector<BorderRec>> lines;
    };
    // What few finished sections have, in one piece out of line.
    struct TRare {
        std::unique_ptr<TBuildState> build; // while the section is being built
        // Break flags per character ('n': no break), unless every
        // character has the flag FUniformBrk.
        std::unique_ptr<char[]> breaks;
        std::vector<std::unique_ptr<TFloatingObj>> images;
        std::vector<TFormControlObj*> controls;
        std::vector<const TFloatingObj*> placedFloats; // floats placed in this layout
        std::unique_ptr<TLineBorders> lineBorders;
    };
    TRare& Rare();
    // Drops the rare piece again when it holds nothing.
    void TrimRare();
    TBuildState* Build() const { return FRare ? FRare->build.get() : nullptr; }
    const TLineBorders* LineBorders() const { return FRare ? FRare->lineBorders.get() : nullptr; }

    TSectionText Buff;
    TSourceRuns SIndex;
    TFontList FFonts;
    TLineList FLines;
    std::unique_ptr<TRare> FRare;
    int FMinWidth = 0, FMaxWidth = 0;
    int FTextEnd = 0;
};
