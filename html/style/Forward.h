#pragma once
// Forward declarations of the style classes.
class TMyFont;
class TProperties;
class TPropStack;
class TStyleList;
