#include "model/distance_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "model/puzzle_model.h"
#include "model/turns.h"

namespace korvane {

namespace {

constexpr unsigned kUnreached = 3;
constexpr std::uint64_t kEvenBits = 0x5555555555555555ull;
constexpr char kMagic[4] = {'K', 'V', 'D', 'T'};
constexpr int kLongestWalk = 64; // far above any table's greatest distance

// The bits (one per 2-bit field, at the field's low bit) of the fields of w equal to v.
std::uint64_t fieldsEqual(std::uint64_t w, unsigned v) {
    const std::uint64_t t = w ^ (kEvenBits * v);
    return ~(t | (t >> 1)) & kEvenBits;
}

// FNV-1a, 64 bits.
std::uint64_t checksum(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes) {
        h = (h ^ b) * 0x100000001b3ull;
    }
    return h;
}

void putWord(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// Reads little-endian words from an image, remembering whether it ran past the end.
struct Reader {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
    bool ok = true;
    std::uint64_t word(int n) {
        if (bytes.size() - pos < static_cast<std::size_t>(n)) {
            ok = false;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i) {
            v |= std::uint64_t{bytes[pos++]} << (8 * i);
        }
        return v;
    }
};

} // namespace

std::optional<TableKind> tableKindFor(int puzzleType, int level) {
    if (puzzleType == kCube && level == 1) {
        return TableKind::Cube2;
    }
    if (puzzleType == kTetrahedron && level == 2) {
        return TableKind::Tetrahedron3;
    }
    if (puzzleType == kPiracube) {
        return TableKind::Piracube;
    }
    return std::nullopt;
}

DistanceTable::DistanceTable(TableKind kind)
    : kind_(kind), model_(std::make_unique<PuzzleModel>(kind)) {}
DistanceTable::DistanceTable(DistanceTable&&) noexcept = default;
DistanceTable& DistanceTable::operator=(DistanceTable&&) noexcept = default;
DistanceTable::~DistanceTable() = default;

std::uint64_t DistanceTable::positions() const {
    return model_->positions();
}

unsigned DistanceTable::code(std::uint64_t x) const {
    return (codes_[x >> 2] >> ((x & 3) * 2)) & 3;
}

// Level by level from solved (index 0). While the frontier is small each of its positions sends
// its neighbours the next residue; once it is large, each unreached position looks for a
// neighbour in the frontier instead, which needs no list of the frontier: a position with the
// frontier's residue but three levels older has no unreached neighbours left.
class DistanceTable::Search {
public:
    Search(const PuzzleModel& pm, std::vector<std::uint8_t>& codes, const std::atomic<bool>* cancel,
           std::atomic<std::uint64_t>* scanned)
        : pm_(pm), codes_(codes.data()), bytes_(codes.size()), n_(pm.positions()),
          inner_(static_cast<std::uint32_t>(pm.innerSize)), nm_(pm.moveCount()),
          rest_(pm.coords.size() > 1 ? pm.coords.back().size() : 1), cancel_(cancel),
          scanned_(scanned) {}

