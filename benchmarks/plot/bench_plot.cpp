// Draws the benchmark table as a PNG: one small chart per operation, p95 in ms against
// the catalogue size (logarithmic), a line for each working mode.
//
//     bench_plot results.csv plot.png

#include <QColor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTextStream>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Point {
    double goods;
    double p95;
};

// Operation -> mode -> points, in the order first seen.
struct Table {
    QStringList operations;
    QMap<QString, QMap<QString, QVector<Point>>> series;
};

// Splits one CSV line; a quoted field may hold commas and doubled quotes.
QStringList csvFields(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    return fields << field;
}

bool readTable(const QString& path, Table& table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    const QStringList header = csvFields(in.readLine());
    const auto column = [&header](const char* name) { return header.indexOf(name); };
    const int mode = column("mode"), operation = column("operation"), goods = column("goods"), p95 = column("p95_ms");
    if (mode < 0 || operation < 0 || goods < 0 || p95 < 0)
        return false;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith("mode,") || line.isEmpty())
            continue;  // the header of a later program's rows
        const QStringList f = csvFields(line);
        if (f.size() <= std::max({mode, operation, goods, p95}))
            continue;
        if (!table.operations.contains(f[operation]))
            table.operations << f[operation];
        table.series[f[operation]][f[mode]].push_back({f[goods].toDouble(), f[p95].toDouble()});
    }
    return !table.operations.isEmpty();
}

QColor modeColor(const QString& mode)
{
    if (mode == "Online")
        return QColor(0x1f, 0x77, 0xb4);
    if (mode == "Offline")
        return QColor(0xd6, 0x27, 0x28);
    return QColor(0x2c, 0xa0, 0x2c);
}

void drawChart(QPainter& p, const QRect& box, const QString& operation, const QMap<QString, QVector<Point>>& modes)
{
    p.setPen(Qt::black);
    p.drawText(box.adjusted(0, 2, 0, 0), Qt::AlignHCenter | Qt::AlignTop, operation);
    const QRect plot = box.adjusted(60, 24, -10, -30);
    p.setPen(QColor(0x99, 0x99, 0x99));
    p.drawRect(plot);

    double lowGoods = 1e18, highGoods = 0, highMs = 0;
    for (const auto& points : modes)
        for (const Point& pt : points) {
            lowGoods = std::min(lowGoods, pt.goods);
            highGoods = std::max(highGoods, pt.goods);
            highMs = std::max(highMs, pt.p95);
        }
    highMs = highMs > 0 ? highMs * 1.1 : 1;
    const double span = highGoods > lowGoods ? std::log10(highGoods / lowGoods) : 1;
    const auto x = [&](double goods) {
        return plot.left() + (span > 0 ? std::log10(goods / lowGoods) / span : 0.5) * plot.width();
    };
    const auto y = [&](double ms) { return plot.bottom() - ms / highMs * plot.height(); };

    p.setPen(Qt::black);
    p.drawText(QRect(box.left(), plot.top() - 8, 56, 16), Qt::AlignRight,
               QString::number(highMs, 'f', highMs >= 100 ? 0 : highMs >= 1 ? 1 : 2));
    p.drawText(QRect(box.left(), plot.bottom() - 8, 56, 16), Qt::AlignRight, "0 ms");
    QVector<double> sizes;
    for (const auto& points : modes)
        for (const Point& pt : points)
            if (!sizes.contains(pt.goods))
                sizes << pt.goods;
    for (double goods : sizes)
        p.drawText(QRectF(x(goods) - 30, plot.bottom() + 4, 60, 16), Qt::AlignHCenter,
                   goods >= 1e6 ? QString::number(goods / 1e6) + "M" : QString::number(goods / 1e3) + "k");

    int legend = 0;
    for (auto it = modes.begin(); it != modes.end(); ++it) {
        QVector<Point> points = it.value();
        std::sort(points.begin(), points.end(), [](const Point& a, const Point& b) { return a.goods < b.goods; });
        p.setPen(QPen(modeColor(it.key()), 2));
        for (int i = 0; i < points.size(); ++i) {
            const QPointF at(x(points[i].goods), y(points[i].p95));
            p.drawEllipse(at, 3, 3);
            if (i > 0)
                p.drawLine(QPointF(x(points[i - 1].goods), y(points[i - 1].p95)), at);
        }
        p.drawText(QRect(plot.left() + 6, plot.top() + 4 + 14 * legend++, plot.width(), 14), Qt::AlignLeft,
                   it.key() == "-" ? QString("either mode") : it.key());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s results.csv plot.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    Table table;
    if (!readTable(QString::fromLocal8Bit(argv[1]), table)) {
        std::fprintf(stderr, "%s: no benchmark rows to plot\n", argv[1]);
        return 1;
    }
    constexpr int kColumns = 4, kChartWidth = 300, kChartHeight = 200;
    const int rows = (static_cast<int>(table.operations.size()) + kColumns - 1) / kColumns;
    QImage image(kColumns * kChartWidth, rows * kChartHeight + 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.drawText(QRect(0, 4, image.width(), 20), Qt::AlignHCenter,
                     "p95 (ms) against the number of goods in the catalogue");
    for (int i = 0; i < table.operations.size(); ++i) {
        const QRect box((i % kColumns) * kChartWidth, 30 + (i / kColumns) * kChartHeight, kChartWidth, kChartHeight);
        drawChart(painter, box, table.operations[i], table.series[table.operations[i]]);
    }
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
