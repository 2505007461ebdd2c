#pragma once
// Forward declarations of the reader's classes.
class TAttribute;
class TAttributeList;
class TCharCollection;
class TokenObj;
class TUrlTarget;
class EParseError;
struct TReaderState;

// Owned by the style module; the reader only holds pointers to them.
class TProperties;
