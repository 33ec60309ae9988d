// What a cursor handle stands for: a system cursor or a picture with its hot
// spot, made into a backend cursor the first time it is shown.
#pragma once

#include <cstdint>

#include "platform/backend/backend.h"
#include "platform/framework/win_types.h"

namespace plumet::framework {

struct CursorObject {
  bool system = false;
  backend::SystemCursor systemCursor = backend::SystemCursor::Arrow;
  backend::CursorImage image;
  backend::CursorId id = 0;
  // The session the id belongs to: a new backend (even at the same address) knows none of the old ids.
  std::uint64_t session = 0;
  backend::CursorId Realize(backend::Backend& backend, std::uint64_t currentSession);
};

inline CursorObject* ToCursor(HCURSOR h) { return reinterpret_cast<CursorObject*>(h); }
inline HCURSOR ToHandle(CursorObject* c) { return reinterpret_cast<HCURSOR>(c); }

}  // namespace plumet::framework
