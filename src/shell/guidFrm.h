#pragma once

#include "core/FramedWindow.h"

#include <QString>
#include <QWidget>

class AppContext;
class QGroupBox;
class QTreeWidget;
class QTreeWidgetItem;
class WebPane;

// The guide: the fixed topic tree beside a browser showing the topic's help page.
class guidFrm : public QWidget, public FramedWindow {
    Q_OBJECT
public:
    // Item data of tvw_title: the topic's key, picture key ("open", "close", "file") and tag.
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int PictureRole = Qt::UserRole + 1;
    static constexpr int TagRole = Qt::UserRole + 2;

    guidFrm(AppContext& ctx, QWidget* parent = nullptr);
    // Room for the topics and a readable page; the frame opens its child windows at this size.
    QSize sizeHint() const override { return QSize(860, 560); }

    // The key of the node selected at the last click ("" before any).
    QString currentKey() const;
    // What the browser was last told to show.
    QString shownPage() const;

    // The guide opens at the top-left corner of the frame's client area.
    Placement placement() const override { return Placement::TopLeft; }

private:
    void buildUi();
    void loadTopics();
    void tvw_title_NodeClick();
    void setPicture(QTreeWidgetItem* item, const QString& picture);

    AppContext& m_ctx;
    QTreeWidgetItem* m_current = nullptr;
    QString m_shown;

    QGroupBox* frame_title = nullptr;
    QTreeWidget* tvw_title = nullptr;
    QGroupBox* frame_content = nullptr;
    WebPane* weber = nullptr;
};
