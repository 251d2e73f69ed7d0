// zs_repaint_gap FOLDER
//
// A measurement, not a test: shows the program's window, puts FOLDER into
// the path box, clicks "Scannen" with the window's default options and
// watches the window until the scan has ended. Every paint event of the
// window or one of its controls is timed; paint events less than 2 ms apart
// belong to one repaint. It prints the scan time, the number of repaints,
// the longest gap between two repaints (the click and the end of the scan
// count as bounds), the longest wait of the event loop (a 5 ms timer) and
// the texts that lblArbeite showed when it was painted.
//
// The list goes to a recording clipboard, not the system's, so that the
// figures are the window's alone. Run it with a display (scripts/bench
// starts a private Xvfb); ZWEIGSCHAU_READ_AHEAD chooses the read-ahead.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "doubles.h"
#include "window/form1.h"

namespace {

constexpr qint64 kSameRepaintNs = 2'000'000;

// Records the paint events of one window and what its label showed.
class PaintRecorder : public QObject {
 public:
  PaintRecorder(QWidget& window, QLabel& label) : window_(window), label_(label) {}

  // Starts recording from now on; earlier records are dropped.
  void start() {
    repaints.clear();
    texts.clear();
    clock.start();
    recording = true;
  }

  std::vector<qint64> repaints;  // ns since start(), one per repaint
  QStringList texts;             // lblArbeite's texts as painted, in order, each once
  QElapsedTimer clock;
  bool recording = false;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (!recording || event->type() != QEvent::Paint) return false;
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || (widget != &window_ && !window_.isAncestorOf(widget))) return false;
    const qint64 now = clock.nsecsElapsed();
    if (repaints.empty() || now - repaints.back() >= kSameRepaintNs) repaints.push_back(now);
    if (widget == &label_ && (texts.isEmpty() || texts.back() != label_.text())) texts.push_back(label_.text());
    return false;
  }

 private:
  QWidget& window_;
  QLabel& label_;
};

// The longest gap in ms between neighbours of `times` (ns), `from` and `to`
// counting as the first and last.
double longestGapMs(const std::vector<qint64>& times, qint64 from, qint64 to) {
  qint64 longest = 0, previous = from;
  for (qint64 t : times) {
    longest = std::max(longest, t - previous);
    previous = t;
  }
  longest = std::max(longest, to - previous);
  return static_cast<double>(longest) / 1e6;
}

void printTexts(const QStringList& texts) {
  std::printf("lblArbeite painted with %lld different texts:", static_cast<long long>(texts.size()));
  for (qsizetype i = 0; i < texts.size(); ++i) {
    if (texts.size() > 12 && i == 6) {
      std::printf(" ...");
      i = texts.size() - 6;
    }
    std::printf(" \"%s\"", texts[i].toUtf8().constData());
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: zs_repaint_gap FOLDER\n");
    return 2;
  }
  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  Form1 form(zwischenablage, dialoge);
  if (form.Form_Load({}).has_value()) return 2;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    std::fprintf(stderr, "zs_repaint_gap: the window was not shown\n");
    return 2;
  }
  form.ui.txtPfadEingabe->setText(QString::fromLocal8Bit(argv[1]));
  QTest::qWait(200);  // let the window settle before the clock starts

  PaintRecorder recorder(form, *form.ui.lblArbeite);
  app.installEventFilter(&recorder);
  qint64 lastTick = 0, longestTick = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = recorder.clock.nsecsElapsed();
    longestTick = std::max(longestTick, now - lastTick);
    lastTick = now;
  });
  ticker.start(5);
  recorder.start();
  QTest::mouseClick(form.ui.cmdScannen, Qt::LeftButton);  // returns when the scan has ended
  const qint64 end = recorder.clock.nsecsElapsed();
  recorder.recording = false;
  ticker.stop();
  longestTick = std::max(longestTick, end - lastTick);

  const double seconds = static_cast<double>(end) / 1e9;
  std::printf("scan: %.3f s, %d lines, %zu list bytes, lists set: %zu\n", seconds, form.letztesErgebnis().Zeilen,
              zwischenablage.gesetzt.empty() ? std::size_t{0} : zwischenablage.gesetzt.back().size(),
              zwischenablage.gesetzt.size());
  std::printf("repaints: %zu (%.1f a second)\n", recorder.repaints.size(),
              static_cast<double>(recorder.repaints.size()) / seconds);
  std::printf("longest gap between repaints: %.1f ms\n", longestGapMs(recorder.repaints, 0, end));
  std::printf("longest wait of the event loop (5 ms timer): %.1f ms\n", static_cast<double>(longestTick) / 1e6);
  printTexts(recorder.texts);
  return 0;
}
