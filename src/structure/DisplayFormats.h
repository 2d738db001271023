#pragma once

#include <QList>
#include <QString>

// The display formats a page can have, as stored in its row's aspFileName: one
// table that the designer, its page dialogs and the content window all read.
namespace DisplayFormats {

// How the content window edits a page of the format.
enum class Editor {
    Text,        // title and body in place
    ImageText,   // title, body and picture slots in place
    BigImage,    // one big picture in place
    NewsList,    // record list, news dialogs
    GalleryList, // record list, picture dialogs
    ProductList, // record list, product dialogs
    Free,        // the rich-text page editor
};

struct Format {
    QString code;        // "txt", "news", ... "prod03"
    QString caption;     // the tile's label
    QString description; // the designer's status text beside the sample
    QString tilePicture; // relative to appPath
    bool product = false;
    Editor editor = Editor::Text;
    int pictureSlots = 0;       // in-place picture slots
    bool naturalSize = false;   // the preview keeps the picture's own size
    QString samplePage() const; // relative to appPath
    // The content window's status name and, for in-place editors, its head caption.
    QString statusName() const;
    QString headCaption() const; // "" leaves the head unchanged
    bool isList() const;
    bool isInPlace() const;
};

// All eleven, general formats first, each list in tile order.
const QList<Format>& all();
// nullptr for a code of no known format ("none", "", an old code).
const Format* find(const QString& code);
QList<Format> tiles(bool product);

QString welcomePage();                   // "tmplImg/welcome01.htm"
bool isProductCode(const QString& code); // first four characters "prod"

// Where the tiles of a page dialog go, in twips, inside an area whose separator
// line lies at line1Y. Tile i sits in column i mod 3; every third tile starts a
// new row one tile height and 100 twips lower.
struct TileSpot {
    int left = 0;
    int top = 0;
};
struct TileLayout {
    QList<TileSpot> spots;
    int height = 0;    // down to 200 twips below the last row
    int scrollMax = 0; // how far an area of areaHeight scrolls; 0 when everything fits
};
TileLayout layoutFormatTiles(int count, int tileWidth, int tileHeight, int line1Y, int areaHeight);

} // namespace DisplayFormats
