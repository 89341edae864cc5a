#pragma once
// A window that the face shows on demand: either one that exists already, or
// one built the first time it is asked for, so that start-up does not pay for
// windows the user may never open.

#include <QWidget>
#include <functional>
#include <memory>
#include <utility>

namespace zarvik {

class DeferredWindow {
 public:
  using Builder = std::function<std::unique_ptr<QWidget>()>;

  // An existing window (or none), owned elsewhere.
  DeferredWindow(QWidget* window = nullptr) : window_(window) {}  // NOLINT(google-explicit-constructor)
  // A window built, and owned from then on, at the first get().
  explicit DeferredWindow(Builder build) : build_(std::move(build)) {}

  // The window, built now if it has not been yet; null when there is none.
  // A get() made while the window is being built (its constructor reporting
  // a problem in a modal box) finds none.
  QWidget* get() {
    if (!window_ && build_) {
      built_ = std::exchange(build_, nullptr)();
      window_ = built_.get();
    }
    return window_;
  }

 private:
  Builder build_;
  std::unique_ptr<QWidget> built_;
  QWidget* window_ = nullptr;
};

}  // namespace zarvik
