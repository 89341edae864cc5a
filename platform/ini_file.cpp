#include "ini_file.h"

#include <fstream>
#include <sstream>

namespace zarvik {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::string unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  if (value.size() > IniFile::kMaxValueLength) value = value.substr(0, IniFile::kMaxValueLength);
  return std::string(value);
}

}  // namespace

IniFile IniFile::fromText(std::string_view text) {
  IniFile ini;
  Section* current = nullptr;  // lines before the first section belong to none
  std::size_t pos = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;  // skip a UTF-8 mark
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = trim(text.substr(pos, end - pos));
    pos = end + 1;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::size_t close = line.find(']');
      std::string_view name = trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      current = nullptr;
      for (Section& s : ini.sections_)
        if (equalNoCase(s.name, name)) current = &s;  // a repeated section adds to the first
      if (!current) current = &ini.sections_.emplace_back(Section{std::string(name), {}});
      continue;
    }
    std::size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string_view key = trim(line.substr(0, eq));
    if (key.empty()) continue;
    current->entries.push_back({std::string(key), unquote(trim(line.substr(eq + 1)))});
  }
  return ini;
}

std::optional<IniFile> IniFile::load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return fromText(text.str());
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const Section& s : sections_)
    if (equalNoCase(s.name, name)) return &s;
  return nullptr;
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  for (const Entry& e : s->entries)
    if (equalNoCase(e.key, key)) return e.value;
  return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  if (auto v = value(section, key)) return *v;
  return std::string(defaultValue);
}

}  // namespace zarvik
