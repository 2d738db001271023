#pragma once

#include <QObject>

// Changes that more than one window must hear about. The frame's context owns
// the one instance; windows emit and connect to it instead of reaching each
// other, so no window needs to know which others are open.
class SiteEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // The catalog tree was changed (a node added, renamed, moved, deleted or
    // given another display format).
    void structureChanged();
};
