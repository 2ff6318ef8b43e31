#include "platform/x11/X11Atoms.h"

#include <string>
#include <utility>
#include <vector>

namespace plat {

void X11Atoms::Intern(Display* dpy, int screen) {
  const std::string tray = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
  std::vector<std::pair<const char*, Atom*>> table = {
      {"CLIPBOARD", &Clipboard},
      {"CLIPBOARD_MANAGER", &ClipboardManager},
      {"SAVE_TARGETS", &SaveTargets},
      {"TARGETS", &Targets},
      {"TIMESTAMP", &Timestamp},
      {"MULTIPLE", &Multiple},
      {"INCR", &Incr},
      {"ATOM", &AtomType},
      {"image/png", &ImagePng},
      {"image/bmp", &ImageBmp},
      {"UTF8_STRING", &Utf8String},
      {"text/plain", &TextPlain},
      {"text/plain;charset=utf-8", &TextPlainUtf8},
      {"WM_PROTOCOLS", &WmProtocols},
      {"WM_DELETE_WINDOW", &WmDeleteWindow},
      {"_NET_WM_PING", &NetWmPing},
      {"_NET_WM_NAME", &NetWmName},
      {"_NET_WM_PID", &NetWmPid},
      {"_NET_WM_STATE", &NetWmState},
      {"_NET_WM_STATE_ABOVE", &NetWmStateAbove},
      {"_NET_WM_STATE_SKIP_TASKBAR", &NetWmStateSkipTaskbar},
      {"_NET_WM_STATE_SKIP_PAGER", &NetWmStateSkipPager},
      {"_NET_WM_WINDOW_TYPE", &NetWmWindowType},
      {"_NET_WM_WINDOW_TYPE_NORMAL", &NetWmWindowTypeNormal},
      {"_NET_WM_WINDOW_TYPE_UTILITY", &NetWmWindowTypeUtility},
      {"_NET_WM_WINDOW_TYPE_TOOLTIP", &NetWmWindowTypeTooltip},
      {"_NET_WM_WINDOW_TYPE_DIALOG", &NetWmWindowTypeDialog},
      {"_NET_WM_WINDOW_TYPE_POPUP_MENU", &NetWmWindowTypePopupMenu},
      {"_NET_ACTIVE_WINDOW", &NetActiveWindow},
      {"_NET_SUPPORTING_WM_CHECK", &NetSupportingWmCheck},
      {"_NET_WM_USER_TIME", &NetWmUserTime},
      {"_MOTIF_WM_HINTS", &MotifWmHints},
      {tray.c_str(), &NetSystemTrayS},
      {"_NET_SYSTEM_TRAY_OPCODE", &NetSystemTrayOpcode},
      {"MANAGER", &Manager},
      {"_XEMBED", &XEmbed},
      {"_XEMBED_INFO", &XEmbedInfo},
      {"VANTREL_TIME", &VantrelTime},
      {"VANTREL_SAVE", &VantrelSave},
      {"VANTREL_PASTE", &VantrelPaste},
  };
  std::vector<char*> names;
  for (auto& [name, slot] : table) names.push_back(const_cast<char*>(name));
  std::vector<Atom> atoms(table.size(), None);
  XInternAtoms(dpy, names.data(), int(names.size()), False, atoms.data());
  for (std::size_t i = 0; i < table.size(); ++i) *table[i].second = atoms[i];
}

}  // namespace plat
