// Windows folder listing: FindFirstFileExW (basic information, large
// fetches) on the \\?\ long form of the current folder's path, so that paths
// of up to 32,767 characters work. Each level only extends the path; no
// handle is held between listings.
#include "platform/filesystem.h"

#include <windows.h>

#include "platform/listing_order.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

// The longest path Windows accepts, in UTF-16 units.
constexpr std::size_t kMaxPath = 32767;

EntryKind kindOf(DWORD attributes) {
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return link ? EntryKind::OtherLink : EntryKind::File;
  // Junctions and folder links are reparse points: never entered.
  if (link) return EntryKind::FolderLink;
  // Read-only and archive folders count; hidden and system ones do not.
  if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return EntryKind::HiddenFolder;
  return EntryKind::Folder;
}

bool istPunktName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// `path` made absolute and given the \\?\ (or \\?\UNC\) prefix, without a
// trailing backslash; empty when Windows cannot make it absolute.
std::wstring langeForm(const std::wstring& path) {
  if (path.empty() || path.size() > kMaxPath) return {};
  std::wstring voll;
  if (path.starts_with(L"\\\\?\\")) {
    voll = path;
  } else {
    const DWORD noetig = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (noetig == 0 || noetig > kMaxPath + 1) return {};
    voll.resize(noetig);
    const DWORD laenge = GetFullPathNameW(path.c_str(), noetig, voll.data(), nullptr);
    if (laenge == 0 || laenge >= noetig) return {};
    voll.resize(laenge);
    voll = voll.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + voll.substr(2) : L"\\\\?\\" + voll;
  }
  while (voll.size() > 4 && voll.back() == L'\\') voll.pop_back();
  return voll;
}

}  // namespace

struct FolderChain::State {
  std::wstring path;                  // long form of the current folder
  std::vector<std::size_t> lengths;  // path length of each level
};

FolderChain::FolderChain() : state_(std::make_unique<State>()) {}

FolderChain::~FolderChain() = default;

std::size_t FolderChain::depth() const { return state_->lengths.size(); }

bool FolderChain::start(const std::string& path) {
  state_->lengths.clear();
  state_->path = langeForm(toWide(path));
  if (state_->path.empty()) return false;
  // The start folder may itself be a junction; those inside are not entered.
  const DWORD attributes = GetFileAttributesW((state_->path + L'\\').c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    state_->path.clear();
    return false;
  }
  state_->lengths.push_back(state_->path.size());
  return true;
}

bool FolderChain::enter(const std::string& name) {
  const bool gut = !state_->lengths.empty();
  state_->path += L'\\';
  state_->path += toWide(name);
  state_->lengths.push_back(state_->path.size());
  return gut && state_->path.size() <= kMaxPath;
}

void FolderChain::leave() {
  if (state_->lengths.empty()) return;
  state_->lengths.pop_back();
  state_->path.resize(state_->lengths.empty() ? 0 : state_->lengths.back());
}

bool FolderChain::list(std::vector<Entry>& out, bool /*resolveLinks*/, const EntryFilter& keep) {
  out.clear();
  if (state_->lengths.empty() || state_->path.size() + 2 > kMaxPath) return false;
  const std::wstring muster = state_->path + L"\\*";
  WIN32_FIND_DATAW data;
  const HANDLE suche = FindFirstFileExW(muster.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                        nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (suche == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // empty drive root
  do {
    if (istPunktName(data.cFileName)) continue;
    std::string name = fromWide(data.cFileName);
    const EntryKind kind = kindOf(data.dwFileAttributes);
    if (!keep || keep(name, kind)) out.push_back({std::move(name), kind});
  } while (FindNextFileW(suche, &data));
  const bool ganz = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(suche);
  if (!ganz) {
    out.clear();
    return false;
  }
  sortEntries(out);
  return true;
}

bool listFolder(const std::string& path, std::vector<Entry>& out, bool resolveLinks,
                const EntryFilter& keep) {
  FolderChain chain;
  if (!chain.start(path)) {
    out.clear();
    return false;
  }
  return chain.list(out, resolveLinks, keep);
}

}  // namespace platform
