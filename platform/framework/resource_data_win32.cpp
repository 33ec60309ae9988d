// Resources from the program's own module, as windres compiled them: dialog
// templates (DLGTEMPLATEEX), bitmaps (DIBs), cursor and icon groups, and the
// PNG pictures as a type of their own.
#include "platform/framework/resource_data.h"

// After the framework's headers: windows.h renames CreateWindow.
#include <windows.h>

#include <cstring>
#include <map>
#include <span>
#include <utility>

#include "platform/graphics/picture_decoder.h"

namespace plumet::framework {
namespace {

using Bytes = std::span<const unsigned char>;

// A resource's bytes stay mapped with the module for the whole run.
std::optional<Bytes> ModuleResource(unsigned id, const wchar_t* type) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!found) return std::nullopt;
  const DWORD size = ::SizeofResource(module, found);
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data || size == 0) return std::nullopt;
  return Bytes(static_cast<const unsigned char*>(data), size);
}

// Little-endian fields read in order; a read past the end fails the reader
// and reads as 0.
class Reader {
 public:
  explicit Reader(Bytes bytes, std::size_t at = 0) : bytes_(bytes), at_(at) {}
  bool Ok() const { return ok_; }
  std::size_t At() const { return at_; }
  std::uint32_t Read(std::size_t width) {
    if (at_ + width > bytes_.size()) {
      ok_ = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(bytes_[at_ + i]) << (8 * i);
    at_ += width;
    return value;
  }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Read(2)); }
  std::uint32_t Dword() { return Read(4); }
  short Short() { return static_cast<short>(Word()); }
  void AlignTo(std::size_t n) { at_ = (at_ + n - 1) / n * n; }
  // A name or a number: UTF-16 up to its 0, or 0xFFFF and a number (given as text).
  std::string NameOrNumber() {
    const std::uint16_t first = Word();
    if (first == 0xFFFF) return std::to_string(Word());
    std::wstring text;
    for (std::uint16_t c = first; ok_ && c != 0; c = Word()) text.push_back(static_cast<wchar_t>(c));
    return Utf8(text);
  }

 private:
  static std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int wide = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), size, nullptr, nullptr);
    return out;
  }

  Bytes bytes_;
  std::size_t at_;
  bool ok_ = true;
};

// A DIB as bitmap, cursor and icon resources hold it: a BITMAPINFOHEADER,
// then bottom-up rows of 24-bit BGR or 32-bit BGRA with straight alpha. An
// icon or cursor image is twice as high (its AND mask follows the colour
// rows); `heightParts` says so.
std::optional<backend::CursorImage> ReadDib(Bytes bytes, int heightParts) {
  Reader header(bytes);
  const std::uint32_t headerSize = header.Dword();
  const auto width = static_cast<std::int32_t>(header.Dword());
  const auto storedHeight = static_cast<std::int32_t>(header.Dword());
  header.Word();  // planes
  const std::uint16_t bits = header.Word();
  const std::uint32_t compression = header.Dword();
  if (!header.Ok() || headerSize < 40 || width <= 0 || width > 0x4000 || storedHeight <= 0 ||
      storedHeight / heightParts > 0x4000 || (bits != 24 && bits != 32) || compression != BI_RGB)
    return std::nullopt;
  const int height = storedHeight / heightParts;
  const std::size_t bytesPerPixel = bits / 8;
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  if (headerSize + stride * static_cast<std::size_t>(height) > bytes.size()) return std::nullopt;
  backend::CursorImage picture;
  picture.width = width;
  picture.height = height;
  picture.argb.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = bytes.data() + headerSize + stride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = row + bytesPerPixel * static_cast<std::size_t>(x);
      const std::uint32_t alpha = bits == 32 ? p[3] : 0xFF;
      picture.argb.push_back(alpha << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0]);
    }
  }
  return picture;
}

// The image of a cursor (isIcon false) or icon group that fits the size best
// (0: the system's size).
std::optional<Bytes> GroupImage(unsigned id, bool isIcon, int size) {
  auto group = ModuleResource(id, isIcon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
  if (!group) return std::nullopt;
  const int imageId = ::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group->data()), isIcon ? TRUE : FALSE, size,
                                                    size, LR_DEFAULTCOLOR);
  if (imageId <= 0) return std::nullopt;
  return ModuleResource(static_cast<unsigned>(imageId), isIcon ? RT_ICON : RT_CURSOR);
}

