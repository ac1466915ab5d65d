// Replaces a value for the lifetime of the object and restores it afterwards:
// how a test puts its own table of system calls into a seam.
#pragma once

namespace framework {

template <typename T>
class ScopedOverride {
public:
    ScopedOverride(T& target, const T& replacement) : target_(target), saved_(target) { target_ = replacement; }
    ~ScopedOverride() { target_ = saved_; }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    T& target_;
    T saved_;
};

}  // namespace framework
