#include "TemplateChooser.h"

#include "ThumbnailLayout.h"
#include "core/AppContext.h"
#include "core/Messages.h"
#include "sltTmplFrm_viewTmpl.h"
#include "text/Twips.h"
#include "tmpl.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// The busy cursor for the length of a load.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

QString TemplateChooser::tableOf(Kind kind)
{
    return kind == Kind::Home ? QStringLiteral("defaultTmpl") : QStringLiteral("headTmpl");
}

TemplateChooser::TemplateChooser(AppContext& ctx, Kind kind, QWidget* parent)
    : PictureChooser(ctx, parent), m_kind(kind)
{
    const bool home = kind == Kind::Home;
    setObjectName(home ? QStringLiteral("sltTmplFrm_defaultTmpl") : QStringLiteral("sltTmplFrm_headTmpl"));
    setWindowTitle(home ? QStringLiteral("选择首页模板") : QStringLiteral("选择内页模板"));

    auto* typeFrame = new QGroupBox(QStringLiteral("模板类别"), this);
    lst_type = new QListWidget(typeFrame);
    lst_type->setObjectName(QStringLiteral("lst_type"));
    auto* typeLayout = new QVBoxLayout(typeFrame);
    typeLayout->addWidget(lst_type);
    typeFrame->setFixedWidth(160);

    auto* tmplFrame = new QGroupBox(QStringLiteral("待选模板"), this);
    tmplFrame->setLayout(buildPanel(Qt::white, ThumbnailLayout::kRowHeight / 2));
    // Three thumbnails and their margins side by side.
    Picture1->setMinimumSize(
        Twips::toPixels(2 * ThumbnailLayout::kLeft + 2 * ThumbnailLayout::kStep + ThumbnailLayout::kWidth),
        Twips::toPixels(2 * ThumbnailLayout::kRowHeight + ThumbnailLayout::kTop));

    ccrpPrgBar = new QProgressBar(this);
    ccrpPrgBar->setObjectName(QStringLiteral("ccrpPrgBar"));
    ccrpPrgBar->setTextVisible(false);
    ccrpPrgBar->setVisible(false);
    cmd_view = new QPushButton(QStringLiteral("预览"), this);
    cmd_view->setObjectName(QStringLiteral("cmd_view"));
    buildButtons();

    auto* top = new QHBoxLayout;
    top->addWidget(typeFrame);
    top->addWidget(tmplFrame, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ccrpPrgBar, 1);
    buttons->addStretch();
    buttons->addWidget(cmd_view);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* root = new QVBoxLayout(this);
    root->addLayout(top, 1);
    root->addLayout(buttons);

    connect(lst_type, &QListWidget::currentRowChanged, this, &TemplateChooser::lst_type_Click);
    connect(scrlVer, &QScrollBar::valueChanged, this, &TemplateChooser::scrlVer_Change);
    connect(OKButton, &QPushButton::clicked, this, &TemplateChooser::OKButton_Click);
    connect(cmd_view, &QPushButton::clicked, this, &TemplateChooser::cmd_view_Click);

    loadTypes();
}

void TemplateChooser::loadTypes()
{
    BusyCursor busy;
    const SqlResult r = m_ctx.conn.selectTemplateGroups(tableOf(m_kind));
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Information);
        return;
    }
    for (const QSqlRecord& row : r.rows)
        lst_type->addItem(fieldText(row, QStringLiteral("tmplType")));
    if (lst_type->count() > 0)
        lst_type->setCurrentRow(0); // runs the category's click
}

void TemplateChooser::lst_type_Click()
{
    if (!lst_type->currentItem())
        return;
    BusyCursor busy;
    const SqlResult r = m_ctx.conn.selectTemplates(tableOf(m_kind), lst_type->currentItem()->text());
    clearThumbnails();
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Information);
        return;
    }
    ccrpPrgBar->setRange(0, static_cast<int>(r.rows.size()));
    ccrpPrgBar->setValue(0);
    ccrpPrgBar->setVisible(true);
    Picture1->setUpdatesEnabled(false);
    for (const QSqlRecord& row : r.rows) {
        auto* t = new tmpl(m_ctx.appPath, Picture1);
        const QPoint pos = ThumbnailLayout::thumbnailPos(static_cast<int>(tmpl1.size()));
        t->move(Twips::toPixels(pos.x()), Twips::toPixels(pos.y()));
        t->setValue(fieldText(row, QStringLiteral("tmplName")));
        t->show();
        connect(t, &tmpl::clicked, this, [this, t] { selectThumbnail(t); });
        connect(t, &tmpl::doubleClicked, this, &TemplateChooser::OKButton_Click);
        tmpl1 << t;
        ccrpPrgBar->setValue(ccrpPrgBar->value() + 1);
    }
    Picture1->setUpdatesEnabled(true);
    if (!tmpl1.isEmpty())
        selectThumbnail(tmpl1.first());
    ccrpPrgBar->setVisible(false);
    scrlVer->setValue(0);
    updateScrollRange();
}

void TemplateChooser::clearThumbnails()
{
    qDeleteAll(tmpl1);
    tmpl1.clear();
}

void TemplateChooser::selectThumbnail(tmpl* chosen)
{
    for (tmpl* t : std::as_const(tmpl1))
        t->setSelected(t == chosen ? 1 : 0);
}

QString TemplateChooser::selectedValue() const
{
    for (const tmpl* t : tmpl1) {
        if (t->selected() == 1)
            return t->value();
    }
    return {};
}

int TemplateChooser::scrollMax(int panelHeight) const
{
    return ThumbnailLayout::scrollMax(static_cast<int>(tmpl1.size()), panelHeight);
}

void TemplateChooser::scrlVer_Change(int value)
{
    for (int i = 0; i < tmpl1.size(); ++i) {
        const QPoint pos = ThumbnailLayout::thumbnailPos(i);
        tmpl1.at(i)->move(Twips::toPixels(pos.x()), Twips::toPixels(pos.y() - value));
    }
}

void TemplateChooser::OKButton_Click()
{
    const QString value = selectedValue();
    if (value.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("请选择其中一种模板！"), Messages::notice(), MsgIcon::Information);
        return;
    }
    storeChoice(tableOf(m_kind), value);
}

void TemplateChooser::cmd_view_Click()
{
    sltTmplFrm_viewTmpl view(m_ctx, selectedValue(), this);
    view.exec();
}
