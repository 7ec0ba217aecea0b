#pragma once
#include <windows.h>
#include <objidl.h>

#include <string>

// A growable in-memory IStream whose bytes end up in a std::string, so an encoder's output
// can be handed on without a copy. Created with a reference count of 1.
class StringStream final : public IStream {
 public:
  // Reserves room for the expected size, so writing never moves what was written.
  explicit StringStream(size_t expectedSize);

  // The bytes written so far (up to the stream's size); the stream is empty afterwards.
  std::string take();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* done) override;
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* done) override;

  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override;

 private:
  ~StringStream() = default;

  LONG references_ = 1;
  std::string bytes_;
  size_t position_ = 0;
};
