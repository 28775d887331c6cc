#include "app/text_bytes.h"

#include <QByteArray>
#include <QStringDecoder>

QString FromBytes(const std::string& bytes) {
    // fromLocal8Bit and fromUtf8 drop an initial BOM; a stored value that
    // starts with one must show it.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToBytes(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
