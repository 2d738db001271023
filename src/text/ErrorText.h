#pragma once

#include <QAbstractSocket>
#include <QFileDevice>
#include <QString>

#include <zip.h>

class QSqlError;

// The one place where a failure becomes the Chinese description the user reads.
// Each function gives a Chinese text for the failure; the original detail
// follows in brackets only when it says more than that text already does
// (a table name, a path, a reason the mapping does not know).
namespace ErrorText {

// A socket failure; detail is the socket's errorString().
QString socket(QAbstractSocket::SocketError error, const QString& detail = QString());

// A file failure; detail is the device's errorString(), usually the system's
// reason, which picks the more precise text (not found, no permission, disk full).
QString file(QFileDevice::FileError error, const QString& detail = QString());
QString file(const QFileDevice& device);

// A system error number (errno), as libzip and a few file operations report them.
QString system(int errorNumber);

// A database failure, by SQLite's result code where the driver gives one.
QString sql(const QSqlError& error);

// A libzip failure: its ZIP_ER_* code and, for system failures, the errno.
QString zip(int zipError, int systemError = 0);
QString zip(const zip_error_t* error);

} // namespace ErrorText
