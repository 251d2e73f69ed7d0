#include "walk/list_text.h"

namespace zweigschau {

Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab) {
  // Measure first, so that a list of many megabytes is built in one block.
  std::size_t groesse = 0;
  for (const Ordner& o : Tabelle) {
    if (!NurOrdnerMitDateien) {
      groesse += o.Pfad.size() + 1;
      continue;
    }
    for (const std::string& datei : o.Dateien) groesse += o.Pfad.size() + MitTab + datei.size() + 1;
  }
  Liste liste;
  liste.Text.reserve(groesse);
  for (const Ordner& o : Tabelle) {
    if (!NurOrdnerMitDateien) {
      liste.Text.append(o.Pfad).push_back('\r');
      ++liste.Zeilen;
      continue;
    }
    for (const std::string& datei : o.Dateien) {
      liste.Text.append(o.Pfad);
      if (MitTab) liste.Text.push_back('\t');
      liste.Text.append(datei).push_back('\r');
      ++liste.Zeilen;
    }
  }
  return liste;
}

}  // namespace zweigschau
