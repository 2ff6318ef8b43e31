#include "toolkit/controls/TEdit.h"

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
