// The folder table that the walks fill and the list text reads.
//
// The table is two arenas and two small index arrays. Every recorded path
// is stored once, in list form and followed by its line end (a carriage
// return on Windows, a line feed on POSIX: platform::kLineEnd), in one
// growing block of text, so that the folder lines of the list are that block
// itself. The file names of the records lie in a second block. A record
// holds where its path ends, its level and where its file names lie: 16
// bytes, plus 16 for a record with file names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace zweigschau {

// A block of bytes that only grows at its end (and may be cut back); large
// blocks grow without being copied (platform::growBlock).
class Bytes {
 public:
  Bytes() = default;
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  Bytes(Bytes&& other) noexcept;
  Bytes& operator=(Bytes&& other) noexcept;
  ~Bytes();

  // Appends `text`; throws std::bad_alloc, leaving the block as it was.
  void append(std::string_view text);
  // Makes room for `size` bytes in all, at once; throws std::bad_alloc.
  void reserve(std::size_t size);
  // Cuts the block back to its first `size` bytes (size <= this->size()).
  void cut(std::size_t size) { size_ = size; }
  // The bytes before `end` are never read again: their memory is given
  // back, in steps of at least a megabyte. Afterwards the block may only be
  // read behind `end`, moved and destroyed.
  void release(std::size_t end) noexcept;
  std::size_t size() const { return size_; }
  std::string_view view() const { return {data_, size_}; }
  std::string_view view(std::size_t from, std::size_t to) const { return {data_ + from, to - from}; }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  const char* released_ = nullptr;  // end of the memory given back
};

class OrdnerTabelle;

// The matching file names of one record, in listing order: a view into its
// table, valid while the table is not changed.
class DateiListe {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator(const DateiListe* liste, std::size_t i) : liste_(liste), i_(i) {}
    std::string_view operator*() const { return (*liste_)[i_]; }
    const_iterator& operator++() { ++i_; return *this; }
    bool operator==(const const_iterator& other) const { return i_ == other.i_; }
    difference_type operator-(const const_iterator& other) const {
      return static_cast<difference_type>(i_) - static_cast<difference_type>(other.i_);
    }

   private:
    const DateiListe* liste_;
    std::size_t i_;
  };
  using value_type = std::string_view;
  using iterator = const_iterator;

  DateiListe() = default;
  DateiListe(const OrdnerTabelle* tabelle, std::size_t erste, std::size_t anzahl)
      : tabelle_(tabelle), erste_(erste), anzahl_(anzahl) {}
  std::size_t size() const { return anzahl_; }
  bool empty() const { return anzahl_ == 0; }
  std::string_view operator[](std::size_t i) const;
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, anzahl_}; }
  friend bool operator==(const DateiListe& a, const std::vector<std::string>& b);

 private:
  const OrdnerTabelle* tabelle_ = nullptr;
  std::size_t erste_ = 0;
  std::size_t anzahl_ = 0;
};

// One recorded folder: a view into its table, valid while the table is not
// changed.
struct Ordner {
  // The folder's path in list form (see AnzeigeText), always ending in the
  // separator; the whole path or the part behind the start folder.
  std::string_view Pfad;
  // 0 = start folder, 1 = its sub-folders, and so on.
  std::int32_t Ebene = 0;
  // Index of the last name in Dateien; -1 while there is none.
  std::int32_t LetzterDateiIndex = -1;
  // Matching file names in list form, in listing order.
  DateiListe Dateien;
};

// Records in the order the walk made them.
class OrdnerTabelle {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Ordner;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Ordner;
    const_iterator(const OrdnerTabelle* tabelle, std::size_t i) : tabelle_(tabelle), i_(i) {}
    Ordner operator*() const { return (*tabelle_)[i_]; }
    const_iterator& operator++() { ++i_; return *this; }
    bool operator==(const const_iterator& other) const { return i_ == other.i_; }

   private:
    const OrdnerTabelle* tabelle_;
    std::size_t i_;
  };

  // Appends a record for the folder with the list-form path `Pfad` at level
  // `Ebene`, without file names. Throws std::bad_alloc, leaving the table
  // as it was.
  void Anhängen(std::string_view Pfad, std::int32_t Ebene);
  // Gives record `Index` the file names `Namen` (list form, in listing
  // order) in place of those it had.
  void DateienSetzen(std::size_t Index, const std::vector<std::string_view>& Namen);
  // Keeps the first `Anzahl` records; more than there are adds records with
  // an empty path at level 0.
  void resize(std::size_t Anzahl);
  void clear();

  // For a reader that goes through the records once, in order, and then
  // empties the table: the records before `Index` are never read again,
  // so the memory of their paths and file names is given back.
  void Freigeben(std::size_t Index) noexcept;
  // Empties the table and hands over its text block: the folder lines.
  Bytes OrdnerzeilenAbgeben();

  std::size_t size() const { return sätze_.size(); }
  bool empty() const { return sätze_.empty(); }
  Ordner operator[](std::size_t Index) const;
  Ordner back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  // The paths of all records, each followed by its line end: the
  // folder lines of the list, as one block.
  std::string_view Ordnerzeilen() const { return text_.view(); }

 private:
  friend class DateiListe;
  struct Satz {
    std::uint64_t textEnde;  // end of the path's line (behind its line end) in text_
    std::int32_t ebene;
  };
  struct Dateien {
    std::uint64_t erste = 0;  // index of the first name in namenEnde_
    std::uint64_t anzahl = 0;
  };
  std::size_t textAnfang(std::size_t index) const { return index == 0 ? 0 : sätze_[index - 1].textEnde; }
  std::string_view name(std::size_t index) const;

  Bytes text_;                       // the paths, each with its line end
  std::deque<Satz> sätze_;          // one per record
  std::deque<Dateien> dateien_;      // one per record once any record has files
  Bytes namen_;                      // the file names, one after another
  std::deque<std::uint64_t> namenEnde_;  // where each name ends in namen_
  // Names lie in record order while no record got its names before a
  // record in front of it; only then can Freigeben give names back.
  bool namenGeordnet_ = true;
  std::size_t letzterMitNamen_ = 0;  // 1 + highest index given names
  std::size_t freigegeben_ = 0;      // records before this one are given back
  std::size_t namenFreiBis_ = 0;     // end of their names in namen_
};

}  // namespace zweigschau
