#include "base/gbk.h"
#include "support/golden_file.h"
#include "support/pseudo_terminal.h"
#include "peripherals/ui/frm_options.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"
#include "support/ui/window_keys.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace pos {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

std::string golden(const std::string& path)
{
    return test::readGolden("peripherals/golden/" + path);
}

class RecordingLauncher : public Launcher {
public:
    std::vector<std::string> started;
    void start(const std::string& program) override { started.push_back(program); }
};

// The keys and values of section Options in the order the file holds them.
Options optionsInFile(const std::string& path)
{
    auto text = gbkToUtf8(test::readFile(path));
    EXPECT_TRUE(text.has_value());
    Options found;
    bool inOptions = false;
    std::size_t start = 0;
    for (std::size_t end; text && (end = text->find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = text->substr(start, end - start);
        if (!line.empty() && line.front() == '[')
            inOptions = line == "[Options]";
        else if (inOptions && line.find('=') != std::string::npos)
            found.emplace_back(line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
    }
    return found;
}

class OptionsWindowTest : public ::testing::Test {
protected:
    OptionsWindowTest() : settings_(IniFile(dir_.file("POS.ini")))
    {
        settings_.ini().write(kPortsSection, "LPT1", dir_.file("lpt1"));
        settings_.ini().write(kPortsSection, "COM2", line_.path());
    }

    void store(const Options& options)
    {
        for (const auto& [key, value] : options)
            settings_.setOption(key, value);
    }

    TfrmOptions& open()
    {
        dlg_ = std::make_unique<TfrmOptions>(settings_, person_, display_, launcher_, dir_.path());
        EXPECT_TRUE(test::showActive(*dlg_));
        return *dlg_;
    }

    template <class W>
    W* find(const char* name)
    {
        W* w = dlg_->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::string text(const char* edit) { return find<QLineEdit>(edit)->text().toStdString(); }
    std::string chosen(const char* list) { return find<QComboBox>(list)->currentText().toStdString(); }
    bool ticked(const char* box) { return find<QCheckBox>(box)->isChecked(); }
    void click(const char* button) { find<QPushButton>(button)->click(); }

    void focus(const char* name)
    {
        QWidget* w = find<QWidget>(name);
        w->setFocus();
        ASSERT_EQ(dlg_->focusWidget(), w);
    }

    // Replaces the text of a field by typed keys.
    void retype(const char* edit, const QString& typed)
    {
        focus(edit);
        find<QLineEdit>(edit)->selectAll();
        test::type(*dlg_, typed);
    }

    test::TempDir dir_;
    Settings settings_;
    test::PseudoTerminal line_;
    test::ScriptedPerson person_;
    DisplayPort display_;
    RecordingLauncher launcher_;
    std::unique_ptr<TfrmOptions> dlg_;
};

TEST_F(OptionsWindowTest, ShowsTheStoredValues)
{
    store({{"WindowTitle", "前台收银"}, {"Header1", "欢迎光临"}, {"Header2", "@谢谢"}, {"Footer1", "尾注一"},
           {"Footer2", "@尾注二"}, {"Printer", "有"}, {"MoneyBox", "无"}, {"ClientDisplay", "有"},
           {"DiscountCol", "是"}, {"GoodsOneLine", "否"}, {"PrintVIPCard", "是"}, {"PrintExeMan", "Y"},
           {"PrintBillNo", "是"}, {"PrintDisAmount", "是"}, {"PrintPort", "LPT3"}, {"PaperSize", "75mm"},
           {"CharNum", "38"}, {"PrintMode", "逐条快速打印"}, {"FooterNum", "5"}, {"DispType", "IC-851A"},
           {"DispPort", "COM5"}, {"MoneyBoxConn", "接钱箱卡"}, {"OpenMoneyBox", "Open3.com"}, {"HintAmount", "100"}});
    open();
    EXPECT_EQ(dlg_->windowTitle(), QStringLiteral("设置"));

    const std::pair<const char*, std::string> texts[] = {
        {"edtWindowTitle", "前台收银"}, {"edtHeader1", "欢迎光临"}, {"edtHeader2", "@谢谢"}, {"edtFooter1", "尾注一"},
        {"edtFooter2", "@尾注二"},      {"edtCharNum", "38"},       {"edtFooterNum", "5"},   {"edtBillNum", "1"},
        {"edtHintAmount", "100"},
    };
    for (const auto& [name, value] : texts)
        EXPECT_EQ(text(name), value) << name;

    // Values that are no item of their list show no item.
    const std::pair<const char*, std::string> lists[] = {
        {"cmbPrintPort", "LPT3"},  {"cmbPaperSize", "75mm"}, {"cmbPrintMode", ""},
        {"cmbDispType", "IC-851A"}, {"cmbDispPort", ""},      {"cmbBoxConnType", "接钱箱卡"},
    };
    for (const auto& [name, value] : lists)
        EXPECT_EQ(chosen(name), value) << name;
    EXPECT_EQ(find<QComboBox>("cmbPrintMode")->currentIndex(), -1);
    EXPECT_EQ(chosen("cmbBoxOpen"), "Open3.com");

    const std::pair<const char*, bool> ticks[] = {
        {"chkPrinter", true},  {"chkMoneyBox", false}, {"chkClientDisplay", true}, {"chkDiscountCol", true},
        {"chkGoodsOneLine", false}, {"chkVIPCard", true}, {"chkExeMan", false}, {"chkBillNo", true},
        {"chkPoint", false},   {"chkDisAmount", true},
    };
    for (const auto& [name, value] : ticks)
        EXPECT_EQ(ticked(name), value) << name;

    EXPECT_TRUE(find<QComboBox>("cmbPrintPort")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("btnDispTest")->isEnabled());
    EXPECT_FALSE(find<QComboBox>("cmbBoxConnType")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnBoxTest")->isEnabled());
}

TEST_F(OptionsWindowTest, OkWritesEveryKeyInItsOrder)
{
    open();
    retype("edtWindowTitle", "  Shop A  ");
    retype("edtHeader1", " It's ");
    find<QCheckBox>("chkPrinter")->click();
    find<QCheckBox>("chkPoint")->click();
    focus("cmbPrintPort");
    test::press(*dlg_, Qt::Key_Down);
    focus("cmbPaperSize");
    test::press(*dlg_, Qt::Key_Down);
    click("btnOK");

    EXPECT_FALSE(dlg_->isVisible());
    EXPECT_TRUE(dlg_->accepted());
    EXPECT_EQ(dlg_->registerTitle(), QStringLiteral("Shop A"));
    EXPECT_EQ(optionsInFile(settings_.path()),
              (Options{{"Header1", " It's "},  {"Header2", ""},        {"Footer1", ""},        {"Footer2", ""},
                       {"WindowTitle", "Shop A"}, {"FooterNum", ""},   {"PrintPort", "LPT1"},  {"PaperSize", "58mm"},
                       {"PrintMode", ""},      {"DispType", ""},       {"DispPort", ""},       {"MoneyBoxConn", ""},
                       {"OpenMoneyBox", ""},   {"Printer", "有"},      {"MoneyBox", "无"},     {"ClientDisplay", "无"},
                       {"DiscountCol", "否"},  {"GoodsOneLine", "否"}, {"PrintVIPCard", "否"}, {"PrintExeMan", "否"},
                       {"PrintDisAmount", "否"}, {"PrintBillNo", "否"}, {"PrintPoint", "是"},  {"CharNum", "32"},
                       {"HintAmount", ""},     {"BillNum", "1"}}));
    EXPECT_FALSE(display_.isOpen());
}

// Text pasted from a document brings its line breaks; the settings file keeps one line.
TEST_F(OptionsWindowTest, PastedLineBreaksBecomeBlanks)
{
    open();
    for (const char* edit : {"edtWindowTitle", "edtHeader1", "edtHeader2", "edtFooter1", "edtFooter2"}) {
        focus(edit);
        QGuiApplication::clipboard()->setText(QStringLiteral("欢迎\r\n\r\n光临\n本店"));
        find<QLineEdit>(edit)->paste();
        EXPECT_EQ(text(edit), "欢迎 光临 本店") << edit;
    }
    click("btnOK");
    EXPECT_EQ(dlg_->registerTitle(), QStringLiteral("欢迎 光临 本店"));
    for (const char* key : {"WindowTitle", "Header1", "Header2", "Footer1", "Footer2"})
        EXPECT_EQ(settings_.option(key), "欢迎 光临 本店") << key;
}

TEST_F(OptionsWindowTest, OkOpensTheDisplayLineAnew)
{
    store({{"ClientDisplay", "有"}, {"DispType", "LED11"}, {"DispPort", "COM2"}});
    open();
    click("btnOK");
    EXPECT_TRUE(display_.isOpen());
}

TEST_F(OptionsWindowTest, PaperSizeProposesTheCharacterCount)
{
    store({{"Printer", "有"}, {"PaperSize", "75mm"}, {"CharNum", "38"}});
    open();
    EXPECT_EQ(text("edtCharNum"), "38");
    focus("cmbPaperSize");
    test::press(*dlg_, Qt::Key_Up);
    EXPECT_EQ(chosen("cmbPaperSize"), "58mm");
    EXPECT_EQ(text("edtCharNum"), "32");
    test::press(*dlg_, Qt::Key_Down);
    EXPECT_EQ(text("edtCharNum"), "41");
    retype("edtCharNum", "40");
    click("btnOK");
    EXPECT_EQ(settings_.option("PaperSize"), "75mm");
    EXPECT_EQ(settings_.option("CharNum"), "40");
}

struct DrawerCommands {
    std::string connection;
    QStringList offered;
};

class DrawerCommandList : public OptionsWindowTest, public ::testing::WithParamInterface<DrawerCommands> {};

TEST_P(DrawerCommandList, FollowsTheStoredConnectionAndKeepsTheStoredCommand)
{
    store({{"MoneyBox", "有"}, {"MoneyBoxConn", GetParam().connection}, {"OpenMoneyBox", "27-112-1"}});
    open();
    auto* list = find<QComboBox>("cmbBoxOpen");
    QStringList offered;
    for (int i = 0; i < list->count(); ++i)
        offered << list->itemText(i);
    EXPECT_EQ(offered, GetParam().offered);
    EXPECT_EQ(list->currentText(), QStringLiteral("27-112-1"));
}

INSTANTIATE_TEST_SUITE_P(
    Connections, DrawerCommandList,
    ::testing::Values(DrawerCommands{"接钱箱卡", {"Open1.com", "Open2.com", "Open3.com", "Open4.com"}},
                      DrawerCommands{"接打印机", {"27-112-0-50-250", "27-112-0-60-255", "27-112-07"}},
                      DrawerCommands{"接客户显示屏", {"2-77"}}, DrawerCommands{"", {"2-77"}}));

TEST_F(OptionsWindowTest, ChoosingAConnectionOffersItsCommands)
{
    store({{"MoneyBox", "有"}, {"MoneyBoxConn", "接钱箱卡"}, {"OpenMoneyBox", "Open3.com"}});
    open();
    focus("cmbBoxConnType");
    test::press(*dlg_, Qt::Key_Up);
    EXPECT_EQ(chosen("cmbBoxConnType"), "接打印机");
    EXPECT_EQ(chosen("cmbBoxOpen"), "27-112-0-50-250");
    EXPECT_EQ(find<QComboBox>("cmbBoxOpen")->count(), 3);
    test::press(*dlg_, Qt::Key_Down);
    test::press(*dlg_, Qt::Key_Down);
    EXPECT_EQ(chosen("cmbBoxConnType"), "接客户显示屏");
    EXPECT_EQ(chosen("cmbBoxOpen"), "2-77");

    // Any other command can be typed.
    focus("cmbBoxOpen");
    find<QComboBox>("cmbBoxOpen")->lineEdit()->selectAll();
    test::type(*dlg_, " 2-77-13 ");
    click("btnOK");
    EXPECT_EQ(settings_.option("MoneyBoxConn"), "接客户显示屏");
    EXPECT_EQ(settings_.option("OpenMoneyBox"), "2-77-13");
}

class DigitsOnlyField : public OptionsWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DigitsOnlyField, SwallowsEveryOtherKey)
{
    store({{"Printer", "有"}});
    open();
    retype(GetParam(), "1a2.3 -b4+");
    EXPECT_EQ(text(GetParam()), "1234");
    test::press(*dlg_, Qt::Key_Backspace);
    EXPECT_EQ(text(GetParam()), "123");
    test::press(*dlg_, Qt::Key_Return);
    EXPECT_NE(dlg_->focusWidget(), find<QWidget>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Fields, DigitsOnlyField,
                         ::testing::Values("edtCharNum", "edtFooterNum", "edtBillNum", "edtHintAmount"));

TEST_F(OptionsWindowTest, TickBoxesEnableTheirGroups)
{
    store({{"Printer", "有"}, {"PrintPort", "LPT2"}, {"MoneyBox", "无"}, {"ClientDisplay", "无"}});
    open();
    const std::pair<const char*, const char*> groups[] = {
        {"chkPrinter", "cmbPrintPort"}, {"chkMoneyBox", "cmbBoxConnType"}, {"chkClientDisplay", "cmbDispType"}};
    for (const auto& [box, control] : groups) {
        const bool before = ticked(box);
        EXPECT_EQ(find<QWidget>(control)->isEnabled(), before) << box;
        find<QCheckBox>(box)->click();
        EXPECT_EQ(find<QWidget>(control)->isEnabled(), !before) << box;
    }
    click("btnOK");
    // Unticked printer: stored as absent, its settings left as they were.
    EXPECT_EQ(settings_.option("Printer"), "无");
    EXPECT_EQ(settings_.option("PrintPort"), "LPT2");
    EXPECT_EQ(settings_.option("MoneyBox"), "有");
    EXPECT_EQ(settings_.option("ClientDisplay"), "有");
}

TEST_F(OptionsWindowTest, DrawerTestSavesFirstAndCancelKeepsWhatItSaved)
{
    store({{"MoneyBox", "有"}, {"MoneyBoxConn", "接打印机"}, {"OpenMoneyBox", "27-112-0-50-250"}, {"Printer", "有"},
           {"PrintPort", "LPT1"}, {"Header1", "old"}});
    open();
    retype("edtHeader1", "new");
    click("btnBoxTest");

    EXPECT_EQ(test::readFile(dir_.file("lpt1")), golden("drawer/printer_27-112-0-50-250.bin"));
    EXPECT_TRUE(dlg_->isVisible());
    EXPECT_EQ(settings_.option("Header1"), "new");
    const std::string afterTest = test::readFile(settings_.path());

    retype("edtHeader1", "newer");
    click("btnCancel");
    EXPECT_FALSE(dlg_->isVisible());
    EXPECT_FALSE(dlg_->accepted());
    EXPECT_EQ(test::readFile(settings_.path()), afterTest);
    EXPECT_TRUE(person_.messages.empty());
}

TEST_F(OptionsWindowTest, DrawerTestTellsAMissingCommand)
{
    store({{"MoneyBox", "有"}, {"MoneyBoxConn", "接打印机"}, {"PrintPort", "LPT1"}});
    open();
    find<QComboBox>("cmbBoxOpen")->setEditText("");
    click("btnBoxTest");
    ASSERT_EQ(person_.messages.size(), 1u);
    EXPECT_EQ(person_.messages[0].text, "没有设置打开钱箱指令！");
    EXPECT_EQ(person_.messages[0].title, "提示");
    EXPECT_EQ(person_.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(settings_.option("OpenMoneyBox"), "");
    EXPECT_TRUE(dlg_->isVisible());
}

TEST_F(OptionsWindowTest, DisplayTestShowsTheTestAmount)
{
    store({{"ClientDisplay", "有"}, {"DispType", "MBI-1828单行"}, {"DispPort", "COM2"}});
    open();
    click("btnDispTest");
    EXPECT_EQ(line_.received(), golden("display/mbi1828_total.bin"));
    EXPECT_TRUE(display_.isOpen());
    EXPECT_TRUE(dlg_->isVisible());
}

TEST_F(OptionsWindowTest, EscapeClosesWithoutSaving)
{
    store({{"Header1", "old"}});
    const std::string before = test::readFile(settings_.path());
    open();
    retype("edtHeader1", "new");
    test::press(*dlg_, Qt::Key_Escape);
    EXPECT_FALSE(dlg_->isVisible());
    EXPECT_FALSE(dlg_->accepted());
    EXPECT_EQ(test::readFile(settings_.path()), before);
}

}  // namespace
}  // namespace pos
