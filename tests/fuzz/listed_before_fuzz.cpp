// listedBefore on three names (the input split at NUL bytes): a strict
// weak order, and in fact a total one, since ties are broken by the exact
// name. sortEntries must agree with it.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/folder_handle.h"
#include "text/listing_order.h"

using text::listedBefore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t größe) {
  std::vector<std::string> namen = fuzz::teile(fuzz::alsText(daten, größe));
  namen.resize(3);
  for (const std::string& x : namen) {
    FUZZ_CHECK(!listedBefore(x, x));
    for (const std::string& y : namen) {
      const bool vor = listedBefore(x, y), nach = listedBefore(y, x);
      FUZZ_CHECK(!(vor && nach));
      FUZZ_CHECK(vor || nach || x == y);
      for (const std::string& z : namen) {
        if (vor && listedBefore(y, z)) FUZZ_CHECK(listedBefore(x, z));
        if (!vor && !nach && !listedBefore(y, z) && !listedBefore(z, y))
          FUZZ_CHECK(!listedBefore(x, z) && !listedBefore(z, x));
      }
    }
  }
  std::vector<platform::Entry> einträge;
  for (const std::string& n : namen) einträge.push_back({n, platform::EntryKind::Folder});
  text::sortEntries(einträge);
  for (std::size_t i = 1; i < einträge.size(); ++i)
    FUZZ_CHECK(!listedBefore(einträge[i].name, einträge[i - 1].name));
  return 0;
}
