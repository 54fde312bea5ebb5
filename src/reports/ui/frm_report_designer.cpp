#include "reports/ui/frm_report_designer.h"

#include "base/number_format.h"
#include "reports/report_error.h"
#include "widgets/message_box.h"
#include "widgets/named_widget.h"
#include "reports/ui/report_painter.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pos {
namespace {

// In the order of BandKind and TextAlign, which index the two lists.
const char* const kBandKindCaptions[] = {"标题带", "数据带", "汇总带"};
const char* const kAlignCaptions[] = {"左对齐", "居中", "右对齐"};

constexpr double kPreviewDotsPerMm = 4;

QString bandCaption(const ReportBand& band)
{
    return QString::fromUtf8(kBandKindCaptions[static_cast<int>(band.kind)]) + QStringLiteral("  ")
           + QString::fromStdString(generalNumber(band.height)) + QStringLiteral("mm");
}

QString textCaption(const ReportText& text)
{
    return text.text.empty() ? QStringLiteral("（空）") : QString::fromStdString(text.text);
}

QComboBox* fixedList(const char* const (&items)[3], const char* objectName)
{
    auto* list = named<QComboBox>(objectName);
    for (const char* item : items)
        list->addItem(QString::fromUtf8(item));
    return list;
}

}  // namespace

TfrmReportDesigner::TfrmReportDesigner(ReportEngine& engine, QWidget* parent)
    : TfrmBase(parent), engine_(engine), edited_(engine.reportTemplate())
{
    setWindowTitle(QStringLiteral("报表设计 - ") + QString::fromStdString(engine.fileName()));

    auto* editors = new QVBoxLayout;
    editors->addWidget(buildPageGroup());
    editors->addWidget(buildBandGroup());
    editors->addWidget(buildTextGroup());
    auto* columns = new QHBoxLayout;
    columns->addLayout(editors);
    columns->addWidget(buildNamesGroup());
    columns->addWidget(buildPreview(), 1);

    auto* btnPreview = named<QPushButton>("btnPreview", QStringLiteral("预览(&P)"));
    btnSave_ = named<QPushButton>("btnSave", QStringLiteral("保存(&S)"));
    auto* btnClose = named<QPushButton>("btnClose", QStringLiteral("关闭"));
    btnSave_->setEnabled(!engine.fileName().empty());
    connect(btnPreview, &QPushButton::clicked, this, &TfrmReportDesigner::btnPreviewClick);
    connect(btnSave_, &QPushButton::clicked, this, &TfrmReportDesigner::save);
    connect(btnClose, &QPushButton::clicked, this, &TfrmReportDesigner::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnPreview);
    buttons->addWidget(btnSave_);
    buttons->addWidget(btnClose);

    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addLayout(buttons);

    filling_ = true;
    edtPageWidth_->setValue(edited_.pageWidth);
    edtPageHeight_->setValue(edited_.pageHeight);
    edtFontName_->setText(QString::fromStdString(edited_.fontName));
    edtPrinter_->setText(QString::fromStdString(edited_.printer));
    filling_ = false;
    showBands(0);
    showVariables();
    btnPreviewClick();
    resize(1000, 640);
}

QDoubleSpinBox* TfrmReportDesigner::sizeBox(const char* objectName, double maximum)
{
    auto* box = named<QDoubleSpinBox>(objectName);
    box->setDecimals(1);
    box->setRange(0, maximum);
    return box;
}

