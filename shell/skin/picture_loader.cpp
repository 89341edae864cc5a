#include "picture_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

#include "config_values.h"
#include "regular_file.h"

namespace zarvik {

namespace {

// A file larger than this cannot hold an acceptable picture (the largest, an
// uncompressed 32-bit bitmap, takes 64 MB) and is not read.
constexpr qint64 kMaxFileBytes = kMaxPicturePixels * 4 + 1024 * 1024;

// libpng allocates a chunk's claimed length before reading it, so a few
// bytes may claim gigabytes: chunks are checked against the file first
// (chunkRunsPastEnd). Ancillary chunks larger than this are skipped, no more
// than this many are kept, and text chunks (never shown) are not read at all.
constexpr png_alloc_size_t kMaxPngChunkBytes = 8 * 1024 * 1024;
constexpr png_uint_32 kMaxPngChunks = 1000;
constexpr png_byte kIgnoredPngChunks[] = "tEXt\0zTXt\0iTXt";

// A progressive JPEG takes a pass over the whole picture per scan; real ones
// have about ten.
constexpr int kMaxJpegScans = 100;

// Neither side of a picture can exceed this, so width x height never
// overflows whatever a header says.
constexpr qint64 kMaxSide = 1LL << 24;

bool sizeAcceptable(qint64 width, qint64 height, qint64 maxPixels) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= std::min(maxPixels, kMaxPicturePixels);
}

// ---- PNG ------------------------------------------------------------------

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

// ---- JPEG -----------------------------------------------------------------

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegFail(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  errors->manager.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// libjpeg only warns about a truncated file and fills the rest with grey;
// a half picture is an error here.
void jpegMessage(j_common_ptr info, int level) {
  if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) jpegFail(info);
}

// Called as libjpeg reads the file: stops a progressive file with more scans
// than any real picture has.
void jpegProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number <= kMaxJpegScans) return;
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxJpegScans);
  std::longjmp(errors->jump, 1);
}

struct JpegState {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_progress_mgr progress;
  qint64 maxPixels = 0;
  const PartToKeep* keep = nullptr;
  bool tooLarge = false;
  QImage image;
  QRect part;                 // the part `image` holds when only that part was decoded
  std::vector<JSAMPLE> line;  // one decoded row, as wide as libjpeg crops it
};

// Whether the scan starting at `from` runs into the end-of-image marker.
// Inside a scan 0xFF is followed only by 0x00 (a stuffed byte), a restart
// marker or more 0xFF; a file cut short has no marker at its end.
bool scanEndsTheFile(const QByteArray& data, const JOCTET* from) {
  qsizetype at = reinterpret_cast<const char*>(from) - data.constData();
  while ((at = data.indexOf(char(0xFF), at)) >= 0 && at + 1 < data.size()) {
    const quint8 next = quint8(data[at + 1]);
    if (next == 0xD9) return true;
    if (next != 0x00 && next != 0xFF && (next < 0xD0 || next > 0xD7)) return false;
    ++at;
  }
  return false;
}

// Reads the rows of state.part of a picture in one scan: the rows above are
// skipped, the columns cropped by libjpeg to whole blocks and the rest here,
// and the decoder is destroyed unfinished after the part's last row.
void readJpegPart(const QByteArray& data, const JOCTET* scanStart, JpegState& state) {
  const QRect& part = state.part;
  // Colour is upsampled from the neighbouring blocks, and at the edges of
  // what libjpeg decodes from the edge block alone: one more block column on
  // either side keeps the part's edge columns as in the whole picture.
  // libjpeg widens the left further to a block boundary.
  const int block = state.info.max_h_samp_factor * DCTSIZE;
  const int first = std::max(part.left() - block, 0);
  const int end = std::min(part.right() + 1 + block, int(state.info.output_width));
  JDIMENSION left = JDIMENSION(first), width = JDIMENSION(end - first);
  jpeg_crop_scanline(&state.info, &left, &width);
  jpeg_skip_scanlines(&state.info, JDIMENSION(part.top()));
  state.line.resize(std::size_t(width) * 4);
  const std::size_t skipped = std::size_t(part.left() - int(left)) * 4;
  for (int y = 0; y < part.height(); ++y) {
    JSAMPROW row = state.line.data();
    jpeg_read_scanlines(&state.info, &row, 1);
    std::memcpy(state.image.scanLine(y), state.line.data() + skipped, std::size_t(part.width()) * 4);
  }
  // The rows below are read only when the scan does not simply end the
  // file: a file cut short, or with markers after its scan, then gives the
  // same error as when decoded whole.
  if (scanEndsTheFile(data, scanStart)) return;
  while (state.info.output_scanline < state.info.output_height) {
    JSAMPROW row = state.line.data();
    jpeg_read_scanlines(&state.info, &row, 1);
  }
  jpeg_finish_decompress(&state.info);
}

