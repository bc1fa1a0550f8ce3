#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>
#include "skin/drawing/drawing_objects.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_color.h"
#include "skin/skin_test_environment.h"

namespace corvalin {
namespace {

using testing::CreateTestWindow;

TEST(DrawingObjectsTest, DestroyingAnEmptyObjectCallsNothingAndReportsFalse) {
    SkinPath path;
    SkinPen pen;
    SkinSolidBrush brush;
    SkinFont font;
    SkinGraphics graphics;
    SkinImage image;
    SkinCanvas canvas;
    // A status no delete function answers: it survives only if GDI+ is not called.
    LastDrawStatus = Gdiplus::Aborted;
    EXPECT_FALSE(path.Destroy());
    EXPECT_FALSE(pen.Destroy());
    EXPECT_FALSE(brush.Destroy());
    EXPECT_FALSE(font.Destroy());
    EXPECT_FALSE(graphics.Destroy());
    EXPECT_FALSE(image.Dispose());
    EXPECT_FALSE(canvas.Dispose());
    EXPECT_EQ(LastDrawStatus, Gdiplus::Aborted);

    ASSERT_TRUE(path.Create());
    EXPECT_TRUE(path.Destroy());
    EXPECT_EQ(LastDrawStatus, Gdiplus::Ok);
    EXPECT_FALSE(path);
}

TEST(DrawingObjectsTest, FailedCallsLeaveTheirStatus) {
    SkinPath path;   // never created
    EXPECT_FALSE(path.AddLine(0, 0, 1, 1));
    EXPECT_EQ(LastDrawStatus, Gdiplus::InvalidParameter);
    SkinCanvas canvas;
    EXPECT_FALSE(canvas.Create(0, 5));
    EXPECT_NE(LastDrawStatus, Gdiplus::Ok);
    EXPECT_FALSE(canvas);
}

TEST(DrawingObjectsTest, CanvasIsThirtyTwoBitArgbUnlessAskedOtherwise) {
    SkinCanvas plain(8, 6);
    EXPECT_EQ(plain.Format(), 0x0026200Au);
    EXPECT_EQ(plain.Width(), 8u);
    EXPECT_EQ(plain.Height(), 6u);
    SkinCanvas rgb;
    ASSERT_TRUE(rgb.Create(4, 4, PixelFormat24bppRGB));
    EXPECT_EQ(rgb.Format(), static_cast<Gdiplus::PixelFormat>(PixelFormat24bppRGB));
}

TEST(DrawingObjectsTest, FillsAndGradientsLandOnTheCanvas) {
    SkinCanvas canvas(20, 20);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    ASSERT_TRUE(graphics.Clear(0xFF000000));
    SkinSolidBrush red(ColorToArgb(RGB(255, 0, 0), 255));
    ASSERT_TRUE(graphics.FillRectangle(red, 0, 0, 10, 20));
    SkinLinearBrush shade;
    ASSERT_TRUE(shade.Create(0, 0, 0, 20, 0xFFFFFFFF, 0xFF0000FF));
    ASSERT_TRUE(graphics.FillRectangle(shade, 10, 0, 10, 20));
    graphics.Destroy();

    EXPECT_EQ(canvas.GetPixel(3, 10), 0xFFFF0000u);
    const Gdiplus::ARGB top = canvas.GetPixel(15, 0), bottom = canvas.GetPixel(15, 19);
    EXPECT_GT(top & 0xFF00, 0xE000u);      // nearly white: green high
    EXPECT_LT(bottom & 0xFF00, 0x2000u);   // nearly blue: green low
    EXPECT_GT(bottom & 0xFF, 0xE0u);
}

TEST(DrawingObjectsTest, PathBrushAndPresetBlendAcceptTheirColours) {
    SkinPath path;
    ASSERT_TRUE(path.Create());
    ASSERT_TRUE(path.AddEllipse(0, 0, 16, 16));
    SkinPathBrush dot;
    ASSERT_TRUE(dot.Create(path));
    EXPECT_TRUE(dot.SetCenterColor(0xFFFFFFFF));
    EXPECT_TRUE(dot.SetSurroundColors({0xFF808000}));
    EXPECT_EQ(dot.Type(), Gdiplus::BrushTypePathGradient);

    SkinLinearBrush three;
    ASSERT_TRUE(three.Create(0, 0, 0, 10, 0x32FFFFFF, 0x32FFFFFF));
    EXPECT_TRUE(three.SetPresetBlend({0x32FFFFFF, 0x0A000000, 0x32FFFFFF}, {0.0f, 0.5f, 1.0f}));
    EXPECT_FALSE(three.SetPresetBlend({0x32FFFFFF, 0x0A000000}, {0.0f}));

    SkinCanvas canvas(16, 16);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    ASSERT_TRUE(graphics.FillPath(dot, path));
    graphics.Destroy();
    EXPECT_EQ(canvas.GetPixel(0, 0) >> 24, 0u);        // outside the ellipse
    EXPECT_GT(canvas.GetPixel(8, 8) & 0xFF, 0xC0u);    // white centre: blue high
}

TEST(DrawingObjectsTest, ImageFromBytesOutlivesTheCallersBuffer) {
    auto* bytes = new Bytes(CheckBoxCheckedGlyph().ToBytes());
    SkinImage image;
    ASSERT_TRUE(image.LoadFromBytes(*bytes));
    std::memset(bytes->data(), 0, bytes->size());
    delete bytes;

    SkinCanvas canvas(13, 13);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    ASSERT_TRUE(graphics.DrawImage(image, 0, 0));
    graphics.Destroy();
    EXPECT_EQ(canvas.GetPixel(0, 0), 0xFF185184u);
    EXPECT_EQ(canvas.GetPixel(9, 3), 0xFF246E75u);
    EXPECT_TRUE(image.Dispose());
    EXPECT_FALSE(image.Dispose());
}

TEST(DrawingObjectsTest, BytesThatDoNotDecodeLeaveTheImageEmpty) {
    const Bytes junk = {1, 2, 3, 4, 5};
    SkinImage image;
    EXPECT_FALSE(image.LoadFromBytes(junk));
    EXPECT_FALSE(image);
    EXPECT_EQ(image.Width(), 0u);
    SkinCanvas canvas(4, 4);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    EXPECT_FALSE(graphics.DrawImage(image, 0, 0));
}

TEST(DrawingObjectsTest, EncodingFindsTheEncoderByFormatText) {
    SkinCanvas canvas(5, 3);
    {
        SkinGraphics graphics;
        ASSERT_TRUE(graphics.Create(canvas));
        graphics.Clear(0xFF204060);
    }
    const Bytes png = canvas.EncodeToBytes(kPngFormat);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG", 4), 0);
    SkinCanvas decoded;
    ASSERT_TRUE(decoded.CreateFromBytes(png));
    EXPECT_EQ(decoded.Width(), 5u);
    EXPECT_EQ(decoded.GetPixel(4, 2), 0xFF204060u);

    // Without a format the image keeps its own (the decoded PNG's).
    const Bytes again = decoded.EncodeToBytes();
    ASSERT_GT(again.size(), 8u);
    EXPECT_EQ(std::memcmp(again.data(), "\x89PNG", 4), 0);

    EXPECT_TRUE(canvas.EncodeToBytes("{00000000-1111-2222-3333-444444444444}").empty());
    EXPECT_TRUE(canvas.EncodeToBytes("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}").empty())
        << "the format text is compared exactly";
}

TEST(DrawingObjectsTest, MemoryStreamWorksOnAPrivateCopy) {
    Bytes source = {10, 20, 30, 40, 50};
    SkinMemoryStream stream;
    IStream* com = stream.CreateFromBytes(source);
    ASSERT_NE(com, nullptr);
    source[0] = 99;
    std::uint8_t read[8] = {};
    ULONG count = 0;
    ASSERT_EQ(com->Read(read, sizeof(read), &count), S_OK);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(read[0], 10);
    EXPECT_EQ(read[4], 50);
    EXPECT_EQ(stream.ReadAll(), (Bytes{10, 20, 30, 40, 50}));

    // Writing grows the block; ReadAll follows the stream wherever it went.
    const std::uint8_t more[300] = {7};
    ASSERT_EQ(com->Write(more, sizeof(more), &count), S_OK);
    EXPECT_EQ(stream.ReadAll().size(), 305u);
    EXPECT_EQ(GlobalFlags(stream.MemoryHandle()) & GMEM_INVALID_HANDLE, 0u);

    stream.Release();
    EXPECT_EQ(stream.Stream(), nullptr);
    EXPECT_TRUE(stream.ReadAll().empty());
    stream.Release();
}

TEST(DrawingObjectsTest, TextCrossesToGdiplusAndEmptyTextDrawsNothing) {
    SkinFont font;
    // The skin's own face; the test session maps it to an installed CJK font.
    ASSERT_TRUE(font.Create("宋体", 12, 1, Gdiplus::UnitPoint)) << "status " << LastDrawStatus;
    EXPECT_EQ(font.Style(), 1);
    EXPECT_FLOAT_EQ(font.Size(), 12.0f);
    SkinFontFamily family;
    ASSERT_TRUE(font.GetFamily(family));
    EXPECT_FALSE(family.Name().empty());
    SkinFont missing;
    EXPECT_FALSE(missing.Create("No Such Face Anywhere", 12, 0, Gdiplus::UnitPoint));
    EXPECT_EQ(LastDrawStatus, Gdiplus::FontFamilyNotFound);
    EXPECT_FALSE(missing);

    SkinStringFormat format;
    ASSERT_TRUE(format.Create());
    EXPECT_TRUE(format.SetAlignment(Gdiplus::StringAlignmentCenter));
    EXPECT_TRUE(format.SetLineAlignment(Gdiplus::StringAlignmentCenter));
    EXPECT_TRUE(format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter));

