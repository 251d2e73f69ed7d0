// zs_make_tree DIR FOLDERS [SEED [FILES]]
//
// Makes a folder tree for the benchmark: exactly FOLDERS folders below DIR
// (DIR itself not counted), shaped like a music or document collection.
// The same FOLDERS and SEED always give the same tree, byte for byte.
//
// Shape: DIR holds 8-12 top folders; below that a folder has 0-12
// sub-folders (few more often than many, more ends the deeper it lies),
// down to level 12. About 1.5 % of the folders are hidden (leading dot) and
// have nothing below them. Every folder holds 0-6 files (or FILES): "*.mp3" (some
// "*.MP3"), "*.jpg" and "*.txt", now and then a hidden file. Names have
// blanks, umlauts and ß in mixed case, so that the listing order matters.
//
// The tree is planned in memory first, then created depth-first with
// mkdirat/openat relative to the open parent, which keeps it fast on tmpfs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kMaxDepth = 12;

// splitmix64: small, fast and the same on every platform and compiler.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [lo, hi].
  int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
  // True with probability p.
  bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }
  template <std::size_t N>
  const char* pick(const char* const (&list)[N]) { return list[next() % N]; }

 private:
  std::uint64_t state_;
};

const char* const kTopNames[] = {
    "Musik", "Dokumente", "Hörbücher", "Fotos", "Übungen", "Straßenkarten",
    "Rechnungen", "Projekte", "Videos", "Noten", "Schule", "Urlaub",
    "Backup", "Ältere Sachen", "Öffentlich", "Downloads"};

const char* const kWords[] = {
    "Die Ärzte", "Björk", "Mötley Crüe", "Straße", "Größe", "Über", "über",
    "Äpfel", "äpfel", "Öl", "Zebra", "zebra", "Band", "Live", "Best of",
    "Sommer", "Winter", "Bären", "Fußball", "Köln", "München", "Zürich",
    "Heinz", "Anna", "Jürgen", "Weiß", "Schwarz", "Grün", "Blau", "Radio",
    "Konzert", "Demo", "Mix", "Tänze", "Lieder", "Motörhead", "AC DC",
    "Queen", "Kraftwerk", "Nena", "Brüder", "Schätze", "Kürbis", "Hütte",
    "a", "B", "c", "Ä", "ß", "Z", "Oper", "Jazz", "Rock", "Volk"};

const char* const kSuffixes[] = {" (1979)", " (1998)", " (2004)", " CD 1", " CD 2",
                                 " - Live", " [Remaster]", " Teil 2", " II", " 3"};

const char* const kTitles[] = {"Intro", "Straße nach Süden", "Über den Wolken",
                               "Grüße", "Zugabe", "Ärger", "Öde", "Finale",
                               "Lied", "Tanz", "Schluss", "Morgen"};

struct Node {
  std::uint32_t parent;
  std::uint8_t depth;
  bool hidden;
  std::string name;
  std::vector<std::uint32_t> children;
};

// Applies one of the case styles a real collection shows.
std::string styled(std::string s, Rng& rng) {
  int style = rng.range(0, 9);
  if (style == 0) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  } else if (style == 1) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::string folderName(const Node& parent, Rng& rng) {
  // Texts are put together with append, one random choice per statement,
  // so that the order of the choices (and with it the tree) is fixed.
  if (rng.chance(0.015)) {
    std::string s = ".";
    s.append(styled(rng.pick(kWords), rng));
    if (rng.chance(0.5)) s.append(" cache");
    return s;
  }
  if (parent.depth == 0) return rng.pick(kTopNames);
  std::string s = styled(rng.pick(kWords), rng);
  if (rng.chance(0.5)) {
    s.push_back(' ');
    s.append(styled(rng.pick(kWords), rng));
  }
  if (rng.chance(0.35)) s += rng.pick(kSuffixes);
  return s;
}

bool takenAmong(const std::vector<Node>& nodes, const Node& parent, const std::string& name) {
  for (std::uint32_t c : parent.children)
    if (nodes[c].name == name) return true;
  return false;
}

// How many sub-folders a folder at this depth gets when it is expanded.
int fanOut(int depth, Rng& rng) {
  if (depth == 0) return rng.range(8, 12);
  if (depth >= kMaxDepth) return 0;
  if (rng.chance(0.15 + 0.05 * depth)) return 0;
  return rng.range(1, 12);
}

// Plans the tree: `folders` nodes below the root (node 0). Folders are
// expanded in random order, so that ends lie at every depth.
std::vector<Node> plan(std::uint32_t folders, std::uint64_t seed) {
  Rng rng(seed);
  std::vector<Node> nodes;
  nodes.reserve(folders + 1);
  nodes.push_back(Node{0, 0, false, "", {}});
  std::vector<std::uint32_t> frontier{0};  // open folders from index `head` on
  std::size_t head = 0;
  std::uint32_t made = 0;
  while (made < folders) {
    if (head == frontier.size()) {  // everything was an end: widen a random open folder
      std::uint32_t i = static_cast<std::uint32_t>(rng.next() % nodes.size());
      if (!nodes[i].hidden && nodes[i].depth < kMaxDepth) frontier.push_back(i);
      continue;
    }
    // Mostly the oldest open folder, now and then any: levels fill roughly
    // in order, yet some branches reach deep.
    std::size_t at = rng.chance(0.85) ? head : head + rng.next() % (frontier.size() - head);
    std::swap(frontier[at], frontier[head]);
    std::uint32_t p = frontier[head++];
    int k = std::max(fanOut(nodes[p].depth, rng), p == 0 && nodes[0].children.empty() ? 1 : 0);
    for (int j = 0; j < k && made < folders; ++j) {
      const std::string base = folderName(nodes[p], rng);
      std::string name = base;
      for (int n = 2; takenAmong(nodes, nodes[p], name); ++n) name = base + ' ' + std::to_string(n);
      Node child{p, static_cast<std::uint8_t>(nodes[p].depth + 1), name[0] == '.', std::move(name), {}};
      nodes.push_back(std::move(child));
      std::uint32_t id = static_cast<std::uint32_t>(nodes.size() - 1);
      nodes[p].children.push_back(id);
      if (!nodes[id].hidden) frontier.push_back(id);
      ++made;
    }
  }
  return nodes;
}

