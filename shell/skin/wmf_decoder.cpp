// Windows metafiles, rendered by libwmf's raster device at 96 dots per inch.
//
// libwmf offers no way to bound the work of one drawing record (a single
// ellipse with a pen as wide as the picture takes minutes) and hands its
// canvas over as a gd image that nothing it exports can free. So the drawing
// runs in a child process: it writes the pixels into memory shared with this
// process and exits, which returns everything libwmf took; a child that
// draws for longer than the time budget is killed. A crash inside libwmf
// becomes an error for the file too.
//
// libwmf is loaded when the first metafile is drawn (shared_library.h).

// Qt first: libwmf's headers define macros (U8, U16) that clash with Qt's.
#include "picture_loader.h"
#include "shared_library.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#define ADDRESS_SANITIZER __has_feature(address_sanitizer)
#else
#define ADDRESS_SANITIZER 0
#endif

namespace zarvik {

namespace {

constexpr std::chrono::milliseconds kMaxDrawingTime{2000};

// What the child leaves for this process, at the start of the shared memory;
// the pixels (ARGB) follow it.
struct Drawing {
  wmf_error_t error;
  bool tooLarge;
  bool fontsMissing;
  unsigned width, height;
};

// The libwmf functions the drawing calls.
struct WmfLibrary {
  decltype(&::wmf_api_create) api_create;
  decltype(&::wmf_mem_open) mem_open;
  decltype(&::wmf_scan) scan;
  decltype(&::wmf_display_size) display_size;
  decltype(&::wmf_play) play;
  decltype(&::wmf_gd_function) gd_function;
  decltype(&::wmf_gd_image_pixels) gd_image_pixels;
};

void bindSymbols(WmfLibrary& table, LibrarySymbols& find) {
  find(table.api_create, "wmf_api_create");
  find(table.mem_open, "wmf_mem_open");
  find(table.scan, "wmf_scan");
  find(table.display_size, "wmf_display_size");
  find(table.play, "wmf_play");
  find(table.gd_function, "wmf_gd_function");
  find(table.gd_image_pixels, "wmf_gd_image_pixels");
}

// Loaded once, in this process, so that each drawing child finds it mapped.
const WmfLibrary* loadWmf(QString& error) {
  std::string why;
  const WmfLibrary* library = loadLibraryOnce<WmfLibrary>("libwmf-0.2.so.7", "metafile library", why);
  if (!library) error = QString::fromStdString(why);
  return library;
}

std::uint32_t* pixelsOf(Drawing* drawing) { return reinterpret_cast<std::uint32_t*>(drawing + 1); }

QString wmfMessage(wmf_error_t error) {
  switch (error) {
    case wmf_E_InsMem: return QStringLiteral("out of memory");
    case wmf_E_BadFile: return QStringLiteral("not a valid metafile");
    case wmf_E_BadFormat: return QStringLiteral("damaged metafile");
    case wmf_E_EOF: return QStringLiteral("metafile cut short");
    default: return QStringLiteral("the metafile could not be drawn");
  }
}

// libwmf loads its fonts when a metafile is first scanned and, when none can
// be read, fails as if the file were bad; only its error text tells the two
// apart. The text is caught in memory (never printed) and looked at on failure.
class ErrorLog {
 public:
  ErrorLog() : stream_(open_memstream(&text_, &size_)) {}
  ~ErrorLog() {
    if (stream_) std::fclose(stream_);
    std::free(text_);
  }
  ErrorLog(const ErrorLog&) = delete;
  ErrorLog& operator=(const ErrorLog&) = delete;

  FILE* stream() const { return stream_; }
  bool mentions(const char* word) {
    if (!stream_) return false;
    std::fflush(stream_);
    return text_ && std::strstr(text_, word);
  }

