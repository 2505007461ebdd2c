#pragma once
// The laid-out section: everything that takes space in the flow. Layout
// computes absolute document pixels; hit tests use the half-open range
// [DrawTop, DrawBot).
#include <memory>
#include <string>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TIDObject.h"

class TSectionList;
class IndentManager;
class TFloatingObj;

class TSectionBase : public TIDObject {
public:
    explicit TSectionBase(TSectionList* owner) : FOwner(owner) {}
    ~TSectionBase() override = default;
    TSectionBase(const TSectionBase&) = delete;
    TSectionBase& operator=(const TSectionBase&) = delete;

    // 1. The Y to scroll to for an anchor.
    int YPosition() const override { return YValue; }
    // 2. A copy of this section for the target document (printing copies).
    virtual std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const = 0;
    // 3. Appends the selected part to the document's selection buffer.
    virtual void CopySelection() {}
    // 4. Lays the section out; answers the height it advances the flow by.
    virtual int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor);
    // 5. Paints; answers the Y after the section.
    virtual int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef);
    // 6. Link, control and title under a point (TLinkHitFlag bits).
    virtual int LinkAt(TCanvas&, int, int, TLinkHit&) { return 0; }
    // 7. The floating object under a point.
    virtual bool ObjectAt(int, int, TFloatingObj*&, int&, int&) { return false; }
    // 8. Document position under a point, or -1.
    virtual int PositionAt(TCanvas&, int, int, TCaretHit&) { return -1; }
    // 9., 10. Document position of the text at or after / before the position, or -1.
    virtual int FindText(int, const std::u16string&, bool) { return -1; }
    virtual int FindTextBack(int, const std::u16string&, bool) { return -1; }
    // The text sections inside, in reading order; hidden blocks have none.
    virtual void VisitText(const TTextVisitor&) {}
    // 11., 12. Mapping between document and source positions (-1 outside).
    virtual int SourcePosOf(int) const { return -1; }
    virtual int DocPosOf(int, bool) const { return -1; }
    // 13. Caret point of a document position.
    virtual bool CaretXY(TCanvas&, int, int&, int&) { return false; }
    // 14. The character (and object) at a document position.
    virtual bool CharAt(int, char16_t&, TIDObject*&) { return false; }
    // 15. Narrowest and widest useful widths.
    virtual void MeasureWidths(TCanvas&, int& minWidth, int& maxWidth) { minWidth = maxWidth = 0; }
    // 16. Enters the section in the document's position list.
    virtual void ListPositions();

    // The layout dump: one line per box, "<kind> x=.. y=.. w=.. h=..", two
    // spaces of indentation per depth; see TSectionList::Dump.
    virtual void Dump(std::string& out, int depth) const;
    virtual const char* KindName() const { return "section"; }
    // Whether this section is an absolutely positioned block (cells ignore
    // those for their text bottom and margin collapsing).
    virtual bool IsAbsolute() const { return false; }

    TSectionList* Owner() const { return FOwner; }
    void SetOwner(TSectionList* owner) { FOwner = owner; }

protected:
    // Ahead of the fields below, so that they end on a tail that a derived
    // section fills with its own small fields (a document has hundreds of
    // thousands of sections).
    TSectionList* FOwner;

public:
    int SectionHeight = 0;
    int DrawHeight = 0;
    int StartCurs = 0;
    int Len = 0;
    int ZIndex = 0;
    int YValue = NotLaidOutY;
    int ContentBot = 0;
    int ContentLeft = 0;
    int DrawTop = 0;
    int DrawBot = 0;
    int LayoutY = 0;

protected:
    // Copies what every section carries (owner := target, height, z-order key).
    TSectionBase(const TSectionBase& source, TSectionList& target);
};
