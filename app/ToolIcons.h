#pragma once
// The main window's button icons, drawn at start-up so that they look the same on every
// desktop whatever its icon theme.

#include <QIcon>
#include <QString>

// Icon by button name ("UndoButton", "ToolButton9", ...); a plain icon for unknown names.
QIcon ToolIcon(const QString &name);
