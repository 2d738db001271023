#include "advEdit.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "editor/HtmlHighlighter.h"
#include "editor/InsertDialogs.h"
#include "widgets/WebPane.h"
#include "workspace/WorkspaceFiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineNavigationRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

struct Button {
    const char* key;
    const char* caption;
    const char* tip;
    const char* command; // the editing command, or nullptr
    bool product;        // also on the reduced editor
};

// RemoveFormat names no command: the button is there and does nothing.
const Button kButtons[] = {
    {"save", "保存", "保存", nullptr, false},
    {"selectAll", "全选", "全选", "selectAll", false},
    {"undo", "撤销", "撤销", "undo", true},
    {"redo", "恢复", "恢复", "redo", true},
    {"cut", "剪切", "剪切", "cut", true},
    {"copy", "复制", "复制", "copy", true},
    {"paste", "粘贴", "粘贴", "paste", true},
    {"delete", "删除", "删除", "forwardDelete", true},
    {"bold", "粗体", "粗体", "bold", true},
    {"italic", "斜体", "斜体", "italic", true},
    {"underLine", "下划线", "下划线", "underline", true},
    {"Aleft", "左对齐", "左对齐", "justifyLeft", true},
    {"Acenter", "居中", "居中", "justifyCenter", true},
    {"Aright", "右对齐", "右对齐", "justifyRight", true},
    {"RemoveFormat", "删格式", "取消文字格式", nullptr, false},
    {"sline", "水平线", "水平线", nullptr, false},
    {"link", "超连接", "添加超连接", nullptr, true},
    {"unlink", "删连接", "取消超连接", "unlink", true},
    {"table", "表格", "插入表格", nullptr, false},
    {"img", "插入图", "插入图片", nullptr, false},
    {"flash", "flash", "flash文件", nullptr, false},
    {"color", "综合", "对选中的文字综合处理", nullptr, true},
};

constexpr int kHighlightLimit = 200000;

QString readResource(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The user's documents never leave the editor's own page: links, refreshes and
// dropped files do not navigate the pane.
WebPane* documentPane(const QString& name, QWidget* owner)
{
    auto* pane = new WebPane(owner, WebPane::Scripts::UserDocument);
    pane->setObjectName(name);
    QWebEnginePage* page = pane->view()->page();
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanPaste, true);
    QObject::connect(page, &QWebEnginePage::navigationRequested, pane, [pane](QWebEngineNavigationRequest& request) {
        if (request.isMainFrame() && pane->isLoaded())
            request.reject();
    });
    pane->addScript(QStringLiteral("weblark-editor"), readResource(QStringLiteral(":/weblark/editor/page/editor.js")));
    return pane;
}

// The insert dialogs are modal; their fragment goes to the end of the page.
template <class Dialog> void runInsertDialog(AppContext& ctx, advEdit& editor)
{
    Dialog dialog(ctx, &editor);
    QObject::connect(&dialog, &Dialog::fragmentReady, &editor, &advEdit::setInnerHTML);
    dialog.exec();
}

} // namespace

