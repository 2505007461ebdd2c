#include "html/layout/GridLayout.h"

#include <algorithm>
#include <cmath>

#include "html/layout/LayoutTypes.h"

namespace {

int ToPixels(double v)
{
    if (!std::isfinite(v))
        return 0;
    return ClampPixels((long long)std::llround(std::clamp(v, 0.0, double(MaxBoxPixels))));
}

// The narrowest a track of an auto-filled repeat may be.
int RepeatMinimum(const TGridTrack& t, int available)
{
    switch (t.kind) {
    case TGridTrackKind::Pixels: return ToPixels(t.value);
    case TGridTrackKind::Percent: return ToPixels(available * t.value / 100);
    default: return t.minPixels;
    }
}

} // namespace

std::vector<TGridTrack> GridTracksAt(const TFlexStyle& style, int available, int gap)
{
    std::vector<TGridTrack> tracks = style.columns;
    if (style.autoRepeat) {
        long long fixed = 0;
        for (const TGridTrack& t : tracks)
            fixed += RepeatMinimum(t, available) + gap;
        int least = std::max(1, RepeatMinimum(style.repeatTrack, available));
        long long room = (long long)available - fixed + gap;
        long long count = std::clamp(room / ((long long)least + std::max(0, gap)), 1LL, (long long)MaxGridTracks);
        tracks.insert(tracks.end(), size_t(count), style.repeatTrack);
    }
    if (tracks.empty()) {
        TGridTrack whole;
        whole.kind = TGridTrackKind::Fraction;
        whole.value = 1;
        tracks.push_back(whole);
    }
    if (tracks.size() > size_t(MaxGridTracks))
        tracks.resize(size_t(MaxGridTracks));
    return tracks;
}

std::vector<int> SizeGridColumns(const std::vector<TGridTrack>& tracks, int available, int gap,
                                 const std::vector<int>& minContent, const std::vector<int>& maxContent)
{
    const size_t n = tracks.size();
    std::vector<int> widths(n, 0);
    auto contentMin = [&](size_t i) { return i < minContent.size() ? minContent[i] : 0; };
    auto contentMax = [&](size_t i) { return i < maxContent.size() ? std::max(maxContent[i], contentMin(i)) : contentMin(i); };
    double left = double(available) - double(n > 1 ? (long long)(n - 1) * gap : 0);
    double fractions = 0;
    int autos = 0;
    for (size_t i = 0; i < n; ++i) {
        const TGridTrack& t = tracks[i];
        switch (t.kind) {
        case TGridTrackKind::Pixels: widths[i] = ToPixels(t.value); break;
        case TGridTrackKind::Percent: widths[i] = ToPixels(available * t.value / 100); break;
        case TGridTrackKind::Auto:
            widths[i] = std::max(t.minPixels, contentMax(i));
            ++autos;
            break;
        case TGridTrackKind::Fraction: fractions += t.value; break;
        }
        left -= widths[i];
    }
    if (fractions > 0) {
        const double share = std::max(0.0, left) / std::max(1.0, fractions);
        for (size_t i = 0; i < n; ++i)
            if (tracks[i].kind == TGridTrackKind::Fraction)
                widths[i] = std::max({ToPixels(share * tracks[i].value), tracks[i].minPixels, contentMin(i)});
    } else if (autos > 0 && left > 0) {
        // Auto columns stretch over what the others leave.
        const double share = left / autos;
        for (size_t i = 0; i < n; ++i)
            if (tracks[i].kind == TGridTrackKind::Auto)
                widths[i] = ToPixels(widths[i] + share);
    } else if (autos > 0 && left < 0) {
        // Too wide: auto columns give back down to their narrowest content.
        double over = -left, room = 0;
        for (size_t i = 0; i < n; ++i)
            if (tracks[i].kind == TGridTrackKind::Auto)
                room += widths[i] - std::max(tracks[i].minPixels, contentMin(i));
        if (room > 0)
            for (size_t i = 0; i < n; ++i)
                if (tracks[i].kind == TGridTrackKind::Auto) {
                    double give = widths[i] - std::max(tracks[i].minPixels, contentMin(i));
                    widths[i] = ToPixels(widths[i] - give * std::min(1.0, over / room));
                }
    }
    return widths;
}
