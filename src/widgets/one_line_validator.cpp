#include "widgets/one_line_validator.h"

#include "base/one_line.h"

namespace pos {
namespace {

QString asOneLine(const QString& text) { return QString::fromStdString(oneLine(text.toStdString())); }

}  // namespace

QValidator::State OneLineValidator::validate(QString& input, int& pos) const
{
    if (input.contains(QLatin1Char('\r')) || input.contains(QLatin1Char('\n'))) {
        pos = static_cast<int>(asOneLine(input.left(pos)).size());
        input = asOneLine(input);
    }
    return Acceptable;
}

}  // namespace pos
