#pragma once

namespace korbisto {

// A replaceable piece of the platform: the real one by default, a recorder
// or stand-in while one is installed.
template <class Interface, class Real>
class Seam {
public:
    static Interface& get() { return override_ ? *override_ : real(); }
    static void set(Interface* replacement) { override_ = replacement; }
    // Takes `replacement` out again, unless another has taken its place.
    static void release(Interface* replacement) {
        if (override_ == replacement) override_ = nullptr;
    }

private:
    static Real& real() {
        static Real instance;
        return instance;
    }
    static inline Interface* override_ = nullptr;
};

}  // namespace korbisto
