#include "walk/ordner_tabelle.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/folder_handle.h"
#include "platform/memory_block.h"

namespace zweigschau {

Bytes::Bytes(Bytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      released_(std::exchange(other.released_, nullptr)) {}

Bytes& Bytes::operator=(Bytes&& other) noexcept {
  if (this != &other) {
    platform::freeBlock(data_, capacity_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    released_ = std::exchange(other.released_, nullptr);
  }
  return *this;
}

Bytes::~Bytes() { platform::freeBlock(data_, capacity_); }

void Bytes::reserve(std::size_t size) {
  if (size <= capacity_) return;
  const std::size_t unit = platform::blockGranularity();
  const std::size_t capacity = (size + unit - 1) / unit * unit;
  data_ = static_cast<char*>(platform::growBlock(data_, size_, capacity));
  // growBlock kept only the bytes in use; the block's size is its capacity.
  capacity_ = capacity;
}

void Bytes::append(std::string_view text) {
  if (text.size() > capacity_ - size_) {
    // Doubling keeps appends cheap; the pages beyond size_ cost nothing
    // until they are written.
    std::size_t capacity = capacity_ == 0 ? 16 * platform::blockGranularity() : capacity_;
    while (capacity - size_ < text.size()) capacity *= 2;
    reserve(capacity);
  }
  if (!text.empty()) std::memcpy(data_ + size_, text.data(), text.size());
  size_ += text.size();
}

void Bytes::release(std::size_t end) noexcept {
  constexpr std::size_t kStep = 1 << 20;
  if (released_ == nullptr) released_ = data_;
  if (data_ + end - released_ >= static_cast<std::ptrdiff_t>(kStep))
    released_ = platform::releasePages(released_, data_ + end);
}

std::string_view DateiListe::operator[](std::size_t i) const { return tabelle_->name(erste_ + i); }

bool operator==(const DateiListe& a, const std::vector<std::string>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < b.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

void OrdnerTabelle::Anhängen(std::string_view Pfad, std::int32_t Ebene) {
  const std::size_t vorher = text_.size();
  try {
    text_.append(Pfad);
    text_.append({&platform::kLineEnd, 1});
    sätze_.push_back({text_.size(), Ebene});
    if (!dateien_.empty()) dateien_.push_back({});
  } catch (...) {
    if (sätze_.size() > dateien_.size() && !dateien_.empty()) sätze_.pop_back();
    text_.cut(vorher);
    throw;
  }
}

void OrdnerTabelle::DateienSetzen(std::size_t Index, const std::vector<std::string_view>& Namen) {
  if (dateien_.empty()) {
    if (Namen.empty()) return;
    dateien_.resize(sätze_.size());
  }
  // The new names go behind all others; names a record had before stay
  // unused in the block (a walk sets each record's names once).
  if (Index + 1 < letzterMitNamen_) namenGeordnet_ = false;
  letzterMitNamen_ = std::max(letzterMitNamen_, Index + 1);
  Dateien bereich{namenEnde_.size(), Namen.size()};
  for (std::string_view name : Namen) {
    namen_.append(name);
    namenEnde_.push_back(namen_.size());
  }
  dateien_[Index] = bereich;
}

void OrdnerTabelle::resize(std::size_t Anzahl) {
  while (sätze_.size() < Anzahl) Anhängen({}, 0);
  if (sätze_.size() == Anzahl) return;
  // The names of dropped records stay unused in their block until clear().
  text_.cut(textAnfang(Anzahl));
  sätze_.resize(Anzahl);
  if (!dateien_.empty()) dateien_.resize(Anzahl);
}

void OrdnerTabelle::clear() { *this = OrdnerTabelle(); }

void OrdnerTabelle::Freigeben(std::size_t Index) noexcept {
  if (Index <= freigegeben_ || Index > sätze_.size()) return;
  text_.release(textAnfang(Index));
  if (dateien_.empty() || !namenGeordnet_) {
    freigegeben_ = Index;
    return;
  }
  for (; freigegeben_ < Index; ++freigegeben_) {
    const Dateien& d = dateien_[freigegeben_];
    if (d.anzahl > 0) namenFreiBis_ = namenEnde_[d.erste + d.anzahl - 1];
  }
  namen_.release(namenFreiBis_);
}

Bytes OrdnerTabelle::OrdnerzeilenAbgeben() {
  Bytes text = std::move(text_);
  clear();
  return text;
}

Ordner OrdnerTabelle::operator[](std::size_t Index) const {
  const std::size_t anfang = textAnfang(Index);
  Ordner ordner;
  ordner.Pfad = text_.view(anfang, sätze_[Index].textEnde - 1);  // without its line end
  ordner.Ebene = sätze_[Index].ebene;
  if (!dateien_.empty()) {
    const Dateien& d = dateien_[Index];
    ordner.Dateien = DateiListe(this, d.erste, d.anzahl);
    ordner.LetzterDateiIndex = static_cast<std::int32_t>(d.anzahl) - 1;
  }
  return ordner;
}

std::string_view OrdnerTabelle::name(std::size_t index) const {
  return namen_.view(index == 0 ? 0 : namenEnde_[index - 1], namenEnde_[index]);
}

}  // namespace zweigschau
