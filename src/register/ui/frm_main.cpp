#include "register/ui/frm_main.h"

#include "access/ui/frm_change_pass.h"
#include "access/ui/frm_lock_machine.h"
#include "config/terminal.h"
#include "config/working_mode_clock.h"
#include "members/ui/frm_insider.h"
#include "register/terminal_receipt.h"
#include "register/terminal_rights.h"
#include "payment/ui/frm_charge.h"
#include "payment/ui/frm_vip_card_pay.h"
#include "peripherals/ui/frm_options.h"
#include "queries/ui/frm_browse_bill.h"
#include "queries/ui/frm_look_total_amount.h"
#include "queries/ui/frm_query_stock.h"
#include "queries/ui/frm_total_amount.h"
#include "queries/ui/frm_vip_total_amount.h"
#include "register/close_query.h"
#include "register/error_handler.h"
#include "register/ui/bill_lines_model.h"
#include "register/ui/frm_pos_help.h"
#include "register/ui/line_grid.h"
#include "register/ui/virtual_key.h"
#include "storage/ui/frm_select_halt_bill.h"
#include "widgets/enter_key.h"
#include "widgets/latin_line_edit.h"
#include "widgets/window_caption.h"
#include "widgets/window_errors.h"

#include <QApplication>
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

#include <algorithm>

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

// unitWidth: wide enough for a unit of two Chinese characters in the grid's font.
std::vector<GridColumn> lineColumns(int unitWidth)
{
    return {
        {QStringLiteral("序号"), "OrderID", 36, Qt::AlignCenter},
        {QStringLiteral("货品编码"), "Code", 72},
        {QStringLiteral("条形码"), "BarCode", 132},
        {QStringLiteral("货品名称"), "Name", 198},
        {QStringLiteral("单位"), "Unit1", unitWidth, Qt::AlignCenter},
        {QStringLiteral("数量"), "Quantity", 0, Qt::AlignCenter},
        {QStringLiteral("单价"), "Price", 79, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("折扣%"), "Discount", 36, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("金额"), "Amount", 102, Qt::AlignRight | Qt::AlignVCenter},
        {QString(), "", 7},
    };
}

// The character a key types: Enter as a carriage return; 0 for none.
char32_t typedCharacter(const QKeyEvent* event)
{
    if (isEnterKey(event))
        return U'\r';
    const QList<uint> text = event->text().toUcs4();
    return text.size() == 1 ? static_cast<char32_t>(text.front()) : 0;
}

}  // namespace

TfrmMain::TfrmMain(Terminal& t, RegisterState& reg, QWidget* parent)
    : TfrmBase(parent),
      t_(t),
      reg_(reg),
      report_(this),
      lineEntry_(t, reg, *this),
      interpreter_(t, reg, *this, lineEntry_, RegisterDevices{display_, launcher_, report_})
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
    connect(qApp, &QApplication::focusChanged, this, &TfrmMain::keepFocus);
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
    auto commit = [this](std::size_t line, LineField field, const std::string& text) {
        bool changed = false;
        guarded("修改货品行", [&] { changed = lineEntry_.changeLine(line, field, text); });
        return changed;
    };
    DBGrid1_ = new LineGrid(this);
    DBGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1_->setFont(pixelFont(font(), 14, true));
    // Narrow columns such as the discount keep their digits: cut at the edge with a thin
    // margin rather than shortened to "…".
    DBGrid1_->setTextElideMode(Qt::ElideNone);
    DBGrid1_->setStyleSheet(QStringLiteral("QTableView::item { padding: 0px 1px; }"));
    const int unitWidth = std::max(32, cellWidthFor(*DBGrid1_, QStringLiteral("单位")));
    lines_ = new BillLinesModel(reg_.sale.bill.detail, lineColumns(unitWidth), commit, this);
    DBGrid1_->setModel(lines_);
    DBGrid1_->setAlternatingRowColors(true);
    DBGrid1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1_->verticalHeader()->hide();
    // Titles two lines high.
    DBGrid1_->horizontalHeader()->setMinimumHeight(2 * DBGrid1_->fontMetrics().height() + 6);
    lines_->applyWidths(*DBGrid1_);
    // The grid cursor marks the current line of the bill.
    connect(DBGrid1_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    reg_.sale.bill.currentLine = static_cast<std::size_t>(current.row());
            });
    return DBGrid1_;
}

