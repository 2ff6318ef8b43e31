#include "widgets/TLinkLabel.h"

#include <cctype>

#include "platform/Platform.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TScreen.h"

namespace {

// "scheme:" at the start of TEXT (letters, digits, '+', '-', '.' after a letter): its length
// with the colon, or 0.
std::size_t SchemeLength(const std::string& text) {
  if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch == ':') return i + 1;
    if (!std::isalnum(ch) && ch != '+' && ch != '-' && ch != '.') return 0;
  }
  return 0;
}

}  // namespace

TLinkLabel::TLinkLabel(TComponent* AOwner) : TLabel(AOwner) {
  if (Screen && !Screen->HasCursor(crLinkHand)) Screen->SetCursorImage(crLinkHand, LoadCursorResource("LINKHAND"));
  SetCursor(crLinkHand);
  Font().SetColor(FLinkColStd);
  Font().SetStyle(gfx::fsUnderline);
}

void TLinkLabel::SetLabelType(TLabelType value) {
  if (value == FLabelType || value < hmHTTP || value > hmFTP) return;
  FLabelType = value;
  Invalidate();
}

void TLinkLabel::SetLinkColStd(TColor value) {
  if (value == FLinkColStd) return;
  FLinkColStd = value;
  Font().SetColor(value);
  Invalidate();
}

void TLinkLabel::SetLinkColPre(TColor value) {
  if (value == FLinkColPre) return;
  FLinkColPre = value;
  Invalidate();
}

void TLinkLabel::SetHoverEffect(bool value) {
  if (value == FHoverEffect) return;
  FHoverEffect = value;
  Font().SetStyle(value ? TFontStyles(0) : TFontStyles(gfx::fsUnderline));
  Invalidate();
}

std::string TLinkLabel::Address(TLabelType type, const std::string& caption) {
  const auto begin = caption.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  std::string address = caption.substr(begin, caption.find_last_not_of(" \t\r\n") + 1 - begin);
  if (SchemeLength(address) == 0) {
    switch (type) {
      case hmHTTP: address = "http://" + address; break;
      case hmFTP: address = "ftp://" + address; break;
      case hmMAIL: address = "mailto:" + address; break;
    }
  }
  const std::size_t scheme = SchemeLength(address);
  if (address.compare(scheme, 2, "\\\\") == 0) address.replace(scheme, 2, "//");
  return address;
}

void TLinkLabel::WndProc(TMessage& message) {
  TLabel::WndProc(message);  // the published events first
  if (!FHoverEffect) return;
  if (message.Msg == CM_MOUSEENTER) {
    Font().SetColor(FLinkColPre);
    Font().SetStyle(gfx::fsUnderline);
  } else if (message.Msg == CM_MOUSELEAVE) {
    Font().SetColor(FLinkColStd);
    Font().SetStyle(0);
  }
}

void TLinkLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLabel::MouseDown(button, shift, x, y);
  if (button == mbLeft) Font().SetColor(FLinkColPre);
}

void TLinkLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLabel::MouseUp(button, shift, x, y);
  Font().SetColor(FLinkColStd);
}

void TLinkLabel::Click() {
  TLabel::Click();
  const std::string address = Address(FLabelType, Caption());
  if (!address.empty()) plat::Platform::Current().ShellOpen(address);
}
