#pragma once

#include "workspace/WorkspaceFiles.h"

#include <QImage>
#include <QSize>
#include <QString>

class DialogService;
class SiteDb;

// Pictures the user adds to pages: checking a chosen file, placing it in the
// workspace folder, and the gallery's thumbnails.
namespace Pictures {

// The file-open filter of every picture choice.
QString imageFilter();
QString nonAsciiNameMessage();
QString unreadableMessage();

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

// One picture slot of an editor. newName is the file chosen in this visit,
// oldName the file last placed in the workspace for the slot, storedName the
// file the stored record names. Choosing again drops this visit's own copy; the
// stored file is deleted only once no record names it any more, so leaving
// without storing never leaves a record pointing at a deleted file. A file that
// another record names is never deleted.
struct Slot {
    QString newName;
    QString oldName;
    QString storedName;
    bool ownsOld = false; // oldName was written in this visit, not an existing file reused

    void clear() { *this = Slot(); }
    void loadStored(const QString& name);
    // Copies the chosen picture into the workspace (never over a different file)
    // and takes the name it got in place of the previous copy. On failure nothing
    // changes and the result says why.
    WorkspaceFiles::Result place(const QString& chosenPath, const SiteDb& db, const QString& workPath,
                                 const QStringList& inUse = {});
    // Takes a file already placed (a thumbnail) in place of the previous copy,
    // which is deleted unless it is the stored file, a name in inUse (another
    // slot of the record) or named by a record.
    void adopt(const WorkspaceFiles::Result& placed, const SiteDb& db, const QString& workPath,
               const QStringList& inUse = {});
    // The record now names name: a stored file it replaced is deleted unless
    // a record (this one included) still names it, or it is in inUse.
    void stored(const QString& name, const SiteDb& db, const QString& workPath, const QStringList& inUse = {});
};

// The gallery thumbnail's wanted name: the picture's name up to the first "." +
// "_small.bmp"; WorkspaceFiles gives it a free variant when another picture's
// thumbnail has it.
QString thumbnailName(const QString& fileName);
// Thumbnail size in twips: 2000 wide, unless the height limit (the thumbnail
// box's height, or 2000 for a picture that is at least as high as wide at
// 2000 wide) makes it narrower.
QSize thumbnailTwips(const QSize& pictureTwips, int boxHeightTwips);
// The picture scaled to sizePx on white, decoded at reduced size where the
// format allows; null when the picture cannot be read.
QImage makeThumbnail(const QString& path, const QSize& sizePx);
bool saveBmp(const QImage& image, const QString& path);
// The image as the bytes of a BMP file; empty when it cannot be encoded.
QByteArray bmpBytes(const QImage& image);

} // namespace Pictures
