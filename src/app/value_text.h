#pragma once
#include <cstdint>
#include <string>

// How numbers and booleans are written as texts, in the profile and in the interval box.

inline const char kTrueText[] = "真";
inline const char kFalseText[] = "假";

// The "%.13g" text of a number: at most 13 significant digits, no trailing zeros.
std::string numberToText(double value);

// Full-width CP936 forms (A3 A1..A3 FE, and the ideographic space A1 A1) as their ASCII bytes.
std::string fullWidthToAscii(const std::string& text);

// Reads a number the way atof does, after fullWidthToAscii: leading blanks, a sign, digits with
// an optional point and exponent, up to the first byte that does not fit; no number gives 0.
double textToNumber(const std::string& text);

// Truncates toward zero to 64 bits and keeps the low 32 bits; a value beyond the 64-bit range
// (or not a number at all) gives 0.
int32_t narrowToInt32(double value);
