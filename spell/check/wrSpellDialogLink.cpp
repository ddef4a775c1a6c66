#include "wrSpellDialogLink.h"

TSpellDialogForm::~TSpellDialogForm() = default;
TSpellDialogController::~TSpellDialogController() = default;
TSpellCheckHost::~TSpellCheckHost() = default;
