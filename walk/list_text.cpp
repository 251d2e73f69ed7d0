#include "walk/list_text.h"

#include "platform/folder_handle.h"

namespace zweigschau {
namespace {

// One line per stored file name, measured first, so that a list of many
// megabytes is built in one block. With `abgeben` the table gives back
// the memory of every record already written.
void DateiZeilen(const OrdnerTabelle& Tabelle, bool MitTab, Liste& liste, OrdnerTabelle* abgeben) {
  std::size_t größe = 0;
  for (const Ordner o : Tabelle)
    for (std::string_view datei : o.Dateien) größe += o.Pfad.size() + MitTab + datei.size() + 1;
  liste.Block.reserve(größe);
  for (std::size_t i = 0; i < Tabelle.size(); ++i) {
    const Ordner o = Tabelle[i];
    for (std::string_view datei : o.Dateien) {
      liste.Block.append(o.Pfad);
      if (MitTab) liste.Block.append("\t");
      liste.Block.append(datei);
      liste.Block.append({&platform::kLineEnd, 1});
      ++liste.Zeilen;
    }
    if (abgeben != nullptr) abgeben->Freigeben(i + 1);
  }
  liste.Text = liste.Block.view();
}

}  // namespace

Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab) {
  Liste liste;
  if (NurOrdnerMitDateien) {
    DateiZeilen(Tabelle, MitTab, liste, nullptr);
  } else {
    // Every record's path is stored with its line end: the table's text
    // block is the list.
    liste.Text = Tabelle.Ordnerzeilen();
    liste.Zeilen = static_cast<std::int32_t>(Tabelle.size());
  }
  return liste;
}

Liste ListenText(OrdnerTabelle&& Tabelle, bool NurOrdnerMitDateien, bool MitTab) {
  Liste liste;
  if (NurOrdnerMitDateien) {
    DateiZeilen(Tabelle, MitTab, liste, &Tabelle);
    Tabelle.clear();
  } else {
    liste.Zeilen = static_cast<std::int32_t>(Tabelle.size());
    liste.Block = Tabelle.OrdnerzeilenAbgeben();
    liste.Text = liste.Block.view();
  }
  return liste;
}

}  // namespace zweigschau
