#pragma once

#include "base/paged_rows.h"
#include "widgets/frm_base.h"

class QTableView;

namespace pos {

class RowSetModel;

// The pick list of candidate goods. Enter and Esc both close it; the caller goes on
// with the row under the cursor either way.
class TfrmGoodsList : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmGoodsList(PagedRows& goods, QWidget* parent = nullptr);

    std::size_t currentRow() const;

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    QTableView* grid_;
    RowSetModel* model_;
};

}  // namespace pos
