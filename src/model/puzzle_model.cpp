#include "model/puzzle_model.h"

#include <algorithm>
#include <bit>
#include <map>
#include <memory>
#include <numeric>

#include "model/puzzle_build.h"
#include "model/turns.h"

namespace korvane {

namespace {

// The five stickers of a Piracube face: the centre and the four corner triangles.
constexpr int kPiraCells[5][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
constexpr int kKeyBits = 5; // one key digit per piece position: piece * 3 + orientation

int typeOf(TableKind kind) {
    switch (kind) {
    case TableKind::Cube2:
        return kCube;
    case TableKind::Tetrahedron3:
        return kTetrahedron;
    default:
        return kPiracube;
    }
}

// Key -> index while a coordinate is numbered: open addressing, grown at half full.
class KeyIndex {
public:
    // The index of k, given fresh (and recorded) when k is new.
    std::uint32_t find(std::uint64_t k, std::uint32_t fresh) {
        if (2 * used_ >= slots_.size()) {
            grow();
        }
        Slot& s = slotOf(k);
        if (s.index == kEmpty) {
            s = {k, fresh};
            ++used_;
        }
        return s.index;
    }

private:
    static constexpr std::uint32_t kEmpty = ~0u;
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t index = kEmpty;
    };
    Slot& slotOf(std::uint64_t k) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = (k * 0x9e3779b97f4a7c15ull) >> 20 & mask;
        while (slots_[i].index != kEmpty && slots_[i].key != k) {
            i = (i + 1) & mask;
        }
        return slots_[i];
    }
    void grow() {
        std::vector<Slot> old(std::max<std::size_t>(1024, 2 * slots_.size()));
        old.swap(slots_);
        for (const Slot& s : old) {
            if (s.index != kEmpty) {
                slotOf(s.key) = s;
            }
        }
    }
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

Perm identity(std::size_t n) {
    Perm p(n);
    std::iota(p.begin(), p.end(), std::uint8_t{0});
    return p;
}

// First a, then b.
Perm compose(const Perm& a, const Perm& b) {
    Perm p(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        p[i] = b[a[i]];
    }
    return p;
}

// The colours of a piece as a set; a colour no face has never matches a piece.
unsigned colourMask(const Stickers& s, const std::vector<int>& group) {
    unsigned mask = 0;
    for (int i : group) {
        mask |= s[i] < kFaces ? 1u << s[i] : 1u << 31;
    }
    return mask;
}

} // namespace

PuzzleModel::PuzzleModel(TableKind k) : kind(k), puzzleType(typeOf(k)) {
    level = kind == TableKind::Cube2 ? 1 : (kind == TableKind::Tetrahedron3 ? 2 : 3);
    listStickersAndMoves();
    readMoves();
    findPieces();
    findRotations();
    chooseFrame();
    addCoordinates();
    combineInner();
}

// The cells a kind's stickers use and every move of the game on it.
void PuzzleModel::listStickersAndMoves() {
    const auto addCell = [this](int f, int a, int b) {
        cellFace.push_back(f);
        cellA.push_back(a);
        cellB.push_back(b);
    };
    if (puzzleType == kPiracube) {
        for (int f = 0; f < kFaces; ++f) {
            for (const auto& c : kPiraCells) {
                addCell(f, c[0], c[1]);
            }
        }
        for (int c = 0; c < kCorners; ++c) {
            moves.push_back(Move::cornerTurn(c, 1));
            moves.push_back(Move::cornerTurn(c, -1));
        }
        return;
    }
    const bool tetra = puzzleType == kTetrahedron;
    for (int f = 0; f < (tetra ? 4 : kFaces); ++f) {
        for (int a = 0; a <= level; ++a) {
            for (int b = 0; b <= (tetra ? 2 * (level - a) : level); ++b) {
                addCell(f, a, b);
            }
        }
    }
    for (int axis = 1; axis <= (tetra ? 4 : 3); ++axis) {
        for (int layer = 0; layer <= level; ++layer) {
            moves.push_back(Move::axisTurn(axis, layer, 1));
            moves.push_back(Move::axisTurn(axis, layer, -1));
        }
    }
}

// Each move's sticker permutation, read off the game's own turns of labelled stickers.
void PuzzleModel::readMoves() {
    auto g = std::make_unique<Puzzle>();
    for (const Move& m : moves) {
        buildPuzzleState(*g, puzzleType, level);
        for (std::size_t i = 0; i < cellFace.size(); ++i) {
            g->stickerColour[cellA[i]][cellB[i]][cellFace[i]] = static_cast<int>(i);
        }
        applyMove(*g, m);
        Perm p(cellFace.size());
        for (std::size_t to = 0; to < p.size(); ++to) {
            p[g->stickerColour[cellA[to]][cellB[to]][cellFace[to]]] = static_cast<std::uint8_t>(to);
        }
        raw.push_back(p);
    }
}

// The piece positions of a size; tips: -1 any, 1 only those a top-layer turn moves (the
// tetrahedron's tips), 0 only the others.
std::vector<int> PuzzleModel::pieceGroups(std::size_t size, int tips) const {
    std::vector<int> out;
    for (std::size_t gi = 0; gi < groups.size(); ++gi) {
        bool tip = false;
        for (std::size_t m = 0; m < moves.size(); ++m) {
            tip |= moves[m].layer == level && raw[m][groups[gi][0]] != groups[gi][0];
        }
        if (groups[gi].size() == size && (tips < 0 || tip == (tips == 1))) {
            out.push_back(static_cast<int>(gi));
        }
    }
    return out;
}

// Where isSolved accepts every orientation, the pieces that fix the frame: a corner at home and
// the right way round on the cube, the four axial centres on the tetrahedron (they only twist).
// A move as the table sees it is then the game's turn followed by the whole turn back.
void PuzzleModel::chooseFrame() {
    switch (kind) {
    case TableKind::Cube2:
        reference = {0};
        referenceOriented = true;
        break;
    case TableKind::Tetrahedron3:
        reference = pieceGroups(3, 0);
        break;
    case TableKind::PiracubeClasses:
        reference = {pieceGroups(3, -1)[0]};
        referenceOriented = true;
        break;
    case TableKind::Piracube:
        break;
    }
    const Stickers solvedColours = solved();
    for (const Perm& p : raw) {
        Perm s = p;
        for (const Perm& r : rotations) {
            const Perm candidate = compose(p, r);
            if (atHome(apply(candidate, solvedColours))) {
                s = candidate;
                break;
            }
        }
        step.push_back(s);
    }
}

// The coordinates are independent: the product of their sizes is the number of positions (the
// tests check it against the counts the turns reach).
void PuzzleModel::addCoordinates() {
    switch (kind) {
    case TableKind::Cube2: {
        std::vector<int> all(groups.size());
        std::iota(all.begin(), all.end(), 0);
        addCoordinate(all, true, false); // 7! corner places
        addCoordinate(all, false, true); // 3^6 twists
        break;
    }
    case TableKind::Tetrahedron3:
        addCoordinate(pieceGroups(2, -1), true, true); // edges: 6!/2 * 2^5
        addCoordinate(pieceGroups(3, 0), false, true); // axial centres: 3^4
        addCoordinate(pieceGroups(3, 1), false, true); // tips: 3^4
        break;
    default:
        addCoordinate(pieceGroups(3, -1), true, true);  // corners
        addCoordinate(pieceGroups(1, -1), true, false); // centres: 6!/2
        break;
    }
}

// The inner part of an index: every coordinate after the first, the last one varying fastest.
void PuzzleModel::combineInner() {
    for (std::size_t c = 1; c < coords.size(); ++c) {
        innerSize *= coords[c].size();
    }
    const std::size_t nm = moves.size();
    innerMove.resize(innerSize * nm);
    for (std::uint64_t i = 0; i < innerSize; ++i) {
        for (std::size_t m = 0; m < nm; ++m) {
            std::uint64_t rest = i;
            std::uint64_t out = 0;
            std::uint64_t scale = 1;
            for (std::size_t c = coords.size() - 1; c >= 1; --c) {
                const std::uint32_t n = coords[c].size();
                out += coords[c].move[(rest % n) * nm + m] * scale;
                rest /= n;
                scale *= n;
            }
            innerMove[i * nm + m] = static_cast<std::uint32_t>(out);
        }
    }
}

Stickers PuzzleModel::solved() const {
    return Stickers(cellFace.begin(), cellFace.end());
}

Stickers PuzzleModel::read(const Puzzle& g) const {
    Stickers s(cellFace.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const int c = g.stickerColour[cellA[i]][cellB[i]][cellFace[i]];
        s[i] = static_cast<std::uint8_t>(c >= 0 && c < kFaces ? c : 255); // 255: no face's
    }
    return s;
}

Stickers PuzzleModel::apply(const Perm& p, const Stickers& s) {
    Stickers out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        out[p[i]] = s[i];
    }
    return out;
}

