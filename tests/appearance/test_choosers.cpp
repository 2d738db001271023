#include "SiteFixture.h"
#include "TestMain.h"
#include "appearance/NameStyleChooser.h"
#include "appearance/TemplateChooser.h"
#include "appearance/sltTmplFrm_adBoardFrm.h"
#include "appearance/sltTmplFrm_javaScrpt.h"
#include "appearance/sltTmplFrm_viewTmpl.h"
#include "appearance/tmpl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using Kind = TemplateChooser::Kind;
Q_DECLARE_METATYPE(Kind)

struct AppearanceFixture : SiteFixture {
    // Seven templates in a category of their own; the one named with an apostrophe has no picture.
    void addCategory(const QString& table)
    {
        for (int i = 1; i <= 7; ++i) {
            const QString name =
                i == 6 ? QStringLiteral("T'006.png") : QStringLiteral("T%1.png").arg(i, 4, 10, QChar('0'));
            if (i != 6)
                QFile::copy(app.file("template/D0101.png"), app.file("template/" + name));
            db.run(QStringLiteral("INSERT INTO %1 (tmplType, tmplName) VALUES (?, ?)").arg(table),
                   {QStringLiteral("甲'类"), name});
        }
    }
};

class TestChoosers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void templateChosen_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("click");    // thumbnail clicked on its picture, -1 for none
        QTest::addColumn<int>("option");   // thumbnail clicked on its option button, -1 for none
        QTest::addColumn<int>("dblClick"); // thumbnail double-clicked instead of OK, -1 for OK
        QTest::addColumn<QString>("value");
        QTest::newRow("home: first one as selected on load") << Kind::Home << -1 << -1 << -1 << "T0001.png";
        QTest::newRow("home: apostrophe in the name") << Kind::Home << 5 << -1 << -1 << "T'006.png";
        QTest::newRow("inner: option button") << Kind::Inner << -1 << 2 << -1 << "T0003.png";
        QTest::newRow("inner: double click") << Kind::Inner << 1 << -1 << 6 << "T0007.png";
    }
    void templateChosen()
    {
        QFETCH(Kind, kind);
        QFETCH(int, click);
        QFETCH(int, option);
        QFETCH(int, dblClick);
        QFETCH(QString, value);
        AppearanceFixture f;
        const QString column = TemplateChooser::tableOf(kind);
        f.addCategory(column);
        TemplateChooser chooser(f.ctx, kind);
        chooser.show();
        auto* types = ctl<QListWidget>(&chooser, "lst_type");
        QVERIFY(types->count() > 1);
        QCOMPARE(types->currentRow(), 0);
        const auto found = types->findItems(QStringLiteral("甲'类"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        types->setCurrentItem(found.first());

        const QList<tmpl*> thumbs = chooser.thumbnails();
        QCOMPARE(thumbs.size(), 7);
        QCOMPARE(ctl<QRadioButton>(thumbs.at(5), "optTmpl")->text(), QStringLiteral("T'006"));
        QCOMPARE(chooser.selectedValue(), QStringLiteral("T0001.png"));

        // The pictures load as their rows scroll into view; the one without a file shows none.
        const QPoint firstRow = thumbs.at(0)->pos();
        chooser.grab();
        QVERIFY(thumbs.at(0)->hasPicture());
        auto* bar = ctl<QScrollBar>(&chooser, "scrlVer");
        QVERIFY(bar->maximum() >= 1680);
        bar->setValue(1680);
        QCOMPARE(thumbs.at(3)->pos(), firstRow);
        bar->setValue(bar->maximum());
        chooser.grab();
        QVERIFY(thumbs.at(6)->hasPicture());
        QVERIFY(!thumbs.at(5)->hasPicture());
        bar->setValue(0);

        if (click >= 0)
            QTest::mouseClick(thumbs.at(click), Qt::LeftButton, {}, QPoint(20, 20));
        if (option >= 0)
            QTest::mouseClick(ctl<QRadioButton>(thumbs.at(option), "optTmpl"), Qt::LeftButton, {}, QPoint(5, 8));
        if (dblClick >= 0)
            QTest::mouseDClick(thumbs.at(dblClick), Qt::LeftButton, {}, QPoint(20, 20));
        else
            QTest::mouseClick(ctl<QPushButton>(&chooser, "OKButton"), Qt::LeftButton);

        int ticked = 0;
        for (tmpl* t : thumbs)
            ticked += t->selected() + ctl<QRadioButton>(t, "optTmpl")->isChecked();
        QCOMPARE(ticked, 2);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(chooser.chosenValue(), value);
        QCOMPARE(f.stored(column), value);
        QCOMPARE(f.dlg.shown.size(), 0);
    }

    void templateWithoutSelection()
    {
        AppearanceFixture f;
        f.db.run("DELETE FROM headTmpl");
        TemplateChooser chooser(f.ctx, Kind::Inner);
        QTest::mouseClick(ctl<QPushButton>(&chooser, "OKButton"), Qt::LeftButton);
        QVERIFY(f.dlg.lastIs("请选择其中一种模板！", "提示", MsgIcon::Information));
        QCOMPARE(chooser.result(), int(QDialog::Rejected));
        QCOMPARE(f.stored("headTmpl"), QString());
    }

    void previewPage()
    {
        AppearanceFixture f;
        sltTmplFrm_viewTmpl view(f.ctx, "D0101x.png");
        view.Timer1_Timer();
        QCOMPARE(view.pageHtml(), QString());
        view.Timer1_Timer();
        QVERIFY(view.pageHtml().contains(QUrl::fromLocalFile(f.app.appPath() + "template/D0101.jpg").toString()));
    }

    // The home style is confirmed with OK, the inner one with a double click.
    void nameStyle()
    {
        for (const bool inner : {false, true}) {
            AppearanceFixture f;
            f.db.run("INSERT INTO font (font) VALUES ('it''s.png')");
            NameStyleChooser chooser(f.ctx, inner ? NameStyleChooser::Kind::Inner : NameStyleChooser::Kind::Home);
            chooser.show();
            const QList<QLabel*> images = chooser.images();
            QVERIFY(images.at(1)->y() > images.at(0)->y() + images.at(0)->height());

            QTest::mouseClick(ctl<QPushButton>(&chooser, "OKButton"), Qt::LeftButton);
            QVERIFY(f.dlg.lastIs("请选择一种字体！", "提示", MsgIcon::Information));
            QCOMPARE(chooser.result(), int(QDialog::Rejected));

            QTest::mouseClick(images.at(1), Qt::LeftButton);
            if (inner)
                QTest::mouseDClick(images.last(), Qt::LeftButton);
            else {
                QTest::mouseClick(images.last(), Qt::LeftButton);
                QCOMPARE(images.at(1)->frameShape(), QFrame::NoFrame);
                QTest::mouseClick(ctl<QPushButton>(&chooser, "OKButton"), Qt::LeftButton);
            }
            QCOMPARE(images.last()->frameShape(), QFrame::Box);
            QCOMPARE(chooser.result(), int(QDialog::Accepted));
            QCOMPARE(chooser.chosenFont(), QStringLiteral("it's.png"));
            QCOMPARE(f.stored(inner ? "headFont" : "defaultFont"), QStringLiteral("it's.png"));
            QCOMPARE(f.dlg.shown.size(), 1);
        }
    }

    void adBoardDefaultsAndReload()
    {
        AppearanceFixture f;
        {
            sltTmplFrm_adBoardFrm board(f.ctx);
            QTest::mouseClick(ctl<QPushButton>(&board, "cmd_ok"), Qt::LeftButton);
            QCOMPARE(board.result(), int(QDialog::Accepted));
        }
        QCOMPARE(f.stored("adBoard"), QStringLiteral("1||300||200||0||0||||"));

        const QString field = "1||640||480||10||20||a&#124;&#124;b's||行一<br>it&#39;s&nbsp;x";
        f.db.updateUserInfo("adBoard", field);
        sltTmplFrm_adBoardFrm board(f.ctx);
        QStringList shown;
        for (const char* name : {"txt_width", "txt_height", "txt_top", "txt_left", "txt_title"})
            shown << ctl<QLineEdit>(&board, name)->text();
        shown << ctl<QPlainTextEdit>(&board, "txt_content")->toPlainText();
        QCOMPARE(shown, QStringList({"640", "480", "10", "20", "a||b's", "行一\nit's x"}));
        f.db.updateUserInfo("adBoard", "0");
        QTest::mouseClick(ctl<QPushButton>(&board, "cmd_ok"), Qt::LeftButton);
        QCOMPARE(f.stored("adBoard"), field);
        QCOMPARE(f.dlg.shown.size(), 0);

        // The number boxes take digits only.
        for (const char* name : {"txt_width", "txt_height", "txt_top", "txt_left"}) {
            f.dlg.clear();
            ctl<QLineEdit>(&board, name)->clear();
            QTest::keyClicks(ctl<QLineEdit>(&board, name), "1x");
            QCOMPARE(ctl<QLineEdit>(&board, name)->text(), QStringLiteral("1"));
            QVERIFY(f.dlg.lastIs("请输入数字！", "提示", MsgIcon::Information));
        }
    }

    void script_data()
    {
        QTest::addColumn<QVariant>("field");
        QTest::addColumn<int>("loadedIndex");
        QTest::addColumn<QString>("loadedText");
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("stored");
        QTest::newRow("null, mouse click effect")
            << QVariant() << 0 << "" << 4 << "欢迎'光临" << true << "1||04.asp||欢迎'光临";
        QTest::newRow("status bar 5 reloaded, clock drops the text")
            << QVariant("1||10.asp||旧&#124;文字") << 10 << "旧|文字" << 1 << "" << false << "1||01.asp||";
        QTest::newRow("stars reloaded disabled, then 12")
            << QVariant("1||02.asp||") << 2 << "" << 12 << "a||b" << true << "1||12.asp||a&#124;&#124;b";
        QTest::newRow("off, keep the first") << QVariant("0") << 0 << "" << 0 << "x" << true << "1||00.asp||x";
    }
    void script()
    {
        QFETCH(QVariant, field);
        QFETCH(int, loadedIndex);
        QFETCH(QString, loadedText);
        QFETCH(int, pick);
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        QFETCH(QString, stored);
        AppearanceFixture f;
        f.db.updateUserInfo("Javascript", field);
        sltTmplFrm_javaScrpt window(f.ctx);
        auto* list = ctl<QComboBox>(&window, "cmb_javaScript");
        auto* text = ctl<QLineEdit>(&window, "txt_javascript");
        QCOMPARE(list->count(), 13);
        QCOMPARE(list->currentIndex(), loadedIndex);
        QCOMPARE(text->text(), loadedText);
        QCOMPARE(text->isEnabled(), loadedIndex != 1 && loadedIndex != 2);
        list->setCurrentIndex(pick);
        QCOMPARE(text->isEnabled(), enabled);
        if (enabled)
            text->setText(typed);
        QTest::mouseClick(ctl<QPushButton>(&window, "OKButton"), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(f.stored("javascript"), stored);
    }
};

WEBLARK_TEST_MAIN(TestChoosers)
#include "test_choosers.moc"