 private:
  char* text_ = nullptr;
  size_t size_ = 0;
  FILE* stream_;
};

// libwmf allocates a buffer of the largest record size the header claims
// before reading any record; no record can be larger than the file.
bool largestRecordFitsTheFile(const QByteArray& data) {
  auto u16 = [&](qsizetype at) { return quint32(quint8(data[at])) | quint32(quint8(data[at + 1])) << 8; };
  const qsizetype header = data.size() >= 4 && u16(0) == 0xCDD7 && u16(2) == 0x9AC6 ? 22 : 0;  // placeable
  if (data.size() < header + 18) return true;  // too short: libwmf reports it
  const quint64 largestWords = u16(header + 12) | quint64(u16(header + 14)) << 16;
  return largestWords * 2 <= quint64(data.size());
}

// In the child: no more address space than the pictures it may draw need on
// top of what the program holds. (The sanitizers reserve terabytes of
// address space for themselves and so cannot run under such a limit.)
void limitChildMemory(qint64 maxPixels) {
#if !ADDRESS_SANITIZER
  long pages = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  if (pages <= 0) return;
  const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(maxPixels) * 8 + (256u << 20);
  const rlimit bound{limit, limit};
  ::setrlimit(RLIMIT_AS, &bound);
#else
  (void)maxPixels;
#endif
}

// In the child: sizes and draws the metafile into `out`.
void draw(const WmfLibrary& wmf, unsigned char* bytes, long size, qint64 maxPixels, Drawing& out) {
  ErrorLog log;
  wmfAPI_Options options{};
  options.function = wmf.gd_function;
  options.error_out = log.stream();
  wmfAPI* api = nullptr;
  const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG |
                              (log.stream() ? WMF_OPT_LOG_ERROR : WMF_OPT_NO_ERROR);
  out.error = wmf.api_create(&api, flags, &options);
  if (out.error != wmf_E_None) return;
  wmfD_Rect box{};
  out.error = wmf.mem_open(api, bytes, size);
  if (out.error == wmf_E_None) out.error = wmf.scan(api, 0, &box);
  out.fontsMissing = out.error == wmf_E_BadFile && log.mentions("font");
  if (out.error == wmf_E_None) out.error = wmf.display_size(api, &out.width, &out.height, 96, 96);
  if (out.error == wmf_E_None && (out.width == 0 || out.height == 0)) out.error = wmf_E_BadFormat;
  if (out.error == wmf_E_None && qint64(out.width) * out.height > maxPixels) {
    out.tooLarge = true;
    return;
  }
  if (out.error != wmf_E_None) return;
  wmf_gd_t* device = WMF_GD_GetData(api);
  device->type = wmf_gd_image;
  device->bbox = box;
  device->width = out.width;
  device->height = out.height;
  out.error = wmf.play(api, 0, &box);
  if (out.error == wmf_E_None && !device->gd_image) out.error = wmf_E_DeviceError;
  if (out.error != wmf_E_None) return;
  // gd's true-colour pixels: 7-bit alpha on top (0 opaque, 127 clear), then RGB.
  const int* pixels = wmf.gd_image_pixels(device->gd_image);
  const std::size_t count = std::size_t(out.width) * out.height;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned p = unsigned(pixels[i]);
    const unsigned alpha = 255 - ((p >> 24) & 0x7f) * 255 / 127;
    pixelsOf(&out)[i] = alpha << 24 | (p & 0xffffff);
  }
}

// Waits for the child to end, at most until `deadline`; false when it had to
// be killed.
bool awaitChild(pid_t child, int doneFd, std::chrono::steady_clock::time_point deadline, int& status) {
  bool finished = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd done{doneFd, POLLIN, 0};
    const int ready = ::poll(&done, 1, int(left.count()));
    if (ready > 0) {  // the child closed its end: it has ended
      finished = true;
      break;
    }
    if (ready < 0 && errno != EINTR) break;
  }
  if (!finished) ::kill(child, SIGKILL);
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return finished;
}

}  // namespace

DecodedPicture decodeWindowsMetafile(const QByteArray& data, qint64 maxPixels) {
  maxPixels = std::min(maxPixels, kMaxPicturePixels);
  if (!largestRecordFitsTheFile(data))
    return DecodedPicture::failure(QStringLiteral("damaged metafile: a record larger than the file"));
  QString libraryError;
  const WmfLibrary* wmf = loadWmf(libraryError);
  if (!wmf) return DecodedPicture::failure(libraryError);
  const std::size_t sharedBytes = sizeof(Drawing) + std::size_t(maxPixels) * 4;
  void* shared = ::mmap(nullptr, sharedBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (shared == MAP_FAILED) return DecodedPicture::failure(QStringLiteral("metafile decoder could not start"));
  auto* drawing = new (shared) Drawing{wmf_E_DeviceError, false, false, 0, 0};
  QByteArray bytes(data.constData(), data.size());  // libwmf reads from a non-const buffer
  int done[2];
  if (::pipe(done) != 0) {
    ::munmap(shared, sharedBytes);
    return DecodedPicture::failure(QStringLiteral("metafile decoder could not start"));
  }

  const auto deadline = std::chrono::steady_clock::now() + kMaxDrawingTime;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(done[0]);
    limitChildMemory(maxPixels);
    draw(*wmf, reinterpret_cast<unsigned char*>(bytes.data()), long(bytes.size()), maxPixels, *drawing);
    ::_exit(0);
  }
  ::close(done[1]);
  int status = 0;
  const bool inTime = child > 0 && awaitChild(child, done[0], deadline, status);
  ::close(done[0]);

  DecodedPicture result;
  if (child < 0) {
    result = DecodedPicture::failure(QStringLiteral("metafile decoder could not start"));
  } else if (!inTime) {
    result = DecodedPicture::failure(
        QStringLiteral("the metafile takes too long to draw (more than %1 s)").arg(kMaxDrawingTime.count() / 1000.0));
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    result = DecodedPicture::failure(QStringLiteral("the metafile could not be drawn (its drawing failed)"));
  } else if (drawing->fontsMissing) {
    result = DecodedPicture::failure(
        QStringLiteral("the fonts for drawing metafiles are missing (install the package fonts-urw-base35)"));
  } else if (drawing->tooLarge) {
    result = DecodedPicture::tooLarge(drawing->width, drawing->height, maxPixels);
  } else if (drawing->error != wmf_E_None) {
    result = DecodedPicture::failure(wmfMessage(drawing->error));
  } else {
    const QImage view(reinterpret_cast<const uchar*>(pixelsOf(drawing)), int(drawing->width), int(drawing->height),
                      QImage::Format_ARGB32);
    result.image = view.convertToFormat(QImage::Format_ARGB32_Premultiplied);  // a copy out of the shared memory
    result.ownTransparency = true;
  }
  ::munmap(shared, sharedBytes);
  return result;
}

}  // namespace zarvik