QWidget* TfrmMain::buildBottomPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlBottom"));
    panel->setFixedHeight(138);

    auto edit = [&](const char* objectName) {
        QLineEdit* e = new LatinLineEdit(panel);
        e->setObjectName(QString::fromLatin1(objectName));
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
    // The start-up began the first sale; its entry boxes start empty of discount and quantity.
    edtDiscount_->setText(QStringLiteral("100"));
    edtQuantity_->setText(QStringLiteral("1"));

    setWindowCaption(*this, q(t_.settings.option("WindowTitle")));
    showNetMode();
    showStore();
    showBillHeader(currentBillHeader(t_.state, reg_.sale));
    showPreviousBill();
    showLines();
    lblTotalQty_->setText(QStringLiteral("0.00"));
    InitCustomerDisplay(t_.settings, display_);
    imgLogo_->show();
}

QLineEdit* TfrmMain::box(EditBox which) const
{
    switch (which) {
    case EditBox::Price:
        return edtPrice_;
    case EditBox::Quantity:
        return edtQuantity_;
    case EditBox::Discount:
        return edtDiscount_;
    case EditBox::Amount:
        return edtAmount_;
    case EditBox::Input:
        break;
    }
    return edtInput_;
}

std::string TfrmMain::text(EditBox which) const { return box(which)->text().toStdString(); }

void TfrmMain::setText(EditBox which, const std::string& text) { box(which)->setText(q(text)); }

void TfrmMain::focusBox(EditBox which)
{
    QLineEdit* e = box(which);
    e->selectAll();
    e->setFocus();
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
    lblPRealAmount_->setText(q(previousAmountText(reg_.sale.previous.RealAmount)));
    lblPClientAmount_->setText(q(previousAmountText(reg_.sale.previous.ClientAmount)));
    lblPChangeAmount_->setText(q(previousAmountText(reg_.sale.previous.ChangeAmount)));
}

void TfrmMain::showLines()
{
    const QModelIndex before = DBGrid1_->currentIndex();
    const int column = before.isValid() ? before.column() : gridEditing_ ? lines_->columnOf(*gridEditing_) : 0;
    // A reset grid forgets its column widths.
    if (lines_->showBill())
        lines_->applyWidths(*DBGrid1_);
    if (reg_.sale.bill.currentLine < reg_.sale.bill.detail.size())
        DBGrid1_->setCurrentIndex(lines_->index(static_cast<int>(reg_.sale.bill.currentLine), column));
}

void TfrmMain::startGridEditing(LineField field)
{
    gridEditing_ = field;
    lines_->setEditing(field);
    DBGrid1_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                              | QAbstractItemView::EditKeyPressed);
    DBGrid1_->setCurrentIndex(lines_->index(static_cast<int>(reg_.sale.bill.currentLine), lines_->columnOf(field)));
    DBGrid1_->setFocus();
}

