// Draws every picture the component shows on toolbars, buttons and window title bars.
// Each picture is designed on a 24 x 24 grid and written at 24 px (name.png) and at 48 px
// (name@2x.png, which Qt picks up on high-density screens). One-pixel lines sit on half-pixel
// coordinates so that they stay sharp at both sizes.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QtMath>

#include <functional>
#include <vector>

namespace {

// One palette for every picture.
namespace pal {
const QColor ink(0x2f, 0x3b, 0x45);        // outlines
const QColor paper(0xff, 0xff, 0xff);
const QColor paperShade(0xdd, 0xe3, 0xe8);
const QColor lineGrey(0x9a, 0xa8, 0xb3);
const QColor blue(0x1e, 0x7b, 0xd6);
const QColor blueDark(0x13, 0x56, 0x9a);
const QColor blueLight(0xbf, 0xdf, 0xfb);
const QColor green(0x2e, 0x9e, 0x44);
const QColor greenDark(0x1d, 0x6e, 0x2e);
const QColor red(0xdc, 0x32, 0x2a);
const QColor redDark(0x9c, 0x1c, 0x16);
const QColor amber(0xf2, 0xa9, 0x00);
const QColor amberDark(0xb9, 0x7c, 0x00);
const QColor brown(0x9a, 0x62, 0x32);
const QColor grey(0x78, 0x8a, 0x96);
const QColor greyLight(0xcf, 0xd8, 0xdc);
const QColor wood(0xf5, 0xd6, 0xa1);
const QColor pink(0xf0, 0x8c, 0xa8);
}

QPen inkPen(qreal width = 1.0, const QColor &colour = pal::ink)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// ---- shared parts -------------------------------------------------------------------------

// A sheet of paper with a folded top-right corner and a few text lines.
void drawPage(QPainter &p, const QRectF &r, bool withLines = true)
{
    const qreal fold = qMin(r.width(), r.height()) * 0.32;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(inkPen());
    p.setBrush(pal::paper);
    p.drawPath(sheet);

    QPolygonF corner;
    corner << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
           << QPointF(r.right(), r.top() + fold);
    p.setBrush(pal::paperShade);
    p.drawPolygon(corner);

    if (!withLines)
        return;
    p.setPen(QPen(pal::lineGrey, 1.0, Qt::SolidLine, Qt::FlatCap));
    for (qreal y = r.top() + fold + 3.0; y < r.bottom() - 2.0; y += 3.0)
        p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
}

// The page most "page with something" pictures start from: left and up, leaving room for
// a badge at the bottom right.
void drawSmallPage(QPainter &p)
{
    drawPage(p, QRectF(3.5, 1.5, 13.0, 18.0));
}

void drawPlusBadge(QPainter &p, QPointF c, qreal radius)
{
    p.setPen(QPen(pal::paper, 1.0));
    p.setBrush(pal::green);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(pal::paper, 2.0, Qt::SolidLine, Qt::FlatCap));
    const qreal arm = radius - 2.5;
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void drawCross(QPainter &p, const QRectF &r, qreal width)
{
    for (const auto &[colour, w] : {std::pair{pal::redDark, width + 1.6}, {pal::red, width}}) {
        p.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
    }
}

void drawMagnifier(QPainter &p, QPointF centre, qreal radius, qreal handle, qreal ring)
{
    const qreal d = std::sqrt(0.5);
    const QPointF start = centre + QPointF(radius * d, radius * d);
    p.setPen(QPen(pal::ink, ring + 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(start, start + QPointF(handle * d, handle * d));

    p.setPen(QPen(pal::ink, ring));
    QColor glass = pal::blueLight;
    glass.setAlpha(230);
    p.setBrush(glass);
    p.drawEllipse(centre, radius, radius);

    // A short glint makes the lens read as glass rather than as a ring.
    p.setPen(QPen(pal::paper, qMax<qreal>(1.0, ring * 0.6), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const qreal g = radius * 0.55;
    p.drawArc(QRectF(centre.x() - g, centre.y() - g, 2 * g, 2 * g), 100 * 16, 60 * 16);
}

// A filled arrow pointing right, with a white rim so that it stands out on a page.
void drawArrowRight(QPainter &p, QPointF from, qreal length, qreal shaft, qreal head,
                    const QColor &fill)
{
    const qreal y = from.y();
    const qreal headStart = from.x() + length - head;
    QPolygonF arrow;
    arrow << QPointF(from.x(), y - shaft / 2) << QPointF(headStart, y - shaft / 2)
          << QPointF(headStart, y - head) << QPointF(from.x() + length, y)
          << QPointF(headStart, y + head) << QPointF(headStart, y + shaft / 2)
          << QPointF(from.x(), y + shaft / 2);
    p.setPen(QPen(pal::paper, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPolygon(arrow);
    p.setPen(QPen(fill.darker(140), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolygon(arrow);
}

void drawGear(QPainter &p, QPointF c, qreal outer, qreal inner, int teeth)
{
    QPainterPath gear;
    const qreal toothHalf = M_PI / teeth * 0.5;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = 2 * M_PI * i / teeth;
        const qreal body = outer - 1.8;
        auto at = [&](qreal angle, qreal r) {
            return QPointF(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
        };
        if (i == 0)
            gear.moveTo(at(a - 2 * toothHalf, body));
        else
            gear.lineTo(at(a - 2 * toothHalf, body));
        gear.lineTo(at(a - toothHalf, outer));
        gear.lineTo(at(a + toothHalf, outer));
        gear.lineTo(at(a + 2 * toothHalf, body));
    }
    gear.closeSubpath();
    gear.addEllipse(c, inner, inner);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(pal::ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(pal::grey);
    p.drawPath(gear);
}

// A shield with a person on it: the picture of warehouse rights.
void drawAuthority(QPainter &p)
{
    QPainterPath shield;
    shield.moveTo(12, 1.5);
    shield.lineTo(20.5, 4.5);
    shield.lineTo(20.5, 11.0);
    shield.cubicTo(20.5, 16.5, 16.5, 20.0, 12, 22.5);
    shield.cubicTo(7.5, 20.0, 3.5, 16.5, 3.5, 11.0);
    shield.lineTo(3.5, 4.5);
    shield.closeSubpath();
    p.setPen(inkPen(1.0, pal::blueDark));
    p.setBrush(pal::blue);
    p.drawPath(shield);

    p.save();
    p.setClipPath(shield);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper);
    p.drawEllipse(QPointF(12, 8.5), 3.0, 3.0);
    p.drawEllipse(QRectF(6.0, 12.5, 12.0, 11.0));
    p.restore();
}

// ---- the pictures -------------------------------------------------------------------------

void drawAdd(QPainter &p)
{
    drawSmallPage(p);
    drawPlusBadge(p, QPointF(17, 17), 6.0);
}

void drawDel(QPainter &p)
{
    drawCross(p, QRectF(5.5, 5.5, 13.0, 13.0), 3.6);
}

void drawEdit(QPainter &p)
{
    p.translate(12, 12);
    p.rotate(-45);
    p.setPen(inkPen());
    // wooden cone and graphite point
    QPolygonF cone;
    cone << QPointF(-5, -3) << QPointF(-11, 0) << QPointF(-5, 3);
    p.setBrush(pal::wood);
    p.drawPolygon(cone);
    QPolygonF lead;
    lead << QPointF(-9, -1) << QPointF(-11, 0) << QPointF(-9, 1);
    p.setBrush(pal::ink);
    p.drawPolygon(lead);
    // body
    p.setBrush(pal::amber);
    p.drawRect(QRectF(-5, -3, 11.5, 6));
    p.setPen(QPen(pal::amberDark, 1.0));
    p.drawLine(QPointF(-4.5, 0), QPointF(6, 0));
    // ferrule and eraser
    p.setPen(inkPen());
    p.setBrush(pal::greyLight);
    p.drawRect(QRectF(6.5, -3, 2, 6));
    p.setBrush(pal::pink);
    p.drawRoundedRect(QRectF(8.5, -3, 3, 6), 1.2, 1.2);
}

void drawFind(QPainter &p)
{
    drawMagnifier(p, QPointF(10, 10), 6.5, 7.0, 2.2);
}

void drawFilter(QPainter &p)
{
    QPolygonF funnel;
    funnel << QPointF(2.5, 3.5) << QPointF(21.5, 3.5) << QPointF(14, 12.5)
           << QPointF(14, 19.5) << QPointF(10, 22) << QPointF(10, 12.5);
    p.setPen(inkPen(1.0, pal::blueDark));
    p.setBrush(pal::blue);
    p.drawPolygon(funnel);
    // the funnel's open mouth, seen slightly from above
    p.setBrush(pal::blueLight);
    p.drawRect(QRectF(2.5, 3.5, 19, 2.5));
}

void drawArcArrow(QPainter &p, QPointF c, qreal r, qreal startDeg, qreal spanDeg)
{
    p.setPen(QPen(pal::green, 2.6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int(startDeg * 16),
              int(spanDeg * 16));
    // arrow head at the end of the arc, pointing along the turn (counter-clockwise)
    const qreal end = qDegreesToRadians(startDeg + spanDeg);
    const QPointF at(c.x() + r * std::cos(end), c.y() - r * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end));
    const QPointF out(std::cos(end), -std::sin(end));
    QPolygonF head;
    head << at + along * 4.0 << at + out * 3.6 - along * 0.5 << at - out * 3.6 - along * 0.5;
    p.setPen(QPen(pal::green, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(pal::green);
    p.drawPolygon(head);
}

void drawRefresh(QPainter &p)
{
    const QPointF c(12, 12);
    drawArcArrow(p, c, 7.5, 15, 140);
    drawArcArrow(p, c, 7.5, 195, 140);
}

void drawFont(QPainter &p)
{
    p.setPen(QPen(pal::blueDark, 3.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF legs;
    legs << QPointF(4.5, 21.5) << QPointF(12, 3.5) << QPointF(19.5, 21.5);
    p.drawPolyline(legs);
    p.setPen(QPen(pal::blueDark, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(7.8, 15.2), QPointF(16.2, 15.2));
}

void drawPrint(QPainter &p)
{
    p.setPen(inkPen());
    p.setBrush(pal::paper);
    p.drawRect(QRectF(6.5, 2.5, 11, 7));                       // paper waiting at the back
    p.setBrush(pal::greyLight);
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 1.5, 1.5);      // body
    p.setBrush(pal::grey);
    p.drawRect(QRectF(5.5, 14.5, 13, 1));                      // paper slot
    p.setPen(Qt::NoPen);
    p.setBrush(pal::green);
    p.drawEllipse(QPointF(18.5, 11.5), 1.1, 1.1);              // power light
    p.setPen(inkPen());
    p.setBrush(pal::paper);
    p.drawRect(QRectF(6.5, 15.5, 11, 6));                      // printed sheet
    p.setPen(QPen(pal::lineGrey, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8.5, 18), QPointF(15.5, 18));
    p.drawLine(QPointF(8.5, 20), QPointF(13.5, 20));
}

void drawHelp(QPainter &p)
{
    p.setPen(inkPen(1.0, pal::blueDark));
    p.setBrush(pal::blue);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    QPainterPath mark;
    mark.moveTo(8.6, 9.2);
    mark.arcTo(QRectF(8.6, 5.6, 6.8, 6.8), 180, -235);
    mark.lineTo(12, 13.2);
    mark.lineTo(12, 14.6);
    p.setPen(QPen(pal::paper, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper);
    p.drawEllipse(QPointF(12, 18.2), 1.6, 1.6);
}

void drawExit(QPainter &p)
{
    p.setPen(inkPen());
    p.setBrush(pal::ink);
    p.drawRect(QRectF(3.5, 2.5, 10, 19));                      // the dark doorway
    QPolygonF leaf;                                            // the door, swung open
    leaf << QPointF(3.5, 2.5) << QPointF(9.5, 4.5) << QPointF(9.5, 23) << QPointF(3.5, 21.5);
    p.setBrush(pal::brown);
    p.drawPolygon(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::amber);
    p.drawEllipse(QPointF(8.2, 13), 0.9, 0.9);                 // knob
    drawArrowRight(p, QPointF(11, 12.5), 11.5, 3.6, 4.8, pal::green);
}

void drawPreview(QPainter &p)
{
    drawSmallPage(p);
    drawMagnifier(p, QPointF(15, 15), 4.5, 4.0, 1.8);
}

void drawOutput(QPainter &p)
{
    drawSmallPage(p);
    drawArrowRight(p, QPointF(10, 16), 12.5, 3.6, 4.8, pal::blue);
}

void drawPSetup(QPainter &p)
{
    drawSmallPage(p);
    drawGear(p, QPointF(16.5, 16.5), 6.5, 2.0, 8);
}

void drawSave(QPainter &p)
{
    QPainterPath disk;
    disk.moveTo(3.5, 3.5);
    disk.lineTo(17.5, 3.5);
    disk.lineTo(20.5, 6.5);
    disk.lineTo(20.5, 20.5);
    disk.lineTo(3.5, 20.5);
    disk.closeSubpath();
    p.setPen(inkPen(1.0, pal::blueDark));
    p.setBrush(pal::blue);
    p.drawPath(disk);
    p.setPen(inkPen());
    p.setBrush(pal::greyLight);
    p.drawRect(QRectF(7.5, 3.5, 9, 6));                        // metal shutter
    p.setPen(Qt::NoPen);
    p.setBrush(pal::ink);
    p.drawRect(QRectF(13, 4.5, 2, 4));                         // shutter window
    p.setPen(inkPen());
    p.setBrush(pal::paper);
    p.drawRect(QRectF(6.5, 12.5, 11, 8));                      // label
    p.setPen(QPen(pal::lineGrey, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8.5, 15.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(8.5, 17.5), QPointF(15.5, 17.5));
}

void drawWarehouse(QPainter &p)
{
    p.setPen(inkPen());
    p.setBrush(pal::greyLight);
    p.drawRect(QRectF(3.5, 9.5, 17, 12));                      // walls
    QPolygonF roof;
    roof << QPointF(1.5, 10.5) << QPointF(12, 2.5) << QPointF(22.5, 10.5);
    p.setBrush(pal::red);
    p.setPen(inkPen(1.0, pal::redDark));
    p.drawPolygon(roof);
    p.setPen(inkPen());
    p.setBrush(QColor(0x45, 0x55, 0x60));
    p.drawRect(QRectF(6.5, 12.5, 11, 9));                      // open loading door
    p.setPen(QPen(pal::greyLight, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(7, 17.5), QPointF(17, 17.5));           // shelf
    p.setPen(QPen(pal::amberDark, 1.0));
    p.setBrush(pal::amber);
    for (const QPointF &at : {QPointF(7.5, 14.5), QPointF(12.5, 14.5), QPointF(9.5, 18.5),
                              QPointF(13.5, 18.5)})
        p.drawRect(QRectF(at, QSizeF(3, 3)));                  // boxes on the shelves
}

void drawRef(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal::ink);
    for (qreal x : {5.5, 12.0, 18.5})
        p.drawEllipse(QPointF(x, 13), 2.1, 2.1);
}

void drawYes(QPainter &p)
{
    QPolygonF tick;
    tick << QPointF(4.5, 12.5) << QPointF(9.5, 17.5) << QPointF(19.5, 6.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pal::greenDark, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
    p.setPen(QPen(pal::green, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
}

void drawNo(QPainter &p)
{
    drawCross(p, QRectF(6, 6, 12, 12), 3.2);
}

void drawTreeRoot(QPainter &p)
{
    QPainterPath folder;
    folder.moveTo(2.5, 5.5);
    folder.lineTo(9, 5.5);
    folder.lineTo(11, 7.5);
    folder.lineTo(21.5, 7.5);
    folder.lineTo(21.5, 19.5);
    folder.lineTo(2.5, 19.5);
    folder.closeSubpath();
    p.setPen(inkPen(1.0, pal::amberDark));
    p.setBrush(pal::amber);
    p.drawPath(folder);
    p.setBrush(QColor(0xff, 0xcd, 0x4a));
    p.drawRect(QRectF(2.5, 9.5, 19, 10));
}

void drawTreeChild(QPainter &p)
{
    drawPage(p, QRectF(5.5, 3.5, 13, 17));
}

struct Picture {
    QString name;
    std::function<void(QPainter &)> draw;
};

const std::vector<Picture> &pictures()
{
    static const std::vector<Picture> all = {
        {"imgAdd", drawAdd},         {"imgDel", drawDel},
        {"imgEdit", drawEdit},       {"imgFind", drawFind},
        {"imgFilter", drawFilter},   {"imgRefresh", drawRefresh},
        {"imgFont", drawFont},       {"imgPrint", drawPrint},
        {"imgHelp", drawHelp},       {"imgExit", drawExit},
        {"imgPreview", drawPreview}, {"imgOutput", drawOutput},
        {"imgPSetup", drawPSetup},   {"imgauth", drawAuthority},
        {"imgSave", drawSave},       {"icon201", drawWarehouse},
        {"icon202", drawAuthority},  {"cmdRef", drawRef},
        {"cmdYes", drawYes},         {"cmdNo", drawNo},
        {"trroot", drawTreeRoot},    {"trchild", drawTreeChild},
    };
    return all;
}

QImage render(const Picture &picture, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    picture.draw(p);
    p.end();
    return image;
}

// A sheet with every picture at 1x on a toolbar grey, at 2x, and at 1x magnified without
// smoothing, to judge them at the size the user sees them.
QImage contactSheet()
{
    const int cell = 210;
    const int rowHeight = 130;
    const int perRow = 4;
    const int count = int(pictures().size());
    const int rows = (count + perRow - 1) / perRow;
    QImage sheet(cell * perRow, rowHeight * rows, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    for (int i = 0; i < count; ++i) {
        const Picture &pic = pictures()[size_t(i)];
        const int x = (i % perRow) * cell;
        const int y = (i / perRow) * rowHeight;
        const QImage small = render(pic, 24);
        p.drawImage(x + 8, y + 8, small);
        p.fillRect(x + 8, y + 40, 24, 24, Qt::white);
        p.drawImage(x + 8, y + 40, small);
        p.drawImage(x + 40, y + 8, render(pic, 48));
        p.drawImage(x + 96, y + 8, small.scaled(96, 96));
        p.setPen(Qt::black);
        p.drawText(QRectF(x + 8, y + 108, cell - 16, 16), Qt::AlignLeft, pic.name);
    }
    return sheet;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString outDir = QStringLiteral(DRAW_ICONS_DEFAULT_OUT);
    QString sheetPath;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--sheet" && i + 1 < args.size())
            sheetPath = args[++i];
        else
            outDir = args[i];
    }

    QTextStream err(stderr);
    if (!QDir().mkpath(outDir)) {
        err << "cannot create " << outDir << "\n";
        return 1;
    }
    for (const Picture &pic : pictures()) {
        for (int scale : {1, 2}) {
            const QString file = QDir(outDir).filePath(
                pic.name + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png")));
            if (!render(pic, 24 * scale).save(file)) {
                err << "cannot write " << file << "\n";
                return 1;
            }
        }
    }
    if (!sheetPath.isEmpty() && !contactSheet().save(sheetPath)) {
        err << "cannot write " << sheetPath << "\n";
        return 1;
    }
    return 0;
}
