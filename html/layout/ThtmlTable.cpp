#include "html/layout/ThtmlTable.h"

#include <algorithm>
#include <numeric>

#include "html/layout/Borders.h"
#include "html/layout/IndentManager.h"
#include "html/layout/TSectionList.h"

namespace {

// The platform's button highlight and shadow colours.
constexpr TColor SystemHighlight = ClSystemBase + 20;
constexpr TColor SystemShadow = ClSystemBase + 16;

long long Sum(const std::vector<int>& v, size_t from, size_t to)
{
    long long s = 0;
    for (size_t i = from; i < to && i < v.size(); ++i)
        s += v[i];
    return s;
}

// Adds `amount` to values[from, to) in proportion to weights (equal shares
// when the weights add up to nothing); the rounding remainder goes to the first.
void Spread(std::vector<int>& values, size_t from, size_t to, long long amount, const std::vector<int>& weights)
{
    if (to <= from || amount == 0)
        return;
    long long total = Sum(weights, from, to);
    long long given = 0;
    for (size_t i = from; i < to; ++i) {
        long long share = total > 0 ? amount * weights[i] / total : amount / (long long)(to - from);
        values[i] = ClampPixels(values[i] + share);
        given += share;
    }
    values[from] = ClampPixels(values[from] + amount - given);
}

// Raises the sum of values[from, to) to target by weights.
void RaiseTo(std::vector<int>& values, size_t from, size_t to, long long target, const std::vector<int>& weights)
{
    long long s = Sum(values, from, to);
    if (s < target)
        Spread(values, from, to, target - s, weights);
}

// min + (max - min) x (avail - Tmin) / (Tmax - Tmin) for every column, the
// sum corrected a pixel per column from the left.
std::vector<int> Interpolate(const std::vector<int>& mins, const std::vector<int>& maxs, int avail)
{
    long long tmin = Sum(mins, 0, mins.size()), tmax = Sum(maxs, 0, maxs.size());
    if (avail <= tmin)
        return mins;
    if (avail >= tmax)
        return maxs;
    std::vector<int> w(mins.size());
    for (size_t i = 0; i < w.size(); ++i)
        w[i] = tmax == tmin ? int(mins[i] + (long long)mins[i] * (avail - tmin) / std::max<long long>(1, tmin))
                            : int(mins[i] + (long long)(maxs[i] - mins[i]) * (avail - tmin) / (tmax - tmin));
    long long s = Sum(w, 0, w.size());
    for (size_t i = 0; i < w.size() && s < avail; ++i, ++s)
        ++w[i];
    for (size_t i = 0; i < w.size() && s > avail; ++i)
        if (w[i] > mins[i]) {
            --w[i];
            --s;
        }
    return w;
}

} // namespace

ThtmlTable::ThtmlTable(TSectionList& document, const TTableSpec& spec) : TSectionBase(&document)
{
    BorderWidth = std::clamp(spec.border, 0, 100);
    CellPadding = std::clamp(spec.cellPadding, 0, 50);
    CellSpacing = std::clamp(spec.cellSpacing, 0, 40);
    Light = spec.light;
    Dark = spec.dark;
    Collapse = spec.collapse;
    if (Collapse)
        CellSpacing = 0;
}

ThtmlTable::ThtmlTable(const ThtmlTable& source, TSectionList& target)
    : TSectionBase(source, target), BorderWidth(source.BorderWidth), CellPadding(source.CellPadding),
      CellSpacing(source.CellSpacing), Light(source.Light), Dark(source.Dark), Floating(source.Floating),
      Collapse(source.Collapse), OuterSides(source.OuterSides),
      SetWidth(source.SetWidth), SpecHeight(source.SpecHeight), HasBackground(source.HasBackground),
      Background(source.Background), FColSpecs(source.FColSpecs), NumCols(source.NumCols),
      FGridBuilt(source.FGridBuilt), FHasPixelWidths(source.FHasPixelWidths)
{
    Rows.reserve(source.Rows.size());
    for (const auto& r : source.Rows)
        Rows.push_back(std::make_unique<TCellList>(*r, target));
    int index = 0;
    for (auto& r : Rows)
        for (auto& c : r->Cells)
            if (c)
                c->Index = index++;
    FCellCursor.assign(size_t(index), 0);
    FCellLaidY.assign(size_t(index), NotLaidOutY);
    FCellLaidW.assign(size_t(index), -1);
    FCellLaidX.assign(size_t(index), 0);
}

ThtmlTable::~ThtmlTable() = default;

std::unique_ptr<TSectionBase> ThtmlTable::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new ThtmlTable(*this, target));
}

void ThtmlTable::AddRow(std::unique_ptr<TCellList> row)
{
    if (row)
        Rows.push_back(std::move(row));
}

void ThtmlTable::AddColumn(const TColSpec& column)
{
    if (FColSpecs.size() < MaxColumnSpecs)
        FColSpecs.push_back(column);
}

template <typename F> void ThtmlTable::ForEachCell(F&& f) const
{
    for (const auto& row : Rows)
        for (size_t c = 0; c < row->Cells.size(); ++c)
            if (row->Cells[c])
                f(*row, *row->Cells[c], c);
}

// ---------------------------------------------------------------- the grid

