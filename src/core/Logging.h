#pragma once

#include <QLoggingCategory>

// Every logging category of the program, in one place. Each is enabled or
// silenced by name, e.g. QT_LOGGING_RULES="weblark.db.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcDb)             // weblark.db: statements that failed
Q_DECLARE_LOGGING_CATEGORY(lcTransaction)    // weblark.db.transaction
Q_DECLARE_LOGGING_CATEGORY(lcFrame)          // weblark.frame: the main window and its children
Q_DECLARE_LOGGING_CATEGORY(lcTranslations)   // weblark.translations
Q_DECLARE_LOGGING_CATEGORY(lcWorkspaceFiles) // weblark.workspace.files: copies in, deletions
Q_DECLARE_LOGGING_CATEGORY(lcCustomPages)    // weblark.appearance.pages: installed pages and pictures
