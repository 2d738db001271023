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

// Deletes workPath + name unless name is empty or it is the file keep.
void removeFromWorkspace(const QString& workPath, const QString& name, const QString& keep = QString());

// One picture slot of an editor. newName is the file chosen in this visit,
// oldName the file last placed in the workspace for the slot, storedName the
// file the stored record names. Choosing again replaces this visit's copy; the
// stored file is deleted only once the record no longer names it, so leaving
// without storing never leaves the record pointing at a deleted file.
struct Slot {
    QString newName;
    QString oldName;
    QString storedName;

    void clear() { *this = Slot(); }
    void loadStored(const QString& name);
    // Deletes this visit's previous copy, unless it is the stored file, the file
    // keep, or a name in inUse (a picture another slot of the record still names).
    void dropPrevious(const QString& workPath, const QString& keep = QString(),
                      const QStringList& inUse = {}) const;
    // Copies the chosen picture into the workspace under its own name in place of
    // the previous copy; a file chosen from the workspace itself is left where it is.
    // Returns the bare name. File errors do not stop it.
    QString place(const QString& chosenPath, const QString& workPath, const QStringList& inUse = {});
    // The record now names name: a stored file it replaced is deleted, unless the
    // record still names it elsewhere (inUse).
    void stored(const QString& name, const QString& workPath, const QStringList& inUse = {});
};

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
