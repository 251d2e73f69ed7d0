// The pace of reading ahead against simulated servers: it finds each
// server's capacity, follows a server that changes during the walk, steps
// back from one that turns requests away, and does not climb while too
// few folders are waiting to fill its level. Simulated time: no sleeping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "walk/read_pace.h"

using namespace zweigschau;

namespace {

// A server as the readers see it: `capacity` requests served at once, each
// in `latency` seconds; beyond the capacity the requests share the server
// and each takes longer in proportion (or, with `refuses`, the request is
// turned away after the same time). `waiting` caps the listings the walk
// has to ask for. A disk tells the pace, as a reader's stopwatch does,
// whether a listing came from the cache or waited on the device.
enum class Disk { No, Cache, Device };
struct Server {
  unsigned capacity;
  double latency;
  bool refuses = false;
  unsigned waiting = 1u << 30;
  Disk disk = Disk::No;
};

// What happened in the last second of a phase.
struct Seen {
  unsigned lowest = ~0u, highest = 0;  // allowed()
  double rate = 0;                     // listings a second
  double refused = 0;                  // share of the requests
};

class Simulation {
 public:
  // `ticked`: the system tells a listing's processor time, not whether it
  // blocked (Windows).
  explicit Simulation(ReadPace pace = ReadPace(4, 4, 128), bool ticked = false) : pace_(pace), ticked_(ticked) {}

  // Runs `server` for `seconds`, watching the last one.
  Seen run(const Server& server, double seconds) {
    Seen seen;
    const double end = now_ + seconds, watch = end - 1;
    unsigned listed = 0, refused = 0;
    while (now_ < end) {
      if (pace_.allowed() == 0 && inFlight_.empty()) {
        // No reader allowed: the walk reads alone, on a quiet machine.
        const bool waits = server.disk == Disk::Device;
        now_ += server.latency;
        idle_ += server.latency * (waits ? 2 : 1);
        blocks_ += waits;
        cpu_ += server.latency * (waits ? 0.02 : 1);
        walked();
        if (now_ >= watch) ++listed, seen.lowest = seen.highest = 0;
        continue;
      }
      while (inFlight_.size() < std::min(pace_.allowed(), server.waiting)) start(server);
      const auto [at, request] = *inFlight_.begin();
      const unsigned count = static_cast<unsigned>(inFlight_.size());
      inFlight_.erase(inFlight_.begin());
      now_ = at;
      pace_.done(now_, count, request.turnedAway, request.cost);
      walked();
      if (now_ < watch) continue;
      (request.turnedAway ? refused : listed) += 1;
      seen.lowest = std::min(seen.lowest, pace_.allowed());
      seen.highest = std::max(seen.highest, pace_.allowed());
    }
    seen.rate = listed;
    seen.refused = listed + refused > 0 ? double(refused) / (listed + refused) : 0;
    return seen;
  }

 private:
  // The walk took one more listing.
  void walked() {
    if (pace_.measuresWalkAt(now_)) pace_.walked(now_, 1, {idle_, ticked_ ? -1 : blocks_, ticked_ ? cpu_ : -1});
    else pace_.walked(now_, 1);
  }

  struct Request {
    bool turnedAway;
    ListingCost cost;
  };

  void start(const Server& server) {
    const double n = static_cast<double>(inFlight_.size() + 1);
    const double over = std::max(1.0, n / server.capacity);
    const double seconds = server.latency * over;
    ListingCost cost;
    if (server.disk != Disk::No && pace_.weighsNext()) {
      const bool waits = server.disk == Disk::Device;
      cost = {true, seconds, ticked_ ? -1 : waits ? 1 : 0, ticked_ ? (waits ? 0.02 : 1.0) * seconds : -1};
    }
    inFlight_.emplace(now_ + seconds, Request{server.refuses && over > 1, cost});
  }

