#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away application directory staged from the build's appdir (pictures,
// pages, initData with the pristine database), without the program itself.
class TestAppDir {
public:
    // withWorkspace: also create userImages/ holding the pristine database,
    // as the program leaves it after its first start.
    explicit TestAppDir(bool withWorkspace = true);

    bool isValid() const { return m_ok; }
    QString path() const { return m_dir.path(); }
    QString appPath() const { return m_dir.path() + QLatin1Char('/'); }
    QString workPath() const { return appPath() + QStringLiteral("userImages/"); }
    QString file(const QString& relative) const { return appPath() + relative; }

    static QString stagedAppDir();

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};
