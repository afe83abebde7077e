// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>

namespace quillet {

namespace {

// A metric twin of the classic sans-serif label face.
constexpr const char* kLabelFamily = "Liberation Sans";
// A face with the Chinese glyphs of the captions, titles and list rows.
constexpr const char* kChineseFamily = "WenQuanYi Micro Hei";

constexpr int kLabelPoints = 8;
constexpr int kListRowPoints = 9;
constexpr int kGraphLayoutPoints = 9;
constexpr int kListLayoutPoints = 10;

// The family at the point size, or the application's default font at that size when the
// family is not installed.
QFont pointFont(const char* family, int points) {
    QFont font = QFontDatabase::hasFamily(QString::fromLatin1(family))
                     ? QFont(QString::fromLatin1(family))
                     : QGuiApplication::font();
    font.setPointSize(points);
    return font;
}

} // namespace

GraphFonts GraphFonts::standard() {
    return GraphFonts{pointFont(kLabelFamily, kLabelPoints),
                      pointFont(kChineseFamily, kListRowPoints),
                      pointFont(kChineseFamily, kGraphLayoutPoints),
                      pointFont(kChineseFamily, kListLayoutPoints)};
}

QFont dialogFont(int pointSize) {
    QFont font;
    font.setFamilies({QString::fromLatin1(kLabelFamily), QString::fromLatin1(kChineseFamily)});
    font.setPointSize(pointSize);
    return font;
}

} // namespace quillet
