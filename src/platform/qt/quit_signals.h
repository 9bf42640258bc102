#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvane::qt {

// SIGTERM, SIGINT and SIGHUP end the program as Exit does, through the event loop: the signal
// handler only writes a byte to a socket pair, whose other end, watched by the event loop, asks
// the application to quit. One per program.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace korvane::qt
