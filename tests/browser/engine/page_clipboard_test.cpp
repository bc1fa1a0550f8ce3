// The copy command: a control range puts the picture an image shows on the
// clipboard at its displayed size; the document copies its selected text.
#include "browser/engine/page_fixture.h"

#include <cstring>

#include "base/clipboard.h"
#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

COLORREF PatternColor(int x, int y) { return RGB(30 + x * 50, 200 - y * 40, 90 + (x ^ y) * 20); }

// A 24-bit BMP file of the pattern, 4 × 3 pixels.
std::string PatternBmp() {
    constexpr int kWidth = 4, kHeight = 3, kRow = 12;
    std::string file(54 + kRow * kHeight, '\0');
    BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
    BITMAPINFOHEADER info{sizeof info, kWidth, kHeight, 1, 24, BI_RGB, kRow * kHeight};
    std::memcpy(file.data(), &header, 14);
    std::memcpy(file.data() + 14, &info, 40);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            char* pixel = file.data() + 54 + (kHeight - 1 - y) * kRow + x * 3;
            pixel[0] = static_cast<char>(GetBValue(PatternColor(x, y)));
            pixel[1] = static_cast<char>(GetGValue(PatternColor(x, y)));
            pixel[2] = static_cast<char>(GetRValue(PatternColor(x, y)));
        }
    }
    return file;
}

// The clipboard's bitmap: its size and the colour of each pixel, top row first.
struct ClipboardPicture {
    long width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

ClipboardPicture ReadClipboardPicture() {
    ClipboardPicture picture;
    Clipboard clipboard;
    const HBITMAP bitmap = clipboard.Bitmap();
    BITMAP shape{};
    if (!bitmap || !GetObjectA(bitmap, sizeof shape, &shape)) return picture;
    picture.width = shape.bmWidth;
    picture.height = shape.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, shape.bmWidth, -shape.bmHeight, 1, 32, BI_RGB};
    std::vector<UINT32> bits(static_cast<size_t>(shape.bmWidth * shape.bmHeight));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    GetDIBits(dc.get(), bitmap, 0, shape.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
    for (UINT32 p : bits) picture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return picture;
}

class PageClipboardTest : public PageTest {
protected:
    void LoadPictures() {
        Serve("/p.bmp", PatternBmp(), "image/bmp");
        Serve("/", "<html><body><p id=text>copy me please</p><img id=plain src=/p.bmp>"
                   "<img id=wide src=/p.bmp width=8 height=6><img id=broken src=/missing.bmp></body></html>");
        ASSERT_GT(server_.Start(), 0);
        Load(Url("/"));
        ASSERT_TRUE(corvalin::testing::PumpUntil([&] {
            return Eval(L"'' + (document.getElementById('plain').complete && document.getElementById('wide').complete)") == L"true";
        }));
        Clipboard().PutText(L"before");
    }
};

TEST_F(PageClipboardTest, AControlRangeCopiesThePictureAtItsDisplayedSize) {
    LoadPictures();
    EXPECT_EQ(Eval(L"r = document.body.createControlRange(); r.add(document.getElementById('plain'));"
                   L"r.add(document.getElementById('plain')); r.length + ':' + r.item(0).id + ':' + r(0).id + ':' +"
                   L"r.queryCommandEnabled('copy') + ':' + r.execCommand('copy', false, 0)"),
              L"1:plain:plain:true:true");
    ClipboardPicture plain = ReadClipboardPicture();
    ASSERT_EQ(plain.width, 4);
    ASSERT_EQ(plain.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(plain.At(x, y), PatternColor(x, y)) << x << "," << y;

    EXPECT_EQ(Eval(L"r = document.body.createControlRange(); r.add(document.getElementById('wide'));"
                   L"'' + r.execCommand('copy', false, 0)"),
              L"true");
    ClipboardPicture wide = ReadClipboardPicture();
    ASSERT_EQ(wide.width, 8);
    ASSERT_EQ(wide.height, 6);
    EXPECT_EQ(wide.At(0, 0), PatternColor(0, 0));
    EXPECT_EQ(wide.At(7, 5), PatternColor(3, 2));
}

TEST_F(PageClipboardTest, NothingToCopyLeavesTheClipboardAlone) {
    LoadPictures();
    EXPECT_EQ(Eval(L"r = document.body.createControlRange(); r.execCommand('copy', false, 0) + ':' +"
                   L"r.queryCommandEnabled('copy')"),
              L"false:false");
    EXPECT_EQ(Eval(L"r.add(document.getElementById('broken')); '' + r.execCommand('copy', false, 0)"), L"false");
    EXPECT_EQ(Eval(L"r = document.body.createControlRange(); r.add(document.getElementById('plain'));"
                   L"'' + r.execCommand('bold', false, 0)"),
              L"false");
    EXPECT_EQ(Eval(L"try { r.add(5); 'added' } catch (e) { 'refused' }"), L"refused");
    EXPECT_EQ(Eval(L"'' + document.execCommand('copy', false, 0)"), L"false");   // no selection
    EXPECT_EQ(Clipboard().Text(), L"before");
    EXPECT_EQ(Clipboard().Bitmap(), nullptr);
}

TEST_F(PageClipboardTest, TheDocumentCopiesItsSelectedText) {
    LoadPictures();
    EXPECT_EQ(Eval(L"t = document.body.createTextRange(); t.findText('me please'); t.select();"
                   L"'' + document.execCommand('copy', false, 0)"),
              L"true");
    EXPECT_EQ(Clipboard().Text(), L"me please");
}

}  // namespace
}  // namespace corvalin::browser::testing
