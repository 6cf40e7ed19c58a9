// Paints the program icon at the given pixel sizes and writes
// <folder>/hicolor/<n>x<n>/apps/reelkeeper.png for each. The shapes are
// those of packaging/reelkeeper.svg, on the same 256-unit canvas; change
// both together.
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

const QColor kTileTop(0x2f, 0x64, 0x97);
const QColor kTileBottom(0x16, 0x31, 0x4f);
const QColor kFilm(0x0d, 0x1b, 0x2a);
const QColor kSprocket(0xf4, 0xef, 0xe4);
const QColor kReel(0xf2, 0xb8, 0x4b);
const QColor kReelRing(0xd9, 0x9a, 0x2b);
const QColor kHoles(0x16, 0x31, 0x4f);

constexpr double kCanvas = 256.0;
constexpr QPointF kReelCentre(116, 116);
constexpr QPointF kHoleCentres[] = {
    {116, 69}, {160.7, 101.48}, {143.63, 154.02}, {88.37, 154.02}, {71.3, 101.48}};
constexpr double kSprocketLefts[] = {146, 168, 190, 212};
constexpr double kSprocketTops[] = {182, 210};

void paintIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    QLinearGradient tile(0, 8, 0, 248);
    tile.setColorAt(0, kTileTop);
    tile.setColorAt(1, kTileBottom);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);

    painter.setBrush(kFilm);
    painter.drawRoundedRect(QRectF(120, 176, 112, 48), 6, 6);
    painter.setBrush(kSprocket);
    for (double top : kSprocketTops) {
        for (double left : kSprocketLefts) {
            painter.drawRect(QRectF(left, top, 12, 8));
        }
    }

    painter.setBrush(kReel);
    painter.drawEllipse(kReelCentre, 88, 88);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kReelRing, 4));
    painter.drawEllipse(kReelCentre, 78, 78);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kHoles);
    for (const QPointF& centre : kHoleCentres) {
        painter.drawEllipse(centre, 21, 21);
    }
    painter.drawEllipse(kReelCentre, 10, 10);
}

QImage iconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size / kCanvas, size / kCanvas);
    paintIcon(painter);
    painter.end();
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icon <folder> <size>...\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "make_icon: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QStringLiteral("/reelkeeper.png");
        if (!QDir().mkpath(folder) || !iconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