void ThtmlTable::BuildGrid()
{
    if (FGridBuilt)
        return;
    FGridBuilt = true;
    size_t rowCount = Rows.size();
    size_t slots = 0;
    for (size_t r = 0; r < rowCount; ++r) {
        TCellList& row = *Rows[r];
        for (auto& c : row.Cells)
            if (c)
                PrepareCell(row, *c, rowCount - r);
        slots += SpreadColumnSpans(row, slots);
    }
    SpreadRowSpans(slots);
    NumCols = 0;
    for (auto& row : Rows)
        NumCols = std::max(NumCols, int(row->Cells.size()));
    if (Collapse)
        CollapseBorders();
    int index = 0;
    FHasPixelWidths = false;
    ForEachCell([&](const TCellList&, TCellObj& cell, size_t c) {
        cell.Index = index++;
        if (c < FColSpecs.size() && FColSpecs[c].width > 0 && cell.SpecWd == 0) {
            cell.SpecWd = FColSpecs[c].percent ? std::min(1000, FColSpecs[c].width) : FColSpecs[c].width;
            cell.SpecWdPercent = FColSpecs[c].percent;
        }
        if (cell.SpecWd > 0 && !cell.SpecWdPercent)
            FHasPixelWidths = true;
    });
    FColSpecs.clear();
    FCellCursor.assign(size_t(index), 0);
    FCellLaidY.assign(size_t(index), NotLaidOutY);
    FCellLaidW.assign(size_t(index), -1);
    FCellLaidX.assign(size_t(index), 0);
}

void ThtmlTable::CollapseBorders()
{
    // The grid of owning cells: a spanned slot holds the cell that spans it.
    std::vector<std::vector<TCellObj*>> grid(Rows.size());
    for (size_t r = 0; r < Rows.size(); ++r)
        grid[r].assign(Rows[r]->Cells.size(), nullptr);
    for (size_t r = 0; r < Rows.size(); ++r)
        for (size_t c = 0; c < Rows[r]->Cells.size(); ++c)
            if (TCellObj* cell = Rows[r]->Cells[c].get())
                for (size_t rr = r; rr < std::min(Rows.size(), r + size_t(cell->RowSpan)); ++rr)
                    for (size_t cc = c; cc < std::min(grid[rr].size(), c + size_t(cell->ColSpan)); ++cc)
                        grid[rr][cc] = cell;
    const TColor frame = Dark == ClNone ? SystemShadow : Dark;
    CollapseGridBorders(
        grid, [frame](const TCellObj& cell) { return cell.OwnSides(frame); },
        [](TCellObj& cell, const TCellSides& sides) { cell.SetCollapsedSides(sides); }, OuterSides);
}

void ThtmlTable::PrepareCell(const TCellList& row, TCellObj& cell, size_t rowsLeft)
{
    if (cell.Background == ClNone)
        cell.Background = row.Background;
    cell.Prepare(CellPadding, BorderWidth > 0);
    if (!cell.BackgroundPicture())
        cell.SetBackgroundPicture(row.BackgroundImage, TBackgroundPlacement{});
    cell.RowSpan = int16_t(std::clamp(int(cell.RowSpan), 1, int(std::min<size_t>(MaxCellSpan, rowsLeft))));
    cell.ColSpan = int16_t(std::clamp(int(cell.ColSpan), 1, MaxCellSpan));
}

// Each cell is followed by a placeholder for every further column it spans.
// The row is rebuilt in one pass (inserting one cell's placeholders at a
// time would move the rest of a long row once per cell). Answers the row's
// slots; spans that would take the grid past MaxGridSlots are cut.
size_t ThtmlTable::SpreadColumnSpans(TCellList& row, size_t slotsSoFar)
{
    std::vector<std::unique_ptr<TCellObj>> spread;
    spread.reserve(row.Cells.size());
    for (auto& cell : row.Cells) {
        int extra = cell ? cell->ColSpan - 1 : 0;
        if (extra > 0 && slotsSoFar + spread.size() + row.Cells.size() + size_t(extra) > MaxGridSlots) {
            cell->ColSpan = 1;
            extra = 0;
        }
        spread.push_back(std::move(cell));
        spread.resize(spread.size() + size_t(extra));
    }
    row.Cells = std::move(spread);
    return row.Cells.size();
}

// A cell spanning rows pushes the rows below it aside: each gets as many
// placeholders as the cell spans columns, where the cell stands. The moves
// this costs are budgeted (a few absurd spans over long rows could take
// minutes), as is the grid's size; spans past either are cut to one row.
void ThtmlTable::SpreadRowSpans(size_t slots)
{
    size_t moves = 0;
    for (size_t r = 0; r < Rows.size(); ++r)
        for (size_t c = 0; c < Rows[r]->Cells.size(); ++c) {
            TCellObj* cell = Rows[r]->Cells[c].get();
            if (!cell || cell->RowSpan < 2)
                continue;
            size_t below = size_t(cell->RowSpan - 1), width = size_t(cell->ColSpan);
            size_t cost = 0;
            for (size_t rr = r + 1; rr <= r + below; ++rr)
                cost += Rows[rr]->Cells.size();
            if (slots + below * width > MaxGridSlots || moves + cost > MaxGridMoves) {
                cell->RowSpan = 1;
                continue;
            }
            slots += below * width;
            moves += cost;
            for (size_t rr = r + 1; rr <= r + below; ++rr)
                Rows[rr]->InsertPlaceholders(c, width);
        }
}

// ---------------------------------------------------------------- widths

void ThtmlTable::MeasureCells(TCanvas& canvas)
{
    BuildGrid();
    int counter = Owner() ? Owner()->LayoutCounter : 0;
    if (FMeasuredFor == counter && FMeasuredOn == &canvas && FMeasuredSetWidth == SetWidth)
        return;
    FMeasuredFor = counter;
    FMeasuredOn = &canvas;
    FMeasuredSetWidth = SetWidth;
    FCellMin.assign(FCellCursor.size(), 0);
    FCellMax.assign(FCellCursor.size(), 0);
    ForEachCell([&](const TCellList&, TCellObj& cell, size_t) {
        int mn = 0, mx = 0;
        cell.Content().MeasureWidths(canvas, mn, mx);
        int extras = cell.HzSpace() + CellSpacing;
        FCellMin[size_t(cell.Index)] = ClampPixels((long long)mn + extras);
        FCellMax[size_t(cell.Index)] = ClampPixels((long long)std::max(mn, mx) + extras);
    });
}

