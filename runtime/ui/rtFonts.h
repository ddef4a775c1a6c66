#pragma once
// The classic Windows dialog face ("MS Sans Serif") on this desktop. Where it is missing, a face
// of its width (Arial's metrics: Liberation Sans) rather than the desktop's default sans-serif
// face, which is wider and would not fit captions into the sizes the forms are laid out for.

#include <QFont>

QFont ClassicSansFont(int PointSize);
