// Times one changeWallpaper of a large JPEG end to end (read, convert, write, set) against a
// bare in-process GDI+ decode and BMP encode of the same file, and reports the process's peak
// memory against the size of the BMP written.
//   change_bench <jpeg> [djpeg milliseconds, measured by the caller]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/program.h"
#include "bench/timing.h"
#include "engine/image_converter.h"
#include "engine/rotation.h"
#include "engine/wallpaper.h"

extern "C" {
// The few GDI+ flat functions the floor needs, linked from gdiplus.dll.
struct BenchGdiplusInput {
  UINT32 version;
  void* callback;
  BOOL suppressThread;
  BOOL suppressCodecs;
};
int WINAPI GdiplusStartup(ULONG_PTR*, const BenchGdiplusInput*, void*);
void WINAPI GdiplusShutdown(ULONG_PTR);
int WINAPI GdipLoadImageFromFile(const WCHAR*, void**);
int WINAPI GdipSaveImageToFile(void*, const WCHAR*, const CLSID*, const void*);
int WINAPI GdipDisposeImage(void*);
}

namespace {

std::wstring wide(const std::string& text) {
  int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring result(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &result[0], units);
  result.resize(static_cast<size_t>(units) - 1);
  return result;
}

// The floor: GDI+ reads the file, decodes it and writes a BMP, with nothing around it.
void bareGdiplus(const std::string& jpeg, const std::string& bmp) {
  static const CLSID bmpEncoder = {
      0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  void* image = nullptr;
  if (GdipLoadImageFromFile(wide(jpeg).c_str(), &image) != 0) {
    std::printf("GDI+ could not read %s\n", jpeg.c_str());
    std::exit(1);
  }
  GdipSaveImageToFile(image, wide(bmp).c_str(), &bmpEncoder, nullptr);
  GdipDisposeImage(image);
}

SIZE_T privateBytes(bool peak) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// The largest working set seen while run runs, sampled every millisecond from a second
// thread (the system's own peak figure only ever grows, so it cannot tell phases apart).
template <typename Run>
SIZE_T peakDuring(Run run) {
  std::atomic<bool> running{true};
  std::atomic<SIZE_T> peak{privateBytes(false)};
  std::thread sampler([&] {
    while (running) {
      SIZE_T now = privateBytes(false);
      if (now > peak) peak = now;
      Sleep(1);
    }
  });
  run();
  running = false;
  sampler.join();
  return std::max<SIZE_T>(peak, privateBytes(false));
}

double megabytes(SIZE_T bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: change_bench <jpeg> [djpeg ms]\n");
    return 2;
  }
  std::string jpeg = argv[1];
  double djpegMs = argc > 2 ? std::atof(argv[2]) : 0;
  std::string folder = jpeg.substr(0, jpeg.rfind('\\'));
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string programFolder = std::string(temp) + "mureva-change-bench";
  CreateDirectoryA(programFolder.c_str(), nullptr);

  createGlobalState();
  Program& p = program();
  p.programDirectory = programFolder;
  p.settings.pictureDirectory = folder;
  p.settings.includeSubdirectories = 0;

  SIZE_T baseline = privateBytes(false);
  changeWallpaper();  // builds the list; then every change applies the one picture again
  SIZE_T peak = peakDuring([] { changeWallpaper(); });
  double changeMs = bestOf(3, [] { changeWallpaper(); });
  WIN32_FILE_ATTRIBUTE_DATA written{};
  GetFileAttributesExA(wallpaperFilePath().c_str(), GetFileExInfoStandard, &written);
  SIZE_T bmpBytes = written.nFileSizeLow;

  std::string jpegBytes = readWholeFile(jpeg);
  double convertMs = bestOf(3, [&] { convertImage(jpegBytes, 0); });
  double setMs = bestOf(3, [&] { setDesktopWallpaper(wallpaperFilePath(), 0); });
  SIZE_T convertPeak = peakDuring([&] { convertImage(jpegBytes, 0); });
  SIZE_T setPeak = peakDuring([&] { setDesktopWallpaper(wallpaperFilePath(), 0); });
  std::string bmpBytesRead = readWholeFile(wallpaperFilePath());
  double writeMs = bestOf(3, [&] { writeWholeFile(wallpaperFilePath(), bmpBytesRead); });

  ULONG_PTR token = 0;
  BenchGdiplusInput input{1, nullptr, FALSE, FALSE};
  GdiplusStartup(&token, &input, nullptr);
  std::string floorBmp = programFolder + "\\floor.bmp";
  double floorMs = bestOf(3, [&] { bareGdiplus(jpeg, floorBmp); });
  SIZE_T floorPeak = peakDuring([&] { bareGdiplus(jpeg, floorBmp); });
  GdiplusShutdown(token);

  std::printf("picture: %s, %d pictures listed, BMP written %.1f MB\n", jpeg.c_str(),
              p.images.count(), megabytes(bmpBytes));
  std::printf("changeWallpaper end to end:   %8.1f ms (best of 3)\n", changeMs);
  std::printf(
      "  of which convertImage:       %7.1f ms, file write %.1f ms, setDesktopWallpaper %.1f ms\n",
      convertMs, writeMs, setMs);
  std::printf("bare GDI+ decode + BMP encode: %7.1f ms (best of 3)\n", floorMs);
  std::printf("ratio change / GDI+ floor:     %7.2f (goal: at most 1.3)\n", changeMs / floorMs);
  std::printf("  without the two system calls: %6.2f\n", (changeMs - setMs) / floorMs);
  if (djpegMs > 0) {
    std::printf("djpeg -bmp (host):             %7.1f ms\n", djpegMs);
    std::printf("ratio change / djpeg:          %7.2f; GDI+ floor / djpeg: %.2f\n",
                changeMs / djpegMs, floorMs / djpegMs);
  }
  std::printf("peak working set:              %7.1f MB (%.1f MB before the first change)\n",
              megabytes(peak), megabytes(baseline));
  std::printf("  peak during convertImage %.1f MB, during setDesktopWallpaper %.1f MB\n",
              megabytes(convertPeak), megabytes(setPeak));
  std::printf("  peak during the bare GDI+ floor %.1f MB (%.2f x the BMP)\n", megabytes(floorPeak),
              static_cast<double>(floorPeak) / static_cast<double>(bmpBytes));
  std::printf("peak / BMP size:               %7.2f (goal: at most 2.5)\n",
              static_cast<double>(peak) / static_cast<double>(bmpBytes));
  releaseGlobalState();
  return 0;
}
