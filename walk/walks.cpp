// The end-point walk and the full-path walk. Each folder is listed once:
// its sub-folder names (and, with a mask, its matching files) are taken
// from that one listing before the walk descends.
#include "walk/walks.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/filesystem.h"
#include "text/list_form.h"
#include "walk/file_search.h"
#include "walk/list_text.h"
#include "walk/walk_internal.h"

namespace zweigschau {
namespace {

class Walk {
 public:
  Walk(OrdnerTabelle& tabelle, std::int32_t ebenen, std::int32_t startPos, std::int32_t& zaehler,
       const YieldFn& yield)
      : tabelle_(tabelle), ebenen_(ebenen), zaehler_(zaehler), yield_(yield),
        schnitt_(startPos > 1 ? static_cast<std::size_t>(startPos - 1) : 0) {}

  // Opens and lists the start folder; false when it cannot be listed.
  bool start(const std::string& pfad, const std::optional<platform::ReadAhead>& lesen) {
    pfad_.clear();
    AnzeigeTextAnhaengen(pfad_, pfad);
    // While the walk waits for a listing the window is kept alive, with
    // the count reached so far.
    auto warten = [this] {
      if (yield_) yield_(zaehler_);
    };
    leser_.emplace(lesen ? *lesen : platform::readAheadFor(pfad), resolveLinks_, filter_, ebenen_, warten);
    return leser_->start(pfad, eintraege_);
  }

  // Records the ends of the tree: folders without sub-folders, and those
  // at the depth limit.
  void endpunkte() {
    laufen([this](std::int32_t ebene) {
      const bool ohneUnterordner =
          std::none_of(eintraege_.begin(), eintraege_.end(),
                       [](const platform::Entry& e) { return e.kind == platform::EntryKind::Folder; });
      if ((ohneUnterordner || ebene == ebenen_) && ebene > 0) {
        aufzeichnen(ebene);
        ++zaehler_;
      }
    });
  }

  // Records every folder before its sub-folders, with its matching files
  // when there is a mask; with nurMitDateien the start folder is dropped
  // again when none of its files match.
  void alle(bool nurMitDateien) {
    laufen([this, nurMitDateien](std::int32_t ebene) {
      if (pfad_.size() > schnitt_) {
        Ordner& ordner = aufzeichnen(ebene);
        const std::int32_t dateien = maske_ ? DateienEintragen(ordner, eintraege_) : -1;
        if (!(nurMitDateien && ebene == 0 && dateien == 0)) ++zaehler_;
      }
    });
  }

  void setzeMaske(const std::string& maske) {
    if (maske.empty()) return;
    maske_.emplace(maske);
    resolveLinks_ = true;  // links to folders are not files
    // Called by the reading threads too: it only reads the mask.
    filter_ = [this](std::string_view name, platform::EntryKind kind) {
      return istDatei(kind) ? maske_->passt(name) : istUnterordner(name, kind);
    };
  }

  // Drops records beyond the counter (a start folder without matching files).
  void abschliessen() {
    if (tabelle_.size() > static_cast<std::size_t>(zaehler_)) tabelle_.resize(zaehler_);
  }

 private:
  // Sub-folders are real folders that the platform does not hide. Links to
  // folders are never entered, so no walk can loop.
  static bool istUnterordner(std::string_view /*name*/, platform::EntryKind kind) {
    return kind == platform::EntryKind::Folder;
  }

  // A folder on the way down from the start folder to the current one.
  struct Stufe {
    std::int32_t ebene = 0;
    std::size_t pfadVorher = 0;  // length of pfad_ in the folder above
  };

  // Walks the tree depth first from the start folder, its listing in
  // eintraege_. `besuchen(ebene)` handles the folder just listed. The way
  // down is kept on the heap, so the depth of the tree is not bounded by
  // the call stack; the reader knows which sub-folder comes next and stops
  // at the depth limit.
  template <typename Besuchen>
  void laufen(Besuchen besuchen) {
    std::vector<Stufe> weg;
    besuchen(0);
    weg.push_back({0, 0});
    while (!weg.empty()) {
      const Stufe hier = weg.back();
      bool gelistet = false;
      if (const std::string* name = leser_->enterNext(eintraege_, gelistet)) {
        // A folder that cannot be listed is walked with no entries.
        weg.push_back({hier.ebene + 1, pfad_.size()});
        AnzeigeTextAnhaengen(pfad_, *name);
        pfad_ += platform::kSeparator;
        besuchen(hier.ebene + 1);
        continue;
      }
      nachgeben();
      weg.pop_back();
      if (!weg.empty()) {
        leser_->leave();
        pfad_.resize(hier.pfadVorher);
      }
    }
  }

  Ordner& aufzeichnen(std::int32_t ebene) {
    if (tabelle_.size() <= static_cast<std::size_t>(zaehler_)) tabelle_.resize(zaehler_ + 1);
    Ordner& ordner = tabelle_[zaehler_];
    ordner.Pfad.assign(pfad_, std::min(schnitt_, pfad_.size()));
    ordner.Ebene = ebene;
    ordner.Dateien.clear();
    ordner.LetzterDateiIndex = -1;
    return ordner;
  }

  void nachgeben() {
    if (yield_ && zaehler_ % 100 == 0) yield_(zaehler_);
  }

  OrdnerTabelle& tabelle_;
  const std::int32_t ebenen_;
  std::int32_t& zaehler_;
  const YieldFn& yield_;
  const std::size_t schnitt_;
  std::optional<DateiMaske> maske_;
  bool resolveLinks_ = false;
  platform::EntryFilter filter_ = istUnterordner;  // what a listing keeps
  std::vector<platform::Entry> eintraege_;         // listing of the folder just entered
  std::string pfad_;                               // list form of the current folder's path
  // Last: its reading threads use the mask and end before it goes.
  std::optional<platform::TreeReader> leser_;
};

}  // namespace

std::int32_t EndpunkteSammeln(OrdnerTabelle& Tabelle, const std::string& Pfad, std::int32_t Ebenen,
                              std::int32_t StartPos, std::int32_t& Zähler, const YieldFn& yield,
                              const std::optional<platform::ReadAhead>& Vorauslesen) {
  Walk walk(Tabelle, Ebenen, StartPos, Zähler, yield);
  if (!walk.start(Pfad, Vorauslesen)) return -1;
  walk.endpunkte();
  walk.abschliessen();
  return Zähler;
}

std::int32_t OrdnerSammeln(OrdnerTabelle& Tabelle, const std::string& Pfad, std::int32_t Ebenen,
                           std::int32_t StartPos, std::int32_t& Zähler, const std::string& Maske,
                           bool NurMitDateien, const YieldFn& yield,
                           const std::optional<platform::ReadAhead>& Vorauslesen) {
  Walk walk(Tabelle, Ebenen, StartPos, Zähler, yield);
  walk.setzeMaske(Maske);
  if (!walk.start(Pfad, Vorauslesen)) return -1;
  walk.alle(NurMitDateien);
  walk.abschliessen();
  return Zähler;
}

}  // namespace zweigschau
