#include "register/ui/frm_main.h"

#include "register/close_query.h"
#include "register/error_handler.h"
#include "register/terminal.h"
#include "register/ui/row_set_model.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace pos {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QFont pixelFont(const QFont& base, int pixels, bool bold)
{
    QFont f(base);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel* named(QLabel* label, const char* objectName)
{
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

const std::vector<GridColumn>& lineColumns()
{
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("序号"), "OrderID", 36, Qt::AlignCenter},
        {QStringLiteral("货品编码"), "Code", 72},
        {QStringLiteral("条形码"), "BarCode", 132},
        {QStringLiteral("货品名称"), "Name", 198},
        {QStringLiteral("单位"), "Unit1", 32, Qt::AlignCenter},
        {QStringLiteral("数量"), "Quantity", 0, Qt::AlignCenter},
        {QStringLiteral("单价"), "Price", 79, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("折扣%"), "Discount", 36, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("金额"), "Amount", 102, Qt::AlignRight | Qt::AlignVCenter},
        {QString(), "", 7},
    };
    return columns;
}

}  // namespace

TfrmMain::TfrmMain(Terminal& t, RegisterState& reg, QWidget* parent) : TfrmBase(parent), t_(t), reg_(reg)
{
    setObjectName(QStringLiteral("frmMain"));
    // No border icons: the window is left through the close query only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Top-left corner, the size of the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTopPanel());
    layout->addWidget(buildLineGrid(), 1);
    layout->addWidget(buildBottomPanel());
}

QWidget* TfrmMain::buildTopPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlTop"));
    panel->setFixedHeight(71);

    imgLogo_ = new QLabel(panel);
    imgLogo_->setObjectName(QStringLiteral("imgLogo"));
    imgLogo_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imgLogo_->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    imgLogo_->setAlignment(Qt::AlignCenter);
    imgLogo_->setFixedSize(64, 64);
    imgLogo_->hide();

    auto* title = new QLabel(QStringLiteral("前 台 收 银 系 统"), panel);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(pixelFont(font(), 24, true));
    auto* rule = new QFrame(panel);
    rule->setFrameShape(QFrame::HLine);
    rule->setLineWidth(1);

    lblNetMode_ = named(new QLabel(panel), "lblNetMode");
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title);
    titleRow->addStretch();
    titleRow->addWidget(new QLabel(QStringLiteral("工作模式:"), panel));
    titleRow->addWidget(lblNetMode_);

    auto* values = new QHBoxLayout;
    auto addValue = [&](const QString& caption, QLabel*& label, const char* objectName, int minChars) {
        label = named(new QLabel(panel), objectName);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minChars);
        values->addWidget(new QLabel(caption, panel));
        values->addWidget(label);
    };
    addValue(QStringLiteral("单号:"), lblBillNo_, "lblBillNo", 18);
    addValue(QStringLiteral("机号:"), lblMachineNo_, "lblMachineNo", 10);
    addValue(QStringLiteral("班次:"), lblClassNo_, "lblClassNo", 6);
    addValue(QStringLiteral("收银员:"), lblOperator_, "lblOperator", 8);
    addValue(QStringLiteral("业务员:"), lblExeMan_, "lblExeMan", 8);
    addValue(QStringLiteral("仓库:"), lblStore_, "lblStore", 12);
    values->addStretch();

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    right->addLayout(titleRow);
    right->addWidget(rule);
    right->addLayout(values);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(imgLogo_);
    layout->addLayout(right, 1);
    return panel;
}

QWidget* TfrmMain::buildLineGrid()
{
    lines_ = new RowSetModel(reg_.bill.detail, lineColumns(), this);
    DBGrid1_ = new QTableView(this);
    DBGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1_->setModel(lines_);
    DBGrid1_->setFont(pixelFont(font(), 14, true));
    DBGrid1_->setAlternatingRowColors(true);
    DBGrid1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1_->verticalHeader()->hide();
    // Titles two lines high.
    DBGrid1_->horizontalHeader()->setMinimumHeight(2 * DBGrid1_->fontMetrics().height() + 6);
    lines_->applyWidths(*DBGrid1_);
    return DBGrid1_;
}

