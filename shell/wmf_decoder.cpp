// Windows metafiles, rendered by libwmf's raster device at 96 dots per inch.

// Qt first: libwmf's headers define macros (U8, U16) that clash with Qt's.
#include "picture_loader.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <chrono>

// libwmf hands its drawing over as a gd image that only its own gd frees.
// That function is not exported by the shared library, so libwmf is linked
// statically (see shell/CMakeLists.txt). Declared here rather than through
// <libwmf/gd/gd.h>, which needs gd's own folder on the include path.
extern "C" void gdImageDestroy(void* image);

namespace zarvik {

namespace {

// A metafile is a list of drawing records; skins hold a few hundred. Drawing
// stops after this many records or this much time, whichever comes first.
constexpr unsigned long kMaxRecords = 100'000;
constexpr std::chrono::milliseconds kMaxDrawingTime{2000};

struct DrawingBudget {
  unsigned long records = 0;
  std::chrono::steady_clock::time_point deadline;
  bool exceeded = false;
};

// libwmf calls this after every record; non-zero stops the drawing.
int checkBudget(void* context, float) {
  auto* budget = static_cast<DrawingBudget*>(context);
  budget->exceeded = ++budget->records > kMaxRecords || std::chrono::steady_clock::now() > budget->deadline;
  return budget->exceeded ? 1 : 0;
}

QString wmfMessage(wmf_error_t error) {
  switch (error) {
    case wmf_E_InsMem: return QStringLiteral("out of memory");
    case wmf_E_BadFile: return QStringLiteral("not a valid metafile");
    case wmf_E_BadFormat: return QStringLiteral("damaged metafile");
    case wmf_E_EOF: return QStringLiteral("metafile cut short");
    default: return QStringLiteral("the metafile could not be drawn");
  }
}

}  // namespace

DecodedPicture decodeWindowsMetafile(const QByteArray& data, qint64 maxPixels) {
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  wmfAPI* api = nullptr;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
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
  if (error == wmf_E_None && (width == 0 || height == 0)) error = wmf_E_BadFormat;
  if (error == wmf_E_None && qint64(width) * height > std::min(maxPixels, kMaxPicturePixels)) {
    wmf_mem_close(api);
    wmf_api_destroy(api);
    return DecodedPicture::tooLarge(width, height, maxPixels);
  }
  DrawingBudget budget;
  void* canvas = nullptr;
  if (error == wmf_E_None) {
    wmf_gd_t* device = WMF_GD_GetData(api);
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = width;
    device->height = height;
    budget.deadline = std::chrono::steady_clock::now() + kMaxDrawingTime;
    wmf_status_function(api, &budget, checkBudget);
    error = wmf_play(api, 0, &box);
    canvas = device->gd_image;
    if (error == wmf_E_None && canvas) {
      // gd's true-colour pixels: 7-bit alpha on top (0 opaque, 127 clear), then RGB.
      const int* pixels = wmf_gd_image_pixels(canvas);
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
  if (canvas) gdImageDestroy(canvas);
  if (budget.exceeded)
    return DecodedPicture::failure(QStringLiteral("the metafile takes too long to draw (more than %1 records or %2 s)")
                                       .arg(kMaxRecords)
                                       .arg(kMaxDrawingTime.count() / 1000.0));
  if (error != wmf_E_None) return DecodedPicture::failure(wmfMessage(error));
  return result;
}

}  // namespace zarvik