    // Reaches the positions at distance d + 1; returns how many there are, and how many of them
    // have the last coordinate at rest. Nothing when cancelled on the way.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> level(unsigned d, bool pull) {
        constexpr std::size_t kStrideWords = kCancelStride / 32;
        const unsigned cur = d % 3;
        const unsigned next = (d + 1) % 3;
        found_ = foundAtRest_ = 0;
        for (std::size_t w = 0; w < (n_ + 31) / 32; ++w) {
            if (w % kStrideWords == 0 && !goOn()) {
                return std::nullopt;
            }
            std::uint64_t word = 0;
            std::memcpy(&word, codes_ + 8 * w, std::min<std::size_t>(8, bytes_ - 8 * w));
            for (std::uint64_t bits = fieldsEqual(word, pull ? kUnreached : cur); bits != 0;
                 bits &= bits - 1) {
                const std::uint64_t x = 32 * w + std::countr_zero(bits) / 2;
                if (x >= n_) {
                    break;
                }
                pull ? pullInto(x, cur, next) : pushFrom(x, next);
            }
        }
        return std::pair(found_, foundAtRest_);
    }

private:
    bool goOn() {
        if (scanned_ != nullptr) {
            scanned_->fetch_add(kCancelStride, std::memory_order_relaxed);
        }
        return cancel_ == nullptr || !cancel_->load(std::memory_order_relaxed);
    }
    unsigned get(std::uint64_t x) const { return (codes_[x >> 2] >> ((x & 3) * 2)) & 3u; }
    void reach(std::uint64_t x, unsigned v) {
        codes_[x >> 2] ^= static_cast<std::uint8_t>((kUnreached ^ v) << ((x & 3) * 2));
        ++found_;
        foundAtRest_ += x % rest_ == 0;
    }
    // The neighbours of x are outer[m] * inner + inner[m].
    std::pair<const std::uint32_t*, const std::uint32_t*> rows(std::uint64_t x) const {
        const auto a = static_cast<std::uint32_t>(x / inner_);
        const auto i = static_cast<std::uint32_t>(x - std::uint64_t{a} * inner_);
        return {pm_.coords[0].move.data() + std::size_t{a} * nm_,
                pm_.innerMove.data() + std::size_t{i} * nm_};
    }
    void pushFrom(std::uint64_t x, unsigned next) {
        const auto [outer, inner] = rows(x);
        for (int m = 0; m < nm_; ++m) {
            const std::uint64_t y = std::uint64_t{outer[m]} * inner_ + inner[m];
            if (get(y) == kUnreached) {
                reach(y, next);
            }
        }
    }
    void pullInto(std::uint64_t x, unsigned cur, unsigned next) {
        const auto [outer, inner] = rows(x);
        for (int m = 0; m < nm_; ++m) {
            if (get(std::uint64_t{outer[m]} * inner_ + inner[m]) == cur) {
                reach(x, next);
                return;
            }
        }
    }

    const PuzzleModel& pm_;
    std::uint8_t* codes_;
    std::size_t bytes_;
    std::uint64_t n_;
    std::uint32_t inner_;
    int nm_;
    std::uint64_t rest_;
    std::uint64_t found_ = 0;
    std::uint64_t foundAtRest_ = 0;
    const std::atomic<bool>* cancel_;
    std::atomic<std::uint64_t>* scanned_;
};

DistanceTable DistanceTable::build(TableKind kind) {
    const std::atomic<bool> never{false};
    return *build(kind, never);
}

std::optional<DistanceTable> DistanceTable::build(TableKind kind, const std::atomic<bool>& cancel,
                                                  std::atomic<std::uint64_t>* scanned) {
    DistanceTable t(kind);
    const std::uint64_t n = t.positions();
    t.codes_.assign((n + 3) / 4, 0xff);
    t.codes_[0] ^= kUnreached; // solved, at distance 0
    t.histogram_ = {1};
    t.restHistogram_ = {1};
    Search search(*t.model_, t.codes_, &cancel, scanned);
    for (std::uint64_t unreached = n - 1; unreached > 0;) {
        const unsigned d = static_cast<unsigned>(t.histogram_.size() - 1);
        const auto reached = search.level(d, t.histogram_[d] * 4 > unreached);
        if (!reached) {
            return std::nullopt;
        }
        const auto [found, atRest] = *reached;
        if (found == 0) {
            break;
        }
        t.histogram_.push_back(found);
        t.restHistogram_.push_back(atRest);
        unreached -= found;
    }
    return t;
}

int DistanceTable::distanceAtIndex(std::uint64_t x) const {
    return walk(x, nullptr);
}

// Down to solved, one neighbour with the previous residue per move. With stickers, they are
// turned along and must come out solved: the index reads only which piece sits where and which
// way round, so a piece with two stickers swapped (a mirror image) would otherwise pass.
int DistanceTable::walk(std::uint64_t x, Stickers* s) const {
    unsigned c = code(x);
    if (c == kUnreached) {
        return -1;
    }
    int d = 0;
    for (; x != 0; ++d) {
        const unsigned want = (c + 2) % 3;
        int m = 0;
        while (m < model_->moveCount() && code(model_->neighbour(x, m)) != want) {
            ++m;
        }
        if (m == model_->moveCount() || d == kLongestWalk) {
            return -1;
        }
        x = model_->neighbour(x, m);
        c = want;
        if (s != nullptr) {
            *s = PuzzleModel::apply(model_->step[m], *s);
        }
    }
    return s == nullptr || *s == model_->solved() ? d : -1;
}

