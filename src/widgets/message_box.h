#pragma once

#include "base/person.h"

#include <QString>

class QWidget;

namespace pos {

// The message boxes of all windows, modal over owner, with Chinese button captions.
// A message has one button, "确定".
void showMessageBox(QWidget* owner, const QString& text, const QString& title, MessageIcon icon);
// A question with "是" and "否"; true for Yes.
bool askYesNo(QWidget* owner, const QString& text, const QString& title, MessageIcon icon);

}  // namespace pos
