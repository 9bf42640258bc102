// The window on a screen of device pixel ratio 1.5: the back buffer follows the device pixels
// and the mouse still reaches the game at the right logical point.
#define QTEST_QPA_MOUSE_HANDLING

#include <QApplication>
#include <QTest>
#include <memory>

#include "qt/window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

class ViewHiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qApp->setQuitOnLastWindowClosed(false);
        clearGameSettings();
        window_ = std::make_unique<MainWindow>();
        window_->start();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QCOMPARE(window_->view().devicePixelRatioF(), 1.5);
        window_->resize(window_->size() - window_->view().size() + QSize(320, 400));
        QTRY_COMPARE(window_->view().size(), QSize(320, 400));
    }
    void cleanupTestCase() { window_.reset(); }

    void backBufferIsAtDeviceResolution() {
        // 480 x 600 device pixels hold a 450 x 600 picture: 1.875 device pixels a logical one.
        const PictureLayout layout = window_->view().pictureLayout();
        QCOMPARE(layout.device, QRect(15, 0, 450, 600));
        QCOMPARE(window_->backBuffer().scale(), 1.875);
        QPoint sticker;
        QVERIFY(firstStickerCentre(window_->dialog().g, 3, sticker));
        const QImage shot = paintView(window_->view());
        QCOMPARE(shot.width(), 480);
        for (QPoint p : {QPoint(5, 310), QPoint(60, 10), sticker}) {
            QCOMPARE(shownAt(shot, window_->view(), p.x(), p.y()),
                     window_->backBuffer().logicalPixel(p.x(), p.y()));
        }
    }

    void dragReachesTheGameInLogicalPixels() {
        const auto expected = spunAboutX(window_->dialog().g, 30, 5);
        dragLogical(window_->view(), QPoint(200, 300), QPoint(200, 270), 5);
        QCOMPARE(window_->dialog().g.lastStylusX, 200);
        QCOMPARE(window_->dialog().g.lastStylusY, 270);
        QVERIFY(sameCorners(window_->dialog().g, *expected));
    }

private:
    std::unique_ptr<MainWindow> window_;
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    ViewHiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_view_hidpi.moc"
