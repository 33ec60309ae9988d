#include "platform/backend/win32/win32_window.h"

#include <algorithm>
#include <cstring>

#include "platform/backend/win32/wide_text.h"

namespace plumet::backend::win32 {
namespace {

// The flags that make pen and touch arrive as plain mouse messages: no
// press-and-hold, tap or barrel feedback, no flicks.
constexpr const wchar_t* kTabletProperty = L"MicrosoftTabletPenServiceProperty";
constexpr std::uintptr_t kTabletPlainMouse = 0x00000001 | 0x00000008 | 0x00000010 | 0x00010000;

}  // namespace

HBITMAP MakeDibSection(HDC dc, int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

Win32Window::Win32Window(HINSTANCE instance, const WindowOptions& options, HWND owner, LPARAM creationData)
    : options_(options) {
  // Every window is layered and above other programs' windows; only the
  // board may take the focus, the palette and the icon never do.
  DWORD exStyle = WS_EX_LAYERED | WS_EX_TOPMOST;
  exStyle |= options.toolWindow ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
  if (!options.takesFocus) exStyle |= WS_EX_NOACTIVATE;
  hwnd_ = ::CreateWindowExW(exStyle, owner == nullptr ? kBoardClass : kToolClass, WideFromUtf8(options.title).c_str(),
                            WS_POPUP, 0, 0, 1, 1, owner, nullptr, instance, reinterpret_cast<void*>(creationData));
  if (hwnd_ != nullptr) ::SetPropW(hwnd_, kTabletProperty, reinterpret_cast<HANDLE>(kTabletPlainMouse));
}

Win32Window::~Win32Window() {
  if (hwnd_ != nullptr) {
    ::RemovePropW(hwnd_, kTabletProperty);
    ::DestroyWindow(hwnd_);
  }
  if (dc_ != nullptr) {
    ::SelectObject(dc_, oldBitmap_);
    ::DeleteDC(dc_);
  }
  if (dib_ != nullptr) ::DeleteObject(dib_);
  if (icon_ != nullptr) ::DestroyIcon(icon_);
}

void Win32Window::SetBounds(const Rect& screenRect) {
  bounds_ = screenRect;
  ::SetWindowPos(hwnd_, nullptr, screenRect.left, screenRect.top, screenRect.Width(), screenRect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // A window that never had a picture shows its plain face at the new size.
  if (!presented_ && !options_.layered && MakeSurface(screenRect.Width(), screenRect.Height())) {
    std::fill(bits_, bits_ + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kUnpresentedFill);
    mode_ = PresentMode::Opaque;
    Update(nullptr);
  }
}

void Win32Window::Show(bool visible) {
  visible_ = visible;
  // A window without a picture is shown with its first one: shown before,
  // some window systems (Wine) let it take input where nothing is seen.
  if (visible && !presented_) return;
  ::ShowWindow(hwnd_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  // The picture is kept while hidden; Wine forgets it.
  if (visible) Update(nullptr);
}

void Win32Window::Raise() {
  // The window is top-most already: HWND_TOP puts it above the other
  // top-most windows. Its owner stays where it is (the desktop raises owned
  // windows itself).
  const UINT owner = options_.owner != 0 ? SWP_NOOWNERZORDER : 0;
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | owner);
}

void Win32Window::SetPassThrough(bool passThrough) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  const LONG_PTR wanted = passThrough ? (style | WS_EX_TRANSPARENT) : (style & ~static_cast<LONG_PTR>(WS_EX_TRANSPARENT));
  if (wanted != style) ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, wanted);
}

void Win32Window::SetShape(const std::vector<Rect>& rects) {
  shape_ = rects;
  if (rects.empty()) {
    ::SetWindowRgn(hwnd_, nullptr, TRUE);
    return;
  }
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  for (const Rect& r : rects) {
    HRGN part = ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
    ::CombineRgn(region, region, part, RGN_OR);
    ::DeleteObject(part);
  }
  // The window owns the region from here on.
  if (::SetWindowRgn(hwnd_, region, TRUE) == 0) ::DeleteObject(region);
}

bool Win32Window::MakeSurface(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (dib_ != nullptr && width == width_ && height == height_) return true;
  if (dc_ == nullptr) {
    dc_ = ::CreateCompatibleDC(nullptr);
    if (dc_ == nullptr) return false;
  }
  void* bits = nullptr;
  HBITMAP dib = MakeDibSection(dc_, width, height, &bits);
  if (dib == nullptr) return false;
  HGDIOBJ previous = ::SelectObject(dc_, dib);
  if (dib_ != nullptr) {
    ::DeleteObject(dib_);
  } else {
    oldBitmap_ = previous;
  }
  dib_ = dib;
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  presented_ = false;
  return true;
}

void Win32Window::Present(const Presentation& presentation) {
  const PixelView& source = presentation.source;
  if (source.pixels == nullptr || source.width <= 0 || source.height <= 0) return;
  const bool sameSize = dib_ != nullptr && width_ == source.width && height_ == source.height;
  if (!MakeSurface(source.width, source.height)) return;
  RECT copy{0, 0, source.width, source.height};
  const bool partial = presentation.dirty && sameSize && presented_ && presentation.mode == mode_ &&
                       (presentation.colorKey & 0xFFFFFFu) == colorKey_;
  if (partial) {
    const Rect& d = *presentation.dirty;
    copy = RECT{std::max(d.left, 0), std::max(d.top, 0), std::min(d.right, source.width),
                std::min(d.bottom, source.height)};
    if (copy.left >= copy.right || copy.top >= copy.bottom) return;
  }
  // The window system reads per-pixel alpha as premultiplied, as the source
  // is; the other modes show every pixel solid.
  const std::uint32_t solid = presentation.mode == PresentMode::PerPixelAlpha ? 0u : 0xFF000000u;
  const auto columns = static_cast<std::size_t>(copy.right - copy.left);
  for (int y = copy.top; y < copy.bottom; ++y) {
    std::uint32_t* to = bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + copy.left;
    const auto* row = reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const std::uint8_t*>(source.pixels) +
                                                             static_cast<std::ptrdiff_t>(y) * source.stride);
    std::memcpy(to, row + copy.left, columns * 4);
    if (solid != 0) {
      for (std::size_t x = 0; x < columns; ++x) to[x] |= solid;
    }
  }
  mode_ = presentation.mode;
  ClearOutsideShape(copy);
  ::GdiFlush();
  colorKey_ = presentation.colorKey & 0xFFFFFFu;
  const bool firstPicture = !presented_;
  presented_ = true;
  if (firstPicture && visible_) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  Update(partial ? &copy : nullptr);
}

