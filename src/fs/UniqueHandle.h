#pragma once
// Move-only owner of one platform handle; Traits says what "none" is and how to close.
#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::None(); }
    explicit operator bool() const { return Valid(); }

    Handle Release() { return std::exchange(handle_, Traits::None()); }

    // Closes the owned handle; true when there was none or it closed cleanly.
    bool Reset(Handle handle = Traits::None())
    {
        Handle old = std::exchange(handle_, handle);
        return old == Traits::None() || Traits::Close(old);
    }

private:
    Handle handle_ = Traits::None();
};
