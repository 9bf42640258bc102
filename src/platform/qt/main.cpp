#include <QApplication>

#include "platform/qt/main_window.h"

namespace {

// The application: its names place the settings (Helmfirth/Korvane); it runs the one main
// window until that window closes.
class PuzzleApp : public QApplication {
public:
    PuzzleApp(int& argc, char** argv) : QApplication(argc, argv) {
        setOrganizationName(QStringLiteral("Helmfirth"));
        setApplicationName(QStringLiteral("Korvane"));
        setApplicationVersion(QStringLiteral("1.1"));
    }

    int InitInstance() {
        korvane::qt::MainWindow window;
        window.start();
        return exec();
    }
};

} // namespace

int main(int argc, char** argv) {
    PuzzleApp app(argc, argv);
    return app.InitInstance();
}
