#pragma once
// The root of the toolkit's class tree: polymorphic, neither copyable nor movable (objects are
// referred to by pointer and keep their identity for their whole life).
#include <string>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The class's name as the program spells it ("TForm", "TfrmMain"), from the C++ type.
  std::string ClassName() const;
};
