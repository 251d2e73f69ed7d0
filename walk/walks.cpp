// The end-point walk and the full-path walk. Each folder is listed once:
// its sub-folder names (and, with a mask, its matching files) are taken
// from that one listing before the walk descends.
#include "walk/walks.h"

#include <optional>
#include <vector>

#include "platform/filesystem.h"
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

  // Opens the start folder; false when it cannot be listed.
  bool start(const std::string& pfad) {
    pfad_.clear();
    AnzeigeTextAnhaengen(pfad_, pfad);
    return chain_.start(pfad) && chain_.list(eintraege_, resolveLinks_, filter_);
  }

  void endpunkte(std::int32_t ebene) {
    std::vector<std::string> unterordner = unterordnerNehmen();
    if ((unterordner.empty() || ebene == ebenen_) && ebene > 0) {
      aufzeichnen(ebene);
      ++zaehler_;
    }
    if (!tiefeErreicht(ebene))
      for (const std::string& name : unterordner) hinab(name, [&] { endpunkte(ebene + 1); });
    nachgeben();
  }

  void alle(std::int32_t ebene, bool nurMitDateien) {
    std::int32_t dateien = -1;
    if (pfad_.size() > schnitt_) {
      Ordner& ordner = aufzeichnen(ebene);
      if (maske_) dateien = DateienEintragen(ordner, eintraege_);
      if (!(nurMitDateien && dateien == 0)) ++zaehler_;
    }
    std::vector<std::string> unterordner = unterordnerNehmen();
    if (!tiefeErreicht(ebene))
      for (const std::string& name : unterordner) hinab(name, [&] { alle(ebene + 1, false); });
    nachgeben();
  }

  void setzeMaske(const std::string& maske) {
    if (maske.empty()) return;
    maske_.emplace(maske);
    resolveLinks_ = true;  // links to folders are not files
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

  // Takes the sub-folders out of the current listing.
  std::vector<std::string> unterordnerNehmen() {
    std::vector<std::string> namen;
    for (platform::Entry& e : eintraege_)
      if (e.kind == platform::EntryKind::Folder) namen.push_back(std::move(e.name));
    return namen;
  }

  bool tiefeErreicht(std::int32_t ebene) const { return ebenen_ != 0 && ebene >= ebenen_; }

  // Enters sub-folder `name`, lists it, runs `weiter` there and comes back.
  // A folder that cannot be listed is walked with no entries.
  template <typename Weiter>
  void hinab(const std::string& name, Weiter weiter) {
    const std::size_t laenge = pfad_.size();
    AnzeigeTextAnhaengen(pfad_, name);
    pfad_ += platform::kSeparator;
    if (!chain_.enter(name) || !chain_.list(eintraege_, resolveLinks_, filter_)) eintraege_.clear();
    weiter();
    chain_.leave();
    pfad_.resize(laenge);
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
  platform::FolderChain chain_;
  std::vector<platform::Entry> eintraege_;  // listing of the folder just entered
  std::string pfad_;                        // list form of the current folder's path
};

}  // namespace

std::int32_t EndpunkteSammeln(OrdnerTabelle& Tabelle, const std::string& Pfad, std::int32_t Ebenen,
                              std::int32_t StartPos, std::int32_t& Zähler, const YieldFn& yield) {
  Walk walk(Tabelle, Ebenen, StartPos, Zähler, yield);
  if (!walk.start(Pfad)) return -1;
  walk.endpunkte(0);
  walk.abschliessen();
  return Zähler;
}

std::int32_t OrdnerSammeln(OrdnerTabelle& Tabelle, const std::string& Pfad, std::int32_t Ebenen,
                           std::int32_t StartPos, std::int32_t& Zähler, const std::string& Maske,
                           bool NurMitDateien, const YieldFn& yield) {
  Walk walk(Tabelle, Ebenen, StartPos, Zähler, yield);
  walk.setzeMaske(Maske);
  if (!walk.start(Pfad)) return -1;
  walk.alle(0, NurMitDateien);
  walk.abschliessen();
  return Zähler;
}

}  // namespace zweigschau
