#include "queries/ui/frm_browse_bill.h"

#include "queries/bill_browser.h"
#include "widgets/sortable_grid.h"
#include "widgets/window_errors.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <utility>

namespace pos {
namespace {

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

QLineEdit* dateField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    // Hour and minute may stay blank: the whole day is meant.
    edit->setInputMask(QStringLiteral("0000-00-00 00:00"));
    edit->setFixedWidth(120);
    return edit;
}

}  // namespace

TfrmBrowseBill::TfrmBrowseBill(WorkingConnection db, const Clock& modeClock, ReceiptContext receipt,
                               ReportEngine& report, QWidget* parent)
    : TfrmBase(parent), db_(db), receipt_(std::move(receipt)), report_(report)
{
    setWindowTitle(QStringLiteral("浏览POS单"));
    grdMaster_ = new SortableGrid({{QStringLiteral("时间"), "BillDate", 130},
                                   {QStringLiteral("单号"), "BillNo", 130},
                                   {QStringLiteral("金额"), "Amount", 80, kRight},
                                   {QStringLiteral("收银员"), "OperatorName", 90},
                                   {QStringLiteral("仓库"), "StoreName", 100},
                                   {QStringLiteral("业务员"), "ExeManName", 90}},
                                  {true, true, true, true, true, true}, this);
    grdMaster_->setObjectName(QStringLiteral("grdMaster"));
    grdDetail_ = new SortableGrid({{QStringLiteral("商品代码"), "Code", 90},
                                   {QStringLiteral("条形码"), "BarCode", 110},
                                   {QStringLiteral("商品名称"), "Name", 160},
                                   {QStringLiteral("单位"), "Unit1", 40},
                                   {QStringLiteral("数量"), "Quantity", 60, kRight},
                                   {QStringLiteral("单价"), "Price", 70, kRight},
                                   {QStringLiteral("折扣"), "Discount", 50, kRight},
                                   {QStringLiteral("金额"), "Amount", 80, kRight}},
                                  {}, this);
    grdDetail_->setObjectName(QStringLiteral("grdDetail"));
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(grdMaster_);
    splitter->addWidget(grdDetail_);

    edtStartDate_ = dateField(this, "edtStartDate");
    edtEndDate_ = dateField(this, "edtEndDate");
    btnPrint_ = new QPushButton(QStringLiteral("打印(F9)"), this);
    btnPrint_->setObjectName(QStringLiteral("btnPrint"));
    btnExit_ = new QPushButton(QStringLiteral("退出(ESC)"), this);
    btnExit_->setObjectName(QStringLiteral("btnExit"));
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("查询(F8)"), this));
    bar->addWidget(edtStartDate_);
    bar->addWidget(new QLabel(QStringLiteral("--"), this));
    bar->addWidget(edtEndDate_);
    bar->addWidget(new QLabel(QStringLiteral("说明： F4 单据表格"), this));
    bar->addWidget(new QLabel(QStringLiteral("F5 商品明细表格"), this));
    bar->addStretch();
    bar->addWidget(btnPrint_);
    bar->addWidget(btnExit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(bar);
    resize(760, 520);

    connect(btnPrint_, &QPushButton::clicked, this, &TfrmBrowseBill::reprint);
    // The button says Esc: it closes like the key.
    connect(btnExit_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grdMaster_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { loadLines(); });

    guarded("浏览POS单", [&] {
        const WindowFields fields = InitialWindowFields(modeClock.now().text());
        edtStartDate_->setText(QString::fromStdString(fields.start));
        edtEndDate_->setText(QString::fromStdString(fields.end));
        const WindowParse parsed = ParseBillWindow(fields.start, fields.end);
        if (parsed.window)
            loadBills(parsed.window->start, parsed.window->end);
    });
    edtStartDate_->setFocus();
}

void TfrmBrowseBill::loadBills(const std::string& start, const std::string& end)
{
    grdMaster_->setRows(BrowseBills(db_.db().statements<BillBrowserStatements>(), {start, end}));
    if (!grdMaster_->shownRows().empty())
        loadLines();
}

void TfrmBrowseBill::loadLines()
{
    const int row = grdMaster_->currentRecord();
    const RowSet& bills = grdMaster_->shownRows();
    if (row < 0 || static_cast<std::size_t>(row) >= bills.size())
        return;
    // Until the query answers no lines are shown: a failed one must not leave the lines of
    // another bill on screen or on a reprint.
    lines_ = RowSet(lines_.columns());
    linesBillNo_.reset();
    grdDetail_->setRows(lines_);
    const std::string billNo = bills.at(static_cast<std::size_t>(row), "BillNo").toString();
    guarded("浏览POS单", [&] {
        lines_ = BrowseBillLines(db_.db().statements<BillBrowserStatements>(), billNo);
        grdDetail_->setRows(lines_);
        linesBillNo_ = billNo;
    });
}

void TfrmBrowseBill::queryWindow()
{
    const WindowParse parsed =
        ParseBillWindow(edtStartDate_->text().toStdString(), edtEndDate_->text().toStdString());
    if (!parsed.window) {
        QLineEdit* bad = parsed.badField == WindowField::Start ? edtStartDate_ : edtEndDate_;
        receipt_.person.message("输入的日期格式不对！", "", MessageIcon::Information);
        bad->selectAll();
        bad->setFocus();
        return;
    }
    guarded("浏览POS单", [&] { loadBills(parsed.window->start, parsed.window->end); });
}

void TfrmBrowseBill::reprint()
{
    const int row = grdMaster_->currentRecord();
    const RowSet& bills = grdMaster_->shownRows();
    // A bill whose lines were not read is not printed: its receipt would list none or others.
    if (row < 0 || static_cast<std::size_t>(row) >= bills.size()
        || linesBillNo_ != bills.at(static_cast<std::size_t>(row), "BillNo").toString())
        return;
    guarded("重打小票", [&] {
        ReprintBill(receipt_, report_, db_.db().statements<BillBrowserStatements>(), bills,
                    static_cast<std::size_t>(row), lines_);
    });
}

bool TfrmBrowseBill::baseKeyDown(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F4:
        grdMaster_->setFocus();
        return true;
    case Qt::Key_F5:
        grdDetail_->setFocus();
        return true;
    case Qt::Key_F8:
        edtStartDate_->setFocus();
        edtStartDate_->selectAll();
        return true;
    case Qt::Key_F9:
        reprint();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (edtStartDate_->hasFocus() || edtEndDate_->hasFocus()) {
            queryWindow();
            return true;
        }
        break;
    default:
        break;
    }
    return TfrmBase::baseKeyDown(event);
}

}  // namespace pos
