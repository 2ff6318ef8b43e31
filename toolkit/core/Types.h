#pragma once
// Shared vocabulary of the toolkit: events, shift state, alignment, cursors, messages.
#include <cstdint>
#include <functional>
#include <string>

#include "graphics/Color.h"
#include "graphics/Types.h"
#include "platform/Keys.h"
#include "toolkit/core/Forward.h"

using gfx::Point;
using gfx::Rect;
using gfx::TColor;
using gfx::Size;
// The colour constants, read as the toolkit's own (clBtnFace, clWindow, ...).
using gfx::clNone, gfx::clDefault;
using gfx::clBlack, gfx::clMaroon, gfx::clGreen, gfx::clOlive, gfx::clNavy, gfx::clPurple, gfx::clTeal,
    gfx::clGray, gfx::clSilver, gfx::clRed, gfx::clLime, gfx::clYellow, gfx::clBlue, gfx::clFuchsia,
    gfx::clAqua, gfx::clWhite;
using gfx::clScrollBar, gfx::clBackground, gfx::clActiveCaption, gfx::clInactiveCaption, gfx::clMenu,
    gfx::clWindow, gfx::clWindowFrame, gfx::clMenuText, gfx::clWindowText, gfx::clCaptionText,
    gfx::clActiveBorder, gfx::clInactiveBorder, gfx::clAppWorkSpace, gfx::clHighlight,
    gfx::clHighlightText, gfx::clBtnFace, gfx::clBtnShadow, gfx::clGrayText, gfx::clBtnText,
    gfx::clInactiveCaptionText, gfx::clBtnHighlight, gfx::cl3DDkShadow, gfx::cl3DLight, gfx::clInfoText,
    gfx::clInfoBk, gfx::clHotLight, gfx::clGradientActiveCaption, gfx::clGradientInactiveCaption,
    gfx::clMenuHighlight, gfx::clMenuBar;

using TShiftState = plat::ShiftState;
using plat::ssShift;
using plat::ssAlt;
using plat::ssCtrl;
using plat::ssLeft;
using plat::ssRight;
using plat::ssMiddle;
using plat::ssDouble;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TModalResult = int;
enum : TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

// Cursor identifiers of the cursor table (Screen->Cursors). Negative ones are the standard
// shapes; programs register their own under positive identifiers.
using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18, crHandPoint = -21,
  crSizeAll = -22
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, int& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, Point MousePos, bool& Handled)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

