#include "platform/x11/X11XSettings.h"

#include <X11/Xatom.h>

#include <string>

#include "platform/x11/X11ErrorTrap.h"

namespace plat {

namespace {

// Reads the wire format: a byte-order byte, 3 unused, serial, count, then the entries, each
// type (0 integer, 1 string, 2 colour), 1 unused, name length, name padded to 4, the serial
// of its last change, and the value (strings length-prefixed and padded to 4).
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size, bool bigEndian) : FData(data), FSize(size), FBig(bigEndian) {}
  bool Skip(std::size_t n) {
    if (FSize - FPos < n) return false;
    FPos += n;
    return true;
  }
  bool Card8(std::uint8_t& v) {
    if (FSize - FPos < 1) return false;
    v = FData[FPos++];
    return true;
  }
  bool Card16(std::uint16_t& v) {
    if (FSize - FPos < 2) return false;
    const std::uint8_t* p = FData + FPos;
    v = FBig ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
    FPos += 2;
    return true;
  }
  bool Card32(std::uint32_t& v) {
    if (FSize - FPos < 4) return false;
    const std::uint8_t* p = FData + FPos;
    v = FBig ? std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3]
             : std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    FPos += 4;
    return true;
  }
  // N bytes of text followed by padding to a multiple of 4.
  bool Text(std::size_t n, std::string& s) {
    const std::size_t padded = (n + 3) & ~std::size_t(3);
    if (padded < n || FSize - FPos < padded) return false;
    s.assign(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += padded;
    return true;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
  bool FBig;
};

}  // namespace

X11XSettings X11XSettings::Parse(const std::uint8_t* data, std::size_t size) {
  X11XSettings s;
  if (!data || size < 12) return s;
  Reader r(data, size, data[0] == 1);  // MSBFirst = 1
  std::uint32_t serial = 0, count = 0;
  if (!r.Skip(4) || !r.Card32(serial) || !r.Card32(count)) return s;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t type = 0;
    std::uint16_t nameLength = 0;
    std::uint32_t changed = 0;
    std::string name;
    if (!r.Card8(type) || !r.Skip(1) || !r.Card16(nameLength) || !r.Text(nameLength, name) || !r.Card32(changed))
      break;
    if (type == 0) {
      std::uint32_t v = 0;
      if (!r.Card32(v)) break;
      s.FInts[name] = int(std::int32_t(v));
    } else if (type == 1) {
      std::uint32_t length = 0;
      std::string value;
      if (!r.Card32(length) || !r.Text(length, value)) break;
      s.FStrings[name] = value;
    } else if (type == 2) {
      if (!r.Skip(8)) break;  // four 16-bit channels; no colour is used here
    } else {
      break;  // an unknown type has an unknown size
    }
  }
  return s;
}

X11XSettings X11XSettings::Read(Display* dpy, int screen) {
  const std::string selectionName = "_XSETTINGS_S" + std::to_string(screen);
  const Atom selection = XInternAtom(dpy, selectionName.c_str(), False);
  const Atom property = XInternAtom(dpy, "_XSETTINGS_SETTINGS", False);
  const ::Window owner = XGetSelectionOwner(dpy, selection);
  if (owner == None) return {};
  // The daemon may go away between the two requests.
  X11ErrorTrap trap(dpy);
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(dpy, owner, property, 0, 64 * 1024, False, property, &type, &format,
                                        &items, &after, &data);
  X11XSettings s;
  if (status == Success && !trap.Failed() && data && format == 8) s = Parse(data, items);
  if (data) XFree(data);
  return s;
}

std::optional<int> X11XSettings::Int(const std::string& name) const {
  auto it = FInts.find(name);
  if (it == FInts.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> X11XSettings::String(const std::string& name) const {
  auto it = FStrings.find(name);
  if (it == FStrings.end()) return std::nullopt;
  return it->second;
}

}  // namespace plat
