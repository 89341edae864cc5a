#pragma once
// The rules for the values of Config.ini and of the settings store (integer,
// colour, folder, file name) and the lookup of the files Config.ini names:
// plain C++, so that the desktop program and the browser page read a skin
// alike.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ini_file.h"
#include "integer_text.h"
#include "skin_images.h"

namespace zarvik {

// An integer value, or the default when it is missing or not a number.
int readInteger(const IniFile& ini, std::string_view section, std::string_view key,
                int defaultValue);

// The largest window side a skin may ask for, in pixels.
inline constexpr int kMaxWindowExtent = 8192;

// Image places and sizes from Config.ini are bounded to this many pixels either
// way: no screen is larger, and the layout's sums then never overflow.
inline constexpr int kMaxImageExtent = 1'000'000;

// The skin's picture folder when Config.ini names none.
inline constexpr char kDefaultSkinDir[] = "Graphics\\Skin\\";

// A window side (GameWidth, ManualHeight...). A number outside
// 1..kMaxWindowExtent would give a window nobody can see or one that takes
// gigabytes: it is refused, with its text in `refused`, and the default
// used. Text that is no number gives the default, as for any integer.
struct Extent {
  int value;
  std::optional<std::string> refused;
};
Extent readExtent(const IniFile& ini, std::string_view section, std::string_view key, int defaultValue);

// What section Image<n> (n = 1 to kImageCount) says: the path of its picture
// as written, the skin folder ([Common] SkinDir) and Filename (none for no
// file), and its rectangle, moved by the face's offset and bounded to
// kMaxImageExtent.
struct ImageEntry {
  std::optional<std::string> path;
  Rect rect;
};
ImageEntry readImageEntry(const IniFile& ini, int n, int offsetX = 0, int offsetY = 0);

// A folder value ends in a path separator: "\" is appended when it ends in
// neither "\" nor "/" (so an empty value becomes "\").
std::string folderValue(std::string_view value);

// A file name value: nothing for "nil" (lower case only) or an empty value.
std::optional<std::string> fileNameValue(std::string_view value);

// The text after the last dot of a path's file name ("" when there is none).
std::string fileExtension(std::string_view path);

// Finds the file that a path from Config.ini names. "\" and "/" both separate
// folders; a path that starts with one is absolute, any other is taken from
// `base`. When the exact name does not exist, each folder and the file name
// may match one whose name differs only in letter case (the exact name first,
// else in name order). Each folder is listed at most once per level, so links
// that loop cannot make the search grow beyond the path's length. Nothing
// when no regular file matches.
std::optional<std::filesystem::path> findFile(std::string_view path,
                                              const std::filesystem::path& base);

}  // namespace zarvik
