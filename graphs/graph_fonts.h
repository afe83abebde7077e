// The fonts of the graph and function list windows, chosen in one place, and the size in
// pixels of a window laid out in dialog units of a font.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QSize>
#include <QString>

namespace quillet {

struct GraphFonts {
    QFont label;       // axis labels and the envelope caption of the graph window
    QFont listRow;     // the rows of the function list window
    QFont graphLayout; // the unit font of the graph window's layout
    QFont listLayout;  // the unit font of the function list window's layout

    // The standard set; needs a QGuiApplication.
    static GraphFonts standard();
};

namespace graph_fonts {

// A metric twin of the classic sans-serif label face.
inline constexpr const char* kLabelFamily = "Liberation Sans";
// A face with the Chinese glyphs of the captions, titles and list rows.
inline constexpr const char* kChineseFamily = "WenQuanYi Micro Hei";

inline constexpr int kLabelPoints = 8;
inline constexpr int kListRowPoints = 9;
inline constexpr int kGraphLayoutPoints = 9;
inline constexpr int kListLayoutPoints = 10;

// The family at the point size, or the application's default font at that size when the
// family is not installed.
inline QFont pointFont(const char* family, int points) {
    QFont font = QFontDatabase::hasFamily(QString::fromLatin1(family))
                     ? QFont(QString::fromLatin1(family))
                     : QGuiApplication::font();
    font.setPointSize(points);
    return font;
}

} // namespace graph_fonts

inline GraphFonts GraphFonts::standard() {
    using namespace graph_fonts;
    return GraphFonts{pointFont(kLabelFamily, kLabelPoints),
                      pointFont(kChineseFamily, kListRowPoints),
                      pointFont(kChineseFamily, kGraphLayoutPoints),
                      pointFont(kChineseFamily, kListLayoutPoints)};
}

// The pixel size of a layout of width x height dialog units of font: a horizontal unit is a
// quarter of the font's average character width (of the 52 letters, rounded), a vertical
// unit an eighth of its height.
inline QSize dialogUnitsToPixels(const QFont& font, int width, int height) {
    const QFontMetrics metrics(font);
    const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int averageWidth = (metrics.horizontalAdvance(letters) + 26) / 52;
    const int lineHeight = metrics.height();
    return QSize((width * averageWidth + 2) / 4, (height * lineHeight + 4) / 8);
}

} // namespace quillet
