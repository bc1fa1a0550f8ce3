#include "gallery_window.h"

#include <memory>

#include "base/unique.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace corvalin::gallery {
namespace {

constexpr char kGalleryClass[] = "CorvalinSkinGallery";
constexpr COLORREF kImageColors[] = {RGB(220, 40, 40), RGB(40, 160, 60), RGB(40, 80, 220)};

bool HasClass(HWND window, const char* name) {
    char got[32] = {};
    GetClassNameA(window, got, sizeof got);
    return lstrcmpiA(got, name) == 0;
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_LISTBOX) item->itemHeight = 18;
        return TRUE;
    }
    case WM_DRAWITEM: {
        // The owner-drawn list box paints its items in plain colours of its own.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTBOX || item->itemID == static_cast<UINT>(-1)) break;
        UniqueGdiObject brush(CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(200, 120, 40) : RGB(250, 240, 200)));
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(brush.get()));
        char text[64] = {};
        SendMessageA(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
        SetBkMode(item->hDC, TRANSPARENT);
        RECT r = item->rcItem;
        r.left += 4;
        DrawTextA(item->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER);
        return TRUE;
    }
    case WM_DESTROY:
        // The picture box's bitmap is ours.
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const bool isStatic = HasClass(child, "Static"), isButton = HasClass(child, "Button");
            if (!isStatic && !isButton) continue;
            const UINT get = isStatic ? STM_GETIMAGE : BM_GETIMAGE;
            if (HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(child, get, IMAGE_BITMAP, 0)))
                DeleteObject(bitmap);
        }
        if (GetPropA(window, "Gallery_QuitOnClose")) PostQuitMessage(0);
        RemovePropA(window, "Gallery_QuitOnClose");
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterGalleryClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = GalleryProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kGalleryClass;
    RegisterClassA(&wc);
    registered = true;
}

class ControlMaker {
public:
    explicit ControlMaker(HWND window) : window_(window), font_(GetStockObject(DEFAULT_GUI_FONT)) {}
    HWND operator()(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                    HWND parent = nullptr, DWORD exStyle = 0) const {
        HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                       parent ? parent : window_, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    }
private:
    HWND window_;
    HGDIOBJ font_;
};

// Small squares of plain colours, so an image is easy to find in the pixels.
HIMAGELIST MakeImageList() {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    WindowDc screen(nullptr);
    for (COLORREF color : kImageColors) {
        UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), 16, 16));
        UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        {
            SelectScope select(dc.get(), picture.get());
            UniqueGdiObject brush(CreateSolidBrush(color));
            RECT r{0, 0, 16, 16};
            FillRect(dc.get(), &r, static_cast<HBRUSH>(brush.get()));
        }
        ImageList_AddMasked(images, picture.get(), RGB(255, 0, 255));
    }
    return images;
}

HBITMAP MakePicture(int w, int h) {
    WindowDc screen(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen.get(), w, h);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectScope select(dc.get(), picture);
    for (int y = 0; y < h; ++y) {
        UniqueGdiObject pen(CreatePen(PS_SOLID, 1, RGB(250 - y * 2, 160, 60 + y * 3)));
        SelectScope usePen(dc.get(), pen.get());
        MoveToEx(dc.get(), 0, y, nullptr);
        LineTo(dc.get(), w, y);
    }
    return picture;
}

void FillList(HWND control, UINT addMessage, std::initializer_list<const char*> items) {
    for (const char* item : items) SendMessageA(control, addMessage, 0, reinterpret_cast<LPARAM>(item));
}

void FillListView(HWND list) {
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(MakeImageList()));
    const char* columns[] = {"名称", "大小", "类型"};
    const int widths[] = {100, 70, 80};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = widths[i];
        column.pszText = const_cast<char*>(columns[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    const char* rows[][3] = {{"甲", "12", "文本"}, {"乙", "340", "图片"}, {"丙", "5", "表格"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = r;
        item.iImage = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 3; ++c) {
            LVITEMA sub{};
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(rows[r][c]);
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
        }
    }
    // The first column's header shows the list's first image before its text.
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    SendMessageA(header, HDM_SETIMAGELIST, 0, SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.fmt |= HDF_IMAGE;
    item.iImage = 0;
    SendMessageA(header, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void FillTree(HWND tree) {
    auto add = [tree](HTREEITEM parent, const char* text) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    };
    HTREEITEM root = add(TVI_ROOT, "窗口");
    add(root, "按钮");
    add(root, "编辑框");
    HTREEITEM lists = add(root, "列表");
    add(lists, "列表框");
    add(lists, "树形框");
    add(TVI_ROOT, "容器");
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(lists));
}

}  // namespace

void InitGalleryControls() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                               ICC_INTERNET_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                               ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                               ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
}

