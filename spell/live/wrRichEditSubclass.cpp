#include "wrRichEditSubclass.h"

class TWrightRichEditSubclass::TFilter : public QObject {};

TWrightRichEditSubclass::TWrightRichEditSubclass() = default;
TWrightRichEditSubclass::~TWrightRichEditSubclass() = default;
void TWrightRichEditSubclass::SetWindowHandle(HWND Value) { TWrightLiveRichEdit::SetWindowHandle(Value); }
