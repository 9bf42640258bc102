// Renders the app icon SVG into the PNG sizes of the hicolor icon theme at build time, so the
// repository keeps only the drawing: render_icon <svg> <output dir> <size>...
// writes <output dir>/<size>x<size>/apps/korvane.png for every size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

int fail(const QString& message) {
    QTextStream(stderr) << "render_icon: " << message << '\n';
    return 1;
}

// A square, transparent picture of the whole drawing; a drawing that is not square is centred
// with its aspect kept.
QImage renderSquare(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSizeF drawn = svg.defaultSize();
    drawn.scale(size, size, Qt::KeepAspectRatio);
    const QRectF target((size - drawn.width()) / 2, (size - drawn.height()) / 2, drawn.width(),
                        drawn.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&painter, target);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        return fail(QStringLiteral("usage: render_icon <svg> <output dir> <size>..."));
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid() || svg.defaultSize().isEmpty()) {
        return fail(QStringLiteral("cannot read ") + args[1]);
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            return fail(QStringLiteral("bad size ") + args[i]);
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        if (!QDir().mkpath(dir) || !renderSquare(svg, size).save(dir + "/korvane.png", "PNG")) {
            return fail(QStringLiteral("cannot write ") + dir + "/korvane.png");
        }
    }
    return 0;
}
