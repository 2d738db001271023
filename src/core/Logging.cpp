#include "Logging.h"

Q_LOGGING_CATEGORY(lcDb, "weblark.db")
Q_LOGGING_CATEGORY(lcTransaction, "weblark.db.transaction")
Q_LOGGING_CATEGORY(lcFrame, "weblark.frame")
Q_LOGGING_CATEGORY(lcTranslations, "weblark.translations")
Q_LOGGING_CATEGORY(lcWorkspaceFiles, "weblark.workspace.files")
Q_LOGGING_CATEGORY(lcCustomPages, "weblark.appearance.pages")