void StartGallerySkin() {
    if (!SkinGdiplusToken) {
        CreateSkinTables();
        if (!TheSkinEngine) TheSkinEngine = std::make_unique<SkinEngine>();
        InitializeSkinModule();
    }
    if (!TheSkinEngine) TheSkinEngine = std::make_unique<SkinEngine>();
}

GalleryControls CreateGallery() {
    InitGalleryControls();
    RegisterGalleryClass();
    GalleryControls g;
    g.window = CreateWindowExA(0, kGalleryClass, "Corvalin", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX |
                               WS_CLIPCHILDREN, 40, 40, kGalleryWidth, kGalleryHeight, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    const ControlMaker make(g.window);

    // Buttons, edits and combo boxes.
    g.pushButton = make("BUTTON", "按钮", BS_PUSHBUTTON, 12, 36, 90, 26);
    g.defaultButton = make("BUTTON", "默认按钮", BS_DEFPUSHBUTTON, 112, 36, 90, 26);
    g.checkBox = make("BUTTON", "复选框", BS_AUTOCHECKBOX, 12, 68, 90, 20);
    SendMessageA(g.checkBox, BM_SETCHECK, BST_CHECKED, 0);
    g.radio1 = make("BUTTON", "单选一", BS_AUTORADIOBUTTON | WS_GROUP, 112, 68, 90, 20);
    g.radio2 = make("BUTTON", "单选二", BS_AUTORADIOBUTTON, 112, 90, 90, 20);
    SendMessageA(g.radio1, BM_SETCHECK, BST_CHECKED, 0);
    g.borderEdit = make("Edit", "细边框编辑框", WS_BORDER | ES_AUTOHSCROLL, 12, 116, 190, 22);
    g.clientEdgeEdit = make("Edit", "凹边编辑框", ES_AUTOHSCROLL, 12, 144, 190, 24, nullptr, WS_EX_CLIENTEDGE);
    g.simpleCombo = make("ComboBox", "", CBS_SIMPLE, 12, 176, 90, 84);
    g.dropDownCombo = make("ComboBox", "", CBS_DROPDOWN, 112, 176, 90, 160);
    g.dropDownListCombo = make("ComboBox", "", CBS_DROPDOWNLIST, 112, 206, 90, 160);
    for (HWND combo : {g.simpleCombo, g.dropDownCombo, g.dropDownListCombo}) {
        FillList(combo, CB_ADDSTRING, {"第一项", "第二项", "第三项"});
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
    }

    g.pictureButton = make("BUTTON", "图片按钮", BS_PUSHBUTTON, 424, 36, 76, 30);
    SendMessageA(g.pictureButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(MakePicture(28, 18)));
    g.stateButton = make("BUTTON", "开关", BS_PUSHBUTTON, 424, 72, 76, 26);

    // A group box and a tab control, each holding controls.
    g.groupBox = make("BUTTON", "分组框", BS_GROUPBOX, 12, 266, 190, 110);
    g.groupEdit = make("Edit", "组内编辑框", WS_BORDER, 10, 20, 170, 22, g.groupBox);
    g.groupTrackbar = make(TRACKBAR_CLASSA, "", TBS_AUTOTICKS, 10, 46, 170, 30, g.groupBox);
    g.groupListBox = make("ListBox", "", WS_BORDER | LBS_NOTIFY, 10, 78, 170, 28, g.groupBox);
    FillList(g.groupListBox, LB_ADDSTRING, {"组内列表"});
    g.tab = make(WC_TABCONTROLA, "", 0, 12, 384, 190, 96);
    for (const char* title : {"第一页", "第二页"}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(title);
        SendMessageA(g.tab, TCM_INSERTITEMA, SendMessageA(g.tab, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    }
    g.tabCheckBox = make("BUTTON", "页内复选框", BS_AUTOCHECKBOX, 10, 30, 110, 20, g.tab);
    g.tabProgress = make(PROGRESS_CLASSA, "", 0, 10, 58, 130, 18, g.tab);
    SendMessageA(g.tabProgress, PBM_SETPOS, 70, 0);
    g.tabUpDown = make(UPDOWN_CLASSA, "", 0, 150, 52, 18, 30, g.tab);

    // Trackbars and progress bars.
    g.trackbar = make(TRACKBAR_CLASSA, "", TBS_AUTOTICKS, 216, 36, 200, 34);
    SendMessageA(g.trackbar, TBM_SETPOS, TRUE, 30);
    g.plainTrackbar = make(TRACKBAR_CLASSA, "", TBS_NOTICKS | TBS_ENABLESELRANGE, 216, 74, 200, 26);
    SendMessageA(g.plainTrackbar, TBM_SETSEL, TRUE, MAKELPARAM(20, 60));
    SendMessageA(g.plainTrackbar, TBM_SETPOS, TRUE, 60);
    g.progress = make(PROGRESS_CLASSA, "", 0, 216, 106, 200, 18);
    SendMessageA(g.progress, PBM_SETPOS, 50, 0);
    g.verticalTrackbar = make(TRACKBAR_CLASSA, "", TBS_VERT | TBS_AUTOTICKS, 508, 36, 34, 140);
    g.verticalProgress = make(PROGRESS_CLASSA, "", PBS_VERTICAL, 550, 36, 18, 140);
    SendMessageA(g.verticalProgress, PBM_SETPOS, 40, 0);

    // List-type controls.
    g.listBox = make("ListBox", "", WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 216, 132, 130, 84);
    FillList(g.listBox, LB_ADDSTRING, {"列表项一", "列表项二", "列表项三", "列表项四", "列表项五", "列表项六",
                                       "列表项七", "列表项八"});
    g.ownerDrawnListBox = make("ListBox", "", WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 354, 132, 140, 84);
    FillList(g.ownerDrawnListBox, LB_ADDSTRING, {"自绘一", "自绘二", "自绘三"});
    g.listView = make(WC_LISTVIEWA, "", LVS_REPORT | WS_BORDER, 216, 224, 278, 120);
    FillListView(g.listView);
    g.header = reinterpret_cast<HWND>(SendMessageA(g.listView, LVM_GETHEADER, 0, 0));
    g.treeView = make(WC_TREEVIEWA, "", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER, 508, 186, 190,
                      158);
    FillTree(g.treeView);
    g.ipAddress = make(WC_IPADDRESSA, "", 0, 216, 352, 150, 22);
    SendMessageA(g.ipAddress, IPM_SETADDRESS, 0, MAKEIPADDRESS(127, 0, 0, 1));
    g.dateTime = make(DATETIMEPICK_CLASSA, "", DTS_SHORTDATEFORMAT, 216, 382, 150, 24);

    // Up-downs of both directions and odd sizes.
    g.upDown = make(UPDOWN_CLASSA, "", 0, 580, 36, 18, 40);
    g.horizontalUpDown = make(UPDOWN_CLASSA, "", UDS_HORZ, 606, 36, 40, 18);
    g.oddUpDown = make(UPDOWN_CLASSA, "", 0, 580, 86, 17, 23);
    g.oddHorizontalUpDown = make(UPDOWN_CLASSA, "", UDS_HORZ, 606, 86, 23, 15);

    // A label and a picture box.
    g.label = make("STATIC", "标签：每一种控件都由皮肤绘制", SS_LEFT, 216, 418, 280, 18);
    g.picture = make("STATIC", "", SS_BITMAP, 508, 356, 64, 48);
    SendMessageA(g.picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(MakePicture(64, 48)));
    return g;
}

void SkinGallery(const GalleryControls& gallery) {
    if (!TheSkinEngine) return;
    SkinEngine& engine = *TheSkinEngine;
    const BuiltinImage background = WindowBackgroundPicture();
    engine.SetSkinPicture("", background.ToBytes(), std::nullopt, std::nullopt, 3);
    engine.SetControlVeil(1, 160);
    SkinWindowOptions options;
    options.doubleClickMaximizes = 0;
    engine.SkinWindow(gallery.window, options);
    engine.SkinPictureButton(gallery.pictureButton);
    engine.SkinStateButton(gallery.stateButton);
    engine.SkinContainer(gallery.groupBox, std::nullopt, 0, 75, std::nullopt);
    engine.SkinContainer(gallery.tab, std::nullopt, 0, 75, std::nullopt);
    engine.SkinStaticControl(gallery.label, std::nullopt, 0, 75);
    engine.SkinStaticControl(gallery.picture, std::nullopt, 0, 75);
    // Check boxes and radios draw their text straight on the dark picture (no
    // veil behind them): light text, as a form over this picture would set it.
    for (HWND button : {gallery.checkBox, gallery.radio1, gallery.radio2, gallery.tabCheckBox})
        engine.SetControlTextColor(button, RGB(240, 240, 240));
}

}  // namespace corvalin::gallery
