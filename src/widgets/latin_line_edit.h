#pragma once

#include <QLineEdit>

namespace pos {

// A line edit with the input method closed: what a scanner or the keyboard types arrives
// as typed, never composed into Chinese. A plain QLineEdit tells the input method it
// takes input whatever its attributes say, so this one answers for itself.
class LatinLineEdit : public QLineEdit {
public:
    explicit LatinLineEdit(QWidget* parent = nullptr);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

}  // namespace pos
