#include "link/http_url.h"

#include <string>

#include <gtest/gtest.h>

#include "ctype_locale.h"
#include "link/http_request.h"

namespace {

struct UrlPartsCase {
    std::string name;
    std::string url;
    std::string host;
    int port;
    bool portNamed;
    std::string target;
};

const UrlPartsCase kUrlParts[] = {
    {"ProductionForm", "http://tarnwick.example/lo.php?user=a&pass=b&c=md5&str=1", "tarnwick.example", 80, false,
     "/lo.php?user=a&pass=b&c=md5&str=1"},
    {"NamedPort", "http://127.0.0.1:8080/lo.php?x=1", "127.0.0.1", 8080, true, "/lo.php?x=1"},
    {"NamedDefaultPort", "http://h:80/lo.php?x", "h", 80, true, "/lo.php?x"},
    {"PortNotANumber", "http://h:abc/lo.php?x", "h", 80, false, "/lo.php?x"},
    {"PortOutOfRange", "http://h:70000/lo.php?x", "h", 80, false, "/lo.php?x"},
    {"HashCutsTheQuery", "http://h/lo.php?user=a#b&pass=c&str=1", "h", 80, false, "/lo.php?user=a"},
    {"NothingPercentEncoded", "http://h/lo.php?user=a b%&+\xe5\xbc\xa0", "h", 80, false,
     "/lo.php?user=a b%&+\xe5\xbc\xa0"},
    {"BackslashInQueryBecomesSlash", "http://h/lo.php?user=dom\\user", "h", 80, false, "/lo.php?user=dom/user"},
    {"BackslashesSplitHostAndPath", "http:\\\\h\\lo.php?x", "h", 80, false, "/lo.php?x"},
    {"NoPath", "http://h", "h", 80, false, "/"},
    {"QueryOnlyMark", "http://h/lo.php?", "h", 80, false, "/lo.php?"},
};

class ParseHttpUrlCases : public testing::TestWithParam<UrlPartsCase> {
protected:
    ScopedCtypeLocale utf8_{"C.UTF-8"};
};

TEST_P(ParseHttpUrlCases, TakesTheUrlApart) {
    const UrlPartsCase& c = GetParam();
    const HttpUrl url = ParseHttpUrl(c.url);
    EXPECT_EQ(url.host, c.host);
    EXPECT_EQ(url.port, c.port);
    EXPECT_EQ(url.portNamed, c.portNamed);
    EXPECT_EQ(url.target, c.target);
}

INSTANTIATE_TEST_SUITE_P(Urls, ParseHttpUrlCases, testing::ValuesIn(kUrlParts),
                         [](const auto& row) { return row.param.name; });

TEST(SlashBackslashes, LeavesABackslashTrailByteOfADoubleByteCharacter) {
    const ScopedCtypeLocale gbk("zh_CN.GBK", TARNWICK_TEST_LOCALE_DIR);
    if (!gbk.Active()) {
        GTEST_SKIP() << "no zh_CN.GBK locale under " TARNWICK_TEST_LOCALE_DIR;
    }
    EXPECT_EQ(SlashBackslashes("user=\x81\x5c\\x"), "user=\x81\x5c/x");
}

TEST(ComposeRequestHead, IsTheFixedPostHeadWithoutPortInHost) {
    EXPECT_EQ(ComposeRequestHead(ParseHttpUrl("http://tarnwick.example/lo.php?user=a b"), 10),
              "POST /lo.php?user=a b HTTP/1.0\r\n"
              "Connection: keep-alive\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\n"
              "Content-Length: 10\r\n"
              "Host: tarnwick.example\r\n"
              "Accept: text/html, */*\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
              "\r\n");
}

TEST(ComposeRequestHead, NamesAPortOtherThan80InHost) {
    const std::string head80 = ComposeRequestHead(ParseHttpUrl("http://h:80/x"), 10);
    const std::string head8080 = ComposeRequestHead(ParseHttpUrl("http://h:8080/x"), 10);
    EXPECT_NE(head80.find("\r\nHost: h\r\n"), std::string::npos);
    EXPECT_NE(head8080.find("\r\nHost: h:8080\r\n"), std::string::npos);
}

}  // namespace
