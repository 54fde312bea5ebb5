#pragma once

#include <QDialog>

namespace pos {

// Base of every window: Enter moves to the next control, Up and Down move between
// fields (not inside lists, combo boxes and grids), Esc closes.
class TfrmBase : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBase(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Returns true when the key was handled by the base rules.
    virtual bool baseKeyDown(QKeyEvent* event);
};

}  // namespace pos
