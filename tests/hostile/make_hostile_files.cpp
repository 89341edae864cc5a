// Writes the large hostile files into a folder, for the end-to-end test.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "hostile_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  };
  write("scans-4000.jpg", hostile::jpegWithRepeatedScans(1024, 4000));
  write("flat-8192.png", hostile::flatPng(8192, 8192, 200));
  write("flat-4096.png", hostile::flatPng(4096, 4096, 120));
  return 0;
}
