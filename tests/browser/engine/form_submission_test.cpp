// Loopback server first: its socket header must come before windows.h.
#include "browser/engine/page_fixture.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <memory>
#include <string>

#include "base/text.h"
#include "base/unique.h"
#include "browser/dom/document.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin::browser::testing {
namespace {

using FormSubmissionTest = PageTest;
using corvalin::testing::PumpUntil;

TEST_F(FormSubmissionTest, ClickingSubmitPostsTheFormInTheDocumentCharset) {
    const auto received = std::make_shared<std::string>();
    server_.server().Post("/submit", [received](const httplib::Request& request, httplib::Response& response) {
        *received = request.get_header_value("Content-Type") + "\n" + request.body;
        response.set_content(corvalin::EncodeCodePage(L"<span id=s>\u5df2\u63d0\u4ea4</span>", 936), "text/html; charset=gbk");
    });
    Serve("/", corvalin::EncodeCodePage(
                   L"<form method=post action=submit><input name=userqq value=10001>"
                   L"<input name=note value='\u4f60\u597d world'><input type=checkbox name=skip>"
                   L"<input type=submit name=button value='\u5f00\u59cb'><input type=submit name=other value=x></form>",
                   936),
          "text/html; charset=gb2312");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    const unsigned loads = box_->LoadCount();
    ComPtr<IDispatch> button = CallObject(Document().Get(), L"getElementsByName", {TextArg(L"button")});
    ASSERT_EQ(CallMethod(CallObject(button.Get(), L"item", {NumberArg(0)}).Get(), L"click"), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return box_->LoadCount() > loads && !box_->IsLoading(); }, 5000));
    EXPECT_EQ(*received, "application/x-www-form-urlencoded\nuserqq=10001&note=%C4%E3%BA%C3+world&button=%BF%AA%CA%BC");
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"\u5df2\u63d0\u4ea4");
    EXPECT_EQ(GetText(Document().Get(), L"url"), Url("/submit"));
}

TEST_F(FormSubmissionTest, GetFormsPutTheDataIntoTheQuery) {
    const auto query = std::make_shared<std::string>();
    server_.server().Get("/search", [query](const httplib::Request& request, httplib::Response& response) {
        *query = request.target;
        response.set_content("<span id=s>found</span>", "text/html");
    });
    Serve("/", "<meta charset=utf-8><form action='search?old=1#frag'><input name=q value='\xE4\xB8\xAD a&b'>"
               "<select name=kind><option>x<option selected>y</select></form>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    const unsigned loads = box_->LoadCount();
    CallMethod(CallObject(GetObject(Document().Get(), L"forms").Get(), L"item", {NumberArg(0)}).Get(), L"submit");
    ASSERT_TRUE(PumpUntil([&] { return box_->LoadCount() > loads && !box_->IsLoading(); }, 5000));
    EXPECT_EQ(*query, "/search?q=%E4%B8%AD+a%26b&kind=y");
}

// The file input asks comdlg32's GetOpenFileNameW, looked up at the click,
// so a code patch on it (as the upload routine installs) answers instead.
std::wstring* pendingPath = nullptr;
BOOL WINAPI ReplacementDialog(OPENFILENAMEW* dialog) {
    wcscpy(dialog->lpstrFile, pendingPath->c_str());
    return TRUE;
}

TEST_F(FormSubmissionTest, AFileInputTakesThePathFromThePatchedOpenDialog) {
    LoadMarkup(L"<input type=file id=f name=upload onchange=\"document.title='changed'\">");
    HMODULE comdlg = LoadLibraryA("comdlg32.dll");
    auto* target = reinterpret_cast<std::uint8_t*>(GetProcAddress(comdlg, "GetOpenFileNameW"));
    ASSERT_NE(target, nullptr);
    std::uint8_t saved[16];
    std::memcpy(saved, target, sizeof saved);
    std::uint8_t patch[16] = {};
    size_t size = 0;
    const auto address = reinterpret_cast<std::uintptr_t>(&ReplacementDialog);
    if (sizeof(void*) == 8) {
        patch[size++] = 0x48;   // mov rax, imm64; jmp rax
        patch[size++] = 0xB8;
        std::memcpy(patch + size, &address, 8);
        size += 8;
    } else {
        patch[size++] = 0xB8;   // mov eax, imm32; jmp eax
        std::memcpy(patch + size, &address, 4);
        size += 4;
    }
    patch[size++] = 0xFF;
    patch[size++] = 0xE0;
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(target, size, PAGE_EXECUTE_READWRITE, &old));
    std::wstring path = L"C:\\uploads\\\u7167\u7247.jpg";
    pendingPath = &path;
    std::memcpy(target, patch, size);
    FlushInstructionCache(GetCurrentProcess(), target, size);
    const HRESULT clicked = CallMethod(ElementById(L"f").Get(), L"click");
    std::memcpy(target, saved, size);
    FlushInstructionCache(GetCurrentProcess(), target, size);
    VirtualProtect(target, size, old, &old);
    EXPECT_EQ(clicked, S_OK);
    EXPECT_EQ(GetText(ElementById(L"f").Get(), L"value"), path);
}

}  // namespace
}  // namespace corvalin::browser::testing

namespace corvalin::browser::testing {
namespace {

TEST_F(FormSubmissionTest, MultipartFormsSendTheChosenFilesContent) {
    corvalin::testing::TempFolder folder;
    const std::string path = folder.File("upload.txt");
    {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), "file body", 9, &written, nullptr);
    }
    const auto received = std::make_shared<std::string>();
    server_.server().Post("/upload", [received](const httplib::Request& request, httplib::Response& response) {
        const auto& file = request.get_file_value("doc");
        *received = request.get_file_value("who").content + "|" + file.filename + "|" + file.content;
        response.set_content("<span id=s>stored</span>", "text/html");
    });
    Serve("/", "<form method=post enctype=multipart/form-data action=/upload><input name=who value=me>"
               "<input type=file name=doc></form>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    dom::Document* document = box_->DomDocument();
    ASSERT_NE(document, nullptr);
    document->GetElementsByName(L"doc").Item(0)->SetValue(corvalin::ToWide(path));
    const unsigned loads = box_->LoadCount();
    CallMethod(CallObject(GetObject(Document().Get(), L"forms").Get(), L"item", {NumberArg(0)}).Get(), L"submit");
    ASSERT_TRUE(PumpUntil([&] { return box_->LoadCount() > loads && !box_->IsLoading(); }, 5000));
    EXPECT_EQ(*received, "me|" + path + "|file body");
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"stored");
}

}  // namespace
}  // namespace corvalin::browser::testing
