#pragma once

#include "reports/report_layout.h"

#include <QImage>

class QPainter;

namespace pos {

// Paints one prepared page from the painter's origin, `dotsPerMm` device pixels to the
// millimetre. Texts are not clipped to their boxes.
void paintPage(QPainter& painter, const PreparedReport& report, const PreparedPage& page, double dotsPerMm);

// Every page one below the other on white paper with a grey gap between them: the
// designer's preview. A null image when there is no page.
QImage previewImage(const PreparedReport& report, double dotsPerMm);

}  // namespace pos
