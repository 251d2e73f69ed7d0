// The system's folders for the tree reader, and the choice of read-ahead.
#include <cstdlib>
#include <string_view>

#include "walk/read_queue.h"
#include "walk/tree_reader.h"

namespace zweigschau {
namespace {

using platform::FolderHandle;

// The largest values ZWEIGSCHAU_READ_AHEAD takes; a larger one is a typo,
// and the setting is then ignored as a whole.
constexpr unsigned long kMostReadersByHand = 256;
constexpr unsigned long kLargestWindowByHand = 1ul << 20;  // listings

class SystemFolders final : public Folders {
 public:
  explicit SystemFolders(platform::ListFilter filter) : filter_(std::move(filter)) {}

  Failure openStart(const std::string& path, std::unique_ptr<Open>& out) const override {
    FolderHandle handle;
    const Failure failure = FolderHandle::openStart(path, handle);
    return wrap(failure, std::move(handle), out);
  }
  Failure openChild(const Open& parent, const std::string& name, std::unique_ptr<Open>& out) const override {
    FolderHandle handle;
    const Failure failure = static_cast<const Handle&>(parent).handle.openChild(name, handle);
    return wrap(failure, std::move(handle), out);
  }
  Failure list(const Open& folder, std::vector<Entry>& out) const override {
    return static_cast<const Handle&>(folder).handle.list(out, filter_);
  }
  std::size_t handleBudget() const override { return platform::handleBudget(); }
  std::vector<std::string> mountsBelow(const Open& folder) const override {
    return platform::mountsBelow(static_cast<const Handle&>(folder).handle);
  }

 private:
  struct Handle final : Open {
    explicit Handle(FolderHandle h) : handle(std::move(h)) {}
    FolderHandle handle;
  };
  static Failure wrap(Failure failure, FolderHandle handle, std::unique_ptr<Open>& out) {
    out.reset();
    if (failure == Failure::None) out = std::make_unique<Handle>(std::move(handle));
    return failure;
  }

  const platform::ListFilter filter_;
};

}  // namespace

std::shared_ptr<const Folders> systemFolders(platform::ListFilter filter) {
  return std::make_shared<SystemFolders>(std::move(filter));
}

platform::Failure listFolder(const std::string& path, std::vector<Entry>& out, const platform::ListFilter& filter) {
  ReadJob job;
  job.startPath = path;
  runJob(SystemFolders(filter), job);
  out = std::move(job.entries);
  return job.failure;
}

ReadAhead readAheadFor(const std::string& path) {
  ReadAhead how = platform::onShare(path) ? kRemoteReadAhead : kLocalReadAhead;
  // Under an address-space limit every reader's stack (megabytes) comes out
  // of the list's room, and how many start depends on the limit: a larger
  // limit could then fail where a smaller one succeeded. The walk reads
  // for itself there, in as little memory as the list needs.
  if (platform::addressSpaceLimited()) how = {};
  // ZWEIGSCHAU_READ_AHEAD=READERS[,WINDOW[,share|local]] sets it by hand:
  // for measurements, tests, and file systems that are better read
  // otherwise. "share" keeps the walk's thread from reading, "local" lets it.
  if (const char* text = std::getenv("ZWEIGSCHAU_READ_AHEAD")) {
    char* end = nullptr;
    const unsigned long readers = std::strtoul(text, &end, 10);
    unsigned long window = how.window;
    bool walkReads = how.walkReads;
    if (end != text && *end == ',') window = std::strtoul(end + 1, &end, 10);
    if (end != text && *end == ',') {
      const std::string_view art(end + 1);
      walkReads = art == "local";
      end += art == "local" || art == "share" ? 1 + art.size() : 0;
    }
    if (end != text && *end == '\0' && readers <= kMostReadersByHand && window <= kLargestWindowByHand)
      how = {static_cast<unsigned>(readers), static_cast<std::size_t>(window), walkReads, Pacing::Fixed};
  }
  return how;
}

}  // namespace zweigschau
