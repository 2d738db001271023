#pragma once

#include <QString>

namespace AboutText {

// The about window's message: welcome, version, maker and rights, each
// followed by an empty line except the last, joined with CR LF.
QString message(const QString& version);

} // namespace AboutText
