#include "toolkit/TEdit.h"

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
