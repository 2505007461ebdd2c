#include "html/parse/THtmlSymbol.h"

#include <array>
#include <cctype>

namespace {

struct TagEntry {
    std::string_view name;
    THtmlSymbol start;
    THtmlSymbol end;
};

struct AttributeEntry {
    std::string_view name;
    THtmlSymbol sy;
};

// Tag names at most 12 characters; the first 53 have an end form.
constexpr std::array<TagEntry, TagTableSize> TagTable{{
    {"HTML", HtmlSy, HtmlEndSy},
    {"TITLE", TitleSy, TitleEndSy},
    {"BODY", BodySy, BodyEndSy},
    {"HEAD", HeadSy, HeadEndSy},
    {"B", BSy, BEndSy},
    {"I", ISy, IEndSy},
    {"H", HSy, HEndSy},
    {"EM", EmSy, EmEndSy},
    {"STRONG", StrongSy, StrongEndSy},
    {"U", USy, UEndSy},
    {"CITE", CiteSy, CiteEndSy},
    {"VAR", VarSy, VarEndSy},
    {"TT", TTSy, TTEndSy},
    {"CODE", CodeSy, CodeEndSy},
    {"KBD", KbdSy, KbdEndSy},
    {"SAMP", SampSy, SampEndSy},
    {"OL", OLSy, OLEndSy},
    {"UL", ULSy, ULEndSy},
    {"DIR", DirSy, DirEndSy},
    {"MENU", MenuSy, MenuEndSy},
    {"DL", DLSy, DLEndSy},
    {"A", ASy, AEndSy},
    {"ADDRESS", AddressSy, AddressEndSy},
    {"BLOCKQUOTE", BlockQuoteSy, BlockQuoteEndSy},
    {"PRE", PreSy, PreEndSy},
    {"CENTER", CenterSy, CenterEndSy},
    {"TABLE", TableSy, TableEndSy},
    {"TD", TDSy, TDEndSy},
    {"TH", THSy, THEndSy},
    {"CAPTION", CaptionSy, CaptionEndSy},
    {"FORM", FormSy, FormEndSy},
    {"TEXTAREA", TextAreaSy, TextAreaEndSy},
    {"SELECT", SelectSy, SelectEndSy},
    {"OPTION", OptionSy, OptionEndSy},
    {"FONT", FontSy, FontEndSy},
    {"SUB", SubSy, SubEndSy},
    {"SUP", SupSy, SupEndSy},
    {"BIG", BigSy, BigEndSy},
    {"SMALL", SmallSy, SmallEndSy},
    {"P", PSy, PEndSy},
    {"MAP", MapSy, MapEndSy},
    {"FRAMESET", FrameSetSy, FrameSetEndSy},
    {"NOFRAMES", NoFramesSy, NoFramesEndSy},
    {"SCRIPT", ScriptSy, ScriptEndSy},
    {"DIV", DivSy, DivEndSy},
    {"S", SSy, SEndSy},
    {"STRIKE", StrikeSy, StrikeEndSy},
    {"TR", TRSy, TREndSy},
    {"NOBR", NoBrSy, NoBrEndSy},
    {"STYLE", StyleSy, StyleEndSy},
    {"SPAN", SpanSy, SpanEndSy},
    {"COLGROUP", ColGroupSy, ColGroupEndSy},
    {"LABEL", LabelSy, LabelEndSy},
    {"LI", LISy, UnknownTagSym},
    {"BR", BRSy, UnknownTagSym},
    {"HR", HRSy, UnknownTagSym},
    {"DD", DDSy, UnknownTagSym},
    {"DT", DTSy, UnknownTagSym},
    {"IMG", ImageSy, UnknownTagSym},
    {"BASE", BaseSy, UnknownTagSym},
    {"BUTTON", ButtonSy, UnknownTagSym},
    {"INPUT", InputSy, UnknownTagSym},
    {"SELECTED", SelectedSy, UnknownTagSym},
    {"BASEFONT", BaseFontSy, UnknownTagSym},
    {"AREA", AreaSy, UnknownTagSym},
    {"FRAME", FrameSy, UnknownTagSym},
    {"PAGE", PageSy, UnknownTagSym},
    {"BGSOUND", BgSoundSy, UnknownTagSym},
    {"WRAP", WrapSy, UnknownTagSym},
    {"META", MetaSy, UnknownTagSym},
    {"PANEL", PanelSy, UnknownTagSym},
    {"WBR", WbrSy, UnknownTagSym},
    {"LINK", LinkSy, UnknownTagSym},
    {"COL", ColSy, UnknownTagSym},
}};

// Attribute names at most 16 characters. VALUE appears twice, as it always has;
// the second entry can never be reached.
constexpr std::array<AttributeEntry, AttributeTableSize> AttributeTable{{
    {"HREF", HrefSy},
    {"NAME", NameSy},
    {"SRC", SrcSy},
    {"ALT", AltSy},
    {"ALIGN", AlignSy},
    {"TEXT", TextSym},
    {"BGCOLOR", BgColorSy},
    {"LINK", LinkSy},
    {"BACKGROUND", BackgroundSy},
    {"COLSPAN", ColSpanSy},
    {"ROWSPAN", RowSpanSy},
    {"BORDER", BorderSy},
    {"CELLPADDING", CellPaddingSy},
    {"CELLSPACING", CellSpacingSy},
    {"VALIGN", VAlignSy},
    {"WIDTH", WidthSy},
    {"START", StartSy},
    {"VALUE", ValueSy},
    {"TYPE", TypeSy},
    {"CHECKBOX", CheckBoxSy},
    {"RADIO", RadioSy},
    {"METHOD", MethodSy},
    {"ACTION", ActionSy},
    {"CHECKED", CheckedSy},
    {"SIZE", SizeSy},
    {"MAXLENGTH", MaxLengthSy},
    {"COLS", ColsSy},
    {"ROWS", RowsSy},
    {"MULTIPLE", MultipleSy},
    {"VALUE", ValueSy},
    {"SELECTED", SelectedSy},
    {"FACE", FaceSy},
    {"COLOR", ColorSy},
    {"TRANSP", TranspSy},
    {"CLEAR", ClearSy},
    {"ISMAP", IsMapSy},
    {"BORDERCOLOR", BorderColorSy},
    {"USEMAP", UseMapSy},
    {"SHAPE", ShapeSy},
    {"COORDS", CoordsSy},
    {"NOHREF", NoHrefSy},
    {"HEIGHT", HeightSy},
    {"PLAIN", PlainSy},
    {"TARGET", TargetSy},
    {"NORESIZE", NoResizeSy},
    {"SCROLLING", ScrollingSy},
    {"HSPACE", HSpaceSy},
    {"LANGUAGE", LanguageSy},
    {"FRAMEBORDER", FrameBorderSy},
    {"MARGINWIDTH", MarginWidthSy},
    {"MARGINHEIGHT", MarginHeightSy},
    {"LOOP", LoopSy},
    {"ONCLICK", OnClickSy},
    {"WRAP", WrapSy},
    {"NOSHADE", NoShadeSy},
    {"HTTP-EQUIV", HttpEqSy},
    {"CONTENT", ContentSy},
    {"ENCTYPE", EncTypeSy},
    {"VLINK", VLinkSy},
    {"OLINK", OLinkSy},
    {"ACTIVE", ActiveSy},
    {"VSPACE", VSpaceSy},
    {"CLASS", ClassSy},
    {"ID", IDSy},
    {"STYLE", StyleSy},
    {"REL", RelSy},
    {"REV", RevSy},
    {"NOWRAP", NoWrapSy},
    {"BORDERCOLORLIGHT", BorderColorLightSy},
    {"BORDERCOLORDARK", BorderColorDarkSy},
    {"CHARSET", CharSetSy},
    {"RATIO", RatioSy},
    {"TITLE", TitleSy},
    {"ONFOCUS", OnFocusSy},
    {"ONBLUR", OnBlurSy},
    {"ONCHANGE", OnChangeSy},
    {"SPAN", SpanSy},
    {"TABINDEX", TabIndexSy},
    {"BGPROPERTIES", BGPropertiesSy},
    {"DISABLED", DisabledSy},
    {"TOPMARGIN", TopMarginSy},
    {"LEFTMARGIN", LeftMarginSy},
    {"LABEL", LabelSy},
}};

// Linear scans compare the first letter before the whole name.
bool SameName(std::string_view entry, std::string_view name)
{
    return entry.size() == name.size() && !name.empty() && entry[0] == name[0] && entry == name;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

THtmlSymbol LookupTag(std::string_view upperName, TagForm form)
{
    int count = form == TagForm::Start ? TagTableSize : TagsWithEndForm;
    for (int i = 0; i < count; ++i)
        if (SameName(TagTable[i].name, upperName))
            return form == TagForm::Start ? TagTable[i].start : TagTable[i].end;
    return UnknownTagSym;
}

THtmlSymbol LookupAttribute(std::string_view upperName)
{
    for (const auto& entry : AttributeTable)
        if (SameName(entry.name, upperName))
            return entry.sy;
    return UnknownAttrSym;
}

std::string TagNameOf(THtmlSymbol sy)
{
    for (const auto& entry : TagTable)
        if (entry.start == sy)
            return LowerCase(entry.name);
    for (int i = 0; i < TagsWithEndForm; ++i)
        if (TagTable[i].end == sy)
            return LowerCase(TagTable[i].name);
    return {};
}

THtmlSymbol EndSymbolOf(THtmlSymbol start)
{
    for (const auto& entry : TagTable)
        if (entry.start == start)
            return entry.end;
    return UnknownTagSym;
}