std::optional<backend::CursorImage> Unpremultiplied(const std::shared_ptr<gfx::Surface>& surface) {
  if (!surface) return std::nullopt;
  backend::CursorImage picture;
  picture.width = surface->Width();
  picture.height = surface->Height();
  picture.argb.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) picture.argb.push_back(gfx::Unpremultiply(surface->Pixel(x, y)));
  return picture;
}

}  // namespace

const ResourceBlock* FindResourceBlock(unsigned id, const char* type) {
  if (!type) return nullptr;
  static std::map<std::pair<unsigned, std::string>, ResourceBlock> found;
  const auto key = std::make_pair(id, std::string(type));
  if (auto it = found.find(key); it != found.end()) return &it->second;
  // The program's own type names are ASCII.
  const std::wstring wideType(key.second.begin(), key.second.end());
  auto bytes = ModuleResource(id, wideType.c_str());
  if (!bytes) return nullptr;
  return &(found[key] = ResourceBlock{bytes->data(), bytes->size()});
}

std::optional<DialogTemplate> LoadDialogTemplate(unsigned id) {
  auto bytes = ModuleResource(id, RT_DIALOG);
  if (!bytes) return std::nullopt;
  Reader in(*bytes);
  // Only the extended form (version 1, signature 0xFFFF), which DIALOGEX makes.
  if (in.Word() != 1 || in.Word() != 0xFFFF) return std::nullopt;
  DialogTemplate dialog;
  dialog.id = id;
  in.Dword();  // help id
  dialog.exStyle = in.Dword();
  dialog.style = in.Dword();
  const std::uint16_t count = in.Word();
  in.Short();  // x
  in.Short();  // y
  dialog.cx = in.Short();
  dialog.cy = in.Short();
  in.NameOrNumber();  // menu
  in.NameOrNumber();  // window class
  dialog.caption = in.NameOrNumber();
  if (dialog.style & DS_SETFONT) {  // DS_SHELLFONT includes it
    in.Word();  // point size
    in.Word();  // weight
    in.Read(2);  // italic, character set
    in.NameOrNumber();  // typeface
  }
  for (std::uint16_t i = 0; i < count && in.Ok(); ++i) {
    in.AlignTo(4);
    ControlTemplate control;
    in.Dword();  // help id
    in.Dword();  // extended style
    control.style = in.Dword();
    control.x = in.Short();
    control.y = in.Short();
    control.cx = in.Short();
    control.cy = in.Short();
    control.id = static_cast<int>(in.Dword());
    in.NameOrNumber();  // window class: every control here is a button
    control.text = in.NameOrNumber();
    const std::uint16_t extra = in.Word();
    for (std::uint16_t skipped = 0; skipped < extra; ++skipped) in.Read(1);
    dialog.controls.push_back(std::move(control));
  }
  if (!in.Ok()) return std::nullopt;
  return dialog;
}

std::shared_ptr<gfx::Surface> LoadResourceBitmap(unsigned id) {
  auto bytes = ModuleResource(id, RT_BITMAP);
  auto picture = bytes ? ReadDib(*bytes, 1) : std::nullopt;
  if (!picture) return nullptr;
  auto surface = gfx::Surface::Create(picture->width, picture->height);
  if (!surface) return nullptr;
  for (int y = 0; y < picture->height; ++y) {
    std::uint32_t* row = surface->Row(y);
    for (int x = 0; x < picture->width; ++x)
      row[x] = gfx::Premultiply(picture->argb[static_cast<std::size_t>(y) * picture->width + x]);
  }
  return surface;
}

std::optional<backend::CursorImage> LoadResourceCursor(unsigned id) {
  auto image = GroupImage(id, false, 0);
  // A cursor image starts with its hot spot.
  if (!image || image->size() < 4) return std::nullopt;
  Reader hotSpot(*image);
  const int hotX = hotSpot.Word();
  const int hotY = hotSpot.Word();
  auto picture = ReadDib(image->subspan(4), 2);
  if (!picture) return std::nullopt;
  picture->hotX = hotX;
  picture->hotY = hotY;
  return picture;
}

std::optional<backend::CursorImage> LoadResourceIcon(unsigned id) {
  // The window's icon at 48 pixels; the system scales it to the sizes it shows.
  constexpr int kWindowIconSize = 48;
  auto image = GroupImage(id, true, kWindowIconSize);
  if (!image) return std::nullopt;
  static constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G'};
  if (image->size() > sizeof kPngSignature && std::memcmp(image->data(), kPngSignature, sizeof kPngSignature) == 0)
    return Unpremultiplied(gfx::DecodePng(image->data(), image->size()));
  return ReadDib(*image, 2);
}

}  // namespace plumet::framework
