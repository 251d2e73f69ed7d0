// zs_bench_walk DIR [REPEATS]
//
// Times the folder walks on a warm tree against the bare reference walk
// (bench/reference_walk.h), all in this process, the modes taking turns,
// best of REPEATS runs each. A run is the walk plus the list text, the way a
// scan run does it; freeing the table afterwards is not timed. Each walk
// runs twice: with the read-ahead that suits the tree's file system
// (readAheadFor, which ZWEIGSCHAU_READ_AHEAD overrides) and
// serially, every folder read on the walk's thread.
//
// Peak memory is measured per mode in a fresh process (this program started
// again with --peak MODE DIR), which runs that mode once and reads its own
// high-water mark (VmHWM) while table and text are still alive.
//
// Targets: time ≤ 1.15 × the reference doing the same work, end points with
// read-ahead ≤ 0.9 ×; peak memory ≤ 2.5 × list text bytes + 40 MiB, and
// with read-ahead ≤ the serial walk's peak + 16 MiB. A figure over its
// target is marked FAIL. The program is a report: it exits with 0 whatever
// the figures are, and with 2 only when it cannot run at all.
//
// zs_bench_walk --once MODE DIR runs one mode once, cold or warm as the tree
// is, and prints "seconds records lines text-sum peak-kB" (MODE: reference, ends,
// ends-serial, paths, paths-serial); scripts/bench uses it on slow shares.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/reference_walk.h"
#include "platform/folder_handle.h"
#include "walk/list_text.h"
#include "walk/ordner_tabelle.h"
#include "walk/walks.h"

namespace {

constexpr double kTimeTarget = 1.15;
constexpr double kEndsTimeTarget = 0.9;  // end points with read-ahead
constexpr double kReadAheadMemMiB = 16.0;  // over the serial walk's peak
constexpr double kMemFactor = 2.5;
constexpr double kMemBaseMiB = 40.0;
constexpr double kMiB = 1024.0 * 1024.0;

enum Mode {
  kRefFolders, kRefMp3,
  kEnds, kEndsSerial,
  kPaths, kPathsSerial,
  kPathsMp3, kPathsMp3Serial,
  kModeCount
};

const char* const kModeNames[kModeCount] = {
    "reference, folder lines",    "reference, *.mp3 lines",
    "end points (EndpunkteSammeln)", "end points, serial",
    "full paths (OrdnerSammeln)", "full paths, serial",
    "full paths, *.mp3 file lines", "full paths, *.mp3, serial"};

// The names --once knows the modes by (the *.mp3 modes are not offered).
const char* const kModeKeys[kModeCount] = {"reference", "", "ends", "ends-serial",
                                           "paths",     "paths-serial", "", ""};

// The reference each mode is measured against: the one doing the same work.
constexpr Mode kYardstick[kModeCount] = {kRefFolders, kRefFolders, kRefFolders, kRefFolders,
                                         kRefFolders, kRefFolders, kRefMp3,     kRefMp3};

bool isReference(Mode m) { return m == kRefFolders || m == kRefMp3; }
bool isSerial(Mode m) { return m == kEndsSerial || m == kPathsSerial || m == kPathsMp3Serial; }
bool isReadAhead(Mode m) { return !isReference(m) && !isSerial(m); }
// The serial twin of a read-ahead mode.
Mode serialOf(Mode m) { return static_cast<Mode>(m + 1); }

struct Run {
  std::int64_t records = 0;  // table records (folders listed, for the reference)
  std::int64_t lines = 0;
  std::size_t bytes = 0;
  double walkSecs = 0, textSecs = 0;
  double total() const { return walkSecs + textSecs; }
  std::string text;  // kept only when asked for
  bool ok = false;
};

double since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// One run of a mode on the tree at `dir` (ending in "/"). With `keepText`
// the list text is returned in the result.
Run runMode(Mode mode, const std::string& dir, bool keepText) {
  Run run;
  auto t0 = std::chrono::steady_clock::now();
  if (isReference(mode)) {
    zsbench::ReferenceResult r = zsbench::referenceWalk(dir, mode == kRefMp3);
    run.walkSecs = since(t0);
    run.ok = r.ok;
    run.records = r.folders;
    run.lines = r.lines;
    run.bytes = r.text.size();
    if (keepText) run.text = std::move(r.text);
    return run;
  }
  zweigschau::OrdnerTabelle tabelle;
  std::int32_t zähler = 0;
  std::int64_t yields = 0;
  zweigschau::YieldFn yield = [&yields](std::int32_t) { ++yields; };
  zweigschau::SammelOptionen lauf{.Pfad = dir, .yield = yield};
  if (isSerial(mode)) lauf.readAhead = zweigschau::ReadAhead{0, 0, false};
  const bool mp3 = mode == kPathsMp3 || mode == kPathsMp3Serial;
  if (mp3) lauf.Maske = "*.mp3";
  const zweigschau::SammelErgebnis result = mode == kEnds || mode == kEndsSerial
                            ? zweigschau::EndpunkteSammeln(tabelle, lauf, zähler)
                            : zweigschau::OrdnerSammeln(tabelle, lauf, zähler);
  run.walkSecs = since(t0);
  auto t1 = std::chrono::steady_clock::now();
  run.records = static_cast<std::int64_t>(tabelle.size());
  // As the program does: the table is used up by the list.
  zweigschau::Liste liste = zweigschau::ListenText(std::move(tabelle), mp3, mp3);
  run.textSecs = since(t1);
  run.ok = result.Fehler == platform::Failure::None && result.NichtLesbar == 0;
  run.lines = liste.Zeilen;
  run.bytes = liste.Text.size();
  if (keepText) run.text = liste.Text;
  return run;
}

// Reads a "Key:   123 kB" line of /proc/self/status, in kB; -1 if missing.
long statusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  std::size_t n = std::strlen(key);
  while (std::getline(in, line))
    if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
  return -1;
}