ThtmlTable::Measure ThtmlTable::Simple() const
{
    Measure m;
    size_t n = size_t(NumCols);
    m.mins.assign(n, 0);
    m.maxs.assign(n, 0);
    m.percents.assign(n, 0);
    int maxSpan = 1;
    ForEachCell(
        [&](const TCellList&, const TCellObj& cell, size_t) { maxSpan = std::max(maxSpan, int(cell.ColSpan)); });
    std::vector<int> spans;
    ForEachCell([&](const TCellList&, const TCellObj& cell, size_t) { spans.push_back(cell.ColSpan); });
    std::sort(spans.begin(), spans.end());
    spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
    for (int level : spans) {
        ForEachCell([&](const TCellList&, const TCellObj& cell, size_t c) {
            if (cell.ColSpan != level)
                return;
            int mn = FCellMin[size_t(cell.Index)], mx = FCellMax[size_t(cell.Index)];
            if (cell.SpecWd > 0 && !cell.SpecWdPercent) {
                if (level == 1)
                    mx = std::max(mn, ClampPixels((long long)cell.SpecWd + cell.HzSpace() + CellSpacing));
                else
                    mn = mx = std::max(mn, cell.SpecWd);
            }
            if (level == 1) {
                m.mins[c] = std::max(m.mins[c], mn);
                m.maxs[c] = std::max(m.maxs[c], mx);
                return;
            }
            size_t end = std::min(n, c + size_t(level));
            RaiseTo(m.mins, c, end, mn, m.mins);
            RaiseTo(m.maxs, c, end, mx, m.maxs);
        });
    }
    for (size_t i = 0; i < n; ++i)
        m.maxs[i] = std::max(m.maxs[i], m.mins[i]);
    m.totalMin = ClampDoc(Sum(m.mins, 0, n));
    m.totalMax = ClampDoc(Sum(m.maxs, 0, n));
    return m;
}

ThtmlTable::Measure ThtmlTable::WithPercentages() const
{
    Measure m;
    size_t n = size_t(NumCols);
    m.mins.assign(n, 0);
    m.maxs.assign(n, 0);
    m.percents.assign(n, 0);
    std::vector<int> spans;
    ForEachCell([&](const TCellList&, const TCellObj& cell, size_t) { spans.push_back(cell.ColSpan); });
    std::sort(spans.begin(), spans.end());
    spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
    for (int level : spans) {
        ForEachCell([&](const TCellList&, const TCellObj& cell, size_t c) {
            if (cell.ColSpan != level)
                return;
            int mn = FCellMin[size_t(cell.Index)], mx = FCellMax[size_t(cell.Index)];
            int p = 0;
            if (cell.SpecWdPercent)
                p = cell.SpecWd;
            else if (cell.SpecWd > 0) {
                if (level == 1)
                    mx = std::max(mn, ClampPixels((long long)cell.SpecWd + cell.HzSpace() + CellSpacing));
                else
                    mn = mx = std::max(mn, cell.SpecWd);
                if (SetWidth > 0)
                    p = int(std::min<long long>(1000, (long long)cell.SpecWd * 1000 / SetWidth));
            }
            if (level == 1) {
                m.mins[c] = std::max(m.mins[c], mn);
                m.maxs[c] = std::max(m.maxs[c], mx);
                m.percents[c] = std::max(m.percents[c], p);
                return;
            }
            size_t end = std::min(n, c + size_t(level));
            long long q = Sum(m.percents, c, end);
            int without = 0;
            bool maximaWithout = false;
            for (size_t i = c; i < end; ++i)
                if (m.percents[i] == 0) {
                    ++without;
                    maximaWithout = maximaWithout || m.maxs[i] > 0;
                }
            if (p > 0) {
                if (without == 0 && q > 0 && q < p) {
                    for (size_t i = c; i < end; ++i)
                        m.percents[i] = int((long long)m.percents[i] * p / q);
                } else if (without > 0) {
                    int share = int(std::max<long long>(0, (p - q) / without));
                    for (size_t i = c; i < end; ++i)
                        if (m.percents[i] == 0)
                            m.percents[i] = share;
                }
            }
            bool anyPercent = Sum(m.percents, c, end) > 0;
            const std::vector<int>& minWeights =
                !anyPercent ? m.mins : (without > 0 && maximaWithout ? m.maxs : m.percents);
            RaiseTo(m.mins, c, end, mn, minWeights);
            RaiseTo(m.maxs, c, end, mx, anyPercent ? m.percents : m.maxs);
        });
    }
    for (size_t i = 0; i < n; ++i) {
        m.maxs[i] = std::max(m.maxs[i], m.mins[i]);
        m.percents[i] = std::clamp(m.percents[i], 0, 1000);
    }
    m.totalMin = ClampDoc(Sum(m.mins, 0, n));
    m.totalMax = ClampDoc(Sum(m.maxs, 0, n));
    return m;
}

int ThtmlTable::NaturalWidth(const Measure& m) const
{
    long long q = Sum(m.percents, 0, m.percents.size());
    long long rest = 0, w0 = 0;
    for (size_t i = 0; i < m.maxs.size(); ++i) {
        if (m.percents[i] > 0)
            w0 = std::max(w0, (long long)m.maxs[i] * 1000 / m.percents[i]);
        else
            rest += m.maxs[i];
    }
    long long second = q >= 1000 ? (rest > 0 ? 30000 : 0) : rest * 1000 / (1000 - q);
    return ClampPixels(std::max(w0, second));
}

void ThtmlTable::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    MeasureCells(canvas);
    Measure m = UsePercentages() ? WithPercentages() : Simple();
    int natural = UsePercentages() ? std::max(m.totalMax, std::max(m.totalMin, NaturalWidth(m))) : m.totalMax;
    minWidth = std::max(ClampDoc((long long)m.totalMin + CellSpacing), SetWidth);
    maxWidth = std::max(ClampDoc((long long)natural + CellSpacing), std::max(SetWidth, minWidth));
}

