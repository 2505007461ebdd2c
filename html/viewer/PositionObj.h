#pragma once
// One history entry's state: where the view was, what kind of document it
// showed, the contents of its form controls, and (in frames) when the entry
// was made relative to the entries of the other frames.
#include <memory>
#include <string>
#include <vector>

// One list of control values per form, in form order.
using TFormData = std::vector<std::vector<std::string>>;

enum class TDocKind : int { Html = 0, Text = 1, Image = 2 };

struct PositionObj {
    int Pos = 0; // a ViewPosition value
    TDocKind FileType = TDocKind::Html;
    int NavStamp = 0;
    std::unique_ptr<TFormData> FormData;
};

// NavStamp: one program-wide counter; every new frame history entry takes
// its value and increments it, so stamps order frame navigations in time.
int NextNavStamp();
