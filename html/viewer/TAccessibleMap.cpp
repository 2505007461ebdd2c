#include "html/viewer/TAccessibleMap.h"

#include <algorithm>

#include "html/layout/TBlock.h"
#include "html/layout/TCellList.h"
#include "html/layout/TCellObj.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/layout/ThtmlTable.h"
#include "html/viewer/QtControls.h"

namespace {

// Pictures and controls are objects in the text; a forced break is a line end.
constexpr char16_t ObjectReplacement = 0xFFFC;

char16_t ShownChar(char16_t ch)
{
    switch (ch) {
    case ImageChar:
    case ControlChar: return ObjectReplacement;
    case BreakChar: return u'\n';
    default: return ch;
    }
}

int HeadingLevel(const std::string& tag)
{
    if (tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6')
        return tag[1] - '0';
    return 0;
}

QWidget* WidgetOf(TFormControlObj& control)
{
    auto* holder = dynamic_cast<TQtWidgetHolder*>(control.TheControl());
    return holder ? holder->widget() : nullptr;
}

} // namespace

TAccessibleMap::TAccessibleMap(TSectionList& document) { WalkCell(document, -1); }

int TAccessibleMap::AddItem(TAccessibleItem item)
{
    int index = int(FItems.size());
    item.textStart = item.textEnd = FTextLength;
    (item.parent < 0 ? FTop : FItems[size_t(item.parent)].children).push_back(index);
    FItems.push_back(std::move(item));
    return index;
}

void TAccessibleMap::WalkCell(TCellBasic& cell, int parent)
{
    for (auto& sectionPtr : cell.Sections) {
        TSectionBase* base = sectionPtr.get();
        if (auto* section = dynamic_cast<TSection*>(base)) {
            AddSection(*section, parent);
        } else if (auto* table = dynamic_cast<ThtmlTable*>(base)) {
            AddTable(*table, parent);
        } else if (auto* block = dynamic_cast<TBlock*>(base)) {
            const TBlockStyle& style = block->Style();
            if (style.displayNone || style.hidden)
                continue;
            int level = HeadingLevel(style.tag);
            int own = parent;
            if (level > 0 || style.tag == "li") {
                TAccessibleItem item;
                item.kind = level > 0 ? TAccessibleKind::Heading : TAccessibleKind::ListItem;
                item.parent = parent;
                item.level = level;
                TRect box = block->LaidOutBorderBox();
                item.blockLeft = box.left;
                item.blockTop = box.top;
                item.blockWidth = box.right - box.left;
                item.blockHeight = box.bottom - box.top;
                own = AddItem(std::move(item));
            }
            WalkCell(block->Content(), own);
            if (own != parent)
                CloseItem(own);
        }
    }
}

void TAccessibleMap::AddSection(TSection& section, int parent)
{
    std::u16string_view text = section.Text();
    if (text.empty())
        return;
    if (FTextLength > 0)
        ++FTextLength; // the line break that ends the previous paragraph
    FPieces.push_back({&section, FTextLength, section.StartCurs, int(text.size())});
    int pieceStart = FTextLength;
    // Links, pictures and controls in the order of their first character.
    TFontList& runs = section.Fonts();
    int openLink = -1, openLinkId = 0;
    size_t nextRun = 0;
    for (int i = 0; i <= int(text.size()); ++i) {
        while (nextRun < runs.Count() && runs[nextRun].Pos <= i) {
            TFontObj& run = runs[nextRun++];
            int id = run.IsLink() ? run.Link().id : 0;
            if (openLink >= 0 && id != openLinkId) {
                FItems[size_t(openLink)].textEnd = pieceStart + std::min(run.Pos, int(text.size()));
                openLink = -1;
            }
            if (id != 0 && openLink < 0 && run.FirstOfLink() == &run) {
                TAccessibleItem item;
                item.kind = TAccessibleKind::Link;
                item.parent = parent;
                item.link = &run;
                item.section = &section;
                FTextLength = pieceStart + run.Pos;
                openLink = AddItem(std::move(item));
                openLinkId = id;
            }
        }
        if (i == int(text.size()))
            break;
        char16_t ch = text[size_t(i)];
        if (ch != ImageChar && ch != ControlChar)
            continue;
        char16_t dummy = 0;
        TIDObject* object = nullptr;
        section.CharAt(section.StartCurs + i, dummy, object);
        TAccessibleItem item;
        item.parent = parent;
        item.section = &section;
        if (auto* picture = dynamic_cast<TFloatingObj*>(object)) {
            item.kind = TAccessibleKind::Picture;
            item.picture = picture;
        } else if (auto* control = dynamic_cast<TFormControlObj*>(object); control && WidgetOf(*control)) {
            item.kind = TAccessibleKind::Control;
            item.widget = WidgetOf(*control);
        } else {
            continue;
        }
        FTextLength = pieceStart + i;
        int index = AddItem(std::move(item));
        FItems[size_t(index)].textEnd = FTextLength + 1;
    }
    FTextLength = pieceStart + int(text.size());
    if (openLink >= 0)
        FItems[size_t(openLink)].textEnd = FTextLength;
}

void TAccessibleMap::AddTable(ThtmlTable& table, int parent)
{
    TAccessibleItem item;
    item.kind = TAccessibleKind::Table;
    item.parent = parent;
    item.table = &table;
    item.row = int(table.Rows.size());
    item.column = table.ColumnCount();
    int own = AddItem(std::move(item));
    for (size_t r = 0; r < table.Rows.size(); ++r) {
        if (!table.Rows[r])
            continue;
        std::vector<std::unique_ptr<TCellObj>>& cells = table.Rows[r]->Cells;
        for (size_t c = 0; c < cells.size(); ++c) {
            if (!cells[c])
                continue;
            TAccessibleItem cellItem;
            cellItem.kind = TAccessibleKind::Cell;
            cellItem.parent = own;
            cellItem.cell = cells[c].get();
            cellItem.row = int(r);
            cellItem.column = int(c);
            cellItem.rowSpan = std::max<int>(1, cells[c]->RowSpan);
            cellItem.columnSpan = std::max<int>(1, cells[c]->ColSpan);
            int cellIndex = AddItem(std::move(cellItem));
            WalkCell(cells[c]->Content(), cellIndex);
            CloseItem(cellIndex);
        }
    }
    CloseItem(own);
}

const TAccessiblePiece* TAccessibleMap::PieceOfOffset(int offset) const
{
    if (FPieces.empty())
        return nullptr;
    auto it = std::upper_bound(FPieces.begin(), FPieces.end(), offset,
                               [](int value, const TAccessiblePiece& p) { return value < p.textStart; });
    return it == FPieces.begin() ? &FPieces.front() : &*(it - 1);
}

char16_t TAccessibleMap::CharAt(int offset) const
{
    const TAccessiblePiece* piece = PieceOfOffset(offset);
    if (!piece || offset < 0 || offset >= FTextLength)
        return 0;
    int index = offset - piece->textStart;
    if (index >= piece->length)
        return u'\n';
    return ShownChar(piece->section->Text()[size_t(index)]);
}

std::u16string TAccessibleMap::Text(int start, int end) const
{
    start = std::clamp(start, 0, FTextLength);
    end = std::clamp(end, start, FTextLength);
    std::u16string text;
    text.reserve(size_t(end - start));
    const TAccessiblePiece* piece = PieceOfOffset(start);
    for (int offset = start; offset < end && piece;) {
        int index = offset - piece->textStart;
        if (index >= piece->length) { // the paragraph's line break
            text += u'\n';
            ++offset;
            piece = piece + 1 < FPieces.data() + FPieces.size() ? piece + 1 : nullptr;
            continue;
        }
        int count = std::min(piece->length - index, end - offset);
        std::u16string_view run = piece->section->Text().substr(size_t(index), size_t(count));
        for (char16_t ch : run)
            text += ShownChar(ch);
        offset += count;
    }
    return text;
}

int TAccessibleMap::DocPosition(int offset) const
{
    const TAccessiblePiece* piece = PieceOfOffset(offset);
    if (!piece)
        return 0;
    return piece->docStart + std::clamp(offset - piece->textStart, 0, piece->length);
}

int TAccessibleMap::TextOffset(int docPosition) const
{
    auto it = std::upper_bound(FPieces.begin(), FPieces.end(), docPosition,
                               [](int value, const TAccessiblePiece& p) { return value < p.docStart; });
    if (it == FPieces.begin())
        return 0;
    const TAccessiblePiece& piece = *(it - 1);
    return piece.textStart + std::min(docPosition - piece.docStart, piece.length);
}

void TAccessibleMap::ParagraphAt(int offset, int& start, int& end) const
{
    const TAccessiblePiece* piece = PieceOfOffset(offset);
    start = piece ? piece->textStart : 0;
    end = piece ? std::min(FTextLength, piece->textStart + piece->length + 1) : 0;
}

const LineRec* TAccessibleMap::LineOfOffset(int offset, const TAccessiblePiece*& piece) const
{
    piece = PieceOfOffset(offset);
    if (!piece)
        return nullptr;
    int index = std::clamp(offset - piece->textStart, 0, piece->length);
    const LineRec* last = nullptr;
    for (const LineRec& line : piece->section->Lines()) {
        if (line.Ln <= 0)
            continue;
        if (index < line.Start + line.Ln)
            return &line;
        last = &line;
    }
    return last;
}

bool TAccessibleMap::LineAt(int offset, int& start, int& end) const
{
    const TAccessiblePiece* piece = nullptr;
    const LineRec* line = LineOfOffset(offset, piece);
    if (!line)
        return false;
    start = piece->textStart + line->Start;
    end = piece->textStart + line->Start + line->Ln;
    if (end == piece->textStart + piece->length && end < FTextLength)
        ++end; // the paragraph's line break ends its last line
    return true;
}

bool TAccessibleMap::CharBox(TSectionList& document, int offset, TAccessibleCharBox& box) const
{
    const TAccessiblePiece* piece = nullptr;
    const LineRec* line = LineOfOffset(offset, piece);
    TCanvas* canvas = document.MeasuringCanvas();
    if (!line || !canvas)
        return false;
    int position = piece->docStart + std::clamp(offset - piece->textStart, 0, piece->length);
    int x = 0, y = 0, nextX = 0, nextY = 0;
    if (!piece->section->CaretXY(*canvas, position, x, y))
        return false;
    bool nextOnLine = piece->section->CaretXY(*canvas, position + 1, nextX, nextY) && nextY == y && nextX > x;
    box = {x, line->Y, nextOnLine ? nextX - x : 1, std::max(1, line->Height())};
    return true;
}

int TAccessibleMap::ItemOfWidget(const QWidget* widget) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].kind == TAccessibleKind::Control && FItems[i].widget == widget)
            return int(i);
    return -1;
}

int TAccessibleMap::CellAt(int tableItem, int row, int column) const
{
    for (int child : FItems[size_t(tableItem)].children) {
        const TAccessibleItem& cell = FItems[size_t(child)];
        if (row >= cell.row && row < cell.row + cell.rowSpan && column >= cell.column &&
            column < cell.column + cell.columnSpan)
            return child;
    }
    return -1;
}
