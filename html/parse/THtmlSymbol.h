#pragma once
// The one-byte symbol set the reader delivers: tag start and end symbols,
// attribute symbols and the special symbols. Names that are both a tag and an
// attribute (TITLE, LINK, SELECTED, WRAP, STYLE, SPAN, LABEL) share one symbol,
// and the attribute TEXT is the text-run symbol. H1..H6 are the one symbol HSy,
// the digit being the reader's heading level.
#include <cstdint>
#include <string>
#include <string_view>

enum THtmlSymbol : uint8_t {
    // Tags with a start and an end form, in table order.
    HtmlSy, TitleSy, BodySy, HeadSy, BSy, ISy, HSy, EmSy, StrongSy, USy, CiteSy, VarSy, TTSy, CodeSy,
    KbdSy, SampSy, OLSy, ULSy, DirSy, MenuSy, DLSy, ASy, AddressSy, BlockQuoteSy, PreSy, CenterSy,
    TableSy, TDSy, THSy, CaptionSy, FormSy, TextAreaSy, SelectSy, OptionSy, FontSy, SubSy, SupSy,
    BigSy, SmallSy, PSy, MapSy, FrameSetSy, NoFramesSy, ScriptSy, DivSy, SSy, StrikeSy, TRSy, NoBrSy,
    StyleSy, SpanSy, ColGroupSy, LabelSy,
    // Their end forms, in the same order.
    HtmlEndSy, TitleEndSy, BodyEndSy, HeadEndSy, BEndSy, IEndSy, HEndSy, EmEndSy, StrongEndSy, UEndSy,
    CiteEndSy, VarEndSy, TTEndSy, CodeEndSy, KbdEndSy, SampEndSy, OLEndSy, ULEndSy, DirEndSy,
    MenuEndSy, DLEndSy, AEndSy, AddressEndSy, BlockQuoteEndSy, PreEndSy, CenterEndSy, TableEndSy,
    TDEndSy, THEndSy, CaptionEndSy, FormEndSy, TextAreaEndSy, SelectEndSy, OptionEndSy, FontEndSy,
    SubEndSy, SupEndSy, BigEndSy, SmallEndSy, PEndSy, MapEndSy, FrameSetEndSy, NoFramesEndSy,
    ScriptEndSy, DivEndSy, SEndSy, StrikeEndSy, TREndSy, NoBrEndSy, StyleEndSy, SpanEndSy,
    ColGroupEndSy, LabelEndSy,
    // Tags with a start form only.
    LISy, BRSy, HRSy, DDSy, DTSy, ImageSy, BaseSy, ButtonSy, InputSy, SelectedSy, BaseFontSy, AreaSy,
    FrameSy, PageSy, BgSoundSy, WrapSy, MetaSy, PanelSy, WbrSy, LinkSy, ColSy,
    // Attributes that are not also tags.
    HrefSy, NameSy, SrcSy, AltSy, AlignSy, BgColorSy, BackgroundSy, ColSpanSy, RowSpanSy, BorderSy,
    CellPaddingSy, CellSpacingSy, VAlignSy, WidthSy, StartSy, ValueSy, TypeSy, CheckBoxSy, RadioSy,
    MethodSy, ActionSy, CheckedSy, SizeSy, MaxLengthSy, ColsSy, RowsSy, MultipleSy, FaceSy, ColorSy,
    TranspSy, ClearSy, IsMapSy, BorderColorSy, UseMapSy, ShapeSy, CoordsSy, NoHrefSy, HeightSy,
    PlainSy, TargetSy, NoResizeSy, ScrollingSy, HSpaceSy, LanguageSy, FrameBorderSy, MarginWidthSy,
    MarginHeightSy, LoopSy, OnClickSy, NoShadeSy, HttpEqSy, ContentSy, EncTypeSy, VLinkSy, OLinkSy,
    ActiveSy, VSpaceSy, ClassSy, IDSy, RelSy, RevSy, NoWrapSy, BorderColorLightSy, BorderColorDarkSy,
    CharSetSy, RatioSy, OnFocusSy, OnBlurSy, OnChangeSy, TabIndexSy, BGPropertiesSy, DisabledSy,
    TopMarginSy, LeftMarginSy,
    // Special symbols.
    TextSym,        // a text run; also the attribute TEXT
    EofSym,         // end of input
    UnknownTagSym,  // a tag not in the table, or an end tag of a tag without end form
    UnknownAttrSym, // an attribute not in the table
    EolSym,         // a line end in raw content
};

inline constexpr int TagTableSize = 74;
inline constexpr int TagsWithEndForm = 53;
inline constexpr int AttributeTableSize = 83;

enum class TagForm { Start, End };

// The symbol of an upper-case tag name: its start symbol, or for an end tag its
// end symbol; UnknownTagSym when there is none. Linear scan, first match wins.
THtmlSymbol LookupTag(std::string_view upperName, TagForm form);
// The symbol of an upper-case attribute name, or UnknownAttrSym.
THtmlSymbol LookupAttribute(std::string_view upperName);
// The lower-case tag name of a start symbol, or of an end symbol; empty if none.
std::string TagNameOf(THtmlSymbol sy);
// The end symbol of a tag start symbol; UnknownTagSym when it has none.
THtmlSymbol EndSymbolOf(THtmlSymbol start);
