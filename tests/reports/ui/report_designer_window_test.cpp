#include "reports/report_expression.h"
#include "reports/template_file.h"
#include "reports/ui/frm_report_designer.h"
#include "reports/ui/qt_report_engine.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_poller.h"
#include "support/ui/window_keys.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <ostream>

namespace pos {
namespace {

ReportText text(std::string content)
{
    ReportText t;
    t.text = std::move(content);
    return t;
}

class ReportDesignerTest : public ::testing::Test {
protected:
    ReportDesignerTest()
    {
        original_.pageWidth = 60;
        original_.variables = {{"小票标题1", quotedText("欢迎光临")}};
        original_.bands = {{BandKind::Title, 8, {text("[小票标题1]")}}, {BandKind::Data, 5, {text("[Name]")}}};
        writeTemplateFile(path(), original_);
        lines_.append(Row{"可口可乐", 2});
        engine_.load(path());
        engine_.bindLines(lines_);
    }

    std::string path() const { return dir_.file("POS.frf"); }

    template <class W>
    W* find(QWidget& window, const char* name)
    {
        W* w = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void click(QWidget& window, const char* button) { find<QPushButton>(window, button)->click(); }

    // Chooses band and text by their lists, then types the new text in place of the old.
    void retype(TfrmReportDesigner& dlg, int band, int item, const QString& typed)
    {
        find<QListWidget>(dlg, "lstBands")->setCurrentRow(band);
        find<QListWidget>(dlg, "lstTexts")->setCurrentRow(item);
        auto* edtText = find<QLineEdit>(dlg, "edtText");
        edtText->setFocus();
        edtText->selectAll();
        test::type(dlg, typed);
    }

    test::TempDir dir_;
    ReportTemplate original_;
    RowSet lines_{Columns({"Name", "Quantity"})};
    QtReportEngine engine_;
};

TEST_F(ReportDesignerTest, PreviewShowsThePagesOfTheEditedTemplate)
{
    TfrmReportDesigner dlg(engine_);
    ASSERT_TRUE(test::showActive(dlg));
    auto* preview = find<QLabel>(dlg, "lblPreview");
    // Four dots to the millimetre: 60 mm wide, 8 + 5 mm long.
    EXPECT_EQ(preview->pixmap().size(), QSize(240, 52));

    find<QListWidget>(dlg, "lstBands")->setCurrentRow(1);
    auto* height = find<QDoubleSpinBox>(dlg, "edtBandHeight");
    height->setValue(20);
    click(dlg, "btnPreview");
    EXPECT_EQ(preview->pixmap().size(), QSize(240, 112));
    // Something dark was painted on the white page.
    QImage image = preview->pixmap().toImage();
    bool ink = false;
    for (int y = 0; y < image.height() && !ink; ++y)
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 128;
    EXPECT_TRUE(ink);
}

TEST_F(ReportDesignerTest, SavedEditsReadBackFromTheFile)
{
    TfrmReportDesigner dlg(engine_);
    ASSERT_TRUE(test::showActive(dlg));
    retype(dlg, 1, 0, "[Name] x[Quantity]");

    // A new summary band after the data band, with a text of its own.
    click(dlg, "btnAddBand");
    auto* kind = find<QComboBox>(dlg, "cmbBandKind");
    kind->setFocus();
    test::press(dlg, Qt::Key_Down);
    EXPECT_EQ(kind->currentText(), QStringLiteral("汇总带"));
    click(dlg, "btnAddText");
    test::type(dlg, QStringLiteral("Thank you, it's"));

    // A variable whose text has a quote, doubled inside its quotes.
    click(dlg, "btnAddVariable");
    auto* grid = find<QTableWidget>(dlg, "grdVariables");
    ASSERT_EQ(grid->rowCount(), 2);
    grid->item(1, 0)->setText(QStringLiteral("店名"));
    grid->item(1, 1)->setText(QString::fromStdString(quotedText("Tom's 小店")));

    click(dlg, "btnSave");
    auto saved = readTemplateFile(path());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, engine_.reportTemplate());
    ASSERT_EQ(saved->bands.size(), 3u);
    EXPECT_EQ(saved->bands[1].texts[0].text, "[Name] x[Quantity]");
    EXPECT_EQ(saved->bands[2].kind, BandKind::Summary);
    ASSERT_EQ(saved->bands[2].texts.size(), 1u);
    EXPECT_EQ(saved->bands[2].texts[0].text, "Thank you, it's");
    EXPECT_EQ(saved->variables,
              (std::vector<ReportVariable>{{"小票标题1", "'欢迎光临'"}, {"店名", "'Tom''s 小店'"}}));

    QtReportEngine reloaded;
    ASSERT_TRUE(reloaded.load(path()));
    reloaded.setVariable("小票标题1", "[店名]");
    reloaded.bindLines(lines_);
    reloaded.prepare();
    ASSERT_EQ(reloaded.prepared().pages.size(), 1u);
    std::vector<std::string> texts;
    for (const PlacedText& t : reloaded.prepared().pages[0].texts)
        texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"[店名]", "可口可乐 x2", "Thank you, it's"}));
}

struct CloseCase {
    std::string name;
    QMessageBox::StandardButton answer;
    bool saved;
    bool closed;
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class ClosingWithEdits : public ReportDesignerTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingWithEdits, AsksWhetherToSave)
{
    TfrmReportDesigner dlg(engine_);
    ASSERT_TRUE(test::showActive(dlg));
    retype(dlg, 0, 0, "New title");
    QString asked;
    const test::DialogPoller answer([&](QWidget& w) {
        auto* box = qobject_cast<QMessageBox*>(&w);
        ASSERT_NE(box, nullptr);
        asked = box->text();
        box->button(GetParam().answer)->click();
    });
    test::press(dlg, Qt::Key_Escape);

    EXPECT_EQ(asked, QStringLiteral("模板已修改，是否保存？"));
    EXPECT_EQ(dlg.isVisible(), !GetParam().closed);
    auto onDisk = readTemplateFile(path());
    ASSERT_TRUE(onDisk.has_value());
    EXPECT_EQ(onDisk->bands[0].texts[0].text, GetParam().saved ? "New title" : "[小票标题1]");
}

INSTANTIATE_TEST_SUITE_P(Answers, ClosingWithEdits,
                         ::testing::Values(CloseCase{"Yes", QMessageBox::Yes, true, true},
                                           CloseCase{"No", QMessageBox::No, false, true},
                                           CloseCase{"Cancel", QMessageBox::Cancel, false, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReportDesignerTest, EngineShowsTheDesignerModally)
{
    QString title;
    const test::DialogPoller close([&](QWidget& w) {
        auto* designer = qobject_cast<TfrmReportDesigner*>(&w);
        ASSERT_NE(designer, nullptr);
        title = designer->windowTitle();
        // Unchanged: closes without a question.
        designer->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    });
    engine_.design();
    EXPECT_TRUE(title.endsWith(QString::fromStdString(path()))) << title.toStdString();
    EXPECT_EQ(readTemplateFile(path()), original_);
}

}  // namespace
}  // namespace pos
