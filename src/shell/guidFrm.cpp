#include "guidFrm.h"

#include "core/AppContext.h"
#include "shell/GuideTopics.h"
#include "structure/CatalogTreeBinding.h"
#include "widgets/WebPane.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

// The picture list of the tree: the designer's folder and page pictures.
static QIcon pictureOf(const QString& picture)
{
    if (picture == QLatin1String("open"))
        return CatalogTreeBinding::icon(QStringLiteral("fopen"));
    if (picture == QLatin1String("close"))
        return CatalogTreeBinding::icon(QStringLiteral("fclose"));
    return CatalogTreeBinding::icon(QStringLiteral("file"));
}

guidFrm::guidFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("guidFrm"));
    setWindowTitle(QStringLiteral("用法指南"));
    setWindowIcon(pictureOf(QStringLiteral("open")));
    buildUi();
    loadTopics();
}

void guidFrm::buildUi()
{
    resize(sizeHint());
    frame_title = new QGroupBox(QStringLiteral("主题"), this);
    frame_title->setObjectName(QStringLiteral("frame_title"));
    tvw_title = new QTreeWidget(frame_title);
    tvw_title->setObjectName(QStringLiteral("tvw_title"));
    tvw_title->setHeaderHidden(true);
    tvw_title->setColumnCount(1);
    tvw_title->setIconSize(QSize(16, 16));
    tvw_title->setSelectionMode(QAbstractItemView::SingleSelection);
    tvw_title->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvw_title->setWordWrap(true);
    auto* left = new QVBoxLayout(frame_title);
    left->setContentsMargins(4, 4, 4, 4);
    left->addWidget(tvw_title);
    frame_title->setMinimumWidth(220);
    frame_title->setMaximumWidth(300);

    frame_content = new QGroupBox(QStringLiteral("内容"), this);
    frame_content->setObjectName(QStringLiteral("frame_content"));
    weber = new WebPane(frame_content);
    weber->setObjectName(QStringLiteral("weber"));
    auto* right = new QVBoxLayout(frame_content);
    right->setContentsMargins(4, 4, 4, 4);
    right->addWidget(weber);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(frame_title, 3);
    layout->addWidget(frame_content, 7);

    // The keyboard reaches a topic the same way as the mouse.
    connect(tvw_title, &QTreeWidget::itemClicked, this, [this] { tvw_title_NodeClick(); });
    connect(tvw_title, &QTreeWidget::itemActivated, this, [this] { tvw_title_NodeClick(); });
}

void guidFrm::loadTopics()
{
    QTreeWidgetItem* parent = nullptr;
    QList<QTreeWidgetItem*> expanded;
    const QList<GuideTopics::Topic>& topics = GuideTopics::topics();
    for (int i = 0; i < topics.size(); ++i) {
        const GuideTopics::Topic& t = topics.at(i);
        if (i == topics.size() - 1) {
            // The start page is requested before the last topic joins the tree.
            m_shown = GuideTopics::pagePath(m_ctx.appPath, GuideTopics::startPage());
            weber->navigate(m_shown);
        }
        auto* item = t.child && parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvw_title);
        item->setText(0, t.text);
        item->setToolTip(0, t.text);
        item->setData(0, KeyRole, t.key);
        item->setData(0, TagRole, t.tag);
        setPicture(item, t.picture);
        if (!t.child)
            parent = item;
        if (t.expanded)
            expanded << item;
    }
    for (QTreeWidgetItem* item : expanded)
        item->setExpanded(true);
}

void guidFrm::setPicture(QTreeWidgetItem* item, const QString& picture)
{
    item->setData(0, PictureRole, picture);
    item->setIcon(0, pictureOf(picture));
}

void guidFrm::tvw_title_NodeClick()
{
    // Pictures follow the expanded state only here, not when a plus sign is clicked.
    for (QTreeWidgetItemIterator it(tvw_title); *it; ++it) {
        QTreeWidgetItem* item = *it;
        if (item->isSelected())
            m_current = item;
        if (item->isExpanded())
            setPicture(item, QStringLiteral("open"));
        else if (item->data(0, TagRole).toString() == QLatin1String("folder"))
            setPicture(item, QStringLiteral("close"));
    }
    if (!m_current || m_current->data(0, TagRole).toString() != QLatin1String("file"))
        return;
    m_shown = GuideTopics::pageToShow(m_ctx.appPath, m_current->data(0, KeyRole).toString());
    weber->navigate(m_shown);
}

QString guidFrm::currentKey() const
{
    return m_current ? m_current->data(0, KeyRole).toString() : QString();
}

QString guidFrm::shownPage() const
{
    return m_shown;
}
