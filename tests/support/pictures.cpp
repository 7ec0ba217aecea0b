#include "support/pictures.h"

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
