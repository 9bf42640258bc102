#include "platform/qt/distance_cache.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "platform/qt/store_lock.h"

namespace korvane::qt {

namespace {

constexpr const char* kFileNames[] = {"cube2.kdt", "piracube.kdt", "tetrahedron3.kdt",
                                      "piracube-classes.kdt"};

} // namespace

DistanceCache::DistanceCache(QString folder, std::atomic<std::uint64_t>* scanned)
    : folder_(std::move(folder)), scanned_(scanned) {}

DistanceCache::~DistanceCache() {
    closing_ = true;
    for (Slot& s : slots_) {
        if (s.worker.joinable()) {
            s.worker.join();
        }
    }
}

QString DistanceCache::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/distance";
}

QString DistanceCache::path(TableKind kind) const {
    return folder_ + "/" + kFileNames[static_cast<int>(kind)];
}

std::shared_ptr<const DistanceTable> DistanceCache::table(TableKind kind) {
    const std::lock_guard lock(mutex_);
    start(kind);
    return slots_[static_cast<int>(kind)].table;
}

std::shared_ptr<const DistanceTable> DistanceCache::wait(TableKind kind) {
    std::unique_lock lock(mutex_);
    start(kind);
    Slot& s = slots_[static_cast<int>(kind)];
    ready_.wait(lock, [&s] { return s.table != nullptr; });
    return s.table;
}

void DistanceCache::start(TableKind kind) {
    Slot& s = slots_[static_cast<int>(kind)];
    if (s.worker.joinable()) {
        return;
    }
    s.worker = std::thread([this, kind, &s] {
        std::shared_ptr<const DistanceTable> t = readOrBuild(kind);
        const std::lock_guard lock(mutex_);
        s.table = std::move(t);
        ready_.notify_all();
    });
}

// A file is trusted only when it reads back whole, checksum, kind and version included; anything
// else is built afresh and replaces it in one step. A failed write only costs the next start a
// build.
std::shared_ptr<const DistanceTable> DistanceCache::readOrBuild(TableKind kind) const {
    QFile file(path(kind));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        std::optional<DistanceTable> t = DistanceTable::deserialize(
            kind, std::span(data, static_cast<std::size_t>(bytes.size())));
        if (t) {
            return std::make_shared<const DistanceTable>(std::move(*t));
        }
    }
    std::optional<DistanceTable> done = DistanceTable::build(kind, closing_, scanned_);
    if (!done) {
        return nullptr; // called off: the cache is closing
    }
    auto built = std::make_shared<const DistanceTable>(std::move(*done));
    const std::vector<std::uint8_t> image = built->serialize();
    if (QDir().mkpath(folder_)) {
        saveWhole(path(kind), QByteArray(reinterpret_cast<const char*>(image.data()),
                                         static_cast<qsizetype>(image.size())));
    }
    return built;
}

} // namespace korvane::qt