QWidget* TfrmReportDesigner::buildPageGroup()
{
    auto* group = new QGroupBox(QStringLiteral("页面"));
    auto* form = new QFormLayout(group);
    edtPageWidth_ = sizeBox("edtPageWidth", 1000);
    edtPageWidth_->setMinimum(1);
    edtPageHeight_ = sizeBox("edtPageHeight", 10000);
    edtPageHeight_->setSpecialValueText(QStringLiteral("连续纸"));
    edtFontName_ = named<QLineEdit>("edtFontName");
    edtPrinter_ = named<QLineEdit>("edtPrinter");
    edtPrinter_->setPlaceholderText(QStringLiteral("默认打印机；以 .pdf 结尾为 PDF 文件"));
    form->addRow(QStringLiteral("页宽(mm)："), edtPageWidth_);
    form->addRow(QStringLiteral("页高(mm)："), edtPageHeight_);
    form->addRow(QStringLiteral("字体："), edtFontName_);
    form->addRow(QStringLiteral("打印机："), edtPrinter_);

    auto edited = [this](auto&& apply) {
        return [this, apply](auto value) {
            if (filling_)
                return;
            apply(value);
            modified_ = true;
        };
    };
    connect(edtPageWidth_, &QDoubleSpinBox::valueChanged, this, edited([this](double v) { edited_.pageWidth = v; }));
    connect(edtPageHeight_, &QDoubleSpinBox::valueChanged, this, edited([this](double v) { edited_.pageHeight = v; }));
    connect(edtFontName_, &QLineEdit::textEdited, this,
            edited([this](const QString& s) { edited_.fontName = s.toStdString(); }));
    connect(edtPrinter_, &QLineEdit::textEdited, this,
            edited([this](const QString& s) { edited_.printer = s.toStdString(); }));
    return group;
}

QWidget* TfrmReportDesigner::buildBandGroup()
{
    auto* group = new QGroupBox(QStringLiteral("栏"));
    lstBands_ = named<QListWidget>("lstBands");
    cmbBandKind_ = fixedList(kBandKindCaptions, "cmbBandKind");
    edtBandHeight_ = sizeBox("edtBandHeight", 10000);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("类型："), cmbBandKind_);
    form->addRow(QStringLiteral("高度(mm)："), edtBandHeight_);

    auto* btnAddBand = named<QPushButton>("btnAddBand", QStringLiteral("增加栏"));
    auto* btnDeleteBand = named<QPushButton>("btnDeleteBand", QStringLiteral("删除栏"));
    auto* btnBandUp = named<QPushButton>("btnBandUp", QStringLiteral("上移"));
    auto* btnBandDown = named<QPushButton>("btnBandDown", QStringLiteral("下移"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnAddBand, btnDeleteBand, btnBandUp, btnBandDown})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(lstBands_);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(lstBands_, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_)
            showTexts(0);
    });
    connect(cmbBandKind_, &QComboBox::activated, this, &TfrmReportDesigner::bandChanged);
    connect(edtBandHeight_, &QDoubleSpinBox::valueChanged, this, &TfrmReportDesigner::bandChanged);
    connect(btnAddBand, &QPushButton::clicked, this, &TfrmReportDesigner::btnAddBandClick);
    connect(btnDeleteBand, &QPushButton::clicked, this, &TfrmReportDesigner::btnDeleteBandClick);
    connect(btnBandUp, &QPushButton::clicked, this, [this] { moveBand(-1); });
    connect(btnBandDown, &QPushButton::clicked, this, [this] { moveBand(1); });
    return group;
}

