#pragma once

#include <QColor>
#include <QWidget>

// A 1-pixel rectangle outline, transparent inside.
class OutlineShape : public QWidget
{
    Q_OBJECT

public:
    OutlineShape(const QColor& borderColor, QWidget* parent);

    QColor BorderColor() const { return borderColor; }
    void SetBorderColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor borderColor;
};
