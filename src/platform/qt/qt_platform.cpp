#include "platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "app/puzzle_dialog.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/puzzle_view.h"
#include "platform/qt/store_lock.h"

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

// A copy that ends normally has stored its game for the next start: the game is no longer in
// play. One that is killed leaves its name behind, which names a process that is gone.
QtPlatform::~QtPlatform() {
    releaseKeptGame();
}

void QtPlatform::setView(PuzzleView* view) {
    view_ = view;
}

void QtPlatform::addCommandAction(int command, QAction* action) {
    actions_[command] = action;
}

QAction* QtPlatform::commandAction(int command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second.data();
}

void QtPlatform::repaintNow() {
    if (view_) {
        view_->showChanges();
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
    if (shuttingDown_) {
        logLine(text);
        return;
    }
    QMessageBox box(QMessageBox::Information, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, window_);
    box.exec();
}

bool QtPlatform::askYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, window_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::showHighscoreDialog(int table, int newMovesPlace, int newTimePlace) {
    storage_.refresh(); // results other copies entered meanwhile
    runHighscoreDialog(window_, *this, table, newMovesPlace, newTimePlace);
}

QString QtPlatform::dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Helmfirth/Korvane");
}

QString QtPlatform::keptGameFile() {
    return dataFolder() + QStringLiteral("/kept-game.txt");
}

QString QtPlatform::keptGameOwnerFile() {
    return dataFolder() + QStringLiteral("/kept-game.owner");
}

namespace {

QByteArray ownerLine() {
    return QByteArray::number(QCoreApplication::applicationPid()) + ' ' + StoreLock::hostName() +
           " game\n";
}

QByteArray readSmallFile(const QString& name) {
    QFile in(name);
    return in.open(QIODevice::ReadOnly) ? in.read(256) : QByteArray();
}

} // namespace

// Written to a new file that replaces the old one only when complete; the owner's name first,
// so the game is never resumable by another copy while this one plays it.
Platform::StoreResult QtPlatform::storeKeptGame(const std::string& text) {
    const QString file = keptGameFile();
    if (!QDir().mkpath(dataFolder())) {
        return {false, dataFolder().toStdString(), "the folder cannot be made"};
    }
    QString why;
    if (readSmallFile(keptGameOwnerFile()) != ownerLine() &&
        !saveWhole(keptGameOwnerFile(), ownerLine(), &why)) {
        return {false, keptGameOwnerFile().toStdString(), why.toStdString()};
    }
    if (!saveWhole(file, QByteArray::fromStdString(text), &why)) {
        return {false, file.toStdString(), why.toStdString()};
    }
    return {};
}

// A game another running copy is playing is not resumed (nor dropped): it is that copy's.
std::string QtPlatform::loadKeptGame() {
    // Far larger than any kept game: a bigger file is not one.
    constexpr qint64 kMostBytes = 4 << 20;
    QFile in(keptGameFile());
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    if (keptGameInPlayElsewhere()) {
        logLine("Korvane: the kept game is in play in another running copy; not resumed");
        return {};
    }
    if (in.size() > kMostBytes) {
        return "damaged: too large";
    }
    return in.readAll().toStdString();
}

void QtPlatform::dropKeptGame() {
    if (!keptGameInPlayElsewhere()) {
        QFile::remove(keptGameFile());
    }
    releaseKeptGame();
}

bool QtPlatform::keptGameInPlayElsewhere() {
    const QByteArray owner = readSmallFile(keptGameOwnerFile());
    return !owner.isEmpty() && owner != ownerLine() && !StoreLock::holderIsGone(owner);
}

void QtPlatform::releaseKeptGame() {
    if (readSmallFile(keptGameOwnerFile()) == ownerLine()) {
        QFile::remove(keptGameOwnerFile());
    }
}

void QtPlatform::logLine(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

// A settings write that did not reach the file is told once the write is over (never from
// inside the highscore lock).
void QtPlatform::checkSettingsWritten() {
    if (!storage_.lastStoreFailed() || storage_.allStored() || !dialog_) {
        return;
    }
    const std::string where = storage_.fileName().toStdString();
    const std::string why = storage_.lastProblem().isEmpty()
                                ? std::string("the file or its folder cannot be written")
                                : storage_.lastProblem().toStdString();
    QTimer::singleShot(0, window_, [this, where, why] {
        if (dialog_) {
            dialog_->storageFailed("the settings and highscores", where, why);
        }
    });
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
    checkSettingsWritten();
}

std::string QtPlatform::readString(const std::string& section, const std::string& name,
                                   const std::string& def) {
    return storage_.readString(section, name, def);
}

void QtPlatform::writeString(const std::string& section, const std::string& name,
                             const std::string& value) {
    storage_.writeString(section, name, value);
    checkSettingsWritten();
}

void QtPlatform::lockHighscores() {
    storage_.lockHighscores();
}

void QtPlatform::unlockHighscores() {
    storage_.unlockHighscores();
}

std::string QtPlatform::storageProblem() const {
    return storage_.lastProblem().toStdString();
}

std::int64_t QtPlatform::nowSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(steady_clock::now().time_since_epoch()).count();
}

const DistanceTable* QtPlatform::distanceTable(int puzzleType, int level) {
    const std::optional<TableKind> kind = tableKindFor(puzzleType, level);
    if (!kind) {
        return nullptr;
    }
    if (!distances_) {
        distances_ = std::make_unique<DistanceCache>();
    }
    std::shared_ptr<const DistanceTable>& table = handedOut_[static_cast<int>(*kind)];
    if (!table) {
        table = distances_->table(*kind);
    }
    return table.get();
}

std::int64_t QtPlatform::nowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t QtPlatform::utcMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
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