// A window message, as the replaceable window procedures see it.
struct TMessage {
  unsigned Msg = 0;
  std::intptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

// Message numbers (the classic values).
enum : unsigned {
  WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
  WM_SETTEXT = 0x000C, WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018, WM_ACTIVATEAPP = 0x001C, WM_SETCURSOR = 0x0020,
  WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047, WM_NCPAINT = 0x0085,
  WM_NCACTIVATE = 0x0086, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
  WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206,
  WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209,
  WM_MOUSEWHEEL = 0x020A, WM_CAPTURECHANGED = 0x0215, WM_MOUSELEAVE = 0x02A3,
  WM_USER = 0x0400, WM_APP = 0x8000,
  // Toolkit notifications (the classic CM_ values live above WM_USER + 0xB000).
  CM_BASE = 0xB000, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
  CM_TEXTCHANGED = CM_BASE + 18, CM_FONTCHANGED = CM_BASE + 14, CM_COLORCHANGED = CM_BASE + 15,
  CM_ENABLEDCHANGED = CM_BASE + 12, CM_VISIBLECHANGED = CM_BASE + 47,
  CM_DIALOGKEY = CM_BASE + 5, CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7,
  CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_CURSORCHANGED = CM_BASE + 13, CM_ENTER = CM_BASE + 16, CM_EXIT = CM_BASE + 17,
  CM_SHOWINGCHANGED = CM_BASE + 22, CM_RELEASE = CM_BASE + 33,
  // Sent to every control of a form as the form is shown for the first time: controls that
  // measure text put that off until then (a form created hidden does no such work at start).
  CM_FIRSTSHOW = CM_BASE + 80
};

// WM_SIZE kinds and WM_SYSCOMMAND commands.
enum : unsigned {
  SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2,
  SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
  SC_CLOSE = 0xF060, SC_RESTORE = 0xF120, HTCAPTION = 2
};

// Hit-test codes a form answers for points of its window.
enum : int {
  HTNOWHERE = 0, HTCLIENT = 1, HTSYSMENU = 3, HTMINBUTTON = 8, HTMAXBUTTON = 9, HTLEFT = 10,
  HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16,
  HTBOTTOMRIGHT = 17, HTBORDER = 18, HTCLOSE = 20
};

// How message parameters carry their data in this toolkit:
// - mouse messages (WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK): WParam = TShiftState, LParam =
//   PointToLParam(client point of the receiving control);
// - WM_MOUSEWHEEL: WParam = PointToLParam({shift state, wheel delta (120 a notch)}),
//   LParam = PointToLParam(client point);
// - WM_KEYDOWN/WM_KEYUP/WM_SYSKEYDOWN/WM_SYSKEYUP: WParam = virtual key, LParam = TShiftState,
//   plus kKeyRepeatFlag for an auto-repeated press;
// - WM_CHAR: WParam = the character (a Unicode code point), LParam = 0;
// - WM_SIZE: WParam = SIZE_xxx, LParam = PointToLParam({client width, client height});
// - WM_SHOWWINDOW: WParam = 1 shown / 0 hidden, LParam = 0 for an explicit Show/Hide call;
// - WM_ACTIVATE: WParam = 1 active / 0 inactive; WM_NCACTIVATE: WParam = 1 active / 0 inactive;
// - WM_NCPAINT: WParam = pointer to the gfx::Region (window coordinates) to repaint, or 0 for
//   the whole frame; LParam = pointer to the gfx::Canvas over the window (origin 0, 0);
// - WM_ERASEBKGND and WM_PAINT: WParam = pointer to the gfx::Canvas to draw with, already
//   clipped and with its origin at the control's client area;
// - WM_SETCURSOR: WParam = the control under the pointer (TControl*), LParam = hit-test code;
//   a handler that sets the cursor itself answers Result = 1;
// - WM_SYSCOMMAND: WParam = SC_xxx (SC_MOVE | HTCAPTION starts a move drag with the mouse);
// - WM_TIMER: WParam = timer id.
constexpr std::intptr_t kKeyRepeatFlag = std::intptr_t(1) << 30;
inline std::intptr_t PointToLParam(Point p) {
  return std::intptr_t((std::uint64_t(std::uint32_t(p.y)) << 32) | std::uint32_t(p.x));
}
inline Point LParamToPoint(std::intptr_t l) {
  return Point{std::int32_t(std::uint32_t(std::uint64_t(l) & 0xFFFFFFFFu)), std::int32_t(std::uint32_t(std::uint64_t(l) >> 32))};
}

// A windowed control's handle: a stable identity for messages (PostMessage / SendMessage).
using HWND = TWinControl*;

// A message as the application's message hooks see it before it is dispatched.
struct TMsg {
  HWND hwnd = nullptr;  // the form (or other windowed control) the input is for
  unsigned message = 0;
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Point pt;  // pointer position in screen pixels
};

// Control styles and states (bit sets, as the classic ControlStyle / ControlState).
using TControlStyle = unsigned;
enum : TControlStyle {
  csAcceptsControls = 1u << 0, csCaptureMouse = 1u << 1, csDesignInteractive = 1u << 2,
  csClickEvents = 1u << 3, csFramed = 1u << 4, csSetCaption = 1u << 5, csOpaque = 1u << 6,
  csDoubleClicks = 1u << 7, csFixedWidth = 1u << 8, csFixedHeight = 1u << 9,
  csNoStdEvents = 1u << 10, csReplicatable = 1u << 11
};
using TControlState = unsigned;
enum : TControlState {
  csLButtonDown = 1u << 0, csClicked = 1u << 1, csPalette = 1u << 2, csReadingState = 1u << 3,
  csAlignmentNeeded = 1u << 4, csFocusing = 1u << 5, csCreating = 1u << 6, csPaintCopy = 1u << 7
};
// Component state bits.
using TComponentState = unsigned;
enum : TComponentState { csLoading = 1u << 0, csDestroying = 1u << 1, csDesigning = 1u << 2 };

enum TOperation { opInsert, opRemove };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
using TBorderIcons = unsigned;
enum : TBorderIcons { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

// Message box flags and answers (MessageBox).
enum : unsigned {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Help commands (WinHelp).
enum : unsigned { HELP_CONTEXT = 0x1, HELP_QUIT = 0x2, HELP_CONTENTS = 0x3, HELP_COMMAND = 0x102 };
