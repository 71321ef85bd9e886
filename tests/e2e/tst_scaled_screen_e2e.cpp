#include "PlayfieldBlocks.h"
#include "Program.h"
#include "ShownColours.h"
#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QtTest>

namespace {

using Shown::Black;
using Shown::Green;
constexpr int Scale = 2;

} // namespace

// The game on scaled screens: 150 % and 200 % are both drawn at twice the
// design, so every game pixel is a whole block of screen pixels, and 125 %
// is drawn as 100 %.
class ScaledScreenEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void playfieldComesInWholeBlocks_data();
    void playfieldComesInWholeBlocks();
    void textAsAtTheWholeScale_data();
    void textAsAtTheWholeScale();
};

void ScaledScreenEndToEnd::playfieldComesInWholeBlocks_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("150 %") << 144;
    QTest::newRow("200 %") << 192;
}

void ScaledScreenEndToEnd::playfieldComesInWholeBlocks()
{
    QFETCH(int, dpi);
    VirtualDisplay display;
    QString error;
    QVERIFY2(display.Start(&error, {QSize(1600, 1200), dpi}), qPrintable(error));
    QProcess game;
    QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));

    // The setup window at twice its size, its outlines two pixels deep:
    // player 1's box spans (8,8) to (136,64) in the design.
    const auto setup = display.FindWindow(Program::SetupTitle, QSize(326, 392) * Scale, 10000);
    QVERIFY2(setup, "no setup window at twice the designed size");
    const QImage form = display.Screenshot(*setup, Program::ShotPath(QStringLiteral("setup-window-%1dpi.png").arg(dpi)));
    for (QPoint corner : {QPoint(16, 16), QPoint(17, 17), QPoint(272, 128), QPoint(273, 129)})
        QCOMPARE(form.pixel(corner), Green);
    QCOMPARE(form.pixel(18, 18), Black);
    QCOMPARE(form.pixel(274, 130), Black);

    QVERIFY(display.Click(*setup, Program::Start * Scale));
    const auto window = display.FindWindow(Program::GameTitle, QSize(594, 456) * Scale, 10000);
    QVERIFY2(window, "no game window at twice the designed size");
    QThread::msleep(600);
    const QImage shot = display.Screenshot(*window, Program::ShotPath(QStringLiteral("game-window-%1dpi.png").arg(dpi)));
    QVERIFY(display.Run(QStringLiteral("xdotool"), {"key", "Escape"}));
    QVERIFY2(game.waitForFinished(5000), "Esc did not end the game");

    // Every 2 x 2 block of the playfield is one colour; the trails drawn so
    // far and the frame must be among them, or the check proves nothing.
    const PlayfieldBlocks blocks = CountPlayfieldBlocks(shot, Scale);
    qInfo("%d dpi: %d white and %d trail blocks, %d split", dpi, blocks.white, blocks.trail, blocks.split);
    QVERIFY2(blocks.white > 4 * 400 && blocks.trail > 20, "the playfield shows no frame or no trails");
    QCOMPARE(blocks.split, 0);
}

void ScaledScreenEndToEnd::textAsAtTheWholeScale_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("wholeDpi");
    QTest::newRow("125 % as 100 %") << 120 << 96;
    QTest::newRow("150 % as 200 %") << 144 << 192;
}

// A scale between whole ones draws the setup window pixel for pixel as the
// whole scale it is rounded to: its text neither grows nor shrinks.
void ScaledScreenEndToEnd::textAsAtTheWholeScale()
{
    QFETCH(int, dpi);
    QFETCH(int, wholeDpi);
    const int scale = wholeDpi / 96;
    QImage shots[2];
    for (int k = 0; k < 2; ++k) {
        const int screenDpi = k == 0 ? dpi : wholeDpi;
        VirtualDisplay display;
        QString error;
        QVERIFY2(display.Start(&error, {QSize(1600, 1200), screenDpi}), qPrintable(error));
        QProcess game;
        QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
        const auto setup = display.FindWindow(Program::SetupTitle, QSize(326, 392) * scale, 10000);
        QVERIFY2(setup, "no setup window at the whole scale");
        const QString path = Program::ShotPath(QStringLiteral("setup-window-%1dpi-text.png").arg(screenDpi));
        // Drawn once player 1's box shows.
        const QDeadlineTimer drawn(10000);
        do
            shots[k] = display.Screenshot(*setup, path);
        while (shots[k].pixel(8 * scale, 8 * scale) != Green && !drawn.hasExpired());
        QVERIFY(display.Click(*setup, Program::Exit * scale));
        QVERIFY2(game.waitForFinished(5000), "Exit did not end the game");
    }
    // Where the caret blinks: player 1's name box, which has the focus.
    const QRect caretBox(QPoint(16, 40) * scale, QSize(113, 19) * scale);
    int differing = 0;
    for (int y = 0; y < shots[0].height(); ++y)
        for (int x = 0; x < shots[0].width(); ++x)
            differing += !caretBox.contains(x, y) && shots[0].pixel(x, y) != shots[1].pixel(x, y);
    qInfo("%d dpi against %d dpi: %d pixels differ", dpi, wholeDpi, differing);
    QCOMPARE(differing, 0);
}

QTEST_GUILESS_MAIN(ScaledScreenEndToEnd)
#include "tst_scaled_screen_e2e.moc"