    SkinCanvas canvas(120, 30);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    const SkinRectF layout{0, 0, 120, 30};
    const SkinRectF wide = graphics.MeasureString("状态：在线", font, layout, format);
    const SkinRectF narrow = graphics.MeasureString("状", font, layout, format);
    EXPECT_GT(wide.width, narrow.width);
    EXPECT_GT(narrow.width, 0.0f);

    SkinSolidBrush black(0xFF000000);
    EXPECT_TRUE(graphics.DrawString("", font, layout, format, black));
    graphics.Destroy();
    for (int y = 0; y < 30; y += 3)
        for (int x = 0; x < 120; x += 3) ASSERT_EQ(canvas.GetPixel(x, y), 0u) << x << "," << y;
}

TEST(DrawingObjectsTest, FontFromDeviceContextTakesTheSelectedFont) {
    HFONT gdiFont = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HDC dc = CreateCompatibleDC(nullptr);
    SkinFont font;
    ASSERT_TRUE(font.Create(dc, gdiFont));
    EXPECT_EQ(font.Style() & Gdiplus::FontStyleBold, Gdiplus::FontStyleBold);
    SkinFont fallback;
    EXPECT_TRUE(fallback.Create(dc));
    DeleteDC(dc);
    DeleteObject(gdiFont);
}

TEST(DrawingObjectsTest, ToolTipToolsBelongToTheOwnerGivenAtCreation) {
    HWND owner = CreateTestWindow(nullptr, 0, 0, 200, 100);
    SkinToolTip tip;
    tip.Create(owner);
    EXPECT_EQ(tip.Owner(), owner);
    // Tools given before the window exists are kept and handed over when it is made.
    ASSERT_TRUE(tip.AddTool(1, RECT{0, 0, 26, 18}, "关闭"));
    ASSERT_TRUE(tip.AddTool(2, RECT{30, 0, 56, 18}, "最小化"));
    EXPECT_FALSE(tip.AddTool(2, RECT{}, "again")) << "a second tool under one id";
    ASSERT_TRUE(tip.SetToolRect(2, RECT{40, 0, 66, 18}));
    EXPECT_EQ(tip.Window(), nullptr) << "made before it was needed";
    ASSERT_NE(tip.Realise(), nullptr);
    ASSERT_TRUE(tip.UpdateText(1, "帮助"));
    EXPECT_FALSE(tip.SetToolRect(7, RECT{})) << "no tool 7";
    EXPECT_EQ(SendMessageA(tip.Window(), TTM_GETTOOLCOUNT, 0, 0), 2);

    char text[80] = {};
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip.Window(), TTM_ENUMTOOLSA, 1, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.hwnd, owner);
    EXPECT_EQ(info.uId, 2u);
    EXPECT_EQ(info.rect.left, 40);
    info = TOOLINFOA{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.uId = 1;
    info.lpszText = text;
    SendMessageA(tip.Window(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, "帮助");

    HWND window = tip.Window();
    {
        SkinToolTip moved(std::move(tip));
        EXPECT_EQ(tip.Window(), nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
    DestroyWindow(owner);
}

// A mouse message relayed from the owner makes the window when none exists.
TEST(DrawingObjectsTest, ToolTipIsMadeByTheFirstRelayedMouseMessage) {
    HWND owner = CreateTestWindow(nullptr, 0, 0, 200, 100);
    SkinToolTip tip;
    tip.Create(owner);
    tip.Relay(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(tip.Window(), nullptr) << "a tip with no tools needs no window";
    tip.AddTool(1, RECT{0, 0, 26, 18}, "关闭");
    tip.Relay(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_NE(tip.Window(), nullptr);
    EXPECT_EQ(SendMessageA(tip.Window(), TTM_GETTOOLCOUNT, 0, 0), 1);
    tip.Create(owner);   // another owner's tools start afresh
    EXPECT_EQ(tip.Window(), nullptr);
    EXPECT_FALSE(tip.UpdateText(1, "x"));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace corvalin
