#include "SiteFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestPictures.h"
#include "appearance/NameStyleChooser.h"
#include "appearance/TemplateChooser.h"
#include "appearance/sltTmplFrm.h"
#include "appearance/sltTmplFrm_view.h"
#include "appearance/sltTmplFrm_viewHead.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

struct WindowFixture : SiteFixture {
    std::unique_ptr<sltTmplFrm> frm;

    // Stores each "column=value", then opens the window.
    sltTmplFrm& open(const QStringList& stored = {})
    {
        for (const QString& pair : stored)
            db.updateUserInfo(pair.section('=', 0, 0), pair.section('=', 1));
        frm = std::make_unique<sltTmplFrm>(ctx);
        frm->show();
        return *frm;
    }
    template <typename T = QWidget> T* child(const QString& name) const { return ctl<T>(*frm, name); }
    bool on(const QString& name) const { return child(name)->isEnabled(); }
    bool ticked(const QString& name) const { return child<QCheckBox>(name)->isChecked(); }
    // A check box is clicked on its square: the box may be wider than its caption.
    void click(const QString& name) const
    {
        QWidget* w = child(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, qobject_cast<QCheckBox*>(w) ? QPoint(6, w->height() / 2) : QPoint());
    }
    QString text(const QString& name) const
    {
        if (auto* edit = frm->findChild<QLineEdit*>(name))
            return edit->text();
        return child<QLabel>(name)->text();
    }
    QString notice() const { return text("StatusBar1_panel1"); }
};

