#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>

#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"
#include "platform/qt/quit_signals.h"

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
        // For start-up measurements and package checks: end once the first picture is painted
        // (or only tell of it).
        const bool exitAfterPaint = qEnvironmentVariableIsSet("KORVANE_EXIT_AFTER_FIRST_PAINT");
        if (exitAfterPaint || qEnvironmentVariableIsSet("KORVANE_TELL_FIRST_PAINT")) {
            QObject::connect(&window.view(), &korvane::qt::PuzzleView::firstPainted, this,
                             [exitAfterPaint] {
                                 std::puts("first paint");
                                 std::fflush(stdout);
                                 if (exitAfterPaint) {
                                     QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                                 }
                             });
        }
        // A game in play is kept however the program ends: the window closed (by the window
        // itself), the session ending, or a signal.
        korvane::qt::QuitSignals quitSignals;
        QObject::connect(&quitSignals, &korvane::qt::QuitSignals::quitRequested, this,
                         &QCoreApplication::quit);
        QObject::connect(this, &QCoreApplication::aboutToQuit, &window,
                         [&window] { window.endWithoutClose(); });
        QObject::connect(this, &QGuiApplication::commitDataRequest, &window,
                         [&window](QSessionManager&) { window.keepForSessionEnd(); });
        window.start();
        return exec();
    }
};

} // namespace

int main(int argc, char** argv) {
    PuzzleApp app(argc, argv);
    return app.InitInstance();
}
