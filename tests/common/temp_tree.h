// Real folder trees in a temporary folder, for tests of the walks, on every
// platform. Paths are UTF-8 with the platform's separator; `schräg` shows
// that separator as "/" and the list's line end as LF, so that one expected
// text serves both platforms. POSIX-only helpers (links, modes, deep
// chains, child processes) are in temp_tree_posix.h.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/folder_handle.h"

namespace testing_tree {

namespace fs = std::filesystem;

// A UTF-8 path as the file system library takes it.
inline fs::path fsPfad(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// `text` with the platform's separator shown as "/" and its line end as
// LF (on Windows CR and LF change places, so a wrong line end still shows).
inline std::string schräg(std::string_view sicht) {
  std::string text(sicht);
  for (char& c : text) {
    if (c == platform::kSeparator)
      c = '/';
    else if (c == platform::kLineEnd)
      c = '\n';
    else if (c == '\n')
      c = platform::kLineEnd;
  }
  return text;
}

class TempTree {
 public:
  // A new empty folder below `ort` (UTF-8), the system's temporary folder
  // when it is empty.
  explicit TempTree(const std::string& ort = "") {
    std::random_device zufall;
    const fs::path basis = ort.empty() ? fs::temp_directory_path() : fsPfad(ort);
    for (int versuch = 0; versuch < 100 && root_.empty(); ++versuch) {
      const fs::path kandidat = basis / ("zweigschau-test-" + std::to_string(zufall()));
      std::error_code fehler;
      if (fs::create_directory(kandidat, fehler)) {
        const std::u8string text = kandidat.generic_u8string();
        root_.assign(text.begin(), text.end());
        for (char& c : root_)
          if (c == '/') c = platform::kSeparator;
      }
    }
    if (root_.empty()) throw std::runtime_error("temporary folder");
    // Reachable for the unprivileged tests too.
    fs::permissions(fsPfad(root_), fs::perms(0755));
  }
  virtual ~TempTree() {
    std::error_code fehler;
    fs::remove_all(fsPfad(root_), fehler);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The root with a trailing separator, as the scan run hands it to a walk.
  std::string root() const { return root_ + platform::kSeparator; }
  // `rel` ("/" between names) below the root, with the platform's separator.
  std::string path(const std::string& rel) const {
    std::string pfad = root() + rel;
    for (char& c : pfad)
      if (c == '/') c = platform::kSeparator;
    return pfad;
  }

  // Creates folders (and their parents), relative to the root.
  void folders(std::initializer_list<std::string> rels) const {
    for (const auto& rel : rels) fs::create_directories(fsPfad(path(rel)));
  }
  void file(const std::string& rel, const std::string& inhalt = "") const {
    std::ofstream datei(fsPfad(path(rel)), std::ios::binary);
    if (!datei) throw std::runtime_error("create " + rel);
    datei << inhalt;
  }
  // Removes a file or an empty folder. Windows refuses to remove a folder
  // while another thread lists it (Wine's FindFirstFileExW opens it without
  // sharing delete), as a walk's reader may just then: tried again for up
  // to a second.
  void remove(const std::string& rel) const {
    for (int versuch = 0;; ++versuch) {
      std::error_code fehler;
      fs::remove(fsPfad(path(rel)), fehler);
      if (!fehler) return;
      if (versuch == 100) throw fs::filesystem_error("remove", fsPfad(path(rel)), fehler);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 protected:
  std::string root_;
};

}  // namespace testing_tree
