#pragma once
// The atoms the backend uses, interned in one round trip when the display opens.
#include <X11/Xlib.h>

namespace plat {

struct X11Atoms {
  Atom Clipboard = None, ClipboardManager = None, SaveTargets = None, Targets = None, Timestamp = None, Multiple = None, Incr = None,
       AtomType = None, ImagePng = None, ImageBmp = None, Utf8String = None,
       TextPlain = None, TextPlainUtf8 = None;
  Atom WmProtocols = None, WmDeleteWindow = None, NetWmPing = None, NetWmName = None,
       NetWmPid = None, NetWmState = None, NetWmStateAbove = None, NetWmStateSkipTaskbar = None,
       NetWmStateSkipPager = None, NetWmWindowType = None, NetWmWindowTypeNormal = None,
       NetWmWindowTypeUtility = None, NetWmWindowTypeTooltip = None, NetWmWindowTypeDialog = None,
       NetWmWindowTypePopupMenu = None, NetActiveWindow = None,
       NetSupportingWmCheck = None, NetWmUserTime = None, MotifWmHints = None;
  Atom NetSystemTrayS = None, NetSystemTrayOpcode = None, Manager = None, XEmbed = None,
       XEmbedInfo = None;
  // Our own properties for getting a server timestamp, handing the clipboard to a manager
  // and receiving the clipboard's text.
  Atom VantrelTime = None, VantrelSave = None, VantrelPaste = None;

  // Interns everything; TRAY_SELECTION is "_NET_SYSTEM_TRAY_S<screen>".
  void Intern(Display* dpy, int screen);
};

}  // namespace plat
