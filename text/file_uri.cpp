#include "text/file_uri.h"

#include <cctype>

namespace text {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
    if (low < 0) {
      out += text[i];
      continue;
    }
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

// "/C:/x" or "/C|/x", the drive of a Windows path in a URI.
bool hasDrive(std::string_view path) {
  return path.size() >= 3 && path[0] == '/' && std::isalpha(static_cast<unsigned char>(path[1])) &&
         (path[2] == ':' || path[2] == '|');
}

}  // namespace

std::optional<std::string> pathFromFileUri(std::string_view uri, char separator) {
  uri = uri.substr(0, uri.find_first_of("\r\n"));
  if (!startsWithNoCase(uri, "file:")) return std::nullopt;
  uri.remove_prefix(5);
  uri = uri.substr(0, uri.find_first_of("?#"));
  std::string_view host;
  if (uri.starts_with("//")) {
    uri.remove_prefix(2);
    const std::size_t slash = uri.find('/');
    host = uri.substr(0, slash);
    uri = slash == std::string_view::npos ? std::string_view() : uri.substr(slash);
    if (startsWithNoCase(host, "localhost") && host.size() == 9) host = {};
  }
  if (!uri.starts_with('/') && !(uri.empty() && !host.empty())) return std::nullopt;
  const bool windows = separator == '\\';
  if (!host.empty() && !windows) return std::nullopt;
  std::string path = percentDecoded(uri);
  if (windows) {
    if (hasDrive(path)) {
      path.erase(0, 1);
      path[1] = ':';
    }
    for (char& c : path)
      if (c == '/') c = '\\';
    if (!host.empty()) path = "\\\\" + percentDecoded(host) + path;
  }
  return path;
}

}  // namespace text
