#pragma once

#include <QList>
#include <QString>

// The guide window's fixed topic tree. Folder topics carry the tag "folder";
// page topics the tag "file" and the page's file name (in the "help" folder
// of the application directory) as their key.
namespace GuideTopics {

struct Topic {
    QString key;
    QString text;
    QString picture; // "open", "close" or "file"
    QString tag;     // "folder" or "file"
    bool child;      // under the top-level topic before it
    bool expanded;   // expanded when the window loads
};

// In tree order; "成功案例" last, added after the start page is requested.
const QList<Topic>& topics();

QString startPage(); // "index.htm"
// appPath + "help/" + page
QString pagePath(const QString& appPath, const QString& page);
// What the browser shows for a page topic: its file, or "about:blank" when the file is missing.
QString pageToShow(const QString& appPath, const QString& page);

} // namespace GuideTopics
