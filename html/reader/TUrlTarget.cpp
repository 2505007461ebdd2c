#include "html/reader/TUrlTarget.h"

#include "html/reader/Readhtml.h"

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
