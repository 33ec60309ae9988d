#include "platform/backend/headless/window_stack.h"

#include <algorithm>

namespace plumet::backend::headless {

WindowId WindowStack::Create(const WindowOptions& options) {
  const WindowId id = nextId_++;
  windows_.emplace(id, NativeWindow(options));
  order_.push_back(id);
  return id;
}

void WindowStack::Destroy(WindowId id) {
  windows_.erase(id);
  std::erase(order_, id);
}

NativeWindow* WindowStack::Find(WindowId id) {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : &it->second;
}

const NativeWindow* WindowStack::Find(WindowId id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : &it->second;
}

bool WindowStack::IsOwnedBy(WindowId id, WindowId owner) const {
  // Bounded by the number of windows so that an ownership cycle cannot hang.
  for (std::size_t hops = 0; hops <= windows_.size(); ++hops) {
    const NativeWindow* window = Find(id);
    if (window == nullptr || window->State().options.owner == 0) return false;
    id = window->State().options.owner;
    if (id == owner) return true;
  }
  return false;
}

void WindowStack::Raise(WindowId id) {
  if (Find(id) == nullptr) return;
  std::stable_partition(order_.begin(), order_.end(),
                        [&](WindowId w) { return w != id && !IsOwnedBy(w, id); });
}

Image WindowStack::Compose(const Image& desktop) const {
  Image screen = desktop;
  for (WindowId id : order_) {
    const WindowState& state = Find(id)->State();
    if (!state.visible) continue;
    const Rect& b = state.bounds;
    const int top = std::max(b.top, 0);
    const int bottom = std::min(b.bottom, screen.height);
    const int left = std::max(b.left, 0);
    const int right = std::min(b.right, screen.width);
    const NativeWindow& window = *Find(id);
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        screen.At(x, y) = SourceOver(window.Shown(x - b.left, y - b.top), screen.At(x, y));
      }
    }
  }
  return screen;
}

WindowId WindowStack::InputWindowAt(int x, int y) const {
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    const NativeWindow& window = *Find(*it);
    const WindowState& state = window.State();
    if (!state.visible || state.passThrough) continue;
    if ((window.Shown(x - state.bounds.left, y - state.bounds.top) >> 24) != 0) return *it;
  }
  return 0;
}

}  // namespace plumet::backend::headless
