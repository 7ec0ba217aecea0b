#include "support/pictures.h"

#include <cstdlib>

#include "support/temp_folder.h"

namespace {
void put32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (8 * i));
}
}  // namespace

std::string solidBmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  uint32_t size = 54 + row * static_cast<uint32_t>(height);
  std::string bmp(size, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(bmp, 2, size);
  put32(bmp, 10, 54);
  put32(bmp, 14, 40);
  put32(bmp, 18, static_cast<uint32_t>(width));
  put32(bmp, 22, static_cast<uint32_t>(height));
  bmp[26] = 1;
  bmp[28] = 24;
  put32(bmp, 34, row * static_cast<uint32_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      size_t at = 54 + y * row + x * 3;
      bmp[at] = static_cast<char>(blue);
      bmp[at + 1] = static_cast<char>(green);
      bmp[at + 2] = static_cast<char>(red);
    }
  return bmp;
}

namespace {
uint32_t get32(const std::string& in, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(in[at + i]);
  return value;
}
uint16_t get16(const std::string& in, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(in[at]) | static_cast<uint8_t>(in[at + 1])
                                                                  << 8);
}
}  // namespace

bool decodeBmp(const std::string& bytes, Pixels& pixels) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  if (get32(bytes, 2) != bytes.size()) return false;
  uint32_t offset = get32(bytes, 10);
  int32_t width = static_cast<int32_t>(get32(bytes, 18));
  int32_t height = static_cast<int32_t>(get32(bytes, 22));
  uint16_t bits = get16(bytes, 28);
  uint32_t compression = get32(bytes, 30);
  if (width <= 0 || height == 0 || (bits != 24 && bits != 32) ||
      (compression != 0 && compression != 3))
    return false;
  bool topDown = height < 0;
  if (topDown) height = -height;
  size_t bytesPerPixel = bits / 8;
  size_t row = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~static_cast<size_t>(3);
  if (offset + row * static_cast<size_t>(height) > bytes.size()) return false;
  pixels.width = width;
  pixels.height = height;
  pixels.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
  for (int y = 0; y < height; ++y) {
    size_t source = offset + row * static_cast<size_t>(topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const char* pixel = &bytes[source + x * bytesPerPixel];
      uint8_t* target = &pixels.rgb[(static_cast<size_t>(y) * width + x) * 3];
      target[0] = static_cast<uint8_t>(pixel[2]);
      target[1] = static_cast<uint8_t>(pixel[1]);
      target[2] = static_cast<uint8_t>(pixel[0]);
    }
  }
  return true;
}

PixelDifference comparePixels(const Pixels& a, const Pixels& b) {
  PixelDifference difference;
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return difference;
  difference.largest = 0;
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) {
    int d = a.rgb[i] > b.rgb[i] ? a.rgb[i] - b.rgb[i] : b.rgb[i] - a.rgb[i];
    if (d > difference.largest) difference.largest = d;
    sum += d;
  }
  difference.mean = a.rgb.empty() ? 0 : sum / static_cast<double>(a.rgb.size());
  return difference;
}

std::string testPictureFolder() {
  const char* folder = std::getenv("MUREVA_PICTURES");
  return folder && *folder ? windowsPath(folder) : std::string();
}
