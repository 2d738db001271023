#pragma once

#include <QString>

// Writes NAME.gz beside every page, style sheet, script, JSON, SVG and XML file
// below dir, so a web server sends them compressed without compressing on every
// request. The copies depend on the files alone (no time or name in the gzip
// header), so the same site gives the same bytes. A file that does not shrink
// gets no copy, and a copy left from an earlier run beside it is removed.
// False (with *error naming the file) when a copy cannot be written.
bool writeGzipCopies(const QString& dir, QString* error);
