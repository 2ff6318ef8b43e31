// The sd-bus calls the program makes, each forwarded to libsystemd, which is loaded at the first
// call rather than at start. Most sessions never touch the session bus (no tray watcher, no
// frozen screen under XWayland), and libsystemd brings six more libraries with it (libgcrypt,
// libgpg-error, liblz4, libzstd, liblzma, libcap): loading them at start made up about a fifth of
// the time to the strip's first map, and their pages weighed on resident memory for nothing.
//
// Without libsystemd at run time every call fails as sd-bus fails (a negative errno, a null
// pointer), so the callers take the paths they take without a session bus. The variadic calls
// go to sd-bus's va_list forms (libsystemd 246 and newer).
#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdarg>

#include "graphics/LazyLibrary.h"

namespace {

constinit gfx::LazyLibrary gLibrary("libsystemd.so.0", RTLD_NOW);

}  // namespace

#define VT_SD_FORWARD(name, failed, ...) VT_LAZY_FORWARD(gLibrary, name, failed, __VA_ARGS__)

// The variadic NAME through its va_list form NAMEv, the list starting after LAST.
#define VT_SD_FORWARD_V(name, last, ...)                                      \
  static const auto fn = gLibrary.Resolve<decltype(&name##v)>(#name "v");     \
  if (!fn) return -ENOSYS;                                                     \
  va_list ap;                                                                  \
  va_start(ap, last);                                                          \
  const int r = fn(__VA_ARGS__, ap);                                           \
  va_end(ap);                                                                  \
  return r

extern "C" {

int sd_bus_open_user(sd_bus** ret) { VT_SD_FORWARD(sd_bus_open_user, -ENOSYS, ret); }
sd_bus* sd_bus_flush_close_unref(sd_bus* bus) { VT_SD_FORWARD(sd_bus_flush_close_unref, nullptr, bus); }
int sd_bus_get_fd(sd_bus* bus) { VT_SD_FORWARD(sd_bus_get_fd, -ENOSYS, bus); }
int sd_bus_get_events(sd_bus* bus) { VT_SD_FORWARD(sd_bus_get_events, -ENOSYS, bus); }
int sd_bus_get_timeout(sd_bus* bus, uint64_t* timeout_usec) {
  VT_SD_FORWARD(sd_bus_get_timeout, -ENOSYS, bus, timeout_usec);
}
int sd_bus_process(sd_bus* bus, sd_bus_message** r) { VT_SD_FORWARD(sd_bus_process, -ENOSYS, bus, r); }
int sd_bus_get_unique_name(sd_bus* bus, const char** unique) {
  VT_SD_FORWARD(sd_bus_get_unique_name, -ENOSYS, bus, unique);
}
int sd_bus_request_name(sd_bus* bus, const char* name, uint64_t flags) {
  VT_SD_FORWARD(sd_bus_request_name, -ENOSYS, bus, name, flags);
}
int sd_bus_set_method_call_timeout(sd_bus* bus, uint64_t usec) {
  VT_SD_FORWARD(sd_bus_set_method_call_timeout, -ENOSYS, bus, usec);
}
int sd_bus_add_match(sd_bus* bus, sd_bus_slot** slot, const char* match, sd_bus_message_handler_t callback,
                     void* userdata) {
  VT_SD_FORWARD(sd_bus_add_match, -ENOSYS, bus, slot, match, callback, userdata);
}
int sd_bus_match_signal(sd_bus* bus, sd_bus_slot** ret, const char* sender, const char* path, const char* interface,
                        const char* member, sd_bus_message_handler_t callback, void* userdata) {
  VT_SD_FORWARD(sd_bus_match_signal, -ENOSYS, bus, ret, sender, path, interface, member, callback, userdata);
}
// SD_BUS_VTABLE_START takes this variable's address: libsystemd reads the table's features
// (parameter names) only where that address is set, whichever copy of the variable it is.
const unsigned sd_bus_object_vtable_format = 242;

int sd_bus_add_object_vtable(sd_bus* bus, sd_bus_slot** slot, const char* path, const char* interface,
                             const sd_bus_vtable* vtable, void* userdata) {
  VT_SD_FORWARD(sd_bus_add_object_vtable, -ENOSYS, bus, slot, path, interface, vtable, userdata);
}
int sd_bus_call_async(sd_bus* bus, sd_bus_slot** slot, sd_bus_message* m, sd_bus_message_handler_t callback,
                      void* userdata, uint64_t usec) {
  VT_SD_FORWARD(sd_bus_call_async, -ENOSYS, bus, slot, m, callback, userdata, usec);
}
sd_bus_slot* sd_bus_slot_unref(sd_bus_slot* slot) { VT_SD_FORWARD(sd_bus_slot_unref, nullptr, slot); }

int sd_bus_message_new_method_call(sd_bus* bus, sd_bus_message** m, const char* destination, const char* path,
                                   const char* interface, const char* member) {
  VT_SD_FORWARD(sd_bus_message_new_method_call, -ENOSYS, bus, m, destination, path, interface, member);
}
sd_bus_message* sd_bus_message_ref(sd_bus_message* m) { VT_SD_FORWARD(sd_bus_message_ref, m, m); }
sd_bus_message* sd_bus_message_unref(sd_bus_message* m) { VT_SD_FORWARD(sd_bus_message_unref, nullptr, m); }
const sd_bus_error* sd_bus_message_get_error(sd_bus_message* m) {
  VT_SD_FORWARD(sd_bus_message_get_error, nullptr, m);
}
const char* sd_bus_message_get_member(sd_bus_message* m) { VT_SD_FORWARD(sd_bus_message_get_member, nullptr, m); }
const char* sd_bus_message_get_sender(sd_bus_message* m) { VT_SD_FORWARD(sd_bus_message_get_sender, nullptr, m); }
int sd_bus_message_is_method_error(sd_bus_message* m, const char* name) {
  VT_SD_FORWARD(sd_bus_message_is_method_error, -ENOSYS, m, name);
}
int sd_bus_message_append_array(sd_bus_message* m, char type, const void* ptr, size_t size) {
  VT_SD_FORWARD(sd_bus_message_append_array, -ENOSYS, m, type, ptr, size);
}
int sd_bus_message_open_container(sd_bus_message* m, char type, const char* contents) {
  VT_SD_FORWARD(sd_bus_message_open_container, -ENOSYS, m, type, contents);
}
int sd_bus_message_close_container(sd_bus_message* m) { VT_SD_FORWARD(sd_bus_message_close_container, -ENOSYS, m); }
int sd_bus_message_enter_container(sd_bus_message* m, char type, const char* contents) {
  VT_SD_FORWARD(sd_bus_message_enter_container, -ENOSYS, m, type, contents);
}
int sd_bus_message_exit_container(sd_bus_message* m) { VT_SD_FORWARD(sd_bus_message_exit_container, -ENOSYS, m); }
int sd_bus_message_skip(sd_bus_message* m, const char* types) { VT_SD_FORWARD(sd_bus_message_skip, -ENOSYS, m, types); }

void sd_bus_error_free(sd_bus_error* e) {
  // Only libsystemd fills an error in: without it there is nothing to free.
  VT_LAZY_FORWARD_VOID(gLibrary, sd_bus_error_free, e);
}
int sd_bus_error_has_name(const sd_bus_error* e, const char* name) {
  VT_SD_FORWARD(sd_bus_error_has_name, 0, e, name);
}

int sd_bus_message_append(sd_bus_message* m, const char* types, ...) {
  VT_SD_FORWARD_V(sd_bus_message_append, types, m, types);
}
int sd_bus_message_read(sd_bus_message* m, const char* types, ...) {
  VT_SD_FORWARD_V(sd_bus_message_read, types, m, types);
}
int sd_bus_reply_method_return(sd_bus_message* call, const char* types, ...) {
  VT_SD_FORWARD_V(sd_bus_reply_method_return, types, call, types);
}
int sd_bus_emit_signal(sd_bus* bus, const char* path, const char* interface, const char* member, const char* types,
                       ...) {
  VT_SD_FORWARD_V(sd_bus_emit_signal, types, bus, path, interface, member, types);
}
int sd_bus_call_method(sd_bus* bus, const char* destination, const char* path, const char* interface,
                       const char* member, sd_bus_error* ret_error, sd_bus_message** reply, const char* types, ...) {
  VT_SD_FORWARD_V(sd_bus_call_method, types, bus, destination, path, interface, member, ret_error, reply, types);
}
int sd_bus_call_method_async(sd_bus* bus, sd_bus_slot** slot, const char* destination, const char* path,
                             const char* interface, const char* member, sd_bus_message_handler_t callback,
                             void* userdata, const char* types, ...) {
  VT_SD_FORWARD_V(sd_bus_call_method_async, types, bus, slot, destination, path, interface, member, callback,
                  userdata, types);
}

}  // extern "C"
