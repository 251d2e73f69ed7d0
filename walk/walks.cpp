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
  Walk(OrdnerTabelle& table, const SammelOptionen& run, std::int32_t& count)
      : table_(table), levels_(run.Ebenen), count_(count), run_(run),
        cut_(run.StartPos > 1 ? static_cast<std::size_t>(run.StartPos - 1) : 0) {}

  // Opens and lists the start folder.
  platform::Failure start(const std::string& path) {
    path_.clear();
    AnzeigeTextAnhängen(path_, path);
    TreeReaderOptions reading;
    reading.how = run_.readAhead ? *run_.readAhead : readAheadFor(path);
    reading.levels = levels_;
    // While the walk waits for a listing the window is kept alive, with
    // the count reached so far.
    reading.whileWaiting = [this] {
      if (run_.yield) run_.yield(count_);
    };
    reading.cancel = run_.cancel;
    reader_.emplace(systemFolders(filter_), std::move(reading));
    return reader_->start(path, entries_);
  }

  // Sub-folders that could not be read for an error, so far.
  std::int32_t unreadable() const { return unreadable_; }

  // Records the ends of the tree: folders without sub-folders, and those
  // at the depth limit. None, or why the walk ended early.
  platform::Failure ends() {
    return walk([this](std::int32_t level) {
      const bool noSubFolders =
          std::none_of(entries_.begin(), entries_.end(),
                       [](const Entry& e) { return e.kind == EntryKind::Folder; });
      if ((noSubFolders || level == levels_) && level > 0) {
        record(level);
        ++count_;
      }
    });
  }

  // Records every folder before its sub-folders, with its matching files
  // when there is a mask; with onlyWithFiles the start folder is dropped
  // again when none of its files match. None, or why the walk ended early.
  platform::Failure all(bool onlyWithFiles) {
    return walk([this, onlyWithFiles](std::int32_t level) {
      if (path_.size() > cut_) {
        record(level);
        const std::int32_t files =
            mask_ != nullptr ? DateienEintragen(table_, table_.size() - 1, entries_) : -1;
        if (!(onlyWithFiles && level == 0 && files == 0)) ++count_;
      }
    });
  }

  void setMask(const std::string& maske) {
    if (maske.empty()) return;
    auto mask = std::make_shared<const DateiMaske>(maske);
    mask_ = mask.get();
    filter_.resolveLinks = true;  // links to folders are not files
    // Called by the reading threads too, which may outlive the walk: it
    // holds the mask itself and only reads it.
    filter_.keep = [mask](std::string_view name, EntryKind kind) {
      return istDatei(kind) ? mask->passt(name) : isSubFolder(name, kind);
    };
  }

  // Drops records beyond the counter (a start folder without matching files).
  void finish() {
    if (table_.size() > static_cast<std::size_t>(count_)) table_.resize(count_);
  }

 private:
  // Sub-folders are real folders that the platform does not hide. Links to
  // folders are never entered, so no walk can loop.
  static bool isSubFolder(std::string_view /*name*/, EntryKind kind) {
    return kind == EntryKind::Folder;
  }

  // A folder on the way down from the start folder to the current one.
  struct Level {
    std::int32_t level = 0;
    std::size_t pathBefore = 0;  // length of path_ in the folder above
  };

  // Walks the tree depth first from the start folder, its listing in
  // entries_. `visit(level)` handles the folder just listed. The way
  // down is kept on the heap, so the depth of the tree is not bounded by
  // the call stack; the reader knows which sub-folder comes next and stops
  // at the depth limit.
  template <typename Besuchen>
  platform::Failure walk(Besuchen visit) {
    using platform::Failure;
    std::vector<Level> way;
    visit(0);
    way.push_back({0, 0});
    while (!way.empty()) {
      const Level here = way.back();
      const TreeReader::Step step = reader_->enterNext(entries_);
      if (step.failure == Failure::Cancelled || step.failure == Failure::NoMemory) return step.failure;
      if (step.name != nullptr) {
        // A folder that cannot be listed is walked with no entries; one
        // that failed for an error is counted, its contents are missing.
        if (step.failure == Failure::Short || step.failure == Failure::Broken) ++unreadable_;
        way.push_back({here.level + 1, path_.size()});
        AnzeigeTextAnhängen(path_, *step.name);
        path_ += platform::kSeparator;
        visit(here.level + 1);
        continue;
      }
      yieldNow();
      way.pop_back();
      if (!way.empty()) {
        reader_->leave();
        path_.resize(here.pathBefore);
      }
    }
    return Failure::None;
  }

  // Makes record Zähler (dropping one made before that was not counted).
  void record(std::int32_t level) {
    table_.resize(static_cast<std::size_t>(count_));
    table_.Anhängen(std::string_view(path_).substr(std::min(cut_, path_.size())), level);
  }

  void yieldNow() {
    if (run_.yield) run_.yield(count_);
  }

  OrdnerTabelle& table_;
  const std::int32_t levels_;
  std::int32_t& count_;
  const SammelOptionen& run_;
  const std::size_t cut_;
  const DateiMaske* mask_ = nullptr;                  // the filter's mask, when there is one
  platform::ListFilter filter_{isSubFolder, false};  // what a listing keeps
  std::vector<Entry> entries_;                       // listing of the folder just entered
  std::string path_;                                   // list form of the current folder's path
  std::int32_t unreadable_ = 0;                       // sub-folders that failed for an error
  std::optional<TreeReader> reader_;
};

// Either walk, `all` choosing the full-path walk. Out of memory on the
// walk's thread (the table, a path, the reader's tree) ends it here, as it
// ends it in a reader: with NoMemory as the walk's failure.
SammelErgebnis Sammeln(OrdnerTabelle& Tabelle, const SammelOptionen& Optionen, std::int32_t& Zähler,
                       bool all) {
  using platform::Failure;
  SammelErgebnis result;
  try {
    Walk walk(Tabelle, Optionen, Zähler);
    if (all) walk.setMask(Optionen.Maske);
    result.Fehler = walk.start(Optionen.Pfad);
    if (result.Fehler == Failure::None)
      result.Fehler = all ? walk.all(Optionen.NurMitDateien) : walk.ends();
    if (result.Fehler == Failure::None) walk.finish();
    result.NichtLesbar = walk.unreadable();
  } catch (const std::bad_alloc&) {
    result.Fehler = Failure::NoMemory;
  }
  const bool startFailed = result.Fehler != Failure::None && result.Fehler != Failure::NoMemory &&
                                result.Fehler != Failure::Cancelled;
  result.Anzahl = result.Fehler == Failure::None ? Zähler : startFailed ? kStartNichtGelistet : 0;
  return result;
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