// Files per folder when given (a file-heavy tree); -1: 0-6 by chance.
int filesPerFolder = -1;

// The files of one folder; chosen from the folder's own seed, so they do not
// depend on the order in which folders are created.
std::vector<std::string> filesOf(std::uint32_t id, std::uint64_t seed) {
  Rng rng(seed * 0x2545F4914F6CDD1DULL + id + 1);
  std::vector<std::string> files;
  int n = rng.range(0, 6);
  if (filesPerFolder >= 0) n = filesPerFolder;
  for (int i = 0; i < n; ++i) {
    int kind = rng.range(0, 7);
    std::string f = i < 9 ? "0" : "";
    f.append(std::to_string(i + 1));
    if (kind <= 3) {
      f.append(" - ");
      f.append(styled(rng.pick(kTitles), rng));
      f.append(kind == 3 ? ".MP3" : ".mp3");
    } else if (kind <= 5) {
      f.append(kind == 4 ? " Cover.jpg" : " folder.JPG");
    } else if (kind == 6) {
      f.append(" Liesmich ");
      f.append(rng.pick(kTitles));
      f.append(".txt");
    } else {
      f.insert(f.begin(), '.');
      f.append(" versteckt.mp3");
    }
    files.push_back(std::move(f));
  }
  return files;
}

struct Counts {
  std::uint64_t folders = 0, hidden = 0, files = 0;
  int maxDepth = 0;
};

bool createFiles(int dirFd, std::uint32_t id, std::uint64_t seed, Counts& counts) {
  for (const std::string& f : filesOf(id, seed)) {
    int fd = openat(dirFd, f.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
      std::fprintf(stderr, "zs_make_tree: cannot create file %s: %s\n", f.c_str(), std::strerror(errno));
      return false;
    }
    close(fd);
    ++counts.files;
  }
  return true;
}

// Creates the sub-folders of node `id` (open as dirFd) and everything below.
bool createBelow(int dirFd, const std::vector<Node>& nodes, std::uint32_t id, std::uint64_t seed,
                 Counts& counts) {
  for (std::uint32_t c : nodes[id].children) {
    const Node& n = nodes[c];
    if (mkdirat(dirFd, n.name.c_str(), 0755) != 0) {
      std::fprintf(stderr, "zs_make_tree: cannot make %s: %s\n", n.name.c_str(), std::strerror(errno));
      return false;
    }
    ++counts.folders;
    if (n.hidden) ++counts.hidden;
    counts.maxDepth = std::max(counts.maxDepth, static_cast<int>(n.depth));
    int fd = openat(dirFd, n.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      std::fprintf(stderr, "zs_make_tree: cannot open %s: %s\n", n.name.c_str(), std::strerror(errno));
      return false;
    }
    bool ok = createFiles(fd, c, seed, counts) && createBelow(fd, nodes, c, seed, counts);
    close(fd);
    if (!ok) return false;
  }
  return true;
}

// True when the folder open as fd holds no entries besides "." and "..".
bool isEmpty(int fd) {
  DIR* d = fdopendir(dup(fd));
  if (d == nullptr) return false;
  bool empty = true;
  while (dirent* e = readdir(d))
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) empty = false;
  closedir(d);
  return empty;
}

bool readNumber(const char* text, std::uint64_t& out) {
  char* end = nullptr;
  errno = 0;
  unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0') return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t folders = 0, seed = 1, files = 0;
  if (argc < 3 || argc > 5 || !readNumber(argv[2], folders) || folders > 50'000'000 ||
      (argc >= 4 && !readNumber(argv[3], seed)) ||
      (argc == 5 && (!readNumber(argv[4], files) || files > 10'000))) {
    std::fprintf(stderr, "usage: zs_make_tree DIR FOLDERS [SEED [FILES]]\n"
                         "  makes exactly FOLDERS folders below DIR (a new or empty folder),\n"
                         "  with FILES files in each (default: 0 to 6)\n");
    return 2;
  }
  if (argc == 5) filesPerFolder = static_cast<int>(files);
  const char* dir = argv[1];
  if (mkdir(dir, 0755) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "zs_make_tree: cannot make %s: %s\n", dir, std::strerror(errno));
    return 1;
  }
  int root = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (root < 0) {
    std::fprintf(stderr, "zs_make_tree: cannot open %s: %s\n", dir, std::strerror(errno));
    return 1;
  }
  if (!isEmpty(root)) {
    std::fprintf(stderr, "zs_make_tree: %s is not empty\n", dir);
    close(root);
    return 1;
  }
  auto t0 = std::chrono::steady_clock::now();
  std::vector<Node> nodes = plan(static_cast<std::uint32_t>(folders), seed);
  Counts counts;
  bool ok = createBelow(root, nodes, 0, seed, counts);
  close(root);
  if (!ok) return 1;
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("zs_make_tree: %s: %llu folders (%llu hidden), %llu files, depth %d, seed %llu, %.2f s\n",
              dir, static_cast<unsigned long long>(counts.folders),
              static_cast<unsigned long long>(counts.hidden),
              static_cast<unsigned long long>(counts.files), counts.maxDepth,
              static_cast<unsigned long long>(seed), secs);
  return 0;
}
