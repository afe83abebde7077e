// The font faces of all windows and the fonts of the graph and function list windows,
// chosen in one place.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
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

} // namespace quillet
