#pragma once
// What the builder hands to the layout objects, read from an element's
// property set: the block style (box values resolved at every layout through
// the kept property set) and the text style of a run.
#include <memory>

#include "html/layout/TBlockStyle.h"
#include "html/layout/TTextStyle.h"

class TProperties;

TBlockStyle BlockStyleOf(const std::shared_ptr<const TProperties>& properties);
TTextStyle TextStyleOf(const TProperties& properties);
