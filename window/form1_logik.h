// Form1's handlers and control rules, once for every toolkit: the file
// fields follow the listing mode and "&Dateien", every input change hides
// the result labels, "Scannen" gathers the options for a scan run, the
// start-up chooses between usage box, batch run and window, "&Ordner" asks
// the folder picker. The controls are reached through Steuerelemente only.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "run/scan_run.h"
#include "startup/command_line.h"
#include "walk/ordner_tabelle.h"
#include "window/ordner_wahl.h"
#include "run/steuerelemente.h"

namespace zweigschau {

class Form1Logik {
 public:
  // Rules over `fenster`'s controls; lists go to `zwischenablage`. Both
  // must outlive this object; `fenster` is not used before the first call.
  Form1Logik(Steuerelemente& fenster, platform::Clipboard& zwischenablage);
  virtual ~Form1Logik();

  // Start-up, before the window is shown. Returns the exit status when the
  // program must end instead of showing the window: 0 after the usage box
  // ("/?"); after a batch run ("/o:") 0 = list on the clipboard, 1 = start
  // folder not found or path empty, 2 = no folder recorded or no line
  // written, 3 = clipboard not reachable (a failing batch run prints one
  // line on stderr). nullopt: interactive start, the file fields are set
  // for the selected listing mode, a folder given without a key is in the
  // path box, and the caller shows the window.
  std::optional<int> Form_Load(const StartEntscheidung& start);

  // Enables "mit Tab" as `AnAus` says and the other three file fields when
  // `AnAus` is true and "&Dateien" is checked.
  void DateiFelderAnAus(bool AnAus);

  // Hides the four status labels and, while the window is shown, moves the
  // keyboard focus to the path box.
  void AusgabeZeilenAusschalten();

  // Shows the usage box (eight lines) and waits until it is closed; with
  // `UndBeenden` the program is ended afterwards.
  void Anleitung(bool UndBeenden);

  // Event handlers; each toolkit window calls them from its events.
  void cbDateien_Click();
  void cbinkl_Click();
  void optAlleOderLetzte_Click(int Index);
  void txtPfadEingabe_Change();
  void cmdScannen_Click();
  void cmdOrdnerWählen_Click();
  void cmdEnde_Click();
  void Form_DblClick();

  // Items dropped onto the window (UTF-8 paths, in the order of the drag):
  // the first folder among them, or else the folder of the first file, goes
  // into the path box as a picked folder does.
  void OrdnerAbgelegt(const std::vector<std::string>& Pfade);

  // Outcome of the last scan run (interactive or batch).
  const ScanErgebnis& letztesErgebnis() const { return letztesErgebnis_; }
  // The folder table the runs fill.
  const OrdnerTabelle& tabelle() const { return tabelle_; }
  // True once the program has been ended ("Ende", Escape, closing it).
  bool beendet() const { return beendet_; }
  // True while "Scannen" runs a scan.
  bool scanLäuft() const { return scanLäuft_; }
  // Escape: cancels a running scan (the window stays); without one it ends
  // the program like "Ende".
  void Abbrechen();
  // The controls the rules and the scan runs work on.
  Steuerelemente& steuerelemente() { return fenster_; }

 private:
  Steuerelemente& fenster_;
  platform::Clipboard& zwischenablage_;
  OrdnerTabelle tabelle_;
  std::unique_ptr<OrdnerWahl> ordnerWahl_;
  ScanErgebnis letztesErgebnis_;
  bool beendet_ = false;
  bool scanLäuft_ = false;
  std::atomic<bool> abbruch_ = false;  // the running scan is to end
};

}  // namespace zweigschau
