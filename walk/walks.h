// The two folder walks. Both list every folder exactly once, in the fixed
// listing order, never enter links, and go on past folders that cannot be
// listed, counting those that failed for an error. Records are appended to
// the table from index Zähler on.
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

// SammelErgebnis::Anzahl when the start folder could not be listed.
inline constexpr std::int32_t kStartNichtGelistet = -1;

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
  std::optional<ReadAhead> readAhead{};
  // When it becomes true (from any thread, the yield included), the walk
  // ends within about 5 ms, also while a reader is blocked on a folder,
  // with Fehler Cancelled; the table then holds no usable records.
  const std::atomic<bool>* cancel = nullptr;
};

// How a walk went.
struct SammelErgebnis {
  // None: the walk went through. Otherwise why it ended without a list:
  // the start folder could not be listed (Denied, Short, Broken), memory
  // ran out (NoMemory), or it was cancelled (Cancelled). A sub-folder's
  // failure never ends a walk.
  platform::Failure Fehler = platform::Failure::None;
  // The records in the table (Zähler after the walk), or kStartNichtGelistet
  // when the start folder could not be listed; 0 after NoMemory or Cancelled, when the
  // table holds no usable records.
  std::int32_t Anzahl = 0;
  // Sub-folders that could not be read for an error (Broken, or Short after
  // the reader's retries): each is walked as a folder without entries, and
  // what it holds is missing from the records. Folders that may not be
  // listed for their rights, or that vanished, are not counted.
  std::int32_t NichtLesbar = 0;
};

// Records the ends of the tree below `Optionen.Pfad`: every folder without
// sub-folders and, when Ebenen = n > 0, every folder at level n. The start
// folder itself is never recorded; Maske and NurMitDateien are not used.
//   Zähler    next free record index; the caller sets it to 0
// When the walk went through, the table holds exactly Zähler records.
SammelErgebnis EndpunkteSammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen,
                                std::int32_t& Zähler);

// Records every folder of the depth-limited tree in pre-order (a folder
// before its sub-folders), the start folder first when StartPos is 1. With a
// non-empty Maske each recorded folder gets its matching file names; with
// NurMitDateien the start folder is dropped again when none of its files
// match (sub-folders are always kept). Zähler and result as for
// EndpunkteSammeln.
SammelErgebnis OrdnerSammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen,
                             std::int32_t& Zähler);

}  // namespace zweigschau
