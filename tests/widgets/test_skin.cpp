#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestMain.h"
#include "core/AppContext.h"
#include "widgets/QtDialogService.h"
#include "widgets/SkinGeometry.h"
#include "widgets/aboutFrm.h"
#include "widgets/cmdBtn.h"
#include "widgets/windowBox.h"
#include "widgets/xp_canvas.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <memory>

using namespace SkinGeometry;
Q_DECLARE_METATYPE(FramePart)
Q_DECLARE_METATYPE(PressAction::Kind)

namespace {

// The about window over the build's staged application directory, which it only reads.
struct About {
    SiteDb db{QStringLiteral("skin_test")};
    RecordingDialogService dlg;
    AppContext ctx{db, dlg};
    QPointer<aboutFrm> frm;
    About()
    {
        ctx.appPath = TestAppDir::stagedAppDir() + QLatin1Char('/');
        frm = new aboutFrm(ctx);
    }
    ~About() { delete frm.data(); }
};

void sendMove(QWidget* w, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

// A hot-tracking control lights up under the pointer and goes back to normal on the
// first tick that finds the pointer away, without any leave event.
template <class Control> void hoverCycle(Control* c, const std::function<int()>& state)
{
    c->move(20, 20);
    const auto pointer = std::make_shared<QPoint>(c->mapToGlobal(QPoint(5, 5)));
    c->cursorPos = [pointer] { return *pointer; };
    QCOMPARE(state(), 0);
    sendMove(c, QPoint(5, 5));
    QCOMPARE(state(), 1);
    QVERIFY(c->Timer1->isActive());
    c->Timer1_Timer();
    QCOMPARE(state(), 1);
    *pointer = c->mapToGlobal(QPoint(c->width() + 2, 5));
    c->Timer1_Timer();
    QCOMPARE(state(), 0);
    QVERIFY(!c->Timer1->isActive());
}

} // namespace

class TestSkin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hitTest_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<FramePart>("part");
        // A 200 x 100 frame: title 28, edges 4, grip 13.
        QTest::newRow("title") << QPoint(100, 10) << FramePart::Title;
        QTest::newRow("title over the left edge") << QPoint(1, 27) << FramePart::Title;
        QTest::newRow("left edge") << QPoint(3, 50) << FramePart::Left;
        QTest::newRow("inside the left edge") << QPoint(4, 50) << FramePart::Client;
        QTest::newRow("right edge") << QPoint(196, 50) << FramePart::Right;
        QTest::newRow("inside the right edge") << QPoint(195, 50) << FramePart::Client;
        QTest::newRow("bottom edge") << QPoint(100, 96) << FramePart::Bottom;
        QTest::newRow("above the bottom edge") << QPoint(100, 95) << FramePart::Client;
        QTest::newRow("grip") << QPoint(190, 90) << FramePart::Grip;
        QTest::newRow("grip's corner pixel") << QPoint(199, 99) << FramePart::Grip;
        QTest::newRow("grip's first pixel") << QPoint(183, 83) << FramePart::Grip;
        QTest::newRow("left of the grip") << QPoint(182, 90) << FramePart::Client;
        QTest::newRow("right edge above the grip") << QPoint(198, 82) << FramePart::Right;
        QTest::newRow("outside right") << QPoint(200, 50) << FramePart::Outside;
        QTest::newRow("outside above") << QPoint(10, -1) << FramePart::Outside;
    }
    void hitTest()
    {
        QFETCH(QPoint, pos);
        QFETCH(FramePart, part);
        QCOMPARE(SkinGeometry::hitTest(QSize(200, 100), pos), part);
    }

    void pressAction_data()
    {
        QTest::addColumn<FramePart>("part");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<PressAction::Kind>("kind");
        QTest::addColumn<int>("edges");
        const int none = 0;
        QTest::newRow("title moves") << FramePart::Title << false << false << PressAction::Move << none;
        QTest::newRow("fixed title still moves") << FramePart::Title << true << false << PressAction::Move << none;
        QTest::newRow("maximised title stays") << FramePart::Title << false << true << PressAction::None << none;
        QTest::newRow("left") << FramePart::Left << false << false << PressAction::Resize << int(Qt::LeftEdge);
        QTest::newRow("right") << FramePart::Right << false << false << PressAction::Resize << int(Qt::RightEdge);
        QTest::newRow("bottom") << FramePart::Bottom << false << false << PressAction::Resize << int(Qt::BottomEdge);
        QTest::newRow("grip") << FramePart::Grip << false << false << PressAction::Resize
                              << int(Qt::RightEdge | Qt::BottomEdge);
        QTest::newRow("fixed grip") << FramePart::Grip << true << false << PressAction::None << none;
        QTest::newRow("maximised grip") << FramePart::Grip << false << true << PressAction::None << none;
        QTest::newRow("client") << FramePart::Client << false << false << PressAction::None << none;
    }
    void pressAction()
    {
        QFETCH(FramePart, part);
        QFETCH(bool, fixed);
        QFETCH(bool, maximised);
        QFETCH(PressAction::Kind, kind);
        QFETCH(int, edges);
        const PressAction a = SkinGeometry::pressAction(part, fixed, maximised);
        QCOMPARE(a.kind, kind);
        QCOMPARE(int(a.edges), edges);
    }

    // The slices tile the target without gap or overlap; the ends keep their width
    // and come from the two ends of the chosen cell.
    void threeSlice_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("width");
        QTest::newRow("wide") << 0 << 80;
        QTest::newRow("third cell") << 2 << 120;
        QTest::newRow("exactly both ends") << 1 << 8;
        QTest::newRow("narrower than the ends") << 4 << 5;
    }
    void threeSlice()
    {
        QFETCH(int, cell);
        QFETCH(int, width);
        const QRect source = stripCell(cell, QSize(55, 22));
        const QRect target(10, 3, width, 30);
        const QList<Slice> slices = SkinGeometry::threeSlice(source, 4, target);
        QVERIFY(!slices.isEmpty());
        int x = target.x();
        for (const Slice& s : slices) {
            QCOMPARE(s.target, QRect(x, target.y(), s.target.width(), target.height()));
            QVERIFY(source.contains(s.source));
            x += s.target.width();
        }
        QCOMPARE(x, target.right() + 1);
        QCOMPARE(slices.first().source.left(), cell * 55);
        QCOMPARE(slices.last().source.right(), cell * 55 + 54);
        QCOMPARE(slices.first().source.width(), slices.first().target.width());
        QCOMPARE(slices.last().source.width(), slices.last().target.width());
        QVERIFY(slices.first().target.width() <= 4);
    }

    // Each timer switches the look within one tick of the activation moving; the close box follows.
    void activeAndInactiveLook()
    {
        About about;
        xp_canvas* canvas = about.frm->canvas;
        QWidget other;
        QWidget* active = about.frm;
        canvas->activeWindow = [&active] { return active; };
        canvas->Timer1->start();
        canvas->Timer2->start();
        canvas->Timer2_Timer();
        QVERIFY(canvas->activeLook());
        QCOMPARE(about.frm->winCloseBtn->cell(), 0);
        QVERIFY(canvas->Timer1->isActive());

        active = &other;
        canvas->Timer1_Timer();
        QVERIFY(!canvas->activeLook());
        QVERIFY(!canvas->Timer1->isActive());
        QCOMPARE(about.frm->winCloseBtn->cell(), 3);
        canvas->Timer2_Timer();
        QVERIFY(!canvas->activeLook());

        canvas->Timer2->start();
        active = about.frm;
        canvas->Timer2_Timer();
        QVERIFY(canvas->activeLook());
        QVERIFY(!canvas->Timer2->isActive());
    }

    void hoverReturnsToNormal()
    {
        QWidget host;
        host.resize(200, 100);
        auto* box = new windowBox(&host);
        hoverCycle(box, [box] { return box->cell(); });
        auto* btn = new cmdBtn(&host);
        hoverCycle(btn, [btn] { return btn->state(); });

        // Pressed, then released away from the button: no click, and it goes back to normal.
        QSignalSpy clicks(btn, &cmdBtn::Click);
        QPoint pointer = btn->mapToGlobal(QPoint(-10, 5));
        btn->cursorPos = [&pointer] { return pointer; };

        QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(btn->state(), 2);
        QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(-10, 5));
        QCOMPARE(btn->state(), 1);
        QVERIFY(btn->Timer1->isActive());
        QCOMPARE(clicks.count(), 0);
        btn->Timer1_Timer();
        QCOMPARE(btn->state(), 0);

        QTest::mouseClick(btn, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
    }

    // A double click on the title maximises a sizable frame and restores it; a Fixed_Single one stays.
    void doubleClickOnTitle()
    {
        for (const bool fixed : {false, true}) {
            const char* row = fixed ? "Fixed_Single" : "sizable";
            QWidget host(nullptr, Qt::Window | Qt::FramelessWindowHint);
            host.resize(300, 200);
            auto* canvas = new xp_canvas(&host);
            canvas->setGeometry(host.rect());
            canvas->setFixedSingle(fixed);
            host.show();
            QVERIFY(QTest::qWaitForWindowExposed(&host));

            QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(150, 10));
            QVERIFY2(host.isMaximized() == !fixed, row);
            QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(150, 10));
            QVERIFY2(!host.isMaximized(), row);
            // A double click below the title never maximises.
            QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(150, 100));
            QVERIFY2(!host.isMaximized(), row);
        }
    }

    // The welcome line, the version right after "Ver", the maker and rights, with empty lines between.
    void aboutText()
    {
        About about;
        const QStringList lines = about.frm->lbl_msg->text().split("\r\n");
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.mid(0, 4), (QStringList{"欢迎使用Weblark自动建站软件", "", "版本号：Ver3.05", ""}));
        QVERIFY(!lines.at(4).isEmpty() && lines.at(5).isEmpty() && !lines.at(6).isEmpty());
        QCOMPARE(about.frm->canvas->caption(), "关于Weblark");
        QCOMPARE(about.frm->cmd_cancel->caption(), "关闭");
    }

    // The program's own dialogs: Escape gives the negative answer of each set of buttons.
    void dialogServiceEscape()
    {
        const std::pair<MsgButtons, MsgAnswer> rows[] = {{MsgButtons::Ok, MsgAnswer::Ok},
                                                         {MsgButtons::OkCancel, MsgAnswer::Cancel},
                                                         {MsgButtons::YesNo, MsgAnswer::No},
                                                         {MsgButtons::YesNoCancel, MsgAnswer::Cancel}};
        QtDialogService service;
        DialogService& dialogs = service;
        for (const auto& [buttons, answer] : rows) {
            QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
            QCOMPARE(dialogs.message("问", "提示", MsgIcon::Question, buttons), answer);
        }
    }

    // A filter "描述|*.a;*.b|..." offers each description with its patterns; cancelling says so.
    void dialogServiceFilters()
    {
        QtDialogService service;
        DialogService& dialogs = service;
        QStringList offered;
        QTimer::singleShot(0, [&offered] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (d) {
                offered = d->nameFilters();
                d->reject();
            }
        });
        const FileChoice c = dialogs.openFile("图像文件(*.jpg;*.gif)|*.jpg;*.gif|网页|*.htm", QDir::tempPath());
        QCOMPARE(offered, (QStringList{"图像文件(*.jpg;*.gif) (*.jpg *.gif)", "网页 (*.htm)"}));
        QVERIFY(c.cancelled && !c.ok());
        QCOMPARE(c.error, DialogService::cancelDescription());
    }

    // The close box and the button each close the window.
    void aboutCloses()
    {
        for (const char* control : {"winCloseBtn", "cmd_cancel"}) {
            About about;
            about.frm->show();
            QVERIFY(QTest::qWaitForWindowExposed(about.frm));
            auto* target = about.frm->findChild<QWidget*>(control);
            QVERIFY2(target, control);
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, 8));
            QTRY_VERIFY2(about.frm.isNull(), control);
        }
    }
};

WEBLARK_TEST_MAIN(TestSkin)
#include "test_skin.moc"
