#pragma once

#include "core/Outcome.h"

#include <QString>

#include <array>
#include <optional>

class SiteDb;

// The appearance fields of the settings row as the appearance window shows them.
namespace AppearanceSettings {

// The six optional features in the order of their boxes.
constexpr int kFeatureCount = 6;
// The column a feature box is stored in: field02, field03, adBoard, Javascript, field04, field05.
QString featureColumn(int index);

struct Stored {
    bool hasRow = false;
    QString defaultFile, topHead, field01; // custom pages
    QString defaultTmpl, headTmpl;         // template thumbnails
    QString defaultFont, headFont;         // name style pictures
    QString backGround;                    // background picture in the workspace
    std::array<std::optional<int>, kFeatureCount> features;
};

// Reads the settings row field by field: a field that is missing or unreadable
// reads as empty (or, for a feature, as no value).
Stored load(const SiteDb& db);

// Copies the chosen picture into the workspace (never over a different file a
// record names; the file itself when it was chosen there), stores its name and
// then deletes the former background `previous` unless something still shows it.
// A name with characters outside 32..127 is refused before anything is copied.
// name gets the stored file name when done.
Outcome setBackground(const SiteDb& db, const QString& workPath, const QString& chosenPath, const QString& previous,
                      QString* name);
// Clears the background, then deletes the picture `shown` unless something still shows it.
Outcome clearBackground(const SiteDb& db, const QString& workPath, const QString& shown);

// Empty when Null or blank after trimming.
inline bool isBlank(const QString& field)
{
    return field.trimmed().isEmpty();
}

// The template code shown under a thumbnail: the first five characters of its name.
inline QString templateCode(const QString& tmplName)
{
    return tmplName.left(5);
}

} // namespace AppearanceSettings
