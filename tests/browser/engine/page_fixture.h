// A real browser box in a real window, pages served by a loopback server the
// test starts, and late-bound calls into the page exactly as automation code
// makes them.
#pragma once
#include "support/loopback_server.h"

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "browser/browser_box.h"

namespace corvalin::browser::testing {

using Microsoft::WRL::ComPtr;

// Owns a VARIANT.
struct Value {
    VARIANT v;
    Value() { VariantInit(&v); }
    Value(const Value&) = delete;
    ~Value() { VariantClear(&v); }
    std::wstring Text() const;
    IDispatch* Object() const { return v.vt == VT_DISPATCH ? v.pdispVal : nullptr; }
};

// Late-bound calls by name: GetIDsOfNames, then Invoke.
HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::initializer_list<VARIANT> args, VARIANT* result);
VARIANT TextArg(const wchar_t* text);   // a BSTR the caller frees with VariantClear
VARIANT NumberArg(double number);
ComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name);
ComPtr<IDispatch> CallObject(IDispatch* object, const wchar_t* name, std::initializer_list<VARIANT> args);
std::wstring GetText(IDispatch* object, const wchar_t* name);
bool PutText(IDispatch* object, const wchar_t* name, const wchar_t* value);
HRESULT CallMethod(IDispatch* object, const wchar_t* name, std::initializer_list<VARIANT> args = {});

// A TCP server on 127.0.0.1 that hands each accepted socket to `serve`, for
// answers no HTTP library gives: cut-off responses, dropped connections.
class RawServer {
public:
    explicit RawServer(std::function<void(SOCKET)> serve);
    ~RawServer();
    std::string Url(const std::string& path = "/") const;

private:
    std::function<void(SOCKET)> serve_;
    SOCKET listener_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class PageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A box created in a visible parent window, loading `start`.
    BrowserBox& CreateBox(const std::string& start = "");
    // Navigates and waits for the load; fails the test on a timeout.
    void Load(const std::wstring& url);
    void LoadMarkup(const std::wstring& markup, const std::wstring& url = L"about:blank");
    void Serve(const std::string& path, const std::string& body, const std::string& contentType = "text/html");
    std::wstring Url(const std::string& path) const;

    ComPtr<IDispatch> Document() const { return box_->Document(); }
    ComPtr<IDispatch> ElementById(const wchar_t* id) const;
    std::wstring Eval(const std::wstring& expression);

    // Outlives the test body (the page may still be polling it until TearDown):
    // a route handler owns what it touches, never a local of the test by reference.
    corvalin::testing::LoopbackServer server_;
    HWND parent_ = nullptr;
    BrowserBox* box_ = nullptr;
};

}  // namespace corvalin::browser::testing
