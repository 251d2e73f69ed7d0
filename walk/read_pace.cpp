// The pace finds its number as TCP finds a link's capacity. It starts
// low and doubles while each doubling brings listings back clearly
// faster (Grow). Where a doubling no longer pays it returns to the level
// before and from then on probes around it: it measures the level (Measure),
// tries a quarter more (ProbeUp: kept when clearly faster) and, when that
// did not pay, a fifth less (ProbeDown: kept while hardly slower, so that
// no more requests are in flight than the server serves at once). After
// probes that did not pay it rests at its level for longer, up to a few
// measurements, so that a steady server costs little probing. A
// measurement in which the readers did not fill the level (too few folders
// waiting) says nothing about the server and is started again. A request
// the server turned away halves the level at once, and the pace no longer
// doubles past the level that was turned away.
//
// A disk's pace weighs each listing's cost before that. A listing from the
// page cache costs its thread only the processor; one that had to wait for
// the device blocked its thread. When most listings block, they wait on
// the device and the pace works as on a share, from where it left off;
// when few do, they come from the cache and the pace goes back to its
// cheap level. (The time they took says less: with many readers on a
// disk, listings also wait for a processor, both from the cache and from
// the device.) Where threads do not tell whether they blocked (Windows), a
// listing that got much less processor time than the readers and the walk
// could share among the processors waited.
#include "walk/read_pace.h"

#include <algorithm>
#include <cassert>

