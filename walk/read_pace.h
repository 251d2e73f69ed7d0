// The pace of reading ahead: how many listings the readers may have in
// flight at once. No number suits every server or disk: a small server
// only queues what it cannot serve, a large one, a slow link or a disk that
// serves many reads at once needs many requests in flight to be kept busy.
// The pace finds the number from the rate at which listings come back, and
// keeps finding it during the walk.
//
// On a local disk listings come from the page cache as often as from the
// device, and from the cache they cost only the processor: there one
// reader beside the walk keeps both busy, and more readers only take turns
// on the processors. So a disk's pace also watches what each listing cost
// its thread: while the listings wait on the device it finds the number as
// on a share, while they come from the cache it stays at the cheap level.
// A tree is often half in the cache; the pace follows it both ways.
//
// It holds neither threads nor a clock: it is told when each listing came
// back, and the owner reads allowed() to decide whether a reader may start
// another.
#pragma once

#include <cstdint>

namespace zweigschau {

// What one listing cost the thread that read it: its wall time, how often
// the thread blocked meanwhile and its processor time (-1: not known; see
// platform::threadWork).
struct ListingCost {
  bool weighed = false;  // the rest is known
  double seconds = 0;
  std::int64_t blocks = -1;
  double cpuSeconds = -1;
};

// What the machine and the walk's thread have spent since a fixed origin
// (-1: not known): the processors' idle time (platform::
// idleProcessorSeconds), and the walk's blocks and processor time
// (platform::threadWork).
struct WalkWork {
  double idleSeconds = -1;
  std::int64_t blocks = -1;
  double cpuSeconds = -1;
};

class ReadPace {
 public:
  // A share's pace: starts at `start` listings in flight and never allows
  // fewer than `least` nor more than `most` (1 <= least <= start <= most).
  ReadPace(unsigned least, unsigned start, unsigned most);

  // A disk's pace: `cheap` listings in flight while they come from the
  // cache, the share's pace while they wait on the device. `processors`
  // the machine has (where listings do not tell whether they blocked, the
  // processor time they got is weighed against the share of it that
  // `processors` give the readers and the walk).
  static ReadPace forDisk(unsigned cheap, unsigned least, unsigned start, unsigned most,
                          unsigned processors);

  // How many listings may be in flight now.
  unsigned allowed() const { return waiting_ ? allowed_ : cheapOff_ ? 0 : cheap_; }

  // Whether done() wants to know what the next listing costs: every one
  // while listings wait on the device, a sample at the cheap level, where
  // listings are quick and finding out what each cost would add to it.
  bool weighsNext();

  // A listing came back at `seconds` (from any fixed origin; never going
  // back), while `inFlight` listings were in flight, itself counted.
  // `strained` when the server turned a request away for want of resources
  // (the reader tried again or gave the folder up). `cost`: what it cost
  // the reader (weighed by a disk's pace only). May change allowed().
  void done(double seconds, unsigned inFlight, bool strained, const ListingCost& cost = {});

  // A disk's pace: the walk took `taken` more listings by `seconds` (same
  // origin as done()'s). At the cheap level the readers must pay in the
  // walk's own pace: on a busy machine a reader that is put aside holds
  // listings the walk then waits for, and the walk alone goes faster. So
  // the pace measures the walk with the cheap level's readers and without
  // any, and keeps the faster (without, unless the readers clearly pay).
  // `work`: what the machine and the walk's thread have spent so far,
  // read when measuresWalkAt(seconds). While the walk reads alone, its own
  // listings tell where they come from: when they wait on the device, the
  // disk is paced as a share is. Else a reader is tried again only when a
  // processor was free meanwhile: where others take every processor the
  // walk is not given, a reader only takes turns with the walk.
  void walked(double seconds, unsigned taken, const WalkWork& work = {});
  // Whether walked() at `seconds` starts or ends a measurement (and wants
  // `work`).
  bool measuresWalkAt(double seconds) const;

 private:
  enum class Step { Grow, Measure, ProbeUp, ProbeDown };

  bool weigh(unsigned inFlight, const ListingCost& cost);
  double waitedShare() const;
  void judge(double rate);
  bool judgeCheap(double rate, bool readerCouldRun);
  void toDevice(unsigned inFlight);
  void judgeGrowth(double rate);
  void judgeProbe(double rate);
  void probeFromHome();
  unsigned twice(unsigned level) const;
  void moveTo(unsigned level, Step next);

  const unsigned least_;
  const unsigned most_;
  unsigned allowed_;
  Step step_ = Step::Grow;

  // The measurement at allowed_: the listings in flight at a change were
  // asked for under the level before, and are not counted.
  unsigned skip_ = 0;
  double from_ = 0;        // when counting began
  unsigned counted_ = 0;   // listings back since then
  double inFlightSum_ = 0; // of `inFlight` over those listings

  // The level the pace returns to when a probe does not pay, and its rate
  // (listings a second; 0 before the first measurement).
  unsigned home_;
  double homeRate_ = 0;
  // Measurements at home before the next probe: more after each probe
  // that did not pay, none after one that did.
  unsigned rests_ = 0;
  unsigned restsAfterNext_ = 0;
  // The least level the server has turned requests away at: the pace no
  // longer doubles past it, but still creeps by quarters.
  unsigned ceiling_;

  // A disk's pace only: the level while listings come from the cache (0
  // on a share), whether they wait on the device now, and what the
  // listings since the last verdict cost.
  unsigned cheap_ = 0;
  unsigned processors_ = 1;
  bool waiting_ = true;
  unsigned cachedVerdicts_ = 0;  // in a row, while waiting_
  unsigned unweighed_ = 0;       // listings in flight at the last change
  unsigned sampled_ = 0;         // listings asked for at the cheap level
  // At the cheap level: whether its readers are off, whether that is a
  // probe of the other way, the walk's rate the way in use, and the
  // measurements before the next probe (more after each probe that did
  // not pay). The walk's measurement began at walkFrom_ (< 0: at the next
  // call, after a change).
  bool cheapOff_ = false;
  bool cheapProbe_ = false;
  double cheapRate_ = 0;
  unsigned cheapRests_ = 0;
  unsigned cheapRestsAfterNext_ = 0;
  double walkFrom_ = -1;
  WalkWork walkWorkFrom_;  // what was spent then
  unsigned walkTaken_ = 0;
  struct Costs {
    unsigned listings = 0;
    unsigned blocked = 0;     // listings whose thread blocked
    double seconds = 0;       // of all listings
    double cpuSeconds = 0;    // of the listings whose blocks are not known
    double inFlight = 0;      // summed over the listings
    bool blocksKnown = true;
  } costs_;
};

}  // namespace zweigschau
