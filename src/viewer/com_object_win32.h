#pragma once
// The reference count and QueryInterface of every COM object the viewer
// implements. A class derives from ComObject<Itself, Interfaces...>, makes
// ComObject its friend and lists in kInterfaces which of those interfaces
// (by its place in the list) answers for which IID; IUnknown is always the
// first, so every query for it gets the same pointer, as COM identity needs. The object starts with
// one reference, owned by whoever created it (ComPtr::Adopt). The class is
// named rather than reached through virtual functions, and the IIDs are data
// walked by one loop rather than a chain of comparisons in code: each is
// less in every book.
//
// COM objects delete themselves in Release, never through a pointer to an
// interface, so the interfaces' non-virtual destructors are by design; the
// warning is silenced for the files that implement COM objects only.
#include <ole2.h>
#include <windows.h>

#include <cstddef>
#include <iterator>

#include "viewer/com_ptr_win32.h"

#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace vexmar::viewer {

struct InterfaceEntry {
  const IID* iid;
  size_t index;
};

// Out of line: one copy of the loop serves every class.
[[gnu::noinline]] inline void* FindInterface(REFIID riid, const InterfaceEntry* entries,
                                             size_t count, void* const* interfaces) {
  if (IsEqualIID(riid, IID_IUnknown)) {
    return interfaces[0];
  }
  for (size_t i = 0; i < count; ++i) {
    if (IsEqualIID(riid, *entries[i].iid)) {
      return interfaces[entries[i].index];
    }
  }
  return nullptr;
}

template <typename Self, typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    static_assert(EveryIndexFits(), "kInterfaces names an interface the class does not have");
    void* const interfaces[] = {static_cast<Interfaces*>(this)...};
    *out = FindInterface(riid, Self::kInterfaces, std::size(Self::kInterfaces), interfaces);
    if (*out == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) {
      delete static_cast<Self*>(this);
    }
    return static_cast<ULONG>(refs);
  }

 protected:
  ComObject() = default;
  ~ComObject() = default;

 private:
  static constexpr bool EveryIndexFits() {
    for (const InterfaceEntry& entry : Self::kInterfaces) {
      if (entry.index >= sizeof...(Interfaces)) {
        return false;
      }
    }
    return true;
  }

  LONG refs_ = 1;
};

}  // namespace vexmar::viewer
