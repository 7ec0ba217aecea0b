#pragma once
#include <windows.h>
#include <objbase.h>

#include <utility>

// Move-only owners of Windows handles; each closes its handle exactly once.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  // For functions that hand a new handle out through a pointer.
  Type* put() {
    reset();
    return &handle_;
  }
  Type release() { return std::exchange(handle_, Traits::invalid()); }
  void reset(Type handle = Traits::invalid()) {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Type handle_ = Traits::invalid();
};

struct FileHandleTraits {
  using Type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void close(HANDLE h) { FindClose(h); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static HKEY invalid() { return nullptr; }
  static bool valid(HKEY h) { return h != nullptr; }
  static void close(HKEY h) { RegCloseKey(h); }
};

struct LibraryTraits {
  using Type = HMODULE;
  static HMODULE invalid() { return nullptr; }
  static bool valid(HMODULE h) { return h != nullptr; }
  static void close(HMODULE h) { FreeLibrary(h); }
};

struct GlobalMemoryTraits {
  using Type = HGLOBAL;
  static HGLOBAL invalid() { return nullptr; }
  static bool valid(HGLOBAL h) { return h != nullptr; }
  static void close(HGLOBAL h) { GlobalFree(h); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Library = UniqueHandle<LibraryTraits>;
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;

// Owns one reference to a COM object.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  T** put() {
    reset();
    return &object_;
  }
  void reset() {
    if (object_) std::exchange(object_, nullptr)->Release();
  }

 private:
  T* object_ = nullptr;
};
