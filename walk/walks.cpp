// The end-point walk and the full-path walk. Each folder is listed once:
// its sub-folder names (and, with a mask, its matching files) are taken
// from that one listing before the walk descends.
#include "walk/walks.h"

#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "platform/folder_handle.h"
#include "text/list_form.h"
#include "walk/file_search.h"
#include "walk/list_text.h"
#include "walk/walk_internal.h"

namespace zweigschau {
namespace {

class Walk {
 public:
  Walk(OrdnerTabelle& tabelle, const SammelOptionen& lauf, std::int32_t& zaehler)
      : tabelle_(tabelle), ebenen_(lauf.Ebenen), zaehler_(zaehler), lauf_(lauf),
        schnitt_(lauf.StartPos > 1 ? static_cast<std::size_t>(lauf.StartPos - 1) : 0) {}

  // Opens and lists the start folder.
  platform::Failure start(const std::string& pfad) {
    pfad_.clear();
    AnzeigeTextAnhaengen(pfad_, pfad);
    TreeReaderOptions lesen;
    lesen.how = lauf_.Vorauslesen ? *lauf_.Vorauslesen : readAheadFor(pfad);
    lesen.levels = ebenen_;
    // While the walk waits for a listing the window is kept alive, with
    // the count reached so far.
    lesen.whileWaiting = [this] {
      if (lauf_.yield) lauf_.yield(zaehler_);
    };
    lesen.cancel = lauf_.Abbruch;
    leser_.emplace(systemFolders(filter_), std::move(lesen));
    return leser_->start(pfad, eintraege_);
  }

  // Sub-folders that could not be read for an error, so far.
  std::int32_t nichtLesbar() const { return nichtLesbar_; }

  // Records the ends of the tree: folders without sub-folders, and those
  // at the depth limit. None, or why the walk ended early.
  platform::Failure endpunkte() {
    return laufen([this](std::int32_t ebene) {
      const bool ohneUnterordner =
          std::none_of(eintraege_.begin(), eintraege_.end(),
                       [](const Entry& e) { return e.kind == EntryKind::Folder; });
      if ((ohneUnterordner || ebene == ebenen_) && ebene > 0) {
        aufzeichnen(ebene);
        ++zaehler_;
      }
    });
  }

  // Records every folder before its sub-folders, with its matching files
  // when there is a mask; with nurMitDateien the start folder is dropped
  // again when none of its files match. None, or why the walk ended early.
  platform::Failure alle(bool nurMitDateien) {
    return laufen([this, nurMitDateien](std::int32_t ebene) {
      if (pfad_.size() > schnitt_) {
        aufzeichnen(ebene);
        const std::int32_t dateien =
            maske_ != nullptr ? DateienEintragen(tabelle_, tabelle_.size() - 1, eintraege_) : -1;
        if (!(nurMitDateien && ebene == 0 && dateien == 0)) ++zaehler_;
      }
    });
  }

  void setzeMaske(const std::string& maske) {
    if (maske.empty()) return;
    auto passend = std::make_shared<const DateiMaske>(maske);
    maske_ = passend.get();
    filter_.resolveLinks = true;  // links to folders are not files
    // Called by the reading threads too, which may outlive the walk: it
    // holds the mask itself and only reads it.
    filter_.keep = [passend](std::string_view name, EntryKind kind) {
      return istDatei(kind) ? passend->passt(name) : istUnterordner(name, kind);
    };
  }

  // Drops records beyond the counter (a start folder without matching files).
  void abschliessen() {
    if (tabelle_.size() > static_cast<std::size_t>(zaehler_)) tabelle_.resize(zaehler_);
  }

 private:
  // Sub-folders are real folders that the platform does not hide. Links to
  // folders are never entered, so no walk can loop.
  static bool istUnterordner(std::string_view /*name*/, EntryKind kind) {
    return kind == EntryKind::Folder;
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
  platform::Failure laufen(Besuchen besuchen) {
    using platform::Failure;
    std::vector<Stufe> weg;
    besuchen(0);
    weg.push_back({0, 0});
    while (!weg.empty()) {
      const Stufe hier = weg.back();
      const TreeReader::Step schritt = leser_->enterNext(eintraege_);
      if (schritt.failure == Failure::Cancelled || schritt.failure == Failure::NoMemory) return schritt.failure;
      if (schritt.name != nullptr) {
        // A folder that cannot be listed is walked with no entries; one
        // that failed for an error is counted, its contents are missing.
        if (schritt.failure == Failure::Short || schritt.failure == Failure::Broken) ++nichtLesbar_;
        weg.push_back({hier.ebene + 1, pfad_.size()});
        AnzeigeTextAnhaengen(pfad_, *schritt.name);
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
    return Failure::None;
  }

  // Makes record Zähler (dropping one made before that was not counted).
  void aufzeichnen(std::int32_t ebene) {
    tabelle_.resize(static_cast<std::size_t>(zaehler_));
    tabelle_.Anhaengen(std::string_view(pfad_).substr(std::min(schnitt_, pfad_.size())), ebene);
  }

  void nachgeben() {
    if (lauf_.yield) lauf_.yield(zaehler_);
  }

  OrdnerTabelle& tabelle_;
  const std::int32_t ebenen_;
  std::int32_t& zaehler_;
  const SammelOptionen& lauf_;
  const std::size_t schnitt_;
  const DateiMaske* maske_ = nullptr;                  // the filter's mask, when there is one
  platform::ListFilter filter_{istUnterordner, false};  // what a listing keeps
  std::vector<Entry> eintraege_;                       // listing of the folder just entered
  std::string pfad_;                                   // list form of the current folder's path
  std::int32_t nichtLesbar_ = 0;                       // sub-folders that failed for an error
  std::optional<TreeReader> leser_;
};

// Either walk, `alle` choosing the full-path walk. Out of memory on the
// walk's thread (the table, a path, the reader's tree) ends it here, as it
// ends it in a reader: with NoMemory as the walk's failure.
SammelErgebnis Sammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen, std::int32_t& Zähler,
                       bool alle) {
  using platform::Failure;
  SammelErgebnis ergebnis;
  try {
    Walk walk(Tabelle, Optionen, Zähler);
    if (alle) walk.setzeMaske(Optionen.Maske);
    ergebnis.Fehler = walk.start(Optionen.Pfad);
    if (ergebnis.Fehler == Failure::None)
      ergebnis.Fehler = alle ? walk.alle(Optionen.NurMitDateien) : walk.endpunkte();
    if (ergebnis.Fehler == Failure::None) walk.abschliessen();
    ergebnis.NichtLesbar = walk.nichtLesbar();
  } catch (const std::bad_alloc&) {
    ergebnis.Fehler = Failure::NoMemory;
  }
  const bool startGescheitert = ergebnis.Fehler != Failure::None && ergebnis.Fehler != Failure::NoMemory &&
                                ergebnis.Fehler != Failure::Cancelled;
  ergebnis.Anzahl = ergebnis.Fehler == Failure::None ? Zähler : startGescheitert ? kStartNichtGelistet : 0;
  return ergebnis;
}

}  // namespace

SammelErgebnis EndpunkteSammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen,
                                std::int32_t& Zähler) {
  return Sammeln(Tabelle, Optionen, Zähler, false);
}

SammelErgebnis OrdnerSammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen,
                             std::int32_t& Zähler) {
  return Sammeln(Tabelle, Optionen, Zähler, true);
}

}  // namespace zweigschau
