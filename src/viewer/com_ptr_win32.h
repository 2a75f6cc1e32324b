#pragma once
// One owned reference to a COM interface, released when the owner goes, so
// no exit path of a function can leak or double-release an object.
#include <unknwn.h>

namespace vexmar::viewer {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.pointer_;
      other.pointer_ = nullptr;
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  // Takes over a reference the caller already holds: a new object's first
  // one, or what a function handed out.
  static ComPtr Adopt(Interface* pointer) {
    ComPtr owner;
    owner.pointer_ = pointer;
    return owner;
  }
  // Takes a reference of its own to an object somebody else holds.
  static ComPtr Share(Interface* pointer) {
    if (pointer != nullptr) {
      pointer->AddRef();
    }
    return Adopt(pointer);
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For a function's out parameter: drops what is held first, so the old
  // reference is not overwritten and lost.
  Interface** Receive() {
    Reset();
    return &pointer_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

  void Reset() {
    if (pointer_ != nullptr) {
      Interface* const pointer = pointer_;
      pointer_ = nullptr;
      pointer->Release();
    }
  }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace vexmar::viewer
