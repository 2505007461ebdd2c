#include "util/CodePage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace CodePage {
namespace {

constexpr char16_t ReplacementChar = 0xFFFD;
constexpr char Unmappable = '?';

enum class Kind { SingleByte, DoubleByte, Utf8 };

// Closes an iconv descriptor when its converter goes away.
struct IconvCloser {
    void operator()(void* cd) const
    {
        if (cd != nullptr)
            iconv_close(static_cast<iconv_t>(cd));
    }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

iconv_t Raw(const IconvHandle& handle)
{
    return static_cast<iconv_t>(handle.get());
}

IconvHandle OpenIconv(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(cd);
}

std::string IconvName(int page)
{
    switch (page) {
    case Macintosh:
        return "MACINTOSH";
    case 1361:
        return "JOHAB";
    default:
        break;
    }
    if (page >= 28591 && page <= 28599)
        return "ISO-8859-" + std::to_string(page - 28590);
    return "CP" + std::to_string(page);
}

bool IsLeadByte(int page, unsigned char byte)
{
    switch (page) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) || (byte >= 0xE0 && byte <= 0xF9);
    default:
        return false;
    }
}

bool IsDoubleBytePage(int page)
{
    return page == 932 || page == 936 || page == 949 || page == 950 || page == 1361;
}

// Runs one complete conversion of `input` (state reset before, flushed after).
// Answers false when iconv rejects any of it.
bool ConvertWhole(iconv_t cd, std::string_view input, std::string& output)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    output.assign(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1))
        return false;
    if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1))
        return false;
    output.resize(output.size() - outLeft);
    return true;
}

// Little-endian UTF-16 bytes (as iconv writes them) to one unit; false unless
// the bytes are exactly one BMP character.
bool SingleUnit(const std::string& utf16le, char16_t& unit)
{
    if (utf16le.size() != 2)
        return false;
    unit = static_cast<char16_t>(static_cast<unsigned char>(utf16le[0]) |
                                 (static_cast<unsigned char>(utf16le[1]) << 8));
    return true;
}

void AppendUnits(const std::string& utf16le, std::u16string& out)
{
    for (size_t i = 0; i + 1 < utf16le.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(utf16le[i]) |
                                            (static_cast<unsigned char>(utf16le[i + 1]) << 8)));
}

std::string ToUtf16LeBytes(char16_t unit)
{
    std::string bytes(2, '\0');
    bytes[0] = static_cast<char>(unit & 0xFF);
    bytes[1] = static_cast<char>(unit >> 8);
    return bytes;
}

// Everything needed to convert one code page, built on first use.
struct Converter {
    int page = Ansi;
    Kind kind = Kind::SingleByte;
    std::array<char16_t, 256> table{};
    std::unordered_map<char16_t, unsigned char> reverse;
    IconvHandle toUtf16;
    IconvHandle fromUtf16;
};

void BuildSingleByteTables(Converter& conv)
{
    std::string out;
    for (int byte = 0; byte < 256; ++byte) {
        char16_t unit = static_cast<char16_t>(byte);
        std::string in(1, static_cast<char>(byte));
        if (byte >= 0x80 && ConvertWhole(Raw(conv.toUtf16), in, out))
            SingleUnit(out, unit);
        conv.table[byte] = unit;
    }
    for (int byte = 255; byte >= 0; --byte)
        conv.reverse[conv.table[byte]] = static_cast<unsigned char>(byte);
}

std::unique_ptr<Converter> MakeConverter(int page)
{
    auto conv = std::make_unique<Converter>();
    conv->page = page;
    if (page == Utf8) {
        conv->kind = Kind::Utf8;
        return conv;
    }
    std::string name = IconvName(page);
    conv->toUtf16 = OpenIconv("UTF-16LE", name.c_str());
    conv->fromUtf16 = OpenIconv(name.c_str(), "UTF-16LE");
    if (!conv->toUtf16 || !conv->fromUtf16)
        return nullptr;
    conv->kind = IsDoubleBytePage(page) ? Kind::DoubleByte : Kind::SingleByte;
    if (conv->kind == Kind::SingleByte)
        BuildSingleByteTables(*conv);
    return conv;
}

int Normalize(int codePage)
{
    if (codePage == SystemDefault)
        return Ansi;
    if (codePage == Oem)
        return OemPage;
    return codePage;
}

// The converter of a code page, falling back to Windows-1252. The reader is
// single-threaded, so the cache needs no lock.
Converter& ConverterFor(int codePage)
{
    static std::map<int, std::unique_ptr<Converter>> cache;
    int page = Normalize(codePage);
    auto found = cache.find(page);
    if (found == cache.end()) {
        auto conv = MakeConverter(page);
        found = cache.emplace(page, std::move(conv)).first;
    }
    if (found->second)
        return *found->second;
    return ConverterFor(Ansi);
}

