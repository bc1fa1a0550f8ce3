// Pictures taken from a page through the copy command and the clipboard, and
// re-encoded with GDI+: real pixels served by a loopback server, decoded by
// the page and read back from the clipboard.
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <cstring>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "base/clipboard.h"
#include "support/child_process.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin {
namespace {

std::uint32_t Read32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The colour of pixel (x, y) (y from the top) of the test pattern.
COLORREF PatternColor(int x, int y) { return RGB(x * 40 % 256, y * 90 % 256, (x + y) * 25 % 256); }

// A 24-bit picture file of the pattern, as ClipboardImageBytes writes one.
Bytes PatternFile(int width, int height) {
    const int row = (width * 24 + 31) / 32 * 4;
    Bytes file(54 + row * height, 0);
    BITMAPFILEHEADER fileHeader{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, static_cast<DWORD>(row * height)};
    std::memcpy(file.data(), &fileHeader, 14);
    std::memcpy(file.data() + 14, &info, 40);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = file.data() + 54 + (height - 1 - y) * row + x * 3;
            const COLORREF c = PatternColor(x, y);
            pixel[0] = GetBValue(c);
            pixel[1] = GetGValue(c);
            pixel[2] = GetRValue(c);
        }
    }
    return file;
}

// The colour at (x, y) (y from the top) of a 24-bit bottom-up picture file.
COLORREF PixelOf(const Bytes& file, int x, int y) {
    const int width = static_cast<int>(Read32(file, 18));
    const int height = static_cast<int>(Read32(file, 22));
    const int row = (width * 24 + 31) / 32 * 4;
    const std::uint8_t* pixel = file.data() + 54 + (height - 1 - y) * row + x * 3;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

TEST(ImageCaptureTest, ClipboardImageBytesWritesTheHeaderAndRowsBottomUp) {
    PageAutomation automation;
    {
        WindowDc screen(nullptr);
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 10, 2));
        UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        {
            SelectScope select(dc.get(), bitmap.get());
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 10; ++x) SetPixel(dc.get(), x, y, PatternColor(x, y));
        }
        ASSERT_TRUE(Clipboard().PutBitmap(std::move(bitmap)));
    }
    const Bytes file = automation.ClipboardImageBytes();
    ASSERT_EQ(file.size(), 118u);   // rows of 30 bytes padded to 32, two of them, and the header
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    const struct {
        size_t offset;
        std::uint32_t value;
    } fields[] = {{2, 118}, {6, 0}, {10, 54}, {14, 40}, {18, 10}, {22, 2}, {26, 1 | 24 << 16}, {30, 0}, {34, 64},
                  {38, 0}, {42, 0}, {46, 0}, {50, 0}};
    for (const auto& f : fields) EXPECT_EQ(Read32(file, f.offset), f.value) << "at " << f.offset;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelOf(file, x, y), PatternColor(x, y)) << x << "," << y;

    // The bitmap was taken: a second call finds none.
    EXPECT_TRUE(automation.ClipboardImageBytes().empty());
}

TEST(ImageCaptureTest, ConvertImageEncodesWithEveryEncoderAndWritesTheTrimmedPath) {
    PageAutomation automation;
    testing::TempFolder folder;
    const Bytes source = PatternFile(7, 5);
    const struct {
        int format;
        std::string signature;
    } encoders[] = {{1, "BM"}, {2, "\xFF\xD8"}, {3, "GIF8"}, {4, "II*"}, {5, "\x89PNG\r\n\x1A\n"}};
    for (const auto& e : encoders) {
        Bytes out;
        ASSERT_TRUE(automation.ConvertImage(source, e.format, "", out)) << e.format;
        ASSERT_GE(out.size(), e.signature.size());
        EXPECT_EQ(std::string(out.begin(), out.begin() + e.signature.size()), e.signature) << e.format;
    }
    // Lossless back and forth: PNG, then BMP again, gives the same pixels.
    Bytes png, bmp;
    ASSERT_TRUE(automation.ConvertImage(source, 5, "", png));
    ASSERT_TRUE(automation.ConvertImage(png, 1, "　" + folder.File("round.bmp") + " ", bmp));
    EXPECT_EQ(testing::ReadWholeFile(folder.File("round.bmp")), std::string(bmp.begin(), bmp.end()));
    ASSERT_EQ(Read32(bmp, 18), 7u);
    ASSERT_EQ(Read32(bmp, 22), 5u);
    const int bits = bmp[28];
    ASSERT_TRUE(bits == 24 || bits == 32) << bits;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int row = (7 * bits + 31) / 32 * 4;
            const std::uint8_t* pixel = bmp.data() + Read32(bmp, 10) + (4 - y) * row + x * bits / 8;
            EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), PatternColor(x, y)) << x << "," << y;
        }
    }

    // Nothing to decode, or no encoder for the format: false, `out` untouched.
    Bytes kept{1, 2, 3};
    EXPECT_FALSE(automation.ConvertImage(Bytes{'n', 'o', 't'}, 5, "", kept));
    EXPECT_FALSE(automation.ConvertImage(source, 6, "", kept));
    EXPECT_FALSE(automation.ConvertImage(source, 0, "", kept));
    EXPECT_EQ(kept, (Bytes{1, 2, 3}));
}

