#pragma once

#include "reports/report_template.h"

#include <optional>
#include <string>

namespace pos {

// The template file is plain UTF-8 text in sections, one "Key=Value" a line:
//
//   [Report]      PageWidth=, PageHeight=, FontName=, Printer=
//   [Variables]   one "Name=Expression" a line
//   [Band]        Kind=Title|Data|Summary, Height=
//   [Text]        Text=, Left=, Top=, Width=, Height=, Align=Left|Center|Right, FontSize=
//
// A [Text] belongs to the [Band] above it. Lines starting with ";" are comments. In keys
// and values a backslash escapes the next character, and "\n" stands for a line break;
// keys also escape "=", "[" and ";". Sizes are millimetres, font sizes points.

// The template written in that format.
std::string templateText(const ReportTemplate& report);

// ReportError naming the line of the first fault.
ReportTemplate parseTemplate(const std::string& text, const std::string& fileName);

// nullopt when there is no such file; ReportError when it cannot be read or parsed.
std::optional<ReportTemplate> readTemplateFile(const std::string& path);

// Replaces the file as a whole, so a failed write leaves the old one. ReportError on failure.
void writeTemplateFile(const std::string& path, const ReportTemplate& report);

}  // namespace pos
