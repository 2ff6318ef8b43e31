#pragma once
// Image files: Windows BMP (read 1, 4, 8, 24, 32 bits; write 24 and 32) and PNG (8-bit RGB
// written; any PNG read, transparency composed onto black).
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace gfx {

class ImageFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws ImageFileError with a clear message on damaged or unsupported data.
Bitmap ReadBmp(std::span<const std::uint8_t> bytes);
Bitmap ReadBmpFile(const std::string& path);
std::vector<std::uint8_t> WriteBmp(const Bitmap& bmp, int bitsPerPixel = 24);
void WriteBmpFile(const std::string& path, const Bitmap& bmp, int bitsPerPixel = 24);

std::vector<std::uint8_t> WritePng(const Bitmap& bmp);
void WritePngFile(const std::string& path, const Bitmap& bmp);
Bitmap ReadPng(std::span<const std::uint8_t> bytes);
Bitmap ReadPngFile(const std::string& path);

}  // namespace gfx