TEST(ImageCaptureTest, TextToUtf16BytesKeepsOrDropsTheTerminator) {
    PageAutomation automation;
    EXPECT_EQ(automation.TextToUtf16Bytes("中文"), (Bytes{0x2D, 0x4E, 0x87, 0x65, 0, 0}));
    EXPECT_EQ(automation.TextToUtf16Bytes("中文", true), (Bytes{0x2D, 0x4E, 0x87, 0x65}));
    EXPECT_EQ(automation.TextToUtf16Bytes("a"), (Bytes{'a', 0, 0, 0}));
    EXPECT_TRUE(automation.TextToUtf16Bytes("").empty());
}

class CopyImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(automation.ConvertImage(PatternFile(12, 9), 5, "", png));
        const std::string picture(png.begin(), png.end());
        server.server().Get("/pic.png", [picture](const httplib::Request&, httplib::Response& response) {
            response.set_content(picture, "image/png");
        });
        server.server().Get("/", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<html><body><p>pictures</p><img id=small src=/pic.png>"
                                 "<img id=big src=/pic.png?big width=24 height=18></body></html>",
                                 "text/html");
        });
        ASSERT_NE(server.Start(), 0);
        ASSERT_TRUE(page.Navigate(server.Url("/")));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
        ASSERT_TRUE(testing::PumpUntil([&] {
            return page.Evaluate("document.getElementById('small').readyState + document.getElementById('big').readyState") == "completecomplete";
        }));
    }

    Bytes png;
    testing::LoopbackServer server;
    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(CopyImageTest, CopiesThePicturesPixelsAndPutsTheTextBack) {
    ASSERT_TRUE(Clipboard().PutText(L"剪贴板 text"));
    const Bytes plain = automation.CopyImage("small", 0);
    ASSERT_GE(plain.size(), 54u);
    EXPECT_EQ(plain[0], 'B');
    EXPECT_EQ(plain[1], 'M');
    ASSERT_EQ(Read32(plain, 18), 12u);
    ASSERT_EQ(Read32(plain, 22), 9u);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(PixelOf(plain, x, y), PatternColor(x, y)) << x << "," << y;
    EXPECT_EQ(Clipboard().Text(), L"剪贴板 text");

    const Bytes encoded = automation.CopyImage("small", 5);
    ASSERT_GE(encoded.size(), 8u);
    EXPECT_EQ(std::string(encoded.begin(), encoded.begin() + 8), "\x89PNG\r\n\x1A\n");
    Bytes decoded;
    ASSERT_TRUE(automation.ConvertImage(encoded, 1, "", decoded));
    EXPECT_EQ(Read32(decoded, 18), 12u);
    EXPECT_EQ(Clipboard().Text(), L"剪贴板 text");
}

TEST_F(CopyImageTest, TakesThePictureAtItsDisplayedSize) {
    const Bytes big = automation.CopyImage("big", 0);
    ASSERT_GE(big.size(), 54u);
    EXPECT_EQ(Read32(big, 18), 24u);
    EXPECT_EQ(Read32(big, 22), 18u);
    // Inside a doubled pixel the colour is the source pixel's.
    EXPECT_EQ(PixelOf(big, 2 * 5, 2 * 4), PatternColor(5, 4));
}

TEST_F(CopyImageTest, FailsQuietlyWithoutAPictureOrAnEncoder) {
    ASSERT_TRUE(Clipboard().PutText(L"kept"));
    EXPECT_TRUE(automation.CopyImage("nothing").empty());
    EXPECT_TRUE(automation.CopyImage("small", 9).empty());
    EXPECT_EQ(Clipboard().Text(), L"kept");
}

}  // namespace
}  // namespace corvalin