// Stickers that every move moves together, or leaves together, make one piece.
void PuzzleModel::findPieces() {
    std::map<std::uint64_t, std::vector<int>> byPattern;
    for (std::size_t i = 0; i < cellFace.size(); ++i) {
        std::uint64_t pattern = 0;
        for (std::size_t m = 0; m < raw.size(); ++m) {
            pattern |= std::uint64_t{raw[m][i] != i} << m;
        }
        byPattern[pattern].push_back(static_cast<int>(i));
    }
    for (auto& [pattern, stickers] : byPattern) {
        groups.push_back(stickers);
    }
    std::sort(groups.begin(), groups.end());
}

// Whole turns: all layers of an axis turned together, or for the Piracube the halves at two
// opposite corners; then every product of them.
void PuzzleModel::findRotations() {
    const Stickers solvedColours = solved();
    const auto wholeTurn = [&](const Perm& p) {
        const Stickers s = apply(p, solvedColours);
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] != s[i - i % (s.size() / (puzzleType == kTetrahedron ? 4 : kFaces))]) {
                return false;
            }
        }
        return p != identity(p.size());
    };
    std::vector<Perm> generators;
    if (puzzleType == kPiracube) {
        for (std::size_t a = 0; a < raw.size(); a += 2) {
            for (std::size_t b = 0; b < raw.size(); ++b) {
                const Perm p = compose(raw[a], raw[b]);
                if (wholeTurn(p)) {
                    generators.push_back(p);
                }
            }
        }
    } else {
        for (std::size_t a = 0; a < moves.size(); a += 2 * (level + 1)) {
            Perm p = identity(cellFace.size());
            for (int layer = 0; layer <= level; ++layer) {
                p = compose(p, raw[a + 2 * layer]);
            }
            generators.push_back(p);
        }
    }
    rotations = {identity(cellFace.size())};
    for (std::size_t i = 0; i < rotations.size(); ++i) {
        for (const Perm& gen : generators) {
            Perm p = compose(rotations[i], gen);
            if (std::find(rotations.begin(), rotations.end(), p) == rotations.end()) {
                rotations.push_back(std::move(p));
            }
        }
    }
}

