#pragma once
// Forward declarations of the reader's classes and of the neighbours it only
// points at.
class TAttribute;
class TAttributeList;
class TCharCollection;
class TokenObj;
class TIDObject;
class TChPosObj;
class TIDNameList;
class TUrlTarget;
class EParseError;
struct TReaderState;

// Owned by the style module; the reader only holds pointers to them.
class TProperties;
// The document root, owned by the viewer; the reader registers IDs in its ID list.
class TSectionList;