namespace zweigschau {
namespace {

// How long a measurement lasts at the least: the level's listings (while
// doubling; twice that when probing) and this long, so that a few slow
// listings do not decide it.
constexpr double kGrowSeconds = 0.02;
constexpr double kProbeSeconds = 0.1;
// A doubling pays when listings come back this much faster; a quarter more
// when this much faster; a fifth less is kept while this fast still.
constexpr double kGrowGain = 1.15;
constexpr double kProbeGain = 1.05;
constexpr double kProbeKeep = 0.97;
// A measurement counts when this share of the level was in flight.
constexpr double kBusy = 0.8;
// Measurements at home between probes that do not pay, at the most.
constexpr unsigned kMostRests = 8;
// At the cheap level: measurements of the way in use between two probes,
// at the most (1.6 s), and the share of the way in use's rate below which
// a probe lost clearly, after which the pace rests that long at once. A
// reader that takes turns with the walk, or meets it on the kernel's locks,
// slows the walk by a third or more while it is tried, and switching it on
// and off costs about as much again.
constexpr unsigned kMostCheapRests = 32;
constexpr double kClearLoss = 0.8;
// A disk's verdict on where listings come from takes at least this many
// listings and this much of their time: enough that a few listings that
// met a lock do not decide, short enough to follow a tree that is half in
// the cache.
constexpr unsigned kWeighListings = 16;
constexpr double kWeighSeconds = 0.02;
// Where a verdict weighs processor time instead (Windows), it takes at
// least this much of the listings' time: the system counts a thread's time
// by clock ticks (15.6 ms; Wine 10 ms), so a verdict needs a few dozen.
constexpr double kWeighTickedSeconds = 0.5;
// The listings wait on the device when more than this share of them
// blocked (or, where that is not known, they waited this share of their
// time); they come from the cache again below the lower share. Between the
// two the verdict stays, so that a tree at the edge does not make the pace
// jump to and fro.
constexpr double kWaitingShare = 0.5;
constexpr double kCachedShare = 0.25;
// Verdicts in a row that the listings come from the cache before the pace
// leaves the device's level: a cold tree has short stretches whose blocks
// an earlier listing read, and each return costs the level's ramp.
constexpr unsigned kCachedVerdicts = 2;
// At the cheap level one listing in this many is weighed: from the cache a
// listing takes a few microseconds, and weighing one costs about one.
constexpr unsigned kCheapSample = 4;
// The walk's pace at the cheap level is measured over this long: long
// enough for a few hundred listings and a few of the scheduler's time
// slices, short enough that a probe the wrong way costs little.
constexpr double kWalkSeconds = 0.05;
// A reader is tried beside the walk only when at least this much of a
// processor was idle (or waiting for the device) while the walk read
// alone.
constexpr double kSpareProcessor = 0.5;

unsigned quarterMore(unsigned level) { return std::max(level + 1, level + level / 4); }
unsigned fifthLess(unsigned level) { return std::min(level - 1, level - level / 5); }

}  // namespace

ReadPace::ReadPace(unsigned least, unsigned start, unsigned most)
    : least_(least), most_(most), allowed_(start), skip_(1), home_(start), ceiling_(most) {
  assert(least >= 1 && least <= start && start <= most);
}

ReadPace ReadPace::forDisk(unsigned cheap, unsigned least, unsigned start, unsigned most,
                           unsigned processors) {
  assert(cheap >= 1);
  ReadPace pace(least, start, most);
  pace.cheap_ = cheap;
  pace.processors_ = std::max(1u, processors);
  pace.waiting_ = false;
  // The walk reads alone at first: its first measurement tells whether a
  // processor is free for a reader (or the device is what it waits for).
  // Started with a reader on a busy machine, it would pay for that reader
  // until the first probe without.
  pace.cheapOff_ = true;
  return pace;
}

bool ReadPace::weighsNext() { return cheap_ > 0 && (waiting_ || ++sampled_ % kCheapSample == 0); }

void ReadPace::done(double seconds, unsigned inFlight, bool strained, const ListingCost& cost) {
  if (cheap_ > 0 && unweighed_ > 0) {
    --unweighed_;  // asked for at the level before the verdict changed
  } else if (cheap_ > 0 && cost.weighed && weigh(inFlight, cost)) {
    // The verdict changed.
    if (waiting_) toDevice(inFlight);
    return;
  }
  if (!waiting_) return;
  if (skip_ > 0) {
    // The last listing asked for under the level before marks the start.
    // One turned away meanwhile was asked for under that level too.
    if (--skip_ == 0) from_ = seconds;
    return;
  }
  if (strained) {
    ceiling_ = std::min(ceiling_, allowed_);
    home_ = std::max(least_, allowed_ / 2);
    homeRate_ = 0;
    rests_ = restsAfterNext_ = 0;
    moveTo(home_, Step::Measure);
    return;
  }
  ++counted_;
  inFlightSum_ += inFlight;
  const double elapsed = seconds - from_;
  const bool growing = step_ == Step::Grow;
  if (counted_ < (growing ? 1 : 2) * allowed_ || elapsed < (growing ? kGrowSeconds : kProbeSeconds)) return;
  const bool filled = inFlightSum_ >= kBusy * counted_ * allowed_;
  const double rate = counted_ / elapsed;
  from_ = seconds;
  counted_ = 0;
  inFlightSum_ = 0;
  if (filled) judge(rate);
}

void ReadPace::walked(double seconds, unsigned taken, const WalkWork& work) {
  if (cheap_ == 0 || waiting_ || walkFrom_ < 0) {
    // Not at the cheap level, or the way just changed: measure afresh.
    walkFrom_ = cheap_ == 0 || waiting_ ? -1 : seconds;
    walkWorkFrom_ = work;
    walkTaken_ = 0;
    return;
  }
  walkTaken_ += taken;
  const double elapsed = seconds - walkFrom_;
  if (elapsed < kWalkSeconds) return;
  const double rate = walkTaken_ / elapsed;
  const WalkWork& from = walkWorkFrom_;
  const bool idleKnown = from.idleSeconds >= 0 && work.idleSeconds >= 0;
  const bool spare = !idleKnown || work.idleSeconds - from.idleSeconds >= kSpareProcessor * elapsed;
  // Alone, the walk's thread blocks only when its listings wait on the
  // device. Where blocks are not counted (Windows), it got little of the
  // processor while one was free.
  bool walkWaited = false;
  if (from.blocks >= 0 && work.blocks >= 0)
    walkWaited = work.blocks - from.blocks > kWaitingShare * walkTaken_;
  else if (from.cpuSeconds >= 0 && work.cpuSeconds >= 0 && idleKnown)
    walkWaited = spare && work.cpuSeconds - from.cpuSeconds < (1 - kWaitingShare) * elapsed;
  walkFrom_ = seconds;
  walkWorkFrom_ = work;
  walkTaken_ = 0;
  if (cheapOff_ && walkWaited) {
    costs_ = Costs{};
    cheapProbe_ = false;
    toDevice(1);  // the first listing back starts the measurement
    return;
  }
  // The listings a reader holds across a change belong to both ways.
  if (judgeCheap(rate, spare)) walkFrom_ = -1;
}

bool ReadPace::measuresWalkAt(double seconds) const {
  return cheap_ > 0 && !waiting_ && (walkFrom_ < 0 || seconds - walkFrom_ >= kWalkSeconds);
}

// Judges the walk's rate at the cheap level: after a measurement of the way
// in use, probes the other way (once its rests are over, and towards the
// readers only when one could have run meanwhile); after a probe, keeps
// the faster. Without readers the walk
// must be almost as fast, with them clearly faster, for the probe to be
// kept. True when the way changed.
bool ReadPace::judgeCheap(double rate, bool readerCouldRun) {
  if (!cheapProbe_) {
    cheapRate_ = rate;
    if (cheapRests_ > 0) {
      --cheapRests_;
      return false;
    }
    if (cheapOff_ && !readerCouldRun) return false;
    cheapProbe_ = true;
    cheapOff_ = !cheapOff_;
    return true;
  }
  cheapProbe_ = false;
  const bool kept = cheapOff_ ? rate >= kProbeKeep * cheapRate_ : rate > kProbeGain * cheapRate_;
  if (kept) {
    cheapRate_ = rate;
    cheapRests_ = cheapRestsAfterNext_ = 0;
    return false;
  }
  cheapOff_ = !cheapOff_;
  cheapRests_ = rate < kClearLoss * cheapRate_ ? kMostCheapRests : cheapRestsAfterNext_;
  cheapRestsAfterNext_ = std::min(kMostCheapRests, 2 * cheapRestsAfterNext_ + 1);
  return true;
}

// The listings wait on the device: the pace measures again from the level
// it had found there; the `inFlight` listings were asked for under the
// cheap level and are not counted.
void ReadPace::toDevice(unsigned inFlight) {
  waiting_ = true;
  cachedVerdicts_ = 0;
  moveTo(home_, homeRate_ > 0 ? Step::Measure : Step::Grow);
  skip_ = inFlight;
}

// Adds a listing's cost; true when a verdict changed where the listings
// come from.
bool ReadPace::weigh(unsigned inFlight, const ListingCost& cost) {
  Costs& c = costs_;
  ++c.listings;
  c.seconds += cost.seconds;
  c.inFlight += inFlight;
  if (cost.blocks > 0) ++c.blocked;
  if (cost.blocks < 0) {
    c.blocksKnown = false;
    c.cpuSeconds += std::max(0.0, cost.cpuSeconds);
  }
  if (c.listings < kWeighListings || c.seconds < (c.blocksKnown ? kWeighSeconds : kWeighTickedSeconds))
    return false;
  const double waited = waitedShare();
  c = Costs{};
  const bool before = waiting_;
  if (!waiting_) {
    waiting_ = waited > kWaitingShare;
  } else {
    cachedVerdicts_ = waited < kCachedShare ? cachedVerdicts_ + 1 : 0;
    waiting_ = cachedVerdicts_ < kCachedVerdicts;
  }
  if (waiting_ == before) return false;
  // The listings in flight now were asked for at the other level: they
  // say nothing of the new one.
  cachedVerdicts_ = 0;
  unweighed_ = inFlight;
  return true;
}

// How much of the listings weighed waited on the device: the share that
// blocked, or where that is not known, the share of their time they did
// not get on a processor of what the readers in flight and the walk could
// share among the processors.
double ReadPace::waitedShare() const {
  const Costs& c = costs_;
  if (c.blocksKnown) return static_cast<double>(c.blocked) / c.listings;
  const double sharers = c.inFlight / c.listings + 1;
  const double share = std::min(1.0, processors_ / sharers);
  return std::max(0.0, 1 - c.cpuSeconds / (share * c.seconds));
}

void ReadPace::judge(double rate) {
  switch (step_) {
    case Step::Grow: judgeGrowth(rate); break;
    case Step::Measure:
      homeRate_ = rate;
      if (rests_ > 0) --rests_;
      else probeFromHome();
      break;
    case Step::ProbeUp:
    case Step::ProbeDown: judgeProbe(rate); break;
  }
}

void ReadPace::judgeGrowth(double rate) {
  if (homeRate_ > 0 && rate < kGrowGain * homeRate_) {
    moveTo(home_, Step::Measure);  // the doubling did not pay: back
    return;
  }
  home_ = allowed_;
  homeRate_ = rate;
  if (twice(home_) > home_) moveTo(twice(home_), Step::Grow);
  else probeFromHome();
}

void ReadPace::judgeProbe(double rate) {
  const bool up = step_ == Step::ProbeUp;
  if (up ? rate > kProbeGain * homeRate_ : rate >= kProbeKeep * homeRate_) {
    // Kept. A fifth less is judged against the best rate of the way down,
    // so that many small steps cannot add up to a large loss.
    const bool leap = up && rate > kGrowGain * homeRate_ && twice(allowed_) > allowed_;
    home_ = allowed_;
    homeRate_ = std::max(homeRate_, rate);
    rests_ = restsAfterNext_ = 0;
    if (leap) moveTo(twice(home_), Step::Grow);
    else if (up && home_ < most_) moveTo(std::min(most_, quarterMore(home_)), Step::ProbeUp);
    else if (!up && home_ > least_) moveTo(std::max(least_, fifthLess(home_)), Step::ProbeDown);
    else moveTo(home_, Step::Measure);
    return;
  }
  if (up && home_ > least_) {
    moveTo(std::max(least_, fifthLess(home_)), Step::ProbeDown);
    return;
  }
  // Neither way paid: rest at home before probing again.
  rests_ = restsAfterNext_;
  restsAfterNext_ = std::min(kMostRests, 2 * restsAfterNext_ + 1);
  moveTo(home_, Step::Measure);
}

// Probes a quarter more, or, at the most already, a fifth less.
void ReadPace::probeFromHome() {
  if (home_ < most_) moveTo(std::min(most_, quarterMore(home_)), Step::ProbeUp);
  else if (home_ > least_) moveTo(std::max(least_, fifthLess(home_)), Step::ProbeDown);
}

// Twice `level`, within the most and below a level turned away.
unsigned ReadPace::twice(unsigned level) const {
  const unsigned doubled = std::min(most_, 2 * level);
  return doubled < ceiling_ || ceiling_ == most_ ? doubled : level;
}

// Goes to `level`; the listings in flight, as many as the level before
// allowed, were asked for under it and are not counted.
void ReadPace::moveTo(unsigned level, Step next) {
  skip_ = allowed_ + 1;
  allowed_ = level;
  step_ = next;
  counted_ = 0;
  inFlightSum_ = 0;
}

}  // namespace zweigschau