bool PuzzleModel::atHome(const Stickers& s) const {
    for (int gi : reference) {
        for (int i : groups[gi]) {
            if (referenceOriented ? s[i] != cellFace[i]
                                  : colourMask(s, groups[gi]) != colourMask(solved(), groups[gi])) {
                return false;
            }
        }
    }
    return true;
}

std::optional<Stickers> PuzzleModel::normalized(const Stickers& s) const {
    if (reference.empty()) {
        return s;
    }
    for (const Perm& r : rotations) {
        Stickers t = apply(r, s);
        if (atHome(t)) {
            return t;
        }
    }
    return std::nullopt;
}

std::optional<std::uint64_t> PuzzleModel::key(const Coordinate& c, const Stickers& s) const {
    const Stickers home = solved();
    std::uint64_t k = 0;
    for (std::size_t pos = 0; pos < c.groups.size(); ++pos) {
        const std::vector<int>& group = groups[c.groups[pos]];
        const unsigned mask = colourMask(s, group);
        int piece = -1;
        for (std::size_t j = 0; j < c.groups.size(); ++j) {
            if (colourMask(home, groups[c.groups[j]]) == mask) {
                piece = static_cast<int>(j);
            }
        }
        if (piece < 0 || std::popcount(mask) != static_cast<int>(group.size())) {
            return std::nullopt;
        }
        int ori = 0;
        for (std::size_t slot = 0; slot < group.size(); ++slot) {
            ori = s[group[slot]] < s[group[ori]] ? static_cast<int>(slot) : ori;
        }
        const std::uint64_t digit = (c.piece ? piece : 0) * 3 + (c.ori ? ori : 0);
        k |= digit << (kKeyBits * pos);
    }
    return k;
}

