#include "ContentSite.h"
#include "TestMain.h"
#include "editor/AdvPageStore.h"
#include "editor/advEdit.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineScript>

namespace {

// The editor's HTML once the browser has reported its latest state.
QString browserHtml(advEdit& e)
{
    bool done = false;
    e.flush([&done] { done = true; });
    if (!QTest::qWaitFor([&done] { return done; }, 10000))
        return QStringLiteral("<no answer>");
    return e.innerHTML();
}

QVariant runInDocument(WebPane* pane, const QString& js)
{
    return evalJs(pane->view()->page(), js, 10000, QWebEngineScript::ApplicationWorld);
}

void command(advEdit& e, const QString& name, const QString& value = {})
{
    ctl<WebPane>(e, "DHTMLEditer")->callFunction(QStringLiteral("weblarkEditorCommand"), {name, value});
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<ContentSite> site;
    std::unique_ptr<advEdit> editor;

    std::unique_ptr<advEdit> openEditor(advEdit::Kind kind = advEdit::Kind::Full)
    {
        auto e = std::make_unique<advEdit>(site->ctx, kind);
        e->resize(800, 500);
        e->show();
        if (!QTest::qWaitFor([&] { return e->isReady(); }, 20000))
            qFatal("the editor did not load");
        return e;
    }

private Q_SLOTS:
    // One site and one editor for all cases: the cases do not share pages.
    void initTestCase()
    {
        site = std::make_unique<ContentSite>();
        editor = openEditor();
    }
    void init()
    {
        site->dlg.clear();
        ctl<QTabWidget>(*editor, "sstb")->setCurrentIndex(0);
    }
    void cleanupTestCase()
    {
        editor.reset();
        site.reset();
    }

    void saveRules_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("gone");          // the row is deleted between the two saves
        QTest::addColumn<QString>("message");    // of the second save
        QTest::addColumn<QStringList>("stored"); // value01 of the page's rows after saving "x", then "a\r\nb"
        QTest::newRow("level 2, carriage returns dropped")
            << 2 << "adv" << false << "数据保存成功！" << QStringList{"a\nb"};
        QTest::newRow("row gone") << 3 << "adv" << true << "该页面已被删除，数据没有保存！" << QStringList();
        QTest::newRow("root refused") << 0 << "adv" << false << "没有在左边选择栏目！" << QStringList();
        QTest::newRow("news page not stored") << 1 << "news" << false << "" << QStringList();
    }
    void saveRules()
    {
        QFETCH(int, level);
        QFETCH(QString, format);
        QFETCH(bool, gone);
        QFETCH(QString, message);
        QFETCH(QStringList, stored);
        AdvPageStore::Page page{level, QString::fromUtf8(QTest::currentDataTag()), format, true};
        AdvPageStore::save(site->db, page, "x");
        if (gone)
            QVERIFY(site->db.run("DELETE FROM " + SiteDb::contentTable(level)).ok);
        QCOMPARE(AdvPageStore::save(site->db, page, "a\r\nb").notices.value(0).text, message);
        QStringList values; // the second save updated the first row
        for (const QSqlRecord& row : site->contents(qMax(level, 1), page.name))
            values << fieldText(row, QStringLiteral("value01"));
        QCOMPARE(values, stored);
    }