std::vector<int> ThtmlTable::AutoWidths(const Measure& m, int avail) const
{
    size_t n = m.mins.size();
    long long q = Sum(m.percents, 0, n);
    long long rest = 0;
    for (size_t i = 0; i < n; ++i)
        if (m.percents[i] == 0)
            rest += m.maxs[i];
    int w0 = NaturalWidth(m);
    std::vector<int> w(n, 0);
    if (avail >= w0) {
        long long restWidth = std::max<long long>(0, (long long)w0 * (1000 - q) / 1000);
        long long given = 0;
        for (size_t i = 0; i < n; ++i) {
            if (m.percents[i] > 0)
                w[i] = int((long long)w0 * m.percents[i] / 1000);
            else
                w[i] = rest > 0 ? int(restWidth * m.maxs[i] / rest) : 0;
            w[i] = std::max(w[i], m.mins[i]);
            given += w[i];
        }
        if (n > 0 && given < w0 && q < 1000)
            w[0] += int(w0 - given);
        return w;
    }
    // Fit the percentages into the space.
    std::vector<int> pct = m.percents, mins = m.mins, maxs = m.maxs;
    long long lastNumerator = (long long)avail + 1;
    for (size_t round = 0; round <= n + 1; ++round) {
        bool dropped = false;
        for (size_t i = 0; i < n; ++i)
            if (pct[i] > 0 && (long long)avail * pct[i] / 1000 < mins[i]) {
                pct[i] = 0;
                dropped = true;
            }
        long long otherMins = 0, shares = 0;
        for (size_t i = 0; i < n; ++i) {
            if (pct[i] > 0)
                shares += (long long)avail * pct[i] / 1000;
            else
                otherMins += mins[i];
        }
        if (shares > 0 && otherMins + shares > avail) {
            long long numerator = std::max<long long>(0, avail - otherMins);
            if (numerator >= lastNumerator)
                numerator = lastNumerator - 1;
            lastNumerator = numerator;
            for (size_t i = 0; i < n; ++i)
                if (pct[i] > 0)
                    pct[i] = numerator <= 0 ? 0 : int((long long)pct[i] * numerator / shares);
            continue;
        }
        if (!dropped)
            break;
    }
    for (size_t i = 0; i < n; ++i)
        if (pct[i] > 0)
            mins[i] = maxs[i] = std::max(mins[i], int((long long)avail * pct[i] / 1000));
    long long tmin = Sum(mins, 0, n), tmax = Sum(maxs, 0, n);
    if (avail <= tmin)
        return mins;
    long long given = 0;
    for (size_t i = 0; i < n; ++i) {
        w[i] = tmax == tmin ? int(mins[i] + (avail - tmin) / (long long)n)
                            : int(mins[i] + (long long)(maxs[i] - mins[i]) * (avail - tmin) / (tmax - tmin));
        given += w[i];
    }
    size_t widest = 0;
    if (tmax != tmin)
        for (size_t i = 1; i < n; ++i)
            if (maxs[i] - mins[i] > maxs[widest] - mins[widest])
                widest = i;
    if (n > 0)
        w[widest] += int(avail - given);
    return w;
}

std::vector<int> ThtmlTable::GivenWidths(const Measure& m, int avail) const
{
    size_t n = m.mins.size();
    std::vector<int> w(n, 0);
    std::vector<char> fixed(n, 0);
    bool allPercent = n > 0;
    for (size_t i = 0; i < n; ++i) {
        if (m.percents[i] > 0) {
            int share = int((long long)avail * m.percents[i] / 1000);
            w[i] = std::max(share, m.mins[i]);
            fixed[i] = m.mins[i] > share;
        } else {
            w[i] = m.mins[i];
            allPercent = false;
        }
    }
    long long s = Sum(w, 0, n);
    if (s < avail) {
        long long d = avail - s;
        if (allPercent) {
            Spread(w, 0, n, d, m.percents);
        } else {
            std::vector<int> room(n, 0);
            long long t = 0;
            int count = 0;
            for (size_t i = 0; i < n; ++i)
                if (m.percents[i] == 0) {
                    room[i] = m.maxs[i] - m.mins[i];
                    t += room[i];
                    ++count;
                }
            std::vector<int> weights(n, 0);
            for (size_t i = 0; i < n; ++i)
                if (m.percents[i] == 0)
                    weights[i] = t >= d / 4 && t > 0 ? room[i] : 1;
            long long total = Sum(weights, 0, n);
            long long given = 0;
            for (size_t i = 0; i < n && count > 0; ++i)
                if (weights[i] > 0) {
                    long long share = d * weights[i] / total;
                    w[i] = ClampPixels(w[i] + share);
                    given += share;
                }
            s += given;
        }
    } else if (s > avail) {
        for (int round = 0; round < 4; ++round) {
            long long excess = Sum(w, 0, n) - avail;
            long long pctSum = 0;
            for (size_t i = 0; i < n; ++i)
                if (m.percents[i] > 0 && !fixed[i])
                    pctSum += m.percents[i];
            if (excess <= 0 || pctSum <= 0)
                break;
            bool fixedMore = false;
            for (size_t i = 0; i < n; ++i)
                if (m.percents[i] > 0 && !fixed[i] && w[i] - excess * m.percents[i] / pctSum < m.mins[i]) {
                    w[i] = m.mins[i];
                    fixed[i] = 1;
                    fixedMore = true;
                }
            if (!fixedMore) {
                for (size_t i = 0; i < n; ++i)
                    if (m.percents[i] > 0 && !fixed[i])
                        w[i] = std::max(m.mins[i], int(w[i] - excess * m.percents[i] / pctSum));
                break;
            }
        }
    }
    s = Sum(w, 0, n);
    if (s != avail && n > 0) {
        size_t target = 0;
        if (s > avail)
            while (target < n && fixed[target])
                ++target;
        if (target < n)
            w[target] = std::max(0, ClampPixels(w[target] + (long long)avail - s));
    }
    return w;
}

