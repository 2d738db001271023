#include "RecordingDialogService.h"
#include "TestMain.h"
#include "app/Translations.h"
#include "widgets/InputHelpers.h"

#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QLineEdit>
#include <QPushButton>

class TestInputs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checkNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("reports");
        QTest::newRow("12a keeps 12") << "12a"
                                      << "12" << 1;
        QTest::newRow("a1 empties in two steps") << "a1"
                                                 << "" << 2;
        QTest::newRow("number untouched") << "-1.5e3"
                                          << "-1.5e3" << 0;
        QTest::newRow("abc") << "abc"
                             << "" << 3;
        QTest::newRow("empty") << ""
                               << "" << 0;
    }
    void checkNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, left);
        QFETCH(int, reports);
        RecordingDialogService dlg;
        QLineEdit box;
        InputHelpers::guardNumeric(&box, dlg);
        box.setText(typed);
        QCOMPARE(box.text(), left);
        QCOMPARE(dlg.shown.size(), reports);
        for (const auto& s : dlg.shown) {
            QCOMPARE(s.text, QStringLiteral("请输入数字！"));
            QCOMPARE(s.title, QStringLiteral("提示"));
            QCOMPARE(s.icon, MsgIcon::Information);
        }
    }

    void pickColor()
    {
        RecordingDialogService dlg;
        dlg.colors.enqueue(QColor(0, 0, 255));
        dlg.colors.enqueue(QColor(Qt::black));
        dlg.colors.enqueue(std::nullopt);
        QCOMPARE(InputHelpers::pickColor(dlg), QStringLiteral("#0000FF"));
        QCOMPARE(InputHelpers::pickColor(dlg), QStringLiteral("#000000"));
        QVERIFY(dlg.shown.isEmpty());
        QCOMPARE(InputHelpers::pickColor(dlg), QStringLiteral("#000000"));
        QCOMPARE(dlg.shown.size(), 1);
        QVERIFY(dlg.lastIs(DialogService::cancelDescription(), "提示", MsgIcon::Critical));
    }

    void browseForFolder()
    {
        RecordingDialogService dlg;
        dlg.folders.enqueue(QStringLiteral("/srv/网站/模板"));
        QCOMPARE(InputHelpers::browseForFolder(dlg, "选择", "/srv"), QStringLiteral("/srv/网站/模板"));
        QCOMPARE(InputHelpers::browseForFolder(dlg, "选择", "/srv"), QString());
    }

    // Qt's own texts (standard buttons, file dialogs, context menus) are Chinese.
    void qtTextsInChinese()
    {
        QVERIFY(installChineseTranslations(*qApp));
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("保存"));
        QCOMPARE(QLocale().toString(QDate(2024, 1, 5), QStringLiteral("MMMM")), QStringLiteral("一月"));
        QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("文件夹"));
    }
};

WEBLARK_TEST_MAIN(TestInputs)
#include "test_inputs.moc"
