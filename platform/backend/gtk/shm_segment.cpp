#include "platform/backend/gtk/shm_segment.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>

#include <cstdlib>

namespace plumet::backend::gtk {

bool ShmSegment::Usable(xcb_connection_t* xcb) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(xcb, &xcb_shm_id);
  if (extension == nullptr || !extension->present) return false;
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(xcb_get_file_descriptor(xcb), reinterpret_cast<sockaddr*>(&address), &length) != 0) return false;
  return address.ss_family == AF_UNIX;
}

std::unique_ptr<ShmSegment> ShmSegment::Attach(xcb_connection_t* xcb, std::size_t pixels) {
  const std::size_t bytes = pixels * sizeof(std::uint32_t);
  if (bytes == 0) return nullptr;
  const int shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shmid < 0) return nullptr;
  void* memory = shmat(shmid, nullptr, 0);
  if (memory == reinterpret_cast<void*>(-1)) {
    shmctl(shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  const xcb_shm_seg_t id = xcb_generate_id(xcb);
  xcb_generic_error_t* error =
      xcb_request_check(xcb, xcb_shm_attach_checked(xcb, id, static_cast<std::uint32_t>(shmid), 1));
  // Attached or not, the block goes when the last of us lets it go: nothing
  // is left behind if the program dies.
  shmctl(shmid, IPC_RMID, nullptr);
  if (error != nullptr) {
    std::free(error);
    shmdt(memory);
    return nullptr;
  }
  return std::unique_ptr<ShmSegment>(new ShmSegment(xcb, id, static_cast<std::uint32_t*>(memory), pixels));
}

// The server lets go after the puts before it; our mapping is ours alone.
ShmSegment::~ShmSegment() {
  xcb_shm_detach(xcb_, id_);
  shmdt(pixels_);
}

void ShmSegment::Put(xcb_drawable_t drawable, xcb_gcontext_t gc, int width, int height, int x, int y, int putWidth,
                     int putHeight, int depth) {
  lastPut_ = xcb_shm_put_image(
                 xcb_, drawable, gc, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                 static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(putWidth),
                 static_cast<std::uint16_t>(putHeight), static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                 static_cast<std::uint8_t>(depth), XCB_IMAGE_FORMAT_Z_PIXMAP, 1, id_, 0)
                 .sequence;
}

void ShmSegment::Completed(const xcb_shm_completion_event_t& event) {
  // Events carry the low 16 bits of the sequence number.
  if (lastPut_ && event.shmseg == id_ && event.sequence == static_cast<std::uint16_t>(*lastPut_)) lastPut_.reset();
}

}  // namespace plumet::backend::gtk
