#pragma once

#include <QList>
#include <QString>

// The display formats a page can have, as stored in its row's aspFileName.
struct FormatEntry {
    QString caption; // the tile's label
    QString code;    // "txt", "news", ... "prod03"
    QString picName; // tile picture: appPath + "images/..."
};

struct FormatTables {
    QList<FormatEntry> general; // eight general formats, in tile order
    QList<FormatEntry> product; // three product formats
};

namespace DisplayFormats {

// Both tile tables with their pictures under appPath (which ends with "/").
FormatTables buildFormatTables(const QString& appPath);

// The sample page of a format (relative to appPath) and its status-bar description;
// both empty for a code the designer does not know.
struct Sample {
    QString page;
    QString description;
    bool isValid() const { return !page.isEmpty(); }
};
Sample sampleOf(const QString& code);
QStringList allCodes(); // the eleven codes, general first
QString welcomePage();  // "tmplImg/welcome01.htm"
bool isProductCode(const QString& code); // first four characters "prod"

// Where the tiles of a page dialog go, in twips. Tile i sits in column i mod 3;
// every third tile starts a new row one tile height and 100 twips lower.
struct TileSpot {
    int left = 0;
    int top = 0;
};
struct TileLayout {
    QList<TileSpot> spots;
    int scrollMax = 0; // the scroll bar's maximum; 0 when everything fits
};
TileLayout layoutFormatTiles(int count, int tileWidth, int tileHeight, int line1Y, int areaHeight);

// Positions while scrolled by s: the model label, the separator line and the tile rows.
struct ScrolledPositions {
    int labelTop = 0;
    int lineY = 0;
    QList<int> rowTops;
};
ScrolledPositions scrolledPositions(int s, int rows);
constexpr int kScrollRowStep = 2190;

} // namespace DisplayFormats
