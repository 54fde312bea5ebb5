#include "reports/template_file.h"

#include "base/number_format.h"
#include "reports/report_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pos {
namespace {

template <class E>
struct Named {
    E value;
    const char* name;
};

constexpr Named<BandKind> kBandKinds[] = {
    {BandKind::Title, "Title"}, {BandKind::Data, "Data"}, {BandKind::Summary, "Summary"}};
constexpr Named<TextAlign> kAligns[] = {
    {TextAlign::Left, "Left"}, {TextAlign::Center, "Center"}, {TextAlign::Right, "Right"}};

template <class E, std::size_t N>
const char* nameOf(E value, const Named<E> (&names)[N])
{
    for (const auto& n : names)
        if (n.value == value)
            return n.name;
    return names[0].name;
}

template <class E, std::size_t N>
std::optional<E> valueOf(const std::string& name, const Named<E> (&names)[N])
{
    for (const auto& n : names)
        if (name == n.name)
            return n.value;
    return std::nullopt;
}

constexpr std::string_view kKeySpecials = "=[;";

std::string escaped(std::string_view text, std::string_view specials)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\\' || specials.find(c) != std::string_view::npos)
            out += {'\\', c};
        else
            out += c;
    }
    return out;
}

class Writer {
public:
    void section(const char* name)
    {
        if (!out_.empty())
            out_ += "\n";
        out_ += fmt::format("[{}]\n", name);
    }
    void entry(std::string_view key, std::string_view value)
    {
        out_ += escaped(key, kKeySpecials) + "=" + escaped(value, {}) + "\n";
    }
    void entry(std::string_view key, double value) { entry(key, generalNumber(value)); }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

class Parser {
public:
    explicit Parser(const std::string& fileName) : fileName_(fileName) {}

    ReportTemplate parse(const std::string& text)
    {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            ++lineNo_;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[' && line.back() == ']')
                startSection(line.substr(1, line.size() - 2));
            else
                entry(line);
        }
        return std::move(report_);
    }

private:
    enum class Section { None, Report, Variables, Band, Text };

    [[noreturn]] void fail(const std::string& what) const
    {
        throw ReportError(fmt::format("{} line {}: {}", fileName_, lineNo_, what));
    }

    void startSection(const std::string& name)
    {
        if (name == "Report")
            section_ = Section::Report;
        else if (name == "Variables")
            section_ = Section::Variables;
        else if (name == "Band") {
            section_ = Section::Band;
            report_.bands.emplace_back();
        } else if (name == "Text") {
            if (report_.bands.empty())
                fail("a text outside any band");
            section_ = Section::Text;
            report_.bands.back().texts.emplace_back();
        } else
            fail("unknown section [" + name + "]");
    }

    // Splits at the first "=" that is not escaped and resolves the escapes on both sides.
    void entry(const std::string& line)
    {
        std::string key, value;
        bool inKey = true;
        for (std::size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\\' && i + 1 < line.size()) {
                char next = line[++i];
                c = next == 'n' ? '\n' : next == 'r' ? '\r' : next;
            } else if (c == '=' && inKey) {
                inKey = false;
                continue;
            }
            (inKey ? key : value) += c;
        }
        if (inKey)
            fail("a line without \"=\"");
        apply(key, value);
    }

    void apply(const std::string& key, const std::string& value)
    {
        switch (section_) {
        case Section::None: fail("a value outside any section");
        case Section::Report: return reportEntry(key, value);
        case Section::Variables: report_.variables.push_back({key, value}); return;
        case Section::Band: return bandEntry(report_.bands.back(), key, value);
        case Section::Text: return textEntry(report_.bands.back().texts.back(), key, value);
        }
    }

    double number(const std::string& value) const
    {
        double v = 0;
        if (!parseNumber(value, v) || v < 0)
            fail("\"" + value + "\" is no size");
        return v;
    }

    void reportEntry(const std::string& key, const std::string& value)
    {
        if (key == "PageWidth")
            report_.pageWidth = number(value);
        else if (key == "PageHeight")
            report_.pageHeight = number(value);
        else if (key == "FontName")
            report_.fontName = value;
        else if (key == "Printer")
            report_.printer = value;
        else
            unknownKey(key);
    }

    void bandEntry(ReportBand& band, const std::string& key, const std::string& value)
    {
        if (key == "Kind") {
            auto kind = valueOf(value, kBandKinds);
            if (!kind)
                fail("unknown band kind \"" + value + "\"");
            band.kind = *kind;
        } else if (key == "Height")
            band.height = number(value);
        else
            unknownKey(key);
    }

    void textEntry(ReportText& t, const std::string& key, const std::string& value)
    {
        if (key == "Text")
            t.text = value;
        else if (key == "Left")
            t.left = number(value);
        else if (key == "Top")
            t.top = number(value);
        else if (key == "Width")
            t.width = number(value);
        else if (key == "Height")
            t.height = number(value);
        else if (key == "FontSize")
            t.fontSize = number(value);
        else if (key == "Align") {
            auto align = valueOf(value, kAligns);
            if (!align)
                fail("unknown alignment \"" + value + "\"");
            t.align = *align;
        } else
            unknownKey(key);
    }

    [[noreturn]] void unknownKey(const std::string& key) const { fail("unknown key \"" + key + "\""); }

    const std::string& fileName_;
    int lineNo_ = 0;
    Section section_ = Section::None;
    ReportTemplate report_;
};

}  // namespace

std::string templateText(const ReportTemplate& report)
{
    Writer w;
    w.section("Report");
    w.entry("PageWidth", report.pageWidth);
    w.entry("PageHeight", report.pageHeight);
    w.entry("FontName", report.fontName);
    w.entry("Printer", report.printer);
    w.section("Variables");
    for (const ReportVariable& v : report.variables)
        w.entry(v.name, v.expression);
    for (const ReportBand& band : report.bands) {
        w.section("Band");
        w.entry("Kind", nameOf(band.kind, kBandKinds));
        w.entry("Height", band.height);
        for (const ReportText& t : band.texts) {
            w.section("Text");
            w.entry("Text", t.text);
            w.entry("Left", t.left);
            w.entry("Top", t.top);
            w.entry("Width", t.width);
            w.entry("Height", t.height);
            w.entry("Align", nameOf(t.align, kAligns));
            w.entry("FontSize", t.fontSize);
        }
    }
    return w.take();
}

ReportTemplate parseTemplate(const std::string& text, const std::string& fileName)
{
    return Parser(fileName).parse(text);
}

std::optional<ReportTemplate> readTemplateFile(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return std::nullopt;
    if (!std::filesystem::is_regular_file(path, ec))
        throw ReportError(path + " 不是文件");
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.is_open() || in.bad())
        throw ReportError("不能读取 " + path);
    return parseTemplate(text, path);
}

void writeTemplateFile(const std::string& path, const ReportTemplate& report)
{
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << templateText(report);
        out.close();
        if (!out)
            throw ReportError("不能写入 " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw ReportError(fmt::format("不能替换 {}：{}", path, std::strerror(errno)));
}

}  // namespace pos
