#include "reports/ui/report_painter.h"

#include <QPainter>
#include <cmath>

namespace pos {
namespace {

constexpr double kMmPerPoint = 25.4 / 72;
constexpr int kPageGap = 8;

Qt::Alignment alignment(TextAlign align)
{
    switch (align) {
    case TextAlign::Center: return Qt::AlignHCenter;
    case TextAlign::Right: return Qt::AlignRight;
    case TextAlign::Left: break;
    }
    return Qt::AlignLeft;
}

int dots(double mm, double dotsPerMm) { return static_cast<int>(std::lround(mm * dotsPerMm)); }

}  // namespace

void paintPage(QPainter& painter, const PreparedReport& report, const PreparedPage& page, double dotsPerMm)
{
    QFont font = report.fontName.empty() ? QFont() : QFont(QString::fromStdString(report.fontName));
    painter.setPen(Qt::black);
    for (const PlacedText& t : page.texts) {
        // Pixel sizes, so the text keeps its size on printers and screens alike.
        font.setPixelSize(std::max(1, dots(t.fontSize * kMmPerPoint, dotsPerMm)));
        painter.setFont(font);
        QRectF box(t.left * dotsPerMm, t.top * dotsPerMm, t.width * dotsPerMm, t.height * dotsPerMm);
        painter.drawText(box, alignment(t.align) | Qt::AlignVCenter | Qt::TextDontClip,
                         QString::fromStdString(t.text));
    }
}

QImage previewImage(const PreparedReport& report, double dotsPerMm)
{
    if (report.pages.empty())
        return {};
    const int width = dots(report.pageWidth, dotsPerMm);
    const int pageHeight = dots(report.pageHeight, dotsPerMm);
    const int count = static_cast<int>(report.pages.size());
    QImage image(width, count * pageHeight + (count - 1) * kPageGap, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    for (int i = 0; i < count; ++i) {
        painter.save();
        painter.translate(0, i * (pageHeight + kPageGap));
        painter.fillRect(0, 0, width, pageHeight, Qt::white);
        paintPage(painter, report, report.pages[static_cast<std::size_t>(i)], dotsPerMm);
        painter.restore();
    }
    return image;
}

}  // namespace pos
