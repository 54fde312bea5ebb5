#pragma once

#include "widgets/frm_base.h"
#include "reports/report_engine.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace pos {

// The template designer: the page, the bands and their texts and the variables as
// fields and lists, the names of the bound lines' columns to insert, and a preview of
// the pages with the bound lines and the variables. Edits a copy of the engine's
// template; "保存" hands it to the engine and writes it to the engine's file.
class TfrmReportDesigner : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmReportDesigner(ReportEngine& engine, QWidget* parent = nullptr);

public slots:
    // Closing with unsaved edits asks whether to save them first.
    void reject() override;

private:
    QWidget* buildPageGroup();
    QWidget* buildBandGroup();
    QWidget* buildTextGroup();
    QWidget* buildNamesGroup();
    QWidget* buildPreview();
    QDoubleSpinBox* sizeBox(const char* objectName, double maximum);

    ReportBand* currentBand();
    ReportText* currentText();
    // Fill the controls from the edited template.
    void showBands(int current);
    void showTexts(int current);
    void showText();
    void showVariables();
    void showNames();
    void bandChanged();
    void textChanged();
    void variablesEdited();

    void btnAddBandClick();
    void btnDeleteBandClick();
    void moveBand(int step);
    void btnAddTextClick();
    void btnDeleteTextClick();
    void btnAddVariableClick();
    void btnDeleteVariableClick();
    void lstNamesDoubleClick();
    void btnPreviewClick();
    bool save();

    ReportEngine& engine_;
    ReportTemplate edited_;
    bool filling_ = false;   // the controls are being filled, not edited
    bool modified_ = false;

    QDoubleSpinBox* edtPageWidth_;
    QDoubleSpinBox* edtPageHeight_;
    QLineEdit* edtFontName_;
    QLineEdit* edtPrinter_;
    QListWidget* lstBands_;
    QComboBox* cmbBandKind_;
    QDoubleSpinBox* edtBandHeight_;
    QListWidget* lstTexts_;
    QLineEdit* edtText_;
    QDoubleSpinBox* edtLeft_;
    QDoubleSpinBox* edtTop_;
    QDoubleSpinBox* edtWidth_;
    QDoubleSpinBox* edtHeight_;
    QComboBox* cmbAlign_;
    QDoubleSpinBox* edtFontSize_;
    QListWidget* lstNames_;
    QTableWidget* grdVariables_;
    QLabel* lblPreview_;
    QPushButton* btnSave_;
};

}  // namespace pos
