#include "config_values.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "settings_store.h"

namespace zarvik {

namespace fs = std::filesystem;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Follows parts[i..] from `folder`, each part matching an entry whose name
// differs at most in letter case; the exact name is tried first, then the
// others in name order, so the choice is stable.
std::optional<fs::path> findIgnoringCase(const fs::path& folder, const std::vector<std::string>& parts,
                                         std::size_t i) {
  std::error_code ec;
  const bool last = i + 1 == parts.size();
  if (!last && (parts[i] == "." || parts[i] == ".."))  // not listed by the folder
    return findIgnoringCase(folder / parts[i], parts, i + 1);
  std::vector<fs::path> candidates;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!equalNoCase(name, parts[i])) continue;
    if (last ? it->is_regular_file(ec) : it->is_directory(ec)) candidates.push_back(it->path());
  }
  std::sort(candidates.begin(), candidates.end(), [&](const fs::path& a, const fs::path& b) {
    const bool aExact = a.filename() == parts[i], bExact = b.filename() == parts[i];
    return aExact != bExact ? aExact : a < b;
  });
  for (const fs::path& candidate : candidates) {
    if (last) return candidate;
    if (auto found = findIgnoringCase(candidate, parts, i + 1)) return found;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> parseInteger(std::string_view text) { return parseStoredInteger(text); }

int readInteger(const IniFile& ini, std::string_view section, std::string_view key,
                int defaultValue) {
  auto text = ini.value(section, key);
  if (!text) return defaultValue;
  return parseInteger(*text).value_or(defaultValue);
}

std::string folderValue(std::string_view value) {
  std::string folder(value);
  if (folder.empty() || !isSeparator(folder.back())) folder += '\\';
  return folder;
}

std::optional<std::string> fileNameValue(std::string_view value) {
  if (value.empty() || value == "nil") return std::nullopt;
  return std::string(value);
}

std::string fileExtension(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::optional<fs::path> findFile(std::string_view path, const fs::path& base) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || isSeparator(path[i])) {
      if (i > start) parts.emplace_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.empty()) return std::nullopt;
  const fs::path root = (!path.empty() && isSeparator(path.front())) ? fs::path("/") : base;

  std::error_code ec;
  fs::path exact = root;
  for (const std::string& part : parts) exact /= part;
  if (fs::is_regular_file(exact, ec)) return exact;
  return findIgnoringCase(root, parts, 0);
}

}  // namespace zarvik
