// Addresses as the browser's fetches and the shell's download send them.
#include "base/http_address.h"

#include <gtest/gtest.h>

namespace corvalin {
namespace {

TEST(HttpAddressTest, CracksWhatTheRequestCallsTake) {
    HttpAddress a;
    ASSERT_TRUE(CrackHttpAddress("http://127.0.0.1:18731/service/page.asp?qq=1&x=%20#status", a));
    EXPECT_EQ(a.host, "127.0.0.1");
    EXPECT_EQ(a.port, 18731);
    EXPECT_FALSE(a.secure);
    EXPECT_EQ(a.pathAndQuery, "/service/page.asp?qq=1&x=%20");   // the fragment is never sent

    HttpAddress b;
    ASSERT_TRUE(CrackHttpAddress("https://example.com", b));
    EXPECT_EQ(b.port, 443);
    EXPECT_TRUE(b.secure);
    EXPECT_EQ(b.pathAndQuery, "/");

    // A GET form with long fields: longer than INTERNET_MAX_URL_LENGTH, kept whole.
    const std::string query = "/submit?text=" + std::string(5000, 'q');
    HttpAddress c;
    ASSERT_TRUE(CrackHttpAddress("http://h" + query, c));
    EXPECT_EQ(c.pathAndQuery, query);
}

TEST(HttpAddressTest, RefusesWhatIsNotAnHttpAddress) {
    HttpAddress a;
    for (const char* url : {"", "ftp://h/file", "file:///C:/page.html", "about:blank", "javascript:go()", "http://"})
        EXPECT_FALSE(CrackHttpAddress(url, a)) << url;
}

}  // namespace
}  // namespace corvalin
