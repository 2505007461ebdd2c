#pragma once
// An ordered list of sections laid out top to bottom; owns its sections.
//
// Construction API (the builder): create the cell's owner (document, block,
// table cell), then AddSection each finished section or block in reading
// order. A text section is finished (CloseText) on the way in and dropped
// when it stays empty. Blocks nest at most MaxBlockNesting deep: a block
// added to a cell at that depth is appended to the cell one level up instead.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TSectionVector.h"

class TSectionBase;
class TSectionList;
class TBlock;
class IndentManager;
class TFloatingObj;
class TIDObject;

// What a cell holds the content of; margin collapsing depends on it.
enum class TCellOwner : uint8_t { Document, Body, ListItem, Other };
TCellOwner CellOwnerOfTag(std::string_view tag);

class TCellBasic {
public:
    // depth: nesting of this cell (0 for documents and table cells' roots);
    // parent: the cell that holds this cell's owner, if any.
    TCellBasic(TSectionList* owner, int depth = 0, TCellBasic* parent = nullptr);
    virtual ~TCellBasic();
    TCellBasic(const TCellBasic&) = delete;
    TCellBasic& operator=(const TCellBasic&) = delete;

    void AddSection(std::unique_ptr<TSectionBase> section);
    // The cell a block created "in this cell" really goes into.
    TCellBasic& BlockTarget();
    // Copies every section into target (printing copies).
    void CloneSectionsFrom(const TCellBasic& source, TSectionList& target);

    virtual int LayOut(TCanvas& canvas, const TLayoutArea& area, int& maxWidth, int& cursor);
    virtual void MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth);
    virtual int Paint(TPaintContext& pc, int x, int xRef, int yRef);
    virtual int LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit);

    bool ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj);
    int PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit);
    int FindText(int from, const std::u16string& text, bool matchCase);
    int FindTextBack(int from, const std::u16string& text, bool matchCase);
    void VisitText(const TTextVisitor& visit);
    int SourcePosOf(int pos) const;
    int DocPosOf(int sourcePos, bool previous) const;
    bool CaretXY(TCanvas& canvas, int pos, int& x, int& y);
    bool CharAt(int pos, char16_t& ch, TIDObject*& obj);
    void CopySelection();
    void ListPositions();
    void Dump(std::string& out, int depth) const;

    bool Empty() const { return Sections.empty(); }
    int Depth() const { return FDepth; }
    TSectionList* Owner() const { return FOwner; }

    TSectionVector Sections;
    IndentManager* IMgr = nullptr;
    int StartY = 0;
    int StartCurs = 0;
    int Len = 0;
    int TextBot = 0;        // lowest content bottom, absolute blocks aside
    int tcDrawTop = 990000;
    int tcDrawBot = 0;
    TBlock* OwnerBlock = nullptr; // for block content cells

protected:
    // Lays the sections out one below the other from area.y; answers the
    // total height. Sections raising EProcessError are reported and removed.
    int LayoutSections(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor);
    TSectionList* FOwner;

    // Rebuilds the band index after layout (see SectionsInBand).
    void BuildPaintIndex();
    // The index range of sections whose draw range may reach [top, bottom]:
    // paint and hit tests look at these only, so their cost follows the
    // visible band, not the document.
    std::pair<size_t, size_t> SectionsInBand(int top, int bottom) const;

private:
    bool KeepSection(TSectionBase& section);
    // Built only for cells with many sections; a short list is walked whole.
    struct TPaintIndex {
        std::vector<int> maxBotPrefix;
        std::vector<int> minTopSuffix;
    };
    std::unique_ptr<TPaintIndex> FPaintIndex;
    TCellBasic* FParent;
    // The small fields last, in one word with TCell's: every block and every
    // table slot has a cell.
    int16_t FDepth;         // saturates far beyond MaxBlockNesting
    int8_t FIndexedFew = -1; // sections at the last BuildPaintIndex when it made no index
    // Sections the band index was built for, -1 before the first layout.
    int IndexedCount() const;

public:
    TCellOwner OwnerKind = TCellOwner::Document;
};
