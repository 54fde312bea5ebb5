#include "peripherals/ui/frm_options.h"

#include "base/trim.h"
#include "peripherals/cash_drawer.h"
#include "widgets/named_widget.h"
#include "widgets/one_line_validator.h"
#include "widgets/window_errors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pos {
namespace {

const char* const kPresent = "有";
const char* const kAbsent = "无";
const char* const kYes = "是";
const char* const kNo = "否";

const QStringList kPrintPorts{"LPT1", "LPT2", "LPT3", "LPT4"};
const QStringList kPaperSizes{"58mm", "75mm"};
const QStringList kPrintModes{QStringLiteral("整张快速打印"), QStringLiteral("自定义小票打印")};
const QStringList kDispTypes{"LED11", QStringLiteral("MBI-1828单行"), "DIY-PDLED8", "DIY-PDVFD8CV", "IC-851A", "IC-851B"};
const QStringList kDispPorts{"COM1", "COM2", "COM3", "COM4"};
const QStringList kBoxConnTypes{QStringLiteral("接打印机"), QStringLiteral("接钱箱卡"), QStringLiteral("接客户显示屏")};

// The drawer commands offered for a connection; "接客户显示屏" and anything else: the display's.
QStringList drawerCommands(const QString& connection)
{
    if (connection == QStringLiteral("接钱箱卡"))
        return {"Open1.com", "Open2.com", "Open3.com", "Open4.com"};
    if (connection == QStringLiteral("接打印机"))
        return {"27-112-0-50-250", "27-112-0-60-255", "27-112-07"};
    return {"2-77"};
}

// Swallows every typed character but the digits, backspace and Enter. Keys that type
// nothing (arrows, Delete) and the dialog keys Tab and Esc pass.
class DigitsOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false;
        default:
            break;
        }
        const QString text = key->text();
        return !text.isEmpty() && !(text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9'));
    }
};

QComboBox* fixedList(const char* objectName, const QStringList& items)
{
    auto* list = named<QComboBox>(objectName);
    list->addItems(items);
    return list;
}

QFormLayout* formOf(QGroupBox* group) { return new QFormLayout(group); }

// A free-text field: pasted line breaks become blanks, as the settings file keeps them.
QLineEdit* oneLineEdit(const char* objectName)
{
    auto* edit = named<QLineEdit>(objectName);
    edit->setValidator(new OneLineValidator(edit));
    return edit;
}

std::string textOf(const QLineEdit* edit) { return edit->text().toStdString(); }
std::string trimmedOf(const QLineEdit* edit) { return trimmed(textOf(edit)); }
std::string trimmedOf(const QComboBox* list) { return trimmed(list->currentText().toStdString()); }
std::string presence(const QCheckBox* box) { return box->isChecked() ? kPresent : kAbsent; }
std::string yesNo(const QCheckBox* box) { return box->isChecked() ? kYes : kNo; }

}  // namespace

