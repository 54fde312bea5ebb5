#include "widgets/frm_goods_list.h"

#include "widgets/enter_key.h"
#include "widgets/row_set_model.h"
#include "widgets/window_errors.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace pos {
namespace {

// Shows the rows read so far and reads the next page when the view scrolls to the end.
class PagedRowsModel : public RowSetModel {
public:
    PagedRowsModel(PagedRows& rows, std::vector<GridColumn> columns, QObject* parent)
        : RowSetModel(rows.rows(), std::move(columns), parent), paged_(rows), shown_(rows.rows().size())
    {
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(shown_);
    }
    bool canFetchMore(const QModelIndex& parent) const override
    {
        return !parent.isValid() && paged_.canReadMore();
    }
    void fetchMore(const QModelIndex& parent) override
    {
        std::size_t added = 0;
        if (!parent.isValid())
            guarded("读取更多商品", [&] { added = paged_.readMore(); });
        if (added == 0)
            return;
        beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(paged_.rows().size()) - 1);
        shown_ = paged_.rows().size();
        endInsertRows();
    }

private:
    PagedRows& paged_;
    std::size_t shown_;
};

}  // namespace

TfrmGoodsList::TfrmGoodsList(PagedRows& goods, QWidget* parent) : TfrmBase(parent)
{
    setWindowTitle(QStringLiteral("选择商品"));
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grdGoods"));
    // A unit of two Chinese characters is shown whole.
    const int unitWidth = std::max(28, cellWidthFor(*grid_, QStringLiteral("单位")));
    model_ = new PagedRowsModel(goods,
                                {{QStringLiteral("商品代码"), "Code", 93},
                                 {QStringLiteral("商品条形码"), "BarCode", 118},
                                 {QStringLiteral("商品名称"), "Name", 215},
                                 {QStringLiteral("单位"), "Unit1", unitWidth},
                                 {QStringLiteral("单价"), "SPrice1", 70, Qt::AlignRight | Qt::AlignVCenter}},
                                this);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    model_->applyWidths(*grid_);
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, 0));
    // The cashier moves with the keys: reaching the last row read reads the next page.
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.row() == model_->rowCount() - 1 && model_->canFetchMore({}))
                    model_->fetchMore({});
            });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    resize(93 + 118 + 215 + unitWidth + 70 + 40, 260);
    grid_->setFocus();
}

std::size_t TfrmGoodsList::currentRow() const
{
    const int row = grid_->currentIndex().row();
    return row < 0 ? 0 : static_cast<std::size_t>(row);
}

bool TfrmGoodsList::baseKeyDown(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        accept();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

}  // namespace pos
