#include "SiteFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "editor/InsertDialogs.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

namespace {

std::unique_ptr<QDialog> make(AppContext& ctx, const QString& kind)
{
    if (kind == "img")
        return std::make_unique<dlgFrm_img>(ctx);
    if (kind == "flash")
        return std::make_unique<dlgFrm_flash>(ctx);
    if (kind == "tbl")
        return std::make_unique<dlgFrm_tbl>(ctx);
    return std::make_unique<dlgFrm_hr>(ctx);
}

} // namespace

class TestInsertDialogs : public QObject {
    Q_OBJECT
    SiteFixture site;
    QTemporaryDir user; // the user's own folder, outside the workspace

private Q_SLOTS:
    void init()
    {
        site.dlg.clear();
        site.dlg.files.clear();
    }

    // OK refuses: a message, no fragment, the dialog stays and nothing enters the workspace.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("row"); // dialog, box, its text, the message
        const QString missing = user.filePath("gone.swf");
        writeFile(user.filePath("影片.swf"), "FWS");
        writeFile(user.filePath("fake.jpg"), "not a picture");
        QTest::newRow("picture without a path") << QStringList{"img", "txt_imgPath", "  ", "图片路径不能为空！"};
        QTest::newRow("movie without a path") << QStringList{"flash", "txt_path", "", "路径不能为空！"};
        QTest::newRow("picture that is no picture") << QStringList{
            "img", "txt_imgPath", user.filePath("fake.jpg"), "所选择的文件不是完整的图片，无法读取，请选择其它图片！"};
        QTest::newRow("missing movie") << QStringList{"flash", "txt_path", missing,
                                                      QStringLiteral("文件“%1”不存在或无法读取。").arg(missing)};
        QTest::newRow("movie with a Chinese name") << QStringList{"flash", "txt_path", user.filePath("影片.swf"),
                                                                  "所选择的文件名中不能包含中文，请重命名后选择文件！"};
        QTest::newRow("table too large") << QStringList{"tbl", "txt_col", "201", "行数和列数都不能超过200！"};
    }
    void refusals()
    {
        QFETCH(QStringList, row);
        const QStringList before = QDir(site.app.workPath()).entryList(QDir::Files);
        auto d = make(site.ctx, row[0]);
        d->show();
        QSignalSpy fragments(d.get(), SIGNAL(fragmentReady(QString)));
        ctl<QLineEdit>(*d, row[1])->setText(row[2]);
        QTest::mouseClick(ctl<QPushButton>(*d, "OKButton"), Qt::LeftButton);
        QCOMPARE(site.dlg.last().text, row[3]);
        QCOMPARE(fragments.count(), 0);
        QVERIFY(d->isVisible());
        QCOMPARE(QDir(site.app.workPath()).entryList(QDir::Files), before);
    }

    // The numeric boxes of every dialog drop a letter with "请输入数字！".
    void numericBoxes()
    {
        const std::pair<const char*, const char*> boxes[] = {{"img", "txt_border"}, {"hr", "txt_width"}};
        for (const auto& [kind, name] : boxes) {
            site.dlg.clear();
            auto d = make(site.ctx, kind);
            d->show();
            auto* b = ctl<QLineEdit>(*d, name);
            b->clear();
            QTest::keyClicks(b, "7x");
            QCOMPARE(b->text(), QStringLiteral("7"));
            QCOMPARE(site.dlg.texts(), QStringList{"请输入数字！"});
        }
    }
};

WEBLARK_TEST_MAIN(TestInsertDialogs)
#include "test_insert_dialogs.moc"
