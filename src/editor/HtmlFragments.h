#pragma once

#include <QList>
#include <QString>

// The HTML pieces the insert dialogs add to a page. Values go in as typed and
// unquoted where the markup allows it; a value that would break the tag
// (blanks, quotes, angle brackets) is quoted and escaped instead.
namespace HtmlFragments {

// A choice list item and the attribute value it gives ("" for none).
struct Choice {
    QString caption;
    QString value;
};
const QList<Choice>& imageEffects(); // cmb_spec: the style of each effect
const QList<Choice>& imageAligns();  // cmb_align of the picture dialog

struct Image {
    QString folder;   // the workspace folder, ending in "/"
    QString fileName; // the picture's name there
    QString width, height, border, alt;
    QString style; // from imageEffects, "" for none
    QString align; // from imageAligns, "" for none
};
QString image(const Image& img);

// The whole number a size box holds, or fallback when it holds none.
int wholeNumber(const QString& text, int fallback);

// movieUrl: the movie's address in the workspace ("file:///.../name.swf").
// Width and height as typed; not numeric gives 600 x 120.
QString flash(const QString& movieUrl, const QString& width, const QString& height);

struct Table {
    QString rows = QStringLiteral("2"), cols = QStringLiteral("2");
    QString width = QStringLiteral("100"), widthUnit = QStringLiteral("%");
    QString height, heightUnit = QStringLiteral("%");
    QString border = QStringLiteral("1"), padding = QStringLiteral("0"), spacing = QStringLiteral("0");
    QString backColor, borderColor, id;
    QString align; // "left", "center", "right"; "" for the default
};
// Tables larger than this on either side are refused: the page would not open.
constexpr int kMaxTableSide = 200;
// The table, or "" when it has more rows or columns than kMaxTableSide.
QString table(const Table& t);

enum class LineAlign { Left, Center, Right };
struct Line {
    QString color;
    QString width = QStringLiteral("500");
    QString height = QStringLiteral("2");
    bool shadow = false; // "有": a shaded line; "无" gives noshade
    LineAlign align = LineAlign::Center;
};
QString line(const Line& l);

} // namespace HtmlFragments
