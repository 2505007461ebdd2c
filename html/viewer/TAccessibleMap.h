#pragma once
// TAccessibleMap: what an assistive technology sees of a laid-out document,
// made from the box tree only when one asks.
//
// The text is every text section in reading order, one paragraph each
// (sections are separated by a line break); pictures and form controls
// stand in it as U+FFFC. Offsets into that text ("text offsets") map to
// and from the document's own character positions. The items are the
// document's structure that a reader moves by: links, headings, list items,
// tables with their cells, pictures and form controls, each with the part
// of the text it covers and the items inside it.
//
// The map holds pointers into the document: it is valid until the document
// is laid out again or replaced (the owner rebuilds it then).
#include <cstdint>
#include <string>
#include <vector>

class QWidget;
class TCellBasic;
class TCellObj;
class TFloatingObj;
class TFontObj;
class TSection;
class TSectionList;
class ThtmlTable;
struct LineRec;

enum class TAccessibleKind : uint8_t { Link, Heading, ListItem, Table, Cell, Picture, Control };

struct TAccessibleItem {
    TAccessibleKind kind = TAccessibleKind::Link;
    int parent = -1; // item index, -1: the document
    int textStart = 0;
    int textEnd = 0;
    int level = 0;          // headings: 1 to 6
    int row = 0, column = 0; // cells; tables: their row and column counts
    int rowSpan = 1, columnSpan = 1;
    std::vector<int> children;
    TFontObj* link = nullptr;      // links: the first run
    TSection* section = nullptr;   // links, pictures: the section holding them
    TFloatingObj* picture = nullptr;
    TCellObj* cell = nullptr;
    ThtmlTable* table = nullptr;
    QWidget* widget = nullptr;     // controls: the real widget
    int blockLeft = 0, blockTop = 0, blockWidth = 0, blockHeight = 0; // headings, list items
};

// One text section's place in the accessible text.
struct TAccessiblePiece {
    TSection* section = nullptr;
    int textStart = 0; // offset of its first character in the accessible text
    int docStart = 0;  // its first document position
    int length = 0;
};

// Where a character of the accessible text is on the page (document pixels).
struct TAccessibleCharBox {
    int x = 0, y = 0, width = 0, height = 0;
};

class TAccessibleMap {
public:
    explicit TAccessibleMap(TSectionList& document);

    int TextLength() const { return FTextLength; }
    // The text between two offsets (clamped to the text).
    std::u16string Text(int start, int end) const;
    char16_t CharAt(int offset) const;
    // Document position of a text offset, and back (a position between
    // sections goes to the nearest offset after it).
    int DocPosition(int offset) const;
    int TextOffset(int docPosition) const;
    // The paragraph (text section) holding an offset: [start, end).
    void ParagraphAt(int offset, int& start, int& end) const;
    // The laid-out line holding an offset: [start, end); false when the
    // offset's paragraph has no lines (not laid out).
    bool LineAt(int offset, int& start, int& end) const;
    bool CharBox(TSectionList& document, int offset, TAccessibleCharBox& box) const;

    const std::vector<TAccessibleItem>& Items() const { return FItems; }
    const std::vector<int>& TopItems() const { return FTop; }
    const std::vector<int>& ChildrenOf(int item) const { return item < 0 ? FTop : FItems[size_t(item)].children; }
    // The item of a control's widget, or -1.
    int ItemOfWidget(const QWidget* widget) const;
    // The cell item at a row and column of a table item, or -1.
    int CellAt(int tableItem, int row, int column) const;

private:
    // Adds the sections of a cell in reading order, their items under parent.
    void WalkCell(TCellBasic& cell, int parent);
    void AddSection(TSection& section, int parent);
    void AddTable(ThtmlTable& table, int parent);
    int AddItem(TAccessibleItem item);
    void CloseItem(int item) { FItems[size_t(item)].textEnd = FTextLength; }
    const TAccessiblePiece* PieceOfOffset(int offset) const;
    const LineRec* LineOfOffset(int offset, const TAccessiblePiece*& piece) const;

    std::vector<TAccessiblePiece> FPieces;
    std::vector<TAccessibleItem> FItems;
    std::vector<int> FTop;
    int FTextLength = 0;
};
