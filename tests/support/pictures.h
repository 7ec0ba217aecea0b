#pragma once
#include <cstdint>
#include <string>

// A whole 24-bit BMP file of one colour.
std::string solidBmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue);
