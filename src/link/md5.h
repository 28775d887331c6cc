#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// MD5 message digest (RFC 1321). Feed bytes with Update in any pieces, then
// take the 16 digest bytes with Finish; the object is spent after that.
class Md5 {
public:
    using Digest = std::array<std::uint8_t, 16>;

    void Update(std::string_view bytes);
    Digest Finish();

private:
    void ProcessBlocks(const unsigned char* blocks, std::size_t blockCount);

    std::array<std::uint32_t, 4> state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    std::uint64_t byteCount_ = 0;
    std::array<unsigned char, 64> pending_{};
    std::size_t pendingSize_ = 0;
};

// The MD5 digest of bytes, all at once.
Md5::Digest Md5Digest(std::string_view bytes);

// The 16 digest bytes as 32 lowercase hexadecimal digits, high half first.
std::string DigestToHex(const Md5::Digest& digest);

// What the service is told instead of the password: DigestToHex(Md5Digest(password)).
std::string PasswordDigest(std::string_view password);
