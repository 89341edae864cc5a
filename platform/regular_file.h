#pragma once
// The one rule for every file the program reads: it must be a regular file
// (after following links) no larger than its caller allows. A FIFO, a device,
// a socket or a folder is refused without blocking on it or reading from it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zarvik {

struct FileProblem {
  std::string message;  // "not a regular file", "file too large (...)", or the system's reason
};

// Whether `path` may be read: nothing when it is a regular file of at most
// `maxBytes`, else the problem. For files handed to other programs, such as
// the documents opened on the desktop (Readme.txt, Whatsnew.txt, Config.ini),
// with kMaxDocumentBytes.
std::optional<FileProblem> checkRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes);

// The largest text document handed to the desktop to open.
inline constexpr std::uint64_t kMaxDocumentBytes = 16u << 20;

// Reads the whole of a regular file of at most `maxBytes`. The check is made
// again on the opened descriptor, so a file swapped after the check is still
// refused; a file that grows while it is read is cut at `maxBytes` + 1 bytes
// and refused.
struct FileContents {
  std::string bytes;
  std::optional<FileProblem> problem;
  bool ok() const { return !problem; }
};
FileContents readRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes);

}  // namespace zarvik
