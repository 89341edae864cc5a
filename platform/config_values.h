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

namespace zarvik {

// Integer text, in Config.ini and the settings store alike: leading blanks,
// an optional sign, then decimal digits, or hexadecimal digits after "$" or
// "0x". Nothing may follow. Hexadecimal spells a 32-bit pattern ("$FFFFFFFF"
// is -1); decimal must fit in 32 bits. Anything else, the empty text
// included, is no number.
std::optional<int> parseInteger(std::string_view text);

// An integer value, or the default when it is missing or not a number.
int readInteger(const IniFile& ini, std::string_view section, std::string_view key,
                int defaultValue);

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
