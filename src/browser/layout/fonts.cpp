#include "browser/layout/fonts.h"

#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

#include "base/unique.h"

namespace corvalin::browser::layout {

namespace {

using FontKey = std::tuple<std::wstring, long, int, bool, bool, bool>;

struct FontTable {
    std::map<FontKey, std::unique_ptr<Font>> fonts;
    std::vector<UniqueGdiObject> owners;
};

FontTable& Fonts() {
    static FontTable table;
    return table;
}

HDC MeasuringDc() {
    thread_local UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    return dc.get();
}

struct WidthKey {
    HFONT font;
    std::wstring text;
    bool operator==(const WidthKey&) const = default;
};
struct WidthKeyHash {
    std::size_t operator()(const WidthKey& k) const {
        return std::hash<std::wstring>()(k.text) ^ (reinterpret_cast<std::size_t>(k.font) * 31);
    }
};

}  // namespace

const Font& FontOf(const ComputedStyle& style) {
    FontTable& table = Fonts();
    FontKey key{style.fontFamily, style.fontSize, style.fontWeight, style.italic, style.underline, style.lineThrough};
    if (auto it = table.fonts.find(key); it != table.fonts.end()) return *it->second;
    LOGFONTW lf{};
    lf.lfHeight = -style.fontSize;
    lf.lfWeight = style.fontWeight;
    lf.lfItalic = style.italic;
    lf.lfUnderline = style.underline;
    lf.lfStrikeOut = style.lineThrough;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy_s(lf.lfFaceName, style.fontFamily.c_str(), _TRUNCATE);
    auto font = std::make_unique<Font>();
    UniqueGdiObject handle(CreateFontIndirectW(&lf));
    font->handle = static_cast<HFONT>(handle.get());
    if (!font->handle) font->handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const HDC dc = MeasuringDc();
    const HGDIOBJ previous = SelectObject(dc, font->handle);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    font->ascent = metrics.tmAscent;
    font->descent = metrics.tmDescent;
    font->averageWidth = std::max<long>(1, metrics.tmAveCharWidth);
    if (handle) table.owners.push_back(std::move(handle));
    return *table.fonts.emplace(std::move(key), std::move(font)).first->second;
}

long TextWidth(const Font& font, std::wstring_view text) {
    if (text.empty()) return 0;
    thread_local std::unordered_map<WidthKey, long, WidthKeyHash> cache;
    // Words repeat; whole paragraphs of pre text do not, so only short runs are kept.
    const bool cacheable = text.size() <= 32;
    WidthKey key{font.handle, cacheable ? std::wstring(text) : std::wstring()};
    if (cacheable)
        if (auto it = cache.find(key); it != cache.end()) return it->second;
    const HDC dc = MeasuringDc();
    const HGDIOBJ previous = SelectObject(dc, font.handle);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    if (cacheable) {
        if (cache.size() > 200000) cache.clear();
        cache.emplace(std::move(key), size.cx);
    }
    return size.cx;
}

}  // namespace corvalin::browser::layout
