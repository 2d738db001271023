#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class DialogService;

// Pictures the user adds to pages: checking a chosen file, placing it in the
// workspace folder, and the gallery's thumbnails.
namespace Pictures {

// The file-open filter of every picture choice.
QString imageFilter();
QString nonAsciiNameMessage();
QString unreadableMessage();

constexpr int kTwipsPerPixel = 15;
inline int toPixels(int twips) { return qMax(1, (twips + kTwipsPerPixel / 2) / kTwipsPerPixel); }
inline int toTwips(int pixels) { return pixels * kTwipsPerPixel; }

// True when the file is a whole picture that can be decoded: empty, truncated
// and mislabelled files are refused. sizePx receives its pixel size.
bool isReadable(const QString& path, QSize* sizePx = nullptr);
// The picture at full size; null when it is not readable.
QImage load(const QString& path);

// A picture the user picked: the file, its bare name and its size in pixels.
struct Choice {
    QString path;
    QString name;
    QSize sizePx;
    bool ok() const { return !path.isEmpty(); }
};
// The file-open dialog of every picture slot. Cancel gives an empty choice; a
// name that is not plain ASCII and a file that is not a readable picture are
// refused with their message and give an empty choice too.
Choice askForPicture(DialogService& dialogs);

// The picture scaled down (never up) to fit within bound, keeping its shape;
// null when it cannot be read.
QImage loadFitted(const QString& path, const QSize& bound);

// Places a picture chosen for one slot into the workspace folder: the slot's
// previous copy (previousName) is deleted first, then the chosen file is
// copied in under its own name, replacing a file of that name. A file chosen
// from the workspace folder itself is neither deleted nor copied onto itself.
// Returns the bare name now in the workspace. File errors do not stop it.
QString placeInWorkspace(const QString& chosenPath, const QString& workPath, const QString& previousName);
// Deletes workPath + name unless name is empty or it is the file keep.
void removeFromWorkspace(const QString& workPath, const QString& name, const QString& keep = QString());

// The gallery thumbnail of a picture: its name up to the first "." + "_small.bmp".
QString thumbnailName(const QString& fileName);
// Thumbnail size in twips: 2000 wide, unless the height limit (the thumbnail
// box's height, or 2000 for a picture that is at least as high as wide at
// 2000 wide) makes it narrower.
QSize thumbnailTwips(const QSize& pictureTwips, int boxHeightTwips);
// The picture scaled to sizePx on white, decoded at reduced size where the
// format allows; null when the picture cannot be read.
QImage makeThumbnail(const QString& path, const QSize& sizePx);
bool saveBmp(const QImage& image, const QString& path);

} // namespace Pictures
