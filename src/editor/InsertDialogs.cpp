#include "InsertDialogs.h"

#include "content/Pictures.h"
#include "core/AppContext.h"
#include "core/Messages.h"
#include "editor/HtmlFragments.h"
#include "text/TextCodec.h"
#include "widgets/InputHelpers.h"
#include "workspace/WorkspaceFiles.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QStringList captions(const QList<HtmlFragments::Choice>& choices)
{
    QStringList out;
    for (const HtmlFragments::Choice& c : choices)
        out << c.caption;
    return out;
}

} // namespace

InsertDialog::InsertDialog(AppContext& ctx, const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent), m_ctx(ctx)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_grid = new QGridLayout;
    m_grid->setColumnStretch(1, 1);
    OKButton = new QPushButton(QStringLiteral("确定"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("取消"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(m_grid);
    lay->addStretch(1);
    lay->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* InsertDialog::addBox(const QString& label, const QString& name, const QString& text, bool numeric)
{
    const int row = m_grid->rowCount();
    auto* box = new QLineEdit(text);
    box->setObjectName(name);
    m_grid->addWidget(new QLabel(label), row, 0);
    m_grid->addWidget(box, row, 1);
    if (numeric)
        InputHelpers::guardNumeric(box, m_ctx.dialogs);
    return box;
}

QComboBox* InsertDialog::addCombo(const QString& label, const QString& name, const QStringList& items, int current)
{
    const int row = m_grid->rowCount();
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setCurrentIndex(current);
    m_grid->addWidget(new QLabel(label), row, 0);
    m_grid->addWidget(combo, row, 1);
    return combo;
}

QPushButton* InsertDialog::addButton(const QString& caption, const QString& name)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    m_grid->addWidget(button, m_grid->rowCount() - 1, 2);
    return button;
}

void InsertDialog::pickColorInto(QLineEdit* box)
{
    box->setText(InputHelpers::pickColor(m_ctx.dialogs));
}

void InsertDialog::deliver(const QString& html)
{
    emit fragmentReady(html);
    accept();
}

QString InsertDialog::copyToWorkspace(const QString& path)
{
    if (!cls_func().isEng(QFileInfo(path).fileName())) {
        m_ctx.dialogs.message(Pictures::nonAsciiNameMessage(), Messages::notice(), MsgIcon::Information);
        return {};
    }
    const WorkspaceFiles::Result placed = WorkspaceFiles::copyIn(path, m_ctx.workPath);
    if (!placed.ok) {
        m_ctx.dialogs.message(placed.error, Messages::notice(), MsgIcon::Critical);
        return {};
    }
    return placed.fileName;
}

dlgFrm_hr::dlgFrm_hr(AppContext& ctx, QWidget* parent)
    : InsertDialog(ctx, QStringLiteral("dlgFrm_hr"), QStringLiteral("水平线"), parent)
{
    txt_color = addBox(QStringLiteral("线条颜色："), QStringLiteral("txt_color"));
    connect(addButton(QStringLiteral("选择"), QStringLiteral("cmd_color")), &QPushButton::clicked, this,
            [this] { pickColorInto(txt_color); });
    txt_width = addBox(QStringLiteral("水平宽度："), QStringLiteral("txt_width"), QStringLiteral("500"), true);
    txt_height = addBox(QStringLiteral("线条粗度："), QStringLiteral("txt_height"), QStringLiteral("2"), true);
    cmb_shadow = addCombo(QStringLiteral("阴影效果："), QStringLiteral("cmb_shadow"),
                          {QStringLiteral("无"), QStringLiteral("有")});
    cmb_align = addCombo(QStringLiteral("页面对齐："), QStringLiteral("cmb_align"),
                         {QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")}, 1);
}

void dlgFrm_hr::OKButton_Click()
{
    HtmlFragments::Line l;
    l.color = txt_color->text();
    l.width = txt_width->text();
    l.height = txt_height->text();
    l.shadow = cmb_shadow->currentIndex() == 1;
    l.align = HtmlFragments::LineAlign(qBound(0, cmb_align->currentIndex(), 2));
    deliver(HtmlFragments::line(l));
}

dlgFrm_tbl::dlgFrm_tbl(AppContext& ctx, QWidget* parent)
    : InsertDialog(ctx, QStringLiteral("dlgFrm_tbl"), QStringLiteral("插入表格"), parent)
{
    const QStringList units = {QStringLiteral("%"), QStringLiteral("像数")};
    txt_row = addBox(QStringLiteral("行数："), QStringLiteral("txt_row"), QStringLiteral("2"), true);
    txt_col = addBox(QStringLiteral("列数："), QStringLiteral("txt_col"), QStringLiteral("2"), true);
    txt_width = addBox(QStringLiteral("宽度："), QStringLiteral("txt_width"), QStringLiteral("100"), true);
    cmb_width = new QComboBox;
    cmb_width->setObjectName(QStringLiteral("cmb_width"));
    cmb_width->addItems(units);
    m_grid->addWidget(cmb_width, m_grid->rowCount() - 1, 2);
    txt_height = addBox(QStringLiteral("高度："), QStringLiteral("txt_height"), QString(), true);
    cmb_height = new QComboBox;
    cmb_height->setObjectName(QStringLiteral("cmb_height"));
    cmb_height->addItems(units);
    m_grid->addWidget(cmb_height, m_grid->rowCount() - 1, 2);
    txt_border = addBox(QStringLiteral("边框："), QStringLiteral("txt_border"), QStringLiteral("1"), true);
    txt_pad = addBox(QStringLiteral("填充："), QStringLiteral("txt_pad"), QStringLiteral("0"), true);
    txt_space = addBox(QStringLiteral("间距："), QStringLiteral("txt_space"), QStringLiteral("0"), true);
    txt_backColor = addBox(QStringLiteral("背景颜色："), QStringLiteral("txt_backColor"));
    connect(addButton(QStringLiteral("选择"), QStringLiteral("cmd_backColor")), &QPushButton::clicked, this,
            [this] { pickColorInto(txt_backColor); });
    txt_foreColor = addBox(QStringLiteral("边框颜色："), QStringLiteral("txt_foreColor"));
    connect(addButton(QStringLiteral("选择"), QStringLiteral("cmd_foreColor")), &QPushButton::clicked, this,
            [this] { pickColorInto(txt_foreColor); });
    txt_ID = addBox(QStringLiteral("表格ID："), QStringLiteral("txt_ID"));
    cmb_align =
        addCombo(QStringLiteral("对齐："), QStringLiteral("cmb_align"),
                 {QStringLiteral("默认"), QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")});
}

void dlgFrm_tbl::OKButton_Click()
{
    static const QString kAligns[] = {QString(), QStringLiteral("left"), QStringLiteral("center"),
                                      QStringLiteral("right")};
    HtmlFragments::Table t;
    t.rows = txt_row->text();
    t.cols = txt_col->text();
    t.width = txt_width->text();
    t.widthUnit = cmb_width->currentText();
    t.height = txt_height->text();
    t.heightUnit = cmb_height->currentText();
    t.border = txt_border->text();
    t.padding = txt_pad->text();
    t.spacing = txt_space->text();
    t.backColor = txt_backColor->text();
    t.borderColor = txt_foreColor->text();
    t.id = txt_ID->text();
    t.align = kAligns[qBound(0, cmb_align->currentIndex(), 3)];
    const QString html = HtmlFragments::table(t);
    if (html.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("行数和列数都不能超过%1！").arg(HtmlFragments::kMaxTableSide),
                              Messages::notice(), MsgIcon::Information);
        return;
    }
    deliver(html);
}

dlgFrm_img::dlgFrm_img(AppContext& ctx, QWidget* parent)
    : InsertDialog(ctx, QStringLiteral("dlgFrm_img"), QStringLiteral("插入图片"), parent)
{
    txt_imgPath = addBox(QStringLiteral("图片路径："), QStringLiteral("txt_imgPath"));
    connect(addButton(QStringLiteral("浏览..."), QStringLiteral("cmd_imgPath")), &QPushButton::clicked, this,
            &dlgFrm_img::cmd_imgPath_Click);
    txt_width = addBox(QStringLiteral("图片宽度："), QStringLiteral("txt_width"), QString(), true);
    m_grid->addWidget(new QLabel(QStringLiteral("px")), m_grid->rowCount() - 1, 2);
    txt_height = addBox(QStringLiteral("图片高度："), QStringLiteral("txt_height"), QString(), true);
    m_grid->addWidget(new QLabel(QStringLiteral("px")), m_grid->rowCount() - 1, 2);
    txt_border = addBox(QStringLiteral("图片边框："), QStringLiteral("txt_border"), QStringLiteral("0"), true);
    txt_alt = addBox(QStringLiteral("标识文字："), QStringLiteral("txt_alt"));
    cmb_spec =
        addCombo(QStringLiteral("特殊效果："), QStringLiteral("cmb_spec"), captions(HtmlFragments::imageEffects()));
    cmb_align =
        addCombo(QStringLiteral("图片位置："), QStringLiteral("cmb_align"), captions(HtmlFragments::imageAligns()));
    setMinimumWidth(420);
}

void dlgFrm_img::cmd_imgPath_Click()
{
    const Pictures::Choice choice = Pictures::askForPicture(m_ctx.dialogs);
    if (!choice.ok())
        return;
    txt_imgPath->setText(choice.path);
    txt_width->setText(QString::number(choice.sizePx.width()));
    txt_height->setText(QString::number(choice.sizePx.height()));
}

void dlgFrm_img::OKButton_Click()
{
    const QString path = txt_imgPath->text().trimmed();
    if (path.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("图片路径不能为空！"), Messages::notice(), MsgIcon::Information);
        txt_imgPath->setFocus();
        return;
    }
    // The picture is copied only now, so that a cancelled dialog leaves nothing behind.
    if (!Pictures::isReadable(path)) {
        m_ctx.dialogs.message(Pictures::unreadableMessage(), Messages::notice(), MsgIcon::Critical);
        return;
    }
    HtmlFragments::Image img;
    img.fileName = copyToWorkspace(path);
    if (img.fileName.isEmpty())
        return;
    img.folder = m_ctx.workPath;
    img.width = txt_width->text();
    img.height = txt_height->text();
    img.border = txt_border->text();
    img.alt = txt_alt->text();
    img.style = HtmlFragments::imageEffects().value(cmb_spec->currentIndex()).value;
    img.align = HtmlFragments::imageAligns().value(cmb_align->currentIndex()).value;
    deliver(HtmlFragments::image(img));
}

dlgFrm_flash::dlgFrm_flash(AppContext& ctx, QWidget* parent)
    : InsertDialog(ctx, QStringLiteral("dlgFrm_flash"), QStringLiteral("flash选择"), parent)
{
    txt_path = addBox(QStringLiteral("文件路径："), QStringLiteral("txt_path"));
    connect(addButton(QStringLiteral("浏览..."), QStringLiteral("cmd_view")), &QPushButton::clicked, this,
            &dlgFrm_flash::cmd_view_Click);
    txt_width = addBox(QStringLiteral("宽度："), QStringLiteral("txt_width"), QString(), true);
    txt_height = addBox(QStringLiteral("高度："), QStringLiteral("txt_height"), QString(), true);
    setMinimumWidth(420);
}

void dlgFrm_flash::cmd_view_Click()
{
    const FileChoice picked = m_ctx.dialogs.openFile(QStringLiteral("flash文件(*.swf)|*.swf"));
    if (!picked.ok())
        return;
    const QString name = QFileInfo(picked.path).fileName();
    if (!cls_func().isEng(name)) {
        m_ctx.dialogs.message(Pictures::nonAsciiNameMessage(), Messages::notice(), MsgIcon::Information);
        return;
    }
    m_movieName = name;
    txt_path->setText(picked.path);
}

void dlgFrm_flash::OKButton_Click()
{
    const QString path = txt_path->text().trimmed();
    if (path.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("路径不能为空！"), Messages::notice(), MsgIcon::Information);
        txt_path->setFocus();
        return;
    }
    const QString placed = copyToWorkspace(path);
    if (placed.isEmpty())
        return;
    m_movieName = placed;
    deliver(
        HtmlFragments::flash(TextCodec::workspaceUrl(m_ctx.workPath) + placed, txt_width->text(), txt_height->text()));
}
