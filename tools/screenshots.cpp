// Renders the real main window offscreen for each puzzle kind and writes the pictures the
// README shows: screenshots <folder>. New games use a fixed seed, so the pictures only change
// when the game's look does.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include "app/commands.h"
#include "platform/qt/main_window.h"

namespace {

struct Shot {
    const char* file;
    int command;
    bool scrambled;
    int background;
};

constexpr Shot kShots[] = {
    {"cube.png", korvane::kCmdCubeLevel1 + 2, true, korvane::kCmdBlack},
    {"tetrahedron.png", korvane::kCmdTetraLevel1 + 2, true, korvane::kCmdBlack},
    {"piracube.png", korvane::kCmdPiracube, true, korvane::kCmdBlack},
    {"sphere.png", korvane::kCmdSphere, false, korvane::kCmdBlack},
    {"cube-white.png", korvane::kCmdCubeLevel4, false, korvane::kCmdWhite},
};

} // namespace

int main(int argc, char** argv) {
    qputenv("KORVANE_FRAME_MS", "0");
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Helmfirth");
    QApplication::setApplicationName("Korvane");
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    folder.mkpath(QStringLiteral("."));
    korvane::qt::MainWindow window;
    window.start();
    // A new shot abandons the game of the last: say yes whenever the game asks.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->done(QMessageBox::Yes);
        }
    });
    answer.start(10);
    int failures = 0;
    for (const Shot& shot : kShots) {
        korvane::PuzzleDialog& dialog = window.dialog();
        dialog.OnCommand(shot.background);
        dialog.OnCommand(shot.command);
        if (shot.scrambled) {
            dialog.setScrambleSeed(1206);
            dialog.OnCommand(korvane::kCmdNewGame);
            while (dialog.busy()) {
                QApplication::processEvents();
            }
        }
        QApplication::processEvents();
        dialog.redraw();
        const QString path = folder.filePath(QString::fromLatin1(shot.file));
        if (!window.grab().save(path)) {
            ++failures;
        }
    }
    window.dialog().OnCommand(korvane::kCmdBlack);
    return failures == 0 ? 0 : 1;
}