TfrmOptions::TfrmOptions(Settings& settings, Person& person, DisplayPort& display, Launcher& launcher,
                         std::string programDir, QWidget* parent)
    : TfrmBase(parent),
      settings_(settings),
      person_(person),
      display_(display),
      launcher_(launcher),
      programDir_(std::move(programDir)),
      digitsOnly_(new DigitsOnly(this))
{
    setWindowTitle(QStringLiteral("设置"));

    edtWindowTitle_ = oneLineEdit("edtWindowTitle");
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("界面标题：")));
    titleRow->addWidget(edtWindowTitle_);

    auto* left = new QVBoxLayout;
    left->addLayout(titleRow);
    left->addWidget(buildReceiptGroup());
    left->addWidget(buildDevicesGroup());
    left->addWidget(buildContentGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(buildPrinterGroup());
    right->addWidget(buildDisplayGroup());
    right->addWidget(buildMoneyBoxGroup());
    right->addWidget(buildOtherGroup());
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* btnOK = named<QPushButton>("btnOK", QStringLiteral("确定(&O)"));
    auto* btnCancel = named<QPushButton>("btnCancel", QStringLiteral("取消(&C)"));
    connect(btnOK, &QPushButton::clicked, this, &TfrmOptions::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmOptions::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addLayout(buttons);
    edtWindowTitle_->setFocus();
}

QLineEdit* TfrmOptions::digitsOnlyEdit(const char* objectName)
{
    auto* edit = named<QLineEdit>(objectName);
    edit->installEventFilter(digitsOnly_);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

QWidget* TfrmOptions::buildReceiptGroup()
{
    auto* group = named<QGroupBox>("grpReceipt", QStringLiteral("小票设置"));
    auto* form = formOf(group);
    form->addRow(QStringLiteral("小票标题1："), edtHeader1_ = oneLineEdit("edtHeader1"));
    form->addRow(QStringLiteral("小票标题2："), edtHeader2_ = oneLineEdit("edtHeader2"));
    form->addRow(QStringLiteral("小票尾注1："), edtFooter1_ = oneLineEdit("edtFooter1"));
    form->addRow(QStringLiteral("小票尾注2："), edtFooter2_ = oneLineEdit("edtFooter2"));
    return group;
}

QWidget* TfrmOptions::buildDevicesGroup()
{
    auto* group = named<QGroupBox>("grpDevices", QStringLiteral("输出设备选配"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(chkPrinter_ = named<QCheckBox>("chkPrinter", QStringLiteral("打印小票")));
    row->addWidget(chkMoneyBox_ = named<QCheckBox>("chkMoneyBox", QStringLiteral("有钱箱")));
    row->addWidget(chkClientDisplay_ = named<QCheckBox>("chkClientDisplay", QStringLiteral("有顾客显示屏")));
    for (QCheckBox* box : {chkPrinter_, chkMoneyBox_, chkClientDisplay_})
        connect(box, &QCheckBox::toggled, this, &TfrmOptions::enableGroups);
    return group;
}

QWidget* TfrmOptions::buildContentGroup()
{
    auto* group = named<QGroupBox>("grpContent", QStringLiteral("打印内容"));
    auto* grid = new QGridLayout(group);
    QCheckBox* boxes[] = {
        chkDiscountCol_ = named<QCheckBox>("chkDiscountCol", QStringLiteral("有折扣栏")),
        chkGoodsOneLine_ = named<QCheckBox>("chkGoodsOneLine", QStringLiteral("商品名单独一行")),
        chkVIPCard_ = named<QCheckBox>("chkVIPCard", QStringLiteral("有会员卡")),
        chkExeMan_ = named<QCheckBox>("chkExeMan", QStringLiteral("有业务员")),
        chkBillNo_ = named<QCheckBox>("chkBillNo", QStringLiteral("有单号")),
        chkPoint_ = named<QCheckBox>("chkPoint", QStringLiteral("有积分")),
        chkDisAmount_ = named<QCheckBox>("chkDisAmount", QStringLiteral("有优惠金额")),
    };
    for (int i = 0; i < static_cast<int>(std::size(boxes)); ++i)
        grid->addWidget(boxes[i], i / 2, i % 2);
    return group;
}

QWidget* TfrmOptions::buildPrinterGroup()
{
    grpPrinter_ = named<QGroupBox>("grpPrinter", QStringLiteral("票据打印机选项"));
    auto* form = formOf(grpPrinter_);
    form->addRow(QStringLiteral("连接端口："), cmbPrintPort_ = fixedList("cmbPrintPort", kPrintPorts));
    auto* paper = new QHBoxLayout;
    paper->addWidget(cmbPaperSize_ = fixedList("cmbPaperSize", kPaperSizes));
    paper->addWidget(new QLabel(QStringLiteral("＝")));
    paper->addWidget(edtCharNum_ = digitsOnlyEdit("edtCharNum"));
    paper->addWidget(new QLabel(QStringLiteral("个字符")));
    form->addRow(QStringLiteral("纸张大小："), paper);
    form->addRow(QStringLiteral("打印方式："), cmbPrintMode_ = fixedList("cmbPrintMode", kPrintModes));
    form->addRow(QStringLiteral("小票尾部空行数："), edtFooterNum_ = digitsOnlyEdit("edtFooterNum"));
    form->addRow(QStringLiteral("小票份数："), edtBillNum_ = digitsOnlyEdit("edtBillNum"));
    connect(cmbPaperSize_, &QComboBox::activated, this, &TfrmOptions::cmbPaperSizeChange);
    return grpPrinter_;
}

QWidget* TfrmOptions::buildDisplayGroup()
{
    grpDisplay_ = named<QGroupBox>("grpDisplay", QStringLiteral("顾客显示屏选项"));
    auto* form = formOf(grpDisplay_);
    form->addRow(QStringLiteral("选用类型："), cmbDispType_ = fixedList("cmbDispType", kDispTypes));
    auto* port = new QHBoxLayout;
    port->addWidget(cmbDispPort_ = fixedList("cmbDispPort", kDispPorts));
    auto* btnDispTest = named<QPushButton>("btnDispTest", QStringLiteral("测试"));
    port->addWidget(btnDispTest);
    form->addRow(QStringLiteral("连接端口："), port);
    connect(btnDispTest, &QPushButton::clicked, this, &TfrmOptions::btnDispTestClick);
    return grpDisplay_;
}

QWidget* TfrmOptions::buildMoneyBoxGroup()
{
    grpMoneyBox_ = named<QGroupBox>("grpMoneyBox", QStringLiteral("钱箱选项"));
    auto* form = formOf(grpMoneyBox_);
    form->addRow(QStringLiteral("连接方式："), cmbBoxConnType_ = fixedList("cmbBoxConnType", kBoxConnTypes));
    auto* command = new QHBoxLayout;
    command->addWidget(cmbBoxOpen_ = named<QComboBox>("cmbBoxOpen"));
    cmbBoxOpen_->setEditable(true);
    cmbBoxOpen_->setInsertPolicy(QComboBox::NoInsert);
    auto* btnBoxTest = named<QPushButton>("btnBoxTest", QStringLiteral("测试"));
    command->addWidget(btnBoxTest);
    form->addRow(QStringLiteral("打开指令："), command);
    connect(cmbBoxConnType_, &QComboBox::activated, this, &TfrmOptions::cmbBoxConnTypeChange);
    connect(btnBoxTest, &QPushButton::clicked, this, &TfrmOptions::btnBoxTestClick);
    return grpMoneyBox_;
}

QWidget* TfrmOptions::buildOtherGroup()
{
    auto* group = named<QGroupBox>("grpOther", QStringLiteral("其它"));
    formOf(group)->addRow(QStringLiteral("大钞提示额度："), edtHintAmount_ = digitsOnlyEdit("edtHintAmount"));
    return group;
}

void TfrmOptions::showEvent(QShowEvent* event)
{
    FormShow();
    TfrmBase::showEvent(event);
}

void TfrmOptions::FormShow()
{
    auto show = [this](QLineEdit* edit, const char* key) { edit->setText(QString::fromStdString(settings_.option(key))); };
    show(edtWindowTitle_, "WindowTitle");
    show(edtHeader1_, "Header1");
    show(edtHeader2_, "Header2");
    show(edtFooter1_, "Footer1");
    show(edtFooter2_, "Footer2");
    show(edtCharNum_, "CharNum");
    show(edtFooterNum_, "FooterNum");
    show(edtHintAmount_, "HintAmount");
    edtBillNum_->setText(QString::fromStdString(settings_.ini().read(kOptionsSection, "BillNum", "1")));

    showList(cmbPrintPort_, "PrintPort");
    showList(cmbPaperSize_, "PaperSize");
    showList(cmbPrintMode_, "PrintMode");
    showList(cmbDispType_, "DispType");
    showList(cmbDispPort_, "DispPort");
    showList(cmbBoxConnType_, "MoneyBoxConn");
    cmbBoxConnTypeChange();
    cmbBoxOpen_->setEditText(QString::fromStdString(settings_.option("OpenMoneyBox")));

    chkPrinter_->setChecked(settings_.optionPresent("Printer"));
    chkMoneyBox_->setChecked(settings_.optionPresent("MoneyBox"));
    chkClientDisplay_->setChecked(settings_.optionPresent("ClientDisplay"));
    enableGroups();

    chkDiscountCol_->setChecked(settings_.optionYes("DiscountCol"));
    chkGoodsOneLine_->setChecked(settings_.optionYes("GoodsOneLine"));
    chkVIPCard_->setChecked(settings_.optionYes("PrintVIPCard"));
    chkExeMan_->setChecked(settings_.optionYes("PrintExeMan"));
    chkBillNo_->setChecked(settings_.optionYes("PrintBillNo"));
    chkPoint_->setChecked(settings_.optionYes("PrintPoint"));
    chkDisAmount_->setChecked(settings_.optionYes("PrintDisAmount"));
}

// The stored value when it is one of the list's items, else no item.
void TfrmOptions::showList(QComboBox* list, const char* key)
{
    list->setCurrentIndex(list->findText(QString::fromStdString(settings_.option(key)), Qt::MatchExactly));
}

void TfrmOptions::enableGroups()
{
    grpPrinter_->setEnabled(chkPrinter_->isChecked());
    grpMoneyBox_->setEnabled(chkMoneyBox_->isChecked());
    grpDisplay_->setEnabled(chkClientDisplay_->isChecked());
}

void TfrmOptions::cmbPaperSizeChange()
{
    const QString size = cmbPaperSize_->currentText();
    if (size == QStringLiteral("58mm"))
        edtCharNum_->setText(QStringLiteral("32"));
    else if (size == QStringLiteral("75mm"))
        edtCharNum_->setText(QStringLiteral("41"));
}

void TfrmOptions::cmbBoxConnTypeChange()
{
    cmbBoxOpen_->clear();
    cmbBoxOpen_->addItems(drawerCommands(cmbBoxConnType_->currentText()));
    cmbBoxOpen_->setCurrentIndex(0);
}

void TfrmOptions::saveSettings()
{
    settings_.setOptions({
        {"Header1", textOf(edtHeader1_)},
        {"Header2", textOf(edtHeader2_)},
        {"Footer1", textOf(edtFooter1_)},
        {"Footer2", textOf(edtFooter2_)},
        {"WindowTitle", trimmedOf(edtWindowTitle_)},
        {"FooterNum", trimmedOf(edtFooterNum_)},
        {"PrintPort", trimmedOf(cmbPrintPort_)},
        {"PaperSize", trimmedOf(cmbPaperSize_)},
        {"PrintMode", trimmedOf(cmbPrintMode_)},
        {"DispType", trimmedOf(cmbDispType_)},
        {"DispPort", trimmedOf(cmbDispPort_)},
        {"MoneyBoxConn", trimmedOf(cmbBoxConnType_)},
        {"OpenMoneyBox", trimmedOf(cmbBoxOpen_)},
        {"Printer", presence(chkPrinter_)},
        {"MoneyBox", presence(chkMoneyBox_)},
        {"ClientDisplay", presence(chkClientDisplay_)},
        {"DiscountCol", yesNo(chkDiscountCol_)},
        {"GoodsOneLine", yesNo(chkGoodsOneLine_)},
        {"PrintVIPCard", yesNo(chkVIPCard_)},
        {"PrintExeMan", yesNo(chkExeMan_)},
        {"PrintDisAmount", yesNo(chkDisAmount_)},
        {"PrintBillNo", yesNo(chkBillNo_)},
        {"PrintPoint", yesNo(chkPoint_)},
        {"CharNum", trimmedOf(edtCharNum_)},
        {"HintAmount", trimmedOf(edtHintAmount_)},
        {"BillNum", trimmedOf(edtBillNum_)},
    });
}

QString TfrmOptions::registerTitle() const { return QString::fromStdString(trimmedOf(edtWindowTitle_)); }

void TfrmOptions::btnOKClick()
{
    if (guarded("保存设备设置", [this] {
            saveSettings();
            InitCustomerDisplay(settings_, display_);
        }))
        accept();
}

void TfrmOptions::btnDispTestClick()
{
    guarded("测试顾客显示屏", [this] {
        saveSettings();
        InitCustomerDisplay(settings_, display_);
        ShowOnCustomerDisplay(settings_, display_, DisplayTotal, 1234.56);
    });
}

void TfrmOptions::btnBoxTestClick()
{
    guarded("测试钱箱", [this] {
        saveSettings();
        OpenCashDrawer(settings_, person_, launcher_, programDir_);
    });
}

}  // namespace pos
