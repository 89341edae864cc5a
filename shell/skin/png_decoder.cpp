// PNG pictures, decoded with libpng within the picture's budget.

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <png.h>

#include "picture_budget.h"
#include "picture_loader.h"

namespace zarvik {

namespace {

// libpng allocates a chunk's claimed length before reading it, so a few
// bytes may claim gigabytes: chunks are checked against the file first
// (chunkRunsPastEnd). Ancillary chunks larger than this are skipped, no more
// than this many are kept, and text chunks (never shown) are not read at all.
constexpr png_alloc_size_t kMaxPngChunkBytes = 8 * 1024 * 1024;
constexpr png_uint_32 kMaxPngChunks = 1000;
constexpr png_byte kIgnoredPngChunks[] = "tEXt\0zTXt\0iTXt";

struct PngSource {
  const png_byte* data;
  png_size_t size;
  png_size_t pos;
};

// Everything that must survive a longjmp out of libpng lives here, created
// before setjmp and reached through a reference that never changes.
struct PngState {
  PngSource source;
  qint64 maxPixels = 0;
  QImage image;
  std::vector<png_bytep> rows;
  bool hasAlpha = false;
  bool tooLarge = false;
  png_uint_32 width = 0, height = 0;
  char message[256] = {};
};

// Whether a chunk's length runs past the end of the file; the chunks are
// walked from the signature to IEND.
bool chunkRunsPastEnd(const QByteArray& data) {
  qint64 at = 8;
  while (at + 8 <= data.size()) {
    const auto byte = [&](qint64 i) { return quint32(quint8(data[i])); };
    const qint64 length = byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    if (length + 12 > data.size() - at) return true;
    if (data.mid(at + 4, 4) == "IEND") return false;
    at += length + 12;
  }
  return false;  // cut short between chunks: libpng reports it
}

void pngRead(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > src->size - src->pos) png_error(png, "unexpected end of file");
  std::memcpy(out, src->data + src->pos, length);
  src->pos += length;
}

[[noreturn]] void pngFail(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void pngWarn(png_structp, png_const_charp) {}

bool readPng(png_structp png, png_infop info, PngState& state) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &state.source, pngRead);
  png_set_sig_bytes(png, 0);
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_set_chunk_cache_max(png, kMaxPngChunks);
  png_set_user_limits(png, png_uint_32(kMaxSide), png_uint_32(kMaxSide));
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredPngChunks, 3);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
  if (!sizeAcceptable(width, height, state.maxPixels)) {
    state.tooLarge = true;
    state.width = width;
    state.height = height;
    png_error(png, "picture too large");
  }
  state.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);

  // Everything becomes 8-bit BGRA, which is QImage's ARGB32 in memory.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!state.hasAlpha) png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != png_size_t(width) * 4) png_error(png, "unsupported pixel layout");

  state.image = QImage(int(width), int(height), QImage::Format_ARGB32);
  if (state.image.isNull()) png_error(png, "out of memory");
  state.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) state.rows[y] = state.image.scanLine(int(y));
  png_read_image(png, state.rows.data());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

DecodedPicture decodePng(const QByteArray& data, qint64 maxPixels) {
  if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.constData()), 0, 8))
    return DecodedPicture::failure(QStringLiteral("not a PNG file"));
  if (chunkRunsPastEnd(data))
    return DecodedPicture::failure(QStringLiteral("damaged PNG file: a chunk runs past the end of the file"));

  PngState state;
  state.maxPixels = maxPixels;
  state.source = {reinterpret_cast<const png_byte*>(data.constData()), png_size_t(data.size()), 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, pngFail, pngWarn);
  if (!png) return DecodedPicture::failure(QStringLiteral("PNG decoder could not start"));
  png_infop info = png_create_info_struct(png);
  const bool ok = info && readPng(png, info, state);
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  if (state.tooLarge) return DecodedPicture::tooLarge(state.width, state.height, maxPixels);
  if (!ok) return DecodedPicture::failure(QStringLiteral("damaged PNG file: %1").arg(state.message));

  DecodedPicture result;
  if (state.hasAlpha) {
    result.image = state.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  } else {
    result.image = std::move(state.image);
    result.image.reinterpretAsFormat(QImage::Format_RGB32);  // every alpha byte is 0xff
  }
  result.ownTransparency = true;  // its alpha, or none: never a key colour
  return result;
}

}  // namespace zarvik