std::vector<int> ThtmlTable::ColumnWidths(TCanvas& canvas, int availWidth)
{
    MeasureCells(canvas);
    int avail = std::max(0, (SetWidth > 0 ? SetWidth : availWidth) - CellSpacing);
    if (SetWidth == 0 && FHasPixelWidths) {
        Measure m = Simple();
        MinWidths = m.mins;
        MaxWidths = m.maxs;
        Percents = m.percents;
        return Interpolate(m.mins, m.maxs, avail);
    }
    Measure m = WithPercentages();
    MinWidths = m.mins;
    MaxWidths = m.maxs;
    Percents = m.percents;
    if (m.totalMin >= avail)
        return m.mins;
    return SetWidth == 0 ? AutoWidths(m, avail) : GivenWidths(m, avail);
}

// ---------------------------------------------------------------- layout

// Both answer from the column edges of the last layout, so placing a cell
// does not add up the columns left of it (wide tables have thousands).
int ThtmlTable::SpanWidth(size_t column, int span) const
{
    size_t last = FColumnEdges.empty() ? 0 : FColumnEdges.size() - 1;
    size_t from = std::min(column, last), to = std::min(column + size_t(std::max(span, 0)), last);
    return FColumnEdges.empty() ? 0 : ClampPixels(FColumnEdges[to] - FColumnEdges[from]);
}

int ThtmlTable::CellLeft(size_t column) const
{
    size_t at = FColumnEdges.empty() ? 0 : std::min(column, FColumnEdges.size() - 1);
    return ClampPixels(CellSpacing + (FColumnEdges.empty() ? 0 : FColumnEdges[at]));
}

int ThtmlTable::LayoutCell(TCanvas& canvas, TCellObj& cell, int x, int y, int width, int& cursor)
{
    size_t i = size_t(cell.Index);
    int contentWidth = std::max(0, width - cell.HzSpace() - CellSpacing);
    int contentY = AddDoc(y, cell.Padding()[0] + cell.Border()[0]);
    int contentX = AddDoc(x, cell.Padding()[3] + cell.Border()[3]);
    int maxW = 0;
    int availHeight = cell.SpecHt > 0 ? std::max(0, cell.SpecHt - cell.VrSpace()) : 0;
    if (cell.SpecHtPercent > 0 && SpecHeight > 0)
        availHeight = std::max(0, int((long long)(SpecHeight - int(Rows.size()) * CellSpacing) * cell.SpecHtPercent / 100) - cell.VrSpace());
    FCellCursor[i] = cursor;
    cell.CellHeight = cell.Content().DoLayout(canvas, FCellEdges, contentY, contentWidth, availHeight, maxW, cursor, contentX,
                                                &FReference);
    FCellLaidY[i] = contentY;
    FCellLaidW[i] = contentWidth;
    FCellLaidX[i] = contentX;
    return cell.CellHeight;
}

namespace {

// Rows [from, to) that together fall short of a spanning cell's height
// share what is missing equally, the last taking the remainder.
void ShareSpanHeight(std::vector<int>& heights, size_t from, size_t to, long long target)
{
    long long lack = target - Sum(heights, from, to);
    if (lack <= 0)
        return;
    long long share = lack / (long long)(to - from);
    for (size_t k = from; k < to; ++k)
        heights[k] = ClampPixels(heights[k] + share);
    heights[to - 1] = ClampPixels(heights[to - 1] + lack - share * (long long)(to - from));
}

} // namespace

void ThtmlTable::FindRowHeights(TCanvas& canvas, int x, int y, int& cursor)
{
    size_t rows = Rows.size();
    std::vector<int> minH(rows, 0), desired(rows, 0);
    std::vector<char> fixedRow(rows, 0);
    int pctBase = SpecHeight > 0 ? std::max(0, SpecHeight - int(rows) * CellSpacing) : 0;
    int startCursor = cursor;
    auto measure = [&](TCellObj& cell, size_t r, size_t c, int top) {
        int h = LayoutCell(canvas, cell, AddDoc(x, CellLeft(c)), top, SpanWidth(c, cell.ColSpan), cursor);
        int need = std::max(ClampPixels((long long)h + cell.VrSpace()), cell.SpecHt);
        int want = need;
        if (cell.SpecHtPercent > 0 && pctBase > 0)
            want = std::max(want, int((long long)pctBase * cell.SpecHtPercent / 100));
        if (cell.SpecHt > 0 || cell.SpecHtPercent > 0)
            fixedRow[r] = 1;
        need = ClampPixels((long long)need + CellSpacing);
        want = ClampPixels((long long)want + CellSpacing);
        if (cell.RowSpan == 1) {
            minH[r] = std::max(minH[r], need);
            desired[r] = std::max(desired[r], want);
            return;
        }
        size_t end = std::min(rows, r + size_t(cell.RowSpan));
        ShareSpanHeight(minH, r, end, need);
        ShareSpanHeight(desired, r, end, want);
    };
    // One-row cells first, laid out where their row will start when no span
    // moves it, so most of them need no second layout; then the spanning
    // cells by increasing span, each span in grid order.
    struct TSpanning {
        TCellObj* cell;
        size_t r, c;
    };
    std::vector<TSpanning> spanning;
    int rowTop = AddDoc(y, CellSpacing);
    for (size_t r = 0; r < rows; ++r) {
        TCellList& row = *Rows[r];
        for (size_t c = 0; c < row.Cells.size(); ++c) {
            TCellObj* cell = row.Cells[c].get();
            if (cell && cell->RowSpan == 1)
                measure(*cell, r, c, rowTop);
            else if (cell)
                spanning.push_back({cell, r, c});
        }
        rowTop = AddDoc(rowTop, std::max(minH[r], row.SpecHt));
    }
    std::stable_sort(spanning.begin(), spanning.end(),
                     [](const TSpanning& a, const TSpanning& b) { return a.cell->RowSpan < b.cell->RowSpan; });
    for (const TSpanning& s : spanning)
        measure(*s.cell, s.r, s.c, AddDoc(y, CellSpacing));
    cursor = startCursor;
    for (size_t r = 0; r < rows; ++r) {
        int rowSpec = Rows[r]->SpecHt;
        if (Rows[r]->SpecHtPercent > 0 && pctBase > 0)
            rowSpec = std::max(rowSpec, int((long long)pctBase * Rows[r]->SpecHtPercent / 100));
        if (rowSpec > 0) {
            minH[r] = std::max(minH[r], rowSpec);
            desired[r] = std::max(desired[r], rowSpec);
            fixedRow[r] = 1;
        }
        desired[r] = std::max(desired[r], minH[r]);
    }
    Heights = minH;
    long long tmin = Sum(minH, 0, rows), tdesired = Sum(desired, 0, rows);
    int h = SpecHeight - CellSpacing;
    if (SpecHeight > 0 && h > tmin && rows > 0) {
        if (tdesired >= h) {
            long long given = 0;
            for (size_t r = 0; r + 1 < rows; ++r) {
                Heights[r] = tdesired == tmin ? minH[r]
                                              : int(minH[r] + ((long long)(desired[r] - minH[r]) * (h - tmin) * 2 + (tdesired - tmin)) /
                                                                  (2 * (tdesired - tmin)));
                given += Heights[r];
            }
            Heights[rows - 1] = int(h - given);
        } else if (std::all_of(fixedRow.begin(), fixedRow.end(), [](char f) { return f != 0; })) {
            long long given = 0;
            for (size_t r = 0; r + 1 < rows; ++r) {
                Heights[r] = tdesired > 0 ? int((long long)desired[r] * h / tdesired) : 0;
                given += Heights[r];
            }
            Heights[rows - 1] = int(h - given);
        } else {
            Heights = desired;
            long long restH = h - tdesired;
            long long free = std::count(fixedRow.begin(), fixedRow.end(), 0);
            long long share = free > 0 ? restH / free : 0;
            size_t last = rows;
            for (size_t r = 0; r < rows; ++r)
                if (!fixedRow[r]) {
                    Heights[r] = ClampPixels(Heights[r] + share);
                    last = r;
                }
            if (last < rows)
                Heights[last] = ClampPixels(Heights[last] + restH - share * free);
        }
    }
}

