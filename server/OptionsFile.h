#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The server's configuration file holds its long command-line options, one per line:
//
//     name = value      becomes --name=value
//     name              becomes --name
//
// Blank lines and lines beginning with "#" are skipped; blanks around the name and
// the value are dropped. Any option the server takes can therefore be set in the
// file, and the command line overrides the file, because its options come later.
namespace OptionsFile {

// The options of one file's text; faults get "fileName:line: " in front.
QStringList parse(const QByteArray& text, const QString& fileName, QStringList* faults);

// The arguments with the options of the file named by "--config FILE" (or
// "--config=FILE") put in front of the command line's own (after the program name).
QStringList expand(const QStringList& arguments, QStringList* faults);

} // namespace OptionsFile
