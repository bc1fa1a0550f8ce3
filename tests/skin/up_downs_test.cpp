#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "base/unique.h"
#include "skin/families/control_families.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr COLORREF kImageColor = RGB(220, 40, 40);

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

bool IsArrowPixel(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; }

class UpDownsTest : public ::testing::Test {
protected:
    UpDownsTest() {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
    }
    HWND Add(const char* className, DWORD style, int x, int y, int w, int h) {
        HWND control = host.AddChild(className, "", style, x, y, w, h);
        SkinControlFamilies(host.number(), host.window());
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Settle();
        return control;
    }
    // The bounding box of the arrow's pixels inside `area` of the window.
    static RECT ArrowBox(HWND window, const RECT& area) {
        RECT box{area.right, area.bottom, area.left - 1, area.top - 1};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (IsArrowPixel(WindowPixel(window, x, y))) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    SkinnedHost host{420, 300};
};

TEST_F(UpDownsTest, ArrowsSitCentredInBothHalvesWhateverTheSize) {
    struct Case { DWORD style; int w, h; };
    const Case cases[] = {{0, 18, 40}, {0, 17, 23}, {UDS_HORZ, 40, 18}, {UDS_HORZ, 23, 15}};
    int x = 10;
    for (const Case& c : cases) {
        HWND upDown = Add(UPDOWN_CLASSA, c.style, x, 10, c.w, c.h);
        x += c.w + 20;
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h);
        const bool horizontal = c.style & UDS_HORZ;
        // The control may settle on a size of its own; the halves follow it.
        RECT window;
        GetWindowRect(upDown, &window);
        const int w = window.right - window.left, h = window.bottom - window.top;
        const RECT halves[2] = {horizontal ? RECT{0, 0, w / 2, h} : RECT{0, 0, w, h / 2},
                                horizontal ? RECT{w / 2, 0, w, h} : RECT{0, h / 2, w, h}};
        for (const RECT& half : halves) {
            const RECT arrow = ArrowBox(upDown, RECT{half.left + 2, half.top + 2, half.right - 2, half.bottom - 2});
            ASSERT_LT(arrow.left, arrow.right);
            EXPECT_LE(arrow.right - arrow.left, horizontal ? 4 : 7);
            EXPECT_LE(arrow.bottom - arrow.top, horizontal ? 7 : 4);
            // Margins differ by at most the odd pixel.
            EXPECT_LE(std::abs((arrow.left - half.left) - (half.right - arrow.right)), 1);
            EXPECT_LE(std::abs((arrow.top - half.top) - (half.bottom - arrow.bottom)), 1);
        }
    }
}

TEST_F(UpDownsTest, HighlightFollowsTheArrowUnderTheMouseAndLeavesWithIt) {
    HWND upDown = Add(UPDOWN_CLASSA, 0, 40, 40, 20, 40);
    const int n = host.number();
    const COLORREF upper = WindowPixel(upDown, 3, 4), lower = WindowPixel(upDown, 3, 36);

    MoveMouseTo(upDown, 10, 8);
    EXPECT_EQ(WindowRecord(n).upDowns[1].hotPart, 1);
    EXPECT_GT(ColorDistance(WindowPixel(upDown, 3, 4), upper), 15);
    EXPECT_LE(ColorDistance(WindowPixel(upDown, 3, 36), lower), 1);

    MoveMouseTo(upDown, 10, 32);
    EXPECT_EQ(WindowRecord(n).upDowns[1].hotPart, 2);
    EXPECT_LE(ColorDistance(WindowPixel(upDown, 3, 4), upper), 1);
    EXPECT_GT(ColorDistance(WindowPixel(upDown, 3, 36), lower), 15);

    MoveMouseTo(host.window(), 300, 250);
    EXPECT_TRUE(PumpUntil([&] { return WindowRecord(n).upDowns[1].hotPart == 0; }, 3000));
    EXPECT_LE(ColorDistance(WindowPixel(upDown, 3, 36), lower), 1);
}

