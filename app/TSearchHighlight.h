#pragma once
// The searched words marked in the shown document: in every frame of a
// frame set, with one of them the current one that F3 and Shift+F3 step
// from, going round at either end. The marks belong to the documents they
// were made for: another document, or Clear (Escape), takes them away.
#include <QPointer>
#include <cstddef>
#include <vector>

#include "app/HighlightMatches.h"

class THTMLViewer;

enum class THighlightStep { Next, Previous };
// Whether marking scrolls to the first match or leaves the view where it is.
enum class THighlightScroll { ToFirst, Stay };

class TSearchHighlight {
public:
    // Marks the request's matches in each viewer (the frames in order) and
    // shows the first; answers how many there are.
    size_t Apply(const THighlightRequest& request, const std::vector<THTMLViewer*>& viewers,
                 THighlightScroll scroll = THighlightScroll::ToFirst);
    // Takes the marks away from the viewers that still show them.
    void Clear();
    bool Active() const { return Count() > 0; }
    size_t Count() const;
    // Moves to the next or previous match, across frames and round the ends,
    // and scrolls it into view; false when there is none.
    bool Step(THighlightStep step);
    // The match shown as current, counted over all frames from 0; NoCurrent
    // before the first step of marks that were not scrolled to.
    size_t CurrentIndex() const { return FCurrent; }
    static constexpr size_t NoCurrent = size_t(-1);

private:
    struct TMarkedView {
        QPointer<THTMLViewer> viewer;
        size_t count = 0;
    };
    void Show(size_t index);

    std::vector<TMarkedView> FViews;
    size_t FCurrent = NoCurrent;
};