void ThtmlTable::PlaceRows(TCanvas& canvas, int x, int y, int& cursor)
{
    size_t rows = Rows.size();
    std::vector<int> rowTops(rows + 1, 0);
    rowTops[0] = AddDoc(y, CellSpacing);
    for (size_t r = 0; r < rows; ++r)
        rowTops[r + 1] = AddDoc(rowTops[r], Heights[r]);
    for (size_t r = 0; r < rows; ++r) {
        TCellList& row = *Rows[r];
        row.RowHeight = Heights[r];
        row.SpannedHeight = Heights[r];
        for (size_t c = 0; c < row.Cells.size(); ++c) {
            TCellObj* cell = row.Cells[c].get();
            if (!cell)
                continue;
            size_t end = std::min(rows, r + size_t(cell->RowSpan));
            cell->Ht = ClampPixels(Sum(Heights, r, end));
            cell->Wd = SpanWidth(c, cell->ColSpan);
            row.SpannedHeight = std::max(row.SpannedHeight, cell->Ht);
            int free = cell->Ht - cell->CellHeight - CellSpacing - cell->VrSpace();
            switch (cell->VAlign) {
            case TCellVAlign::Top:
                cell->YIndent = 0;
                break;
            case TCellVAlign::Middle:
                cell->YIndent = std::max(0, free / 2);
                break;
            default:
                cell->YIndent = std::max(0, free);
            }
            cell->X = AddDoc(x, CellLeft(c));
            cell->Y = rowTops[r];
            size_t i = size_t(cell->Index);
            int contentY = AddDoc(cell->Y, cell->YIndent + cell->Padding()[0] + cell->Border()[0]);
            int contentX = AddDoc(cell->X, cell->Padding()[3] + cell->Border()[3]);
            int contentW = std::max(0, cell->Wd - cell->HzSpace() - CellSpacing);
            if (FCellLaidY[i] != contentY || FCellLaidW[i] != contentW || FCellLaidX[i] != contentX ||
                FCellCursor[i] != cursor) {
                int height = cell->CellHeight;
                LayoutCell(canvas, *cell, cell->X, AddDoc(cell->Y, cell->YIndent), cell->Wd, cursor);
                cell->CellHeight = height;
            } else {
                cursor = AddDoc(cursor, cell->Content().Len);
            }
        }
    }
}

int ThtmlTable::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    (void)im;
    StartCurs = cursor;
    FReference = area;
    LayoutY = YValue = DrawTop = area.y;
    ContentLeft = area.x;
    MeasureCells(canvas);
    Widths = ColumnWidths(canvas, area.width);
    FColumnEdges.assign(Widths.size() + 1, 0);
    for (size_t i = 0; i < Widths.size(); ++i)
        FColumnEdges[i + 1] = FColumnEdges[i] + Widths[i];
    TableWidth = ClampDoc(CellSpacing + FColumnEdges.back());
    // Cells are laid out where their rows start for their heights; placing
    // lays out again only those that moved.
    FindRowHeights(canvas, area.x, area.y, cursor);
    PlaceRows(canvas, area.x, area.y, cursor);
    TableHeight = ClampDoc(CellSpacing + Sum(Heights, 0, Heights.size()));
    SectionHeight = DrawHeight = TableHeight;
    ContentBot = DrawBot = AddDoc(area.y, TableHeight);
    for (auto& row : Rows)
        for (auto& c : row->Cells)
            if (c)
                DrawBot = std::max(DrawBot, c->Content().tcDrawBot);
    IndexRows(area.y);
    Len = cursor - StartCurs;
    maxWidth = TableWidth;
    if (FOwner && FOwner->ListItemMarkerY) {
        *FOwner->ListItemMarkerY = ContentBot;
        FOwner->ListItemMarkerY = nullptr;
    }
    return SectionHeight;
}