QWidget* TfrmMain::buildBottomPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlBottom"));
    panel->setFixedHeight(138);

    auto edit = [&](const char* objectName) {
        auto* e = new QLineEdit(panel);
        e->setObjectName(QString::fromLatin1(objectName));
        e->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
        return e;
    };
    edtInput_ = edit("edtInput");
    edtInput_->setFont(pixelFont(font(), 16, false));
    edtPrice_ = edit("edtPrice");
    edtQuantity_ = edit("edtQuantity");
    edtDiscount_ = edit("edtDiscount");
    for (QLineEdit* e : {edtPrice_, edtQuantity_, edtDiscount_})
        e->setFocusPolicy(Qt::ClickFocus);  // reached through their commands, not by Tab
    edtAmount_ = edit("edtAmount");
    edtAmount_->setFont(pixelFont(font(), 48, true));
    edtAmount_->setFrame(false);
    edtAmount_->setReadOnly(true);
    edtAmount_->setFocusPolicy(Qt::NoFocus);
    edtAmount_->setBackgroundRole(QPalette::Button);
    edtAmount_->setAutoFillBackground(true);
    edtAmount_->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
    connect(edtInput_, &QLineEdit::returnPressed, this, &TfrmMain::edtInputEnter);

    auto* entry = new QGridLayout;
    auto addEntry = [&](int row, int col, const QString& caption, QWidget* field) {
        entry->addWidget(new QLabel(caption, panel), row, col, Qt::AlignRight);
        entry->addWidget(field, row, col + 1);
    };
    addEntry(0, 0, QStringLiteral("货品:"), edtInput_);
    addEntry(1, 0, QStringLiteral("单价:"), edtPrice_);
    addEntry(2, 0, QStringLiteral("数量:"), edtQuantity_);
    addEntry(3, 0, QStringLiteral("折扣:"), edtDiscount_);

    auto* amount = new QVBoxLayout;
    amount->addWidget(new QLabel(QStringLiteral("应收款:"), panel));
    amount->addWidget(edtAmount_);

    auto* previous = new QGridLayout;
    auto addPrevious = [&](int row, const QString& caption, QLabel*& label, const char* objectName) {
        label = named(new QLabel(panel), objectName);
        previous->addWidget(new QLabel(caption, panel), row, 0, Qt::AlignRight);
        previous->addWidget(label, row, 1);
    };
    addPrevious(0, QStringLiteral("上单应收:"), lblPRealAmount_, "lblPRealAmount");
    addPrevious(1, QStringLiteral("上单实收:"), lblPClientAmount_, "lblPClientAmount");
    addPrevious(2, QStringLiteral("上单找零:"), lblPChangeAmount_, "lblPChangeAmount");
    addPrevious(3, QStringLiteral("会员:"), lblVIPCardNo_, "lblVIPCardNo");
    lblTotalQty_ = named(new QLabel(panel), "lblTotalQty");
    lblTotalQty_->setFont(pixelFont(font(), 19, true));
    previous->addWidget(new QLabel(QStringLiteral("数量:"), panel), 4, 0, Qt::AlignRight);
    previous->addWidget(lblTotalQty_, 4, 1);

    auto* row = new QHBoxLayout;
    row->addLayout(entry, 3);
    row->addLayout(amount, 2);
    row->addLayout(previous, 2);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addLayout(row, 1);
    layout->addWidget(buildKeyGuide());
    return panel;
}

QWidget* TfrmMain::buildKeyGuide()
{
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("pnlKeyGuide"));
    strip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(4, 0, 4, 0);
    for (const char* text : {"说明：", "＋[收款]", "9/[改数量]", "4/[挂单]", "5/[取单]", "·[删除行]", "/[改折扣]",
                             "6/[会员卡]", "14/[开钱箱]", "19/[帮助]"})
        layout->addWidget(new QLabel(QString::fromUtf8(text), strip));
    layout->addStretch();
    return strip;
}

void TfrmMain::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (event->spontaneous())
        return;  // shown again after being minimised, not opened
    reg_.FocusToInput = true;
    edtInput_->setFocus();
    reg_.NextOrderId = 1;
    edtDiscount_->setText(QStringLiteral("100"));
    edtQuantity_->setText(QStringLiteral("1"));
    t_.state.DiscountState = 0;

    setWindowTitle(q(t_.settings.option("WindowTitle")));
    showNetMode();
    showStore();
    showBillHeader(currentBillHeader(t_, reg_));
    showPreviousBill();
    showLines();
    lblTotalQty_->setText(QStringLiteral("0.00"));
    imgLogo_->show();
}

void TfrmMain::showBillHeader(const BillHeader& header)
{
    lblBillNo_->setText(q(header.billNo));
    lblOperator_->setText(q(header.operatorCode));
    lblMachineNo_->setText(q(header.machineName));
    lblClassNo_->setText(q(header.className));
    lblVIPCardNo_->setText(q(header.member));
    lblExeMan_->setText(q(header.exeMan));
}

void TfrmMain::showTotals(const TotalsShown& totals)
{
    lblTotalQty_->setText(q(totals.totalQty));
    edtAmount_->setText(q(totals.amountDue));
}

void TfrmMain::showNetMode() { lblNetMode_->setText(QString::fromUtf8(netModeCaption(t_.state.NetMode))); }

void TfrmMain::showStore() { lblStore_->setText(q(t_.state.StoreName)); }

void TfrmMain::showPreviousBill()
{
    lblPRealAmount_->setText(q(previousAmountText(reg_.previous.RealAmount)));
    lblPClientAmount_->setText(q(previousAmountText(reg_.previous.ClientAmount)));
    lblPChangeAmount_->setText(q(previousAmountText(reg_.previous.ChangeAmount)));
}

void TfrmMain::showLines()
{
    lines_->reload();
    lines_->applyWidths(*DBGrid1_);
}

void TfrmMain::edtInputEnter()
{
    showTotals(RefreshTotals(t_, reg_));
    edtInput_->clear();
}

void TfrmMain::handleError(const std::exception& error)
{
    if (handleRegisterError(t_, error) == ErrorOutcome::WentOffline)
        showNetMode();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (registerCloseQuery(t_))
        event->accept();
    else
        event->ignore();
}

void TfrmMain::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close the register window.
    event->ignore();
}

bool TfrmMain::baseKeyDown(QKeyEvent* event)
{
    // The only rule of the register window: Alt+F4 is swallowed.
    return event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier;
}

}  // namespace pos
