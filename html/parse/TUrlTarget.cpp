#include "html/parse/TUrlTarget.h"

#include "html/parse/HtmlReader.h"

void TUrlTarget::Start(const std::string& url, const std::string& target)
{
    Url = url;
    Target = target;
    ID = ++ReadState.LinkCounter;
}

void TUrlTarget::Clear()
{
    Url.clear();
    Target.clear();
    ID = 0;
    TabIndex = 0;
}
