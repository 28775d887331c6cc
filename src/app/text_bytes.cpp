#include "app/text_bytes.h"

#include <cstddef>

#include <QByteArray>
#include <QChar>

namespace {

// A byte that starts no valid UTF-8 character (a file written in another code
// page, a cut character) crosses into a widget as the lone low surrogate
// U+DC00 + byte and back out as that byte again, so that nothing shown is
// dropped or merged and a text handed back is the bytes that came in.
constexpr char16_t kByteEscape = 0xDC00;
constexpr char16_t kFirstEscapedByte = kByteEscape + 0x80;
constexpr char16_t kLastEscapedByte = kByteEscape + 0xFF;

bool IsTrail(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 character at text[0, size) (no overlong
// forms, no surrogates, nothing above U+10FFFF) and its code point; 0 when
// none starts there.
std::size_t Utf8Character(const unsigned char* text, std::size_t size, char32_t& codePoint) {
    const unsigned char lead = text[0];
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (size < length || text[1] < low || text[1] > high) return 0;
    codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsTrail(text[i])) return 0;
        codePoint = (codePoint << 6) | (text[i] & 0x3F);
    }
    return length;
}

}  // namespace

QString FromBytes(const std::string& bytes) {
    // Decoded here rather than by Qt: its decoders drop an initial byte order
    // mark, which a stored value must keep on screen, and hold back a cut
    // character at the end, which would then not be shown at all.
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    QString shown;
    shown.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Character(text + pos, bytes.size() - pos, codePoint);
        if (length == 0) {
            shown.append(QChar(static_cast<char16_t>(kByteEscape + text[pos])));
            ++pos;
            continue;
        }
        if (QChar::requiresSurrogates(codePoint)) {
            shown.append(QChar(QChar::highSurrogate(codePoint)));
            shown.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            shown.append(QChar(static_cast<char16_t>(codePoint)));
        }
        pos += length;
    }
    return shown;
}

std::string ToBytes(const QString& text) {
    std::string bytes;
    qsizetype runStart = 0;
    const auto appendRun = [&](qsizetype end) {
        const QByteArray run = text.sliced(runStart, end - runStart).toUtf8();
        bytes.append(run.constData(), static_cast<std::size_t>(run.size()));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;  // a whole pair is a character, never an escaped byte
            continue;
        }
        if (unit < kFirstEscapedByte || unit > kLastEscapedByte) continue;
        appendRun(i);
        bytes.push_back(static_cast<char>(unit - kByteEscape));
        runStart = i + 1;
    }
    appendRun(text.size());
    return bytes;
}