void TfrmMain::endGridEditing()
{
    gridEditing_.reset();
    lines_->setEditing(std::nullopt);
    DBGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TfrmMain::charge(Checkout& checkout, const std::string& totalQty)
{
    TfrmCharge dialog(checkout, q(totalQty), this);
    dialog.exec();
}

void TfrmMain::payFromCard(VIPCardPayment& payment, const std::string& totalQty)
{
    TfrmVIPCardPay dialog(payment, q(totalQty), this);
    dialog.exec();
}

void TfrmMain::showOptions()
{
    TfrmOptions dialog(t_.settings, t_.person, display_, launcher_, t_.settings.directory(), this);
    dialog.exec();
    if (dialog.accepted())
        setWindowCaption(*this, dialog.registerTitle());
}

void TfrmMain::changePassword()
{
    TfrmChangePass dialog({t_.dm, t_.state, t_.person, t_.log, t_.clock}, this);
    dialog.exec();
}

void TfrmMain::showShiftTakings()
{
    TfrmTotalAmount dialog({t_.dm, t_.state, t_.settings, t_.person}, this);
    dialog.exec();
}

void TfrmMain::showTakingsToday()
{
    TfrmLookTotalAmount dialog(t_.dm, t_.state.OperatorId, this);
    dialog.exec();
}

void TfrmMain::showMemberTotals()
{
    TfrmVIPTotalAmount dialog({t_.dm, t_.state}, this);
    dialog.exec();
}

void TfrmMain::browseBills()
{
    // The reprint goes through the register's own receipt printing.
    const WorkingModeClock modeClock(t_.dm, t_.state);
    TfrmBrowseBill dialog({t_.dm, t_.state}, modeClock, terminalReceipt(t_), report_, this);
    dialog.exec();
}

void TfrmMain::queryStock()
{
    TfrmQueryStock dialog({t_.dm, t_.state}, t_.person, t_.state.StoreName, this);
    dialog.exec();
}

std::optional<std::string> TfrmMain::chooseHeldBill(const RowSet& holdNumbers)
{
    TfrmSelectHaltBill dialog(holdNumbers, this);
    dialog.exec();
    return dialog.chosen();
}

std::optional<MemberCardRead> TfrmMain::readMemberCard()
{
    static const SteadyClock clock;
    TerminalRights rights(t_);
    TfrmInsider dialog({t_.dm, t_.state, t_.person, rights, t_.log, t_.clock}, reg_.sale.member,
                       t_.settings.optionYes("VIPInput"), clock, this);
    dialog.exec();
    if (!dialog.cardAccepted())
        return std::nullopt;
    return MemberCardRead{dialog.cardNo(), dialog.member()};
}

void TfrmMain::handleError(const std::string& operation, const std::exception& error)
{
    if (handleRegisterError(t_, operation, error) == ErrorOutcome::WentOffline)
        showNetMode();
    // What failed stays in the input box, selected: Enter tries it again (offline after
    // a lost server) and the next scan replaces it instead of being appended.
    if (reg_.FocusToInput)
        edtInput_->selectAll();
}

void TfrmMain::closeRegister()
{
    guarded("退出系统", [&] { closing_ = registerCloseQuery(t_); });
    if (closing_)
        close();
}

void TfrmMain::lockTerminal()
{
    TfrmLockMachine dialog({t_.dm, t_.state}, t_.person, t_.state.OperatorId, t_.state.OperatorCode, this);
    dialog.exec();
}

void TfrmMain::showKeyHelp()
{
    TfrmPosHelp dialog(t_, this);
    dialog.exec();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // A window manager, a task bar or a stray close() asks in vain: the register closes
    // through "16/" alone.
    if (!closing_) {
        event->ignore();
        return;
    }
    display_.release();
    event->accept();
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

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (TfrmBase::eventFilter(watched, event))
        return true;
    // Each key once, where it arrives: not again on its way up to the parents. Keys reach
    // only the window holding the keyboard, so the focused control of this window is
    // enough (without a window manager the window may never be called active).
    if (event->type() != QEvent::KeyPress || watched != focusWidget())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // A key whose command failed is used up: it is not typed as well.
    bool used = true;
    if (watched == edtInput_)
        guarded("处理收银输入", [&] { used = edtInputKey(key); });
    else if (watched == edtPrice_ || watched == edtQuantity_ || watched == edtDiscount_)
        guarded("修改单价、数量或折扣", [&] { used = editBoxKey(static_cast<QLineEdit*>(watched), key); });
    else if (gridEditing_ && DBGrid1_->holds(static_cast<QWidget*>(watched)))
        guarded("修改货品行", [&] { used = gridKey(key); });
    else
        used = false;
    return used;
}

bool TfrmMain::edtInputKey(QKeyEvent* event)
{
    interpreter_.keyDown(virtualKeyCode(*event), keyModifiers(*event));
    const char32_t ch = typedCharacter(event);
    return ch != 0 && interpreter_.keyPress(ch);
}

bool TfrmMain::editBoxKey(QLineEdit* e, QKeyEvent* event)
{
    if (!isEnterKey(event))
        return false;
    if (e == edtPrice_)
        lineEntry_.priceEnter();
    else if (e == edtQuantity_)
        lineEntry_.quantityEnter();
    else
        lineEntry_.discountEnter();
    return true;
}

bool TfrmMain::gridKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter acts as Tab; Tab on the quantity ends the editing, elsewhere it goes on
        // to the quantity.
        DBGrid1_->commitEditor();
        const int quantity = lines_->columnOf(LineField::Quantity);
        const QModelIndex current = DBGrid1_->currentIndex();
        if (!current.isValid() || current.column() == quantity)
            lineEntry_.endGridEditing();
        else
            DBGrid1_->setCurrentIndex(lines_->index(current.row(), quantity));
        return true;
    }
    case Qt::Key_F12:
        DBGrid1_->cancelEditor();
        lineEntry_.deleteCurrentLine();
        return true;
    default:
        // A negative quantity is a return.
        return event->text() == QStringLiteral("-") && !lineEntry_.minusAllowed();
    }
}

void TfrmMain::keepFocus(QWidget* old, QWidget* now)
{
    if (!old || !now || old->window() != this || now->window() != this || now == old)
        return;
    const bool fromBox = old == edtPrice_ || old == edtQuantity_ || old == edtDiscount_;
    const bool fromGrid = DBGrid1_->holds(old);
    QWidget* back = nullptr;
    if (reg_.FocusToInput)
        back = now != edtInput_ && (old == edtInput_ || fromBox || fromGrid) ? edtInput_ : nullptr;
    else if (fromBox)
        back = old;
    else if (fromGrid && !DBGrid1_->holds(now))
        back = DBGrid1_;
    if (!back)
        return;
    back->setFocus();
    // Back in a box its text is selected, as on any entry into it.
    if (auto* e = qobject_cast<QLineEdit*>(back))
        e->selectAll();
}

}  // namespace pos
