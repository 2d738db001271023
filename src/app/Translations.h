#pragma once

class QCoreApplication;

// Qt's own texts (file dialogs, standard buttons, context menus, the calendar)
// in Simplified Chinese: installs Qt's zh_CN translations found in Qt's
// translation folder and makes Chinese the default locale.
// Returns false when Qt's base translation could not be loaded.
bool installChineseTranslations(QCoreApplication& app);