QWidget* TfrmReportDesigner::buildTextGroup()
{
    auto* group = new QGroupBox(QStringLiteral("栏中的文本"));
    lstTexts_ = named<QListWidget>("lstTexts");
    edtText_ = named<QLineEdit>("edtText");
    edtText_->setPlaceholderText(QStringLiteral("文字，[名称] 取列或变量的值"));
    edtLeft_ = sizeBox("edtLeft", 1000);
    edtTop_ = sizeBox("edtTop", 10000);
    edtWidth_ = sizeBox("edtWidth", 1000);
    edtHeight_ = sizeBox("edtHeight", 10000);
    cmbAlign_ = fixedList(kAlignCaptions, "cmbAlign");
    edtFontSize_ = sizeBox("edtFontSize", 200);
    edtFontSize_->setMinimum(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("内容："), edtText_);
    form->addRow(QStringLiteral("左(mm)："), edtLeft_);
    form->addRow(QStringLiteral("上(mm)："), edtTop_);
    form->addRow(QStringLiteral("宽(mm)："), edtWidth_);
    form->addRow(QStringLiteral("高(mm)："), edtHeight_);
    form->addRow(QStringLiteral("对齐："), cmbAlign_);
    form->addRow(QStringLiteral("字号(磅)："), edtFontSize_);

    auto* btnAddText = named<QPushButton>("btnAddText", QStringLiteral("增加文本"));
    auto* btnDeleteText = named<QPushButton>("btnDeleteText", QStringLiteral("删除文本"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAddText);
    buttons->addWidget(btnDeleteText);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(lstTexts_);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(lstTexts_, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_)
            showText();
    });
    connect(edtText_, &QLineEdit::textEdited, this, &TfrmReportDesigner::textChanged);
    for (QDoubleSpinBox* box : {edtLeft_, edtTop_, edtWidth_, edtHeight_, edtFontSize_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &TfrmReportDesigner::textChanged);
    connect(cmbAlign_, &QComboBox::activated, this, &TfrmReportDesigner::textChanged);
    connect(btnAddText, &QPushButton::clicked, this, &TfrmReportDesigner::btnAddTextClick);
    connect(btnDeleteText, &QPushButton::clicked, this, &TfrmReportDesigner::btnDeleteTextClick);
    return group;
}

QWidget* TfrmReportDesigner::buildNamesGroup()
{
    auto* group = new QGroupBox(QStringLiteral("名称与变量"));
    lstNames_ = named<QListWidget>("lstNames");
    lstNames_->setToolTip(QStringLiteral("双击把名称插入文本"));
    grdVariables_ = named<QTableWidget>("grdVariables", 0, 2);
    grdVariables_->setHorizontalHeaderLabels({QStringLiteral("变量"), QStringLiteral("表达式")});
    grdVariables_->horizontalHeader()->setStretchLastSection(true);
    grdVariables_->verticalHeader()->hide();
    auto* btnAddVariable = named<QPushButton>("btnAddVariable", QStringLiteral("增加变量"));
    auto* btnDeleteVariable = named<QPushButton>("btnDeleteVariable", QStringLiteral("删除变量"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAddVariable);
    buttons->addWidget(btnDeleteVariable);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("可用名称：")));
    layout->addWidget(lstNames_, 1);
    layout->addWidget(new QLabel(QStringLiteral("变量（文字用单引号括起，内含单引号写两次）：")));
    layout->addWidget(grdVariables_, 2);
    layout->addLayout(buttons);

    connect(lstNames_, &QListWidget::itemDoubleClicked, this, &TfrmReportDesigner::lstNamesDoubleClick);
    connect(grdVariables_, &QTableWidget::itemChanged, this, &TfrmReportDesigner::variablesEdited);
    connect(btnAddVariable, &QPushButton::clicked, this, &TfrmReportDesigner::btnAddVariableClick);
    connect(btnDeleteVariable, &QPushButton::clicked, this, &TfrmReportDesigner::btnDeleteVariableClick);
    return group;
}

QWidget* TfrmReportDesigner::buildPreview()
{
    lblPreview_ = named<QLabel>("lblPreview");
    lblPreview_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* area = new QScrollArea;
    area->setWidget(lblPreview_);
    area->setWidgetResizable(true);
    area->setMinimumWidth(360);
    return area;
}

ReportBand* TfrmReportDesigner::currentBand()
{
    int row = lstBands_->currentRow();
    if (row < 0 || row >= static_cast<int>(edited_.bands.size()))
        return nullptr;
    return &edited_.bands[static_cast<std::size_t>(row)];
}

