#include "link/md5.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::uint32_t RotateLeft(std::uint32_t value, int count) {
    return (value << count) | (value >> (32 - count));
}

// MD5 words are little-endian whatever the host's byte order.
std::uint32_t LoadLittleEndian32(const unsigned char* bytes) {
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
        value = (value >> 24) | ((value >> 8) & 0x0000ff00u) | ((value << 8) & 0x00ff0000u) | (value << 24);
    }
    return value;
}

void StoreLittleEndian32(std::uint32_t value, std::uint8_t* bytes) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

constexpr std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return z ^ (x & (y ^ z)); }
constexpr std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (z & (x ^ y)); }
constexpr std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return x ^ y ^ z; }
constexpr std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (x | ~z); }

}  // namespace

// One of the 64 operations of RFC 1321, section 3.4.
#define TARNWICK_MD5_STEP(f, a, b, c, d, word, constant, shift) \
    a = b + RotateLeft(a + f(b, c, d) + (word) + (constant), shift)

void Md5::ProcessBlocks(const unsigned char* blocks, std::size_t blockCount) {
    std::uint32_t a = state_[0];
    std::uint32_t b = state_[1];
    std::uint32_t c = state_[2];
    std::uint32_t d = state_[3];
    for (std::size_t block = 0; block < blockCount; ++block, blocks += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i) {
            x[i] = LoadLittleEndian32(blocks + 4 * i);
        }
        const std::uint32_t a0 = a;
        const std::uint32_t b0 = b;
        const std::uint32_t c0 = c;
        const std::uint32_t d0 = d;

        TARNWICK_MD5_STEP(F, a, b, c, d, x[0], 0xd76aa478u, 7);
        TARNWICK_MD5_STEP(F, d, a, b, c, x[1], 0xe8c7b756u, 12);
        TARNWICK_MD5_STEP(F, c, d, a, b, x[2], 0x242070dbu, 17);
        TARNWICK_MD5_STEP(F, b, c, d, a, x[3], 0xc1bdceeeu, 22);
        TARNWICK_MD5_STEP(F, a, b, c, d, x[4], 0xf57c0fafu, 7);
        TARNWICK_MD5_STEP(F, d, a, b, c, x[5], 0x4787c62au, 12);
        TARNWICK_MD5_STEP(F, c, d, a, b, x[6], 0xa8304613u, 17);
        TARNWICK_MD5_STEP(F, b, c, d, a, x[7], 0xfd469501u, 22);
        TARNWICK_MD5_STEP(F, a, b, c, d, x[8], 0x698098d8u, 7);
        TARNWICK_MD5_STEP(F, d, a, b, c, x[9], 0x8b44f7afu, 12);
        TARNWICK_MD5_STEP(F, c, d, a, b, x[10], 0xffff5bb1u, 17);
        TARNWICK_MD5_STEP(F, b, c, d, a, x[11], 0x895cd7beu, 22);
        TARNWICK_MD5_STEP(F, a, b, c, d, x[12], 0x6b901122u, 7);
        TARNWICK_MD5_STEP(F, d, a, b, c, x[13], 0xfd987193u, 12);
        TARNWICK_MD5_STEP(F, c, d, a, b, x[14], 0xa679438eu, 17);
        TARNWICK_MD5_STEP(F, b, c, d, a, x[15], 0x49b40821u, 22);

        TARNWICK_MD5_STEP(G, a, b, c, d, x[1], 0xf61e2562u, 5);
        TARNWICK_MD5_STEP(G, d, a, b, c, x[6], 0xc040b340u, 9);
        TARNWICK_MD5_STEP(G, c, d, a, b, x[11], 0x265e5a51u, 14);
        TARNWICK_MD5_STEP(G, b, c, d, a, x[0], 0xe9b6c7aau, 20);
        TARNWICK_MD5_STEP(G, a, b, c, d, x[5], 0xd62f105du, 5);
        TARNWICK_MD5_STEP(G, d, a, b, c, x[10], 0x02441453u, 9);
        TARNWICK_MD5_STEP(G, c, d, a, b, x[15], 0xd8a1e681u, 14);
        TARNWICK_MD5_STEP(G, b, c, d, a, x[4], 0xe7d3fbc8u, 20);
        TARNWICK_MD5_STEP(G, a, b, c, d, x[9], 0x21e1cde6u, 5);
        TARNWICK_MD5_STEP(G, d, a, b, c, x[14], 0xc33707d6u, 9);
        TARNWICK_MD5_STEP(G, c, d, a, b, x[3], 0xf4d50d87u, 14);
        TARNWICK_MD5_STEP(G, b, c, d, a, x[8], 0x455a14edu, 20);
        TARNWICK_MD5_STEP(G, a, b, c, d, x[13], 0xa9e3e905u, 5);
        TARNWICK_MD5_STEP(G, d, a, b, c, x[2], 0xfcefa3f8u, 9);
        TARNWICK_MD5_STEP(G, c, d, a, b, x[7], 0x676f02d9u, 14);
        TARNWICK_MD5_STEP(G, b, c, d, a, x[12], 0x8d2a4c8au, 20);

        TARNWICK_MD5_STEP(H, a, b, c, d, x[5], 0xfffa3942u, 4);
        TARNWICK_MD5_STEP(H, d, a, b, c, x[8], 0x8771f681u, 11);
        TARNWICK_MD5_STEP(H, c, d, a, b, x[11], 0x6d9d6122u, 16);
        TARNWICK_MD5_STEP(H, b, c, d, a, x[14], 0xfde5380cu, 23);
        TARNWICK_MD5_STEP(H, a, b, c, d, x[1], 0xa4beea44u, 4);
        TARNWICK_MD5_STEP(H, d, a, b, c, x[4], 0x4bdecfa9u, 11);
        TARNWICK_MD5_STEP(H, c, d, a, b, x[7], 0xf6bb4b60u, 16);
        TARNWICK_MD5_STEP(H, b, c, d, a, x[10], 0xbebfbc70u, 23);
        TARNWICK_MD5_STEP(H, a, b, c, d, x[13], 0x289b7ec6u, 4);
        TARNWICK_MD5_STEP(H, d, a, b, c, x[0], 0xeaa127fau, 11);
        TARNWICK_MD5_STEP(H, c, d, a, b, x[3], 0xd4ef3085u, 16);
        TARNWICK_MD5_STEP(H, b, c, d, a, x[6], 0x04881d05u, 23);
        TARNWICK_MD5_STEP(H, a, b, c, d, x[9], 0xd9d4d039u, 4);
        TARNWICK_MD5_STEP(H, d, a, b, c, x[12], 0xe6db99e5u, 11);
        TARNWICK_MD5_STEP(H, c, d, a, b, x[15], 0x1fa27cf8u, 16);
        TARNWICK_MD5_STEP(H, b, c, d, a, x[2], 0xc4ac5665u, 23);

        TARNWICK_MD5_STEP(I, a, b, c, d, x[0], 0xf4292244u, 6);
        TARNWICK_MD5_STEP(I, d, a, b, c, x[7], 0x432aff97u, 10);
        TARNWICK_MD5_STEP(I, c, d, a, b, x[14], 0xab9423a7u, 15);
        TARNWICK_MD5_STEP(I, b, c, d, a, x[5], 0xfc93a039u, 21);
        TARNWICK_MD5_STEP(I, a, b, c, d, x[12], 0x655b59c3u, 6);
        TARNWICK_MD5_STEP(I, d, a, b, c, x[3], 0x8f0ccc92u, 10);
        TARNWICK_MD5_STEP(I, c, d, a, b, x[10], 0xffeff47du, 15);
        TARNWICK_MD5_STEP(I, b, c, d, a, x[1], 0x85845dd1u, 21);
        TARNWICK_MD5_STEP(I, a, b, c, d, x[8], 0x6fa87e4fu, 6);
        TARNWICK_MD5_STEP(I, d, a, b, c, x[15], 0xfe2ce6e0u, 10);
        TARNWICK_MD5_STEP(I, c, d, a, b, x[6], 0xa3014314u, 15);
        TARNWICK_MD5_STEP(I, b, c, d, a, x[13], 0x4e0811a1u, 21);
        TARNWICK_MD5_STEP(I, a, b, c, d, x[4], 0xf7537e82u, 6);
        TARNWICK_MD5_STEP(I, d, a, b, c, x[11], 0xbd3af235u, 10);
        TARNWICK_MD5_STEP(I, c, d, a, b, x[2], 0x2ad7d2bbu, 15);
        TARNWICK_MD5_STEP(I, b, c, d, a, x[9], 0xeb86d391u, 21);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state_ = {a, b, c, d};
}