advEdit::advEdit(AppContext& ctx, Kind kind, QWidget* parent) : QWidget(parent), m_ctx(ctx), m_kind(kind)
{
    Q_INIT_RESOURCE(editor);
    setObjectName(kind == Kind::Full ? QStringLiteral("advEdit") : QStringLiteral("advEditProd"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    buildToolBar();
    lay->addWidget(tlBar);

    DHTMLEditer = documentPane(QStringLiteral("DHTMLEditer"), this);
    connect(DHTMLEditer, &WebPane::valuePushed, this, &advEdit::takePush);
    connect(DHTMLEditer, &WebPane::loadFinished, this, [this] { emit ready(); });
    if (kind == Kind::Product) {
        lay->addWidget(DHTMLEditer, 1);
    } else {
        sstb = new QTabWidget;
        sstb->setObjectName(QStringLiteral("sstb"));
        sstb->setTabPosition(QTabWidget::South);
        txt_code = new QPlainTextEdit;
        txt_code->setObjectName(QStringLiteral("txt_code"));
        txt_code->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        txt_code->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        m_highlighter = new HtmlHighlighter(txt_code->document());
        // Typing in the code view is an edit of the page as much as typing in design view.
        connect(txt_code, &QPlainTextEdit::textChanged, this, [this] {
            // The highlighter colours the text after it is set; only a change of the text counts.
            if (m_settingCode || (!m_codeEdited && txt_code->toPlainText() == m_codeText))
                return;
            m_codeEdited = true;
            emit changed();
        });
        DHTMLSafer = documentPane(QStringLiteral("DHTMLSafer"), this);
        sstb->addTab(DHTMLEditer, QStringLiteral("设计"));
        sstb->addTab(txt_code, QStringLiteral("HTML代码"));
        sstb->addTab(DHTMLSafer, QStringLiteral("预览"));
        connect(sstb, &QTabWidget::currentChanged, this, &advEdit::tabChanged);
        lay->addWidget(sstb, 1);
    }
    lbl_status = new QLabel;
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    lbl_status->hide();
    lay->addWidget(lbl_status);

    // Images of the page live in the workspace: the document's base is that folder.
    const QString shell = readResource(QStringLiteral(":/weblark/editor/page/document.html"));
    const QUrl base = QUrl::fromLocalFile(m_ctx.workPath);
    DHTMLEditer->setHtml(shell, base);
    loadDesign(QString());
    if (DHTMLSafer) {
        DHTMLSafer->setHtml(shell, base);
        loadPreview(QString());
    }
}

advEdit::~advEdit() = default;

void advEdit::buildToolBar()
{
    tlBar = new QToolBar;
    tlBar->setObjectName(QStringLiteral("tlBar"));
    tlBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tlBar->setIconSize(QSize(16, 16));
    for (const Button& b : kButtons) {
        if (m_kind == Kind::Product && !b.product)
            continue;
        const QString key = QString::fromLatin1(b.key);
        QAction* a = tlBar->addAction(QString::fromUtf8(b.caption));
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        m_buttons.insert(key, a);
        connect(a, &QAction::triggered, this, [this, key] { runKey(key); });
    }
}

void advEdit::runKey(const QString& key)
{
    for (const Button& b : kButtons) {
        if (key != QLatin1String(b.key))
            continue;
        if (b.command)
            DHTMLEditer->callFunction(QStringLiteral("weblarkEditorCommand"), {QString::fromLatin1(b.command)});
        break;
    }
    if (key == QLatin1String("save"))
        save();
    else if (key == QLatin1String("link"))
        askLink();
    else if (key == QLatin1String("color"))
        chooseFont();
    else if (key == QLatin1String("sline") || key == QLatin1String("table") || key == QLatin1String("img") ||
             key == QLatin1String("flash"))
        openInsertDialog(key);
}

QString advEdit::display(const QString& stored) const
{
    return m_ctx.fromStorageHtml(stored);
}

QString advEdit::stored(const QString& display) const
{
    return m_ctx.toStorageHtml(display);
}

bool advEdit::isReady() const
{
    return DHTMLEditer->isLoaded();
}

QString advEdit::innerHTML() const
{
    const int tab = sstb ? sstb->currentIndex() : 0;
    if (tab == 1)
        return AdvPageStore::codeToStored(txt_code->toPlainText());
    return stored(tab == 2 ? m_previewHtml : m_designHtml);
}

void advEdit::readHtml(const std::function<void(const QString&)>& then)
{
    QPointer<advEdit> self(this);
    flush([self, then] {
        if (self)
            then(self->innerHTML());
    });
}

void advEdit::loadInnerHTML(const QString& storedHtml)
{
    loadDesign(display(storedHtml));
    // The view showing now must show the new page too: a save from there would
    // otherwise store the previous page's text under this one.
    if (sstb && sstb->currentIndex() == 1)
        setCode(AdvPageStore::codeToStored(storedHtml), m_designHtml);
    else if (sstb && sstb->currentIndex() == 2)
        loadPreview(display(storedHtml));
    emit propertyChanged(QStringLiteral("innerHTML"));
}

void advEdit::setInnerHTML(const QString& fragment)
{
    // The design view's body holds no "</body>": the fragment goes to its end, in display
    // form (the workspace folder as a file address). The view reports it as an edit.
    DHTMLEditer->callFunction(QStringLiteral("weblarkEditorAppend"), {display(stored(fragment))});
    emit propertyChanged(QStringLiteral("innerHTML"));
}

void advEdit::setAspFileName(const QString& code)
{
    m_aspFileName = code;
    emit propertyChanged(QStringLiteral("aspFileName"));
}

void advEdit::loadDesign(const QString& displayHtml, bool adopt)
{
    m_designHtml = displayHtml;
    lbl_status->hide();
    DHTMLEditer->callFunction(
        QStringLiteral("weblarkEditorLoad"),
        {displayHtml, true, QString::fromUtf8(QUrl::fromLocalFile(m_ctx.workPath).toEncoded()), ++m_loadId, adopt});
}

void advEdit::loadPreview(const QString& displayHtml)
{
    m_previewHtml = displayHtml;
    DHTMLSafer->callFunction(QStringLiteral("weblarkEditorLoad"), {displayHtml, false, QString(), 0, false});
}

void advEdit::setCode(const QString& storedHtml, const QString& source)
{
    m_codeSource = source;
    m_settingCode = true;
    // Colouring a very long page would hold up every switch to the code view.
    m_highlighter->setDocument(storedHtml.size() > kHighlightLimit ? nullptr : txt_code->document());
    txt_code->setPlainText(storedHtml);
    m_settingCode = false;
    m_codeEdited = false;
    m_codeText = txt_code->toPlainText();
}

void advEdit::tabChanged(int to)
{
    const int from = std::exchange(m_tab, to);
    if (from == to)
        return;
    // A view that already holds what it would be given is left as it is: reloading a
    // long page costs seconds and would throw away the design view's undo steps.
    const bool codeIsSource = from == 1 && !m_codeEdited; // the code text still stands for m_codeSource
    if (to == 0) {
        if (from == 1 && !(codeIsSource && m_codeSource == m_designHtml)) {
            const QString before = stored(m_designHtml);
            const QString next = display(txt_code->toPlainText());
            loadDesign(next, m_codeEdited);
            if (stored(next) != before)
                emit changed();
        } else if (from == 2 && m_previewHtml != m_designHtml) {
            loadDesign(m_previewHtml);
        }
    } else if (to == 1) {
        const QString& source = from == 0 ? m_designHtml : m_previewHtml;
        if (m_codeEdited || source != m_codeSource)
            setCode(stored(source), source);
    } else {
        if (from == 0 && m_designHtml != m_previewHtml)
            loadPreview(m_designHtml);
        else if (from == 1 && !(codeIsSource && m_codeSource == m_previewHtml))
            loadPreview(display(txt_code->toPlainText()));
    }
    // Edits of a long page reach the program late: the view just left for may have been
    // filled without the last keystrokes. It is filled again once they are in, unless
    // the user has moved on or typed in the code text meanwhile.
    if (from == 0 && to != 0) {
        const QString filled = m_designHtml;
        QPointer<advEdit> self(this);
        flush([self, filled, to] {
            if (!self || self->m_tab != to || self->m_designHtml == filled)
                return;
            if (to == 1 && !self->m_codeEdited)
                self->setCode(self->stored(self->m_designHtml), self->m_designHtml);
            else if (to == 2)
                self->loadPreview(self->m_designHtml);
        });
    }
    // The commands edit the design view only; saving stays possible from every view.
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it)
        it.value()->setEnabled(to == 0 || it.key() == QLatin1String("save"));
}

bool advEdit::takeHtml(const QString& value, QString* kind)
{
    // "<generation> <load id> <kind>\n<body>"
    const int nl = value.indexOf(QLatin1Char('\n'));
    const QStringList head = value.left(nl).split(QLatin1Char(' '));
    if (nl < 0 || head.size() != 3)
        return false;
    const qint64 generation = head[0].toLongLong();
    if (head[1].toInt() != m_loadId || generation <= m_generation)
        return false; // an older load's document, or overtaken by a newer report
    m_generation = generation;
    if (head[2] != QLatin1String("l"))
        m_designHtml = value.mid(nl + 1);
    if (kind)
        *kind = head[2];
    return true;
}

void advEdit::takePush(const QString& key, const QString& value)
{
    if (key == QLatin1String("html")) {
        QString kind;
        if (takeHtml(value, &kind) && kind == QLatin1String("e"))
            emit changed();
        // Reports come in order: a flush waits for the one it named.
        for (int i = 0; i < m_waiting.size();) {
            if (m_waiting[i].first > m_generation) {
                ++i;
                continue;
            }
            const std::function<void()> then = m_waiting.takeAt(i).second;
            then();
        }
    } else if (key == QLatin1String("foreign")) {
        QStringList sources;
        for (const QJsonValue& v : QJsonDocument::fromJson(value.toUtf8()).array())
            sources << v.toString();
        adoptForeignPictures(sources);
    } else if (key == QLatin1String("outside")) {
        lbl_status->setText(QStringLiteral("本页有%1张图片不在工作区中，网站上可能无法显示。")
                                .arg(QJsonDocument::fromJson(value.toUtf8()).array().size()));
        lbl_status->show();
    } else if (key == QLatin1String("dropped")) {
        const QJsonArray pair = QJsonDocument::fromJson(value.toUtf8()).array();
        adoptDroppedPicture(pair.at(0).toString(), pair.at(1).toString());
    }
}

void advEdit::flush(const std::function<void()>& then)
{
    if (!DHTMLEditer->isLoaded()) {
        then();
        return;
    }
    QPointer<advEdit> self(this);
    DHTMLEditer->callFunction(QStringLiteral("weblarkEditorFlush"), {}, [self, then](const QVariant& result) {
        if (!self)
            return;
        // "<generation> <load id>": the report the program must have taken in first.
        const QStringList head = result.toString().split(QLatin1Char(' '));
        const qint64 generation = head.value(0).toLongLong();
        if (head.size() != 2 || head[1].toInt() != self->m_loadId || generation <= self->m_generation)
            then();
        else
            self->m_waiting.append({generation, then});
    });
}

void advEdit::save()
{
    if (m_kind != Kind::Full || !m_saveTarget)
        return;
    readHtml([this](const QString& html) {
        AdvPageStore::Page page = m_saveTarget();
        page.format = m_aspFileName;
        QString error;
        const Outcome out = AdvPageStore::save(m_ctx.conn, page, html, &error);
        for (const Notice& n : out.notices)
            m_ctx.dialogs.message(n.text, n.title, n.icon);
        if (!error.isEmpty())
            m_ctx.dialogs.message(error, Messages::error(), MsgIcon::Critical);
        if (out.done && !out.notices.isEmpty())
            emit saved();
    });
}

// A picture from elsewhere on the disk is copied into the workspace; one that
// cannot be (missing, unreadable, a name that is not plain ASCII) is taken out
// of the page with a message. Inline pictures are written into the workspace.
void advEdit::adoptForeignPictures(const QStringList& sources)
{
    QJsonObject map;
    QStringList refused;
    for (const QString& src : sources) {
        WorkspaceFiles::Result placed;
        if (src.startsWith(QLatin1String("data:image/"))) {
            const int comma = src.indexOf(QLatin1Char(','));
            const QString type = src.mid(11, src.indexOf(QLatin1Char(';')) - 11);
            const QString suffix = type == QLatin1String("jpeg") ? QStringLiteral("jpg") : type;
            placed = WorkspaceFiles::writeIn(QByteArray::fromBase64(src.mid(comma + 1).toLatin1()),
                                             QStringLiteral("paste.") + suffix, m_ctx.workPath);
        } else {
            const QString path = QUrl(src).toLocalFile();
            if (!cls_func().isEng(QFileInfo(path).fileName())) {
                placed.error = Messages::text(Messages::Id::NonAsciiName);
            } else if (!QFileInfo(path).isReadable()) {
                placed.error = QStringLiteral("图片文件不存在或无法读取：") + path;
            } else {
                placed = WorkspaceFiles::copyIn(path, m_ctx.workPath);
            }
        }
        map.insert(src, placed.ok ? QString::fromUtf8(QUrl::fromLocalFile(m_ctx.workPath + placed.fileName).toEncoded())
                                  : QString());
        if (!placed.ok)
            refused << placed.error;
    }
    DHTMLEditer->callFunction(QStringLiteral("weblarkEditorReplacePictures"), {map});
    for (const QString& text : refused)
        m_ctx.dialogs.message(text, Messages::notice(), MsgIcon::Information);
}

void advEdit::adoptDroppedPicture(const QString& name, const QString& dataUrl)
{
    if (!dataUrl.startsWith(QLatin1String("data:image/")))
        return; // only pictures are taken
    if (!cls_func().isEng(name)) {
        Messages::show(m_ctx.dialogs, Messages::Id::NonAsciiName);
        return;
    }
    const QByteArray data = QByteArray::fromBase64(dataUrl.mid(dataUrl.indexOf(QLatin1Char(',')) + 1).toLatin1());
    const WorkspaceFiles::Result placed = WorkspaceFiles::writeIn(data, name, m_ctx.workPath);
    if (!placed.ok) {
        m_ctx.dialogs.message(placed.error, Messages::notice(), MsgIcon::Information);
        return;
    }
    DHTMLEditer->callFunction(QStringLiteral("weblarkEditorInsertPicture"),
                              {QString::fromUtf8(QUrl::fromLocalFile(m_ctx.workPath + placed.fileName).toEncoded())});
}

// "综合" styles the selection only; without one it does nothing and asks nothing.
void advEdit::chooseFont()
{
    QPointer<advEdit> self(this);
    DHTMLEditer->callFunction(QStringLiteral("weblarkEditorHasSelection"), {}, [self](const QVariant& selected) {
        if (self && selected.toBool())
            self->applyFont();
    });
}

void advEdit::applyFont()
{
    const std::optional<QFont> font = m_ctx.dialogs.chooseFont(QFont());
    if (!font)
        return;
    const std::optional<QColor> color = m_ctx.dialogs.chooseColor(Qt::black);
    const int px = font->pixelSize() > 0 ? font->pixelSize() : qRound(font->pointSizeF() * 96.0 / 72.0);
    QJsonObject style{{QStringLiteral("family"), font->family()},
                      {QStringLiteral("size"), px},
                      {QStringLiteral("bold"), font->bold()},
                      {QStringLiteral("italic"), font->italic()},
                      {QStringLiteral("underline"), font->underline()}};
    if (color)
        style.insert(QStringLiteral("color"), color->name());
    DHTMLEditer->callFunction(QStringLiteral("weblarkEditorFont"), {style});
}

void advEdit::askLink()
{
    const std::optional<QString> url =
        m_ctx.dialogs.askText(QStringLiteral("超连接地址："), QStringLiteral("超连接"), QStringLiteral("http://"));
    if (url && !url->trimmed().isEmpty())
        DHTMLEditer->callFunction(QStringLiteral("weblarkEditorCommand"),
                                  {QStringLiteral("createLink"), url->trimmed()});
}

void advEdit::openInsertDialog(const QString& key)
{
    if (key == QLatin1String("sline"))
        runInsertDialog<dlgFrm_hr>(m_ctx, *this);
    else if (key == QLatin1String("table"))
        runInsertDialog<dlgFrm_tbl>(m_ctx, *this);
    else if (key == QLatin1String("img"))
        runInsertDialog<dlgFrm_img>(m_ctx, *this);
    else
        runInsertDialog<dlgFrm_flash>(m_ctx, *this);
}
