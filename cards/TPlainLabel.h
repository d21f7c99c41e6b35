// A one-line text drawn as plain characters, centred horizontally; markup in
// the text is shown, never interpreted. Takes no pointer input.
#pragma once

#include <QQuickPaintedItem>
#include <QString>

class TPlainLabel : public QQuickPaintedItem
{
    Q_OBJECT

public:
    explicit TPlainLabel(QQuickItem *parent = nullptr);

    QString Text() const { return FText; }
    void SetText(const QString &text);

    void paint(QPainter *painter) override;

private:
    QString FText;
};
