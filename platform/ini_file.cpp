#include "ini_file.h"

#include "regular_file.h"

namespace zarvik {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  if (value.size() > IniFile::kMaxValueLength) value = value.substr(0, IniFile::kMaxValueLength);
  return std::string(value);
}

// Windows editors may save the file as UTF-16 (little-endian, with its byte
// order mark); the reader works on UTF-8.
std::string utf8FromUtf16le(std::string_view bytes) {
  std::string out;
  auto unit = [&](std::size_t i) {
    return char32_t(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | c >> 6), out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | c >> 12), out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | c >> 18), out += char(0x80 | (c >> 12 & 0x3F));
      out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

IniFile IniFile::fromText(std::string_view text) {
  if (text.starts_with("\xFF\xFE")) return fromText(utf8FromUtf16le(text));
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
  const FileContents file = readRegularFile(path, kMaxFileBytes);
  if (!file.ok()) return std::nullopt;
  return fromText(file.bytes);
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
