#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"

namespace {

// The application: its names place the settings (Helmfirth/Korvane); it runs the one main
// window until that window closes.
class PuzzleApp : public QApplication {
public:
    PuzzleApp(int& argc, char** argv) : QApplication(argc, argv) {
        setOrganizationName(QStringLiteral("Helmfirth"));
        setApplicationName(QStringLiteral("Korvane"));
        setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    }

    int InitInstance() {
        korvane::qt::MainWindow window;
        // For start-up measurements and package checks: end once the first picture is painted.
        if (qEnvironmentVariableIsSet("KORVANE_EXIT_AFTER_FIRST_PAINT")) {
            QObject::connect(&window.view(), &korvane::qt::PuzzleView::firstPainted, this, [] {
                std::puts("first paint");
                std::fflush(stdout);
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            });
        }
        window.start();
        return exec();
    }
};

} // namespace

int main(int argc, char** argv) {
    PuzzleApp app(argc, argv);
    return app.InitInstance();
}
