#include "scheduler/qt/ScheduleIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace schedulerqt {

namespace {

// Group colours: plain save, with record file, with data folder, with both.
const QColor kGroupColours[4] = {QColor(0x70, 0x70, 0x70), QColor(0x20, 0x60, 0xC0), QColor(0xC8, 0x90, 0x10),
                                 QColor(0x20, 0x90, 0x40)};

QPixmap Canvas() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void PlayTriangle(QPainter& painter, const QColor& colour) {
    QPainterPath path;
    path.moveTo(2, 2);
    path.lineTo(12, 8);
    path.lineTo(2, 14);
    path.closeSubpath();
    painter.fillPath(path, colour);
    painter.setPen(colour.darker(150));
    painter.drawPath(path);
}

QIcon Finished() {
    QPixmap pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x10, 0x80, 0x10), 2.5));
    painter.drawLine(QPointF(3, 8.5), QPointF(6.5, 12));
    painter.drawLine(QPointF(6.5, 12), QPointF(13, 4));
    return QIcon(pixmap);
}

QIcon Working() {
    QPixmap pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    PlayTriangle(painter, QColor(0xE0, 0x50, 0x10));
    painter.fillRect(QRectF(12, 3, 3, 10), QColor(0xE0, 0x50, 0x10));
    return QIcon(pixmap);
}

// Options within a group: 0 plain, 1 Ag, 2 Cv, 3 Al, 4 AgAl, 5 CvAl.
QIcon Option(int group, int variant) {
    QPixmap pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    PlayTriangle(painter, kGroupColours[group]);
    const bool agent = variant == 1 || variant == 4;
    const bool convert = variant == 1 || variant == 2 || variant == 4 || variant == 5;  // agent comes with conversion
    const bool alias = variant >= 3;
    if (convert) painter.fillRect(QRectF(11, 1, 4, 4), QColor(0xD0, 0x20, 0x20));
    if (agent) painter.fillRect(QRectF(11, 6, 4, 4), QColor(0x80, 0x20, 0xC0));
    if (alias) painter.fillRect(QRectF(11, 11, 4, 4), QColor(0x10, 0x10, 0x10));
    return QIcon(pixmap);
}

}  // namespace

QIcon ScheduleIcon(int index) {
    if (index == 0) return Finished();
    if (index == 1) return Working();
    if (index < 2 || index > 25) return {};
    return Option((index - 2) / 6, (index - 2) % 6);
}

QIcon SchedulerIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xF4, 0xF4, 0xF4));
    painter.setPen(QPen(QColor(0x20, 0x60, 0xC0), 2));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.drawLine(QPointF(16, 16), QPointF(16, 7));
    painter.drawLine(QPointF(16, 16), QPointF(23, 19));
    return QIcon(pixmap);
}

}  // namespace schedulerqt
