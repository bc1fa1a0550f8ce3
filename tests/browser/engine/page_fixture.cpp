#include "browser/engine/page_fixture.h"

#include <ole2.h>

#include <algorithm>
#include <vector>

#include "support/message_pump.h"

namespace corvalin::browser::testing {

std::wstring Value::Text() const {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return L"";
    std::wstring out = text.bstrVal ? text.bstrVal : L"";
    VariantClear(&text);
    return out;
}

HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::initializer_list<VARIANT> args, VARIANT* result) {
    if (!object) return E_POINTER;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

VARIANT TextArg(const wchar_t* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

VARIANT NumberArg(double number) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = number;
    return v;
}

ComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name) {
    Value value;
    Invoke(object, name, DISPATCH_PROPERTYGET, {}, &value.v);
    return value.Object();
}

ComPtr<IDispatch> CallObject(IDispatch* object, const wchar_t* name, std::initializer_list<VARIANT> args) {
    Value value;
    Invoke(object, name, DISPATCH_METHOD, args, &value.v);
    for (VARIANT arg : args) VariantClear(&arg);
    return value.Object();
}

std::wstring GetText(IDispatch* object, const wchar_t* name) {
    Value value;
    if (FAILED(Invoke(object, name, DISPATCH_PROPERTYGET, {}, &value.v))) return L"<failed>";
    return value.Text();
}

bool PutText(IDispatch* object, const wchar_t* name, const wchar_t* text) {
    VARIANT arg = TextArg(text);
    const HRESULT hr = Invoke(object, name, DISPATCH_PROPERTYPUT, {arg}, nullptr);
    VariantClear(&arg);
    return SUCCEEDED(hr);
}

HRESULT CallMethod(IDispatch* object, const wchar_t* name, std::initializer_list<VARIANT> args) {
    Value value;
    const HRESULT hr = Invoke(object, name, DISPATCH_METHOD, args, &value.v);
    for (VARIANT arg : args) VariantClear(&arg);
    return hr;
}

RawServer::RawServer(std::function<void(SOCKET)> serve) : serve_(std::move(serve)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(listener_, 8);
    thread_ = std::thread([this] {
        while (!stop_) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(listener_, &readable);
            timeval wait{0, 50000};
            if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            serve_(client);
            closesocket(client);
        }
    });
}

RawServer::~RawServer() {
    stop_ = true;
    thread_.join();
    closesocket(listener_);
}

std::string RawServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void PageTest::SetUp() {
    OleInitialize(nullptr);
    ASSERT_TRUE(RegisterBrowserBoxClass());
    parent_ = CreateWindowExA(0, "STATIC", "page test", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
}

void PageTest::TearDown() {
    // A key-up still queued would otherwise land in the next test's page.
    corvalin::testing::DrainInput();
    if (parent_) DestroyWindow(parent_);
    box_ = nullptr;
    OleUninitialize();
}

BrowserBox& PageTest::CreateBox(const std::string& start) {
    HWND window = CreateWindowExA(0, kBrowserBoxClass, start.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 600, 440, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(101)), GetModuleHandleA(nullptr), nullptr);
    box_ = BrowserBox::FromWindow(window);
    EXPECT_NE(box_, nullptr);
    EXPECT_TRUE(box_->WaitForLoad());
    return *box_;
}

void PageTest::Load(const std::wstring& url) {
    if (!box_) CreateBox();
    box_->Navigate(url);
    ASSERT_TRUE(box_->WaitForLoad()) << "load timed out";
}

void PageTest::LoadMarkup(const std::wstring& markup, const std::wstring& url) {
    if (!box_) CreateBox();
    box_->NavigateToMarkup(markup, url);
    ASSERT_TRUE(box_->WaitForLoad()) << "load timed out";
}

void PageTest::Serve(const std::string& path, const std::string& body, const std::string& contentType) {
    server_.server().Get(path, [body, contentType](const httplib::Request&, httplib::Response& response) {
        response.set_content(body, contentType.c_str());
    });
}

std::wstring PageTest::Url(const std::string& path) const {
    const std::string url = server_.Url(path);
    return std::wstring(url.begin(), url.end());
}

ComPtr<IDispatch> PageTest::ElementById(const wchar_t* id) const {
    return CallObject(Document().Get(), L"getElementById", {TextArg(id)});
}

std::wstring PageTest::Eval(const std::wstring& expression) {
    Value value;
    if (!box_->Evaluate(expression, &value.v)) return L"<error>";
    return value.Text();
}

}  // namespace corvalin::browser::testing
