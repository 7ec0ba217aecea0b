#pragma once
#include <string>

// Encoders by format index: 0 BMP, 1 JPEG, 2 GIF, 3 TIFF, 4 PNG. An index outside 0..4 has none.
const char* encoderIdText(int formatIndex);

// Re-encodes the bytes of a picture file through GDI+ into a whole file of the given format,
// in memory. Returns no bytes when anything fails. BMP output is always 24 bits per pixel.
std::string convertImage(const std::string& input, int formatIndex);
