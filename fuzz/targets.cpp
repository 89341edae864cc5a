#include "targets.h"

#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "config_values.h"
#include "ini_file.h"
#include "picture_loader.h"
#include "sdl_sound_layer.h"

namespace zarvik::fuzz {

namespace {

std::string_view textOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Config.ini: parsed, then the values the skin loader asks for read through
// the value parsers, as the loader would.
bool runIni(const std::uint8_t* data, std::size_t size) {
  const IniFile ini = IniFile::fromText(textOf(data, size));
  bool any = false;
  for (const char* key : {"GameWidth", "SkinDir", "Filename", "TranspColor"}) {
    for (const char* section : {"Common", "VideoMode", "Image1", "Fullscreen"}) {
      const std::string value = ini.readString(section, key, "");
      any |= parseInteger(value).has_value();
      any |= fileNameValue(value).has_value();
      (void)folderValue(value);
    }
  }
  return any;
}

bool runValues(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = textOf(data, size);
  (void)folderValue(text);
  (void)fileExtension(text);
  (void)fileNameValue(text);
  return parseInteger(text).has_value();
}

template <DecodedPicture (*decode)(const QByteArray&, qint64)>
bool runPicture(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const DecodedPicture picture = decode(bytes, kMaxPicturePixels);
  return picture.ok() && !picture.image.isNull();
}

// A JPEG decoded whole, then in parts as a centred backdrop is: the middle,
// one column at the left edge, the bottom right corner, and more than all.
bool runJpeg(const std::uint8_t* data, std::size_t size) {
  const bool decoded = runPicture<decodeJpeg>(data, size);
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const PartToKeep parts[] = {
      [](QSize w) { return QRect(w.width() / 4, w.height() / 3, w.width() / 2, w.height() / 3); },
      [](QSize w) { return QRect(0, 0, 1, w.height()); },
      [](QSize w) { return QRect(w.width() - 9, w.height() - 17, 9, 17); },
      [](QSize w) { return QRect(-3, -5, w.width() + 7, w.height() + 11); },
  };
  for (const PartToKeep& part : parts) (void)decodeJpegPart(bytes, kMaxPicturePixels, part);
  return decoded;
}

// A sample goes through the sound layer's own loading, from a file, on SDL's
// silent driver. The layer is opened once for the whole run.
bool runWav(const std::uint8_t* data, std::size_t size) {
  static SdlSoundLayer* layer = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto* opened = new SdlSoundLayer;
    opened->FSOUND_Init(22050, 8, 0);
    return opened;
  }();
  static const std::string file = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "zarvik-fuzz-XXXXXX.wav").string();
    const int fd = mkstemps(pattern.data(), 4);
    if (fd >= 0) close(fd);
    return pattern;
  }();
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  const int sample = layer->FSOUND_Sample_Load(FSOUND_FREE, file.c_str(), FSOUND_2D, 0, 0);
  layer->FSOUND_Sample_Free(sample);
  return sample != 0;
}

constexpr Target kTargets[] = {
    {"ini", runIni},
    {"values", runValues},
    {"png", runPicture<decodePng>},
    {"jpeg", runJpeg},
    {"bmp", runPicture<decodeBitmap>},
    {"ico", runPicture<decodeIcon>},
    {"wmf", runPicture<decodeWindowsMetafile>},
    {"wav", runWav},
};

}  // namespace

std::span<const Target> targets() { return kTargets; }

}  // namespace zarvik::fuzz
