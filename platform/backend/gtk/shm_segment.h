// A block of memory that the X server reads in place (MIT-SHM): a picture
// kept in it is shown with ShmPutImage, whose pixels do not travel through
// the connection. The server reads them when it carries out the request, so
// they must not be written again before it has: until the completion event
// of the last put, or the answer to a later request, puts are in flight.
#pragma once

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace plumet::backend::gtk {

class ShmSegment {
 public:
  // Whether the server on this connection can share memory with us: it has
  // the extension and is on this machine (a Unix socket), so that a segment
  // id means the same block to both.
  static bool Usable(xcb_connection_t* xcb);
  // A segment of `pixels` 32-bit pixels, attached to the server; nullptr
  // when the system or the server refuses it (one round trip).
  static std::unique_ptr<ShmSegment> Attach(xcb_connection_t* xcb, std::size_t pixels);
  ~ShmSegment();
  ShmSegment(const ShmSegment&) = delete;
  ShmSegment& operator=(const ShmSegment&) = delete;

  std::uint32_t* Pixels() const { return pixels_; }
  std::size_t Size() const { return size_; }

  // Shows part of a width x height picture held in the segment (its rows
  // packed) at the same place in the drawable, and asks for the completion.
  void Put(xcb_drawable_t drawable, xcb_gcontext_t gc, int width, int height, int x, int y, int putWidth, int putHeight,
           int depth);
  // A completion event arrived; the last put's ends the flight, as the
  // server carries out requests in order.
  void Completed(const xcb_shm_completion_event_t& event);
  void ServerCaughtUp() { lastPut_.reset(); }
  bool PutsInFlight() const { return lastPut_.has_value(); }

 private:
  ShmSegment(xcb_connection_t* xcb, xcb_shm_seg_t id, std::uint32_t* pixels, std::size_t size)
      : xcb_(xcb), id_(id), pixels_(pixels), size_(size) {}

  xcb_connection_t* xcb_;
  xcb_shm_seg_t id_;
  std::uint32_t* pixels_;
  std::size_t size_;
  std::optional<unsigned> lastPut_;  // its request's sequence number
};

}  // namespace plumet::backend::gtk