#undef TARNWICK_MD5_STEP

void Md5::Update(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    byteCount_ += size;
    if (pendingSize_ > 0) {
        const std::size_t take = std::min(size, pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, data, take);
        pendingSize_ += take;
        data += take;
        size -= take;
        if (pendingSize_ < pending_.size()) {
            return;
        }
        ProcessBlocks(pending_.data(), 1);
        pendingSize_ = 0;
    }
    // Whole blocks straight from the caller's bytes, no copy.
    const std::size_t wholeBlocks = size / 64;
    ProcessBlocks(data, wholeBlocks);
    data += wholeBlocks * 64;
    size -= wholeBlocks * 64;
    if (size > 0) {
        std::memcpy(pending_.data(), data, size);
        pendingSize_ = size;
    }
}

Md5::Digest Md5::Finish() {
    const std::uint64_t bitCount = byteCount_ * 8;
    // Padding: 0x80, zeros up to 56 mod 64, then the bit count little-endian.
    unsigned char tail[128] = {0x80};
    const std::size_t padSize = (pendingSize_ < 56) ? (56 - pendingSize_) : (120 - pendingSize_);
    for (int i = 0; i < 8; ++i) {
        tail[padSize + static_cast<std::size_t>(i)] = static_cast<unsigned char>(bitCount >> (8 * i));
    }
    Update(std::string_view(reinterpret_cast<const char*>(tail), padSize + 8));
    Digest digest{};
    for (std::size_t i = 0; i < state_.size(); ++i) {
        StoreLittleEndian32(state_[i], digest.data() + 4 * i);
    }
    return digest;
}

Md5::Digest Md5Digest(std::string_view bytes) {
    Md5 md5;
    md5.Update(bytes);
    return md5.Finish();
}

std::string DigestToHex(const Md5::Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(digest.size() * 2);
    for (const std::uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0f];
    }
    return hex;
}

std::string PasswordDigest(std::string_view password) {
    return DigestToHex(Md5Digest(password));
}
