#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zarvik {

namespace {

std::optional<FileProblem> problemOf(const struct stat& status, std::uint64_t maxBytes) {
  if (!S_ISREG(status.st_mode)) return FileProblem{"not a regular file"};
  if (std::uint64_t(status.st_size) > maxBytes)
    return FileProblem{"file too large (" + std::to_string(status.st_size) + " bytes, at most " +
                       std::to_string(maxBytes) + ")"};
  return std::nullopt;
}

FileProblem systemProblem() { return FileProblem{std::strerror(errno)}; }

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::optional<FileProblem> checkRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return systemProblem();
  return problemOf(status, maxBytes);
}

FileContents readRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes) {
  FileContents contents;
  // Checked by name first, so that a device is never even opened.
  if ((contents.problem = checkRegularFile(path, maxBytes))) return contents;
  // O_NONBLOCK: a FIFO put in the file's place meanwhile opens at once
  // instead of waiting for a writer, and is refused below.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) {
    contents.problem = systemProblem();
    return contents;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) {
    contents.problem = systemProblem();
    return contents;
  }
  if ((contents.problem = problemOf(status, maxBytes))) return contents;

  contents.bytes.resize(std::size_t(status.st_size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == contents.bytes.size()) {
      if (filled > maxBytes) break;
      contents.bytes.resize(std::min<std::uint64_t>(maxBytes + 1, filled * 2 + 4096));
    }
    const ssize_t got = ::read(file.get(), contents.bytes.data() + filled, contents.bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      contents.problem = systemProblem();
      contents.bytes.clear();
      return contents;
    }
    if (got == 0) break;
    filled += std::size_t(got);
  }
  contents.bytes.resize(filled);
  if (filled > maxBytes) {
    contents.problem = FileProblem{"file too large (more than " + std::to_string(maxBytes) + " bytes)"};
    contents.bytes.clear();
  }
  return contents;
}

}  // namespace zarvik