    // Stored pages come back unchanged and are not marked changed, also after a trip
    // through the code view; pictures outside the workspace stay, with one report.
    void tabRoundTrip_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("status");
        QTest::newRow("empty page") << "" << QString();
        QTest::newRow("apostrophe") << "<p>it[&#39;]s</p>" << QString();
        QTest::newRow("workspace picture") << "<p><img src=\"[imgpath]/a.jpg\">x</p>" << QString();
        QTest::newRow("line feeds") << "<p>a</p>\n<p>b</p>" << QString();
        QTest::newRow("table") << "<table border=\"1\"><tbody><tr><td>&nbsp;</td></tr></tbody></table>" << QString();
        QTest::newRow("pictures outside")
            << "<img src=\"file:///nowhere/x.png\"><img src=\"data:image/png;base64,AA==\">"
            << "本页有2张图片不在工作区中，网站上可能无法显示。";
        QTest::newRow("long page, pictures outside further down")
            << "<p>" + QStringLiteral("<b>long</b>").repeated(3000) + "<img src=\"file:///nowhere/x.png\"></p>" +
                   QStringLiteral("<p>long</p>").repeated(20000) + "<img src=\"file:///nowhere/y.png\">"
            << "本页有2张图片不在工作区中，网站上可能无法显示。";
    }
    void tabRoundTrip()
    {
        QFETCH(QString, stored);
        QFETCH(QString, status);
        advEdit* e = editor.get();
        QSignalSpy changed(e, &advEdit::changed);
        e->loadInnerHTML(stored);
        QCOMPARE(browserHtml(*e), stored);
        auto* tabs = ctl<QTabWidget>(*e, "sstb");
        tabs->setCurrentIndex(1);
        QCOMPARE(ctl<QPlainTextEdit>(*e, "txt_code")->toPlainText(), stored);
        tabs->setCurrentIndex(0);
        QCOMPARE(browserHtml(*e), stored);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(site->dlg.texts(), QStringList());
        auto* label = ctl<QLabel>(*e, "lbl_status");
        QTRY_COMPARE(label->isVisible() ? label->text() : QString(), status); // long pages: once parsed
    }

    // The four insert dialogs, opened from the tool bar and filled through their own boxes,
    // add to the end of the page; a browsed file is copied into the workspace.
    void insertDialogs_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("boxes"); // "name=text"; "browse=button" presses it on a file of the user
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("added");
        QTest::newRow("line, as it opens") << "sline" << QStringList() << ""
                                           << "<hr size=\"2\" noshade=\"\" align=\"center\" width=\"500\">";
        QTest::newRow("table") << "table" << QStringList{"txt_border=2"} << ""
                               << "<table width=\"100%\" border=\"2\" cellpadding=\"0\" cellspacing=\"0\"><tbody>" +
                                      QStringLiteral("<tr><td>&nbsp;</td><td>&nbsp;</td></tr>").repeated(2) +
                                      "</tbody></table>";
        QTest::newRow("picture")
            << "img" << QStringList{"browse=cmd_imgPath", "txt_alt=Cup"} << "cup.png"
            << "<img src=\"[imgpath]/cup.png\" height=\"40\" width=\"100\" alt=\"Cup\" border=\"0\">";
        QTest::newRow("movie") << "flash" << QStringList{"browse=cmd_view", "txt_width=300"} << "intro.swf"
                               << "<param name=\"Movie\" value=\"[imgpath]/intro.swf\">";
    }
    void insertDialogs()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, boxes);
        QFETCH(QString, file);
        QFETCH(QString, added);
        const QString path =
            file.endsWith(".png") ? site->picture(file, 100, 40, "PNG") : site->pictures.filePath(file);
        if (file.endsWith(".swf"))
            writeFile(path, "FWS movie");
        site->dlg.files.clear();
        site->dlg.files.enqueue(path);
        editor->loadInnerHTML(QStringLiteral("<p>a</p>"));
        bool filled = false;
        std::function<void()> fill = [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d) {
                QTimer::singleShot(10, fill);
                return;
            }
            for (const QString& box : boxes) {
                const QStringList nv = box.split('=');
                if (nv[0] == "browse")
                    QTest::mouseClick(ctl<QPushButton>(*d, nv[1]), Qt::LeftButton);
                else
                    ctl<QLineEdit>(*d, nv[0])->setText(nv[1]);
            }
            QTest::mouseClick(ctl<QPushButton>(*d, "OKButton"), Qt::LeftButton);
            filled = !d->isVisible();
        };
        QTimer::singleShot(0, fill);
        auto* bar = ctl<QToolBar>(*editor, "tlBar");
        QTest::mouseClick(bar->widgetForAction(bar->findChild<QAction*>(key)), Qt::LeftButton);
        QVERIFY(filled);
        const QString page = browserHtml(*editor);
        QVERIFY2(page.startsWith("<p>a</p>") && page.contains(added), qPrintable(page));
        if (!file.isEmpty())
            QCOMPARE(readFile(site->inWork(file)), readFile(path));
    }

    // The tool bar's buttons as the user presses them, on the selection a script
    // placed: the page the design view holds afterwards.
    void toolBar_data()
    {
        QTest::addColumn<bool>("product"); // the reduced editor of the product dialogs
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("select"); // the selection in the first text: "from to"
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("stored");
        const QString ab = "<p>ab</p>", all = "0 2";
        const QString font = "<p>a<font color=\"#ff0000\" face=\"Serif\" style=\"font-size: 16px;\"><b>b</b></font></p>"
                             "<p><font size=\"7\">c</font></p>";
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        row("bold, italic, underline") << false << ab << all << QStringList{"bold", "italic", "underLine"}
                                       << "<p><b><i><u>ab</u></i></b></p>";
        row("centred, then right") << false << ab << all << QStringList{"Acenter", "Aright"}
                                   << "<p style=\"text-align: right;\">ab</p>";
        row("undone") << false << ab << all << QStringList{"bold", "undo"} << ab;
        row("undone, redone") << false << ab << all << QStringList{"italic", "undo", "redo"} << "<p><i>ab</i></p>";
        row("link") << false << ab << all << QStringList{"link"} << "<p><a href=\"http://a.cn\">ab</a></p>";
        row("unlink") << false << "<p><a href=\"http://a.cn\">ab</a></p>" << all << QStringList{"unlink"} << ab;
        row("删格式 does nothing") << false << "<p><b>ab</b></p>" << all << QStringList{"RemoveFormat"}
                                   << "<p><b>ab</b></p>";
        row("删除 deletes forward") << false << "<p>abc</p>"
                                    << "1 1" << QStringList{"delete"} << "<p>ac</p>";
        row("删除 deletes the selection") << false << "<p>abc</p>"
                                          << "0 1" << QStringList{"delete"} << "<p>bc</p>";
        row("综合 styles the selection only") << false << "<p>ab</p><p><font size=\"7\">c</font></p>"
                                              << "1 2" << QStringList{"color"} << font;
        row("综合 without a selection") << false << "<p>ab</p>"
                                        << "1 1" << QStringList{"color"} << ab;
        row("product editor") << true << ab << all << QStringList{"bold", "Acenter", "link"}
                              << "<p style=\"text-align: center;\"><b><a href=\"http://a.cn\">ab</a></b></p>";
    }
    void toolBar()
    {
        QFETCH(bool, product);
        QFETCH(QString, page);
        QFETCH(QString, select);
        QFETCH(QStringList, keys);
        QFETCH(QString, stored);
        const auto reduced = product ? openEditor(advEdit::Kind::Product) : nullptr;
        advEdit* e = product ? reduced.get() : editor.get();
        site->dlg.lines.clear();
        site->dlg.lines.enqueue(QStringLiteral("http://a.cn"));
        site->dlg.fonts.clear();
        site->dlg.fonts.enqueue(QFont(QStringLiteral("Serif"), 12, QFont::Bold));
        site->dlg.colors.enqueue(QColor(Qt::red));
        e->loadInnerHTML(page);
        auto* pane = ctl<WebPane>(*e, "DHTMLEditer");
        const QStringList at = select.split(' ');
        QVERIFY(runInDocument(pane, QStringLiteral("var t=document.createTreeWalker(document.body,4).nextNode();"
                                                   "getSelection().setBaseAndExtent(t,%1,t,%2);true")
                                        .arg(at[0], at[1]))
                    .toBool());
        auto* bar = ctl<QToolBar>(*e, "tlBar");
        for (const QString& key : keys) {
            QAction* a = bar->findChild<QAction*>(key);
            QVERIFY2(a, qPrintable(key));
            QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
            runInDocument(pane, "true"); // the answers of the button's script are in
        }
        QCOMPARE(browserHtml(*e), stored);
        // "综合" asks for a font and a colour only with a selection to give them to.
        QCOMPARE(site->dlg.fonts.isEmpty(), keys.contains("color") && stored != page);
    }

    void toolBarByTab()
    {
        advEdit* e = editor.get();
        auto* tabs = ctl<QTabWidget>(*e, "sstb");
        for (int tab : {1, 2, 0}) {
            tabs->setCurrentIndex(tab);
            for (QAction* a : ctl<QToolBar>(*e, "tlBar")->actions())
                QVERIFY2(a->isEnabled() == (tab == 0 || a->objectName() == "save"), qPrintable(a->objectName()));
        }
    }

    // Neither the document's scripts nor its event attributes run.
    void documentScriptsDoNotRun()
    {
        TestPictures::write(site->inWork("ok.png"), 4, 4, "PNG");
        advEdit* e = editor.get();
        e->loadInnerHTML(
            QStringLiteral("<img src=\"missing.png\" onerror=\"document.title=[&#39;]ran[&#39;]\">"
                           "<img src=\"[imgpath]/ok.png\"><script>document.title=[&#39;]ran[&#39;]</script>"));
        auto* pane = ctl<WebPane>(*e, "DHTMLEditer");
        QTRY_VERIFY_WITH_TIMEOUT(runInDocument(pane, "document.images.length==2&&document.images[0].complete&&"
                                                     "document.images[1].naturalWidth==4")
                                     .toBool(),
                                 10000);
        QVERIFY(pane->view()->title() != QLatin1String("ran"));
    }

    // Pictures pasted from elsewhere on the disk are copied in, or taken out with a message.
    void foreignPictures()
    {
        const struct {
            QString name, stored, message;
        } cases[] = {
            {"outside.png", "<p>a<img src=\"[imgpath]/outside.png\"></p>", ""},
            {"图.png", "<p>a</p>", "所选择的文件名中不能包含中文，请重命名后选择文件！"},
        };
        advEdit* e = editor.get();
        for (const auto& [name, stored, message] : cases) {
            const QString path = site->picture(name, 5, 5, "PNG");
            site->dlg.clear();
            e->loadInnerHTML(QStringLiteral("<p>a</p>"));
            command(*e, "selectAll");
            command(*e, "insertHTML",
                    QStringLiteral("<p>a<img src=\"%1\"></p>").arg(QUrl::fromLocalFile(path).toString()));
            QTRY_COMPARE_WITH_TIMEOUT(browserHtml(*e), stored, 10000);
            QCOMPARE(site->dlg.last().text, message);
            QCOMPARE(QFile::exists(site->inWork(name)), message.isEmpty());
        }
    }

    // Long pages report edits late and show their first screen before the rest is in;
    // a save right after typing there stores the keystrokes and the whole rest, exactly as
    // the browser parses the page in one piece (also where the first screen cannot end early).
    void saveRightAfterEditOfLongPage_data()
    {
        QTest::addColumn<QString>("page");
        QTest::newRow("paragraphs") << QStringLiteral("<p>long</p>").repeated(20000);
        QTest::newRow("bold left open") << QStringLiteral("<p><b>long</p><hr>").repeated(12000);
        QTest::newRow("one block") << "<div>" + QStringLiteral("<p>long</p>").repeated(20000) + "</div>";
        QTest::newRow("before an open table") << "<table>" + QStringLiteral("<p>long</p>").repeated(20000) + "</table>";
    }
    void saveRightAfterEditOfLongPage()
    {
        QFETCH(QString, page);
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        editor->setSaveTarget([&] { return AdvPageStore::Page{1, name, "adv", true}; });
        auto* pane = ctl<WebPane>(*editor, "DHTMLEditer");
        const QString typed = QString(page).replace(page.indexOf("long"), 4, "longtyped");
        // The page as the browser parses it in one piece (the pages hold no quotes).
        const QString whole =
            runInDocument(pane, "var b=document.createElement('body');b.innerHTML='" + typed + "';b.innerHTML")
                .toString();
        editor->loadInnerHTML(page);
        pane->view()->page()->runJavaScript("document.evaluate('.//text()',document.body,null,9,null)"
                                            ".singleNodeValue.data+='typed'",
                                            QWebEngineScript::ApplicationWorld);
        editor->save();
        QTRY_VERIFY_WITH_TIMEOUT(site->dlg.lastIs("数据保存成功！", "提示", MsgIcon::Information), 10000);
        QCOMPARE(fieldText(site->contents(1, name).value(0), QStringLiteral("value01")), whole);
    }

    // Typing on a long page reaches the program late; the code view and the preview,
    // filled at once, take the last keystrokes in too, and keep them on the way back.
    void lateEditReachesOtherViews()
    {
        const QString typed = "<p>longtyped</p>" + QStringLiteral("<p>long</p>").repeated(19999);
        auto* design = ctl<WebPane>(*editor, "DHTMLEditer");
        for (int tab : {1, 2}) {
            editor->loadInnerHTML(QStringLiteral("<p>long</p>").repeated(20000));
            QVERIFY(runInDocument(design, "document.body.firstChild.textContent+='typed';true").toBool());
            ctl<QTabWidget>(*editor, "sstb")->setCurrentIndex(tab);
            QTRY_VERIFY2_WITH_TIMEOUT(tab == 1 ? ctl<QPlainTextEdit>(*editor, "txt_code")->toPlainText() == typed
                                               : runInDocument(ctl<WebPane>(*editor, "DHTMLSafer"),
                                                               "document.body.firstChild.textContent=='longtyped'")
                                                     .toBool(),
                                      tab == 1 ? "code view" : "preview", 10000);
            ctl<QTabWidget>(*editor, "sstb")->setCurrentIndex(0);
            QCOMPARE(browserHtml(*editor), typed);
        }
    }

    // In the content window: typing marks the page changed; a save right after typing stores
    // what was typed, first as a new row, then over it; the code view stores apostrophes marked.
    void contentWindowSavesTypedPage()
    {
        editor->hide(); // keys go to the window in front
        auto w = site->openWindow();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QVERIFY(ContentSite::release(*w, "高级"));
        auto* e = ctl<advEdit>(*w, "advEditer");
        QTRY_VERIFY_WITH_TIMEOUT(e->isReady(), 20000);
        auto* pane = ctl<WebPane>(*e, "DHTMLEditer");
        auto* view = pane->view();
        QAction* save = ctl<QToolBar>(*e, "tlBar")->findChild<QAction*>("save");
        const auto type = [&](const QString& text) {
            QTRY_VERIFY(view->focusProxy());
            view->setFocus();
            QVERIFY(runInDocument(pane, "document.body.focus();document.execCommand('selectAll');true").toBool());
            QTest::keyClicks(view->focusProxy(), text);
        };
        const auto value01 = [&] {
            const QList<QSqlRecord> rows = site->contents(1, "高级");
            return rows.size() == 1 ? fieldText(rows.first(), QStringLiteral("value01")) : QStringLiteral("<rows>");
        };

        type("Hi'");
        QTRY_COMPARE(e->innerHTML(), QStringLiteral("Hi[&#39;]"));
        save->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(site->dlg.lastIs("数据保存成功！", "提示", MsgIcon::Information), 10000);
        QCOMPARE(value01(), QStringLiteral("Hi[&#39;]"));

        QSignalSpy changed(e, &advEdit::changed);
        type("Yo");
        QTRY_VERIFY(!changed.isEmpty());
        site->dlg.answers.enqueue(MsgAnswer::Yes);
        QVERIFY(ContentSite::release(*w, "文本页"));
        QVERIFY(site->dlg.lastIs("是否保存当前数据，如需要保存当前数据，单击工具栏上的保存按钮?", "提示",
                                 MsgIcon::Information));

        ctl<QTabWidget>(*e, "sstb")->setCurrentIndex(1);
        ctl<QPlainTextEdit>(*e, "txt_code")->setPlainText("<p>it's</p>");
        site->dlg.clear();
        save->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(site->dlg.lastIs("数据保存成功！", "提示", MsgIcon::Information), 10000);
        QCOMPARE(value01(), QStringLiteral("<p>it[&#39;]s</p>"));
        ctl<QTabWidget>(*e, "sstb")->setCurrentIndex(0);
        QCOMPARE(browserHtml(*e), value01());
    }
};

WEBLARK_TEST_MAIN(TestEditor)
#include "test_editor.moc"
