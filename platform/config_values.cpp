#include "config_values.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <system_error>
#include <vector>

namespace zarvik {

namespace fs = std::filesystem;

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The entries of `folder` named `part` but for letter case, that are regular
// files (`file`) or folders: the exact name first, then the others in name
// order, so the choice is stable.
std::vector<fs::path> caseVariants(const fs::path& folder, const std::string& part, bool file) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!equalNoCase(it->path().filename().string(), part)) continue;
    std::error_code typeError;
    if (file ? it->is_regular_file(typeError) : it->is_directory(typeError)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end(), [&](const fs::path& a, const fs::path& b) {
    const bool aExact = a.filename() == part, bExact = b.filename() == part;
    return aExact != bExact ? aExact : a < b;
  });
  return found;
}

// Follows the parts from `root`, level by level: each level keeps the folders
// that match so far, in order of preference, and a folder reached twice (a
// link to a folder already kept, such as "Sub", "sub" and "SUB" all leading
// to their own parent) is kept once. The work thus grows with the path's
// length and the real folders, whatever links they hold. The first file
// found in that order wins.
std::optional<fs::path> findIgnoringCase(const fs::path& root, const std::vector<std::string>& parts) {
  std::vector<fs::path> folders{root};
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    std::vector<fs::path> next;
    if (parts[i] == "." || parts[i] == "..") {  // not listed by a folder
      for (const fs::path& folder : folders) next.push_back(folder / parts[i]);
      folders = std::move(next);
      continue;
    }
    std::set<std::pair<dev_t, ino_t>> seen;
    for (const fs::path& folder : folders) {
      for (fs::path& candidate : caseVariants(folder, parts[i], false)) {
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && seen.insert({status.st_dev, status.st_ino}).second)
          next.push_back(std::move(candidate));
      }
    }
    if (next.empty()) return std::nullopt;
    folders = std::move(next);
  }
  for (const fs::path& folder : folders) {
    std::vector<fs::path> files = caseVariants(folder, parts.back(), true);
    if (!files.empty()) return files.front();
  }
  return std::nullopt;
}

}  // namespace

int readInteger(const IniFile& ini, std::string_view section, std::string_view key,
                int defaultValue) {
  auto text = ini.value(section, key);
  if (!text) return defaultValue;
  return parseInteger(*text).value_or(defaultValue);
}

Extent readExtent(const IniFile& ini, std::string_view section, std::string_view key, int defaultValue) {
  const std::string text = ini.readString(section, key, "");
  const std::optional<int> value = parseInteger(text);
  if (!value) return {defaultValue, std::nullopt};
  if (*value >= 1 && *value <= kMaxWindowExtent) return {*value, std::nullopt};
  return {defaultValue, text};
}

ImageEntry readImageEntry(const IniFile& ini, int n, int offsetX, int offsetY) {
  const std::string section = "Image" + std::to_string(n);
  ImageEntry entry;
  if (auto name = fileNameValue(ini.readString(section, "Filename", "")))
    entry.path = folderValue(ini.readString("Common", "SkinDir", kDefaultSkinDir)) + *name;
  auto bounded = [](int64_t value) { return int(std::clamp<int64_t>(value, -kMaxImageExtent, kMaxImageExtent)); };
  entry.rect.height = bounded(readInteger(ini, section, "Height", 0));
  entry.rect.left = bounded(int64_t(readInteger(ini, section, "Left", 0)) + offsetX);
  entry.rect.top = bounded(int64_t(readInteger(ini, section, "Top", 0)) + offsetY);
  entry.rect.width = bounded(readInteger(ini, section, "Width", 0));
  return entry;
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
  return findIgnoringCase(root, parts);
}

}  // namespace zarvik
