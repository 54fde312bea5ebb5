#include "queries/ui/frm_query_stock.h"

#include "base/trim.h"
#include "widgets/enter_key.h"
#include "widgets/sortable_grid.h"
#include "widgets/window_errors.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pos {

TfrmQueryStock::TfrmQueryStock(WorkingConnection db, Person& person, const std::string& sellingStore, QWidget* parent)
    : TfrmBase(parent), db_(db), person_(person)
{
    setWindowTitle(QStringLiteral("查库存"));
    edtCode_ = new QLineEdit(this);
    edtCode_->setObjectName(QStringLiteral("edtCode"));
    cmbStore_ = new QComboBox(this);
    cmbStore_->setObjectName(QStringLiteral("cmbStore"));
    cmbStore_->setEditable(true);
    cmbStore_->setInsertPolicy(QComboBox::NoInsert);
    auto* goodsLabel = new QLabel(QStringLiteral("货品(&A)："), this);
    goodsLabel->setBuddy(edtCode_);
    auto* storeLabel = new QLabel(QStringLiteral("仓库(&S)："), this);
    storeLabel->setBuddy(cmbStore_);
    grdList_ = new SortableGrid({{QStringLiteral("商品代码"), "GoodsCode"},
                                 {QStringLiteral("条形码"), "BarCode"},
                                 {QStringLiteral("商品名称"), "GoodsName"},
                                 {QStringLiteral("单位"), "Unit1"},
                                 {QStringLiteral("库存数量"), "Quantity", 0, Qt::AlignRight | Qt::AlignVCenter},
                                 {QStringLiteral("仓库名称"), "StoreName"}},
                                {true, false, true, true, true, true}, this);
    grdList_->setObjectName(QStringLiteral("grdList"));
    grdList_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* bar = new QHBoxLayout;
    bar->addWidget(goodsLabel);
    bar->addWidget(edtCode_);
    bar->addWidget(storeLabel);
    bar->addWidget(cmbStore_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(grdList_, 1);
    resize(640, 420);

    guarded("查库存", [&] {
        stores_ = StockStores(db_.db().statements<StockQueryStatements>());
        for (const StockStore& store : stores_)
            cmbStore_->addItem(QString::fromStdString(store.name), QVariant::fromValue(static_cast<qlonglong>(store.id)));
    });
    const int selling = cmbStore_->findText(QString::fromStdString(sellingStore));
    cmbStore_->setCurrentIndex(selling);
    if (selling < 0)
        cmbStore_->setEditText(QString());
    edtCode_->setFocus();
}

void TfrmQueryStock::tell(const char* text)
{
    person_.message(text, "提示", MessageIcon::Information);
}

void TfrmQueryStock::runQuery()
{
    if (db_.mode() != Online) {
        tell("在断网销售模式不能查看库存！");
        reject();
        return;
    }
    guarded("查库存", [&] {
        // Online, the working mode's connection is the server's.
        StockQueryStatements& server = db_.db().statements<StockQueryStatements>();
        std::optional<long long> goodsId;
        const std::string code = trimmed(edtCode_->text().toStdString());
        if (!code.empty()) {
            goodsId = FindStockGoods(server, code);
            if (!goodsId) {
                tell("没有找到该货品！");
                edtCode_->selectAll();
                edtCode_->setFocus();
                return;
            }
        }
        const StoreChoice store = ChooseStore(stores_, cmbStore_->currentText().toStdString(), cmbStore_->currentIndex());
        if (!store.known) {
            tell(kStoreNotInList);
            cmbStore_->lineEdit()->selectAll();
            cmbStore_->setFocus();
            return;
        }
        grdList_->setRows(QueryStock(server, store.storeId, goodsId));
        edtCode_->selectAll();
        grdList_->setFocus();
    });
}

bool TfrmQueryStock::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    if (enter && (edtCode_->hasFocus() || cmbStore_->hasFocus() || cmbStore_->lineEdit()->hasFocus())) {
        runQuery();
        return true;
    }
    if (enter && grdList_->hasFocus()) {
        edtCode_->selectAll();
        edtCode_->setFocus();
        return true;
    }
    if (event->modifiers() & Qt::AltModifier) {
        if (event->key() == Qt::Key_A) {
            edtCode_->selectAll();
            edtCode_->setFocus();
            return true;
        }
        if (event->key() == Qt::Key_S) {
            cmbStore_->lineEdit()->selectAll();
            cmbStore_->setFocus();
            return true;
        }
    }
    return TfrmBase::baseKeyDown(event);
}

}  // namespace pos
