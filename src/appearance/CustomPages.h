#pragma once

#include "core/Outcome.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

class SiteDb;

// The pages of "高级设计": a custom home page (default.htm and its images
// folder), a custom head of the inner pages (topHeadSelf.jpg/gif/swf) and other
// ready-made pages ("||"-joined names in user_info.field01). Everything lands
// in the workspace folder; the pictures of the home page and of the other pages
// share its "images" folder, which is uploaded as it is.
namespace CustomPages {

QString homePageName(); // "default.htm"
QString headPrefix();   // "topHeadSelf."
// The end of every failed home page or head action.
Notice noPathNotice();

// ---- the shared images folder ----
// Which installation brought each file of workPath/images, kept in
// workPath/.customPages/images.lst (outside what is packed for upload). A file
// stays as long as one installation that brought it is installed; files no
// installation claims are never deleted.
enum class Owner { Home, Other };

class ImagesRecord {
public:
    explicit ImagesRecord(const QString& workPath);

    // Relative paths ("a.gif", "sub/b.gif") the owner brought.
    QStringList files(Owner owner) const { return m_files.value(owner); }

    // A file of sourceImages that would replace a different picture the other
    // installation needs; "" when there is none.
    QString clashWith(Owner owner, const QString& sourceImages) const;
    // Replaces the owner's pictures by the content of sourceImages (none when
    // sourceImages is "" or missing) and keeps the record. The owner claims
    // only what it copies in: a picture that lay there unclaimed stays unclaimed.
    bool install(Owner owner, const QString& sourceImages, QString* error);
    // Deletes the owner's pictures that the other installation does not need.
    bool release(Owner owner, QString* error);

    static QString recordPath(const QString& workPath);

private:
    bool save(QString* error) const;
    QString imagesFolder() const { return m_workPath + QStringLiteral("images/"); }

    QString m_workPath;
    QMap<Owner, QStringList> m_files;
};

// ---- custom home page ----
// The refusal of a chosen file that cannot be a home page (missing, another
// name, a folder with more than default.htm and images); none when it can.
std::optional<Notice> checkHomePage(const QString& chosenPath);
// Copies the page as default.htm and its images folder into the workspace and
// stores the name. done: the page is installed; notices: what to show.
Outcome installHomePage(const SiteDb& db, const QString& chosenPath, const QString& workPath);
// Clears defaultFile, then deletes the page shown (if it is a plain name) and
// the pictures only it needed.
Outcome removeHomePage(const SiteDb& db, const QString& workPath, const QString& shownName);

// ---- custom head ----
std::optional<Notice> checkHead(const QString& chosenPath);
// Copies the file to topHeadSelf.<ext>, stores that name and deletes a former
// head of another kind. The name to show on success is the chosen file's.
Outcome installHead(const SiteDb& db, const QString& chosenPath, const QString& workPath);
// Clears topHead, then deletes the head by the name the row held: the box shows
// the chosen file's name, whose extension may differ in letter case.
Outcome removeHead(const SiteDb& db, const QString& workPath);

// ---- other pages ----
// The pages of a folder: files whose name ends in "htm" or "mht", any case, by name.
QStringList pagesIn(const QString& folder);
// Copies the folder's pages and its images into the workspace, stores them and
// then deletes the formerly listed pages that are not among them. names gets
// the new list.
Outcome installOtherPages(const SiteDb& db, const QString& folder, const QString& workPath, const QStringList& listed,
                          QStringList* names);
// Clears field01, then deletes the listed pages and the pictures only they needed.
Outcome removeOtherPages(const SiteDb& db, const QString& workPath, const QStringList& listed);

} // namespace CustomPages