void ThtmlTable::IndexRows(int y)
{
    FRowTop.resize(Rows.size());
    FRowReach.resize(Rows.size());
    int top = AddDoc(y, CellSpacing);
    int reach = y;
    for (size_t r = 0; r < Rows.size(); ++r) {
        for (const auto& c : Rows[r]->Cells)
            if (c)
                reach = std::max(reach, CellBottom(*c));
        FRowTop[r] = top;
        FRowReach[r] = reach;
        top = AddDoc(top, r < Heights.size() ? Heights[r] : 0);
    }
}

int ThtmlTable::CellBottom(const TCellObj& cell)
{
    return AddDoc(cell.Y, std::max(cell.Ht, cell.Content().tcDrawBot - cell.Y));
}

size_t ThtmlTable::FirstRowReaching(int y) const
{
    if (FRowReach.size() != Rows.size())
        return 0;
    return size_t(std::lower_bound(FRowReach.begin(), FRowReach.end(), y) - FRowReach.begin());
}

bool ThtmlTable::RowBelow(size_t row, int y) const { return FRowTop.size() == Rows.size() && FRowTop[row] > y; }

// ---------------------------------------------------------------- painting

bool ThtmlTable::RowStartsNewPage(TPaintContext& pc, const TCellList& row, size_t index) const
{
    if (!pc.printing || index >= Rows.size())
        return false;
    const TCellObj* first = nullptr;
    for (auto& c : row.Cells)
        if (c) {
            first = c.get();
            break;
        }
    if (!first)
        return false;
    int top = first->Y;
    int pageTop = pc.clip.top + pc.yOffset;
    int pageHeight = pc.clip.bottom - pc.clip.top;
    int halfGap = CellSpacing / 2;
    auto breakAt = [&](int y) {
        pc.pageBottom = std::min(pc.pageBottom, y);
        return true;
    };
    if (row.BreakBefore && top > pageTop)
        return breakAt(top - halfGap);
    bool crosses = top + row.SpannedHeight > pc.pageBottom || top + row.RowHeight > pc.pageBottom;
    if (row.KeepTogether && top > pageTop && crosses && row.SpannedHeight < pageHeight)
        return breakAt(top - halfGap);
    if (top > pageTop + pageHeight * 2 / 3 && top + row.SpannedHeight > pc.pageBottom && row.SpannedHeight < pageHeight)
        return breakAt(index == 0 ? top : top - halfGap);
    return false;
}

void ThtmlTable::PaintCell(TPaintContext& pc, TCellObj& cell)
{
    TRect box{cell.X, pc.WindowY(cell.Y), AddDoc(cell.X, cell.Wd - CellSpacing),
              pc.WindowY(AddDoc(cell.Y, cell.Ht - CellSpacing))};
    box.left += pc.shiftX;
    box.right += pc.shiftX;
    const auto& b = cell.Border();
    TRect padding{box.left + b[3], box.top + b[0], box.right - b[1], box.bottom - b[2]};
    bool reaches = box.bottom > pc.clip.top && box.top < pc.clip.bottom;
    if (reaches) {
        bool colour = cell.Background != ClNone, picture = cell.BackgroundPicture() != nullptr;
        if ((colour || picture) && pc.PaintsBackgrounds() && !padding.isEmpty()) {
            if (pc.printing) {
                pc.canvas.save();
                pc.canvas.intersectClip({pc.clip.left, pc.clip.top, pc.clip.right, pc.WindowY(pc.pageBottom)});
            }
            if (colour)
                pc.canvas.fillRect(padding, DrawColor(cell.Background));
            if (picture)
                PaintBlockBackground(pc, *Owner(), cell.BackgroundPicture()->name, padding,
                                     cell.BackgroundPicture()->placement);
            if (pc.printing)
                pc.canvas.restore();
        }
        if (const TCellSides* collapsed = cell.CollapsedSides()) {
            TBorderSides sides;
            for (size_t i = 0; i < 4; ++i) {
                sides.styles[i] = (*collapsed)[i].style;
                sides.colors[i] = (*collapsed)[i].color;
            }
            DrawBorders(pc.canvas, box, padding, sides, cell.Background);
        } else if (cell.HasBorderStyle()) {
            TBorderSides sides;
            for (size_t i = 0; i < 4; ++i) {
                sides.styles[i] = cell.Spec().borderStyles[i];
                sides.colors[i] = cell.Spec().borderColors[i] == ClNone ? TColor(0) : cell.Spec().borderColors[i];
            }
            DrawBorders(pc.canvas, box, padding, sides, cell.Background);
        } else if (BorderWidth > 0 && !box.isEmpty()) {
            // A sunken one-pixel frame.
            TColor dark = DrawColor(Dark == ClNone ? SystemShadow : Dark);
            TColor light = DrawColor(Light == ClNone ? SystemHighlight : Light);
            pc.canvas.fillRect({box.left, box.top, box.right, box.top + 1}, dark);
            pc.canvas.fillRect({box.left, box.top, box.left + 1, box.bottom}, dark);
            pc.canvas.fillRect({box.left, box.bottom - 1, box.right, box.bottom}, light);
            pc.canvas.fillRect({box.right - 1, box.top, box.right, box.bottom}, light);
        }
    }
    cell.Content().Paint(pc, AddDoc(cell.X, cell.Padding()[3] + cell.Border()[3]), 0, 0);
}

