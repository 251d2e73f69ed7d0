#include "walk/list_text.h"

#include <algorithm>

namespace zweigschau {
namespace {

// One line per stored file name, measured first, so that a list of many
// megabytes is built in one block.
void DateiZeilen(const OrdnerTabelle& Tabelle, bool MitTab, Liste& liste) {
  std::size_t groesse = 0;
  for (const Ordner o : Tabelle)
    for (std::string_view datei : o.Dateien) groesse += o.Pfad.size() + MitTab + datei.size() + 1;
  liste.Block = std::make_unique<std::string>();
  std::string& text = *liste.Block;
  text.reserve(groesse);
  for (const Ordner o : Tabelle) {
    for (std::string_view datei : o.Dateien) {
      text.append(o.Pfad);
      if (MitTab) text.push_back('\t');
      text.append(datei).push_back('\r');
      ++liste.Zeilen;
    }
  }
  liste.Text = text;
}

}  // namespace

Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab) {
  Liste liste;
  if (NurOrdnerMitDateien) {
    DateiZeilen(Tabelle, MitTab, liste);
  } else {
    // Every record's path is stored with its line end: the table's text
    // block is the list.
    liste.Text = Tabelle.Ordnerzeilen();
    liste.Zeilen = static_cast<std::int32_t>(Tabelle.size());
  }
  return liste;
}

}  // namespace zweigschau
