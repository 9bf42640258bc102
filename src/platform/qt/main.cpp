#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/history_cli.h"
#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"
#include "platform/qt/quit_signals.h"
#include "platform/qt/sql_solve_history.h"

namespace {

// The names that place the settings and the solve history (Helmfirth/Korvane).
void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Helmfirth"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
}

// The application: its names place the settings (Helmfirth/Korvane); it runs the one main
// window until that window closes.
class PuzzleApp : public QApplication {
public:
    PuzzleApp(int& argc, char** argv) : QApplication(argc, argv) { nameApplication(); }

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

// While the application starts, Qt's messages are held back: if no window system can be reached,
// Qt ends the program with several lines and an abort; the player gets one plain line and exit
// status 1 instead. Otherwise the held messages go out as usual.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<HeldMessage> heldMessages;
QtMessageHandler usualHandler = nullptr;

void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs("Korvane: no display could be opened to show the game's window\n", stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldMessages.push_back({type, context.category ? context.category : "", text});
}

void releaseStartMessages() {
    qInstallMessageHandler(usualHandler);
    for (const HeldMessage& held : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        qt_message_output(held.type, context, held.text);
    }
    heldMessages.clear();
}

} // namespace

int main(int argc, char** argv) {
    // The history's command lines print and end without a window, so they need no display.
    if (korvane::qt::isHistoryCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        korvane::qt::SqlSolveHistory history;
        return korvane::qt::runHistoryCommand(QCoreApplication::arguments(), history).value_or(2);
    }
    usualHandler = qInstallMessageHandler(holdStartMessage);
    PuzzleApp app(argc, argv);
    releaseStartMessages();
    return app.InitInstance();
}
