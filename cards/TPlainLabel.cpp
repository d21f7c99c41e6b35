#include "cards/TPlainLabel.h"

#include <QFontMetricsF>
#include <QPainter>

TPlainLabel::TPlainLabel(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptTouchEvents(false);
}

void TPlainLabel::SetText(const QString &text)
{
    FText = text;
    update();
}

void TPlainLabel::paint(QPainter *painter)
{
    const QRectF bounds(0, 0, width(), height());
    const QString shown = QFontMetricsF(painter->font()).elidedText(FText, Qt::ElideRight, bounds.width());
    // drawText with a QString never parses markup.
    painter->drawText(bounds, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}
