// Helpers shared by the units of TWrightLiveRichEdit (wrLiveRichEdit*.cpp, wrLiveUnderline.cpp).
#pragma once

#include <QColor>

namespace wrLiveRichEditPrivate {

// Colours compare as the 24-bit values pixel reads answer.
inline quint32 Rgb(const QColor &c) { return c.rgb() & 0x00FFFFFFu; }

} // namespace wrLiveRichEditPrivate
