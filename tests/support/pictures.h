#pragma once
#include <cstdint>
#include <string>

// A whole 24-bit BMP file of one colour.
std::string solidBmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue);

#include <vector>

// The pixels of a BMP file, top row first, three bytes (R, G, B) each.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// Reads an uncompressed 24- or 32-bit BMP file; false for anything else, and for a file whose
// header's size field is not the file's length or whose pixel rows run past its end.
bool decodeBmp(const std::string& bytes, Pixels& pixels);

// The largest difference of one colour channel between two pictures of the same size, and the
// mean difference over all channels; -1 for both when the sizes differ.
struct PixelDifference {
  int largest = -1;
  double mean = -1;
};
PixelDifference comparePixels(const Pixels& a, const Pixels& b);

// The folder of test pictures made by tests/fixtures/make-pictures.sh, as a Windows path;
// empty when the tests were started without it.
std::string testPictureFolder();