int DistanceTable::distanceOfStickers(const std::vector<std::uint8_t>& stickers) const {
    std::optional<Stickers> s = model_->normalized(stickers);
    const std::optional<std::uint64_t> x = s ? model_->index(*s) : std::nullopt;
    return x ? walk(*x, &*s) : -1;
}

int DistanceTable::distance(const Puzzle& g) const {
    if (g.puzzleType != model_->puzzleType || sizeLevel(g) != model_->level) {
        return -1;
    }
    return distanceOfStickers(model_->read(g));
}

std::optional<Move> DistanceTable::bestMove(const Puzzle& g) const {
    if (distance(g) <= 0) {
        return std::nullopt;
    }
    const Stickers now = model_->read(g);
    const unsigned want = (code(*model_->index(*model_->normalized(now))) + 2) % 3;
    for (int m = 0; m < model_->moveCount(); ++m) {
        const Stickers s = *model_->normalized(PuzzleModel::apply(model_->raw[m], now));
        if (code(*model_->index(s)) == want) {
            return model_->moves[m];
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> DistanceTable::serialize() const {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    putWord(out, kDistanceTableVersion, 4);
    putWord(out, static_cast<std::uint64_t>(kind_), 4);
    putWord(out, positions(), 8);
    putWord(out, histogram_.size(), 4);
    for (const auto* h : {&histogram_, &restHistogram_}) {
        for (std::uint64_t v : *h) {
            putWord(out, v, 8);
        }
    }
    out.insert(out.end(), codes_.begin(), codes_.end());
    putWord(out, checksum(out), 8);
    return out;
}

std::optional<DistanceTable> DistanceTable::deserialize(TableKind kind,
                                                        std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8 + 4 || std::memcmp(bytes.data(), kMagic, 4) != 0 ||
        checksum(bytes.first(bytes.size() - 8)) != Reader{bytes, bytes.size() - 8}.word(8)) {
        return std::nullopt;
    }
    Reader r{bytes.first(bytes.size() - 8), 4};
    if (r.word(4) != kDistanceTableVersion || r.word(4) != static_cast<std::uint64_t>(kind)) {
        return std::nullopt;
    }
    DistanceTable t(kind);
    const std::uint64_t n = r.word(8);
    const std::uint64_t depths = r.word(4);
    if (!r.ok || n != t.positions() || depths == 0 || depths > kLongestWalk) {
        return std::nullopt;
    }
    for (auto* h : {&t.histogram_, &t.restHistogram_}) {
        for (std::uint64_t i = 0; i < depths; ++i) {
            h->push_back(r.word(8));
        }
    }
    if (!r.ok || r.bytes.size() - r.pos != (n + 3) / 4) {
        return std::nullopt;
    }
    t.codes_.assign(r.bytes.begin() + static_cast<std::ptrdiff_t>(r.pos), r.bytes.end());
    return t;
}

bool belowCompetitionMinimum(const DistanceTable& table, const Puzzle& scrambled) {
    const PuzzleModel& pm = table.model();
    if (table.distance(scrambled) < 0) {
        return false;
    }
    const Stickers s = pm.read(scrambled);
    switch (table.kind()) {
    case TableKind::Cube2:
        return table.distance(scrambled) < 4;
    case TableKind::Tetrahedron3: {
        // The tips put back: the tips coordinate is the last, solved at 0.
        return table.distanceAtIndex(pm.atRest(*pm.index(*pm.normalized(s)))) < 6;
    }
    case TableKind::PiracubeClasses:
        return table.distance(scrambled) < 7;
    case TableKind::Piracube: {
        int best = kLongestWalk;
        for (const Perm& r : pm.rotations) {
            best = std::min(best, table.distanceOfStickers(PuzzleModel::apply(r, s)));
        }
        return best < 7;
    }
    }
    return false;
}

} // namespace korvane
