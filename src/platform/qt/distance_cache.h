#pragma once

#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "model/distance_table.h"

namespace korvane::qt {

// The distance tables, kept in the user's cache folder. The first time a puzzle asks for its
// table it is read, or built when the file is missing, damaged or of another version (and then
// written back), on a thread of its own: the window never waits for a table, nor does closing
// it: a build under way is called off and nothing half-built is kept.
class DistanceCache {
public:
    // The folder defaults to "distance" in the application's cache location. `scanned`, when
    // given, counts the positions the builds look at (tests).
    explicit DistanceCache(QString folder = defaultFolder(),
                           std::atomic<std::uint64_t>* scanned = nullptr);
    ~DistanceCache(); // calls off the builds under way and waits for the threads to end
    DistanceCache(const DistanceCache&) = delete;
    DistanceCache& operator=(const DistanceCache&) = delete;

    static QString defaultFolder();
    QString path(TableKind kind) const;

    // The table when it is ready; otherwise nothing, and its read or build starts.
    std::shared_ptr<const DistanceTable> table(TableKind kind);
    // The table, waiting for it if need be (tests and tools).
    std::shared_ptr<const DistanceTable> wait(TableKind kind);

private:
    struct Slot {
        std::thread worker;
        std::shared_ptr<const DistanceTable> table;
    };
    void start(TableKind kind); // with mutex_ held
    std::shared_ptr<const DistanceTable> readOrBuild(TableKind kind) const;

    QString folder_;
    std::atomic<std::uint64_t>* scanned_;
    std::atomic<bool> closing_{false};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::array<Slot, std::size(kTableKinds)> slots_;
};

} // namespace korvane::qt
