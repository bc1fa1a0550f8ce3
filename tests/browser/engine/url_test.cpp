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

}  // namespace
}  // namespace corvalin::browser
