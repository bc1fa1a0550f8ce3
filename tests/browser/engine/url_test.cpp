#include "browser/net/url.h"

#include <gtest/gtest.h>

namespace corvalin::browser {
namespace {

TEST(UrlTest, ResolvesReferencesAgainstADocumentAddress) {
    const wchar_t* base = L"http://Host.example:8080/dir/page.php?a=1#top";
    struct Case { const wchar_t* reference; const wchar_t* expected; };
    const Case cases[] = {
        {L"next.php", L"http://host.example:8080/dir/next.php"},
        {L"/root.php?x=y", L"http://host.example:8080/root.php?x=y"},
        {L"../up/./file.js", L"http://host.example:8080/up/file.js"},
        {L"../../../../far", L"http://host.example:8080/far"},
        {L"?q=2", L"http://host.example:8080/dir/page.php?q=2"},
        {L"#frag", L"http://host.example:8080/dir/page.php?a=1#frag"},
        {L"", L"http://host.example:8080/dir/page.php?a=1"},
        {L"//other.example/x", L"http://other.example/x"},
        {L"  sub/  ", L"http://host.example:8080/dir/sub/"},
        {L"sub\\back.php", L"http://host.example:8080/dir/sub/back.php"},
        {L"HTTPS://Secure.example", L"https://secure.example/"},
        {L"javascript:go()", L"javascript:go()"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveUrl(base, c.reference), c.expected) << c.reference;
}

TEST(UrlTest, SplitsAnAddressIntoItsParts) {
    UrlParts parts;
    ASSERT_TRUE(ParseUrl(L"http://127.0.0.1:81/a/b.html?x=1&y=2#h", parts));
    EXPECT_EQ(parts.scheme, L"http");
    EXPECT_EQ(parts.host, L"127.0.0.1");
    EXPECT_EQ(parts.port, L"81");
    EXPECT_EQ(parts.path, L"/a/b.html");
    EXPECT_EQ(parts.query, L"?x=1&y=2");
    EXPECT_EQ(parts.fragment, L"#h");
    EXPECT_EQ(UrlHostWithPort(parts), L"127.0.0.1:81");
    EXPECT_FALSE(ParseUrl(L"relative/path", parts));
    EXPECT_FALSE(ParseUrl(L"c:\\file", parts));   // a drive letter is not a scheme
    EXPECT_EQ(UrlWithoutFragment(L"http://h/p?q#f"), L"http://h/p?q");
}

TEST(UrlTest, BackslashesTurnIntoSlashesOnlyInThePath) {
    const wchar_t* base = L"http://h.example/dir/page.php";
    struct Case { const wchar_t* reference; const wchar_t* expected; };
    const Case cases[] = {
        {L"sub\\x.php?path=C:\\dir\\f#a\\b", L"http://h.example/dir/sub/x.php?path=C:\\dir\\f#a\\b"},
        {L"?q=\\", L"http://h.example/dir/page.php?q=\\"},
        {L"#\\top", L"http://h.example/dir/page.php#\\top"},
        {L"http://other.example\\a\\b?c=\\d", L"http://other.example/a/b?c=\\d"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveUrl(base, c.reference), c.expected) << c.reference;
}

TEST(UrlTest, IPv6HostsKeepTheirBracketsAndPorts) {
    UrlParts parts;
    ASSERT_TRUE(ParseUrl(L"http://[::1]:8080/x?y", parts));
    EXPECT_EQ(parts.host, L"[::1]");
    EXPECT_EQ(parts.port, L"8080");
    EXPECT_EQ(parts.path, L"/x");
    ASSERT_TRUE(ParseUrl(L"http://[fe80::1]/", parts));
    EXPECT_EQ(parts.host, L"[fe80::1]");
    EXPECT_EQ(parts.port, L"");
    EXPECT_EQ(UrlHost(L"http://[::1]:81/"), L"[::1]");
    EXPECT_EQ(ResolveUrl(L"http://[::1]:81/a/b", L"c"), L"http://[::1]:81/a/c");
}

TEST(UrlTest, FileAddressesKeepTheirDrive) {
    struct Case { const wchar_t* base; const wchar_t* reference; const wchar_t* expected; };
    const Case cases[] = {
        {L"file://C:/dir/sub/p.html", L"x.js", L"file:///C:/dir/sub/x.js"},
        {L"file://C:\\dir\\sub\\p.html", L"../x.js", L"file:///C:/dir/x.js"},
        {L"file:///C:/dir/sub/p.html", L"/root.html", L"file:///C:/root.html"},
        {L"file:///C:/dir/sub/p.html", L"../../../../x.html", L"file:///C:/x.html"},
        {L"file:///C|/dir/p.html", L"y.html", L"file:///C|/dir/y.html"},
        {L"http://h/p.html", L"file://D:/a/./b.html", L"file:///D:/a/b.html"},
        {L"file://server/share/p.html", L"q.html", L"file://server/share/q.html"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveUrl(c.base, c.reference), c.expected) << c.base << L" + " << c.reference;
}

}  // namespace
}  // namespace corvalin::browser