ReportText* TfrmReportDesigner::currentText()
{
    ReportBand* band = currentBand();
    int row = lstTexts_->currentRow();
    if (!band || row < 0 || row >= static_cast<int>(band->texts.size()))
        return nullptr;
    return &band->texts[static_cast<std::size_t>(row)];
}

void TfrmReportDesigner::showBands(int current)
{
    filling_ = true;
    lstBands_->clear();
    for (const ReportBand& band : edited_.bands)
        lstBands_->addItem(bandCaption(band));
    lstBands_->setCurrentRow(current);
    filling_ = false;
    showTexts(0);
}

void TfrmReportDesigner::showTexts(int current)
{
    filling_ = true;
    ReportBand* band = currentBand();
    cmbBandKind_->setEnabled(band != nullptr);
    edtBandHeight_->setEnabled(band != nullptr);
    if (band) {
        cmbBandKind_->setCurrentIndex(static_cast<int>(band->kind));
        edtBandHeight_->setValue(band->height);
    }
    lstTexts_->clear();
    for (const ReportText& text : band ? band->texts : std::vector<ReportText>{})
        lstTexts_->addItem(textCaption(text));
    lstTexts_->setCurrentRow(current);
    filling_ = false;
    showText();
}

void TfrmReportDesigner::showText()
{
    filling_ = true;
    const ReportText* text = currentText();
    const ReportText shown = text ? *text : ReportText{};
    for (QWidget* w : std::initializer_list<QWidget*>{edtText_, edtLeft_, edtTop_, edtWidth_, edtHeight_, cmbAlign_,
                                                      edtFontSize_})
        w->setEnabled(text != nullptr);
    edtText_->setText(QString::fromStdString(shown.text));
    edtLeft_->setValue(shown.left);
    edtTop_->setValue(shown.top);
    edtWidth_->setValue(shown.width);
    edtHeight_->setValue(shown.height);
    cmbAlign_->setCurrentIndex(static_cast<int>(shown.align));
    edtFontSize_->setValue(shown.fontSize);
    filling_ = false;
}

void TfrmReportDesigner::showVariables()
{
    filling_ = true;
    grdVariables_->setRowCount(static_cast<int>(edited_.variables.size()));
    for (int r = 0; r < grdVariables_->rowCount(); ++r) {
        const ReportVariable& v = edited_.variables[static_cast<std::size_t>(r)];
        grdVariables_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(v.name)));
        grdVariables_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(v.expression)));
    }
    filling_ = false;
    showNames();
}

void TfrmReportDesigner::showNames()
{
    lstNames_->clear();
    if (const RowSet* lines = engine_.lines())
        for (const std::string& column : lines->columns().names())
            lstNames_->addItem(QString::fromStdString(column));
    for (const ReportVariable& v : edited_.variables)
        lstNames_->addItem(QString::fromStdString(v.name));
}

void TfrmReportDesigner::bandChanged()
{
    ReportBand* band = currentBand();
    if (filling_ || !band)
        return;
    band->kind = static_cast<BandKind>(cmbBandKind_->currentIndex());
    band->height = edtBandHeight_->value();
    lstBands_->currentItem()->setText(bandCaption(*band));
    modified_ = true;
}

void TfrmReportDesigner::textChanged()
{
    ReportText* text = currentText();
    if (filling_ || !text)
        return;
    text->text = edtText_->text().toStdString();
    text->left = edtLeft_->value();
    text->top = edtTop_->value();
    text->width = edtWidth_->value();
    text->height = edtHeight_->value();
    text->align = static_cast<TextAlign>(cmbAlign_->currentIndex());
    text->fontSize = edtFontSize_->value();
    lstTexts_->currentItem()->setText(textCaption(*text));
    modified_ = true;
}

void TfrmReportDesigner::variablesEdited()
{
    if (filling_)
        return;
    edited_.variables.clear();
    for (int r = 0; r < grdVariables_->rowCount(); ++r) {
        auto cell = [&](int c) { return grdVariables_->item(r, c) ? grdVariables_->item(r, c)->text().toStdString() : ""; };
        edited_.variables.push_back({cell(0), cell(1)});
    }
    showNames();
    modified_ = true;
}