class TestSltTmplFrm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithWhatIsStored()
    {
        WindowFixture f;
        f.open({"defaultFile=default.htm", "topHead=  ", "field01=||a.htm||b.htm", "field02=1", "field03=x",
                "adBoard=1||300||200||0||0||t||c", "Javascript=0", "field05=1", "defaultTmpl=D0102.png",
                "headTmpl=H0201xyz.png", "defaultFont=font03.png", "backGround=bg.jpg"});
        QCOMPARE(f.frm->windowTitle(), "选择模版");
        QVERIFY(f.ticked("chk_default"));
        QCOMPARE(f.text("txt_default"), "default.htm");
        QVERIFY(!f.on("Frame1") && !f.on("Frame3") && f.on("cmd_sltDefault") && f.on("cmd_viewDefault"));
        // A blank head: its controls are off, the inner-page style stays on.
        QVERIFY(!f.ticked("chk_head"));
        QVERIFY(!f.on("txt_head") && !f.on("cmd_sltHead") && f.on("Frame4"));
        QVERIFY(f.ticked("chk_other"));
        auto* others = f.child<QComboBox>("cmb_other");
        QCOMPARE(others->count(), 3);
        QCOMPARE(others->currentText(), "");
        QCOMPARE(others->itemText(2), "b.htm");
        const QList<bool> ticks{true, false, true, false, false, true};
        for (int i = 0; i < 6; ++i)
            QVERIFY2(f.ticked(QStringLiteral("chk_pertain%1").arg(i)) == ticks[i], qPrintable(QString::number(i)));
        QCOMPARE(f.text("lbl_defaultTmpl"), "D0102");
        QCOMPARE(f.text("lbl_headTmpl"), "H0201");
        QVERIFY(!f.child<QLabel>("imgDefaultTmpl")->pixmap().isNull());
        QVERIFY(f.child<QLabel>("imgHeadTmpl")->pixmap().isNull()); // no such picture
        QVERIFY(!f.child<QLabel>("imgDefault")->pixmap().isNull());
        QCOMPARE(f.text("lbl_bg"), "bg.jpg");

        // The panel keeps its 1000-twip margins when small and is centred, 200 twips up, when large.
        QWidget* panel = f.child("Frame100");
        f.frm->resize(1, 1);
        QCOMPARE(f.frm->size(), QSize(745, 469));
        QCOMPARE(panel->pos(), QPoint(67, 67));
        f.frm->resize(1600, 1200);
        QVERIFY(qAbs(panel->x() + panel->width() / 2 - 800) <= 1);
        const int above = (1200 - f.child("StatusBar1")->height()) / 2 - (panel->y() + panel->height() / 2);
        QVERIFY2(above >= 12 && above <= 14, qPrintable(QString::number(above)));
    }

    // Each chooser, confirmed with what it offers first, updates its own picture.
    void choosersUpdateTheirPicture_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("column");
        for (const char* row :
             {"home template|cmd_default|imgDefaultTmpl|defaultTmpl", "inner template|cmd_head|imgHeadTmpl|headTmpl",
              "home name style|cmd_DefaultFont|imgDefault|defaultFont",
              "inner name style|cmd_headFont|imgHead|headFont"}) {
            const QStringList f = QString(row).split('|');
            QTest::newRow(qPrintable(f[0])) << f[1] << f[2] << f[3];
        }
    }
    void choosersUpdateTheirPicture()
    {
        QFETCH(QString, button);
        QFETCH(QString, picture);
        QFETCH(QString, column);
        WindowFixture f;
        f.open();
        QTimer::singleShot(0, [] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* styles = qobject_cast<NameStyleChooser*>(w))
                QTest::mouseClick(styles->images().first(), Qt::LeftButton);
            if (w)
                QTest::mouseClick(w->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        });
        f.click(button);
        const QString value = f.stored(qPrintable(column));
        QVERIFY(!value.isEmpty());
        for (const QString p : {"imgDefaultTmpl", "imgHeadTmpl", "imgDefault", "imgHead"})
            QVERIFY2(f.child<QLabel>(p)->pixmap().isNull() == (p != picture), qPrintable(p));
        if (column.endsWith("Tmpl"))
            QCOMPARE(f.text(column == "defaultTmpl" ? "lbl_defaultTmpl" : "lbl_headTmpl"), value.left(5));
    }

    void unticking_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<bool>("ok");
        const QString home = "确实要取消首页自定制设置吗？";
        const QStringList homeOff{"txt_default", "cmd_sltDefault", "cmd_viewDefault"};
        const QStringList headOff{"txt_head", "cmd_sltHead", "cmd_viewHead"};
        const QStringList otherOff{"cmd_other", "cmb_other"};
        for (bool ok : {true, false}) {
            const char* tag = ok ? "ok" : "cancel";
            const auto add = [&](const char* row, const char* box, const char* column, const char* value,
                                 const char* file, const QString& question, const QStringList& disabled) {
                QTest::addRow("%s %s", row, tag) << box << column << value << file << question << disabled << ok;
            };
            add("home", "chk_default", "defaultFile", "default.htm", "default.htm", home, homeOff);
            add("head", "chk_head", "topHead", "topHeadSelf.gif", "topHeadSelf.gif", home, headOff);
            add("other", "chk_other", "field01", "||../x.htm||a.htm", "a.htm", "确实要取消确实要取消其他网页的设置吗？",
                otherOff);
        }
    }
    void unticking()
    {
        QFETCH(QString, box);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, file);
        QFETCH(QString, question);
        QFETCH(QStringList, disabled);
        QFETCH(bool, ok);
        WindowFixture f;
        writeFile(f.inWork(file), "page");
        writeFile(f.app.file("x.htm"), "outside");
        f.open({column + "=" + value});
        QVERIFY(f.ticked(box));
        f.dlg.answers << (ok ? MsgAnswer::Ok : MsgAnswer::Cancel);
        f.click(box);
        QVERIFY(f.dlg.lastIs(question, "提示", MsgIcon::Question));
        QCOMPARE(f.dlg.last().buttons, MsgButtons::OkCancel);
        QCOMPARE(f.ticked(box), !ok);
        QCOMPARE(f.stored(qPrintable(column)), ok ? QString() : value);
        QCOMPARE(QFile::exists(f.inWork(file)), !ok);
        QVERIFY(QFile::exists(f.app.file("x.htm")));
        for (const QString& c : disabled)
            QVERIFY2(f.on(c) != ok, qPrintable(c));
    }

    void customPagesChosen()
    {
        WindowFixture f;
        f.open();
        QVERIFY(!f.on("txt_default") && f.on("cmd_default"));
        f.click("chk_default");
        QVERIFY(f.on("cmd_sltDefault") && !f.on("cmd_default") && !f.on("cmd_DefaultFont"));
        f.click("cmd_sltDefault"); // cancelled
        QVERIFY(f.dlg.lastIs("没有选择首页存放路径！", "警告", MsgIcon::Critical));
        QTemporaryDir dir;
        writeFile(dir.path() + "/DEFAULT.htm", "<p>home</p>");
        writeFile(dir.path() + "/images/a.gif", TestPictures::tinyGif());
        f.dlg.files << dir.path() + "/DEFAULT.htm";
        f.click("cmd_sltDefault");
        QCOMPARE(f.dlg.fileFilters.last(), "站点首页文件(default.htm)|default.htm");
        QCOMPARE(f.text("txt_default"), "default.htm");
        QCOMPARE(f.stored("defaultFile"), "default.htm");
        QCOMPARE(readFile(f.inWork("default.htm")), QByteArray("<p>home</p>"));
        QVERIFY(QFile::exists(f.inWork("images/a.gif")));

        // The head shows the chosen name and is installed under its lower-case name.
        f.click("chk_head");
        writeFile(dir.path() + "/Banner.JPG", "jpg");
        f.dlg.files << dir.path() + "/Banner.JPG";
        f.click("cmd_sltHead");
        QCOMPARE(f.text("txt_head"), "Banner.JPG");
        QVERIFY(f.on("cmd_viewHead") && !f.on("cmd_headFont"));
        QCOMPARE(f.stored("topHead"), "topHeadSelf.jpg");

        // Other pages: the list is refilled with the folder's pages, the first selected; the former page goes.
        writeFile(f.inWork("old.htm"), "old");
        QVERIFY(f.db.updateUserInfo("field01", "||old.htm").ok);
        f.open();
        QCOMPARE(f.child<QComboBox>("cmb_other")->count(), 2);
        writeFile(dir.path() + "/pages/b.htm", "b");
        writeFile(dir.path() + "/pages/a.mht", "a");
        writeFile(dir.path() + "/pages/note.txt", "n");
        f.dlg.folders << dir.path() + "/pages";
        f.click("cmd_other");
        auto* others = f.child<QComboBox>("cmb_other");
        QCOMPARE(others->count(), 2);
        QCOMPARE(others->currentText(), "a.mht");
        QCOMPARE(others->itemText(1), "b.htm");
        QCOMPARE(f.stored("field01"), "||a.mht||b.htm");
        QVERIFY(!QFile::exists(f.inWork("old.htm")));
    }

    void previews()
    {
        WindowFixture f;
        writeFile(f.inWork("topHeadSelf.swf"), "FWS");
        f.open({"topHead=topHeadSelf.swf"});
        sltTmplFrm_viewHead view(f.ctx);
        QVERIFY(view.load());
        QVERIFY(view.pageHtml().contains("clsid:D27CDB6E-AE6D-11cf-96B8-444553540000"));
        QVERIFY(view.pageHtml().contains("topHeadSelf.swf Flash动画</div></OBJECT>"));
        f.db.updateUserInfo("topHead", "topHeadSelf.gif");
        QVERIFY(!sltTmplFrm_viewHead(f.ctx).load());
        QVERIFY(f.dlg.lastIs("内页头文件不存在！", "提示", MsgIcon::Information));

        // The home page preview: a page that is missing, or lies outside the workspace, is not shown.
        writeFile(f.app.file("x.htm"), "outside");
        for (const char* name : {"default.htm", "../x.htm"}) {
            f.db.updateUserInfo("defaultFile", name);
            QVERIFY(!sltTmplFrm_view(f.ctx).load());
            QVERIFY(f.dlg.lastIs("首页文件不存在！", "提示", MsgIcon::Information));
        }
        QVERIFY(f.db.run("DELETE FROM user_info").ok);
        QVERIFY(!sltTmplFrm_view(f.ctx).load());
        QVERIFY(f.dlg.lastIs("没有数据！", "提示", MsgIcon::Information));
    }

    void background()
    {
        WindowFixture f;
        TestPictures::write(f.inWork("old.jpg"), 8, 8);
        const QString chosen = TestPictures::write(f.app.file("pics/new.jpg"), 8, 8);
        const QString chinese = TestPictures::write(f.app.file("pics/背景.jpg"), 8, 8);
        f.open({"backGround=old.jpg"});

        f.click("cmd_bgOK"); // cancelled
        QVERIFY(f.dlg.lastIs(DialogService::cancelDescription(), "提示", MsgIcon::Information));
        QCOMPARE(f.dlg.fileStarts.last(), f.app.appPath() + "backGround/0005.JPG");
        f.dlg.files << chinese;
        f.click("cmd_bgOK");
        QVERIFY(f.dlg.lastIs("所选择的文件名中不能包含中文，请重命名后选择文件！", "提示", MsgIcon::Information));
        QCOMPARE(f.stored("backGround"), "old.jpg");

        // Chosen from the workspace itself: the file stays.
        f.dlg.files << f.inWork("old.jpg") << chosen;
        f.click("cmd_bgOK");
        QVERIFY(QFile::exists(f.inWork("old.jpg")));
        f.click("cmd_bgOK");
        QCOMPARE(f.text("lbl_bg"), "new.jpg");
        QCOMPARE(f.stored("backGround"), "new.jpg");
        QVERIFY(!QFile::exists(f.inWork("old.jpg")));
        QVERIFY(!f.child<QLabel>("img_bg")->pixmap().isNull());

        f.dlg.answers << MsgAnswer::Cancel << MsgAnswer::Ok;
        f.click("cmd_bgCancel");
        QVERIFY(f.dlg.lastIs("确实要取消背景图片吗？", "提示", MsgIcon::Question));
        QCOMPARE(f.stored("backGround"), "new.jpg");
        f.click("cmd_bgCancel");
        QCOMPARE(f.stored("backGround"), "");
        QVERIFY(!QFile::exists(f.inWork("new.jpg")));
        QCOMPARE(f.text("lbl_bg"), "");
    }

    void features()
    {
        WindowFixture f;
        f.open({"Javascript=1||04.asp||hi"});
        const QString approval = "此项功能选择后，需要提供商批准后方能生效！";
        const std::pair<const char*, const char*> plainBoxes[] = {
            {"chk_pertain0", "field02"}, {"chk_pertain1", "field03"}, {"chk_pertain5", "field05"}};
        for (const auto& [box, column] : plainBoxes) {
            f.click(box);
            QCOMPARE(f.stored(column), "1");
            QCOMPARE(f.notice(), approval);
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, {}, {});
            QApplication::sendEvent(f.child("Frame7"), &move);
            QCOMPARE(f.notice(), "");
            f.click(box);
            QCOMPARE(f.stored(column), "0");
            QCOMPARE(f.notice(), "");
        }
        // The space bar writes like a click.
        auto* guestbook = f.child<QCheckBox>("chk_pertain4");
        guestbook->setFocus();
        QTest::keyClick(guestbook, Qt::Key_Space);
        QCOMPARE(f.stored("field04"), "1");

        f.dlg.answers << MsgAnswer::Cancel;
        f.click("chk_pertain2");
        QVERIFY(f.dlg.lastIs("若要取消“弹出窗口”功能，单击“取消”按钮；\r\n\r\n"
                             "若要对“弹出窗口”的内容进行编辑修改，请单击“确定”按钮。",
                             "提示", MsgIcon::Information));
        QVERIFY(!f.ticked("chk_pertain2"));
        QCOMPARE(f.stored("adBoard"), "0");

        // OK leads to the editing window; closed without storing, the box shows what the field holds.
        QStringList opened;
        auto closeNextWindow = [&opened] {
            QTimer::singleShot(0, [&opened] {
                if (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    opened << w->metaObject()->className();
                    w->reject();
                }
            });
        };
        closeNextWindow();
        f.click("chk_pertain3"); // unticking asks too
        QVERIFY(f.dlg.last().text.startsWith("若要取消“JavaScript脚本效果”功能"));
        QVERIFY(f.ticked("chk_pertain3"));
        closeNextWindow();
        f.click("chk_pertain2");
        QVERIFY(!f.ticked("chk_pertain2"));
        QCOMPARE(opened, (QStringList{"sltTmplFrm_javaScrpt", "sltTmplFrm_adBoardFrm"}));
        QCOMPARE(f.stored("Javascript"), "1||04.asp||hi");
    }
};

WEBLARK_TEST_MAIN(TestSltTmplFrm)
#include "test_sltTmplFrm.moc"
