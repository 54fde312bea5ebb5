#include "reports/report_engine.h"

#include "reports/template_file.h"

namespace pos {

bool ReportEngine::load(const std::string& path)
{
    fileName_ = path;
    auto read = readTemplateFile(path);
    if (!read)
        return false;
    template_ = std::move(*read);
    return true;
}

void ReportEngine::save() const { writeTemplateFile(fileName_, template_); }

void ReportEngine::setVariable(const std::string& name, const std::string& expression)
{
    for (ReportVariable& v : template_.variables) {
        if (sameName(v.name, name)) {
            v.expression = expression;
            return;
        }
    }
    template_.variables.push_back({name, expression});
}

void ReportEngine::print()
{
    if (!prepared_.pages.empty())
        output(prepared_);
}

}  // namespace pos
