#pragma once

#include <QDialog>

#include <functional>

class AppContext;
class QSqlRecord;
class WebPane;

// A window showing one page in a browser above a "关闭" button, for the previews
// of the appearance settings: the template picture and the custom home and head.
class PreviewDialog : public QDialog {
    Q_OBJECT
protected:
    PreviewDialog(AppContext& ctx, const QString& name, const QString& title, const QSize& size,
                  const QString& browserName, QWidget* parent);

    // The path of the workspace file that nameOf reads from the user_info row;
    // "" after saying why when there is no row or no such plain file (then the message missing).
    QString userInfoFile(const std::function<QString(const QSqlRecord&)>& nameOf, const QString& missing);

    AppContext& m_ctx;
    WebPane* m_browser = nullptr;
};
