#include "hostile_files.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace hostile {

std::string jpegWithRepeatedScans(int side, int repeats) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(side);
  info.image_height = JDIMENSION(side);
  info.input_components = 1;
  info.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(side));
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) row[std::size_t(x)] = JSAMPLE(96 + (y / 64) * 8);
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string file(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);

  // The last scan runs from the last SOS marker to the EOI marker.
  const std::size_t lastScan = file.rfind("\xFF\xDA");
  const std::size_t end = file.rfind("\xFF\xD9");
  if (lastScan == std::string::npos || end == std::string::npos || end < lastScan)
    throw std::runtime_error("no scan in the encoded JPEG");
  const std::string scan = file.substr(lastScan, end - lastScan);
  std::string out = file.substr(0, end);
  for (int i = 0; i < repeats; ++i) out += scan;
  return out + "\xFF\xD9";
}

std::string flatPng(int width, int height, int level) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::string out;
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t length) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), length);
      },
      nullptr);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_set_filter(png, 0, PNG_FILTER_NONE);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(width), static_cast<png_byte>(level));
  for (int y = 0; y < height; ++y) png_write_row(png, row.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace hostile