// Numbers every value of the coordinate that the moves reach from solved, in the order a
// breadth-first search meets them, and records where each move takes each.
void PuzzleModel::addCoordinate(std::vector<int> gs, bool piece, bool ori) {
    Coordinate c;
    c.groups = std::move(gs);
    c.piece = piece;
    c.ori = ori;
    const std::size_t nm = moves.size();
    // For each move, position and orientation: the digit offset it lands on and the new
    // orientation, (position * 3 + ori) for speed.
    std::vector<int> localOf(groups.size(), -1);
    for (std::size_t pos = 0; pos < c.groups.size(); ++pos) {
        localOf[c.groups[pos]] = static_cast<int>(pos);
    }
    std::vector<int> groupOf(cellFace.size()), slotOf(cellFace.size());
    for (std::size_t gi = 0; gi < groups.size(); ++gi) {
        for (std::size_t slot = 0; slot < groups[gi].size(); ++slot) {
            groupOf[groups[gi][slot]] = static_cast<int>(gi);
            slotOf[groups[gi][slot]] = static_cast<int>(slot);
        }
    }
    const std::size_t np = c.groups.size();
    std::vector<std::uint8_t> lands(nm * np * 3);
    for (std::size_t m = 0; m < nm; ++m) {
        for (std::size_t pos = 0; pos < np; ++pos) {
            const std::vector<int>& group = groups[c.groups[pos]];
            for (std::size_t o = 0; o < 3; ++o) {
                const int to = step[m][group[std::min(o, group.size() - 1)]];
                lands[(m * np + pos) * 3 + o] =
                    static_cast<std::uint8_t>(localOf[groupOf[to]] * 3 + (c.ori ? slotOf[to] : 0));
            }
        }
    }
    const auto turnKey = [&](std::uint64_t k, std::size_t m) {
        std::uint64_t out = 0;
        const std::uint8_t* l = &lands[m * np * 3];
        for (std::size_t pos = 0; pos < np; ++pos, k >>= kKeyBits, l += 3) {
            const auto digit = static_cast<unsigned>(k & 31);
            const unsigned to = l[digit % 3];
            out |= std::uint64_t{digit - digit % 3 + to % 3} << (kKeyBits * (to / 3));
        }
        return out;
    };
    std::vector<std::uint64_t> keys{*key(c, solved())};
    KeyIndex indexOf;
    indexOf.find(keys[0], 0);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t m = 0; m < nm; ++m) {
            const std::uint64_t k = turnKey(keys[i], m);
            const std::uint32_t index = indexOf.find(k, static_cast<std::uint32_t>(keys.size()));
            if (index == keys.size()) {
                keys.push_back(k);
            }
            c.move.push_back(index);
        }
    }
    std::vector<std::uint32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return keys[a] < keys[b]; });
    for (std::uint32_t i : order) {
        c.sortedKeys.push_back(keys[i]);
        c.indexOfSorted.push_back(i);
    }
    coords.push_back(std::move(c));
}

std::optional<std::uint64_t> PuzzleModel::index(const Stickers& s) const {
    std::uint64_t x = 0;
    for (const Coordinate& c : coords) {
        const std::optional<std::uint64_t> k = key(c, s);
        if (!k) {
            return std::nullopt;
        }
        const auto it = std::lower_bound(c.sortedKeys.begin(), c.sortedKeys.end(), *k);
        if (it == c.sortedKeys.end() || *it != *k) {
            return std::nullopt;
        }
        x = x * c.size() + c.indexOfSorted[it - c.sortedKeys.begin()];
    }
    return x;
}

} // namespace korvane
