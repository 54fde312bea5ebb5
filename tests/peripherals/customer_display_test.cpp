#include "peripherals/customer_display.h"
#include "support/golden_file.h"
#include "support/pseudo_terminal.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

class DisplayFixture {
protected:
    DisplayFixture() : settings_(IniFile(dir_.file("POS.ini")))
    {
        settings_.ini().write(kPortsSection, "COM2", line_.path());
        settings_.setOption("ClientDisplay", "有");
        settings_.setOption("DispPort", "COM2");
    }

    test::TempDir dir_;
    Settings settings_;
    test::PseudoTerminal line_;
    DisplayPort port_;
};

struct DisplayCase {
    std::string golden;  // tests/peripherals/golden/display/<golden>.bin
    std::string dispType;
    int kind;
    double amount;
    speed_t speed;
};

class CustomerDisplayBytes : public DisplayFixture, public ::testing::TestWithParam<DisplayCase> {};

TEST_P(CustomerDisplayBytes, ReachTheLineAtTheModelsSpeed)
{
    const DisplayCase& c = GetParam();
    settings_.setOption("DispType", c.dispType);
    InitCustomerDisplay(settings_, port_);
    ASSERT_TRUE(port_.isOpen());

    termios t = line_.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(cfgetispeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_oflag & OPOST, 0u) << "bytes must pass untranslated";
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);

    ShowOnCustomerDisplay(settings_, port_, c.kind, c.amount);
    EXPECT_EQ(line_.received(), test::readGolden("peripherals/golden/display/" + c.golden + ".bin"));
}

const DisplayCase kDisplayCases[] = {
    {"led11_total_5", "LED11", DisplayTotal, 5, B9600},
    {"led11_paid_123456.78", "LED11", DisplayPaid, 123456.78, B9600},
    {"led11_change_negative", "LED11", DisplayChange, -3.5, B9600},
    {"mbi1828_total", "MBI-1828单行", DisplayTotal, 1234.56, B9600},
    {"mbi1828_paid", "MBI-1828单行", DisplayPaid, 200, B9600},
    {"mbi1828_change", "MBI-1828单行", DisplayChange, 15.5, B9600},
    {"diy_pdled8_total", "DIY-PDLED8", DisplayTotal, 1234.56, B2400},
    {"diy_pdled8_paid_100", "DIY-PDLED8", DisplayPaid, 100, B2400},
    {"diy_pdled8_change", "DIY-PDLED8", DisplayChange, 15.5, B2400},
    {"diy_pdled8_other_kind", "DIY-PDLED8", 0, 0, B2400},
    {"diy_pdvfd8cv_total", "DIY-PDVFD8CV", DisplayTotal, 1234.56, B2400},
    {"diy_pdvfd8cv_paid", "DIY-PDVFD8CV", DisplayPaid, 200, B2400},
    {"diy_pdvfd8cv_change", "DIY-PDVFD8CV", DisplayChange, 15.5, B2400},
    {"ic851a_total", "IC-851A", DisplayTotal, 1234.56, B9600},
    {"ic851a_paid", "IC-851A", DisplayPaid, 200, B9600},
    {"ic851a_change_2.5", "IC-851A", DisplayChange, 2.5, B9600},
    {"ic851a_other_kind", "IC-851A", 7, 0, B9600},
    {"ic851b_total_12", "IC-851B", DisplayTotal, 12, B9600},
    {"ic851b_paid", "IC-851B", DisplayPaid, 200, B9600},
    {"ic851b_change", "IC-851B", DisplayChange, 15.5, B9600},
    {"ic851b_other_kind", "IC-851B", 0, 0, B9600},
};

INSTANTIATE_TEST_SUITE_P(Models, CustomerDisplayBytes, ::testing::ValuesIn(kDisplayCases), [](const auto& info) {
    std::string name = info.param.golden;
    for (char& ch : name)
        if (ch == '.')
            ch = '_';
    return name;
});

class CustomerDisplayPort : public DisplayFixture, public ::testing::Test {};

TEST_F(CustomerDisplayPort, StaysOpenUntilReleasedAndTakesTheModelFromEachCall)
{
    settings_.setOption("DispType", "LED11");
    InitCustomerDisplay(settings_, port_);
    settings_.setOption("DispType", "IC-851B");
    settings_.setOption("DispPort", "COM4");
    ShowOnCustomerDisplay(settings_, port_, DisplayTotal, 1);
    ShowOnCustomerDisplay(settings_, port_, DisplayChange, 2);
    EXPECT_EQ(line_.received(), "TOTAL: TOTAL: 1.00CHANGE: CHANGE: 2.00");
    termios t = line_.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), B9600) << "speed and port change only at the next init";

    port_.release();
    EXPECT_FALSE(port_.isOpen());
    ShowOnCustomerDisplay(settings_, port_, DisplayTotal, 1);
    EXPECT_EQ(line_.received(), "");
}

TEST_F(CustomerDisplayPort, AnyOtherPortNameMeansComOne)
{
    settings_.ini().write(kPortsSection, "COM1", line_.path());
    settings_.ini().write(kPortsSection, "COM2", dir_.file("no-such-device"));
    settings_.setOption("DispType", "IC-851B");
    for (const char* other : {"COM7", "LPT1", "com2", ""}) {
        settings_.setOption("DispPort", other);
        InitCustomerDisplay(settings_, port_);
        ShowOnCustomerDisplay(settings_, port_, DisplayTotal, 3);
        EXPECT_EQ(line_.received(), "TOTAL: TOTAL: 3.00") << other;
    }
}

TEST_F(CustomerDisplayPort, WithoutADisplayInitTouchesNothing)
{
    settings_.setOption("DispType", "IC-851B");
    InitCustomerDisplay(settings_, port_);
    settings_.setOption("ClientDisplay", "无");
    settings_.setOption("DispType", "DIY-PDLED8");
    InitCustomerDisplay(settings_, port_);
    ASSERT_TRUE(port_.isOpen()) << "the line opened before is neither released nor reopened";
    termios t = line_.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), B9600);

    DisplayPort fresh;
    InitCustomerDisplay(settings_, fresh);
    EXPECT_FALSE(fresh.isOpen());
}

TEST_F(CustomerDisplayPort, AnUnknownModelReleasesTheLineAndSendsNothing)
{
    settings_.setOption("DispType", "LED11");
    InitCustomerDisplay(settings_, port_);
    settings_.setOption("DispType", "VFD-2000");
    InitCustomerDisplay(settings_, port_);
    EXPECT_FALSE(port_.isOpen());
    EXPECT_TRUE(CustomerDisplayWrites("VFD-2000", DisplayTotal, 5).empty());
    EXPECT_FALSE(displaySpeed("VFD-2000").has_value());
}

TEST_F(CustomerDisplayPort, AMissingDeviceLeavesTheDisplayDarkWithoutComplaint)
{
    settings_.ini().write(kPortsSection, "COM2", dir_.file("no-such-device"));
    settings_.setOption("DispType", "LED11");
    EXPECT_NO_THROW(InitCustomerDisplay(settings_, port_));
    EXPECT_FALSE(port_.isOpen());
    EXPECT_NO_THROW(ShowOnCustomerDisplay(settings_, port_, DisplayTotal, 5));

    settings_.ini().write(kPortsSection, "COM2", dir_.file("POS.ini"));  // a plain file is no serial line
    EXPECT_NO_THROW(InitCustomerDisplay(settings_, port_));
    EXPECT_FALSE(port_.isOpen());
}

}  // namespace
}  // namespace pos