bool readJpeg(const QByteArray& data, JpegState& state) {
  if (setjmp(state.errors.jump)) return false;
  jpeg_mem_src(&state.info, reinterpret_cast<const unsigned char*>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&state.info, TRUE);
  // Before decompression starts: a progressive picture's coefficients are
  // allocated for its whole size then.
  if (!sizeAcceptable(state.info.image_width, state.info.image_height, state.maxPixels)) {
    state.tooLarge = true;
    return false;
  }
  const JOCTET* scanStart = state.info.src->next_input_byte;
  // A progressive picture is read whole when decompression starts: it is
  // decoded whole and cropped afterwards.
  const QRect whole(0, 0, int(state.info.image_width), int(state.info.image_height));
  const QRect part = state.keep ? (*state.keep)(whole.size()).intersected(whole) : whole;
  if (part != whole && !part.isEmpty() && !jpeg_has_multiple_scans(&state.info)) state.part = part;
  state.info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&state.info);
  const QSize size = state.part.isNull() ? whole.size() : state.part.size();
  state.image = QImage(size, QImage::Format_RGB32);
  if (state.image.isNull()) {
    std::snprintf(state.errors.message, sizeof state.errors.message, "out of memory");
    return false;
  }
  if (!state.part.isNull()) {
    readJpegPart(data, scanStart, state);
    return true;
  }
  while (state.info.output_scanline < state.info.output_height) {
    JSAMPROW row = state.image.scanLine(int(state.info.output_scanline));
    jpeg_read_scanlines(&state.info, &row, 1);
  }
  jpeg_finish_decompress(&state.info);
  return true;
}

// Keeps `keep`'s part of a picture decoded whole, all of it without `keep`:
// a deep copy, so that the whole one is freed.
void keepPart(DecodedPicture& picture, const PartToKeep& keep) {
  picture.wholeSize = picture.image.size();
  picture.part = picture.image.rect();
  if (!keep) return;
  const QRect part = keep(picture.wholeSize).intersected(picture.part);
  if (part == picture.part) return;
  picture.image = part.isEmpty() ? QImage() : picture.image.copy(part);
  picture.part = part;
}

// ---- Qt readers -----------------------------------------------------------

DecodedPicture decodeWithQt(const QByteArray& data, const char* format, qint64 maxPixels) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  if (!reader.canRead()) return DecodedPicture::failure(QStringLiteral("not a valid %1 picture").arg(format));
  const QSize size = reader.size();
  if (size.isValid() && !sizeAcceptable(size.width(), size.height(), maxPixels))
    return DecodedPicture::tooLarge(size.width(), size.height(), maxPixels);
  QImage image = reader.read();
  if (image.isNull()) return DecodedPicture::failure(reader.errorString());
  DecodedPicture result;
  result.image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                               : QImage::Format_RGB32);
  return result;
}

// The size the pixel rows of a bitmap need, from its headers, so that a
// truncated file is refused rather than shown half black.
struct BitmapHeader {
  bool valid = false;
  qint64 width = 0, height = 0;
  int bitCount = 0;
  qint64 pixelBytes = 0;  // rows x stride, 0 when compressed
  qint64 pixelOffset = 0;
};

BitmapHeader readBitmapHeader(const QByteArray& data) {
  BitmapHeader h;
  if (data.size() < 26 || data[0] != 'B' || data[1] != 'M') return h;
  auto u16 = [&](int at) { return qint64(quint8(data[at])) | qint64(quint8(data[at + 1])) << 8; };
  auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
  auto s32 = [&](int at) { return qint64(qint32(quint32(u32(at)))); };
  h.pixelOffset = u32(10);
  const qint64 headerSize = u32(14);
  qint64 width = 0, height = 0, compression = 0;
  if (headerSize == 12) {
    width = u16(18);
    height = u16(20);
    h.bitCount = int(u16(24));
  } else if (headerSize >= 40 && data.size() >= 34) {
    width = s32(18);
    height = std::abs(s32(22));
    h.bitCount = int(u16(28));
    compression = u32(30);
  } else {
    return h;
  }
  h.valid = true;
  h.width = width;
  h.height = height;
  // Within the largest sides and bit count, stride x height stays far
  // below 2^63.
  const bool plausible = width <= kMaxSide && height <= kMaxSide && h.bitCount <= 64;
  if (plausible && (compression == 0 || compression == 3)) {  // uncompressed or bit fields
    const qint64 stride = (width * h.bitCount + 31) / 32 * 4;
    h.pixelBytes = stride * height;
  }
  return h;
}

}  // namespace

