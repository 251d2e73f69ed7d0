// The pace of reading ahead on a share: how many listings the readers may
// have in flight at once. No number suits every server: a small one only
// queues what it cannot serve, a large one or a slow link needs many
// requests in flight to be kept busy. The pace finds the number from the
// rate at which listings come back, and keeps finding it during the walk.
//
// It holds neither threads nor a clock: it is told when each listing came
// back, and the owner reads allowed() to decide whether a reader may start
// another.
#pragma once

namespace zweigschau {

class ReadPace {
 public:
  // Starts at `start` listings in flight and never allows fewer than
  // `least` nor more than `most` (1 <= least <= start <= most).
  ReadPace(unsigned least, unsigned start, unsigned most);

  // How many listings may be in flight now.
  unsigned allowed() const { return allowed_; }

  // A listing came back at `seconds` (from any fixed origin; never going
  // back), while `inFlight` listings were in flight, itself counted.
  // `strained` when the server turned a request away for want of resources
  // (the reader tried again or gave the folder up). May change allowed().
  void done(double seconds, unsigned inFlight, bool strained);

 private:
  enum class Step { Grow, Measure, ProbeUp, ProbeDown };

  void judge(double rate);
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
};

}  // namespace zweigschau
