// The least a Qt widget can spend on a spin-drag move: a window like the game's default one that
// answers each mouse move by repainting, from a picture already drawn, an area the size of the
// one the game repaints for a move of the Piracube (345 x 332 window pixels), and draws nothing.
// scripts/measure_process.py measures it as it measures the game (it answers the same paint
// count protocol); the difference between the two is what the game's own drawing costs.
// KORVANE_FLOOR_AREA=WxH changes the area; 0x0 takes the mouse moves without painting.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace {

class FloorWindow : public QWidget {
public:
    FloorWindow() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QStringLiteral("Korvane"));
        resize(480, 698);
        picture_.fill(Qt::darkGreen);
        const QStringList size = qEnvironmentVariable("KORVANE_FLOOR_AREA").split(QLatin1Char('x'));
        if (size.size() == 2) {
            area_.setSize(QSize(size[0].toInt(), size[1].toInt()));
        }
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).drawImage(event->rect(), picture_, event->rect());
        ++paints_;
    }
    void mousePressEvent(QMouseEvent*) override { report("press"); }
    void mouseReleaseEvent(QMouseEvent*) override { report("release"); }
    void mouseMoveEvent(QMouseEvent*) override {
        if (area_.isEmpty()) {
            ++paints_; // counted as painted, so that the event delivery alone can be measured
        } else {
            repaint(area_);
        }
    }

private:
    void report(const char* when) const {
        std::printf("paints at %s: %d\n", when, paints_);
        std::fflush(stdout);
    }

    QImage picture_{480, 698, QImage::Format_RGB32};
    QRect area_{68, 150, 345, 332};
    int paints_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FloorWindow window;
    window.show();
    return QApplication::exec();
}