DecodedPicture DecodedPicture::tooLarge(qint64 width, qint64 height, qint64 maxPixels) {
  DecodedPicture p = failure(QStringLiteral("picture too large (%1 x %2 pixels; at most %3 million allowed)")
                                 .arg(width)
                                 .arg(height)
                                 .arg(double(std::min(maxPixels, kMaxPicturePixels)) / 1e6, 0, 'f', 1));
  p.overBudget = true;
  return p;
}

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

DecodedPicture decodeJpeg(const QByteArray& data, qint64 maxPixels) { return decodeJpegPart(data, maxPixels, {}); }

DecodedPicture decodeJpegPart(const QByteArray& data, qint64 maxPixels, const PartToKeep& keep) {
  auto state = std::make_unique<JpegState>();
  state->maxPixels = maxPixels;
  state->keep = keep ? &keep : nullptr;
  state->info.err = jpeg_std_error(&state->errors.manager);
  state->errors.manager.error_exit = jpegFail;
  state->errors.manager.emit_message = jpegMessage;
  state->errors.message[0] = '\0';
  jpeg_create_decompress(&state->info);
  state->progress.progress_monitor = jpegProgress;
  state->info.progress = &state->progress;
  const bool ok = readJpeg(data, *state);
  const qint64 width = state->info.image_width, height = state->info.image_height;
  jpeg_destroy_decompress(&state->info);
  if (state->tooLarge) return DecodedPicture::tooLarge(width, height, maxPixels);
  if (!ok) return DecodedPicture::failure(QStringLiteral("damaged JPEG file: %1").arg(state->errors.message));

  DecodedPicture result;
  result.image = std::move(state->image);
  if (state->part.isNull()) {
    keepPart(result, keep);
  } else {
    result.wholeSize = QSize(int(width), int(height));
    result.part = state->part;
  }
  return result;
}

DecodedPicture decodeBitmap(const QByteArray& data, qint64 maxPixels) {
  const BitmapHeader header = readBitmapHeader(data);
  if (!header.valid) return DecodedPicture::failure(QStringLiteral("not a bitmap file"));
  if (header.width <= 0 || header.height <= 0)
    return DecodedPicture::failure(QStringLiteral("damaged bitmap file: it holds no pixels"));
  if (!sizeAcceptable(header.width, header.height, maxPixels))
    return DecodedPicture::tooLarge(header.width, header.height, maxPixels);
  if (header.pixelBytes > 0 && header.pixelOffset + header.pixelBytes > data.size())
    return DecodedPicture::failure(QStringLiteral("damaged bitmap file: the pixel data is cut short"));
  DecodedPicture result = decodeWithQt(data, "bmp", maxPixels);
  if (!result.ok() && !result.overBudget) result.error = QStringLiteral("damaged bitmap file: %1").arg(result.error);
  result.twoColour = header.bitCount == 1;
  return result;
}

DecodedPicture decodeIcon(const QByteArray& data, qint64 maxPixels) {
  DecodedPicture result = decodeWithQt(data, "ico", maxPixels);
  if (!result.ok() && !result.overBudget) result.error = QStringLiteral("damaged icon file: %1").arg(result.error);
  result.ownTransparency = true;
  return result;
}

DecodedPicture loadPicture(const std::filesystem::path& file, qint64 maxPixels, const PartToKeep& keep) {
  const QString extension = QString::fromStdString(fileExtension(file.string()));
  const QString ext = extension.toLower();
  using Decoder = DecodedPicture (*)(const QByteArray&, qint64);
  Decoder decoder = nullptr;
  if (ext == "bmp") decoder = decodeBitmap;
  else if (ext == "ico") decoder = decodeIcon;
  else if (ext == "png") decoder = decodePng;
  else if (ext == "jpg" || ext == "jpeg") decoder = decodeJpeg;
  else if (ext == "wmf") decoder = decodeWindowsMetafile;
  else if (ext == "emf")
    return DecodedPicture::failure(QStringLiteral("enhanced metafiles (.emf) cannot be shown; save the picture as PNG or BMP"));
  else
    return DecodedPicture::failure(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));

  const FileContents contents = readRegularFile(file, kMaxFileBytes);
  if (!contents.ok()) return DecodedPicture::failure(QString::fromStdString(contents.problem->message));
  const QByteArray bytes = QByteArray::fromRawData(contents.bytes.data(), qsizetype(contents.bytes.size()));
  if (decoder == decodeJpeg) return decodeJpegPart(bytes, maxPixels, keep);  // crops while decoding
  DecodedPicture picture = decoder(bytes, maxPixels);
  if (picture.ok()) keepPart(picture, keep);
  return picture;
}

}  // namespace zarvik