int ThtmlTable::Paint(TPaintContext& pc, IndentManager&, int, int, int)
{
    int after = AddDoc(DrawTop, SectionHeight);
    int top = pc.clip.top + pc.yOffset - pc.shiftY;
    int bottom = std::max(pc.clip.bottom + pc.yOffset, pc.printing ? pc.pageBottom : 0) - pc.shiftY;
    if (DrawBot <= top || DrawTop > bottom)
        return after;
    if (pc.printing && DrawTop >= pc.pageBottom)
        return after;
    // Rows that end above the band (and above the page) can neither paint
    // nor move the page end: start at the first that reaches it, and stop
    // below the band where no row can break the page any more, so a page of
    // a long table costs its own rows only.
    const int pageTop = pc.clip.top + pc.yOffset;
    for (size_t r = FirstRowReaching(std::min(top, pageTop)); r < Rows.size(); ++r) {
        if (RowBelow(r, bottom) && (!pc.printing || RowBelow(r, AddDoc(pc.pageBottom, CellSpacing / 2))))
            break;
        const TCellList& row = *Rows[r];
        if (RowStartsNewPage(pc, row, r))
            break;
        for (const auto& c : row.Cells) {
            if (!c || c->Y > bottom || CellBottom(*c) < top)
                continue;
            PaintCell(pc, *c);
        }
        if (pc.printing && row.BreakAfter) {
            int rowBottom = 0;
            for (const auto& c : row.Cells)
                if (c)
                    rowBottom = std::max(rowBottom, AddDoc(c->Y, row.RowHeight));
            if (rowBottom > pageTop && rowBottom < pc.pageBottom)
                pc.pageBottom = rowBottom + CellSpacing / 2;
        }
    }
    return after;
}

// ---------------------------------------------------------------- queries

TCellObj* ThtmlTable::CellAt(int x, int y) const
{
    for (size_t r = FirstRowReaching(AddDoc(y, 1)); r < Rows.size() && !RowBelow(r, y); ++r)
        for (const auto& c : Rows[r]->Cells)
            if (c && x >= c->X && x < c->X + c->Wd && y >= c->Y && y < CellBottom(*c))
                return c.get();
    return nullptr;
}

int ThtmlTable::LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit)
{
    TCellObj* cell = CellAt(x, y);
    return cell ? cell->Content().LinkAt(canvas, x, y, hit) : 0;
}

bool ThtmlTable::ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj)
{
    TCellObj* cell = CellAt(x, y);
    return cell && cell->Content().ObjectAt(x, y, obj, xObj, yObj);
}

int ThtmlTable::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    TCellObj* cell = CellAt(x, y);
    return cell ? cell->Content().PositionAt(canvas, x, y, hit) : -1;
}

int ThtmlTable::FindText(int from, const std::u16string& text, bool matchCase)
{
    for (auto& row : Rows)
        for (auto& c : row->Cells)
            if (c) {
                int pos = c->Content().FindText(from, text, matchCase);
                if (pos >= 0)
                    return pos;
            }
    return -1;
}

void ThtmlTable::VisitText(const TTextVisitor& visit)
{
    for (auto& row : Rows)
        for (auto& c : row->Cells)
            if (c)
                c->Content().VisitText(visit);
}

int ThtmlTable::FindTextBack(int from, const std::u16string& text, bool matchCase)
{
    for (size_t r = Rows.size(); r-- > 0;)
        for (size_t k = Rows[r]->Cells.size(); k-- > 0;)
            if (auto& c = Rows[r]->Cells[k]) {
                int pos = c->Content().FindTextBack(from, text, matchCase);
                if (pos >= 0)
                    return pos;
            }
    return -1;
}

int ThtmlTable::SourcePosOf(int pos) const
{
    for (const auto& row : Rows)
        for (const auto& c : row->Cells)
            if (c) {
                int r = c->Content().SourcePosOf(pos);
                if (r >= 0)
                    return r;
            }
    return -1;
}

int ThtmlTable::DocPosOf(int sourcePos, bool previous) const
{
    if (previous) {
        for (size_t r = Rows.size(); r-- > 0;)
            for (size_t k = Rows[r]->Cells.size(); k-- > 0;)
                if (const auto& c = Rows[r]->Cells[k]) {
                    int p = c->Content().DocPosOf(sourcePos, true);
                    if (p >= 0)
                        return p;
                }
        return -1;
    }
    for (const auto& row : Rows)
        for (const auto& c : row->Cells)
            if (c) {
                int p = c->Content().DocPosOf(sourcePos, false);
                if (p >= 0)
                    return p;
            }
    return -1;
}

bool ThtmlTable::CaretXY(TCanvas& canvas, int pos, int& x, int& y)
{
    for (auto& row : Rows)
        for (auto& c : row->Cells)
            if (c && c->Content().CaretXY(canvas, pos, x, y))
                return true;
    return false;
}

bool ThtmlTable::CharAt(int pos, char16_t& ch, TIDObject*& obj)
{
    for (auto& row : Rows)
        for (auto& c : row->Cells)
            if (c && c->Content().CharAt(pos, ch, obj))
                return true;
    return false;
}

void ThtmlTable::CopySelection()
{
    for (auto& row : Rows)
        for (auto& c : row->Cells)
            if (c)
                c->Content().CopySelection();
}

void ThtmlTable::Dump(std::string& out, int depth) const
{
    DumpIndent(out, depth);
    out += "table x=" + std::to_string(ContentLeft) + " y=" + std::to_string(LayoutY) + " w=" +
           std::to_string(TableWidth) + " h=" + std::to_string(SectionHeight) + " cols=" + std::to_string(NumCols) +
           " rows=" + std::to_string(Rows.size()) + "\n";
    for (const auto& row : Rows) {
        int rowY = 0;
        for (const auto& c : row->Cells)
            if (c) {
                rowY = c->Y;
                break;
            }
        DumpIndent(out, depth + 1);
        out += "row y=" + std::to_string(rowY) + " h=" + std::to_string(row->RowHeight) + "\n";
        for (const auto& c : row->Cells) {
            if (!c)
                continue;
            DumpIndent(out, depth + 2);
            out += "cell x=" + std::to_string(c->X) + " y=" + std::to_string(c->Y) + " w=" +
                   std::to_string(std::max(0, c->Wd - CellSpacing)) + " h=" + std::to_string(std::max(0, c->Ht - CellSpacing));
            if (c->ColSpan > 1)
                out += " colspan=" + std::to_string(c->ColSpan);
            if (c->RowSpan > 1)
                out += " rowspan=" + std::to_string(c->RowSpan);
            out += "\n";
            c->Content().Dump(out, depth + 3);
        }
    }
}
