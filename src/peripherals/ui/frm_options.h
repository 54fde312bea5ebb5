#pragma once

#include "base/person.h"
#include "config/settings.h"
#include "peripherals/customer_display.h"
#include "peripherals/launcher.h"
#include "widgets/frm_base.h"

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace pos {

// The device settings dialog ("15/"): the receipt texts and switches, the receipt
// printer, the customer display, the cash drawer and the register window's title, all
// in section Options of POS.ini. Shows the stored values when shown, writes them all back
// on OK and before each test. After OK the caller sets its title to registerTitle().
class TfrmOptions : public TfrmBase {
    Q_OBJECT
public:
    // display is the register's display line, opened anew on OK and by the display test;
    // programDir (ending in "/") holds the drawer-card programs of the drawer test.
    TfrmOptions(Settings& settings, Person& person, DisplayPort& display, Launcher& launcher,
                std::string programDir, QWidget* parent = nullptr);

    bool accepted() const { return result() == QDialog::Accepted; }
    // The register window's title: the window title field, trimmed.
    QString registerTitle() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildReceiptGroup();
    QWidget* buildDevicesGroup();
    QWidget* buildContentGroup();
    QWidget* buildPrinterGroup();
    QWidget* buildDisplayGroup();
    QWidget* buildMoneyBoxGroup();
    QWidget* buildOtherGroup();
    QLineEdit* digitsOnlyEdit(const char* objectName);

    void FormShow();
    void saveSettings();
    void showList(QComboBox* list, const char* key);
    void enableGroups();
    void cmbPaperSizeChange();
    void cmbBoxConnTypeChange();
    void btnOKClick();
    void btnDispTestClick();
    void btnBoxTestClick();

    Settings& settings_;
    Person& person_;
    DisplayPort& display_;
    Launcher& launcher_;
    std::string programDir_;

    QLineEdit* edtWindowTitle_;
    QLineEdit* edtHeader1_;
    QLineEdit* edtHeader2_;
    QLineEdit* edtFooter1_;
    QLineEdit* edtFooter2_;
    QCheckBox* chkPrinter_;
    QCheckBox* chkMoneyBox_;
    QCheckBox* chkClientDisplay_;
    QCheckBox* chkDiscountCol_;
    QCheckBox* chkGoodsOneLine_;
    QCheckBox* chkVIPCard_;
    QCheckBox* chkExeMan_;
    QCheckBox* chkBillNo_;
    QCheckBox* chkPoint_;
    QCheckBox* chkDisAmount_;
    QGroupBox* grpPrinter_;
    QComboBox* cmbPrintPort_;
    QComboBox* cmbPaperSize_;
    QLineEdit* edtCharNum_;
    QComboBox* cmbPrintMode_;
    QLineEdit* edtFooterNum_;
    QLineEdit* edtBillNum_;
    QGroupBox* grpDisplay_;
    QComboBox* cmbDispType_;
    QComboBox* cmbDispPort_;
    QGroupBox* grpMoneyBox_;
    QComboBox* cmbBoxConnType_;
    QComboBox* cmbBoxOpen_;
    QLineEdit* edtHintAmount_;
    QObject* digitsOnly_;
};

}  // namespace pos
