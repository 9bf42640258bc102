#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "app/solve_history.h"

namespace korvane::testing {

// The solve history in memory, in the order the store keeps: by end time, then id. Setting
// failing makes every change fail with a notice, as a full disk would.
class MemorySolveHistory : public SolveHistory {
public:
    std::map<std::int64_t, SolveRecord> solves;
    bool failing = false;
    std::string notice;

    bool record(const SolveRecord& solve) override {
        if (fail()) {
            return false;
        }
        SolveRecord stored = solve;
        stored.id = nextId_++;
        solves[stored.id] = stored;
        return true;
    }
    std::vector<SolveSummary> summaries(PuzzleId puzzle) override {
        std::vector<SolveSummary> out;
        for (const SolveRecord& s : ordered()) {
            if (s.puzzle == puzzle) {
                out.push_back({s.id, s.endedUtcMs, s.moves, s.seconds, s.undoUsed, s.abandoned});
            }
        }
        return out;
    }
    std::optional<SolveRecord> find(std::int64_t id) override {
        const auto it = solves.find(id);
        return it == solves.end() ? std::nullopt : std::optional(it->second);
    }
    bool forEach(const std::function<void(const SolveRecord&)>& visit) override {
        for (const SolveRecord& s : ordered()) {
            visit(s);
        }
        return true;
    }
    std::vector<PuzzleId> puzzles() override {
        std::map<std::pair<int, int>, PuzzleId> found;
        for (const auto& [id, s] : solves) {
            found[{s.puzzle.kind, s.puzzle.level}] = s.puzzle;
        }
        std::vector<PuzzleId> out;
        for (const auto& [key, puzzle] : found) {
            out.push_back(puzzle);
        }
        return out;
    }
    bool remove(std::int64_t id) override {
        if (fail()) {
            return false;
        }
        solves.erase(id);
        return true;
    }
    bool clear(PuzzleId puzzle) override {
        if (fail()) {
            return false;
        }
        std::erase_if(solves, [&](const auto& entry) { return entry.second.puzzle == puzzle; });
        return true;
    }
    std::string takeNotice() override { return std::exchange(notice, {}); }

private:
    bool fail() {
        if (failing) {
            notice = "The solve history could not be written.";
        }
        return failing;
    }
    std::vector<SolveRecord> ordered() const {
        std::vector<SolveRecord> out;
        for (const auto& [id, s] : solves) {
            out.push_back(s);
        }
        std::stable_sort(out.begin(), out.end(), [](const SolveRecord& a, const SolveRecord& b) {
            return a.endedUtcMs < b.endedUtcMs;
        });
        return out;
    }
    std::int64_t nextId_ = 1;
};

} // namespace korvane::testing