  ReadPace pace_;
  const bool ticked_;
  double now_ = 0;
  double idle_ = 0;         // processor time nobody wanted
  std::int64_t blocks_ = 0;  // of the walk's thread
  double cpu_ = 0;           // the walk's processor time
  std::multimap<double, Request> inFlight_;  // by when each request ends
};

// A phase of a server's life and what the pace must do by its last second:
// keep allowed() within [low, high] and reach `share` of the rate the
// server can give (its capacity, or the pace's most, over its latency).
struct Phase {
  Server server;
  double seconds;
  unsigned low, high;
  double share;
};

struct Case {
  std::string name;
  std::vector<Phase> phases;
};

TEST(ReadPace, FindsAndFollowsTheServersPace) {
  const std::vector<Case> cases = {
      {"8 at 0.5 ms", {{{8, 0.0005}, 3, 6, 20, 0.87}}},
      {"16 at 0.5 ms", {{{16, 0.0005}, 3, 12, 40, 0.87}}},
      {"64 at 0.5 ms", {{{64, 0.0005}, 3, 48, 128, 0.87}}},
      {"256 at 0.5 ms: the most", {{{256, 0.0005}, 3, 100, 128, 0.95}}},
      {"64 at 10 ms", {{{64, 0.01}, 4, 48, 128, 0.87}}},
      {"16 at 50 ms", {{{16, 0.05}, 8, 12, 40, 0.87}}},
      {"capacity falls, rises", {{{64, 0.0005}, 3, 48, 128, 0.87},
                                 {{8, 0.0005}, 3, 6, 20, 0.87},
                                 {{64, 0.0005}, 3, 48, 128, 0.87}}},
      {"latency rises, falls", {{{64, 0.0005}, 3, 48, 128, 0.87},
                                {{64, 0.01}, 4, 48, 128, 0.87},
                                {{64, 0.0005}, 3, 48, 128, 0.87}}},
      {"turns requests away", {{{16, 0.002, true}, 4, 4, 20, 0.6}}},
      {"few folders waiting", {{{64, 0.0005, false, 6}, 3, 4, 8, 0}}},
  };
  for (const Case& c : cases) {
    Simulation sim;
    for (std::size_t i = 0; i < c.phases.size(); ++i) {
      const Phase& p = c.phases[i];
      SCOPED_TRACE(c.name + ", phase " + std::to_string(i + 1));
      const Seen seen = sim.run(p.server, p.seconds);
      EXPECT_GE(seen.lowest, p.low);
      EXPECT_LE(seen.highest, p.high);
      const double best = std::min(p.server.capacity, 128u) / p.server.latency;
      EXPECT_GE(seen.rate, p.share * best);
      EXPECT_LT(seen.refused, 0.05);
    }
  }
}

// A disk's pace: one listing in flight while listings come from the page
// cache; where they wait on the device it finds the device's pace as a
// share's, and it goes back to one once the tree is in the cache again;
// both where the system tells whether a listing blocked and where it tells
// only its processor time.
TEST(ReadPace, FollowsTheDiskBetweenCacheAndDevice) {
  const Server cached{1, 0.00001, false, 1u << 30, Disk::Cache};
  const Server device{16, 0.001, false, 1u << 30, Disk::Device};
  for (const bool ticked : {false, true}) {
    SCOPED_TRACE(ticked ? "processor time only" : "blocks known");
    Simulation sim(ReadPace::forDisk(1, 4, 16, 32, 2), ticked);
    const double seconds = ticked ? 6 : 2;  // verdicts on processor time take longer
    Seen seen = sim.run(cached, seconds);
    EXPECT_LE(seen.highest, 1u);
    seen = sim.run(device, 2 * seconds);
    EXPECT_GE(seen.lowest, 12u);
    EXPECT_LE(seen.highest, 32u);
    EXPECT_GE(seen.rate, 0.87 * 16 / 0.001);
    seen = sim.run(cached, 2 * seconds);
    EXPECT_LE(seen.highest, 1u);
  }
}

}  // namespace

// A disk's pace at the cheap level, from the walk's own rate with the
// cheap level's reader and without any: the reader is kept only where the
// walk is clearly faster with it (a quiet machine), dropped where it is
// not (a busy machine, where a reader put aside holds what the walk needs),
// not tried again while no processor is free beside the walk, and the pace
// still comes back to a reader that starts to pay.
TEST(ReadPace, KeepsTheCheapLevelsReaderOnlyWhereItPays) {
  // Listings a second with the reader and without, and the processors idle
  // while the walk reads alone.
  struct Machine { double with, without, spare; };
  // Walks `seconds` more; returns the share of the last half of that time,
  // and of all of it, the reader had.
  double idle = 0;
  const auto walk = [&idle](ReadPace& pace, double& t, double seconds, const Machine& m) {
    unsigned steps = 0, withReader = 0, all = 0, allWithReader = 0;
    for (const double end = t + seconds; t < end; t += 0.005, ++all) {
      const bool reader = pace.allowed() > 0;
      idle += reader ? 0 : m.spare * 0.005;
      pace.walked(t, static_cast<unsigned>((reader ? m.with : m.without) * 0.005),
                  {pace.measuresWalkAt(t) ? idle : -1});
      allWithReader += reader;
      if (t < end - seconds / 2) continue;
      ++steps;
      withReader += reader;
    }
    return std::pair{double(withReader) / steps, double(allWithReader) / all};
  };
  const Machine quiet{140000, 120000, 1}, busy{60000, 130000, 1}, noneFree{60000, 130000, 0};
  // `most`: the reader's share of the whole walk, at the most. A probe that
  // lost clearly is not tried again for long; none is tried without a
  // processor free.
  struct Case { Machine machine; bool keeps; double most; };
  for (const Case& c : {Case{quiet, true, 1}, Case{busy, false, 0.06}, Case{{125000, 124000, 1}, false, 0.15},
                        Case{noneFree, false, 0.03}}) {
    const Machine& m = c.machine;
    SCOPED_TRACE(std::to_string(m.with) + " with the reader, " + std::to_string(m.without) + " without, " +
                 std::to_string(m.spare) + " spare");
    ReadPace pace = ReadPace::forDisk(1, 4, 16, 32, 2);
    double t = 0;
    const auto [share, whole] = walk(pace, t, 4, m);
    EXPECT_TRUE(c.keeps ? share > 0.75 : share < 0.25) << share;
    EXPECT_LE(whole, c.most);
  }
  // Dropped on a busy machine, taken again once the machine is quiet.
  ReadPace pace = ReadPace::forDisk(1, 4, 16, 32, 2);
  double t = 0;
  EXPECT_LT(walk(pace, t, 3, noneFree).first, 0.25);
  EXPECT_GT(walk(pace, t, 4, quiet).first, 0.75);
}
