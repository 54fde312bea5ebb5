#pragma once

#include <QString>

class QDialog;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pos {

// The layout of the small operator dialogs: captions beside their fields, one row
// each, and the buttons in a row below. The dialog keeps its designed size.
class DialogForm {
public:
    explicit DialogForm(QDialog* dialog);

    // Fields are added in tab order.
    void addField(const QString& caption, QWidget* field);
    QLineEdit* addEdit(const QString& caption, const char* objectName);
    // Shows "*" for every character; no input method.
    QLineEdit* addPasswordEdit(const QString& caption, const char* objectName);
    QPushButton* addButton(const QString& text, const char* objectName);

private:
    QDialog* dialog_;
    QGridLayout* fields_;
    QHBoxLayout* buttons_;
};

}  // namespace pos
