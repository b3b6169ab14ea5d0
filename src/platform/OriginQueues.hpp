#pragma once
// Requests waiting for a connection, one queue per origin (scheme, host and
// port). A request leaves its queue only when its origin can put it on the
// wire at once: while fewer than `perHost` of the origin's requests are out,
// or, once the origin has answered over a multiplexed connection, while fewer
// than `multiplexed` are. The transfer's time-out therefore counts from the
// wire, not from the wait for a free connection. Origins take turns, so one
// busy service cannot hold up another. Not thread-safe: the network thread
// owns it.
#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace quarra {

template <typename Item>
class OriginQueues {
public:
    OriginQueues(size_t perHost, size_t multiplexed) : perHost_(perHost), multiplexed_(multiplexed) {}

    void push(const std::string& origin, Item item) {
        origins_[origin].waiting.push_back(std::move(item));
        ++waiting_;
    }

    // The next request that can go on the wire now, counted as out; none
    // when every origin with waiting requests is at its limit.
    std::optional<std::pair<std::string, Item>> next() {
        if (origins_.empty()) return std::nullopt;
        // The turn goes round from the origin after the last one served.
        auto from = origins_.upper_bound(lastServed_);
        for (size_t seen = 0; seen < origins_.size(); ++seen, ++from) {
            if (from == origins_.end()) from = origins_.begin();
            Origin& origin = from->second;
            if (origin.waiting.empty() || origin.out >= limit(origin)) continue;
            Item item = std::move(origin.waiting.front());
            origin.waiting.pop_front();
            ++origin.out;
            --waiting_;
            lastServed_ = from->first;
            return std::make_pair(from->first, std::move(item));
        }
        return std::nullopt;
    }

    // A request of `origin` left the wire; `multiplexedAnswer` when it was
    // answered over HTTP/2 or later, which lets the origin take more at once.
    void finished(const std::string& origin, bool multiplexedAnswer) {
        auto found = origins_.find(origin);
        if (found == origins_.end()) return;
        Origin& entry = found->second;
        if (entry.out > 0) --entry.out;
        if (multiplexedAnswer) entry.multiplexes = true;
        // An origin that answered over HTTP/1 keeps the per-host limit; one
        // quiet and empty is forgotten, so the map stays small.
        if (entry.out == 0 && entry.waiting.empty() && !entry.multiplexes) origins_.erase(found);
    }

    // Every waiting request, oldest first per origin; the queues are left empty.
    template <typename Visit>
    void takeAll(Visit&& visit) {
        for (auto& [name, origin] : origins_) {
            for (auto& item : origin.waiting) visit(std::move(item));
            origin.waiting.clear();
        }
        waiting_ = 0;
    }

    size_t waiting() const { return waiting_; }

private:
    struct Origin {
        std::deque<Item> waiting;
        size_t out = 0;
        bool multiplexes = false;
    };
    size_t limit(const Origin& origin) const { return origin.multiplexes ? multiplexed_ : perHost_; }

    const size_t perHost_;
    const size_t multiplexed_;
    std::map<std::string, Origin> origins_;
    std::string lastServed_;
    size_t waiting_ = 0;
};

}  // namespace quarra
