#include "html/layout/TBlockStylePool.h"

std::shared_ptr<const TBlockStyle> TBlockStylePool::Intern(TBlockStyle style)
{
    if (!style.Shareable())
        return std::make_shared<const TBlockStyle>(std::move(style));
    if (auto it = FStyles.find(style); it != FStyles.end())
        return *it;
    auto shared = std::make_shared<const TBlockStyle>(std::move(style));
    FStyles.insert(shared);
    return shared;
}
