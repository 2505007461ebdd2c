#include "html/viewer/MetaRefresh.h"

#include "html/viewer/LinkNames.h"
#include "util/Utilities.h"

std::optional<TMetaRefresh> ParseMetaRefresh(std::string_view content)
{
    size_t semi = content.find(';');
    std::string number = TrimText(content.substr(0, semi));
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    TMetaRefresh refresh;
    refresh.delay = std::max(1, std::stoi(number));
    size_t u = FindNoCase(content, "url=");
    if (u != std::string_view::npos)
        refresh.url = TrimText(content.substr(u + 4));
    if (refresh.url.size() >= 2 && (refresh.url.front() == '"' || refresh.url.front() == '\'') &&
        refresh.url.back() == refresh.url.front())
        refresh.url = refresh.url.substr(1, refresh.url.size() - 2);
    return refresh;
}
