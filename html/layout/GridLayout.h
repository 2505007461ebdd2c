#pragma once
// The arithmetic of grid columns, apart from the layout objects: the track
// list a container has at a width, and the width of each track.
#include <vector>

#include "html/layout/TFlexStyle.h"

// The container's columns at the content width: the tracks it lists, and
// as many of its auto-filled track as fit with the gaps. Never empty: a
// container without columns has one that takes the whole width.
std::vector<TGridTrack> GridTracksAt(const TFlexStyle& style, int available, int gap);

// The widths of the tracks in available, with the narrowest (minContent)
// and widest (maxContent) margin-box width of the items in each column:
// lengths and percentages as given, auto columns as wide as their items
// (sharing what is left when there are no fr columns), fr columns sharing
// what is left by their factors but never narrower than their items.
std::vector<int> SizeGridColumns(const std::vector<TGridTrack>& tracks, int available, int gap,
                                 const std::vector<int>& minContent, const std::vector<int>& maxContent);
