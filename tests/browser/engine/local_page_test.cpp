// Pages loaded from file: addresses, and the page painted into a caller's
// device context.
#include "browser/engine/page_fixture.h"

#include <windows.h>

#include <fstream>

#include "base/text.h"
#include "base/unique.h"
#include "browser/net/local_file.h"
#include "support/temp_folder.h"

namespace corvalin::browser::testing {
namespace {

using LocalPageTest = PageTest;

std::wstring FileUrl(const std::string& path, bool backslashes = false) {
    std::wstring url = L"file:///" + corvalin::ToWide(path);
    if (!backslashes) {
        for (wchar_t& c : url) {
            if (c == L'\\') c = L'/';
        }
    }
    return url;
}

TEST_F(LocalPageTest, FilePagesAreDecodedByTheirDeclaredCharset) {
    corvalin::testing::TempFolder folder;
    // An ASCII name: this Wine prefix maps no other file names.
    const std::string path = folder.File("local page.html");
    std::ofstream(path, std::ios::binary)
        << "<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\"><span id=s>"
        << corvalin::EncodeCodePage(L"\u5728\u7ebf", 936) << "</span><script>document.title='ran'</script>";
    CreateBox();
    for (const std::wstring& url : {FileUrl(path), FileUrl(path, true)}) {
        LoadMarkup(L"<p>before</p>");
        Load(url);
        EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"\u5728\u7ebf");
        EXPECT_EQ(GetText(Document().Get(), L"title"), L"ran");
    }
    Load(FileUrl(folder.File("missing.html")));
    EXPECT_FALSE(ElementById(L"s"));
}

TEST_F(LocalPageTest, FilesBesideAPageLoadWhateverFormItsAddressTakes) {
    corvalin::testing::TempFolder folder;
    std::ofstream(folder.File("page.html"), std::ios::binary)
        << "<span id=s>static</span><script src=\"code.js\"></script>";
    std::ofstream(folder.File("code.js"), std::ios::binary) << "document.getElementById('s').innerHTML = 'from the file';";
    std::string path = folder.File("page.html");
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    CreateBox();
    // Three slashes, two slashes before the drive, and backslashes.
    for (const std::wstring& url : {L"file:///" + corvalin::ToWide(path), L"file://" + corvalin::ToWide(path),
                                    L"file://" + corvalin::ToWide(folder.File("page.html"))}) {
        LoadMarkup(L"<p>before</p>");
        Load(url);
        EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"from the file") << url;
    }
    // A page from the web reads no local file.
    Serve("/", "<span id=s>static</span><script src=\"file:///" + path.substr(0, path.rfind('/')) + "/code.js\"></script>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"static");
}

TEST_F(LocalPageTest, RequestsFromAFilePageReadTheFilesBesideIt) {
    corvalin::testing::TempFolder folder;
    std::ofstream(folder.File("data.txt"), std::ios::binary) << "beside";
    const std::string request =
        "<script>var x = new XMLHttpRequest(); x.open('GET', '%s', false); x.send();"
        " document.title = x.status + ':' + x.responseText;</script>";
    std::string local = request;
    local.replace(local.find("%s"), 2, "data.txt");
    std::ofstream(folder.File("page.html"), std::ios::binary) << local;
    std::string dataUrl = "file:///" + folder.File("data.txt");
    for (char& c : dataUrl) {
        if (c == '\\') c = '/';
    }
    CreateBox();
    Load(FileUrl(folder.File("page.html")));
    EXPECT_EQ(GetText(Document().Get(), L"title"), L"200:beside");
    // The same request from a web page answers nothing.
    std::string web = request;
    web.replace(web.find("%s"), 2, dataUrl);
    Serve("/", web);
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    EXPECT_EQ(GetText(Document().Get(), L"title"), L"0:");
}

TEST_F(LocalPageTest, FileAddressesNameWindowsPaths) {
    EXPECT_EQ(FileUrlToPath(L"file:///Z:/tmp/a%20b.html"), L"Z:\\tmp\\a b.html");
    EXPECT_EQ(FileUrlToPath(L"file://C:\\x\\y.htm#top"), L"C:\\x\\y.htm");
    EXPECT_EQ(FileUrlToPath(L"FILE:///C:/%E7%8A%B6.html?q=1"), L"C:\\\u72b6.html");
}

TEST_F(LocalPageTest, PrintClientPaintsThePageIntoTheGivenContext) {
    CreateBox();
    LoadMarkup(L"<body style='margin:0'>MMMMMMMMMMMMMMMMMMMM</body>");
    const HWND server = box_->RenderingWindow();
    RECT client{};
    GetClientRect(server, &client);
    corvalin::WindowDc screen(server);
    corvalin::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    corvalin::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    corvalin::SelectScope select(memory.get(), bitmap.get());
    FillRect(memory.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageA(server, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    EXPECT_EQ(GetPixel(memory.get(), client.right - 2, client.bottom - 2), RGB(255, 255, 255));
    int inked = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) inked += GetPixel(memory.get(), x, y) != RGB(255, 255, 255);
    }
    EXPECT_GT(inked, 50);   // the text
}

}  // namespace
}  // namespace corvalin::browser::testing
