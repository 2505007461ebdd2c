#pragma once
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "gfx/TCanvas.h"

// Makes each font once and answers which families are installed. Family
// names resolve through fontconfig, so a name with a metric-compatible alias
// ("Times New Roman" -> "Liberation Serif") counts as installed; a name that
// only reaches the default face does not.
class TQtFontCache {
public:
    TFontRef font(const TFontSpec& spec);
    bool installed(std::string_view family);
    void clear();
    // The cache the canvases share unless given their own. It empties itself
    // when the application object goes, before Qt's font engines do.
    static TQtFontCache& shared();

private:
    using TKey = std::tuple<std::string, int, TFontStyles, int>;
    std::map<TKey, TFontRef> FFonts;
    std::map<std::string, bool, std::less<>> FInstalled;
    std::string FDefaultFamily;
};
