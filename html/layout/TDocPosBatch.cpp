#include "html/layout/TDocPosBatch.h"

#include <algorithm>
#include <functional>

#include "html/layout/TBlock.h"
#include "html/layout/TCellList.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TTableAndCaptionBlock.h"
#include "html/layout/ThtmlTable.h"

// A section finds a position at or after p exactly when it holds text from
// p on, so it also finds every smaller one: the questions a section answers
// are always the first ones left in ascending order (and, going backward for
// a position at or before p, the first left in descending order). The walk
// goes through the sections in the order DocPosOf tries them and stops
// asking each at its first miss.
std::vector<int> TDocPosBatch::Resolve(const TSectionList& document, const std::vector<int>& sourcePositions,
                                       bool previous)
{
    std::vector<int> answers = Find(document, sourcePositions, previous);
    // What no section holds is placed at the document's end, as DocPosOf does.
    for (int& answer : answers)
        if (answer < 0)
            answer = document.Len;
    return answers;
}

std::vector<int> TDocPosBatch::Find(const TSectionList& document, const std::vector<int>& sourcePositions,
                                    bool previous)
{
    TDocPosBatch batch(previous);
    batch.FQueue.reserve(sourcePositions.size());
    for (size_t i = 0; i < sourcePositions.size(); ++i)
        batch.FQueue.emplace_back(sourcePositions[i], i);
    if (previous)
        std::sort(batch.FQueue.begin(), batch.FQueue.end(), std::greater<>());
    else
        std::sort(batch.FQueue.begin(), batch.FQueue.end());
    batch.FAnswers.assign(sourcePositions.size(), -1);
    batch.Cell(document);
    return std::move(batch.FAnswers);
}

void TDocPosBatch::Cell(const TCellBasic& cell)
{
    const size_t count = cell.Sections.size();
    for (size_t i = 0; i < count && !Done(); ++i)
        Section(*cell.Sections[FPrevious ? count - 1 - i : i]);
}

void TDocPosBatch::Section(const TSectionBase& section)
{
    // Blocks and tables are walked into, in the order their own DocPosOf
    // tries their parts; a block with an order of its own (a table with its
    // caption) and text sections are asked directly.
    if (dynamic_cast<const TTableAndCaptionBlock*>(&section)) {
        Ask(section);
    } else if (const auto* block = dynamic_cast<const TBlock*>(&section)) {
        if (!block->Style().displayNone)
            Cell(block->Content());
    } else if (const auto* table = dynamic_cast<const ThtmlTable*>(&section)) {
        const size_t rows = table->Rows.size();
        for (size_t r = 0; r < rows && !Done(); ++r) {
            const auto& cells = table->Rows[FPrevious ? rows - 1 - r : r]->Cells;
            for (size_t k = 0; k < cells.size() && !Done(); ++k)
                if (const auto& cell = cells[FPrevious ? cells.size() - 1 - k : k])
                    Cell(cell->Content());
        }
    } else {
        Ask(section);
    }
}

void TDocPosBatch::Ask(const TSectionBase& section)
{
    while (!Done()) {
        const int answer = section.DocPosOf(FQueue[FNext].first, FPrevious);
        if (answer < 0)
            return;
        FAnswers[FQueue[FNext].second] = answer;
        ++FNext;
    }
}
