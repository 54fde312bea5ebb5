#pragma once

#include "widgets/frm_base.h"

class QLabel;

namespace pos {

// The please-wait window: a running indicator and the caller's message, shown without
// waiting while the caller works on the same thread.
class TfrmWaitShow : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmWaitShow(QWidget* parent = nullptr);

    // Shows the message and paints the window at once, before the caller's work blocks
    // the thread.
    void showMessage(const QString& text);

private:
    QLabel* lblMessage_;
};

}  // namespace pos
