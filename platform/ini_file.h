#pragma once
// A reader of sectioned text files ("[Section]" lines, then "Key=Value"
// lines). Sections and keys match without regard to ASCII case, blanks around
// names and values are dropped, one pair of matching quotes around a value is
// removed, and a value is cut at 2047 characters. When a section or key occurs
// twice, the first one wins. The file is read once, at load, and never written.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarvik {

// Whether two names are equal without regard to ASCII letter case.
bool equalNoCase(std::string_view a, std::string_view b);

class IniFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;
  // A larger file is no settings file (a skin's takes a few kilobytes).
  static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

  // An empty file: every read gives its default.
  IniFile() = default;
  // Parses text already in memory: UTF-8 (with or without its mark) or
  // UTF-16 little-endian with its mark.
  static IniFile fromText(std::string_view text);
  // Reads and parses a file; nothing when it is not a regular file of at
  // most kMaxFileBytes or cannot be read.
  static std::optional<IniFile> load(const std::filesystem::path& path);

  bool hasSection(std::string_view section) const;
  // The value, or nothing when the section or key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* findSection(std::string_view name) const;

  std::vector<Section> sections_;
};

}  // namespace zarvik
