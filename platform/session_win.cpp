#include "platform/session.h"

#include <cstdlib>

#include "platform/wide_text.h"

namespace platform {

std::string homeFolder() {
  const wchar_t* profil = _wgetenv(L"USERPROFILE");
  if (profil == nullptr || *profil == L'\0') return "~";
  std::string home = fromWide(profil);
  while (home.size() > 3 && home.back() == '\\') home.pop_back();
  return home;
}

std::string defaultStartFolder() { return {}; }

}  // namespace platform
