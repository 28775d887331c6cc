#include "link/login_url.h"

#include <string>

#include <gtest/gtest.h>

#include "ctype_locale.h"
#include "fixed_clock.h"

namespace {

const std::string kSecretDigest = "5ebe2294ecd0e0f08eab7690d2a6ee69";  // md5("secret")
const std::string kEmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";   // md5("")

struct UrlCase {
    std::string name;
    std::string userName;
    std::string password;
    std::string expectedUserPart;  // between "user=" and "&pass="
    std::string expectedDigest;
};

const UrlCase kUrlCases[] = {
    {"EmptyUserAndPassword", "", "", "", kEmptyDigest},
    {"PlainUser", "alice", "secret", "alice", kSecretDigest},
    {"Blank", "a b", "secret", "a%20b", kSecretDigest},
    {"Ampersand", "a&q=quit", "secret", "a%26q=quit", kSecretDigest},
    {"Hash", "a#b", "secret", "a%23b", kSecretDigest},
    {"Percent", "100%", "secret", "100%25", kSecretDigest},
    {"Plus", "a+b", "secret", "a%2Bb", kSecretDigest},
    {"Backslash", "dom\\user", "secret", "dom%5Cuser", kSecretDigest},
    {"ControlsAndDelete", std::string("\t\r\n\x7f\x00", 5), "secret", "%09%0D%0A%7F%00", kSecretDigest},
    {"OtherPunctuationRaw", "a=b?c/d:e@f~!", "secret", "a=b?c/d:e@f~!", kSecretDigest},
    {"ChineseUtf8Raw", "\xe5\xbc\xa0\xe4\xb8\x89", "secret", "\xe5\xbc\xa0\xe4\xb8\x89", kSecretDigest},
    {"InvalidHighByteRaw", "\xff" "a", "secret", "\xff" "a", kSecretDigest},
    {"LongNameWhole", std::string(300, 'x'), "secret", std::string(300, 'x'), kSecretDigest},
    {"LongPasswordStill32Digits", "bob", std::string(40, 'p'), "bob", "92d2a910411dfdc344478c1a890a7a4f"},
};

class ComposeLoginUrlCases : public testing::TestWithParam<UrlCase> {
protected:
    ScopedCtypeLocale utf8_{"C.UTF-8"};
    FixedClock clock_{LocalDateTime{2024, 3, 5, 14, 7, 9}};
};

TEST_P(ComposeLoginUrlCases, LoginUrlCarriesEncodedUserDigestAndTimestamp) {
    ASSERT_TRUE(utf8_.Active());
    const UrlCase& c = GetParam();
    EXPECT_EQ(ComposeLoginUrl(RequestKind::Login, "tarnwick.example", c.userName, c.password, clock_),
              "http://tarnwick.example/lo.php?user=" + c.expectedUserPart + "&pass=" + c.expectedDigest +
                  "&c=md5&str=240305140709");
}

TEST_P(ComposeLoginUrlCases, QuitUrlDiffersOnlyInItsLiteral) {
    ASSERT_TRUE(utf8_.Active());
    const UrlCase& c = GetParam();
    EXPECT_EQ(ComposeLoginUrl(RequestKind::Quit, "127.0.0.1:8080", c.userName, c.password, clock_),
              "http://127.0.0.1:8080/lo.php?user=" + c.expectedUserPart + "&pass=" + c.expectedDigest +
                  "&c=md5&q=quit&str=240305140709");
}

INSTANTIATE_TEST_SUITE_P(UserNamesAndPasswords, ComposeLoginUrlCases, testing::ValuesIn(kUrlCases),
                         [](const auto& row) { return row.param.name; });

// A clock that moves on one second at every reading.
class TickingClock final : public Clock {
public:
    LocalDateTime Now() const override {
        ++readings;
        return LocalDateTime{2024, 1, 1, 12, 0, readings};
    }
    mutable int readings = 0;
};

TEST(ComposeLoginUrl, ReadsTheClockOnce) {
    TickingClock clock;
    const std::string url = ComposeLoginUrl(RequestKind::Login, "h", "u", "p", clock);
    EXPECT_EQ(clock.readings, 1);
    EXPECT_EQ(url.substr(url.size() - 12), "240101120001");
}

struct StampCase {
    LocalDateTime time;
    std::string stamp;
};

class RequestTimestampCases : public testing::TestWithParam<StampCase> {};

TEST_P(RequestTimestampCases, IsYyMMddHHmmss) {
    EXPECT_EQ(RequestTimestamp(GetParam().time), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(Dates, RequestTimestampCases,
                         testing::Values(StampCase{{2024, 3, 5, 14, 7, 9}, "240305140709"},
                                         StampCase{{2024, 3, 5, 0, 0, 0}, "240305000000"},
                                         StampCase{{2000, 1, 1, 0, 0, 0}, "000101000000"},
                                         StampCase{{2100, 12, 31, 23, 59, 59}, "001231235959"},
                                         StampCase{{1999, 9, 9, 9, 9, 9}, "990909090909"},
                                         StampCase{{2016, 12, 31, 23, 59, 60}, "161231235960"}));

TEST(LoginEndpoint, IsHttpHostAndScriptWithQueryMark) {
    EXPECT_EQ(LoginEndpoint("tarnwick.example"), "http://tarnwick.example/lo.php?");
}

// In a double-byte code page a character may end in 0x5C; it is one
// character, not a backslash, so it must go raw. A lone backslash is still encoded.
TEST(EncodeUserName, KeepsADoubleByteCharacterWithBackslashTrailByteWhole) {
    const ScopedCtypeLocale gbk("zh_CN.GBK", TARNWICK_TEST_LOCALE_DIR);
    if (!gbk.Active()) {
        GTEST_SKIP() << "no zh_CN.GBK locale under " TARNWICK_TEST_LOCALE_DIR;
    }
    EXPECT_EQ(EncodeUserName("\x81\x5c" "a\\"), "\x81\x5c" "a%5C");
}

TEST(EncodeUserName, SplitsAnInvalidSequenceIntoBytes) {
    const ScopedCtypeLocale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Active());
    EXPECT_EQ(EncodeUserName("\x81\x5c"), "\x81%5C");
}

}  // namespace
