#pragma once

#include <QObject>
#include <QTimer>

// The text cursor of the name and rounds boxes blinks on for a while after
// the last key or click, then rests, shown, until the next one, as it does on
// GTK's desktops: a cursor blinking on an idle setup window would wake the
// game twice a second for nothing.
class BlinkRest final : public QObject
{
public:
    explicit BlinkRest(int restAfterMs = 10000);
    ~BlinkRest() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Blink(bool on);

    int flashTime; // the desktop's
    QTimer rest;
};
