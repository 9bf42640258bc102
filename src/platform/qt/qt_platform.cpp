#include "platform/qt/qt_platform.h"

#include <QMessageBox>
#include <QString>
#include <chrono>

#include "app/puzzle_dialog.h"
#include "platform/qt/dialogs.h"

namespace korvane::qt {

QtPlatform::QtPlatform(QWidget* window) : window_(window) {
    frameClock_.setTimerType(Qt::PreciseTimer);
    frameClock_.setInterval(frameInterval());
    QObject::connect(&frameClock_, &QTimer::timeout, [this] {
        if (dialog_) {
            dialog_->OnFrameTick();
        }
    });
}

std::chrono::milliseconds QtPlatform::frameInterval() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("KORVANE_FRAME_MS", &ok);
    return std::chrono::milliseconds(ok && ms >= 0 ? ms : kDefaultFrameMs);
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::addCommandAction(int command, QAction* action) {
    actions_[command] = action;
}

QAction* QtPlatform::commandAction(int command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second.data();
}

void QtPlatform::repaintNow() {
    if (view_) {
        view_->repaint();
    }
}

void QtPlatform::startFrameClock() {
    if (!frameClock_.isActive()) {
        frameClock_.start();
    }
}

void QtPlatform::stopFrameClock() {
    frameClock_.stop();
}

void QtPlatform::setTimer(int id, int periodMs) {
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] {
            if (dialog_) {
                dialog_->OnTimer(id);
            }
        });
    }
    timer->start(periodMs);
}

void QtPlatform::killTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
        it->second->stop();
    }
}

bool QtPlatform::timerRunning(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int QtPlatform::timerPeriod(int id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second->interval();
}

void QtPlatform::enableButton(int command, bool enabled) {
    if (QAction* action = commandAction(command)) {
        action->setEnabled(enabled);
    }
}

void QtPlatform::checkMenuItem(int command, bool checked) {
    QAction* action = commandAction(command);
    if (action && action->isCheckable()) {
        action->setChecked(checked);
    }
}

void QtPlatform::messageBox(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Information, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, window_);
    box.exec();
}

void QtPlatform::showHighscoreDialog(int table) {
    runHighscoreDialog(window_, *this, table);
}

void QtPlatform::showAboutBox() {
    runAboutDialog(window_);
}

void QtPlatform::startHelpViewer(const std::string& /*program*/, const std::string& commandLine) {
    // Our own help window stands in for the pocket computer's viewer program.
    openHelpViewer(window_, QString::fromStdString(commandLine));
}

int QtPlatform::readInt(const std::string& section, const std::string& name, int def) {
    return storage_.readInt(section, name, def);
}

void QtPlatform::writeInt(const std::string& section, const std::string& name, int value) {
    storage_.writeInt(section, name, value);
}

std::string QtPlatform::readString(const std::string& section, const std::string& name,
                                   const std::string& def) {
    return storage_.readString(section, name, def);
}

void QtPlatform::writeString(const std::string& section, const std::string& name,
                             const std::string& value) {
    storage_.writeString(section, name, value);
}

void QtPlatform::lockHighscores() {
    storage_.lockHighscores();
}

void QtPlatform::unlockHighscores() {
    storage_.unlockHighscores();
}

std::int64_t QtPlatform::nowSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(steady_clock::now().time_since_epoch()).count();
}

unsigned QtPlatform::randomSeed() {
    using namespace std::chrono;
    // Milliseconds, so two games started within one second still differ.
    return static_cast<unsigned>(
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

void QtPlatform::closeWindow() {
    if (window_) {
        window_->close();
    }
}

} // namespace korvane::qt