void TfrmReportDesigner::btnAddBandClick()
{
    const int at = lstBands_->currentRow() + 1;
    edited_.bands.insert(edited_.bands.begin() + at, ReportBand{});
    modified_ = true;
    showBands(at);
}

void TfrmReportDesigner::btnDeleteBandClick()
{
    const int row = lstBands_->currentRow();
    if (!currentBand())
        return;
    edited_.bands.erase(edited_.bands.begin() + row);
    modified_ = true;
    showBands(std::min(row, static_cast<int>(edited_.bands.size()) - 1));
}

void TfrmReportDesigner::moveBand(int step)
{
    const int row = lstBands_->currentRow();
    const int to = row + step;
    if (!currentBand() || to < 0 || to >= static_cast<int>(edited_.bands.size()))
        return;
    std::swap(edited_.bands[static_cast<std::size_t>(row)], edited_.bands[static_cast<std::size_t>(to)]);
    modified_ = true;
    showBands(to);
}

void TfrmReportDesigner::btnAddTextClick()
{
    ReportBand* band = currentBand();
    if (!band)
        return;
    ReportText text;
    text.width = edited_.pageWidth;
    text.height = std::min(text.height, band->height);
    const int at = lstTexts_->currentRow() + 1;
    band->texts.insert(band->texts.begin() + at, text);
    modified_ = true;
    showTexts(at);
    edtText_->setFocus();
}

void TfrmReportDesigner::btnDeleteTextClick()
{
    ReportBand* band = currentBand();
    const int row = lstTexts_->currentRow();
    if (!currentText())
        return;
    band->texts.erase(band->texts.begin() + row);
    modified_ = true;
    showTexts(std::min(row, static_cast<int>(band->texts.size()) - 1));
}

void TfrmReportDesigner::btnAddVariableClick()
{
    edited_.variables.push_back({"", "''"});
    modified_ = true;
    showVariables();
    grdVariables_->setCurrentCell(grdVariables_->rowCount() - 1, 0);
    grdVariables_->editItem(grdVariables_->currentItem());
}

void TfrmReportDesigner::btnDeleteVariableClick()
{
    const int row = grdVariables_->currentRow();
    if (row < 0 || row >= static_cast<int>(edited_.variables.size()))
        return;
    edited_.variables.erase(edited_.variables.begin() + row);
    modified_ = true;
    showVariables();
}

void TfrmReportDesigner::lstNamesDoubleClick()
{
    if (!currentText() || !lstNames_->currentItem())
        return;
    edtText_->insert(QLatin1Char('[') + lstNames_->currentItem()->text() + QLatin1Char(']'));
    textChanged();
}

void TfrmReportDesigner::btnPreviewClick()
{
    QImage image = previewImage(layOutReport(edited_, engine_.lines()), kPreviewDotsPerMm);
    if (image.isNull()) {
        lblPreview_->setPixmap(QPixmap());
        lblPreview_->setText(QStringLiteral("没有可预览的页"));
    } else {
        lblPreview_->setPixmap(QPixmap::fromImage(image));
    }
}

bool TfrmReportDesigner::save()
{
    engine_.setTemplate(edited_);
    try {
        engine_.save();
    } catch (const ReportError& error) {
        showMessageBox(this, QStringLiteral("模板保存失败：") + QString::fromStdString(error.what()),
                       QStringLiteral("错误"), MessageIcon::Error);
        return false;
    }
    modified_ = false;
    return true;
}

void TfrmReportDesigner::reject()
{
    if (modified_ && btnSave_->isEnabled()) {
        auto answer = QMessageBox::question(this, QStringLiteral("提示"), QStringLiteral("模板已修改，是否保存？"),
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !save()))
            return;
    }
    TfrmBase::reject();
}

}  // namespace pos