class HeaderTest : public UpDownsTest {
protected:
    HeaderTest() {
        images = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
        WindowDc screen(nullptr);
        UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), 16, 16));
        {
            UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
            SelectScope select(dc.get(), picture.get());
            UniqueGdiObject brush(CreateSolidBrush(kImageColor));
            RECT r{0, 0, 16, 16};
            FillRect(dc.get(), &r, static_cast<HBRUSH>(brush.get()));
        }
        ImageList_Add(images, picture.get(), nullptr);
        list = host.AddChild(WC_LISTVIEWA, "", LVS_REPORT | LVS_SHAREIMAGELISTS, 20, 20, 300, 150);
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 120;
            column.pszText = const_cast<char*>("WWW");
            SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_IMAGE | HDI_TEXT;
        item.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
        item.iImage = 0;
        item.pszText = const_cast<char*>("WWW");
        SendMessageA(header, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SkinControlFamilies(host.number(), host.window());
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Settle();
    }
    ~HeaderTest() override {
        DestroyWindow(list);
        ImageList_Destroy(images);
    }
    std::vector<COLORREF> HeaderRow(int y) {
        RECT client;
        GetClientRect(header, &client);
        std::vector<COLORREF> row;
        for (int x = 0; x < client.right; ++x) row.push_back(ScreenPixel(header, x, y));
        return row;
    }
    HIMAGELIST images = nullptr;   // shared with the list view, so ours to destroy
    HWND list = nullptr;
    HWND header = nullptr;
};

TEST_F(HeaderTest, ItemShowsItsImageAfterTheMarginThenItsText) {
    ASSERT_EQ(WindowRecord(host.number()).headers.Find(header), 1);
    EXPECT_EQ(WindowRecord(host.number()).headers[1].listView, list);
    RECT cell{};
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    const int margin = static_cast<int>(SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    const int mid = (cell.top + cell.bottom) / 2;
    const std::vector<COLORREF> row = HeaderRow(mid);
    // The image's pixels, exactly its colour, start right after the margin.
    EXPECT_NE(row[cell.left + margin - 1], kImageColor);
    for (int x = cell.left + margin; x < cell.left + margin + 16; ++x) EXPECT_EQ(row[x], kImageColor) << x;
    // Then the text, dark, and nothing of it before the image ends.
    int firstText = -1;
    for (int y = cell.top + 2; y < cell.bottom - 2 && firstText < 0; ++y) {
        const std::vector<COLORREF> line = HeaderRow(y);
        for (int x = cell.left; x < cell.right - 4; ++x)
            if (line[x] != kImageColor && GetRValue(line[x]) + GetGValue(line[x]) + GetBValue(line[x]) < 200) {
                if (firstText < 0 || x < firstText) firstText = x;
            }
    }
    EXPECT_GE(firstText, cell.left + margin + 16);
    EXPECT_LT(firstText, cell.left + margin + 40);
}

TEST_F(HeaderTest, SurvivesAListViewRepaintAndFollowsAColumnResize) {
    RECT cell{};
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    const int y = (cell.top + cell.bottom) / 2;
    const std::vector<COLORREF> before = HeaderRow(y);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Settle();
    EXPECT_EQ(HeaderRow(y), before);

    // The separator sits at the cell's right edge; after the resize it moves.
    const int separator = cell.right - 1;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, 200);
    Settle();
    const std::vector<COLORREF> after = HeaderRow(y);
    EXPECT_GT(ColorDistance(after[separator], before[separator]), 10);
    EXPECT_LE(ColorDistance(after[199], before[separator]), 12);
    // The image list is the header's to borrow: still alive after every paint.
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
}

TEST_F(HeaderTest, HotItemTakesTheAccentAndLosesItWhenTheMouseLeaves) {
    const int n = host.number();
    RECT second{};
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const int x = second.right - 10, y = (second.top + second.bottom) / 2;
    const COLORREF cold = ScreenPixel(header, x, y);
    MoveMouseTo(header, x, y);
    EXPECT_EQ(WindowRecord(n).headers[1].hotItem, 1);
    EXPECT_GT(ColorDistance(ScreenPixel(header, x, y), cold), 15);
    MoveMouseTo(host.window(), 400, 290);
    EXPECT_TRUE(PumpUntil([&] { return WindowRecord(n).headers[1].hotItem == -1; }, 3000));
    EXPECT_LE(ColorDistance(ScreenPixel(header, x, y), cold), 2);
}

}  // namespace
}  // namespace corvalin::testing
