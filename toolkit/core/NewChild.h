#pragma once
// How a form's constructor makes its controls: a T that OWNER (the form, which scripts and
// FindComponent ask by NAME) owns, shown on PARENT.
#include <string>

#include "toolkit/core/TWinControl.h"

template <class T>
T* NewChild(TComponent* owner, TWinControl* parent, const char* name) {
  T* c = TComponent::Create<T>(owner);
  c->SetName(name);
  c->SetParent(parent);
  return c;
}

// ... at BOUNDS.
template <class T>
T* NewChild(TComponent* owner, TWinControl* parent, const char* name, const Rect& bounds) {
  T* c = NewChild<T>(owner, parent, name);
  c->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  return c;
}

// ... with CAPTION, at BOUNDS.
template <class T>
T* NewChild(TComponent* owner, TWinControl* parent, const char* name, const std::string& caption, const Rect& bounds) {
  T* c = NewChild<T>(owner, parent, name);
  c->SetCaption(caption);
  c->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  return c;
}

// ... with CAPTION, its top-left corner at AT: a label that sizes itself to its caption keeps
// the size it measures.
template <class T>
T* NewChild(TComponent* owner, TWinControl* parent, const char* name, const std::string& caption, Point at) {
  T* c = NewChild<T>(owner, parent, name);
  c->SetCaption(caption);
  c->SetLeft(at.x);
  c->SetTop(at.y);
  return c;
}