void Win32Window::ClearOutsideShape(const RECT& area) {
  if (shape_.empty() || mode_ == PresentMode::ColorKey) return;
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    for (int x = area.left; x < area.right; ++x) {
      const bool inside = std::any_of(shape_.begin(), shape_.end(), [&](const Rect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      });
      if (!inside) row[x] = 0;
    }
  }
}

void Win32Window::Update(const RECT* dirty) {
  POINT position{bounds_.left, bounds_.top};
  SIZE size{width_, height_};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UPDATELAYEREDWINDOWINFO info{};
  info.cbSize = sizeof(info);
  info.pptDst = &position;
  info.psize = &size;
  info.hdcSrc = dc_;
  info.pptSrc = &origin;
  info.pblend = &blend;
  info.prcDirty = dirty;
  if (mode_ == PresentMode::ColorKey) {
    // The key is 0x00RRGGBB; a COLORREF has red in the low byte.
    info.crKey = RGB((colorKey_ >> 16) & 0xFF, (colorKey_ >> 8) & 0xFF, colorKey_ & 0xFF);
    info.dwFlags = ULW_COLORKEY;
    info.pblend = nullptr;
  } else {
    info.dwFlags = ULW_ALPHA;
  }
  ::UpdateLayeredWindowIndirect(hwnd_, &info);
}

HICON MakeIconHandle(const CursorImage& image, bool icon) {
  const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  if (image.width <= 0 || image.height <= 0 || image.argb.size() != count) return nullptr;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP color = MakeDibSection(screen, image.width, image.height, &bits);
  ::ReleaseDC(nullptr, screen);
  if (color == nullptr) return nullptr;
  // Straight alpha, as icons and cursors take it.
  std::memcpy(bits, image.argb.data(), count * 4);
  HBITMAP mask = ::CreateBitmap(image.width, image.height, 1, 1, nullptr);
  ICONINFO info{};
  info.fIcon = icon ? TRUE : FALSE;
  info.xHotspot = static_cast<DWORD>(std::clamp(image.hotX, 0, image.width - 1));
  info.yHotspot = static_cast<DWORD>(std::clamp(image.hotY, 0, image.height - 1));
  info.hbmMask = mask;
  info.hbmColor = color;
  HICON made = ::CreateIconIndirect(&info);
  ::DeleteObject(color);
  if (mask != nullptr) ::DeleteObject(mask);
  return made;
}

void Win32Window::SetIcon(const CursorImage& picture) {
  HICON made = MakeIconHandle(picture, true);
  if (made == nullptr) return;
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(made));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(made));
  if (icon_ != nullptr) ::DestroyIcon(icon_);
  icon_ = made;
}

}  // namespace plumet::backend::win32
