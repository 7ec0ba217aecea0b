#include "engine/image_converter.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "app/handles.h"
#include "engine/string_stream.h"

namespace {

const char* const kEncoderIds[] = {
    "{557CF400-1A04-11D3-9A73-0000F81EF32E}",  // BMP
    "{557CF401-1A04-11D3-9A73-0000F81EF32E}",  // JPEG
    "{557CF402-1A04-11D3-9A73-0000F81EF32E}",  // GIF
    "{557CF405-1A04-11D3-9A73-0000F81EF32E}",  // TIFF
    "{557CF406-1A04-11D3-9A73-0000F81EF32E}",  // PNG
};

// The GDI+ flat API, declared here: the library is bound at run time, never linked.
struct GdiplusStartupInput {
  UINT32 GdiplusVersion;
  void* DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
};
using GpImage = void;
using GpStatus = int;
constexpr int kPixelFormat24bppRGB = 0x00021808;

struct Gdiplus {
  GpStatus(WINAPI* startup)(ULONG_PTR*, const GdiplusStartupInput*, void*);
  void(WINAPI* shutdown)(ULONG_PTR);
  GpStatus(WINAPI* createBitmapFromStream)(IStream*, GpImage**);
  GpStatus(WINAPI* getPixelFormat)(GpImage*, int*);
  GpStatus(WINAPI* getWidth)(GpImage*, UINT*);
  GpStatus(WINAPI* getHeight)(GpImage*, UINT*);
  GpStatus(WINAPI* cloneBitmapArea)(INT, INT, INT, INT, int, GpImage*, GpImage**);
  GpStatus(WINAPI* saveImageToStream)(GpImage*, IStream*, const CLSID*, const void*);
  GpStatus(WINAPI* disposeImage)(GpImage*);
  HRESULT(WINAPI* clsidFromString)(LPCOLESTR, LPCLSID);
  HRESULT(WINAPI* createStreamOnHGlobal)(HGLOBAL, BOOL, IStream**);
};

template <typename Function>
bool bind(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return function != nullptr;
}

bool bindAll(HMODULE gdiplus, HMODULE ole32, Gdiplus& api) {
  return bind(gdiplus, "GdiplusStartup", api.startup) &&
         bind(gdiplus, "GdiplusShutdown", api.shutdown) &&
         bind(gdiplus, "GdipCreateBitmapFromStream", api.createBitmapFromStream) &&
         bind(gdiplus, "GdipGetImagePixelFormat", api.getPixelFormat) &&
         bind(gdiplus, "GdipGetImageWidth", api.getWidth) &&
         bind(gdiplus, "GdipGetImageHeight", api.getHeight) &&
         bind(gdiplus, "GdipCloneBitmapAreaI", api.cloneBitmapArea) &&
         bind(gdiplus, "GdipSaveImageToStream", api.saveImageToStream) &&
         bind(gdiplus, "GdipDisposeImage", api.disposeImage) &&
         bind(ole32, "CLSIDFromString", api.clsidFromString) &&
         bind(ole32, "CreateStreamOnHGlobal", api.createStreamOnHGlobal);
}

// Loads a system DLL by its full path: a DLL of the same name dropped beside the exe (say, in
// a Downloads folder) must never run inside the program.
Library loadSystemLibrary(const char* name) {
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Library();
  std::string path = std::string(folder, length) + "\\" + name;
  return Library(LoadLibraryA(path.c_str()));
}

// GDI+ started for one conversion and shut down after it, so a background process that
// converts thousands of pictures over weeks keeps nothing of them.
class GdiplusSession {
 public:
  explicit GdiplusSession(const Gdiplus& api) : api_(api) {
    GdiplusStartupInput input{1, nullptr, FALSE, FALSE};
    started_ = api_.startup(&token_, &input, nullptr) == 0;
  }
  ~GdiplusSession() {
    if (started_) api_.shutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  explicit operator bool() const { return started_; }

 private:
  const Gdiplus& api_;
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

class GdiplusImage {
 public:
  explicit GdiplusImage(const Gdiplus& api) : api_(api) {}
  ~GdiplusImage() { reset(); }
  GdiplusImage(const GdiplusImage&) = delete;
  GdiplusImage& operator=(const GdiplusImage&) = delete;
  GpImage* get() const { return image_; }
  GpImage** put() {
    reset();
    return &image_;
  }
  void reset() {
    if (image_) api_.disposeImage(image_);
    image_ = nullptr;
  }
  void swap(GdiplusImage& other) { std::swap(image_, other.image_); }

 private:
  const Gdiplus& api_;
  GpImage* image_ = nullptr;
};

bool encoderClsid(const Gdiplus& api, int formatIndex, CLSID& clsid) {
  const char* text = encoderIdText(formatIndex);
  if (!text) return false;
  int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(units > 0 ? units : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
  std::memset(&clsid, 0, sizeof clsid);
  return SUCCEEDED(api.clsidFromString(wide.data(), &clsid));
}

// A stream over a copy of the input; the stream owns the copy and frees it when released.
ComPtr<IStream> streamOverCopy(const Gdiplus& api, const std::string& input) {
  ComPtr<IStream> stream;
  GlobalMemory block(GlobalAlloc(GMEM_FIXED, input.size()));
  if (!block) return stream;
  std::memcpy(GlobalLock(block.get()), input.data(), input.size());
  GlobalUnlock(block.get());
  if (SUCCEEDED(api.createStreamOnHGlobal(block.get(), TRUE, stream.put()))) block.release();
  return stream;
}

// Wine's GDI+ writes 8-, 4- and 1-bit BMPs with a wrong file-size field; at 24 bits every
// BMP comes out whole, so a decoded picture of another depth is copied to 24 bits first.
bool toTwentyFourBits(const Gdiplus& api, GdiplusImage& image) {
  int format = 0;
  if (api.getPixelFormat(image.get(), &format) != 0) return false;
  if (format == kPixelFormat24bppRGB) return true;
  UINT width = 0, height = 0;
  if (api.getWidth(image.get(), &width) != 0 || api.getHeight(image.get(), &height) != 0)
    return false;
  GdiplusImage copy(api);
  if (api.cloneBitmapArea(0, 0, static_cast<INT>(width), static_cast<INT>(height),
                          kPixelFormat24bppRGB, image.get(), copy.put()) != 0)
    return false;
  image.swap(copy);
  return true;
}

// The size of the 24-bit BMP file of a picture, so the output can be reserved at once.
size_t bmpFileSize(const Gdiplus& api, GpImage* image) {
  UINT width = 0, height = 0;
  if (api.getWidth(image, &width) != 0 || api.getHeight(image, &height) != 0) return 0;
  unsigned long long row = (static_cast<unsigned long long>(width) * 3 + 3) & ~3ULL;
  unsigned long long size = 54 + row * height;
  return size < (1ULL << 31) ? static_cast<size_t>(size) : 0;
}

std::string convert(const Gdiplus& api, const std::string& input, int formatIndex) {
  GdiplusSession session(api);
  CLSID encoder;
  if (!session || !encoderClsid(api, formatIndex, encoder)) return std::string();
  ComPtr<IStream> inputStream = streamOverCopy(api, input);
  if (!inputStream) return std::string();
  GdiplusImage image(api);
  if (api.createBitmapFromStream(inputStream.get(), image.put()) != 0 || !image.get())
    return std::string();
  if (formatIndex == 0 && !toTwentyFourBits(api, image)) return std::string();
  // The encoder writes straight into the string that is handed back: a large picture is
  // never held twice over in encoded form.
  size_t expected = formatIndex == 0 ? bmpFileSize(api, image.get()) : 0;
  ComPtr<IStream> outputStream;
  StringStream* output = new (std::nothrow) StringStream(expected);
  if (!output) return std::string();
  *outputStream.put() = output;
  if (api.saveImageToStream(image.get(), output, &encoder, nullptr) != 0) return std::string();
  image.reset();
  inputStream.reset();
  return output->take();
}

}  // namespace

const char* encoderIdText(int formatIndex) {
  return formatIndex >= 0 && formatIndex <= 4 ? kEncoderIds[formatIndex] : nullptr;
}

std::string convertImage(const std::string& input, int formatIndex) {
  if (input.empty()) return std::string();
  Library ole32 = loadSystemLibrary("ole32.dll");
  Library gdiplus = loadSystemLibrary("gdiplus.dll");
  Gdiplus api{};
  if (!ole32 || !gdiplus || !bindAll(gdiplus.get(), ole32.get(), api)) return std::string();
  return convert(api, input, formatIndex);
}
