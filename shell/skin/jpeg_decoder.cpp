// JPEG pictures, decoded with libjpeg within the picture's budget, whole or
// only the part that is shown.

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "picture_budget.h"
#include "picture_loader.h"

namespace zarvik {

namespace {

// A progressive JPEG takes a pass over the whole picture per scan; real ones
// have about ten.
constexpr int kMaxJpegScans = 100;

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

}  // namespace

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

}  // namespace zarvik