size_t Utf8SequenceLength(std::string_view bytes, size_t pos)
{
    auto at = [&](size_t i) -> unsigned { return pos + i < bytes.size() ? static_cast<unsigned char>(bytes[pos + i]) : 0u; };
    auto cont = [&](size_t i, unsigned low, unsigned high) { unsigned b = at(i); return b >= low && b <= high; };
    unsigned lead = at(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return cont(1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
        unsigned high = lead == 0xED ? 0x9F : 0xBF;
        return cont(1, low, high) && cont(2, 0x80, 0xBF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        unsigned low = lead == 0xF0 ? 0x90 : 0x80;
        unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
        return cont(1, low, high) && cont(2, 0x80, 0xBF) && cont(3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

char32_t DecodeUtf8(std::string_view bytes, size_t pos, size_t length)
{
    auto byte = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(bytes[pos + i])); };
    switch (length) {
    case 1:
        return byte(0);
    case 2:
        return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3:
        return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default:
        return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }
}

void AppendCodePoint(char32_t cp, std::u16string& out)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

void AppendUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Records that the units appended since `unitsBefore` came from the character at `offset`.
void NoteOffsets(std::vector<size_t>* firstByte, const std::u16string& out, size_t offset)
{
    if (firstByte != nullptr)
        firstByte->resize(out.size(), offset);
}

void DecodeSingleByte(const Converter& conv, std::string_view bytes, std::u16string& out, std::vector<size_t>* firstByte)
{
    out.reserve(out.size() + bytes.size());
    for (unsigned char byte : bytes)
        out.push_back(conv.table[byte]);
    if (firstByte != nullptr)
        for (size_t i = 0; i < bytes.size(); ++i)
            firstByte->push_back(i);
}

void DecodeUtf8Text(std::string_view bytes, std::u16string& out, std::vector<size_t>* firstByte)
{
    for (size_t pos = 0; pos < bytes.size();) {
        size_t length = Utf8SequenceLength(bytes, pos);
        if (length == 0) {
            out.push_back(ReplacementChar);
            length = 1;
        } else {
            AppendCodePoint(DecodeUtf8(bytes, pos, length), out);
        }
        NoteOffsets(firstByte, out, pos);
        pos += length;
    }
}

void DecodeDoubleByte(const Converter& conv, std::string_view bytes, std::u16string& out, std::vector<size_t>* firstByte)
{
    std::string converted;
    for (size_t pos = 0; pos < bytes.size();) {
        size_t length = CharLength(conv.page, bytes, pos);
        unsigned char lead = static_cast<unsigned char>(bytes[pos]);
        if (length == 1 && lead < 0x80)
            out.push_back(lead);
        else if (ConvertWhole(Raw(conv.toUtf16), bytes.substr(pos, length), converted) && !converted.empty())
            AppendUnits(converted, out);
        else
            out.push_back(ReplacementChar);
        NoteOffsets(firstByte, out, pos);
        pos += length;
    }
}

bool IsAscii(std::string_view bytes)
{
    for (unsigned char byte : bytes)
        if (byte >= 0x80)
            return false;
    return true;
}

} // namespace

int Resolve(int codePage)
{
    return ConverterFor(codePage).page;
}

bool IsDoubleByte(int codePage)
{
    return ConverterFor(codePage).kind == Kind::DoubleByte;
}

size_t CharLength(int codePage, std::string_view bytes, size_t pos)
{
    if (pos >= bytes.size())
        return 0;
    unsigned char lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80)
        return 1;
    const Converter& conv = ConverterFor(codePage);
    if (conv.kind == Kind::Utf8) {
        size_t length = Utf8SequenceLength(bytes, pos);
        return length == 0 ? 1 : length;
    }
    if (conv.kind == Kind::DoubleByte && IsLeadByte(conv.page, lead) && pos + 1 < bytes.size() && bytes[pos + 1] != '\0')
        return 2;
    return 1;
}

std::u16string ToUtf16(int codePage, std::string_view bytes, std::vector<size_t>* firstByte)
{
    std::u16string out;
    if (firstByte != nullptr)
        firstByte->clear();
    if (IsAscii(bytes)) {
        out.assign(bytes.begin(), bytes.end());
        if (firstByte != nullptr)
            for (size_t i = 0; i < bytes.size(); ++i)
                firstByte->push_back(i);
        return out;
    }
    const Converter& conv = ConverterFor(codePage);
    switch (conv.kind) {
    case Kind::SingleByte:
        DecodeSingleByte(conv, bytes, out, firstByte);
        break;
    case Kind::Utf8:
        DecodeUtf8Text(bytes, out, firstByte);
        break;
    case Kind::DoubleByte:
        DecodeDoubleByte(conv, bytes, out, firstByte);
        break;
    }
    return out;
}

std::string FromUtf16(int codePage, std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    const Converter* conv = nullptr;
    std::string converted;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        if (conv == nullptr)
            conv = &ConverterFor(codePage);
        switch (conv->kind) {
        case Kind::SingleByte: {
            auto found = conv->reverse.find(unit);
            out.push_back(found == conv->reverse.end() ? Unmappable : static_cast<char>(found->second));
            break;
        }
        case Kind::Utf8: {
            char32_t cp = unit;
            bool high = unit >= 0xD800 && unit <= 0xDBFF;
            bool lowNext = i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (high && lowNext)
                cp = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
            else if (unit >= 0xD800 && unit <= 0xDFFF)
                cp = ReplacementChar;
            AppendUtf8(cp, out);
            break;
        }
        case Kind::DoubleByte:
            if (ConvertWhole(Raw(conv->fromUtf16), ToUtf16LeBytes(unit), converted) && !converted.empty())
                out += converted;
            else
                out.push_back(Unmappable);
            break;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (size_t pos = 0; pos < bytes.size();) {
        size_t length = Utf8SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

bool LooksLikeUtf8(std::string_view bytes)
{
    return !IsAscii(bytes) && IsValidUtf8(bytes);
}

} // namespace CodePage
