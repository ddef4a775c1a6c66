#pragma once
// Deleting a file into the desktop trash, with a question first when asked.

#include <QString>
#include <functional>

// Moves the file to the desktop trash (freedesktop.org layout: files/ and info/). False when the
// file does not exist, the question is answered no, or no trash can hold it.
bool DeleteToRecycleBin(const QString &FileName, bool Confirm);
// Asked before a confirmed deletion (Confirm = true); answers whether to go on. Unset: no
// question is asked. The widgets layer installs a message box.
void SetRecycleBinConfirmation(std::function<bool(const QString &FileName)> confirm);
