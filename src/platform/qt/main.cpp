#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "platform/qt/history_cli.h"
#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"
#include "platform/qt/sql_solve_history.h"

namespace {

// The names that place the settings and the solve history (Helmfirth/Korvane).
void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Helmfirth"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1"));
}

// The application: its names place the settings (Helmfirth/Korvane); it runs the one main
// window until that window closes.
class PuzzleApp : public QApplication {
public:
    PuzzleApp(int& argc, char** argv) : QApplication(argc, argv) { nameApplication(); }

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
    // The history's command lines print and end without a window, so they need no display.
    if (korvane::qt::isHistoryCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        korvane::qt::SqlSolveHistory history;
        return korvane::qt::runHistoryCommand(QCoreApplication::arguments(), history).value_or(2);
    }
    PuzzleApp app(argc, argv);
    return app.InitInstance();
}
