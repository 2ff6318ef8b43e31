#include "platform/DialogScript.h"

#include "platform/Platform.h"

namespace plat {

DialogScript* DialogScript::Current() {
  if (!Platform::HasCurrent()) return nullptr;
  return dynamic_cast<DialogScript*>(&Platform::Current());
}

}  // namespace plat
