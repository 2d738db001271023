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
    // What is left of a typed text, and how many times the user is told.
    void checkNumber()
    {
        const std::tuple<const char*, const char*, int> cases[] = {
            {"12a", "12", 1}, {"a1", "", 2}, {"-1.5e3", "-1.5e3", 0}, {"abc", "", 3}, {"", "", 0}};
        for (const auto& [typed, left, reports] : cases) {
            RecordingDialogService dlg;
            QLineEdit box;
            InputHelpers::guardNumeric(&box, dlg);
            box.setText(typed);
            QCOMPARE(box.text(), QString::fromLatin1(left));
            QCOMPARE(dlg.texts(), QStringList(reports, QStringLiteral("请输入数字！")));
            QVERIFY(!reports || dlg.lastIs("请输入数字！", "提示", MsgIcon::Information));
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
