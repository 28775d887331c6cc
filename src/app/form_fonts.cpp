#include "app/form_fonts.h"

#include <QString>
#include <QStringList>

namespace {

QFont PixelFont(const QStringList& families, int pixelSize) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

QFont SongTi12() {
    return PixelFont({"SimSun", QString::fromUtf8("宋体"), "WenQuanYi Zen Hei"}, 12);
}

QFont MsSansSerif11() {
    return PixelFont({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans",
                      "WenQuanYi Zen Hei"},
                     11);
}

QFont Tahoma11() { return PixelFont({"Tahoma", "DejaVu Sans", "WenQuanYi Zen Hei"}, 11); }
