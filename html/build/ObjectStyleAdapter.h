#pragma once
// What the builder hands to images, panels and form controls from an
// element's property set.
#include "html/layout/TObjectStyle.h"

class TProperties;

TObjectStyle ObjectStyleOf(const TProperties& properties);
