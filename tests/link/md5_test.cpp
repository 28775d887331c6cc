#include "link/md5.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct DigestCase {
    std::string name;
    std::string input;
    std::string digest;
};

// RFC 1321 appendix A.5, then lengths around the padding boundary (56 bytes
// leaves no room for the length; 64 is one whole block), then high bytes.
const DigestCase kCases[] = {
    {"Empty", "", "d41d8cd98f00b204e9800998ecf8427e"},
    {"A", "a", "0cc175b9c0f1b6a831c399e269772661"},
    {"Abc", "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"MessageDigest", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"Alphabet", "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"AlphaNumeric", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"Digits80", std::string("1234567890") + "1234567890" + "1234567890" + "1234567890" + "1234567890" +
                     "1234567890" + "1234567890" + "1234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {"Length55", std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
    {"Length56", std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
    {"Length63", std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
    {"Length64", std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    {"Length65", std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
    {"Length128", std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
    {"MillionA", std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    {"ChineseUtf8", "\xe5\xaf\x86\xe7\xa0\x81", "a8105204604a0b11e916f3879aae3b0b"},
    {"ZeroAndHighBytes", std::string("\x00\xff\x80", 3), "4fd64cb80c3f86e1e9d0f559af8b370f"},
};

class Md5Digests : public testing::TestWithParam<DigestCase> {};

TEST_P(Md5Digests, PasswordDigestIs32LowercaseHexDigitsOfRfc1321) {
    EXPECT_EQ(PasswordDigest(GetParam().input), GetParam().digest);
}

// Pieces that straddle the 64-byte blocks in every way give the same digest.
TEST_P(Md5Digests, FeedingInPiecesGivesTheSameDigest) {
    const std::string& input = GetParam().input;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{63}, std::size_t{65}}) {
        Md5 md5;
        for (std::size_t at = 0; at < input.size(); at += piece) {
            md5.Update(std::string_view(input).substr(at, piece));
        }
        EXPECT_EQ(DigestToHex(md5.Finish()), GetParam().digest) << "pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(Rfc1321AndBoundaries, Md5Digests, testing::ValuesIn(kCases),
                         [](const auto& row) { return row.param.name; });

TEST(DigestToHex, WritesHighHalfFirstInDigestOrder) {
    Md5::Digest digest{};
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(i * 0x11);
    }
    digest[15] = 0xa5;
    EXPECT_EQ(DigestToHex(digest), "00112233445566778899aabbccddeea5");
}

}  // namespace
