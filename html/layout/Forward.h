#pragma once
// Forward declarations of the layout objects, for headers that only pass them around.

class TCanvas;
class TControl;
class TControlFactory;
class TTimer;

class TIDObject;
class TChPosObj;
class TIDNameList;
class TSectionBase;
class TBlock;
class TBodyBlock;
class TBlockLI;
class TSection;
class TPreFormated;
class TFloatingObj;
class TFormControlObj;
class TCellBasic;
class TCell;
class TBlockCell;
class TSectionList;
class IndentManager;
class TDrawList;
class TInlineList;
class TFontObj;
class TFontList;
class SelTextCount;
class SelTextBuf;
class ClipBuffer;

struct IndentRec;
struct LineRec;
struct InlineRec;
struct BorderRec;
struct TBlockStyle;
struct TTextStyle;
struct TLinkInfo;
struct TLayoutArea;
struct TPaintContext;
struct TLinkHit;
struct TCaretHit;
