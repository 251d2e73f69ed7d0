// The two folder walks. Both list every folder exactly once, in the fixed
// listing order, never enter links, and go on past folders that cannot be
// listed. Records are appended to the table from index Zähler on.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "walk/ordner_tabelle.h"
#include "walk/tree_reader.h"

namespace zweigschau {

// Called now and then during a walk with the number of records made so far,
// so that a caller can keep its window alive and show progress.
using YieldFn = std::function<void(std::int32_t Zähler)>;

// What a walk records and how it runs.
struct SammelOptionen {
  // Start folder, ending in the separator.
  std::string Pfad{};
  // 0 = all levels; n > 0 = down to level n; n < 0 = none.
  std::int32_t Ebenen = 0;
  // 1-based byte position in AnzeigeText(Pfad) at which stored paths begin
  // (1 = whole path).
  std::int32_t StartPos = 1;
  // OrdnerSammeln only: the file mask ("" = no file search) and whether the
  // start folder is dropped again when none of its files match.
  std::string Maske{};
  bool NurMitDateien = false;
  // Called on the walk's thread after every folder, and about every 5 ms
  // while the walk waits for a listing: the window answers its user and
  // assistive technology only from within it, so it must be cheap.
  YieldFn yield{};
  // How folders are read (ReadAhead); by default as suits the start
  // folder's file system (readAheadFor). The records are the same either way.
  std::optional<ReadAhead> Vorauslesen{};
  // When it becomes true (from any thread, the yield included), the walk
  // ends within about 5 ms, also while a reader is blocked on a folder,
  // and returns kAbgebrochen; the table then holds no usable records.
  const std::atomic<bool>* Abbruch = nullptr;
};

// What a walk returns when it was cancelled.
inline constexpr std::int32_t kAbgebrochen = -2;
// What a walk returns when the start folder could not be opened because the
// system was short of handles (or memory): not a missing folder.
inline constexpr std::int32_t kKeineMittel = -3;

// Records the ends of the tree below `Optionen.Pfad`: every folder without
// sub-folders and, when Ebenen = n > 0, every folder at level n. The start
// folder itself is never recorded; Maske and NurMitDateien are not used.
//   Zähler    next free record index; the caller sets it to 0
// Returns -1 when the start folder cannot be listed (missing, not a folder,
// unreadable), kAbgebrochen when the walk was cancelled; otherwise Zähler
// after the walk. The table then holds exactly Zähler records.
std::int32_t EndpunkteSammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen,
                              std::int32_t& Zähler);

// Records every folder of the depth-limited tree in pre-order (a folder
// before its sub-folders), the start folder first when StartPos is 1. With a
// non-empty Maske each recorded folder gets its matching file names; with
// NurMitDateien the start folder is dropped again when none of its files
// match (sub-folders are always kept). Zähler and result as for
// EndpunkteSammeln.
std::int32_t OrdnerSammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen,
                           std::int32_t& Zähler);

}  // namespace zweigschau
