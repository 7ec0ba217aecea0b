#include "engine/string_stream.h"

#include <cstring>
#include <new>

namespace {
// Nothing the encoders write comes near this; a stream may not grow past it.
constexpr ULONGLONG kLargestStream = 1ULL << 31;
}  // namespace

StringStream::StringStream(size_t expectedSize) {
  try {
    bytes_.reserve(expectedSize);
  } catch (const std::bad_alloc&) {
    // Writing will try again, a little at a time.
  }
}

std::string StringStream::take() {
  std::string result;
  result.swap(bytes_);
  position_ = 0;
  return result;
}

HRESULT StringStream::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IStream) ||
      IsEqualIID(id, IID_ISequentialStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG StringStream::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG StringStream::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT StringStream::Read(void* buffer, ULONG size, ULONG* done) {
  size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  ULONG count = size < available ? size : static_cast<ULONG>(available);
  if (count) std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += count;
  if (done) *done = count;
  return count < size ? S_FALSE : S_OK;
}

HRESULT StringStream::Write(const void* buffer, ULONG size, ULONG* done) {
  if (done) *done = 0;
  if (position_ + static_cast<ULONGLONG>(size) > kLargestStream) return STG_E_MEDIUMFULL;
  try {
    size_t end = position_ + size;
    if (end > bytes_.size()) bytes_.resize(end);
  } catch (const std::bad_alloc&) {
    return STG_E_MEDIUMFULL;
  }
  if (size) std::memcpy(&bytes_[position_], buffer, size);
  position_ += size;
  if (done) *done = size;
  return S_OK;
}

HRESULT StringStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  LONGLONG base;
  switch (origin) {
    case STREAM_SEEK_SET:
      base = 0;
      break;
    case STREAM_SEEK_CUR:
      base = static_cast<LONGLONG>(position_);
      break;
    case STREAM_SEEK_END:
      base = static_cast<LONGLONG>(bytes_.size());
      break;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  LONGLONG target = base + move.QuadPart;
  if (target < 0 || static_cast<ULONGLONG>(target) > kLargestStream) return STG_E_INVALIDFUNCTION;
  position_ = static_cast<size_t>(target);
  if (position) position->QuadPart = static_cast<ULONGLONG>(target);
  return S_OK;
}

HRESULT StringStream::SetSize(ULARGE_INTEGER size) {
  if (size.QuadPart > kLargestStream) return STG_E_MEDIUMFULL;
  try {
    bytes_.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return STG_E_MEDIUMFULL;
  }
  return S_OK;
}

HRESULT StringStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;
}

HRESULT StringStream::Commit(DWORD) {
  return S_OK;
}
HRESULT StringStream::Revert() {
  return S_OK;
}
HRESULT StringStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}
HRESULT StringStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT StringStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = bytes_.size();
  return S_OK;
}

HRESULT StringStream::Clone(IStream** copy) {
  if (copy) *copy = nullptr;
  return E_NOTIMPL;
}
