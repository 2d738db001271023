#include "TestFiles.h"
#include "TestMain.h"
#include "TestPage.h"
#include "widgets/WebPane.h"

#include <QTemporaryDir>
#include <QWebEngineView>

// Reads a value out of the live page, for checking what the browser really shows.
static QString evalText(WebPane& pane, const QString& js)
{
    return evalJs(pane.view()->page(), js).toString();
}

class TestWebPane : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString page;

private Q_SLOTS:
    void initTestCase()
    {
        page = dir.filePath(QStringLiteral("页面.htm"));
        writeFile(page, "<html><head><meta charset='utf-8'><script>"
                        "function getID(n){document.formData.currID.value=n;weblark.push('currID',n);}"
                        "</script></head><body><div id='editID'></div><div name='msg'>old</div></body></html>");
    }

    void callsBeforeLoadAreKeptAndValuesArePushed()
    {
        WebPane pane;
        pane.resize(400, 300);
        pane.show();
        QSignalSpy loaded(&pane, &WebPane::loadFinished);
        pane.navigate(page);
        // Given before the page is there: must still arrive.
        const QString list = QStringLiteral("<form name='formData'><input type='hidden' name='currID'>"
                                            "<a id='x' href='#'>A&amp;B &lt;新&gt; \"q\" 'a'</a></form>");
        pane.setInnerHtml(QStringLiteral("editID"), list);
        QVERIFY(loaded.wait(20000) || loaded.count() > 0);
        QVERIFY(loaded.first().first().toBool());
        QCOMPARE(pane.lastInnerHtml(QStringLiteral("editID")), list);
        QTRY_COMPARE_WITH_TIMEOUT(evalText(pane, "document.getElementById('x').textContent"),
                                  QStringLiteral("A&B <新> \"q\" 'a'"), 10000);

        QSignalSpy pushed(&pane, &WebPane::valuePushed);
        pane.callFunction(QStringLiteral("getID"), {12345});
        QTRY_COMPARE_WITH_TIMEOUT(pane.pushedValue(QStringLiteral("currID")), QStringLiteral("12345"), 10000);
        QCOMPARE(evalText(pane, "document.formData.currID.value"), QStringLiteral("12345"));

        // A prepended piece leaves the nodes already shown in place (marked here), not re-parsed.
        QCOMPARE(evalText(pane, "document.getElementsByName('msg')[0].firstChild.mark = 'kept'"),
                 QStringLiteral("kept"));
        pane.prependInnerHtml(QStringLiteral("msg"), QStringLiteral("<b>new</b>"));
        QTRY_COMPARE_WITH_TIMEOUT(evalText(pane, "var m = document.getElementsByName('msg')[0];"
                                                 "m.innerHTML + m.lastChild.mark"),
                                  QStringLiteral("<b>new</b>oldkept"), 10000);
    }
};

WEBLARK_TEST_MAIN(TestWebPane)
#include "test_webpane.moc"