// The --peak child: one run of the mode, then "peak_kB base_kB bytes".
int peakChild(Mode mode, const std::string& dir) {
  long baseKb = statusKb("VmHWM");
  Run run = runMode(mode, dir, false);
  long peakKb = statusKb("VmHWM");
  std::printf("%ld %ld %zu\n", peakKb, baseKb, run.bytes);
  return run.ok ? 0 : 1;
}

struct Peak {
  double peakMiB = -1, baseMiB = -1, textBytes = 0;
};

// Starts this program again as a --peak child and reads what it reports.
Peak measurePeak(Mode mode, const std::string& dir) {
  Peak peak;
  int fds[2];
  if (pipe(fds) != 0) return peak;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::string m = std::to_string(static_cast<int>(mode));
    execl("/proc/self/exe", "zs_bench_walk", "--peak", m.c_str(), dir.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string out;
  char buf[256];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  if (pid > 0) waitpid(pid, &status, 0);
  long p = 0, b = 0;
  unsigned long long bytes = 0;
  if (pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
      std::sscanf(out.c_str(), "%ld %ld %llu", &p, &b, &bytes) == 3) {
    peak.peakMiB = static_cast<double>(p) / 1024.0;
    peak.baseMiB = static_cast<double>(b) / 1024.0;
    peak.textBytes = static_cast<double>(bytes);
  }
  return peak;
}

// The lines of a list text, sorted by bytes, to compare two lists whose
// order differs (the walks sort by Unicode upper case, the reference by bytes).
std::vector<std::string_view> sortedLines(const std::string& text) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
    lines.emplace_back(text.data() + from, end - from);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Runs every mode once, keeping the texts, and says whether the walks list
// what the reference lists and whether read-ahead and serial walks give the
// same bytes.
void checkAgainstReference(const std::string& dir) {
  Run refFolders = runMode(kRefFolders, dir, true);
  Run refMp3 = runMode(kRefMp3, dir, true);
  zsbench::ReferenceResult counts = zsbench::referenceWalk(dir, false);
  Run ends = runMode(kEnds, dir, true);
  Run paths = runMode(kPaths, dir, true);
  Run pathsMp3 = runMode(kPathsMp3, dir, true);
  bool sameFolders = sortedLines(paths.text) == sortedLines(refFolders.text);
  bool sameFiles = sortedLines(pathsMp3.text) == sortedLines(refMp3.text);
  bool sameEnds = ends.lines == counts.ends;
  std::printf("check: full-path lines = reference folder lines: %s; *.mp3 file lines = reference: %s; "
              "end points %lld, reference ends %lld: %s\n",
              sameFolders ? "yes" : "NO (MISMATCH)", sameFiles ? "yes" : "NO (MISMATCH)",
              static_cast<long long>(ends.lines), static_cast<long long>(counts.ends),
              sameEnds ? "yes" : "NO (MISMATCH)");
  const Run* ahead[] = {&ends, &paths, &pathsMp3};
  std::printf("check: read-ahead text = serial text, byte for byte:");
  for (const Run* run : ahead) {
    Mode m = run == &ends ? kEnds : run == &paths ? kPaths : kPathsMp3;
    Run serial = runMode(serialOf(m), dir, true);
    bool same = run->ok && serial.ok && run->text == serial.text;
    std::printf(" %s %s;", kModeKeys[m][0] ? kModeKeys[m] : "paths *.mp3", same ? "yes" : "NO (MISMATCH)");
  }
  std::printf("\n");
}

std::string grouped(std::int64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// The time target of a mode, as a factor of its reference's time.
double timeTarget(Mode m) { return m == kEnds ? kEndsTimeTarget : kTimeTarget; }

void printTable(const std::vector<Run>& best, const std::vector<Peak>& peaks, std::int64_t folders) {
  std::printf("%-31s %9s %9s %8s %7s %7s %7s %10s %6s %6s %-4s %8s %8s %8s %-4s %8s\n", "mode", "records",
              "lines", "text MiB", "walk s", "text s", "total s", "folders/s", "x ref", "target", "",
              "x serial", "peak MiB", "target", "", "-serial");
  for (int i = 0; i < kModeCount; ++i) {
    const Mode m = static_cast<Mode>(i);
    const Run& r = best[static_cast<std::size_t>(m)];
    const Peak& p = peaks[static_cast<std::size_t>(m)];
    const bool isRef = isReference(m);
    double ratio = r.total() / best[kYardstick[m]].total();
    double target = kMemFactor * p.textBytes / kMiB + kMemBaseMiB;
    const char* timeMark = isRef ? "" : ratio <= timeTarget(m) ? "ok" : "FAIL";
    const char* memMark = p.peakMiB < 0 ? "n/a" : isRef ? "" : p.peakMiB <= target ? "ok" : "FAIL";
    std::printf("%-31s %9s %9s %8.1f %7.3f %7.3f %7.3f %10.0f %6.2f ", kModeNames[m], grouped(r.records).c_str(),
                grouped(r.lines).c_str(), static_cast<double>(r.bytes) / kMiB, r.walkSecs, r.textSecs,
                r.total(), static_cast<double>(folders) / r.total(), ratio);
    if (isRef)
      std::printf("%6s %-4s", "", "");
    else
      std::printf("%6.2f %-4s", timeTarget(m), timeMark);
    if (isReadAhead(m))
      std::printf(" %8.2f", r.total() / best[serialOf(m)].total());
    else
      std::printf(" %8s", "");
    std::printf(" %8.1f %8.1f %-4s", p.peakMiB, target, memMark);
    const Peak& s = isReadAhead(m) ? peaks[serialOf(m)] : p;
    if (isReadAhead(m) && p.peakMiB >= 0 && s.peakMiB >= 0) {
      double over = p.peakMiB - s.peakMiB;
      std::printf(" %+8.1f %s", over, over <= kReadAheadMemMiB ? "ok" : "FAIL");
    }
    std::printf("\n");
  }
  std::printf("x ref: time / time of the reference doing the same work (the *.mp3 reference for\n"
              "the *.mp3 modes, else the folder reference); target <= %.2f, end points with read-ahead <= %.2f.\n"
              "x serial: time / time of the same walk reading serially.\n"
              "peak: VmHWM of a fresh process running the mode once (start-up baseline %.1f MiB);\n"
              "target = %.1f x text + %.0f MiB; -serial: read-ahead peak - serial peak, target <= %.0f MiB.\n",
              kTimeTarget, kEndsTimeTarget, peaks[kRefFolders].baseMiB, kMemFactor, kMemBaseMiB, kReadAheadMemMiB);
  double vsPlain = best[kPathsMp3].total() / best[kRefFolders].total();
  std::printf("full paths, *.mp3 file lines against the plain folder reference: x %.2f\n", vsPlain);
}

// FNV-1a of `text`: two list texts with the same sum are the same bytes,
// for all a benchmark needs to know.
std::uint64_t textSum(const std::string& text) {
  std::uint64_t sum = 14695981039346656037ull;
  for (unsigned char c : text) sum = (sum ^ c) * 1099511628211ull;
  return sum;
}

// --once: one run of the mode named `key`, then "seconds records lines
// text-sum peak-kB" (peak: VmHWM with the table and text still alive).
int runOnce(const char* key, const std::string& dir) {
  for (int m = 0; m < kModeCount; ++m) {
    if (kModeKeys[m][0] == '\0' || std::strcmp(kModeKeys[m], key) != 0) continue;
    Run run = runMode(static_cast<Mode>(m), dir, true);
    if (!run.ok) {
      std::fprintf(stderr, "zs_bench_walk: cannot list %s\n", dir.c_str());
      return 2;
    }
    std::printf("%.3f %lld %lld %016llx %ld\n", run.total(), static_cast<long long>(run.records),
                static_cast<long long>(run.lines), static_cast<unsigned long long>(textSum(run.text)),
                statusKb("VmHWM"));
    return 0;
  }
  std::fprintf(stderr, "zs_bench_walk: unknown mode %s\n", key);
  return 2;
}

bool readInt(const char* text, long lo, long hi, long& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long mode = 0, repeats = 5;
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0 && readInt(argv[2], 0, kModeCount - 1, mode))
    return peakChild(static_cast<Mode>(mode), argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "--once") == 0) {
    std::string dir = argv[3];
    if (dir.empty() || dir.back() != '/') dir += '/';
    return runOnce(argv[2], dir);
  }
  if (argc < 2 || argc > 3 || (argc == 3 && !readInt(argv[2], 1, 1000, repeats))) {
    std::fprintf(stderr, "usage: zs_bench_walk DIR [REPEATS]\n       zs_bench_walk --once MODE DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  if (dir.empty() || dir.back() != '/') dir += '/';

  Run warm = runMode(kRefFolders, dir, false);  // warms the caches, counts the folders
  if (!warm.ok) {
    std::fprintf(stderr, "zs_bench_walk: cannot list %s\n", dir.c_str());
    return 2;
  }
  std::printf("tree %s: %s folders listed (start folder included), best of %ld\n", dir.c_str(),
              grouped(warm.records).c_str(), repeats);
  checkAgainstReference(dir);

  std::vector<Run> best(kModeCount);
  for (long rep = 0; rep < repeats; ++rep) {
    for (int k = 0; k < kModeCount; ++k) {  // the order turns each round
      int m = static_cast<int>((k + rep) % kModeCount);
      Run r = runMode(static_cast<Mode>(m), dir, false);
      Run& b = best[static_cast<std::size_t>(m)];
      if (rep == 0 || r.total() < b.total()) b = r;
    }
  }
  std::vector<Peak> peaks;
  for (int m = 0; m < kModeCount; ++m) peaks.push_back(measurePeak(static_cast<Mode>(m), dir));
  printTable(best, peaks, warm.records);
  std::fflush(stdout);
  return 0;
}
