// A scan run on the doubles of the window and the clipboard.
#pragma once

#include <atomic>
#include <string>

#include "run/scan_run.h"
#include "test_doubles.h"

namespace scan_doubles {

using namespace zweigschau;

struct Umgebung {
  testing_doubles::TestSteuerelemente fenster;
  testing_doubles::TestAblage ablage;
  OrdnerTabelle tabelle;
  ScanErgebnis lauf(std::string& pfad, bool mitStart, std::int32_t ebenen, bool nurEnden,
                    const std::string& maske = "", bool nurMitDateien = false) {
    ScanOptionen optionen{pfad, mitStart, ebenen, nurEnden, maske, nurMitDateien};
    const ScanErgebnis ergebnis = ListeErstellen(fenster, ablage, tabelle, optionen, &fenster.abbruch);
    pfad = optionen.Pfad;
    return ergebnis;
  }
};

}  // namespace scan_doubles
