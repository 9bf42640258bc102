#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "app/solve_history.h"

namespace korvane::testing {

// The solve history in memory, in the order the store keeps: by end time, then id.
class MemorySolveHistory : public SolveHistory {
public:
    std::map<std::int64_t, SolveRecord> solves;

    bool record(const SolveRecord& solve) override {
        SolveRecord& stored = solves[nextId_] = solve;
        stored.id = nextId_++;
        return true;
    }
    std::vector<SolveSummary> summaries(PuzzleId puzzle) override {
        std::vector<SolveSummary> out;
        for (const SolveRecord& s : ordered())
            if (s.puzzle == puzzle)
                out.push_back(
                    {s.id, s.endedUtcMs, s.moves, s.seconds, s.undoUsed, s.abandoned, s.par});
        return out;
    }
    std::optional<SolveRecord> find(std::int64_t id) override {
        return solves.contains(id) ? std::optional(solves.at(id)) : std::nullopt;
    }
    bool forEach(const std::function<void(const SolveRecord&)>& visit) override {
        std::ranges::for_each(ordered(), visit);
        return true;
    }
    std::vector<PuzzleId> puzzles() override {
        std::vector<PuzzleId> out;
        for (const auto& [id, s] : solves)
            out.push_back(s.puzzle);
        std::ranges::sort(out, {}, [](PuzzleId p) { return std::pair(p.kind, p.level); });
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }
    bool remove(std::int64_t id) override {
        solves.erase(id);
        return true;
    }
    bool clear(PuzzleId puzzle) override {
        std::erase_if(solves, [&](const auto& entry) { return entry.second.puzzle == puzzle; });
        return true;
    }
    std::string takeNotice() override { return {}; }

private:
    std::vector<SolveRecord> ordered() const {
        std::vector<SolveRecord> out;
        for (const auto& [id, s] : solves)
            out.push_back(s);
        std::ranges::stable_sort(out, {}, &SolveRecord::endedUtcMs);
        return out;
    }
    std::int64_t nextId_ = 1;
};

} // namespace korvane::testing
