// Windows metafiles, rendered by libwmf's raster device at 96 dots per inch.

// Qt first: libwmf's headers define macros (U8, U16) that clash with Qt's.
#include "picture_loader.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zarvik {

namespace {

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

}  // namespace

DecodedPicture decodeWindowsMetafile(const QByteArray& data) {
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  wmfAPI* api = nullptr;
  ErrorLog log;
  options.error_out = log.stream();
  const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG |
                              (log.stream() ? WMF_OPT_LOG_ERROR : WMF_OPT_NO_ERROR);
  wmf_error_t error = wmf_api_create(&api, flags, &options);
  if (error != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    return DecodedPicture::failure(QStringLiteral("metafile decoder could not start"));
  }

  QByteArray bytes = data;  // libwmf reads from a non-const buffer
  DecodedPicture result;
  wmfD_Rect box{};
  unsigned int width = 0, height = 0;
  error = wmf_mem_open(api, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
  if (error == wmf_E_None) error = wmf_scan(api, 0, &box);
  if (error == wmf_E_None) error = wmf_display_size(api, &width, &height, 96, 96);
  if (error == wmf_E_None && (width == 0 || height == 0 || qint64(width) * height > 64LL * 1024 * 1024))
    error = wmf_E_BadFormat;
  if (error == wmf_E_None) {
    wmf_gd_t* device = WMF_GD_GetData(api);
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = width;
    device->height = height;
    error = wmf_play(api, 0, &box);
    if (error == wmf_E_None && device->gd_image) {
      // gd's true-colour pixels: 7-bit alpha on top (0 opaque, 127 clear), then RGB.
      const int* pixels = wmf_gd_image_pixels(device->gd_image);
      QImage image(int(width), int(height), QImage::Format_ARGB32);
      for (unsigned int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (unsigned int x = 0; x < width; ++x) {
          const unsigned int p = unsigned(pixels[y * width + x]);
          const int alpha = 255 - int((p >> 24) & 0x7f) * 255 / 127;
          line[x] = qRgba(int(p >> 16) & 0xff, int(p >> 8) & 0xff, int(p) & 0xff, alpha);
        }
      }
      result.image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
      result.ownTransparency = true;
    } else if (error == wmf_E_None) {
      error = wmf_E_DeviceError;
    }
  }
  wmf_mem_close(api);
  wmf_api_destroy(api);
  if (error == wmf_E_BadFile && log.mentions("font"))
    return DecodedPicture::failure(
        QStringLiteral("the fonts for drawing metafiles are missing (install the package fonts-urw-base35)"));
  if (error != wmf_E_None) return DecodedPicture::failure(wmfMessage(error));
  return result;
}

}  // namespace zarvik
