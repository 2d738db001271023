#include "ContentSite.h"
#include "TestMain.h"
#include "app/MDIFrm.h"
#include "app/WindowTable.h"
#include "structure/designFrm.h"
#include "text/TextCodec.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using ContentTestKit::readFile;

namespace {

QString col(const QSqlRecord& r, const char* c)
{
    return fieldIsNull(r, QLatin1String(c)) ? QStringLiteral("<null>") : fieldText(r, QLatin1String(c));
}

int slotsOf(const QString& format)
{
    if (format == QLatin1String("txt"))
        return 0;
    if (format == QLatin1String("imgTxt03") || format == QLatin1String("bigImg"))
        return 1;
    return 2;
}

} // namespace

class TestContentWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openedFromTheFrame()
    {
        ContentSite site;
        std::unique_ptr<QWidget> w(new insDataFrm(site.ctx));
        QVERIFY(qobject_cast<insDataFrm*>(w.get()));
        QCOMPARE(w->windowTitle(), QStringLiteral("录入数据"));
        auto* frm = static_cast<insDataFrm*>(w.get());
        // The whole site: root, eleven level-1 rows, two level-2, two level-3.
        QTreeWidgetItem* root = frm->tvw_nav->topLevelItem(0);
        QVERIFY(root);
        QCOMPARE(root->text(0), QStringLiteral("测试网站"));
        QVERIFY(root->isExpanded());
        QCOMPARE(root->childCount(), 11);
        QVERIFY(ContentSite::item(*frm, "三级图文"));
        QCOMPARE(frm->tvw_nav->selectedItems().value(0), root);
        QVERIFY(frm->webBer->url().toLocalFile().endsWith(QLatin1String("tmplImg/welcome02.htm")));
        QVERIFY(frm->webMultiData->url().toLocalFile().endsWith(QLatin1String("multiData.htm")));
    }

    // The first save inserts the page's row, the second updates it; after a restart the
    // editors show what was saved.
    void singleRecordPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("status");
        QTest::newRow("txt, level 2") << "二级文本" << 2 << "txt" << "文本格式";
        QTest::newRow("imgTxt01, level 3") << "三级图文" << 3 << "imgTxt01" << "图文格式一";
        QTest::newRow("imgTxt02") << "图文二" << 1 << "imgTxt02" << "图文格式二";
        QTest::newRow("imgTxt03") << "图文三" << 1 << "imgTxt03" << "图文格式三";
        QTest::newRow("bigImg") << "大图" << 1 << "bigImg" << "大图片格式";
    }
    void singleRecordPages()
    {
        QFETCH(QString, page);
        QFETCH(int, level);
        QFETCH(QString, format);
        QFETCH(QString, status);
        ContentSite site;
        const int pictureSlots = slotsOf(format);
        const bool hasText = format != QLatin1String("bigImg");
        {
            auto w = site.openWindow();
            QVERIFY(ContentSite::release(*w, page));
            QCOMPARE(w->StsBar[0]->text(), QStringLiteral("当前栏目：") + page);
            QCOMPARE(w->StsBar[1]->text(), QStringLiteral("显示格式：") + status);
            QVERIFY(w->pic_edit->isVisible());
            QVERIFY(!w->webMultiData->isVisible());
            QVERIFY(w->cmd_ok->isEnabled());
            QVERIFY(!w->cmd_addData[0]->isEnabled());
            QCOMPARE(w->txt_title->isVisible(), hasText);
            QCOMPARE(w->cmd_img[0]->isVisible(), pictureSlots >= 1);
            QCOMPARE(w->cmd_img[1]->isVisible(), pictureSlots == 2);
            QVERIFY(w->isNew());

            if (hasText) {
                QTest::keyClicks(w->txt_title, QStringLiteral("It's "));
                w->txt_title->insert(QStringLiteral("标题"));
                QTest::keyClicks(w->txt_content, QStringLiteral("line one"));
                QTest::keyClick(w->txt_content, Qt::Key_Return);
                QTest::keyClicks(w->txt_content, QStringLiteral("  two \"q\""));
                QVERIFY(w->dataChanged);
            }
            const QString first[2] = {site.picture("one.jpg"), site.picture("two.bmp", 80, 60, "BMP")};
            for (int i = 0; i < pictureSlots; ++i) {
                site.dlg.files.enqueue(first[i]);
                QTest::mouseClick(w->cmd_img[i], Qt::LeftButton);
                QCOMPARE(w->txt_img[i]->text(), QFileInfo(first[i]).fileName());
                QVERIFY(!w->img[i]->pixmap().isNull());
                QCOMPARE(readFile(site.inWork(QFileInfo(first[i]).fileName())), readFile(first[i]));
            }
            QCOMPARE(site.dlg.fileFilters.value(0, QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif")),
                     QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif"));

            QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
            QCOMPARE(site.dlg.texts(), QStringList{"数据已保存！"});
            QCOMPARE(site.dlg.last().icon, MsgIcon::Information);
            QVERIFY(!w->dataChanged);
            QVERIFY(!w->isNew());
            QList<QSqlRecord> rows = site.rows(level, page);
            QCOMPARE(rows.size(), 1);
            const QSqlRecord& r = rows.first();
            if (format == QLatin1String("bigImg")) {
                QCOMPARE(col(r, "value01"), QStringLiteral("one.jpg"));
                QCOMPARE(col(r, "value02"), QStringLiteral("<null>"));
            } else {
                QCOMPARE(col(r, "value01"), QStringLiteral("It's 标题"));
                QCOMPARE(col(r, "value02"), QStringLiteral("line&nbsp;one<br>&nbsp;&nbsp;two&nbsp;&#34;q&#34;"));
                const QString v3 = format == QLatin1String("txt") ? QStringLiteral("<null>") : QStringLiteral("one.jpg");
                const QString v4 = format == QLatin1String("txt")        ? QStringLiteral("<null>")
                                   : format == QLatin1String("imgTxt03") ? QString()
                                                                         : QStringLiteral("two.bmp");
                QCOMPARE(col(r, "value03"), v3);
                QCOMPARE(col(r, "value04"), v4);
            }
            QCOMPARE(col(r, "value05"), QStringLiteral("<null>"));

            // Second save of the visit: the same row, new values; the replaced picture goes.
            if (hasText) {
                w->txt_title->clear();
                w->txt_title->insert(QStringLiteral("新标题"));
            }
            if (pictureSlots > 0) {
                site.dlg.files.enqueue(site.picture("three.gif.jpg", 50, 40));
                QTest::mouseClick(w->cmd_img[0], Qt::LeftButton);
                QVERIFY2(QFile::exists(site.inWork("one.jpg")), "kept until the record names another picture");
            }
            QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
            rows = site.rows(level, page);
            QCOMPARE(rows.size(), 1);
            if (hasText)
                QCOMPARE(col(rows.first(), "value01"), QStringLiteral("新标题"));
            if (pictureSlots > 0) {
                QCOMPARE(col(rows.first(), hasText ? "value03" : "value01"), QStringLiteral("three.gif.jpg"));
                QVERIFY(!QFile::exists(site.inWork("one.jpg")));
            }
        }
        // A restart shows the saved page again.
        site.db.close();
        QVERIFY(site.db.open(site.app.workPath()));
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, page));
        QVERIFY(!w->isNew());
        if (hasText) {
            QCOMPARE(w->txt_title->text(), QStringLiteral("新标题"));
            QCOMPARE(w->txt_content->toPlainText(), QStringLiteral("line one\n  two \"q\""));
        }
        if (pictureSlots > 0) {
            QCOMPARE(w->txt_img[0]->text(), QStringLiteral("three.gif.jpg"));
            QVERIFY(!w->img[0]->pixmap().isNull());
        }
        if (pictureSlots == 2)
            QCOMPARE(w->txt_img[1]->text(), QStringLiteral("two.bmp"));
    }

    void imgTxt03WritesEmptyValue04()
    {
        ContentSite site;
        site.db.run("INSERT INTO content01(firstCatalog,value01,value02,value03,value04) "
                    "VALUES('图文三','t','c','a.jpg','left.jpg')");
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "图文三"));
        QVERIFY(!w->cmd_img[1]->isVisible());
        QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
        const auto rows = site.rows(1, "图文三");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(col(rows.first(), "value03"), QStringLiteral("a.jpg"));
        QCOMPARE(col(rows.first(), "value04"), QString());
    }

    void picturesSwappedBetweenSlotsAreKept_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("swapped") << "b.jpg" << "a.jpg";
        QTest::newRow("one picture in both") << "b.jpg" << "b.jpg";
    }
    void picturesSwappedBetweenSlotsAreKept()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        ContentSite site;
        ContentTestKit::writePicture(site.inWork("a.jpg"), 60, 40);
        ContentTestKit::writePicture(site.inWork("b.jpg"), 40, 60);
        site.db.run("INSERT INTO content01(firstCatalog,value01,value02,value03,value04) "
                    "VALUES('图文一','t','c','a.jpg','b.jpg')");
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "图文一"));
        site.dlg.files.enqueue(site.inWork(first));
        w->cmd_img_Click(0);
        site.dlg.files.enqueue(site.inWork(second));
        w->cmd_img_Click(1);
        QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
        const auto rows = site.rows(1, "图文一");
        QCOMPARE(col(rows.first(), "value03"), first);
        QCOMPARE(col(rows.first(), "value04"), second);
        // Every picture the record names is still there.
        QVERIFY(QFile::exists(site.inWork(first)));
        QVERIFY(QFile::exists(site.inWork(second)));
    }

    void bigImgKeepsItsPicture()
    {
        ContentSite site;
        ContentTestKit::writePicture(site.inWork("big.jpg"), 900, 700);
        site.db.run("INSERT INTO content01(firstCatalog,value01) VALUES('大图','big.jpg')");
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "大图"));
        QCOMPARE(w->txt_img[0]->text(), QStringLiteral("big.jpg"));
        // 7500 x 6000 twips at most, the picture's shape kept.
        QVERIFY(w->img[0]->width() <= 500 && w->img[0]->height() <= 400);
        QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
        QCOMPARE(site.dlg.texts(), QStringList{"数据已保存！"});
        const auto rows = site.rows(1, "大图");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(col(rows.first(), "value01"), QStringLiteral("big.jpg"));
        QVERIFY(QFile::exists(site.inWork("big.jpg")));
    }

    void leavingWithUnsavedTyping_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("yes: stay to save") << true;
        QTest::newRow("no: go on") << false;
    }
    void leavingWithUnsavedTyping()
    {
        QFETCH(bool, answerYes);
        ContentSite site;
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "文本页"));
        w->txt_title->insert(QStringLiteral("未保存"));
        QTest::keyClick(w->txt_title, Qt::Key_End);
        site.dlg.answers.enqueue(answerYes ? MsgAnswer::Yes : MsgAnswer::No);
        QVERIFY(ContentSite::release(*w, "二级文本"));
        QCOMPARE(site.dlg.texts(), QStringList{"是否保存当前数据，如需要保存当前数据，单击工具栏上的保存按钮?"});
        QCOMPARE(site.dlg.last().buttons, MsgButtons::YesNo);
        QCOMPARE(site.dlg.last().title, QStringLiteral("提示"));
        if (answerYes) {
            QCOMPARE(w->selNodeText(), QStringLiteral("文本页"));
            QCOMPARE(w->txt_title->text(), QStringLiteral("未保存"));
            QVERIFY(w->dataChanged);
            // The save still goes to the page that was being edited.
            QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
            QCOMPARE(col(site.rows(1, "文本页").value(0), "value01"), QStringLiteral("未保存"));
            QVERIFY(site.rows(2, "二级文本").isEmpty());
        } else {
            QCOMPARE(w->selNodeText(), QStringLiteral("二级文本"));
            QCOMPARE(w->txt_title->text(), QString());
            QVERIFY(!w->dataChanged);
            QVERIFY(site.rows(1, "文本页").isEmpty());
        }
    }

    void catalogsAndUnformattedPages()
    {
        ContentSite site;
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "测试网站"));
        QCOMPARE(w->StsBar[1]->text(), QStringLiteral("显示格式：（该栏目是父节点）"));
        QCOMPARE(w->StsBar[0]->text(), QStringLiteral("当前栏目：测试网站"));
        QVERIFY(!w->cmd_ok->isEnabled());
        QVERIFY(ContentSite::release(*w, "栏目B"));
        QCOMPARE(w->StsBar[0]->text(), QStringLiteral("当前栏目：栏目B"));
        QVERIFY(site.dlg.shown.isEmpty());

        QVERIFY(ContentSite::release(*w, "未设计"));
        QCOMPARE(site.dlg.shown.size(), 1);
        QVERIFY(site.dlg.lastIs("请先在设计栏目中设计好该栏目或单击右键刷新！", "警告", MsgIcon::Warning));
        QCOMPARE(w->txt_title->text(), QString());

        // Saving with the root selected reaches no table.
        QVERIFY(ContentSite::release(*w, "测试网站"));
        site.dlg.clear();
        w->cmd_ok_Click();
        QCOMPARE(site.dlg.texts(), QStringList{"没有在左边选择栏目！"});
        QCOMPARE(site.dlg.last().icon, MsgIcon::Critical);

        // The right button opens the pop-up menu instead.
        QVERIFY(ContentSite::release(*w, "文本页", Qt::RightButton));
        QTRY_VERIFY(w->mnuIns->isVisible());
        QCOMPARE(w->mnuIns->actions().value(0)->text(), QStringLiteral("刷新"));
        w->mnuIns->close();
    }

    void refusedInput()
    {
        ContentSite site;
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "图文一"));
        QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
        QTest::keyClicks(w->txt_title, QStringLiteral("   "));
        QTest::mouseClick(w->cmd_ok, Qt::LeftButton);
        QCOMPARE(site.dlg.texts(), (QStringList{"标题不能为空", "标题不能为空"}));
        QCOMPARE(site.dlg.last().icon, MsgIcon::Information);
        QVERIFY(site.rows(1, "图文一").isEmpty());

        struct Bad {
            QString name;
            QByteArray data;
            QString message;
        };
        const QByteArray jpg = ContentTestKit::encoded(ContentTestKit::makePicture(60, 40), "JPG");
        const QList<Bad> bad = {
            {"图片.jpg", jpg, "所选择的文件名中不能包含中文，请重命名后选择文件！"},
            {"cut.jpg", jpg.left(jpg.size() / 2), "所选择的文件不是完整的图片，无法读取，请选择其它图片！"},
        };
        for (const Bad& b : bad) {
            site.dlg.clear();
            site.dlg.files.enqueue(ContentTestKit::writeFile(site.pictures.filePath(b.name), b.data));
            QTest::mouseClick(w->cmd_img[1], Qt::LeftButton);
            QCOMPARE(site.dlg.texts(), QStringList{b.message});
            QCOMPARE(site.dlg.last().title, QStringLiteral("提示"));
            QVERIFY2(!QFile::exists(site.inWork(b.name)), qPrintable(b.name));
            QCOMPARE(w->txt_img[1]->text(), QString());
        }
        // Cancel changes nothing and says nothing.
        site.dlg.clear();
        QTest::mouseClick(w->cmd_img[0], Qt::LeftButton);
        QVERIFY(site.dlg.shown.isEmpty());
        QCOMPARE(w->txt_img[0]->text(), QString());
    }

    void editorsScroll()
    {
        ContentSite site;
        auto w = site.openWindow();
        w->resize(700, 420);
        QVERIFY(ContentSite::release(*w, "图文一"));
        QTRY_VERIFY(w->vscrl->maximum() > 0);
        const int headTop = w->lbl_head->y();
        const int imgTop = w->img[0]->y();
        w->vscrl->setValue(w->vscrl->maximum());
        QVERIFY(w->lbl_head->y() < headTop);
        QCOMPARE(w->img[0]->y() - w->lbl_head->y(), imgTop - headTop);
        // Leaving for another format starts at the top again.
        QVERIFY(ContentSite::release(*w, "文本页"));
        QCOMPARE(w->vscrl->value(), 0);
    }

    // The structure designer reaches the open content window by name.
    void designerRefreshesThroughTheFrame()
    {
        TestAppDir app;
        RecordingDialogService dlg;
        MDIFrm frame(app.path(), dlg, programWindows());
        auto* content = qobject_cast<insDataFrm*>(frame.showWindow(QStringLiteral("insDataFrm")));
        auto* designer = qobject_cast<designFrm*>(frame.showWindow(QStringLiteral("designFrm")));
        QVERIFY(content && designer);
        QVERIFY(!ContentSite::item(*content, "从设计来"));
        QVERIFY(frame.conn().run("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID,aspFileName) "
                                 "VALUES('从设计来',0,1,'news')"));
        designer->refreshContentWindow();
        QVERIFY(ContentSite::item(*content, "从设计来"));
        QVERIFY(ContentSite::release(*content, "从设计来"));
        QCOMPARE(content->StsBar[1]->text(), QStringLiteral("显示格式：新闻格式"));
    }

    void refreshShowsDesignerChanges()
    {
        ContentSite site;
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "文本页"));
        site.db.run("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID,aspFileName) VALUES('新页面',0,99,'txt')");
        QVERIFY(QMetaObject::invokeMethod(w.get(), "mnu_Refresh_Click"));
        QVERIFY(ContentSite::item(*w, "新页面"));
        QVERIFY(!w->pic_edit->isVisible());
        QVERIFY(w->webBer->isVisible());
        QCOMPARE(w->selNode(), nullptr);
        QVERIFY(ContentSite::release(*w, "新页面"));
        QCOMPARE(w->StsBar[1]->text(), QStringLiteral("显示格式：文本格式"));
    }
};

WEBLARK_TEST_MAIN(TestContentWindow)
#include "test_content_window.moc"
