// Windows folder handles: FindFirstFileExW (basic information, large
// fetches) on the \\?\ long form of the folder's path, so that paths of up
// to 32,767 characters work. A handle is the path: opening a sub-folder only
// extends it, and nothing is held between listings.
#include "platform/folder_handle.h"

#include <windows.h>

#include <cwchar>

#include "platform/entry_kind_win.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

// The longest path Windows accepts, in UTF-16 units.
constexpr std::size_t kMaxPath = 32767;

bool isDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// `path` made absolute and given the \\?\ (or \\?\UNC\) prefix, without a
// trailing backslash; empty when Windows cannot make it absolute.
std::wstring longFormOf(const std::wstring& path) {
  if (path.empty() || path.size() > kMaxPath) return {};
  std::wstring full;
  if (path.starts_with(L"\\\\?\\")) {
    full = path;
  } else {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0 || needed > kMaxPath + 1) return {};
    full.resize(needed);
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    full = full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
  }
  while (full.size() > 4 && full.back() == L'\\') full.pop_back();
  return full;
}

// Lists the folder whose long form is `path` into `out`. Returns ERROR_SUCCESS, or the error that stopped the listing
// (`out` is then empty).
DWORD listLongPath(const std::wstring& path, std::vector<Entry>& out, const EntryFilter& keep) {
  out.clear();
  if (path.size() + 2 > kMaxPath) return ERROR_FILENAME_EXCED_RANGE;
  const std::wstring pattern = path + L"\\*";
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                        nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;  // an empty drive root
  }
  do {
    if (isDotName(data.cFileName)) continue;
    std::string name = fromWide(data.cFileName);
    const EntryKind kind = entryKindOf(data.dwFileAttributes, data.dwReserved0);
    if (!keep || keep(name, kind)) out.push_back({std::move(name), kind});
  } while (FindNextFileW(search, &data));
  const DWORD error = GetLastError();
  FindClose(search);
  if (error != ERROR_NO_MORE_FILES) {
    out.clear();
    return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
  }
  return ERROR_SUCCESS;
}

// The long form of the start folder `path`, or empty when it is not a
// folder. The start folder may itself be a junction; those inside are not
// entered.
std::wstring startForm(const std::string& path) {
  std::wstring longForm = longFormOf(toWide(path));
  if (longForm.empty()) return longForm;
  const DWORD attributes = GetFileAttributesW((longForm + L'\\').c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) longForm.clear();
  return longForm;
}

// The volume root `root` as GetDriveTypeW takes it: a drive root without
// the \\?\ prefix, with which Wine reports every drive, a network drive too,
// as a fixed disk.
std::wstring shortRoot(const std::wstring& root) {
  const bool laufwerk = root.size() >= 6 && root.starts_with(L"\\\\?\\") && root[5] == L':';
  return laufwerk ? root.substr(4) : root;
}

// Rights, folders that are gone and names the system cannot take leave an
// end point; a lack of handles or memory may pass; anything else
// (ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR, ERROR_SEM_TIMEOUT,
// ERROR_IO_DEVICE, a path too long to read...) is an error that leaves the
// list short.
Failure failureOf(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS: return Failure::None;
    case ERROR_ACCESS_DENIED: case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY: case ERROR_CANT_ACCESS_FILE:
    // A name Windows cannot take (a control character, as a Linux folder
    // under Wine may hold): an end point, as it always was.
    case ERROR_INVALID_NAME:
      return Failure::Denied;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_NO_SYSTEM_RESOURCES: case ERROR_NONPAGED_SYSTEM_RESOURCES:
      return Failure::Short;
    default: return Failure::Broken;
  }
}

}  // namespace

FolderHandle::~FolderHandle() = default;
FolderHandle::FolderHandle(FolderHandle&& other) noexcept = default;
FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept = default;

Failure FolderHandle::openStart(const std::string& path, FolderHandle& out) {
  out = FolderHandle();
  out.path_ = startForm(path);
  return out.path_.empty() ? Failure::Denied : Failure::None;
}

// Windows opens nothing here: the sub-folder is reached by its path when it
// is listed, which then fails if it is missing.
Failure FolderHandle::openChild(const std::string& name, FolderHandle& out) const {
  out = FolderHandle();
  if (path_.empty()) return Failure::Denied;
  std::wstring path = path_ + L'\\' + toWide(name);
  // Longer than any Windows path: the folder is there, but cannot be read.
  if (path.size() > kMaxPath) return Failure::Broken;
  out.path_ = std::move(path);
  return Failure::None;
}

Failure FolderHandle::list(std::vector<Entry>& out, const ListFilter& filter) const {
  out.clear();
  return path_.empty() ? Failure::Denied : failureOf(listLongPath(path_, out, filter.keep));
}

bool FolderHandle::isOpen() const { return !path_.empty(); }

std::string fullPath(const std::string& path) {
  const std::wstring wide = toWide(path);
  if (wide.empty() || wide.starts_with(L"\\\\?\\")) return path;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return fromWide(full);
}

std::vector<std::string> mountsBelow(const FolderHandle&) { return {}; }

ThreadWork threadWork() {
  FILETIME created, ended, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return {};
  const auto seconds = [](const FILETIME& t) {
    return 1e-7 * static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return {-1, seconds(kernel) + seconds(user)};
}

double idleProcessorSeconds() {
  FILETIME idle, kernel, user;
  if (!GetSystemTimes(&idle, &kernel, &user)) return -1;
  return 1e-7 * static_cast<double>((static_cast<std::uint64_t>(idle.dwHighDateTime) << 32) | idle.dwLowDateTime);
}

std::size_t handleBudget() { return static_cast<std::size_t>(-1); }

bool onShare(const std::string& path) {
  const std::wstring longForm = longFormOf(toWide(path));
  if (longForm.empty()) return false;
  // A \\server\share path is a share, whether or not Windows can name its
  // volume (Wine cannot).
  if (longForm.starts_with(L"\\\\?\\UNC\\")) return true;
  // Else the drive type of the volume the folder lies on: a mapped network
  // drive counts as remote.
  std::wstring root(kMaxPath + 1, L'\0');
  if (!GetVolumePathNameW((longForm + L'\\').c_str(), root.data(), static_cast<DWORD>(root.size())))
    return false;
  root.resize(wcslen(root.c_str()));
  return GetDriveTypeW(shortRoot(root).c_str()) == DRIVE_REMOTE;
}

}  // namespace platform

namespace platform {

bool addressSpaceLimited() { return false; }

StartFailure whyStartFailed(const std::string& path) {
  const std::wstring longForm = longFormOf(toWide(path));
  if (longForm.empty()) return StartFailure::missing;
  const DWORD attribute = GetFileAttributesW(longForm.c_str());
  if (attribute == INVALID_FILE_ATTRIBUTES)
    return GetLastError() == ERROR_ACCESS_DENIED ? StartFailure::noAccess : StartFailure::missing;
  if ((attribute & FILE_ATTRIBUTE_DIRECTORY) == 0) return StartFailure::notFolder;
  return StartFailure::noAccess;
}

}  // namespace platform
