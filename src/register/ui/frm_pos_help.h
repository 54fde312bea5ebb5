#pragma once

#include "base/row_set.h"
#include "widgets/frm_base.h"

class QPushButton;

namespace pos {

struct Terminal;
class KeyMapGrid;
class KeyMapModel;

// "19/": the commands with their keys from the local key map. The shop types key names
// into the two own-key columns; each cell is written to the local file when it is left,
// "确定" writes the cell being typed too, "恢复缺省" brings back the keys the file came
// with, "取消" leaves a cell being typed unwritten. Enter closes the window (ending a
// cell being typed first), Esc does not.
class TfrmPosHelp : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmPosHelp(Terminal& t, QWidget* parent = nullptr);
    ~TfrmPosHelp() override;

public slots:
    // "取消" and the window's close: a cell being typed is dropped, not written as its
    // editor loses the focus.
    void reject() override;

protected:
    bool baseKeyDown(QKeyEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void load();
    void btnOKClick();
    void btnDefaultClick();

    Terminal& t_;
    RowSet rows_;
    KeyMapModel* model_;
    KeyMapGrid* DBGrid1_;
    QPushButton* btnOK_;
    QPushButton* btnDefault_;
    QPushButton* btnCancel_;
};

}  // namespace pos
